// The six run flags: the only channel between the stage simulation, the
// dialog and the shell. Each is 0 or 1. Who sets and clears each:
//   pause_requested   set by the game/replay frames on Escape; cleared at game
//                     start, by reset_run and by the pause screen.
//   dialog_active     set by the stage script's dialog event and the boss's
//                     entrance; cleared by the dialog at its end.
//   boss_active       set by the boss event; cleared when the boss is beaten.
//   spellcard_running set and cleared by the boss script.
//   game_over         set when the last life is lost or a replay ends.
//   stage_clear       set by the level-end event and the dialog's level end.
// Main thread only.
#pragma once

#include <cstdint>

inline int32_t pause_requested = 0;
inline int32_t dialog_active = 0;
inline int32_t boss_active = 0;
inline int32_t spellcard_running = 0;
inline int32_t game_over = 0;
inline int32_t stage_clear = 0;

// Clears all six; game and replay start and the return to the title use it.
inline void clear_run_flags() {
    pause_requested = dialog_active = boss_active = spellcard_running = game_over = stage_clear = 0;
}
