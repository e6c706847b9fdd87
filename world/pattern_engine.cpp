#include "world/pattern_engine.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "sdk/core/log.h"
#include "world/appearances.h"
#include "world/bullet.h"
#include "world/effect_pool.h"
#include "world/enemy.h"
#include "world/pattern_families.h"
#include "world/player.h"
#include "world/registries.h"

namespace {

// Ended patterns that bullets still point to; freed when the last is gone.
std::vector<std::shared_ptr<Pattern>> retired_patterns;

void retire(std::shared_ptr<Pattern>& p) {
    if (p->bullets_in_flight > 0) retired_patterns.push_back(std::move(p));
    p.reset();
}

void free_finished_retirees() {
    std::erase_if(retired_patterns,
                  [](const std::shared_ptr<Pattern>& p) { return p->bullets_in_flight <= 0; });
}

}  // namespace

Pattern* start_pattern(int32_t code, Enemy* owner, float x, float y) {
    int32_t family = code / 1000;
    const Pattern* descriptor = find_family_descriptor(family);
    if (!descriptor) {
        // Runs with an empty descriptor; said once per family.
        static std::set<int32_t> reported;
        if (reported.insert(family).second)
            sdk::log_event("Debug", "No pattern descriptor p%1 for the pattern code %2", family,
                           code);
    }
    auto p = descriptor ? std::make_shared<Pattern>(*descriptor) : std::make_shared<Pattern>();
    p->active = 1;
    p->owner = owner;
    p->owner_share = owner ? owner->weak_from_this().lock() : nullptr;
    p->code = code;
    p->shot_count = 0;
    p->timer = 0.0f;
    p->sound_timer = 70.0f;
    p->live_spawners = 0;
    p->trigger = 0;
    p->origin_x = x;
    p->origin_y = y;
    p->id = ++pattern_id_counter;
    p->bullets_in_flight = 0;
    p->flash = static_cast<int8_t>(shot_flash_row(p->effect));
    active_patterns.push_back(p);
    return p.get();
}

void clear_patterns() {
    for (auto& p : active_patterns) retire(p);
    active_patterns.clear();
    free_finished_retirees();
}

void update_patterns(float dt) {
    // The length is read again at every step.
    for (std::size_t i = 0; i < active_patterns.size(); ++i) {
        Pattern& p = *active_patterns[i];
        if (p.code >= 100000000) {
            run_player_shot(p, dt);
            continue;
        }
        if (!p.owner || !p.owner->alive || p.owner->dying) {
            p.active = 0;
            continue;
        }
        run_enemy_family(p, dt);
    }
    auto out = active_patterns.begin();
    for (auto it = active_patterns.begin(); it != active_patterns.end(); ++it) {
        if ((*it)->active) {
            if (out != it) *out = std::move(*it);
            ++out;
        } else {
            retire(*it);
        }
    }
    active_patterns.erase(out, active_patterns.end());
    free_finished_retirees();
}

std::size_t retired_pattern_count() { return retired_patterns.size(); }

Bullet make_pattern_bullet(Pattern& p, float x, float y) {
    Bullet b = bullet_type_by_number((p.code % 1000) / 20);
    b.behaviour = p.behaviour;
    b.speed = p.speed;
    b.param1 = p.param1;
    b.param2 = p.start_param1;
    b.x = b.prev_x = x;
    b.y = b.prev_y = y;
    b.spawner = 0;
    b.age = 0.0f;
    b.trigger_seen = 0;
    b.owner = &p;
    if (p.code < 100000001) {
        b.layer = 1;
        b.colour = static_cast<uint8_t>(p.code % 20);
        return b;
    }
    b.layer = 0;
    const World_Looks& w = world_looks;
    switch (p.code) {
        case 100000001:
            b.colour = 6;
            b.behaviour = world_bullet_behaviours.simple;
            if (player.focus) {
                b.appearance = w.player_bullet_focus[0];
                b.radius = 24.0f;
                b.damage = player.shot2_damage;
                b.speed = player.shot2_speed;
            } else {
                b.appearance = w.player_bullet1;
                b.radius = 8.0f;
                b.damage = player.shot1_damage;
                b.speed = player.shot1_speed;
            }
            break;
        case 100000002:
            b.appearance = w.player_bullet2;
            b.colour = 3;
            b.behaviour = world_bullet_behaviours.simple;
            b.radius = 30.0f;
            b.damage = player.shot2_damage;
            b.speed = player.shot2_speed;
            break;
        case 100000005:
            b.appearance = w.bullet_pike1;
            b.colour = 1;
            b.behaviour = world_bullet_behaviours.arc_polar_player1;
            b.radius = 6.0f;
            b.damage = player.shot3_damage;
            b.speed = player.shot3_speed;
            break;
        default:
            break;
    }
    return b;
}

int shot_flash_row(const std::string& name) {
    for (int i = 0; i < shot_flash_count; ++i)
        if (name == shot_flash_table[i].name) return i;
    return -1;
}

void spawn_flash_row(int row, uint8_t colour, sdk::Pointf position) {
    if (row < 0 || row >= shot_flash_count) return;
    Effect e;
    e.x = position.x;
    e.y = position.y;
    e.kind = colour;
    e.appearance = world_looks.shot_flash[row];
    e.behaviour = world_effect_behaviours.stay_still;
    effect_pool.add(e);
}

void spawn_shot_flash(uint8_t colour, const std::string& name, sdk::Pointf position) {
    spawn_flash_row(shot_flash_row(name), colour, position);
}

sdk::Vec2f aim_at_player(float x, float y) {
    sdk::Vec2f d(player.x - x, player.y - y);
    return d.normalize();
}

sdk::Angle angle_from_direction(sdk::Vec2f d) {
    sdk::Angle a = sdk::Vec2f(1.0f, 0.0f).angle(d);
    if (d.y < 0.0f) a = sdk::Angle::from_degrees(360.0f) - a;
    return a;
}

sdk::Pointf ease_between(float t, sdk::Pointf from, sdk::Pointf to, float speed, float accel) {
    float d = from.distance(to);
    // A move of no length is already there.
    if (d <= 0.0f) return to;
    float s;
    if (accel <= 0.0f) {
        // Without acceleration the braking formula has no meaning (0 / 0):
        // move at constant speed, the speed's size, and stop on the target.
        // (With acceleration a speed below 0 arrives too: a move too short
        // to cruise takes its top speed from the acceleration, and a longer
        // one has its brake over before it starts, standing on its target.)
        s = std::min(std::fabs(speed) * t, d);
    } else {
        float v = speed;
        float ta = v / accel;
        float da = accel * ta * ta / 2.0f;
        float tb = (d - 2.0f * da) / v + ta;
        if (da > d / 2.0f) {
            da = d / 2.0f;
            ta = tb = std::sqrt(d / accel);
            v = accel * ta;
        }
        if (t < ta) {
            s = accel * t * t / 2.0f;
        } else if (t < tb) {
            s = (t - ta) * v + da;
        } else {
            float u = t - tb;
            // Once the brake is over the move stands on its target: a step
            // longer than the brake would otherwise run on down the
            // parabola, backwards and without end.
            if (u >= ta) return to;
            s = u * v + (d - da) - accel * u * u / 2.0f;
        }
    }
    return from + (to - from) * (s / d);
}

void set_heading(Bullet& b, float degrees) {
    b.angle = sdk::Angle::from_degrees(degrees);
    b.update_direction();
}

void aim_bullet(Bullet& b) {
    sdk::Vec2f d = aim_at_player(b.x, b.y);
    b.dir_x = d.x;
    b.dir_y = d.y;
    b.angle = angle_from_direction(d);
}
