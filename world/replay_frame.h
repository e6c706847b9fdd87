// One recorded frame of a replay: the frame step and the player's state after
// its update in that frame. The game frame hands one of these back for the
// shell to record; replay playback feeds them back into the same frame in
// place of the devices. Positions are logical pixels, the angle is radians,
// dt is milliseconds; the flags are 0 or 1.
#pragma once

#include <cstdint>

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
