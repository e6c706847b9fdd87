// Appearances: how a bullet, an effect or an enemy looks, kept apart from how
// it moves. Each object points to a shared, stateless draw strategy that is
// registered once at start-up under a name ("bullet_pike3", "enemy_fairy2",
// "graze_particle"); everything that varies lives in the object itself.
// The looks draw with sprites of the sprite cache, which are shared too, so
// every draw sets each sprite property it relies on before drawing.
//
// The three registries own their looks. A lookup of a name that was never
// registered answers null (and leaves a null entry under that name, as an
// index operation does); start-up code and the loaders check what they get.
// Up to 20000 bullets and 20000 effects are drawn per frame: a draw looks
// nothing up by name and allocates nothing.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "sdk/core/resource_document.h"

namespace sdk {
class Canvas;
}
struct Bullet;
struct Effect;
struct Enemy;

class Appearance {
public:
    virtual ~Appearance() = default;
    virtual void draw(sdk::Canvas& canvas, const Bullet& bullet) = 0;
};

class Effect_Appearance {
public:
    virtual ~Effect_Appearance() = default;
    // Draws the effect at its current age; false once the look's lifetime is
    // over, and the effect pool then ends the effect.
    virtual bool draw(sdk::Canvas& canvas, Effect& effect) = 0;
};

class Enemy_Appearance {
public:
    virtual ~Enemy_Appearance() = default;
    // A living enemy; the look advances the enemy's animation fields.
    virtual void draw(sdk::Canvas& canvas, Enemy& enemy) = 0;
    // The dying animation (it throws its particles into the effect pool);
    // false once it is finished.
    virtual bool draw_dead(sdk::Canvas& canvas, Enemy& enemy) = 0;
};

class Boss_Appearance : public Enemy_Appearance {
public:
    // Animates the boss's magic rings, once per frame before they are drawn.
    // `boss` must be an EnemyBoss; an enemy without the boss flag is left alone.
    virtual void update(sdk::Canvas& canvas, Enemy& boss, float dt) = 0;
};

extern std::map<std::string, std::unique_ptr<Appearance>> bullet_appearances;
extern std::map<std::string, std::unique_ptr<Enemy_Appearance>> enemy_appearances;
extern std::map<std::string, std::unique_ptr<Effect_Appearance>> effect_appearances;

// Builds every look of the three tables, in table order, after the sprite
// cache and the player's sprites are loaded; `resources` is "mirel.xml" (the
// spell-card result builds its font from it). Then hands the world its
// lookups. A sprite or font that a look needs and the archive lacks stops
// start-up with an sdk::Exception naming it.
void load_appearances(sdk::Canvas& canvas, const sdk::Resource_Manager& resources);
// Deletes every look (at exit, and before a second load in tests).
void destroy_appearance_maps();

Appearance* get_bullet_appearance(const std::string& name);
Enemy_Appearance* get_enemy_appearance(const std::string& name);
Effect_Appearance* get_effect_appearance(const std::string& name);
