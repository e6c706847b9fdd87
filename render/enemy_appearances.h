// The looks of enemies: fairies (wing cycle, turning and side views, an
// optional magic circle and orbs), kedama (an animated fluff ball) and the
// boss, whose look also animates its magic rings. The dying animations throw
// their particles into the effect pool. Ages in ms, angles in degrees.
#pragma once

#include <string>

#include "render/appearance.h"

namespace sdk {
class Sprite;
}
class Effect_Behaviour;

// The particles a dying enemy throws, resolved on first use: the movement
// strategies are registered after the looks.
struct Death_Particles {
    const char* look;
    const char* behaviour;
    Effect_Appearance* appearance = nullptr;
    Effect_Behaviour* movement = nullptr;
    bool resolved = false;
    // Looks both names up once, on the first death drawn.
    void resolve();
};

class Enemy_Appearance_Fairy : public Enemy_Appearance {
public:
    // `circle` 0 none, 1 the small circle, 2 or more the big one; `orbs`
    // non-zero adds twelve orbs circling the fairy.
    Enemy_Appearance_Fairy(int circle, int orbs, const std::string& sprite_name);
    void draw(sdk::Canvas& canvas, Enemy& enemy) override;
    bool draw_dead(sdk::Canvas& canvas, Enemy& enemy) override;

private:
    sdk::Sprite* body_;
    sdk::Sprite* splash_;
    sdk::Sprite* circle_;
    sdk::Sprite* big_circle_;
    sdk::Sprite* orb_;
    int circle_mode_;
    int orbs_;
    Death_Particles leaves_{"particle_happa", "effect_flyoff"};
};

class Enemy_Appearance_Kedama : public Enemy_Appearance {
public:
    Enemy_Appearance_Kedama();
    void draw(sdk::Canvas& canvas, Enemy& enemy) override;
    bool draw_dead(sdk::Canvas& canvas, Enemy& enemy) override;

private:
    sdk::Sprite* body_;
    sdk::Sprite* splash_;
    Death_Particles leaves_{"particle_happa", "effect_flyoff"};
};

// The boss "enemy_boss_<id>": idle frames 0-3, moving 4-7, acting 8-11.
class Enemy_Appearance_Boss1 : public Boss_Appearance {
public:
    explicit Enemy_Appearance_Boss1(const std::string& boss_id);
    void draw(sdk::Canvas& canvas, Enemy& boss) override;
    bool draw_dead(sdk::Canvas& canvas, Enemy& boss) override;
    void update(sdk::Canvas& canvas, Enemy& boss, float dt) override;

private:
    sdk::Sprite* body_;
    Death_Particles snow_{"particle_snow", "effect_grav"};
};

// Ring states of a boss (world/enemy.h keeps the rings).
enum Boss_Ring_State : int32_t {
    ring_growing = 0,
    ring_steady = 1,
    ring_resizing = 2,
    ring_leaving = 3,
    ring_gone = 4,
};
