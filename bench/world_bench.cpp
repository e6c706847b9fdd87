// Dense stage scenes run headless: the simulation's per-frame passes over
// full pools, timed frame by frame. One line per scene:
//   scene=<name> bullets=<n> enemies=<n> median_ms=<x> p99_ms=<y> effects=<n> allocs_per_frame=<z>
// The bullet scenes keep the pool at its count of mixed behaviours (new
// bullets replace those that leave) and run the frame's bullet passes:
// patterns, the pool update, graze, effects, the hits on the player, items,
// and, under fire, one hit sweep per enemy.
// Allocations are counted by replacing the global operator new, after a
// warm-up, over the timed frames (the steady state must allocate nothing per
// bullet). Effects are ended after 200 ms outside the timed part, as their
// looks would end them while drawing.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "world/appearances.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/enemy.h"
#include "world/geometry.h"
#include "world/item_pool.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/registries.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void* operator new[](std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

constexpr float dt = 16.0f;
constexpr int warmup_frames = 60;
constexpr int timed_frames = 400;

std::mt19937 rng(12345);

float uniform(float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); }

// Stand-in looks: distinct addresses, as the presentation would hand out.
char look_storage[64];
Appearance* bullet_look(int i) { return reinterpret_cast<Appearance*>(&look_storage[i]); }

struct Scene {
    const char* name;
    uint32_t enemy_bullets;
    uint32_t enemies;
    uint32_t player_bullets;
    bool effects_only;
};

std::vector<Behaviour*> mixed_behaviours() {
    std::vector<Behaviour*> v;
    for (const char* n :
         {"bullet_simple", "bullet_simple2", "bullet_simple3", "bullet_arc", "bullet_arc_line",
          "bullet_spinning", "bullet_timed", "bullet_stopping", "bullet_turning"})
        v.push_back(get_behaviour(n));
    return v;
}

Bullet make_enemy_bullet(const std::vector<Behaviour*>& behaviours, uint32_t k) {
    Bullet b;
    b.x = uniform(40, 410);
    b.y = uniform(20, 460);
    b.angle = sdk::Angle::from_degrees(uniform(0, 360));
    b.update_direction();
    b.speed = uniform(0.02f, 0.12f);
    b.param1 = (k % 9 == 3) ? 0.2f : uniform(0.0f, 0.3f);
    b.param2 = uniform(0.0f, 300.0f);
    b.radius = 3.0f;
    b.damage = 1;
    b.layer = 1;
    b.colour = static_cast<uint8_t>(k % 16);
    b.behaviour = behaviours[k % behaviours.size()];
    b.appearance = bullet_look(static_cast<int>(k % 7));
    return b;
}

Bullet make_player_bullet(uint32_t k) {
    Bullet b;
    b.x = uniform(60, 390);
    b.y = uniform(300, 460);
    b.dir_x = 0.0f;
    b.dir_y = -1.0f;
    b.speed = 0.8f;
    b.radius = 8.0f;
    b.damage = 10;
    b.layer = 0;
    b.behaviour = get_behaviour("bullet_simple");
    b.appearance = world_looks.player_bullet1 ? world_looks.player_bullet1 : bullet_look(k % 2);
    return b;
}

void end_old_effects() {
    for (Effect& e : effect_pool)
        if (e.age > 200.0f) e.alive = 0;
}

double percentile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(q * static_cast<double>(v.size() - 1) + 0.5);
    return v[i];
}

