#include "world/item_pool.h"

#include <algorithm>

#include "sdk/core/number_convert.h"
#include "world/appearances.h"
#include "world/effect_pool.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/registries.h"
#include "world/run_stats.h"
#include "world/sound_sink.h"

namespace {

// Flies the item towards the player, faster every step.
void approach(Item& it, float dt) {
    it.speed += 4.0f * item_accel * dt;
    sdk::Vec2f u(player.x - it.x, player.y - it.y);
    u.normalize();
    it.x += u.x * it.speed * dt;
    it.y += u.y * it.speed * dt;
}

// A spell item's second on the gauge and the spell time; both start at
// player.xml's durations, so the sum stops at the end of an i32.
int32_t plus_a_second(int32_t ms) {
    return sdk::saturate_integer<int32_t>(static_cast<double>(ms) + 1000.0);
}

// Applies a taken item to the player: its score value, the kind byte of its
// floating number and its sound.
void take(const Item& it) {
    int32_t value = 10;
    uint8_t float_kind = 0;
    const char* sound = nullptr;
    switch (it.kind) {
        case 0:
            if (player.power >= 128)
                value = 1000;
            else
                player.power += 1;
            sound = "item00";
            break;
        case 1: {
            player.points += 1;
            if (it.y < item_collect_line) {
                value = item_max_value;
                float_kind = 1;
            } else {
                float h = static_cast<float>(screen_size.height);
                float low = static_cast<float>(item_min_value);
                float high = static_cast<float>(item_max_value);
                value = sdk::saturate_integer<int32_t>(low + (high - low) * (h - it.y) /
                                                                 (h - item_collect_line));
            }
            sound = "item00";
            break;
        }
        case 2:
            ++spell_items_collected;
            value = 1024;
            sound = "item01";
            player.spell_time =
                std::min(plus_a_second(player.spell_time), player.spellcard_max_duration);
            player.spell_gauge = plus_a_second(player.spell_gauge);
            if (player.spell_gauge > player.spellcard_max_duration) {
                if (player.bombs < 8) {
                    player.spell_gauge = 1000;
                } else {
                    player.spell_gauge = player.spellcard_max_duration;
                    value = 5000;
                }
            }
            if (player.spell_gauge == player.spellcard_min_duration) {
                player.bombs += 1;
                player.spell_time = player.spellcard_min_duration;
                sound = "powerup";
            }
            break;
        case 3:
            if (player.power >= 128) {
                value = 10000;
            } else {
                player.power = std::min(player.power + 8, 128);
                value = 1000;
            }
            sound = "powerup";
            break;
        case 16:
            value = 300;
            float_kind = 2;
            sound = "item00";
            break;
        default:
            break;
    }
    if (sound) sound_sink().play_sound(sound);
    player.score += static_cast<uint32_t>(value);
    Effect e;
    e.x = it.x;
    e.y = it.y;
    e.speed = score_float_time;
    e.value = value;
    e.kind = float_kind;
    e.appearance = world_looks.score_float;
    e.behaviour = world_effect_behaviours.score_float;
    effect_pool.add(e);
}

}  // namespace

void Item_Pool::init(float collect_line, int32_t min_value, int32_t max_value, float accel,
                     float max_speed, float score_time) {
    item_collect_line = collect_line;
    item_min_value = min_value;
    item_max_value = max_value;
    item_accel = accel;
    item_max_speed = max_speed;
    score_float_time = score_time;
}

bool Item_Pool::add(const Item& i) { return append(i) != nullptr; }

void Item_Pool::update(float dt) {
    const float fast = 6.0f * item_max_speed;
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        Item& it = objects_[i];
        it.age += dt;
        it.prev_x = it.x;
        it.prev_y = it.y;
        if (player.y < item_collect_line) it.mode = 1;
        if (!player.bombing) {
            if (it.mode == 0) {
                it.speed = std::min(it.speed + item_accel * dt, item_max_speed);
                it.vy = it.speed;
                if (it.speed > 0.0f) it.vx = 0.0f;
                it.x += it.vx * dt;
                it.y += it.vy * dt;
                if (it.y > field_bounds.bottom) it.alive = 0;
            } else if (it.mode == 1) {
                it.speed = fast;
                approach(it, dt);
            } else if (it.mode == 2) {
                approach(it, dt);
            }
        } else if (it.speed < fast) {
            it.speed = fast;
            it.mode = 1;
            approach(it, dt);
        } else {
            if (it.mode == 1) it.speed = fast;
            approach(it, dt);
        }
        if (it.alive) {
            if (i != kept) move_down(i, kept);
            ++kept;
        } else {
            free_id(it.id);
        }
    }
    count_ = kept;
}

void Item_Pool::collect() {
    for (uint32_t i = 0; i < count_; ++i) {
        Item& it = objects_[i];
        float reach = it.radius + (player.focus ? player.bonus_attract_focus_collision
                                                : player.bonus_attract_collision);
        if (swept_circles_meet(player, it, reach)) it.mode = 2;
    }
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        Item& it = objects_[i];
        if (it.alive && swept_circles_meet(player, it, it.radius + player.bonus_collision)) {
            take(it);
            it.alive = 0;
        }
        if (it.alive) {
            if (i != kept) move_down(i, kept);
            ++kept;
        } else {
            free_id(it.id);
        }
    }
    count_ = kept;
}
