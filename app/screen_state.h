// The screen state machine's globals: which screen runs (`app_state`), where
// a fade or the pause screen goes next, and the timers of the current
// screen. Times in milliseconds; state numbers below 100 are the title
// screens, 100 and above the play screens. Main thread only.
#pragma once

#include <cstdint>

enum Screen_State : int32_t {
    state_fade = 1,
    state_language = 2,
    state_main_menu = 5,
    state_options_fade = 6,
    state_options = 7,
    state_key_config = 9,
    state_game = 200,
    state_replay = 300,
    state_pause = 1001,
    state_results = 1500,
};

inline int32_t app_state = 0;
inline int32_t next_state = 0;
// 0 marks the first frame of the states that initialise themselves.
inline float state_timer = 0.0f;
inline float fade_length = 300.0f;
// 0 marks the first frame of the pause and results screens.
inline float overlay_timer = 0.0f;
// Frame of "screen_mask" that a fade fades to.
inline uint8_t transition_frame = 0;

// The frame step: the elapsed ms since the previous frame as a signed
// 32-bit number, at most 17 (a clock that goes back is passed on as it is).
float frame_step(uint64_t now_ms, uint64_t previous_ms);

// One frame of the fade (state 1). Answers true when the fade ended on this
// frame: the state is then `next_state` and nothing is drawn or paced.
bool advance_fade(float dt);
