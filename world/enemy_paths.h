// The movement paths of ordinary enemies: shared, stateless strategies that
// the enemy update calls once per frame. Everything that varies per enemy
// (position, heading, speeds, age, distance, path_state, f1) lives in the
// `Enemy`; a path holds only its rectangle (the play field, for the box
// removal test) and its class constant. Speeds are px/ms, times ms, angles
// degrees, y downwards. The boss's path is in boss_path.h.
#pragma once

#include <cstdint>

#include "sdk/core/math.h"
#include "world/enemy.h"
#include "world/enemy_path.h"

// Straight along the heading; path_state marks depths 10, 100 and 150 for
// shots of trigger 3. Removed outside the field bounds.
class Enemy_Path_Straight : public Enemy_Path {
public:
    explicit Enemy_Path_Straight(const sdk::Rectf& rect);
    bool update(Enemy& e, float dt) override;
};

// Straight down to the turn line (a fraction of the rectangle's height below
// its top), then turning toward 180 degrees (flag 1, left) or 0 degrees
// (flag 0, right).
class Enemy_Path_Move_Aside : public Enemy_Path {
public:
    Enemy_Path_Move_Aside(const sdk::Rectf& rect, uint8_t turn_left, float fraction);
    bool update(Enemy& e, float dt) override;
    float turn_line() const { return param; }
};

// Down to the stop depth f1, a slow creep for the wait time T, then away
// upwards, to the left or right by where it stopped.
class Enemy_Path_Stop_Wait_Move : public Enemy_Path {
public:
    Enemy_Path_Stop_Wait_Move(const sdk::Rectf& rect, float wait_ms);
    bool update(Enemy& e, float dt) override;
};

// Down to the stop depth f1 braking, a still wait, then on along the same
// heading with a 2000 ms speed ramp.
class Enemy_Path_Go_Wait_Go : public Enemy_Path {
public:
    Enemy_Path_Go_Wait_Go(const sdk::Rectf& rect, float wait_ms);
    bool update(Enemy& e, float dt) override;
};

// A fixed route: from (350, 30) to (200, 250) in 2000 ms, a stop until
// 3000 ms, then out through the left edge toward (-50, 0). The event's
// position, heading and speed do not steer it.
class Enemy_Path_One_Point_Stop : public Enemy_Path {
public:
    Enemy_Path_One_Point_Stop(const sdk::Rectf& rect, float param);
    bool update(Enemy& e, float dt) override;
};

// Weaves ±30 degrees about its angle, one period per 120 units of
// distance / divisor, shifted by f1.
class Enemy_Path_Sinus : public Enemy_Path {
public:
    Enemy_Path_Sinus(const sdk::Rectf& rect, float divisor);
    bool update(Enemy& e, float dt) override;
};

// Distance along an accelerate, cruise and brake leg of length `length` at
// leg time t, with ramp time r and leg time `leg`.
float route_distance(float t, float length, float ramp, float leg);
