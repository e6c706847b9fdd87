// The movement strategy of bullets. One shared, stateless instance per
// registered name ("bullet_simple", "bullet_arc", ...) serves every bullet
// that names it; all per-bullet state lives in the bullet. The registry owns
// the instances for the life of the program. The concrete classes are in
// world/bullet_behaviours.h.
#pragma once

#include "sdk/core/math.h"
#include "world/moving_object.h"

struct Bullet;

class Behaviour : public Strategy_Rect {
public:
    explicit Behaviour(const sdk::Rectf& rect)
        : Strategy_Rect{rect.left, rect.top, rect.right, rect.bottom} {}
    virtual ~Behaviour() = default;
    // Moves `b` by one step of `dt` ms and answers whether it lives on: for
    // all but the laser, whether it is still inside `field_bounds` after the
    // move (left and top edges inside, right and bottom outside).
    virtual bool update(Bullet& b, float dt) = 0;
};
