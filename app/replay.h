// The replay: the player's recorded state and frame step of every frame of
// one game, kept in memory while the game runs and written to
// "replay/<name>.rpy" in the working directory (the game uses "mirel").
// Little-endian, no padding:
//
//   0 version (u32)   4 replay_option_a (u8)   5 language (u8)
//   6 replay_option_b (u8)   7 N, the record count (u64)
//   then N records of 17 bytes: dt, x, y, angle (f32 each), flags (u8):
//   bit 0 focus, 1 shoot, 2 bomb, 3 special, 4 advance.
//
// A file of N records is 15 + 17 N bytes. The file holds no random seed:
// the simulation draws randomness for looks only. Saving replaces the file
// whole and safely; a save that fails is one line on stderr and the game goes
// on without the file. Loading a missing, foreign, short or oversized file
// answers false, logs why under "SYSTEM" and changes nothing. Loading switches
// the player's `language` to the replay's, and the settings keep it; a
// language byte other than 1 reads as 0, as in the settings file. Main
// thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/replay_frame.h"

inline constexpr size_t replay_header_bytes = 15;
inline constexpr size_t replay_record_bytes = 17;
inline constexpr size_t replay_reserved_frames = 300000;

// Header values that travel with a replay. `replay_option_a` holds the
// lives its game began with (`start_recording` puts them there; files
// written before hold 0); nothing else reads `replay_option_b`.
inline int32_t replay_option_a = 0;
inline int32_t replay_option_b = 1;

// The lives a replay is watched with: those its game began with, or the
// player's `start_lives` for a file that holds none (0) or a number no menu
// gives, so a changed lives option does not change the film.
int32_t replay_start_lives();

class Replay {
public:
    Replay() { replay_frames.reserve(replay_reserved_frames); }

    // Appends the record of this frame (its advance flag taken from
    // mark_dialog_advance) and clears the advance flag.
    void record_frame(const Replay_Frame& frame);
    void mark_dialog_advance() { replay_advance_flag = 1; }
    void clear();
    // A game's start: `clear`, and the header keeps the game's start lives.
    void start_recording();
    void rewind() { replay_cursor = 0; }
    // The record to play now. An empty replay first gets one record of step
    // 0 made from `start_state`, so its playback shows one still frame.
    Replay_Frame current_frame(const Replay_Frame& start_state);
    // Moves to the next record; false when the one played was the last.
    bool advance();

    // "replay/<name>.rpy".
    static std::string file_name(const std::string& name);
    std::vector<uint8_t> encode() const;
    // Why the bytes of a whole file cannot be read as a replay (another
    // version, fewer bytes than the header and its count need, or a record
    // no game could have written); empty when they can.
    static std::string refusal(const std::vector<uint8_t>& bytes);
    // Reads a whole file's bytes; false (nothing changed) when refused.
    bool decode(const std::vector<uint8_t>& bytes);
    // Creates the folder "replay" and writes the file; a failure is reported
    // on stderr, naming the file and the reason.
    void save(const std::string& name) const;
    bool load(const std::string& name);

    std::vector<Replay_Frame> replay_frames;
    uint64_t replay_cursor = 0;
    uint8_t replay_advance_flag = 0;
};

inline Replay replay;