void run(const Scene& s) {
    clear_patterns();
    bullet_pool.reset();
    effect_pool.reset();
    item_pool.reset();
    player.x = player.prev_x = 224.0f;
    player.y = player.prev_y = 420.0f;
    player.radius = 2.0f;
    player.graze_size = 20.0f;
    player.invincible = 1000000;  // hits count, bullets fly on
    player.bonus_collision = 10.0f;
    item_pool.init(100.0f, 10, 1000, 0.0001f, 0.1f, 700.0f);

    auto behaviours = mixed_behaviours();
    std::vector<std::shared_ptr<Enemy>> enemies;
    for (uint32_t i = 0; i < s.enemies; ++i) {
        auto e = std::make_shared<Enemy>();
        e->x = e->prev_x = 50.0f + 340.0f * static_cast<float>(i % 10) / 9.0f;
        e->y = e->prev_y = 40.0f + 20.0f * static_cast<float>(i / 10);
        e->radius = 12.0f;
        e->alive = 1;
        enemies.push_back(e);
    }

    std::vector<double> ms;
    ms.reserve(timed_frames);
    long allocs_at_start = 0;
    uint32_t k = 0;
    for (int frame = 0; frame < warmup_frames + timed_frames; ++frame) {
        if (frame == warmup_frames) allocs_at_start = allocations.load();
        // The player weaves so that graze and hits keep happening.
        player.prev_x = player.x;
        player.x = 224.0f + 120.0f * std::sin(static_cast<float>(frame) * 0.05f);
        // Bookkeeping of the bench, not timed: how many of each side to add.
        uint32_t enemy_side = 0, player_side = 0;
        for (const Bullet& b : bullet_pool) (b.layer ? enemy_side : player_side)++;
        auto t0 = std::chrono::steady_clock::now();
        if (s.effects_only) {
            while (effect_pool.size() < Effect_Pool::capacity) {
                Effect e;
                e.x = uniform(40, 410);
                e.y = uniform(20, 460);
                e.dir_x = 0.6f;
                e.dir_y = -0.8f;
                e.speed = 0.05f;
                e.behaviour = (k++ % 2) ? get_effect_behaviour("effect_grav")
                                        : get_effect_behaviour("effect_flyoff");
                effect_pool.add(e);
            }
            effect_pool.update(dt);
        } else {
            for (; enemy_side < s.enemy_bullets; ++enemy_side)
                bullet_pool.add(make_enemy_bullet(behaviours, k++));
            for (; player_side < s.player_bullets; ++player_side)
                bullet_pool.add(make_player_bullet(k++));
            update_patterns(dt);
            bullet_pool.update(dt);
            bullet_pool.check_graze(dt);
            effect_pool.update(dt);
            bullet_pool.check_player_hit();
            item_pool.update(dt);
            item_pool.collect();
            for (auto& e : enemies) bullet_pool.sweep_player_hits(*e);
        }
        auto t1 = std::chrono::steady_clock::now();
        if (frame >= warmup_frames)
            ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        end_old_effects();
    }
    double allocs = static_cast<double>(allocations.load() - allocs_at_start) / timed_frames;
    uint32_t bullets = s.effects_only ? 0u : s.enemy_bullets + s.player_bullets;
    std::printf(
        "scene=%s bullets=%u enemies=%u median_ms=%.3f p99_ms=%.3f effects=%u "
        "allocs_per_frame=%.2f\n",
        s.name, bullets, s.enemies, percentile(ms, 0.5), percentile(ms, 0.99), effect_pool.size(),
        allocs);
}

}  // namespace

int main() {
    set_appearance_lookups({
        [](const std::string& name) -> Appearance* {
            if (name == "player_bullet1") return bullet_look(40);
            if (name == "bullet2") return bullet_look(41);
            return nullptr;
        },
        [](const std::string&) -> Effect_Appearance* { return nullptr; },
        {},
    });
    register_bullet_behaviours(play_field);
    register_effect_behaviours();
    const Scene scenes[] = {
        {"enemy_bullets_1000", 1000, 0, 0, false},
        {"enemy_bullets_5000", 5000, 0, 0, false},
        {"enemy_bullets_20000", 20000, 0, 0, false},
        {"under_fire_20000", 19700, 100, 300, false},
        {"effects_full", 0, 0, 0, true},
    };
    for (const Scene& s : scenes) run(s);
    return 0;
}
