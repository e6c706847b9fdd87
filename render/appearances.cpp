// The three registries and the tables of every registered look.
#include "world/appearances.h"

#include <functional>

#include "render/appearance.h"
#include "render/bullet_appearances.h"
#include "render/effect_appearances.h"
#include "render/enemy_appearances.h"

std::map<std::string, std::unique_ptr<Appearance>> bullet_appearances;
std::map<std::string, std::unique_ptr<Enemy_Appearance>> enemy_appearances;
std::map<std::string, std::unique_ptr<Effect_Appearance>> effect_appearances;

namespace {

template <typename Base>
struct Look_Row {
    const char* name;
    std::function<Base*()> make;
};

template <typename Base, size_t N>
void register_rows(std::map<std::string, std::unique_ptr<Base>>& registry,
                   const Look_Row<Base> (&rows)[N]) {
    for (const Look_Row<Base>& row : rows) registry[row.name].reset(row.make());
}

using B = Look_Row<Appearance>;
using N = Look_Row<Enemy_Appearance>;
using E = Look_Row<Effect_Appearance>;

}  // namespace

void load_appearances(sdk::Canvas& canvas, const sdk::Resource_Manager& resources) {
    const B bullets[] = {
        {"bullet0", [] { return new Appearance_Simple(32, "bullets"); }},
        {"bullet1", [] { return new Appearance_Simple(48, "bullets"); }},
        {"bullet2", [] { return new Appearance_Simple(176, "bullets"); }},
        {"bullet3", [] { return new Appearance_Simple(192, "bullets"); }},
        {"bullet4", [] { return new Appearance_Simple(208, "bullets"); }},
        {"bullet5", [] { return new Appearance_Simple(224, "bullets"); }},
        {"bullet6", [] { return new Appearance_Simple(240, "bullets"); }},
        {"bullet_zoom0", [] { return new Appearance_Simple_Zoomed(32, "bullets", 2.0f); }},
        {"bullet_zoom1", [] { return new Appearance_Simple_Zoomed(48, "bullets", 2.0f); }},
        {"bullet_pike1", [] { return new Appearance_Bullet_Pike(16, "bullets"); }},
        {"bullet_pike2", [] { return new Appearance_Bullet_Pike(64, "bullets"); }},
        {"bullet_pike3", [] { return new Appearance_Bullet_Pike(80, "bullets"); }},
        {"bullet_pike4", [] { return new Appearance_Bullet_Pike(96, "bullets"); }},
        {"bullet_pike5", [] { return new Appearance_Bullet_Pike(112, "bullets"); }},
        {"bullet_pike6", [] { return new Appearance_Bullet_Pike(128, "bullets"); }},
        {"bullet_pike7", [] { return new Appearance_Bullet_Pike(144, "bullets"); }},
        {"bullet_pike8", [] { return new Appearance_Bullet_Pike(160, "bullets"); }},
        {"bullet_big0", [] { return new Appearance_Simple(0, "bullets2"); }},
        {"bullet_big1", [] { return new Appearance_Simple(8, "bullets2"); }},
        {"bullet_big2", [] { return new Appearance_Simple(16, "bullets2"); }},
        {"bullet_big3", [] { return new Appearance_Simple(24, "bullets2"); }},
        {"bullet_lazor1", [] { return new Appearance_Lazor(); }},
        {"player_bullet1", [] { return new Appearance_Player_Bullet1(); }},
        {"player_bullet2", [] { return new Appearance_Player_Bullet2(); }},
        {"player_bullet_focus1", [] { return new Appearance_Player_Bullet_Focus1(1.0f); }},
        {"player_bullet_focus2", [] { return new Appearance_Player_Bullet_Focus1(1.1f); }},
        {"player_bullet_focus3", [] { return new Appearance_Player_Bullet_Focus1(1.2f); }},
        {"player_bullet_focus4", [] { return new Appearance_Player_Bullet_Focus1(1.3f); }},
        {"player_bullet_focus5", [] { return new Appearance_Player_Bullet_Focus1(1.5f); }},
    };
    const N enemies[] = {
        {"enemy_fairy1", [] { return new Enemy_Appearance_Fairy(0, 0, "enemy_fairy1"); }},
        {"enemy_fairy2", [] { return new Enemy_Appearance_Fairy(1, 0, "enemy_fairy1"); }},
        {"enemy_fairy3", [] { return new Enemy_Appearance_Fairy(2, 1, "enemy_fairy1"); }},
        {"enemy_fairy10", [] { return new Enemy_Appearance_Fairy(0, 0, "enemy_fairy2"); }},
        {"enemy_kedama", [] { return new Enemy_Appearance_Kedama(); }},
        {"enemy_boss1", [] { return new Enemy_Appearance_Boss1("rimea"); }},
    };
    const E effects[] = {
        {"magic_flash", [] { return new Appearance_Effect_Magic_Flash(); }},
        {"enemy_shot100", [] { return new Appearance_Effect_Enemy_Shot1(100.0f); }},
        {"enemy_shot200", [] { return new Appearance_Effect_Enemy_Shot1(200.0f); }},
        {"enemy_shot500", [] { return new Appearance_Effect_Enemy_Shot1(500.0f); }},
        {"enemy_shot_other100", [] { return new Appearance_Effect_Enemy_Shot2(100.0f); }},
        {"enemy_shot_other200", [] { return new Appearance_Effect_Enemy_Shot2(200.0f); }},
        {"enemy_shot_other500", [] { return new Appearance_Effect_Enemy_Shot2(500.0f); }},
        {"score_float", [] { return new Appearance_Effect_Score_Float(); }},
        {"player_bullet_hit1", [] { return new Appearance_Effect_Player_Bullet_Hit1(); }},
        {"player_bullet_hit2", [] { return new Appearance_Effect_Player_Bullet_Hit2(1.0f); }},
        {"player_bullet_hit3", [] { return new Appearance_Effect_Player_Bullet_Hit3(); }},
        {"player_bullet_hit4", [] { return new Appearance_Effect_Player_Bullet_Hit2(1.1f); }},
        {"player_bullet_hit5", [] { return new Appearance_Effect_Player_Bullet_Hit2(1.2f); }},
        {"player_bullet_hit6", [] { return new Appearance_Effect_Player_Bullet_Hit2(1.3f); }},
        {"player_bullet_hit7", [] { return new Appearance_Effect_Player_Bullet_Hit2(1.5f); }},
        {"enemy_bullet_hit1", [] { return new Appearance_Effect_Enemy_Bullet_Hit1(); }},
        {"cancelled_bullet", [] { return new Appearance_Effect_Cancelled_Bullet(); }},
        {"particle_happa", [] { return new Appearance_Effect_Happa_Particle(); }},
        {"particle_snow", [] { return new Appearance_Effect_Snow_Particle(); }},
        {"particle_small", [] { return new Appearance_Effect_Small_Particle(); }},
        {"graze_particle", [] { return new Appearance_Effect_Graze_Particle(); }},
        {"rimea_cloud", [] { return new Appearance_Effect_Rimea_Cloud(2000.0f); }},
        {"boss_name", [] { return new Appearance_Effect_Boss_Name(); }},
        {"spellcard_result",
         [&] { return new Appearance_Effect_Spellcard_Result(canvas, resources); }},
        {"spellcard_name", [] { return new Appearance_Effect_Spellcard_Name(); }},
    };
    register_rows(bullet_appearances, bullets);
    register_rows(enemy_appearances, enemies);
    register_rows(effect_appearances, effects);

    set_appearance_lookups({get_bullet_appearance, get_effect_appearance, get_enemy_appearance});
}

void destroy_appearance_maps() {
    bullet_appearances.clear();
    enemy_appearances.clear();
    effect_appearances.clear();
}

Appearance* get_bullet_appearance(const std::string& name) {
    return bullet_appearances[name].get();
}

Enemy_Appearance* get_enemy_appearance(const std::string& name) {
    return enemy_appearances[name].get();
}

Effect_Appearance* get_effect_appearance(const std::string& name) {
    return effect_appearances[name].get();
}
