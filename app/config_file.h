// The settings file "config.dat" in the working directory: exactly 33 bytes,
// little-endian, no padding, holding the settings globals of
// world/settings.h and the best score:
//
//   0 version (i32)      4 fullscreen (u8)    5 window width (i32)
//   9 window height (i32) 13 hi_score (u32)   17 start_lives (i8)
//  18 spare_flag (u8)    19 sound % (i8)      20 music % (i8)
//  21 dead_zone (f32)    25..30 buttons shoot, bomb, focus, special, pause,
//  spare (i8 each)       31 special_focuses (i8)   32 language (i8)
//
// Wider integers are written as their low byte. A file of another size or
// version is not read at all. Saving replaces the file whole through a
// temporary beside it, so a crash never leaves half a file. Values read from
// a damaged file are brought into the ranges the menus produce.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr size_t config_file_bytes = 33;
inline const std::string config_file_name = "config.dat";

using Config_Bytes = std::array<uint8_t, config_file_bytes>;

// The 33 bytes of the current settings.
Config_Bytes encode_config();
// Sets the globals from the bytes (no version check; see config_valid) and
// clamps them to their ranges.
void decode_config(const Config_Bytes& bytes);

// "config.dat" exists, is 33 bytes and carries `game_version`.
bool config_valid();
// Reads the file when config_valid says yes; otherwise changes nothing.
void load_config();
// Writes the 33 bytes safely, then recomputes the volume factors.
void save_config();
// Every setting to its default (window 640 x 480, also the current window
// size), saved at once.
void reset_config_defaults();
