// The player's shot patterns, codes 100000000 and above: the main shot
// (100000001, a burst of volleys shaped by power and focus), volleys towards
// the nearest enemy (100000002) and a ring of orbiting bullets (100000005).
// Every number comes from the player's parameters of "player.xml".
#include <cmath>
#include <cstdint>

#include "sdk/core/number_convert.h"
#include "world/appearances.h"
#include "world/bullet_pool.h"
#include "world/enemy_damage.h"
#include "world/pattern_engine.h"
#include "world/pattern_families.h"
#include "world/player.h"
#include "world/sound_sink.h"

namespace {

struct Shot_Look {
    Appearance* look;
    float radius;
    int32_t damage;
    float speed;
};

void fire_at(Bullet b, float x, float y, const Shot_Look& s, float over) {
    b.x = x;
    b.y = y;
    b.appearance = s.look;
    b.radius = s.radius;
    b.damage = s.damage;
    b.speed = s.speed;
    b.update(over);
    bullet_pool.add(b);
}

// The focused shot by power: one heavy bullet.
Shot_Look focused_look() {
    const World_Looks& w = world_looks;
    float d = static_cast<float>(player.shot4_damage);
    if (player.power >= 128)
        return {w.player_bullet_focus[4], 36.0f, sdk::saturate_integer<int32_t>(d * 2.2f),
                player.shot4_speed};
    if (player.power >= 96)
        return {w.player_bullet_focus[3], 31.0f, sdk::saturate_integer<int32_t>(d * 1.9f),
                player.shot4_speed};
    if (player.power >= 64)
        return {w.player_bullet_focus[2], 29.0f, sdk::saturate_integer<int32_t>(d * 1.6f),
                player.shot4_speed};
    if (player.power >= 32)
        return {w.player_bullet_focus[1], 26.0f, sdk::saturate_integer<int32_t>(d * 1.3f),
                player.shot4_speed};
    return {w.player_bullet_focus[0], 24.0f, player.shot2_damage, player.shot2_speed};
}

void main_volley(Pattern& p, float over) {
    float x = player.x;
    float y = player.y + (player.focus ? 0.0f : 20.0f);
    Bullet b = make_pattern_bullet(p, x, y);
    b.dir_x = 0.0f;
    b.dir_y = -1.0f;
    if (player.focus) {
        fire_at(b, x, y - 2.0f, focused_look(), over);
        return;
    }
    const Shot_Look side{world_looks.player_bullet2, 6.0f, player.shot3_damage, player.shot3_speed};
    const Shot_Look front{world_looks.player_bullet1, 8.0f, player.shot1_damage,
                          player.shot1_speed};
    struct Offset {
        float dx, dy;
    };
    // Cumulative rows: at power 128 every row fires.
    if (player.power >= 128)
        for (Offset o : {Offset{0, -7}, Offset{-16, 5}, Offset{16, 5}})
            fire_at(b, x + o.dx, y + o.dy, side, over);
    if (player.power >= 96)
        for (Offset o : {Offset{-49, 28}, Offset{49, 28}})
            fire_at(b, x + o.dx, y + o.dy, side, over);
    if (player.power >= 64)
        for (Offset o : {Offset{-35, 18}, Offset{35, 18}})
            fire_at(b, x + o.dx, y + o.dy, side, over);
    if (player.power >= 32)
        for (Offset o : {Offset{-20, 5}, Offset{20, 5}})
            fire_at(b, x + o.dx, y + o.dy, front, over);
    for (Offset o : {Offset{-9, -2}, Offset{9, -2}}) fire_at(b, x + o.dx, y + o.dy, front, over);
}

// Volleys at the firing moments of `interval`, up to `count`.
template <typename Fire>
void volleys(Pattern& p, float interval, uint32_t count, Fire&& fire) {
    for (uint32_t fired = 0; fired < max_shots_per_update; ++fired) {
        float moment = static_cast<float>(p.shot_count) * interval;
        if (!(moment < p.timer) || p.shot_count >= count) break;
        fire(p.timer - moment);
        ++p.shot_count;
    }
    if (p.shot_count == count) p.active = 0;
}

void main_shot(Pattern& p, float dt) {
    if (player.dying) {
        p.active = 0;
        return;
    }
    p.timer += dt;
    player_shot_clock += dt;
    volleys(p, player.shot1_interval, static_cast<uint32_t>(player.shot1_bullets), [&](float over) {
        main_volley(p, over);
        if (player_shot_clock > 70.0f) {
            player_shot_clock = 0.0f;
            sound_sink().play_sound("player_shot");
        }
    });
}

void homing_volleys(Pattern& p, float dt) {
    if (p.timer == 0.0f) {
        sdk::Pointf at = nearest_enemy_to_player();
        p.origin_x = at.x;
        p.origin_y = at.y;
    }
    p.timer += dt;
    // Below the start power (or with no power step) there is no volley: the
    // unsigned count would wrap to billions, the step divide by zero. The
    // difference is taken unsigned, so that a start power of any i32 gives
    // it without overflow.
    uint32_t count = 0;
    if (player.power >= player.shot2_startpower && player.shot2_steppower > 0)
        count =
            (static_cast<uint32_t>(player.power) - static_cast<uint32_t>(player.shot2_startpower)) /
                static_cast<uint32_t>(player.shot2_steppower) +
            1;
    volleys(p, player.shot2_interval, count, [&](float over) {
        float h = static_cast<float>(player.height / 2);
        sdk::Vec2f d(0.0f, -1.0f);
        if (p.origin_x != 0.0f || p.origin_y != 0.0f)
            d = sdk::Vec2f(p.origin_x - player.x, p.origin_y - player.y).normalized();
        Bullet b = make_pattern_bullet(p, player.x, player.y);
        struct Shot {
            float dx, dy, turn;
        };
        for (Shot s : {Shot{0, -h, 0}, Shot{-h, 0, -5}, Shot{h, 0, 5}}) {
            sdk::Vec2f dir = d;
            if (s.turn != 0.0f) dir.rotate({0.0f, 0.0f}, sdk::Angle::from_degrees(s.turn));
            b.x = player.x + s.dx;
            b.y = player.y + s.dy;
            b.dir_x = dir.x;
            b.dir_y = dir.y;
            b.update(over);
            bullet_pool.add(b);
        }
    });
}

void orbiting_ring(Pattern& p, float) {
    if (p.trigger != 0) {
        if (p.live_spawners == 0) p.active = 0;
        return;
    }
    // A count that gives no whole-degree step would never close the ring.
    int32_t step = player.shot3_bullets > 0 ? 360 / player.shot3_bullets : 0;
    if (step <= 0) {
        p.active = 0;
        return;
    }
    p.origin_x = player.x;
    p.origin_y = player.y;
    float turn = player.shot3_angle_speed;
    for (int32_t a = 0; a < 360; a += step) {
        Bullet b = make_pattern_bullet(p, player.x, player.y);
        b.spawner = 1;
        set_heading(b, static_cast<float>(a));
        b.param2 = static_cast<float>(a);
        b.param1 = turn;
        turn = -turn;
        sdk::Angle h = sdk::Angle::from_degrees(static_cast<float>(a));
        spawn_flash_row(0, 1,
                        {player.x + 10.0f * std::cos(h.to_radians()),
                         player.y + 10.0f * std::sin(h.to_radians())});
        if (bullet_pool.add(b)) ++p.live_spawners;
    }
    sound_sink().play_sound_scaled("enemy_shot3", 0.5f);
    p.trigger = 1;
}

}  // namespace

void run_player_shot(Pattern& p, float dt) {
    switch (p.code) {
        case 100000001:
            main_shot(p, dt);
            break;
        case 100000002:
            homing_volleys(p, dt);
            break;
        case 100000005:
            orbiting_ring(p, dt);
            break;
        default:
            break;  // other player codes fire nothing
    }
}
