#include "world/enemy_lists.h"

#include "sdk/core/log.h"
#include "world/ordered_removal.h"
#include "world/pattern_engine.h"

namespace {

template <typename T>
uint32_t add_enemy(const T& tmpl, const char* text) {
    auto e = std::make_shared<T>(tmpl);
    e->alive = 1;
    e->prev_x = e->x;
    e->prev_y = e->y;
    // A path advance done on the template does not carry its clocks over.
    e->age = 0.0f;
    e->distance = 0.0f;
    e->path_state = 0;
    e->id = enemy_lists.next_id++;
    enemy_lists.active.push_back(e);
    ++enemy_lists.active_count;
    sdk::log_event("Enemies", text, e->id, enemy_lists.active.size());
    sdk::log_event("Enemies", "Active enemies count : %1", enemy_lists.active_count);
    return e->id;
}

}  // namespace

uint32_t create_enemy(const Enemy& tmpl) {
    return add_enemy(tmpl, "Create new enemy %1 , enemies count : %2");
}

uint32_t create_boss(const EnemyBoss& tmpl) {
    return add_enemy(tmpl, "Create new boss %1 , enemies count : %2");
}

void Enemy::fire_scheduled_shots() {
    for (uint32_t i = 0; i < shot_count && i < static_cast<uint32_t>(enemy_shot_capacity); ++i) {
        Enemy_Shot& s = shots[i];
        bool due = false;
        switch (s.trigger) {
            case 1:
                due = age >= static_cast<float>(s.threshold);
                break;
            case 2:
                due = distance >= static_cast<float>(s.threshold);
                break;
            case 3:
                due = path_state == s.threshold;
                break;
            default:
                break;
        }
        if (!due) continue;
        s.trigger = 0;
        start_pattern(s.code, this, x, y);
    }
}

void update_enemies(float dt) {
    std::vector<std::shared_ptr<Enemy>>& active = enemy_lists.active;
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) {
        Enemy& e = *active[i];
        e.age += dt;
        e.anim_time += dt;
        e.prev_x = e.x;
        e.prev_y = e.y;
        e.alive = e.path && e.path->update(e, dt) ? 1 : 0;
        // Shots due in the frame the path ends still go out.
        if (!e.is_boss) e.fire_scheduled_shots();
    }
    // A defeated boss stays for the next death step; the others go silently.
    auto gone = [](const std::shared_ptr<Enemy>& e) {
        return !e->alive && !(e->is_boss && e->dying);
    };
    enemy_lists.active_count = static_cast<uint32_t>(
        remove_in_order(active, enemy_lists.active_count, gone, [](std::shared_ptr<Enemy>&) {}));
}

void delete_dead_enemies(float dt) {
    std::vector<std::shared_ptr<Enemy>>& dead = enemy_lists.dead;
    for (const std::shared_ptr<Enemy>& e : dead) {
        e->age += dt;
        e->anim_time += dt;
        if (!e->appearance) e->alive = 0;
    }
    // The size after each removal, as the stack shrinks.
    size_t remaining = dead.size();
    auto ended = [](const std::shared_ptr<Enemy>& e) { return !e->alive; };
    auto log_removal = [&](const std::shared_ptr<Enemy>& e) {
        sdk::log_event("Debug", "Deleting dead enemy %1 from stack", e->id);
        sdk::log_event("Debug", "Dead enemies remaining : %1", --remaining);
    };
    remove_in_order(dead, dead.size(), ended, log_removal);
}

void clear_enemies() {
    enemy_lists.active_count = 0;
    enemy_lists.next_id = 0;
    enemy_lists.active.clear();
}

EnemyBoss* active_boss() {
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) {
        Enemy* e = enemy_lists.active[i].get();
        if (e->is_boss) return static_cast<EnemyBoss*>(e);
    }
    return nullptr;
}
