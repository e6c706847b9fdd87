// A clean stage for the simulation's tests: empty pools and patterns, the
// bullet and effect behaviours registered with the play field, named fake
// looks installed as the presentation would, a recording sound sink, and a
// player standing still at (200, 400).
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "world/appearances.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/geometry.h"
#include "world/item_pool.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/registries.h"
#include "world/run_stats.h"
#include "world/sound_sink.h"

// Remembers every sound asked for.
class Recording_Sink : public Sound_Sink {
public:
    void play_sound_scaled(std::string_view name, float volume_factor) override {
        sounds.emplace_back(name);
        factors.push_back(volume_factor);
    }
    void play_music(std::string_view name) override { music.emplace_back(name); }
    void stop_music() override { music.emplace_back("(stop)"); }
    int count(const std::string& name) const {
        int n = 0;
        for (const auto& s : sounds) n += s == name;
        return n;
    }
    std::vector<std::string> sounds;
    std::vector<float> factors;
    std::vector<std::string> music;
};

// Distinct addresses that stand for the looks of the presentation; the world
// only stores and compares them.
class Fake_Looks {
public:
    template <typename T>
    T* get(const std::string& name) {
        auto [it, fresh] = slots_.try_emplace(name, nullptr);
        if (fresh) it->second = &storage_[next_++];
        return reinterpret_cast<T*>(it->second);
    }
    // The name a pointer was handed out under, or "" for null / unknown.
    template <typename T>
    std::string name_of(const T* p) const {
        for (const auto& [name, slot] : slots_)
            if (reinterpret_cast<const void*>(slot) == reinterpret_cast<const void*>(p))
                return name;
        return "";
    }

private:
    std::map<std::string, char*> slots_;
    char storage_[1024] = {};
    int next_ = 0;
};

class World_Test : public ::testing::Test {
protected:
    void SetUp() override {
        looks_ = std::make_unique<Fake_Looks>();
        Fake_Looks* l = looks_.get();
        set_appearance_lookups({
            [l](const std::string& n) { return l->get<Appearance>(n); },
            [l](const std::string& n) { return l->get<Effect_Appearance>(n); },
            [l](const std::string& n) { return l->get<Enemy_Appearance>(n); },
        });
        installed_sound_sink = &sink;
        clear_patterns();
        bullet_pool.reset();
        effect_pool.reset();
        item_pool.reset();
        bullet_types.clear();
        pattern_types.clear();
        index_pattern_stores();
        reset_player();
        register_bullet_behaviours(play_field);
        register_effect_behaviours();
        bullets_total = bullets_blown = spell_items_collected = 0;
        player_shot_clock = 0.0f;
    }
    void TearDown() override {
        clear_patterns();
        bullet_pool.reset();
        effect_pool.reset();
        item_pool.reset();
        installed_sound_sink = nullptr;
        set_appearance_lookups({});
    }

    static void reset_player() {
        Player& p = player;
        p.x = p.prev_x = 200.0f;
        p.y = p.prev_y = 400.0f;
        p.radius = 2.0f;
        p.focus = 0;
        p.dying = 0;
        p.bombing = 0;
        p.invincible = 0;
        p.power = 0;
        p.score = 0;
        p.graze = 0;
        p.points = 0;
        p.bombs = 2;
        p.wind_gauge = 0.0f;
        p.graze_size = 20.0f;
        p.graze_score = 500;
        p.wind_graze_gain = 1.0f;
        p.wind_shot_gain = 0.5f;
        p.wind_speed = 0.5f;
        p.wind_accel = 0.001f;
        p.bonus_collision = 10.0f;
        p.bonus_attract_collision = 40.0f;
        p.bonus_attract_focus_collision = 80.0f;
        p.height = 48;
    }

    Appearance* bullet_look(const std::string& name) { return looks_->get<Appearance>(name); }
    Effect_Appearance* effect_look(const std::string& name) {
        return looks_->get<Effect_Appearance>(name);
    }
    std::string name_of(const Effect_Appearance* look) const { return looks_->name_of(look); }

    // A live enemy bullet at (x, y) moving by (vx, vy) px/ms with the simple
    // behaviour.
    static Bullet enemy_bullet(float x, float y, float vx = 0.0f, float vy = 0.0f) {
        Bullet b;
        b.x = x;
        b.y = y;
        b.dir_x = vx;
        b.dir_y = vy;
        b.speed = 1.0f;
        b.radius = 3.0f;
        b.damage = 1;
        b.layer = 1;
        b.behaviour = get_behaviour("bullet_simple");
        return b;
    }

    Recording_Sink sink;
    std::unique_ptr<Fake_Looks> looks_;
};

// A stage with running patterns: descriptors made in code and an owner
// enemy held the way the enemy lists hold it.
class Pattern_Test : public World_Test {
protected:
    void SetUp() override {
        World_Test::SetUp();
        owner = std::make_shared<Enemy>();
        owner->x = owner->prev_x = 200.0f;
        owner->y = owner->prev_y = 100.0f;
        owner->alive = 1;
        Bullet type;
        type.radius = 3.0f;
        type.damage = 1;
        type.appearance = bullet_look("bullet0");
        bullet_types["bullet0"] = type;
        index_pattern_stores();
    }
    // Enters a descriptor "p" + family with the simple behaviour.
    Pattern& descriptor(int32_t family) {
        Pattern& p = pattern_types["p" + std::to_string(family)];
        p = Pattern{};
        p.behaviour = get_behaviour("bullet_simple");
        index_pattern_stores();
        return p;
    }
    Pattern* start(int32_t code) { return start_pattern(code, owner.get(), owner->x, owner->y); }
    std::vector<float> headings() {
        std::vector<float> h;
        for (const Bullet& b : bullet_pool) {
            float d = b.angle.to_degrees();
            h.push_back(d);
        }
        return h;
    }

    std::shared_ptr<Enemy> owner;
};

MATCHER_P(DegreesNear, want, "") {
    float d = std::fmod(arg - want, 360.0f);
    if (d > 180.0f) d -= 360.0f;
    if (d < -180.0f) d += 360.0f;
    return std::fabs(d) < 1e-3f;
}
