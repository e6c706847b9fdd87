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
// temporary beside it, so a crash never leaves half a file; a save that fails
// (a folder the player cannot write) is one line on stderr, and the settings
// stay in memory for the next save. A file that is there but cannot be read
// (another user's) is never written over: that run keeps its settings in
// memory only. Values read from a damaged file are
// brought into the ranges the menus produce; a language byte other than 1
// reads as 0, as in a replay.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr size_t config_file_bytes = 33;
inline const std::string config_file_name = "config.dat";

using Config_Bytes = std::array<uint8_t, config_file_bytes>;

// The best score that "config.dat" holds, as last read or written; 0 while it
// holds none. A best score above it is not safe on disk yet.
inline uint32_t saved_hi_score = 0;

// Set when "config.dat" was there but could not be read: from then on
// save_config leaves the file as it is, so the best score it may hold is
// never lost to the defaults.
inline bool config_file_unreadable = false;

// The 33 bytes of the current settings.
Config_Bytes encode_config();
// Sets the globals from the bytes (no version check; see config_valid) and
// clamps them to their ranges.
void decode_config(const Config_Bytes& bytes);

// "config.dat" exists, is 33 bytes and carries `game_version`. One that is
// there but cannot be read answers false, says so on stderr and sets
// config_file_unreadable.
bool config_valid();
// Reads the file when config_valid says yes; otherwise changes nothing.
void load_config();
// Recomputes the volume factors and writes the 33 bytes safely (a failure is
// reported, never thrown); writes nothing once config_file_unreadable is set.
void save_config();
// The best score is above the one the file holds: a run beat it and it is
// not on disk yet. The end of such a run saves the settings at once, so a
// game killed afterwards does not lose it.
bool hi_score_unsaved();
// Every setting to its default (window 640 x 480, also the current window
// size), saved at once (in memory only when config_file_unreadable).
void reset_config_defaults();
