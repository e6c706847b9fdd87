#include "world/enemy_damage.h"

#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "world/bullet_pool.h"
#include "world/enemy_lists.h"
#include "world/item_pool.h"
#include "world/ordered_removal.h"
#include "world/player.h"
#include "world/sound_sink.h"

namespace {

// Item kind left by each drop code; 0 leaves none.
constexpr int32_t drop_kinds[] = {-1, 1, 0, 2, 3};

void kill_and_score(Enemy& e) {
    e.alive = 0;
    player.wind_gauge += player.wind_kill_gain;
    player.score += static_cast<uint32_t>(e.price);
    if (player.wind_gauge > 100.0f) player.wind_gauge = 100.0f;
}

// Moves every enemy whose `alive` is clear (those the pass killed and a boss
// its script defeated) to the dead stack, in list order. `text` is the pass's
// log line; the bomb pass passes none. One pass, however many die.
void death_step(const char* text, bool gotcha) {
    auto dead = [](const std::shared_ptr<Enemy>& e) { return !e->alive; };
    auto to_stack = [&](std::shared_ptr<Enemy>& e) {
        if (e->drop != 0) spawn_item(*e);
        e->alive = 1;
        e->dying = 1;
        e->anim_frame = 0;
        e->anim_time = 0.0f;
        e->age = 0.0f;
        e->price = 0;
        e->x = e->prev_x;
        e->y = e->prev_y;
        sound_sink().play_sound(e->is_boss ? "enemy_dead2" : "enemy_dead1");
        enemy_lists.dead.push_back(e);
        if (text) {
            if (gotcha && e->id > 500) sdk::log_event("Debug", "Gotcha!");
            sdk::log_event("Debug", text, e->id);
            sdk::log_event("Debug", "Dead enemies remaining : %1", enemy_lists.dead.size());
        }
    };
    enemy_lists.active_count = static_cast<uint32_t>(
        remove_in_order(enemy_lists.active, enemy_lists.active_count, dead, to_stack));
}

}  // namespace

void spawn_item(const Enemy& e) {
    if (e.drop < 1 || e.drop > 4) return;
    Item it;
    it.x = it.prev_x = e.x;
    it.y = it.prev_y = e.y;
    it.radius = 9.0f;
    it.kind = static_cast<uint8_t>(drop_kinds[e.drop]);
    it.speed = -0.11f;
    it.vy = -0.11f;
    it.vx = 0.0f;
    it.age = 0.0f;
    it.alive = 1;
    it.mode = 0;
    item_pool.add(it);
}

void collide_enemies_with_player_bullets() {
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) {
        Enemy& e = *enemy_lists.active[i];
        int32_t d = bullet_pool.sweep_player_hits(e);
        player.score += static_cast<uint32_t>(d);
        // Hit points stop at the ends of an i32 rather than wrap.
        if (!e.is_boss) {
            e.hp = sdk::saturate_integer<int32_t>(static_cast<double>(e.hp) - d);
            if (e.hp < 1) kill_and_score(e);
        } else {
            EnemyBoss& b = static_cast<EnemyBoss&>(e);
            b.boss_hp = sdk::saturate_integer<int32_t>(static_cast<double>(b.boss_hp) - d);
        }
    }
    death_step("Bullet collision : put dead enemy %1 to stack", true);
}

void collide_enemies_with_destroyer(const Moving_Object& destroyer) {
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) {
        Enemy& e = *enemy_lists.active[i];
        if (e.is_boss) continue;
        if (swept_circles_meet(destroyer, e, destroyer.radius + e.radius)) e.alive = 0;
    }
    death_step("Destroyer collision : put dead enemy %1 to stack", false);
}

void apply_bomb_damage(float dt) {
    float amount = player.bomb_damage * dt;
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) {
        Enemy& e = *enemy_lists.active[i];
        // In double precision: a single-precision sum would round large
        // scores to a multiple of 2, 4, 8 ... and lose or invent points.
        player.score = sdk::saturate_integer<uint32_t>(static_cast<double>(player.score) + amount);
        if (!e.is_boss) {
            e.hp = sdk::saturate_integer<int32_t>(static_cast<float>(e.hp) - amount);
            if (e.hp < 1) kill_and_score(e);
        } else {
            EnemyBoss& b = static_cast<EnemyBoss&>(e);
            b.boss_hp = sdk::saturate_integer<int32_t>(static_cast<float>(b.boss_hp) - amount);
        }
    }
    death_step(nullptr, false);
}

int32_t collide_enemies_with_player() {
    // Summed in 64 bits: the hit points are the level's i32s; the sum stops
    // at the ends of an i32.
    int64_t sum = 0;
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) {
        Enemy& e = *enemy_lists.active[i];
        if (!swept_circles_meet(player, e, player.radius + e.radius)) continue;
        sum += e.hp;
        if (!e.is_boss) {
            e.alive = 0;
            player.score += static_cast<uint32_t>(e.price);
        }
    }
    death_step("Player collision : put dead enemy %1 to stack", false);
    return sdk::saturate_integer<int32_t>(static_cast<double>(sum));
}

sdk::Vec2f nearest_enemy_to_player() {
    if (enemy_lists.active_count == 0) return {0.0f, 0.0f};
    const Enemy* best = enemy_lists.active[0].get();
    auto dist2 = [](const Enemy& e) {
        float dx = e.x - player.x, dy = e.y - player.y;
        return dx * dx + dy * dy;
    };
    float best_d = dist2(*best);
    for (uint32_t i = 1; i < enemy_lists.active_count; ++i) {
        const Enemy* e = enemy_lists.active[i].get();
        float d = dist2(*e);
        if (d < best_d) {
            best = e;
            best_d = d;
        }
    }
    return {best->x, best->y};
}
