// How the stage simulation names the looks of its objects. The looks
// themselves (`Appearance` for bullets, `Effect_Appearance` for effects,
// `Enemy_Appearance` and `Boss_Appearance` for enemies) and their registries
// belong to the presentation; the world only stores and compares pointers.
//
// At start-up the presentation fills its registries and then hands the world
// its three lookups with `set_appearance_lookups` (before the patterns are
// loaded). That also resolves `world_looks`, the fixed looks that the
// simulation's own code names, so that no per-frame path looks up a name.
// Without lookups (the simulation's tests, a headless run) every name
// answers null.
#pragma once

#include <functional>
#include <string>

class Appearance;
class Effect_Appearance;
class Enemy_Appearance;
class Boss_Appearance;

struct Appearance_Lookups {
    std::function<Appearance*(const std::string&)> bullet;
    std::function<Effect_Appearance*(const std::string&)> effect;
    std::function<Enemy_Appearance*(const std::string&)> enemy;
};

// Installs the lookups and resolves `world_looks` again.
void set_appearance_lookups(Appearance_Lookups lookups);

// The registered look, or null for a name that is not registered (or when no
// lookups are installed). For start-up and for events, not per frame.
Appearance* find_bullet_appearance(const std::string& name);
Effect_Appearance* find_effect_appearance(const std::string& name);
Enemy_Appearance* find_enemy_appearance(const std::string& name);

// The looks that the simulation's code names, resolved once.
struct World_Looks {
    // Bullet looks.
    Appearance* bullet2 = nullptr;  // immune to the wind and the bomb
    Appearance* bullet_lazor1 = nullptr;
    Appearance* bullet_pike1 = nullptr;
    Appearance* player_bullet1 = nullptr;
    Appearance* player_bullet2 = nullptr;
    // "player_bullet_focus1" .. "player_bullet_focus5"
    Appearance* player_bullet_focus[5] = {};
    // Effect looks.
    // "player_bullet_hit1" .. "player_bullet_hit7"
    Effect_Appearance* player_bullet_hit[7] = {};
    Effect_Appearance* particle_small = nullptr;
    Effect_Appearance* enemy_bullet_hit1 = nullptr;
    Effect_Appearance* cancelled_bullet = nullptr;
    Effect_Appearance* graze_particle = nullptr;
    Effect_Appearance* score_float = nullptr;
    // Muzzle flashes, in the order of the flash table of the pattern engine:
    // "enemy_shot100", "enemy_shot200", "enemy_shot500",
    // "enemy_shot_other100", "enemy_shot_other200", "enemy_shot_other500",
    // "rimea_cloud".
    Effect_Appearance* shot_flash[7] = {};
};

inline World_Looks world_looks;
