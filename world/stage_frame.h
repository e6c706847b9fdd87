// One game frame of the running stage, without drawing: the dialog step, the
// stage script, the death sequence, every update, the hits and the removal of
// finished dead enemies, in that order. The shell's game and replay frames
// and the headless tests all run stages through `run_stage_frame`; the
// player's input comes either from the devices' state or from a recorded
// replay frame. Also the run start and the two resets used when a run is
// left. Times are ms.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/core/resource_document.h"
#include "world/player_input.h"
#include "world/replay_frame.h"
#include "world/settings.h"

// The input of one frame: exactly one of `devices` (live play) and
// `recorded` (replay playback) is set.
struct Stage_Input {
    const Player_Input* devices = nullptr;
    const Replay_Frame* recorded = nullptr;
    // Live play: presses of the dialog advance key in this frame.
    int32_t advances = 0;
};

// Runs the frame with step dt (a recorded frame brings its own step) and
// answers what the replay records for it: the step, the player's position,
// angle and inputs after its update, and whether a dialog was advanced.
// The shell keeps its own screen timer: it adds dt to it when no dialog runs
// as the frame begins, and handles Escape, capture and drawing around this.
Replay_Frame run_stage_frame(float dt, const Stage_Input& input);

// The death sequence of the frame, while the player is dying.
void run_death_sequence();

// The world's part of a run start: run flags and statistics cleared, the
// player reset with `lives` (the setting's, or those a watched replay's game
// began with) and placed below the field for the fly-in, the level loaded,
// patterns, pools and enemies emptied.
void start_stage_run(const sdk::Resource_Manager& levels, const std::string& level,
                     int32_t lives = start_lives);

// Empties patterns, bullets, enemies (the dead stack finishes), effects and
// items, for leaving a run to the main menu.
void reset_world();

// The pause screen's restart: the player's run values and the run flags back
// to a run start.
void reset_run();
