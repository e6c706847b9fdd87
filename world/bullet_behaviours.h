// The thirteen bullet behaviours. Each moves one bullet by one step of dt ms
// and answers whether it is still inside `field_bounds` after the move (the
// laser answers whether its lifetime has not passed). Instances are shared
// and stateless: per-bullet phases live in the bullet (age, speed, param1,
// param2, the angle, the aux vector, and a few reused bytes); the class
// constants are fixed at registration.
//
// Speeds are pixels per ms, except in `Behaviour_Arc_Polar` and
// `Behaviour_Player_Bullet2`, where they are pixels per second and the
// angular rates degrees per second. Angles in the data are degrees.
#pragma once

#include "world/behaviour.h"

// Straight on at its speed; the age stays 0.
class Behaviour_Simple : public Behaviour {
public:
    using Behaviour::Behaviour;
    bool update(Bullet& b, float dt) override;
};

// Eases linearly from the start speed param1 to its speed over ramp_time.
class Behaviour_Simple2 : public Behaviour {
public:
    Behaviour_Simple2(const sdk::Rectf& rect, float ramp_time)
        : Behaviour(rect), ramp_time(ramp_time) {}
    bool update(Bullet& b, float dt) override;
    const float ramp_time;
};

// Speed changes by accel per ms up to (or down to) limit.
class Behaviour_Simple3 : public Behaviour {
public:
    Behaviour_Simple3(const sdk::Rectf& rect, float accel, float limit)
        : Behaviour(rect), accel(accel), limit(limit) {}
    bool update(Bullet& b, float dt) override;
    const float accel;
    const float limit;
};

// Takes the speed param1 once older than param2 ms.
class Behaviour_Timed : public Behaviour {
public:
    using Behaviour::Behaviour;
    bool update(Bullet& b, float dt) override;
};

// Runs param2 pixels (param1 counts the distance run) and stops exactly there.
class Behaviour_Stopping : public Behaviour {
public:
    using Behaviour::Behaviour;
    bool update(Bullet& b, float dt) override;
};

// Turns once by param2 degrees at the age param1 (trigger_seen is its flag).
class Behaviour_Turning : public Behaviour {
public:
    using Behaviour::Behaviour;
    bool update(Bullet& b, float dt) override;
};

// Turns by param1 degrees every step, easing in over ease_time.
class Behaviour_Arc : public Behaviour {
public:
    Behaviour_Arc(const sdk::Rectf& rect, float ease_time, float ease_factor)
        : Behaviour(rect), ease_time(ease_time), ease_factor(ease_factor) {}
    bool update(Bullet& b, float dt) override;
    const float ease_time;
    const float ease_factor;
};

// Turns by param1 degrees per step for arc_time, then flies straight at
// line_factor times its speed.
class Behaviour_Arc_Line : public Behaviour {
public:
    Behaviour_Arc_Line(const sdk::Rectf& rect, float arc_time, float line_factor)
        : Behaviour(rect), arc_time(arc_time), line_factor(line_factor) {}
    bool update(Bullet& b, float dt) override;
    const float arc_time;
    const float line_factor;
};

// Circles its pattern's origin on a widening spiral: radius speed x age,
// growing at rate_factor times after switch_time; angle param2 + param1 x age.
class Behaviour_Arc_Polar : public Behaviour {
public:
    Behaviour_Arc_Polar(const sdk::Rectf& rect, float switch_time, float rate_factor)
        : Behaviour(rect), switch_time(switch_time), rate_factor(rate_factor) {}
    bool update(Bullet& b, float dt) override;
    const float switch_time;
    const float rate_factor;
};

// The player's curving shot: a spiral about aux (alive 1) until the sweep
// passes max_sweep, then straight on along the tangent (alive 2).
class Behaviour_Player_Bullet2 : public Behaviour {
public:
    Behaviour_Player_Bullet2(const sdk::Rectf& rect, float max_sweep, float line_factor)
        : Behaviour(rect), max_sweep(max_sweep), line_factor(line_factor) {}
    bool update(Bullet& b, float dt) override;
    const float max_sweep;
    const float line_factor;
};

// Straight on while the sprite spins by param1 degrees per ms.
class Behaviour_Spinning : public Behaviour {
public:
    using Behaviour::Behaviour;
    bool update(Bullet& b, float dt) override;
};

// Held: flies, stops after param2 ms, and when its pattern's trigger is set
// is released along aux at the speed param1.
class Behaviour_Controlled1 : public Behaviour {
public:
    using Behaviour::Behaviour;
    bool update(Bullet& b, float dt) override;
};

// A beam: nothing moves; it ages and lives while its age is at most param1
// (its lifetime).
class Behaviour_Lazor : public Behaviour {
public:
    using Behaviour::Behaviour;
    bool update(Bullet& b, float dt) override;
};
