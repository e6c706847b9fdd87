#include "world/bullet_pool.h"

#include <algorithm>
#include <cmath>

#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/random.h"
#include "world/appearances.h"
#include "world/behaviour.h"
#include "world/effect_pool.h"
#include "world/item_pool.h"
#include "world/pattern.h"
#include "world/player.h"
#include "world/registries.h"
#include "world/run_stats.h"
#include "world/sound_sink.h"

namespace {

// The id of a removed record that the hit sweeps leave in place.
constexpr uint32_t hole_id = 0xffffffffu;

// The hit spark of a player bullet, by its look.
Effect_Appearance* hit_spark_of(const Appearance* look) {
    const World_Looks& w = world_looks;
    if (!look) return nullptr;
    if (look == w.player_bullet1) return w.player_bullet_hit[0];
    if (look == w.player_bullet_focus[0]) return w.player_bullet_hit[1];
    if (look == w.player_bullet2) return w.player_bullet_hit[2];
    if (look == w.player_bullet_focus[1]) return w.player_bullet_hit[3];
    if (look == w.player_bullet_focus[2]) return w.player_bullet_hit[4];
    if (look == w.player_bullet_focus[3]) return w.player_bullet_hit[5];
    return nullptr;
}

// The look "bullet2" is not moved by the wind or the bomb.
bool is_immune_look(const Appearance* look) { return look && look == world_looks.bullet2; }

}  // namespace

bool Bullet_Pool::add(const Bullet& b) {
    settle();
    Bullet* o = append(b);
    if (!o) return false;
    if (!o->keep_prev) {
        o->prev_x = o->x;
        o->prev_y = o->y;
        o->graze_mark = 0;
    } else {
        o->graze_mark = 60;
    }
    o->alive = 1;
    o->age = 0.0f;
    if (o->owner) ++o->owner->bullets_in_flight;
    ++bullets_total;
    if (sweep_valid_ && o->layer == 0) sweep_slots_.push_back(count_ - 1);
    return true;
}

void Bullet_Pool::release(Bullet& b) {
    if (b.owner) {
        if (b.spawner) --b.owner->live_spawners;
        --b.owner->bullets_in_flight;
    }
    b.spawn_table.reset();
    free_id(b.id);
}

void Bullet_Pool::add_removal_effect(const Bullet& b, Effect_Appearance* look) {
    Effect e;
    e.x = b.x;
    e.y = b.y;
    e.dir_x = b.dir_x;
    e.dir_y = b.dir_y;
    e.speed = b.speed;
    e.kind = b.colour;
    e.appearance = look;
    e.behaviour = world_effect_behaviours.stay_still;
    effect_pool.add(e);
}

void Bullet_Pool::settle() {
    if (!holes_) return;
    uint32_t kept = first_hole_;
    for (uint32_t i = first_hole_; i < count_; ++i) {
        if (objects_[i].id == hole_id) continue;
        if (i != kept) move_down(i, kept);
        ++kept;
    }
    count_ = kept;
    holes_ = 0;
    sweep_valid_ = false;
}

void Bullet_Pool::build_sweep_list() {
    settle();
    sweep_slots_.clear();
    for (uint32_t i = 0; i < count_; ++i) {
        const Bullet& b = objects_[i];
        if (b.layer == 0 || !b.alive) sweep_slots_.push_back(i);
    }
    sweep_valid_ = true;
}

void Bullet_Pool::reset() {
    settle();
    for (uint32_t i = 0; i < count_; ++i) {
        Bullet& b = objects_[i];
        if (b.owner) {
            if (b.spawner) --b.owner->live_spawners;
            --b.owner->bullets_in_flight;
        }
        b.spawn_table.reset();
        b.owner = nullptr;
    }
    empty("Bullet");
    sweep_slots_.clear();
    sweep_valid_ = true;
}

void Bullet_Pool::update(float dt) {
    settle();
    bullet_clock += dt;
    // Children added during the pass land behind the old end and are
    // stepped in the same pass; the count is read again at every slot.
    sweep_valid_ = false;
    sweep_slots_.clear();
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        Bullet& b = objects_[i];
        b.update(dt);
        if (b.alive)
            keep(i, kept);
        else
            release(b);
    }
    count_ = kept;
    sweep_valid_ = true;
}

int32_t Bullet_Pool::sweep_player_hits(const Moving_Object& enemy) {
    if (!sweep_valid_) build_sweep_list();
    // Only player-side and dead bullets can change here; the others keep
    // their slots, so the remembered list stays true between the calls.
    // Summed in 64 bits: the damages are the documents' i32s, and the sum
    // stops at the ends of an i32.
    int64_t sum = 0;
    for (uint32_t s : sweep_slots_) {
        Bullet& b = objects_[s];
        if (b.id == hole_id) continue;
        if (b.layer == 0 && swept_circles_meet(enemy, b, b.radius + enemy.radius)) {
            sum += b.damage;
            b.alive = 0;
            if (!b.blown)
                player.wind_gauge = std::min(100.0f, player.wind_gauge + player.wind_shot_gain);
        }
        if (b.alive) continue;
        release(b);
        if (b.appearance && b.appearance == world_looks.player_bullet_focus[4])
            spawn_shot_hit_particles(b, 54);
        else if (Effect_Appearance* spark = hit_spark_of(b.appearance))
            add_removal_effect(b, spark);
        spawn_shot_hit_particles(b, 3);
        if (bullet_clock > 50.0f) {
            bullet_clock = 0.0f;
            sound_sink().play_sound("se_damage00");
        }
        b.id = hole_id;
        if (holes_ == 0 || s < first_hole_) first_hole_ = s;
        ++holes_;
    }
    return sdk::saturate_integer<int32_t>(static_cast<double>(sum));
}

