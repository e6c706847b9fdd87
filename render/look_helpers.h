// Small rules that the bullet, effect and enemy looks share: the colour
// index as a frame offset, the direction angle of the player's shots and
// their sparks, and centring a shared sprite.
#pragma once

#include <cstdint>

#include "sdk/core/math.h"
#include "sdk/sprite.h"

// The colour index read as a signed byte, modulo 16 with the sign of the
// dividend: colours 16 to 19 wrap to 0 to 3.
inline int colour_offset(uint8_t colour) { return static_cast<int8_t>(colour) % 16; }

// The angle that turns a sprite drawn pointing right along (dx, dy) on the
// y-down screen: the unsigned angle to (1, 0), or 360 degrees minus it when
// the motion points up.
inline sdk::Angle direction_angle(float dx, float dy) {
    float a = sdk::Vec2f(dx, dy).angle(sdk::Vec2f(1.0f, 0.0f)).to_degrees();
    return sdk::Angle::from_degrees(dy >= 0.0f ? a : 360.0f - a);
}

inline void centre(sdk::Sprite& s) { s.set_alignment(sdk::Origin::center, 0.0f, 0.0f); }
