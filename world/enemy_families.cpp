// The fifteen enemy pattern families, chosen by code / 1000. Each turns its
// pattern's descriptor into bullets: when it fires, where, in which
// directions and at which speeds, with which flash and sound, and when the
// pattern ends. Families that divide by a count of the descriptor treat a
// count that gives no valid angle step as firing nothing and end, except the
// aimed fans, whose fan of one bullet fires at the centre.
//
// No family makes a bullet while the bullet pool is full: nothing frees a
// slot while the patterns run, so it would only be dropped, and counts and
// shots of the documents' holds would otherwise make hundreds of millions of
// them in one update. Shot counts, flashes and sounds go on as written, but
// for the flashes that mark a bullet of their own (the fans' muzzles), which
// go with it.
#include <algorithm>
#include <cmath>
#include <memory>

#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "world/appearances.h"
#include "world/bullet_pool.h"
#include "world/enemy.h"
#include "world/pattern_engine.h"
#include "world/pattern_families.h"
#include "world/player.h"
#include "world/sound_sink.h"

namespace {

constexpr float deg = sdk::pi / 180.0f;

sdk::Pointf origin(const Pattern& p) { return {p.origin_x, p.origin_y}; }
sdk::Pointf owner_point(const Pattern& p) { return {p.owner->x, p.owner->y}; }
sdk::Pointf polar(sdk::Pointf c, float r, float degrees) {
    return {c.x + r * std::cos(degrees * deg), c.y + r * std::sin(degrees * deg)};
}
uint8_t code_colour(const Pattern& p) { return static_cast<uint8_t>(p.code % 20); }
uint8_t index_colour(const Pattern& p) { return static_cast<uint8_t>(p.effect_index); }
bool first_update(const Pattern& p) { return p.timer == 0.0f; }

void flash(const Pattern& p, uint8_t colour, sdk::Pointf at) {
    spawn_flash_row(p.flash, colour, at);
}

// After a shot: the sound plays when more than 70 ms passed since the last.
void shot_sound(Pattern& p, const char* name) {
    if (p.sound_timer > 70.0f) {
        p.sound_timer = 0.0f;
        sound_sink().play_sound(name);
    }
}

void place(Bullet& b, sdk::Pointf at) {
    b.x = at.x;
    b.y = at.y;
}

// Whether the bullet pool takes another bullet.
bool room() { return !bullet_pool.full(); }

// Advances a late shot by its lateness, then adds it.
void launch(Bullet& b, float over) {
    b.update(over);
    bullet_pool.add(b);
}

uint32_t count_of(const Pattern& p) { return static_cast<uint32_t>(p.bullet_number); }

// The stream rule: shot k fires at k x interval after the start, with the
// lateness `over` it is fired with; the count is compared unsigned.
template <typename Fire>
void stream(Pattern& p, float dt, float interval, Fire&& fire) {
    p.timer += dt;
    for (uint32_t fired = 0; fired < max_shots_per_update; ++fired) {
        float moment = static_cast<float>(p.shot_count) * interval;
        if (!(moment < p.timer) || p.shot_count >= count_of(p)) break;
        fire(p.timer - moment);
        ++p.shot_count;
    }
}

void count_end(Pattern& p) {
    if (p.shot_count == count_of(p)) p.active = 0;
}

// An angle step that lets an angle loop end.
bool valid_step(float step) { return std::isfinite(step) && step > 0.0f; }

// 0-29: one aimed shot after a delay.
void single_aimed(Pattern& p, float dt) {
    if (first_update(p)) {
        flash(p, code_colour(p), origin(p));
        sound_sink().play_sound("enemy_shot1");
    }
    p.timer += dt;
    if (p.timer > p.time1) {
        Bullet b = make_pattern_bullet(p, p.origin_x, p.origin_y);
        aim_bullet(b);
        if (p.timer - p.time2 > 0.0f) b.update(p.timer - p.time2);
        bullet_pool.add(b);
        p.active = 0;
    }
}

// 30-99: an aimed column, faster and with a growing param1 along it.
void aimed_column(Pattern& p, float dt) {
    if (first_update(p)) {
        flash(p, 3, origin(p));
        sound_sink().play_sound("enemy_shot1");
    }
    p.timer += dt;
    if (p.timer <= p.time1) return;
    float over = p.timer - p.time2;
    int n = std::min<int>(p.bullet_number, max_shots_per_update);
    for (int i = 0; i < n && room(); ++i) {
        Bullet b = make_pattern_bullet(p, p.origin_x, p.origin_y);
        aim_bullet(b);
        b.param1 = p.param1 + static_cast<float>(i) / 15.0f;
        b.speed = p.speed + static_cast<float>(i) / 100.0f;
        launch(b, over);
    }
    p.active = 0;
}

// 100-149: a ring of columns, all at once.
void ring_of_columns(Pattern& p, float) {
    float step = 360.0f / p.pattern_param2;
    p.active = 0;
    if (!valid_step(step)) return;
    sound_sink().play_sound("enemy_shot2");
    int n = std::min<int>(p.bullet_number, max_shots_per_update);
    uint32_t directions = 0;
    for (float a = 0.0f; a < 360.0f && directions < max_shots_per_update; a += step, ++directions) {
        float h = p.pattern_param1 + a;
        flash(p, code_colour(p), polar(origin(p), 2.0f, h));
        for (int i = 0; i < n && room(); ++i) {
            Bullet b = make_pattern_bullet(p, p.origin_x, p.origin_y);
            set_heading(b, h);
            b.speed = p.speed + static_cast<float>(i) * p.time1;
            b.param1 = p.param1 + static_cast<float>(i) * p.time1;
            bullet_pool.add(b);
        }
    }
}

// 150-199: a ring that flashes first and fires after a delay.
void delayed_ring(Pattern& p, float dt) {
    float step = 360.0f / static_cast<float>(p.bullet_number);
    if (!valid_step(step)) {
        p.active = 0;
        return;
    }
    // A step too small to add to the angle would never end the ring: no
    // ring has more than one update's shots.
    if (first_update(p)) {
        uint32_t directions = 0;
        for (float a = 0.0f; a < 360.0f && directions < max_shots_per_update;
             a += step, ++directions)
            flash(p, index_colour(p), polar(origin(p), p.pattern_param2, p.pattern_param1 + a));
    }
    p.timer += dt;
    if (p.timer <= p.time1) return;
    uint32_t directions = 0;
    for (float a = 0.0f; a < 360.0f && directions < max_shots_per_update && room();
         a += step, ++directions) {
        float h = p.pattern_param1 + a;
        Bullet b = make_pattern_bullet(p, p.origin_x, p.origin_y);
        place(b, polar(origin(p), p.pattern_param2, h));
        set_heading(b, h);
        bullet_pool.add(b);
    }
    sound_sink().play_sound("enemy_shot2");
    p.active = 0;
}

// 200-299: an aimed stream from a point circling the owner.
void circling_stream(Pattern& p, float dt) {
    stream(p, dt, p.time1, [&](float over) {
        sdk::Pointf at = polar(owner_point(p), p.pattern_param1, p.pattern_speed * p.timer);
        flash(p, index_colour(p), at);
        if (room()) {
            Bullet b = make_pattern_bullet(p, at.x, at.y);
            aim_bullet(b);
            launch(b, over);
        }
        p.sound_timer += dt;
        shot_sound(p, "enemy_shot1");
    });
    count_end(p);
}

// 300-349: an aimed stream from the owner.
void owner_stream(Pattern& p, float dt) {
    p.sound_timer += dt;
    stream(p, dt, p.time1, [&](float over) {
        sdk::Pointf at = owner_point(p);
        flash(p, index_colour(p), at);
        if (room()) {
            Bullet b = make_pattern_bullet(p, at.x, at.y);
            aim_bullet(b);
            launch(b, over);
        }
        shot_sound(p, "enemy_shot1");
    });
    count_end(p);
}

// 350-399: rotating spread volleys until time2.
void rotating_spread(Pattern& p, float dt) {
    p.timer += dt;
    for (uint32_t fired = 0; fired < max_shots_per_update; ++fired) {
        float moment = static_cast<float>(p.shot_count) * p.time1;
        if (!(moment < p.timer && p.timer < p.time2)) break;
        float over = p.timer - moment;
        float base = static_cast<float>(p.shot_count) * p.pattern_speed + p.pattern_param1;
        sdk::Pointf owner_at = owner_point(p);
        // The flash marks the last bullet made; a volley into a full pool
        // makes none and flashes at the owner.
        sdk::Pointf last = owner_at;
        if (room()) {
            // One record serves the whole volley, carrying what each catch-up
            // changed besides position and heading.
            Bullet b = make_pattern_bullet(p, owner_at.x, owner_at.y);
            int n = std::min<int>(p.bullet_number, max_shots_per_update);
            for (int i = 0; i < n && room(); ++i) {
                float h = base +
                          (p.pattern_param3 / static_cast<float>(p.bullet_number)) *
                              (static_cast<float>(i) + 0.5f) -
                          p.pattern_param3 * 0.5f;
                place(b, polar(owner_at, p.pattern_param2, h));
                set_heading(b, h);
                launch(b, over);
            }
            last = {b.x, b.y};
        }
        flash(p, index_colour(p), last);
        p.sound_timer += dt;
        shot_sound(p, "enemy_shot3");
        ++p.shot_count;
    }
    if (p.timer > p.time2) p.active = 0;
}

// 400-449: a spread square to the owner's heading, all at once.
void side_spread(Pattern& p, float) {
    flash(p, code_colour(p), origin(p));
    sound_sink().play_sound("enemy_shot1");
    float b_angle = angle_from_direction({p.owner->dir_x, p.owner->dir_y}).to_degrees() - 90.0f;
    if (std::sin(b_angle * deg) < 0.0f) b_angle += 180.0f;
    int n = std::min<int>(p.bullet_number, max_shots_per_update);
    auto column = [&](float h) {
        for (int i = 0; i < n && room(); ++i) {
            Bullet b = make_pattern_bullet(p, p.origin_x, p.origin_y);
            set_heading(b, h);
            b.speed = p.speed + static_cast<float>(i) / 100.0f;
            b.param1 = p.speed + (p.param1 - p.speed) * static_cast<float>(i + 1) /
                                     static_cast<float>(p.bullet_number);
            bullet_pool.add(b);
        }
    };
    int sides = std::min<int>(sdk::saturate_integer<int>(p.pattern_param1), max_shots_per_update);
    for (int k = sides; k >= 1 && room(); --k) {
        for (int i = 0; i < n && room(); ++i) {
            for (float sign : {1.0f, -1.0f}) {
                Bullet b = make_pattern_bullet(p, p.origin_x, p.origin_y);
                set_heading(b, b_angle + sign * static_cast<float>(k) * p.pattern_param2);
                b.speed = p.speed + static_cast<float>(i) / 100.0f;
                b.param1 = p.speed + (p.param1 - p.speed) * static_cast<float>(i + 1) /
                                         static_cast<float>(p.bullet_number);
                bullet_pool.add(b);
            }
        }
    }
    column(b_angle);
    p.active = 0;
}

// 450-499: a stream towards where the player stood at the start.
void fixed_target_stream(Pattern& p, float dt) {
    if (first_update(p)) {
        p.origin_x = player.x;
        p.origin_y = player.y;
    }
    p.sound_timer += dt;
    stream(p, dt, p.time1, [&](float over) {
        sdk::Pointf at = owner_point(p);
        flash(p, index_colour(p), at);
        if (room()) {
            Bullet b = make_pattern_bullet(p, at.x, at.y);
            sdk::Vec2f d = (origin(p) - at).normalized();
            b.dir_x = d.x;
            b.dir_y = d.y;
            b.angle = angle_from_direction(d);
            launch(b, over);
        }
        shot_sound(p, "enemy_shot1");
    });
    count_end(p);
}

// 500-549: a stream along a fixed heading.
void fixed_heading_stream(Pattern& p, float dt) {
    p.sound_timer += dt;
    stream(p, dt, p.time1, [&](float over) {
        sdk::Pointf at = owner_point(p);
        flash(p, index_colour(p), at);
        if (room()) {
            Bullet b = make_pattern_bullet(p, at.x, at.y);
            set_heading(b, p.pattern_param1);
            launch(b, over);
        }
        shot_sound(p, "enemy_shot1");
    });
    count_end(p);
}

// 550-599: aimed fans of "pattern_param2" bullets (a fraction counts as one)
// spread over "pattern_param1" degrees. A fan of exactly one bullet has no
// spread to divide and fires at the centre.
void aimed_fans(Pattern& p, float dt) {
    const bool single = p.pattern_param2 == 1.0f;
    const float step = single ? 0.0f : p.pattern_param1 / (p.pattern_param2 - 1.0f);
    const float half_width = single ? 0.0f : p.pattern_param1 / 2.0f;
    p.sound_timer += dt;
    stream(p, dt, p.time1, [&](float over) {
        sdk::Pointf at = owner_point(p);
        float centre = angle_from_direction(aim_at_player(at.x, at.y)).to_degrees();
        float start = centre - half_width;
        for (int j = 0; static_cast<float>(j) < p.pattern_param2 &&
                        j < static_cast<int>(max_shots_per_update) && room();
             ++j) {
            float h = start + static_cast<float>(j) * step;
            Bullet b = make_pattern_bullet(p, at.x, at.y);
            sdk::Pointf muzzle = polar(at, p.pattern_param3, h);
            place(b, muzzle);
            set_heading(b, h);
            flash(p, index_colour(p), muzzle);
            launch(b, over);
        }
        shot_sound(p, "enemy_shot1");
    });
    count_end(p);
}

// 600-10199: one laser beam after a delay.
void laser(Pattern& p, float dt) {
    p.timer += dt;
    if (p.timer <= p.pattern_param2) return;
    float over = p.timer - p.pattern_param2;
    float h = p.pattern_param1;
    Bullet b;
    b.angle = sdk::Angle::from_degrees(h);
    b.prev_x = p.origin_x;
    b.prev_y = p.origin_y;
    place(b, polar(origin(p), 800.0f, h));
    sdk::Pointf middle = polar(origin(p), 400.0f, h);
    b.aux_x = middle.x;
    b.aux_y = middle.y;
    b.appearance = world_looks.bullet_lazor1;
    b.colour = code_colour(p);
    b.behaviour = p.behaviour;
    b.speed = p.speed;
    b.param1 = p.param1;
    b.param2 = p.start_param1;
    b.radius = 8.0f;
    b.damage = 120;
    b.layer = 1;
    b.spawner = 0;
    // The previous position stays at the origin: the swept tests cover the
    // whole beam.
    b.keep_prev = 1;
    b.age = 0.0f;
    b.owner = nullptr;
    launch(b, over);
    sound_sink().play_sound("enemy_shot1");
    p.active = 0;
}

// 10200-20099: shot k of the splitting spawners, made at the owner point
// `at` and moved to `muzzle`, aimed at `a` radians: one child for k = 0,
// then pairs widening with k.
Bullet splitting_spawner(Pattern& p, uint32_t k, sdk::Pointf at, sdk::Pointf muzzle, float a) {
    const float a_deg = a / deg;
    Bullet b = make_pattern_bullet(p, at.x, at.y);
    place(b, muzzle);
    b.angle = sdk::Angle::from_radians(a);
    b.update_direction();
    b.speed = p.speed;
    b.param1 = 0.0f;
    b.param2 = p.start_param1 - 20.0f * static_cast<float>(k);
    b.spawner = 1;
    b.trigger_seen = 0;
    b.die_after_spawn = 1;
    int children = k == 0 ? 1 : 2;
    std::shared_ptr<float[]> table(new float[7 * children]);
    float child_speed =
        k == 0 ? p.pattern_param2 * 0.2f
               : p.pattern_param2 * (0.2f + 0.8f * static_cast<float>(k) /
                                                static_cast<float>(int64_t{p.bullet_number} - 1));
    for (int c = 0; c < children; ++c) {
        float* r = table.get() + 7 * c;
        float heading = a_deg;
        if (k > 0)
            heading = c == 0 ? a_deg + static_cast<float>(k) * p.pattern_param1
                             : a_deg - static_cast<float>(k) * p.pattern_param1;
        r[0] = child_speed;
        r[1] = heading;
        r[2] = 0.0f;
        r[3] = 0.0f;
        r[4] = 0.0f;
        r[5] = 0.0f;
        r[6] = static_cast<float>(b.colour);
    }
    if (k > 0) {
        sdk::log_event("Debug", "Angle 1 = %1", table[1]);
        sdk::log_event("Debug", "Angle 2 = %1", table[8]);
    }
    b.child_count = static_cast<int8_t>(children);
    b.spawn_table = std::move(table);
    return b;
}

// 10200-20099: aimed spawners that split into widening pairs.
void splitting_spawners(Pattern& p, float dt) {
    if (first_update(p))
        p.time2 = angle_from_direction(aim_at_player(p.owner->x, p.owner->y)).to_radians();
    const float a = p.time2;
    p.timer += dt;
    for (uint32_t fired = 0; fired < max_shots_per_update; ++fired) {
        float moment = static_cast<float>(p.shot_count) * p.param1;
        if (!(moment < p.timer) || p.shot_count >= count_of(p)) break;
        sdk::Pointf at = owner_point(p);
        sdk::Pointf muzzle{at.x + p.pattern_param3 * std::cos(a),
                           at.y + p.pattern_param3 * std::sin(a)};
        if (room() && bullet_pool.add(splitting_spawner(p, p.shot_count, at, muzzle, a)))
            ++p.live_spawners;
        flash(p, index_colour(p), muzzle);
        sound_sink().play_sound("enemy_shot1");
        ++p.shot_count;
    }
    if (p.timer > p.time1) p.trigger = 1;
    if (p.live_spawners == 0) p.active = 0;
}

// 20100-20199: rotating half-circle volleys from a point circling the origin.
void rotating_half_circles(Pattern& p, float dt) {
    float step = 180.0f / static_cast<float>(int64_t{p.bullet_number} + 1);
    if (!valid_step(step)) {
        p.active = 0;
        return;
    }
    if (first_update(p)) {
        p.run_value1 = p.time1;
        p.run_value2 = p.pattern_param4;
        p.run_value3 = 0.0f;
        p.run_value4 = 0.0f;
    } else {
        p.run_value2 += p.pattern_param2 * dt;
        if (p.shot_count != 0) {
            p.pattern_param4 += p.pattern_param2 * dt;
            p.pattern_param5 += p.pattern_param3 * dt;
        }
    }
    p.run_value1 -= dt;
    p.timer += dt;
    p.run_value3 -= dt;
    if (p.run_value3 <= 0.0f && p.timer < p.time2) {
        flash(p, index_colour(p), polar(origin(p), p.pattern_param1, p.run_value2));
        p.run_value3 += p.pattern_speed;
    }
    if (p.run_value1 <= 0.0f) {
        float base = p.pattern_param5 - 90.0f;
        sdk::Pointf at = polar(origin(p), p.pattern_param1, p.pattern_param4);
        int n = std::min<int>(p.bullet_number, max_shots_per_update);
        for (int i = 1; i <= n && room(); ++i) {
            Bullet b = make_pattern_bullet(p, at.x, at.y);
            set_heading(b, base + static_cast<float>(i) * step);
            bullet_pool.add(b);
        }
        sound_sink().play_sound("enemy_shot1");
        p.run_value1 += p.pattern_speed;
        ++p.shot_count;
    }
    if (p.timer > p.time2 + p.time1) p.active = 0;
}

// 20200-20299: ring volleys from a point beside the owner.
void side_rings(Pattern& p, float dt) {
    if (!(p.pattern_param2 > 0.0f)) {
        p.active = 0;
        return;
    }
    if (first_update(p)) {
        sdk::Pointf at = polar(owner_point(p), p.pattern_param4, p.pattern_param3);
        p.origin_x = at.x;
        p.origin_y = at.y;
    }
    p.sound_timer += dt;
    stream(p, dt, p.time1, [&](float over) {
        flash(p, index_colour(p), origin(p));
        for (int j = 0; static_cast<float>(j) < p.pattern_param2 &&
                        j < static_cast<int>(max_shots_per_update) && room();
             ++j) {
            Bullet b = make_pattern_bullet(p, p.origin_x, p.origin_y);
            b.angle = sdk::Angle::from_radians(
                p.pattern_param1 * deg + static_cast<float>(j) * 2.0f * sdk::pi / p.pattern_param2);
            b.update_direction();
            launch(b, over);
        }
        shot_sound(p, "enemy_shot2");
    });
    count_end(p);
}

using Family = void (*)(Pattern&, float);

struct Family_Row {
    int32_t first;  // code / 1000, inclusive
    int32_t last;
    Family run;
};

constexpr Family_Row families[] = {
    {0, 29, single_aimed},
    {30, 99, aimed_column},
    {100, 149, ring_of_columns},
    {150, 199, delayed_ring},
    {200, 299, circling_stream},
    {300, 349, owner_stream},
    {350, 399, rotating_spread},
    {400, 449, side_spread},
    {450, 499, fixed_target_stream},
    {500, 549, fixed_heading_stream},
    {550, 599, aimed_fans},
    {600, 10199, laser},
    {10200, 20099, splitting_spawners},
    {20100, 20199, rotating_half_circles},
    {20200, 20299, side_rings},
};

}  // namespace

void run_enemy_family(Pattern& p, float dt) {
    int32_t family = p.code / 1000;
    for (const Family_Row& row : families) {
        if (family >= row.first && family <= row.last) {
            row.run(p, dt);
            return;
        }
    }
    // 20300 and above fire nothing and run until their owner goes.
}
