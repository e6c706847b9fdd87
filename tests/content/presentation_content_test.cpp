// The presentation over the built archive, as start-up builds it: every
// sprite of "sprites.xml" cached, every look registered (each finds its
// sprites and fonts), the ring strip cut, the three backgrounds loaded and
// warmed, the dialog's scenes checked. Then one stage picture with every
// look in it is drawn and saved as "presentation_scene.png" in the build
// folder for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "render/appearance.h"
#include "render/background.h"
#include "render/dialog.h"
#include "render/player_draw.h"
#include "render/player_sprites.h"
#include "render/ring_sprite.h"
#include "render/sprite_cache.h"
#include "render/stage_draw.h"
#include "sdk/core/random.h"
#include "sdk/font.h"
#include "tests/sdk/display_fixture.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/enemy_lists.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/registries.h"

namespace {

std::string build_dir() {
    const char* dir = std::getenv("MIREL_BINARY_DIR");
    return dir ? dir : ".";
}

TEST(Presentation_Content, EverythingStartUpNamesIsInTheArchiveAndDraws) {
    sdk::Canvas& canvas = test_display::display().canvas;
    sdk::File_System fs(build_dir() + "/mirel.res");
    sdk::Resource_Manager sprites(sdk::Resource_Document(fs, "sprites.xml"));
    sdk::Resource_Manager mirel(sdk::Resource_Document(fs, "mirel.xml"));
    preload_sprites(canvas, sprites);
    ASSERT_NE(get_sprite("bullets"), nullptr);

    bool have_player = fs.has_file("player.xml");
    if (have_player) {
        sdk::Resource_Manager player_doc(sdk::Resource_Document(fs, "player.xml"));
        player.load(player_doc, "player_kio");
        load_player_sprites(canvas, player_doc);
    }
    load_appearances(canvas, mirel);
    register_movements(play_field);
    Ring_Sprite ring(canvas, "ring1", mirel, fs);
    EXPECT_FALSE(ring.frames.empty());

    sdk::Rect field(32, 16, 416, 464);
    Background title;
    title.load(canvas, "background_effects", mirel, field);
    stage_background.load(canvas, "stage_kio", mirel, field);
    spell_background.load(canvas, "boss_effects", mirel, field);
    sdk::random_seed(5);
    for (int i = 0; i < 100; ++i) stage_background.update(1000);
    for (int i = 0; i < 50; ++i) stage_background.update(17);

    if (fs.has_file("text.xml")) {
        sdk::Font font(canvas, "font_small", mirel.get_doc());
        dialog.init(&font, &font, fs, 500, 300);
    }

    // One picture: the stage, a volley of every bullet look, sparks, a
    // fairy of each kind and the player.
    bullet_pool.reset();
    effect_pool.reset();
    const char* bullet_looks[] = {"bullet0",      "bullet1",      "bullet2",      "bullet3",
                                  "bullet4",      "bullet5",      "bullet6",      "bullet_zoom0",
                                  "bullet_pike1", "bullet_pike2", "bullet_pike5", "bullet_pike8",
                                  "bullet_big0",  "bullet_big1",  "bullet_big2",  "bullet_big3"};
    int row = 0;
    for (const char* name : bullet_looks) {
        Appearance* look = get_bullet_appearance(name);
        ASSERT_NE(look, nullptr) << name;
        for (int c = 0; c < 16; ++c) {
            Bullet b;
            b.x = 50.0f + 22.0f * static_cast<float>(c);
            b.y = 40.0f + 22.0f * static_cast<float>(row);
            b.angle = sdk::Angle::from_degrees(static_cast<float>(c * 22));
            b.colour = static_cast<uint8_t>(c);
            b.layer = 1;
            b.alive = 1;
            b.appearance = look;
            bullet_pool.add(b);
        }
        ++row;
    }
    const char* effect_looks[] = {"magic_flash",      "enemy_shot200",  "graze_particle",
                                  "cancelled_bullet", "particle_small", "enemy_bullet_hit1"};
    int column = 0;
    for (const char* name : effect_looks) {
        Effect e;
        e.x = 60.0f + 50.0f * static_cast<float>(column++);
        e.y = 420;
        e.age = 60;
        e.kind = 13;
        e.value = 400;
        e.scale = 1;
        e.appearance = get_effect_appearance(name);
        ASSERT_NE(e.appearance, nullptr) << name;
        effect_pool.add(e);
    }
    clear_enemies();
    const char* fairies[] = {"enemy_fairy1", "enemy_fairy2", "enemy_fairy3", "enemy_kedama"};
    column = 0;
    for (const char* name : fairies) {
        Enemy e;
        e.x = 70.0f + 90.0f * static_cast<float>(column);
        e.y = 400;
        e.angle = sdk::Angle::from_degrees(90);
        e.colour = column++;
        e.appearance = get_enemy_appearance(name);
        ASSERT_NE(e.appearance, nullptr) << name;
        create_enemy(e);
    }
    player.x = player.prev_x = 330;
    player.y = player.prev_y = 440;
    player.life_clock = 10000;
    player.death_time = 1000;
    player.wind_gauge = 57;
    player.bullet_alpha = 0.5f;

    canvas.reset_cliprect();
    canvas.set_transform({});
    canvas.clear(sdk::Colorf::black());
    stage_background.draw(canvas);
    canvas.push_cliprect(screen_field);
    draw_enemies(canvas);
    draw_bullets(canvas, 1);
    draw_effects(canvas);
    canvas.pop_cliprect();
    if (have_player) draw_player(canvas);
    canvas.flush();
    canvas.get_pixeldata().save_png(build_dir() + "/presentation_scene.png");
    clear_enemies();
    bullet_pool.reset();
    effect_pool.reset();

    // The boss fight: the spell-card background, the boss with three rings,
    // and a dialog scene in the middle of its talk.
    EnemyBoss boss;
    boss.x = boss.ring_x = 224;
    boss.y = boss.ring_y = 150;
    boss.appearance = get_enemy_appearance("enemy_boss1");
    const float radii[] = {40, 70, 110};
    for (int i = 0; i < 3; ++i) {
        boss.ring_frame[i] = i;
        boss.ring_state[i] = 1;
        boss.ring_radius[i] = boss.ring_target[i] = radii[i];
        boss.ring_width[i] = 16 + 8 * static_cast<float>(i);
        boss.ring_alpha[i] = 1;
        boss.ring_spin[i] = 0.05f;
    }
    boss.ring_count = 3;
    create_boss(boss);
    spell_background.fade_in_spellcard_layer("rimea_back_1", 10);
    for (int i = 0; i < 20; ++i) spell_background.update(17);
    sdk::Font rus(canvas, fs, "Resources/rf.ttf", 20);
    Dialog scene;
    scene.init(&rus, &rus,
               sdk::Resource_Document::from_text(
                   "<resources><dialog name='talk'>"
                   "<action name='feed_char_left'>kio</action><action "
                   "name='feed_char_right'>rimea</action>"
                   "<action name='new_line'>Кио: Зима пришла слишком рано.</action>"
                   "<action name='line2'>Rimea: Then stay, and watch it fall.</action>"
                   "<action name='wait'/></dialog></resources>",
                   "text.xml"),
               500, 300);
    scene.start("talk");
    for (int i = 0; i < 90; ++i) scene.update(0, 17);

    canvas.reset_cliprect();
    canvas.clear(sdk::Colorf::black());
    stage_background.draw(canvas);
    canvas.set_cliprect(screen_field);
    spell_background.draw(canvas);
    update_and_draw_boss_rings(canvas, ring, 17);
    draw_enemies(canvas);
    canvas.reset_cliprect();
    scene.draw(canvas);
    canvas.flush();
    canvas.get_pixeldata().save_png(build_dir() + "/presentation_boss.png");
    EXPECT_EQ(scene.get_state(), dialog_waiting);
    clear_enemies();
}

}  // namespace
