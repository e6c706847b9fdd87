// The movement strategy of enemies: a shared, stateless instance registered
// under a name ("enemy_straight", "enemy_wait_2s", ...). Everything that
// varies per enemy lives in the `Enemy`; the path holds its stored rectangle
// (the play field), one class parameter and one flag. The registry owns the
// instances for the life of the program.
#pragma once

#include <cstdint>

#include "sdk/core/math.h"
#include "world/moving_object.h"

struct Enemy;

class Enemy_Path : public Strategy_Rect {
public:
    explicit Enemy_Path(const sdk::Rectf& rect, float param = 0.0f, uint8_t flag = 0)
        : Strategy_Rect{rect.left, rect.top, rect.right, rect.bottom}, param(param), flag(flag) {}
    virtual ~Enemy_Path() = default;
    // Moves `e` by `dt` ms and answers whether it stays (the caller stores
    // the answer in `alive`).
    virtual bool update(Enemy& e, float dt) = 0;

    float param = 0.0f;  // the class parameter (a wait, a divisor, a line)
    uint8_t flag = 0;
};
