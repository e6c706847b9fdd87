#include "world/state_hash.h"

#include <cstring>
#include <type_traits>

#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/enemy_lists.h"
#include "world/item_pool.h"
#include "world/level.h"
#include "world/pattern.h"
#include "world/player.h"
#include "world/run_flags.h"

namespace {

// FNV-1a over the bytes of each value.
class Hasher {
public:
    template <typename T>
    requires std::is_arithmetic_v<T>
    void add(T v) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        for (unsigned char b : bytes) {
            h_ ^= b;
            h_ *= 1099511628211ull;
        }
    }
    uint64_t value() const { return h_; }

private:
    uint64_t h_ = 14695981039346656037ull;
};

void add_player(Hasher& h) {
    const Player& p = player;
    for (float v : {p.x, p.y, p.prev_x, p.prev_y, p.wind_gauge, p.bomb_clock, p.life_clock,
                    p.death_timer, p.shot_clock, p.shot_hold, p.wind_time_left, p.wind_size})
        h.add(v);
    for (int32_t v : {p.lives, p.bombs, p.power, p.points, p.graze, p.invincible, p.spell_gauge,
                      p.spell_time, p.focus_fade, p.bombed_in_spellcard})
        h.add(v);
    h.add(p.score);
    for (uint8_t v :
         {p.dying, p.bombing, p.wind_armed, p.wind_blowing, p.focus, p.shot_key, p.special_key})
        h.add(v);
}

void add_enemy(Hasher& h, const Enemy& e) {
    h.add(e.id);
    for (float v : {e.x, e.y, e.prev_x, e.prev_y, e.speed, e.age, e.distance, e.f1}) h.add(v);
    h.add(e.hp);
    for (uint8_t v : {e.alive, e.dying, e.path_state}) h.add(v);
    if (!e.is_boss) return;
    const EnemyBoss& b = static_cast<const EnemyBoss&>(e);
    for (int32_t v : {b.phase, b.action, b.boss_hp, b.half, b.ring_count}) h.add(v);
    for (float v : {b.time_limit, b.action_clock, b.ring_x, b.ring_y}) h.add(v);
}

}  // namespace

uint64_t world_state_hash() {
    Hasher h;
    add_player(h);
    h.add(enemy_lists.active_count);
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) add_enemy(h, *enemy_lists.active[i]);
    h.add(static_cast<uint64_t>(enemy_lists.dead.size()));
    h.add(bullet_pool.size());
    for (const Bullet& b : bullet_pool) {
        for (float v : {b.x, b.y, b.speed, b.dir_x, b.dir_y}) h.add(v);
        for (uint8_t v : {b.alive, b.layer, b.blown}) h.add(v);
    }
    h.add(item_pool.size());
    for (const Item& it : item_pool) {
        for (float v : {it.x, it.y, it.speed}) h.add(v);
        for (uint8_t v : {it.kind, it.mode}) h.add(v);
    }
    h.add(effect_pool.size());
    h.add(static_cast<uint64_t>(active_patterns.size()));
    for (const auto& p : active_patterns) {
        h.add(p->code);
        h.add(p->shot_count);
        h.add(p->timer);
    }
    h.add(event_clock);
    h.add(next_event);
    h.add(event_waiting);
    for (int32_t v :
         {pause_requested, dialog_active, boss_active, spellcard_running, game_over, stage_clear})
        h.add(v);
    return h.value();
}
