#include "world/enemy_paths.h"

#include <cmath>

#include "sdk/core/number_convert.h"
#include "world/geometry.h"

namespace {

void move_step(Enemy& e, float dt) {
    e.x += e.dir_x * e.speed * dt;
    e.y += e.dir_y * e.speed * dt;
}

void heading_from_angle(Enemy& e) {
    e.dir_x = std::cos(e.angle.to_radians());
    e.dir_y = std::sin(e.angle.to_radians());
}

// Against the global removal bounds, not the path's rectangle.
bool point_test(const Enemy& e) {
    return field_bounds.left <= e.x && e.x < field_bounds.right && field_bounds.top <= e.y &&
           e.y < field_bounds.bottom;
}

// Against the path's rectangle, strictly; enemies made by the stage script
// have no size, so this acts on the point.
bool box_test(const Enemy_Path& p, const Enemy& e) {
    float w2 = static_cast<float>(e.width / 2);
    float h2 = static_cast<float>(e.height / 2);
    return p.right > e.x - w2 && e.x + w2 > p.left && p.bottom > e.y - h2 && e.y + h2 > p.top;
}

// At most one depth stage per call.
void depth_stages(Enemy& e) {
    if (e.path_state == 0) {
        if (e.y > 10) e.path_state = 10;
    } else if (e.path_state == 10) {
        if (e.y > 100) e.path_state = 20;
    } else if (e.path_state == 20) {
        if (e.y > 150) e.path_state = 30;
    }
}

// The leaving step shared by the two stopping paths: a 2000 ms ramp up to
// the base speed from the end of the wait.
bool leave_after_wait(const Enemy_Path& p, Enemy& e, float wait, float dt) {
    float t = e.age - (e.f1 + wait);
    e.speed = t <= 2000.0f ? t * e.base_speed / 2000.0f : e.base_speed;
    move_step(e, dt);
    return box_test(p, e) ? e.alive != 0 : false;
}

}  // namespace

Enemy_Path_Straight::Enemy_Path_Straight(const sdk::Rectf& rect) : Enemy_Path(rect, 0.0f, 0) {}

bool Enemy_Path_Straight::update(Enemy& e, float dt) {
    e.distance += e.speed * dt;
    move_step(e, dt);
    depth_stages(e);
    return point_test(e);
}

Enemy_Path_Move_Aside::Enemy_Path_Move_Aside(const sdk::Rectf& rect, uint8_t turn_left,
                                             float fraction)
    : Enemy_Path(rect, rect.top + fraction * (rect.bottom - rect.top), turn_left) {}

bool Enemy_Path_Move_Aside::update(Enemy& e, float dt) {
    e.distance += e.speed * dt;
    if (e.y > turn_line()) {
        float turn = 0.3f * e.speed * dt;
        if (flag) {
            if (!(e.angle.to_degrees() > 180.0f)) {
                e.angle += sdk::Angle::from_degrees(turn);
                heading_from_angle(e);
            }
        } else if (!(e.angle.to_degrees() < 0.0f)) {
            e.angle -= sdk::Angle::from_degrees(turn);
            heading_from_angle(e);
        }
    }
    move_step(e, dt);
    if (e.y > top && !box_test(*this, e)) return false;
    depth_stages(e);
    return e.alive != 0;
}

Enemy_Path_Stop_Wait_Move::Enemy_Path_Stop_Wait_Move(const sdk::Rectf& rect, float wait_ms)
    : Enemy_Path(rect, wait_ms, 0) {}

bool Enemy_Path_Stop_Wait_Move::update(Enemy& e, float dt) {
    const float wait = param;
    if (e.path_state < 10) {
        e.distance += e.speed * dt;
        move_step(e, dt);
        if (e.y > top + e.f1) {
            float depth = e.f1;
            e.f1 = e.age;
            e.y = top + depth;
            e.path_state = 10;
            e.speed = 0.001f;
        }
        return e.alive != 0;
    }
    if (e.path_state < 30) {
        move_step(e, dt);
        if (e.age > e.f1 + wait / 10.0f) e.path_state = 11;
        if (e.age > e.f1 + wait / 5.0f) e.path_state = 12;
        if (e.age > e.f1 + wait / 4.0f) e.path_state = 13;
        if (e.age > e.f1 + wait / 2.0f) e.path_state = 20;
        if (e.age > e.f1 + wait) {
            e.path_state = 30;
            // 180 degrees at the left of the removal bounds, straight up in
            // the middle, 360 at the right.
            float l = field_bounds.left, r = field_bounds.right;
            e.angle = sdk::Angle::from_degrees(180.0f + 180.0f * (e.x - l) / (r - l));
            heading_from_angle(e);
            e.speed = e.base_speed / 10.0f;
        }
        return e.alive != 0;
    }
    float t = e.age - (e.f1 + wait);
    e.speed = t <= 2000.0f ? t * e.base_speed / 2000.0f : e.base_speed;
    e.distance += e.speed * dt;
    move_step(e, dt);
    return box_test(*this, e) ? e.alive != 0 : false;
}

