// One recorded frame of a replay: the frame step and the player's state after
// its update in that frame. The game frame hands one of these back for the
// shell to record; replay playback feeds them back into the same frame in
// place of the devices. Positions are logical pixels, the angle is radians,
// dt is milliseconds; the flags are 0 or 1.
#pragma once

#include <cstdint>

// The longest frame step a replay may hold, either way: far longer than any
// step the game takes (at most 17 ms), far shorter than the world's
// counters. The loaders judge what the world can reach against it too.
inline constexpr float longest_frame_step = 1000.0f;

struct Replay_Frame {
    float dt = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f;
    uint8_t focus = 0;
    uint8_t shoot = 0;
    uint8_t special = 0;
    uint8_t bomb = 0;
    uint8_t advance = 0;
};