int32_t Bullet_Pool::check_player_hit() {
    settle();
    sweep_slots_.clear();
    // In 64 bits, as the player's hits: patterns.xml's damages are any i32.
    int64_t sum = 0;
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        Bullet& b = objects_[i];
        if (b.layer != 0 && swept_circles_meet(player, b, b.radius + player.radius)) {
            sum += b.damage;
            if (player.invincible == 0) b.alive = 0;
        }
        if (b.alive) {
            keep(i, kept);
        } else {
            release(b);
            add_removal_effect(b, world_looks.enemy_bullet_hit1);
        }
    }
    count_ = kept;
    sweep_valid_ = true;
    return sdk::saturate_integer<int32_t>(static_cast<double>(sum));
}

void Bullet_Pool::check_graze(float dt) {
    settle();
    // The mark counts in a signed byte, so only the low byte of the whole
    // milliseconds matters; a step no integer holds saturates first.
    const uint8_t step = static_cast<uint8_t>(sdk::saturate_integer<int32_t>(dt));
    for (uint32_t i = 0; i < count_; ++i) {
        Bullet& b = objects_[i];
        if (b.layer == 0 || (b.graze_mark != 0 && !b.keep_prev)) continue;
        if (!swept_circles_meet(player, b, b.radius + player.graze_size)) continue;
        if (!b.keep_prev) {
            b.graze_mark = 1;
        } else {
            // A beam grazes at its first contact and then every 60 ms of it.
            int8_t mark = static_cast<int8_t>(static_cast<uint8_t>(b.graze_mark + step));
            b.graze_mark = static_cast<uint8_t>(mark);
            if (mark <= 60) continue;
            b.graze_mark = static_cast<uint8_t>(mark - 60);
        }
        player.wind_gauge += player.wind_graze_gain;
        player.graze += 1;
        player.score += static_cast<uint32_t>(player.graze_score);
        Effect e;
        e.x = player.x;
        e.y = player.y;
        int r = sdk::rand();
        e.angle = sdk::Angle::from_degrees(static_cast<float>(r % 360));
        e.dir_x = std::cos(e.angle.to_radians());
        e.dir_y = std::sin(e.angle.to_radians());
        e.speed = 0.3f;
        e.value = 200;
        e.scale = 0.7f;
        e.kind = 13;
        e.appearance = world_looks.graze_particle;
        e.behaviour = world_effect_behaviours.flyoff;
        effect_pool.add(e);
        sound_sink().play_sound("graze");
    }
}

void Bullet_Pool::cancel_by_destroyer(const Moving_Object& destroyer) {
    settle();
    sweep_slots_.clear();
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        Bullet& b = objects_[i];
        if (b.layer != 0 && swept_circles_meet(destroyer, b, b.radius + destroyer.radius))
            b.alive = 0;
        if (b.alive) {
            keep(i, kept);
        } else {
            release(b);
            add_removal_effect(b, world_looks.cancelled_bullet);
        }
    }
    count_ = kept;
    sweep_valid_ = true;
}

void Bullet_Pool::cancel_all(int32_t scoring) {
    settle();
    sweep_slots_.clear();
    int32_t bonus = 2000;
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        Bullet& b = objects_[i];
        if (b.layer != 0) b.alive = 0;
        if (b.alive) {
            keep(i, kept);
            continue;
        }
        if (scoring == 1) {
            player.score += static_cast<uint32_t>(bonus);
            Effect e;
            e.x = b.x;
            e.y = b.y;
            e.speed = score_float_time;
            e.kind = 2;
            e.value = bonus;
            e.appearance = world_looks.score_float;
            e.behaviour = world_effect_behaviours.score_float;
            effect_pool.add(e);
            Item it;
            it.x = it.prev_x = b.x;
            it.y = it.prev_y = b.y;
            it.radius = 9.0f;
            it.alive = 1;
            it.kind = 16;
            it.mode = 1;
            item_pool.add(it);
            if (bonus < 8000) bonus += 20;
        }
        release(b);
        add_removal_effect(b, world_looks.cancelled_bullet);
    }
    count_ = kept;
    sweep_valid_ = true;
}

void Bullet_Pool::blow_away_in_wind(const Moving_Object& circle, float dt) {
    settle();
    sweep_valid_ = false;
    const uint32_t n = count_;
    for (uint32_t i = 0; i < n; ++i) {
        Bullet& b = objects_[i];
        if (!swept_circles_meet(circle, b, b.radius + circle.radius)) continue;
        if (b.layer == 0) {
            b.speed += player.wind_accel * dt;
            b.update(dt);
        } else if (!b.keep_prev && !is_immune_look(b.appearance)) {
            sdk::Vec2f d(b.x - player.x, b.y - player.y);
            d.normalize();
            b.dir_x = d.x;
            b.dir_y = d.y;
            b.behaviour = world_bullet_behaviours.spinning;
            b.speed = player.wind_speed;
            b.param1 = 1.2f;
            b.layer = 0;
            b.blown = 1;
            ++bullets_blown;
            b.update(dt);
        }
    }
}

void Bullet_Pool::blow_away_all(float dt) {
    settle();
    sweep_valid_ = false;
    const uint32_t n = count_;
    for (uint32_t i = 0; i < n; ++i) {
        Bullet& b = objects_[i];
        if (b.layer == 0) {
            b.speed += player.wind_accel * dt;
            b.update(dt);
        } else if (!b.keep_prev && !is_immune_look(b.appearance)) {
            b.dir_x = 0.0f;
            b.dir_y = -1.0f;
            b.behaviour = world_bullet_behaviours.spinning;
            b.speed = player.wind_speed;
            b.param1 = 1.3f;
            b.layer = 0;
            b.blown = 1;
            ++bullets_blown;
            b.update(dt);
        }
    }
}
