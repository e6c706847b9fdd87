// The player's settings while the program runs: the values of "config.dat"
// (written and read by the shell's settings file code), read by the player's
// input, the sound manager and the drawing. Percentages 0..100; the two
// volume factors are the percentages / 100 and are recomputed after every
// load, reset and save. Main thread only.
#pragma once

#include <cstdint>

#include "sdk/core/math.h"

inline int32_t game_version = 91;
inline uint8_t fullscreen = 0;
inline sdk::Size config_window_size{640, 480};
inline uint32_t hi_score = 9999;
inline int32_t start_lives = 3;
inline uint8_t spare_flag = 1;
inline int32_t sound_volume_pct = 80;
inline int32_t music_volume_pct = 90;
inline float dead_zone = 0.5f;
inline int32_t button_shoot = 1;
inline int32_t button_bomb = 0;
inline int32_t button_focus = 5;
inline int32_t button_special = 3;
inline int32_t button_pause = 7;
inline int32_t button_spare = 2;
inline int32_t special_focuses = 0;
// 0 or 1: the "_rus" and "_jap" variants of dialog, pictures and fonts. A
// replay's header carries it, and loading a replay switches to its language.
inline int32_t language = 0;
inline float sound_volume = 0.8f;
inline float music_volume = 0.9f;

inline void recompute_volumes() {
    sound_volume = static_cast<float>(sound_volume_pct) / 100.0f;
    music_volume = static_cast<float>(music_volume_pct) / 100.0f;
}