Enemy_Path_Go_Wait_Go::Enemy_Path_Go_Wait_Go(const sdk::Rectf& rect, float wait_ms)
    : Enemy_Path(rect, wait_ms, 0) {}

bool Enemy_Path_Go_Wait_Go::update(Enemy& e, float dt) {
    const float wait = param;
    e.distance += e.speed * dt;
    if (e.path_state < 10) {
        float stop_line = top + e.f1;
        // The braking factor 1/dt + 0.9 is undefined for a zero step (a
        // replay frame of step 0): such a frame neither brakes nor moves.
        if (dt > 0.0f && e.y > stop_line - 50.0f && e.speed > 0.05f) e.speed *= 1.0f / dt + 0.9f;
        move_step(e, dt);
        if (e.y > stop_line) {
            e.f1 = e.age;
            e.y = stop_line;
            e.path_state = 10;
            e.speed = 0.0f;
        }
        return e.alive != 0;
    }
    if (e.path_state < 30) {
        // Half the stop time plus the whole wait, as the stages were tuned.
        if (e.age > e.f1 * 0.5f + wait) e.path_state = 20;
        if (e.age > e.f1 + wait) {
            e.speed = e.base_speed / 10.0f;
            e.path_state = 30;
        }
        return e.alive != 0;
    }
    return leave_after_wait(*this, e, wait, dt);
}

float route_distance(float t, float length, float ramp, float leg) {
    float a = length / (ramp * (leg - ramp));
    float v = a * ramp;
    float s0 = v * ramp / 2.0f;
    if (t < ramp) return a * t * t / 2.0f;
    if (t < leg - ramp) return s0 + (t - ramp) * v;
    float u = t - (leg - ramp);
    return length - s0 + u * v - a * u * u / 2.0f;
}

namespace {

struct Route_Leg {
    sdk::Vec2f from, to;
    float ramp, leg;
};

// Leg 2's ramp is the single-precision value just above 900, so its cruise
// ends at 2100 ms.
constexpr Route_Leg route_leg1{{350.0f, 30.0f}, {200.0f, 250.0f}, 600.0f, 2000.0f};
constexpr Route_Leg route_leg2{{200.0f, 250.0f}, {-50.0f, 0.0f}, 900.00006f, 900.00006f + 2100.0f};

sdk::Vec2f route_point(const Route_Leg& leg, float t) {
    sdk::Vec2f d = leg.to - leg.from;
    float length = d.length();
    float s = route_distance(t, length, leg.ramp, leg.leg);
    return leg.from + d * (s / length);
}

}  // namespace

Enemy_Path_One_Point_Stop::Enemy_Path_One_Point_Stop(const sdk::Rectf& rect, float p)
    : Enemy_Path(rect, p, 0) {}

bool Enemy_Path_One_Point_Stop::update(Enemy& e, float dt) {
    e.distance += e.speed * dt;
    sdk::Vec2f p{e.x, e.y};
    if (e.path_state == 0) {
        if (e.age <= 2000.0f) {
            p = route_point(route_leg1, e.age);
        } else {
            p = route_leg1.to;
            e.path_state = 1;
        }
    } else if (e.path_state == 1) {
        p = route_leg1.to;
        if (e.age > 3000.0f) e.path_state = 2;
    } else {
        p = route_point(route_leg2, e.age - 3000.0f);
    }
    e.x = p.x;
    e.y = p.y;
    return point_test(e);
}

Enemy_Path_Sinus::Enemy_Path_Sinus(const sdk::Rectf& rect, float divisor)
    : Enemy_Path(rect, divisor, 0) {}

bool Enemy_Path_Sinus::update(Enemy& e, float dt) {
    e.distance += e.speed * dt;
    float phase = e.distance / param + e.f1;
    // A triangle wave of period 120 phase units between -30 and +30 degrees;
    // the remainder keeps the sign of the phase.
    int k = sdk::saturate_integer<int>(phase) % 120;
    if (k > 60) k = 120 - k;
    float heading = (e.angle.to_degrees() + static_cast<float>(k - 30)) * (sdk::pi / 180.0f);
    e.dir_x = std::cos(heading);
    e.dir_y = std::sin(heading);
    move_step(e, dt);
    return point_test(e);
}
