// A short-lived visual object with no collision: hit sparks, cancelled-bullet
// flashes, graze sparks, floating score numbers, particles, banners. Effects
// live by value in the effect pool, move by a shared `Effect_Behaviour` and
// are drawn (and ended) by a shared `Effect_Appearance` of the presentation.
// Positions in logical pixels, speeds in pixels per ms, times in ms.
#pragma once

#include <cstdint>

#include "sdk/core/math.h"
#include "world/moving_object.h"

class Effect_Appearance;
class Effect_Behaviour;

struct Effect {
    float x = 0.0f;
    float y = 0.0f;
    float dir_x = 0.0f;  // unit direction of motion
    float dir_y = 0.0f;
    sdk::Angle angle;  // rotation for looks that turn
    // Pixels per ms for the moving behaviours; the lifetime in ms for
    // "score_float".
    float speed = 0.0f;
    float age = 0.0f;
    uint32_t id = 0;
    uint8_t alive = 0;  // 0 ends the effect at the next pool update
    uint8_t kind = 0;   // variant for the look (frame row, colour)
    int32_t value = 0;  // the score shown, a frame, or a lifetime in ms
    float scale = 0.0f;
    uint8_t tint[4] = {0, 0, 0, 0};           // red, green, blue, alpha
    Effect_Appearance* appearance = nullptr;  // shared, not owned
    Effect_Behaviour* behaviour = nullptr;    // shared, not owned
};

// The movement strategy of effects; shared and stateless like `Behaviour`.
// Its stored rectangle is all zero and read by nobody.
class Effect_Behaviour : public Strategy_Rect {
public:
    Effect_Behaviour() = default;
    virtual ~Effect_Behaviour() = default;
    // Moves the effect by `dt` ms; the answer is ignored by the pool.
    virtual bool update(Effect& e, float dt) = 0;
};
