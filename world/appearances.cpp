#include "world/appearances.h"

#include <string>

#include "world/pattern_engine.h"

namespace {

Appearance_Lookups lookups;

void resolve_world_looks() {
    World_Looks& w = world_looks;
    w.bullet2 = find_bullet_appearance("bullet2");
    w.bullet_lazor1 = find_bullet_appearance("bullet_lazor1");
    w.bullet_pike1 = find_bullet_appearance("bullet_pike1");
    w.player_bullet1 = find_bullet_appearance("player_bullet1");
    w.player_bullet2 = find_bullet_appearance("player_bullet2");
    for (int i = 0; i < 5; ++i)
        w.player_bullet_focus[i] =
            find_bullet_appearance("player_bullet_focus" + std::to_string(i + 1));
    for (int i = 0; i < 7; ++i)
        w.player_bullet_hit[i] =
            find_effect_appearance("player_bullet_hit" + std::to_string(i + 1));
    w.particle_small = find_effect_appearance("particle_small");
    w.enemy_bullet_hit1 = find_effect_appearance("enemy_bullet_hit1");
    w.cancelled_bullet = find_effect_appearance("cancelled_bullet");
    w.graze_particle = find_effect_appearance("graze_particle");
    w.score_float = find_effect_appearance("score_float");
    for (int i = 0; i < shot_flash_count; ++i)
        w.shot_flash[i] = find_effect_appearance(shot_flash_table[i].look);
}

}  // namespace

void set_appearance_lookups(Appearance_Lookups l) {
    lookups = std::move(l);
    resolve_world_looks();
}

Appearance* find_bullet_appearance(const std::string& name) {
    return lookups.bullet ? lookups.bullet(name) : nullptr;
}

Effect_Appearance* find_effect_appearance(const std::string& name) {
    return lookups.effect ? lookups.effect(name) : nullptr;
}

Enemy_Appearance* find_enemy_appearance(const std::string& name) {
    return lookups.enemy ? lookups.enemy(name) : nullptr;
}
