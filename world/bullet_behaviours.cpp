#include "world/bullet_behaviours.h"

#include <algorithm>
#include <cmath>

#include "world/bullet.h"
#include "world/geometry.h"
#include "world/pattern.h"
#include "world/pattern_engine.h"

namespace {

constexpr float deg = sdk::pi / 180.0f;

inline bool inside(const Bullet& b) {
    return field_bounds.left <= b.x && b.x < field_bounds.right && field_bounds.top <= b.y &&
           b.y < field_bounds.bottom;
}

inline void move(Bullet& b, float s, float dt) {
    b.x += b.dir_x * s * dt;
    b.y += b.dir_y * s * dt;
}

inline void set_heading_from_angle(Bullet& b) {
    b.dir_x = std::cos(b.angle.to_radians());
    b.dir_y = std::sin(b.angle.to_radians());
}

// Direction of the last move, or zero when the bullet did not move.
inline void direction_from_move(Bullet& b) {
    sdk::Vec2f d(b.x - b.prev_x, b.y - b.prev_y);
    float l = d.length();
    if (l > 0.0f) {
        b.dir_x = d.x / l;
        b.dir_y = d.y / l;
    } else {
        b.dir_x = 0.0f;
        b.dir_y = 0.0f;
    }
}

}  // namespace

bool Behaviour_Simple::update(Bullet& b, float dt) {
    move(b, b.speed, dt);
    return inside(b);
}

bool Behaviour_Simple2::update(Bullet& b, float dt) {
    b.age += dt;
    float s = b.speed;
    if (b.age <= ramp_time) s = b.speed + (b.param1 - b.speed) * (ramp_time - b.age) / ramp_time;
    move(b, s, dt);
    return inside(b);
}

bool Behaviour_Simple3::update(Bullet& b, float dt) {
    b.age += dt;
    b.speed += accel * dt;
    b.speed = accel > 0.0f ? std::min(b.speed, limit) : std::max(b.speed, limit);
    move(b, b.speed, dt);
    return inside(b);
}

bool Behaviour_Timed::update(Bullet& b, float dt) {
    b.age += dt;
    if (b.age > b.param2) b.speed = b.param1;
    move(b, b.speed, dt);
    return inside(b);
}

bool Behaviour_Stopping::update(Bullet& b, float dt) {
    b.age += dt;
    if (b.speed != 0.0f) {
        float step = dt;
        if (b.param1 + b.speed * dt > b.param2) step = (b.param2 - b.param1) / b.speed;
        b.param1 += b.speed * step;
        move(b, b.speed, step);
        if (step != dt) b.speed = 0.0f;
    }
    return inside(b);
}

bool Behaviour_Turning::update(Bullet& b, float dt) {
    b.age += dt;
    if (b.trigger_seen != 0 || b.age <= b.param1) {
        move(b, b.speed, dt);
    } else {
        // The part of the step up to the turn is flown; the rest is lost.
        move(b, b.speed, dt - (b.age - b.param1));
        b.angle += sdk::Angle::from_degrees(b.param2);
        set_heading_from_angle(b);
        b.trigger_seen = 1;
    }
    return inside(b);
}

bool Behaviour_Arc::update(Bullet& b, float dt) {
    b.age += dt;
    // With no easing time there is nothing to ease (and 0 / 0 to avoid).
    if (b.age > ease_time || ease_time <= 0.0f) {
        b.angle += sdk::Angle::from_degrees(b.param1);
        set_heading_from_angle(b);
        move(b, b.speed, dt);
    } else {
        float k = (ease_time - b.age) / ease_time;
        b.angle += sdk::Angle::from_degrees(b.param1 + (ease_factor * b.param1 - b.param1) * k);
        set_heading_from_angle(b);
        move(b, b.speed + (ease_factor * b.speed - b.speed) * k, dt);
    }
    return inside(b);
}

bool Behaviour_Arc_Line::update(Bullet& b, float dt) {
    b.age += dt;
    if (b.age <= arc_time) {
        b.angle += sdk::Angle::from_degrees(b.param1);
        set_heading_from_angle(b);
        move(b, b.speed, dt);
    } else {
        move(b, b.speed * line_factor, dt);
    }
    return inside(b);
}

bool Behaviour_Arc_Polar::update(Bullet& b, float dt) {
    b.age += dt;
    float r =
        b.age <= switch_time
            ? b.speed * b.age / 1000.0f
            : (b.speed * switch_time + (b.age - switch_time) * b.speed * rate_factor) / 1000.0f;
    float h = (b.param1 * b.age / 1000.0f + b.param2) * deg;
    // A polar bullet circles the point its pattern started from.
    float ox = b.owner ? b.owner->origin_x : b.aux_x;
    float oy = b.owner ? b.owner->origin_y : b.aux_y;
    b.x = ox + std::cos(h) * r;
    b.y = oy + std::sin(h) * r;
    direction_from_move(b);
    return inside(b);
}

bool Behaviour_Player_Bullet2::update(Bullet& b, float dt) {
    b.age += dt;
    if (b.alive != 1) {
        move(b, b.speed * line_factor / 1000.0f, dt);
        return inside(b);
    }
    float r = b.speed * b.age / 1000.0f;
    float sweep = b.param1 * b.age / 1000.0f;
    if (std::fabs(sweep) <= max_sweep) {
        float h = (b.param2 + sweep) * deg;
        b.x = b.aux_x + std::cos(h) * r;
        b.y = b.aux_y + std::sin(h) * r;
        direction_from_move(b);
        return inside(b);
    }
    // The sweep reached its limit inside this step: from the spiral's end
    // point on along its tangent for the rest of the step.
    b.alive = 2;
    float t_end = max_sweep * 1000.0f / std::fabs(b.param1);
    float rest = b.age - t_end;
    float r_end = b.speed * t_end / 1000.0f;
    bool positive = sweep > 0.0f;
    float e = positive ? b.param2 + max_sweep : b.param2 - max_sweep;
    b.x = b.aux_x + std::cos(e * deg) * r_end;
    b.y = b.aux_y + std::sin(e * deg) * r_end;
    float turn = std::atan((b.param2 + max_sweep) * deg);
    float theta = positive ? e * deg + turn : e * deg - turn;
    b.angle = sdk::Angle::from_radians(theta);
    b.dir_x = std::cos(theta);
    b.dir_y = std::sin(theta);
    move(b, b.speed * line_factor / 1000.0f, rest);
    return inside(b);
}

bool Behaviour_Spinning::update(Bullet& b, float dt) {
    move(b, b.speed, dt);
    b.angle -= sdk::Angle::from_degrees(b.param1 * dt);
    return inside(b);
}

bool Behaviour_Controlled1::update(Bullet& b, float dt) {
    b.age += dt;
    if (b.spawner >= 2) {
        move(b, b.speed, dt);
    } else if (b.owner && b.owner->trigger != 0) {
        b.speed = b.param1;
        b.dir_x = b.aux_x;
        b.dir_y = b.aux_y;
        b.angle = angle_from_direction({b.dir_x, b.dir_y});
        b.spawner = 2;
    } else if (b.age > b.param2) {
        b.speed = 0.0f;
    } else {
        move(b, b.speed, dt);
    }
    return inside(b);
}

bool Behaviour_Lazor::update(Bullet& b, float dt) {
    // The beam counts its own age: without it a laser would never end and
    // its flash, which cycles with the age, would never turn.
    b.age += dt;
    return b.age <= b.param1;
}
