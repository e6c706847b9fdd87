// A digest of everything in the stage that decides how a run goes: the
// player, the enemies and the boss, the bullets, the items, the running
// patterns, the stage script and the run flags. Effects count only by their
// number: their looks draw from the shared random generator, and nothing of
// that may feed back into the simulation, so two runs with the same steps and
// inputs give the same digest every frame. The player's input direction and
// lean are left out: a replay drives the player by positions, not keys.
#pragma once

#include <cstdint>

uint64_t world_state_hash();
