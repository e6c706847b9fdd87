#include <gtest/gtest.h>

#include "looks_fixture.h"
#include "world/appearances.h"
#include "world/bullet.h"

namespace {

using namespace render_test;
using test_display::color_near;

class Bullet_Look_Test : public ::testing::Test {
protected:
    void SetUp() override {
        load_looks();
        clean_canvas();
        player.bullet_alpha = 0.5f;
    }

    Bullet bullet(int colour, int layer, float x = 100, float y = 100) {
        Bullet b;
        b.x = x;
        b.y = y;
        b.colour = static_cast<uint8_t>(colour);
        b.layer = static_cast<uint8_t>(layer);
        b.alive = 1;
        return b;
    }
};

TEST_F(Bullet_Look_Test, FrameIsTheFirstFramePlusTheColour) {
    struct Case {
        const char* look;
        int colour;
        int frame;
    };
    const Case cases[] = {
        {"bullet3", 17, 193},    {"bullet3", 0, 192},       {"bullet0", 15, 47},
        {"bullet_pike1", 4, 20}, {"bullet_pike8", 19, 163}, {"bullet6", 5, 245},
        {"bullet_zoom1", 2, 50}, {"bullet_big2", 3, 19},
    };
    for (const Case& c : cases) {
        clean_canvas();
        Bullet b = bullet(c.colour, 1);
        get_bullet_appearance(c.look)->draw(canvas(), b);
        EXPECT_EQ(frame_of(pixel(100, 100)), c.frame) << c.look << " colour " << c.colour;
    }
}

TEST_F(Bullet_Look_Test, EnemyBulletsAreOpaqueAndBlownOnesTakeTheShotAlpha) {
    Bullet b = bullet(1, 1);
    get_bullet_appearance("bullet0")->draw(canvas(), b);
    EXPECT_TRUE(color_near(pixel(100, 100), frame_colour(33)));

    clean_canvas();
    b.layer = 0;  // blown away by the bomb
    get_bullet_appearance("bullet0")->draw(canvas(), b);
    EXPECT_TRUE(color_near(pixel(100, 100), faded(frame_colour(33), 0.5f)));
}

TEST_F(Bullet_Look_Test, ZoomedLookDoublesTheSize) {
    Bullet b = bullet(0, 1);
    get_bullet_appearance("bullet_zoom0")->draw(canvas(), b);
    // An 8-pixel frame at twice the size reaches 7 pixels from the centre.
    EXPECT_EQ(frame_of(pixel(107, 100)), 32);
    EXPECT_EQ(frame_of(pixel(109, 100)), -1);
}

TEST_F(Bullet_Look_Test, PlayerShotsTurnAlongTheirMotion) {
    sdk::Sprite& s = player_sprites.player_sprite;
    Bullet b = bullet(0, 0);
    b.dir_x = 0;
    b.dir_y = -1;
    get_bullet_appearance("player_bullet1")->draw(canvas(), b);
    EXPECT_NEAR(s.get_angle().to_degrees(), 270.0f, 0.01f);
    EXPECT_EQ(s.get_current_frame(), 24);
    b.dir_y = 1;
    get_bullet_appearance("player_bullet2")->draw(canvas(), b);
    EXPECT_NEAR(s.get_angle().to_degrees(), 90.0f, 0.01f);
    EXPECT_EQ(s.get_current_frame(), 32);
}

TEST_F(Bullet_Look_Test, FocusedShotStretchesVerticallyAndRestoresTheScale) {
    sdk::Sprite& s = player_sprites.player_sprite;
    player.bullet_alpha = 1.0f;
    Bullet b = bullet(0, 0);
    b.dir_x = 1;  // drawn unturned, so the stretch shows along y
    get_bullet_appearance("player_bullet_focus5")->draw(canvas(), b);
    EXPECT_EQ(frame_of(pixel(100, 105)), 28);  // 4 x 1.5 = 6 pixels below the centre
    EXPECT_EQ(frame_of(pixel(105, 100)), -1);  // not wider
    EXPECT_FLOAT_EQ(s.get_scale_x(), 1.0f);
    EXPECT_FLOAT_EQ(s.get_scale_y(), 1.0f);
}

TEST_F(Bullet_Look_Test, LaserFlashCyclesEveryEightyMilliseconds) {
    sdk::Sprite* flash = get_sprite("magic_flash");
    Bullet b = bullet(3, 1, 200, 300);
    b.prev_x = 100;
    b.prev_y = 100;
    b.aux_x = 150;
    b.aux_y = 200;
    const int frames[] = {0, 1, 2, 3, 0};
    for (int i = 0; i < 5; ++i) {
        b.age = static_cast<float>(i) * 20.0f + 5.0f;
        get_bullet_appearance("bullet_lazor1")->draw(canvas(), b);
        EXPECT_EQ(flash->get_current_frame(), frames[i]) << b.age;
    }
    EXPECT_EQ(frame_of(pixel(150, 200)), 3);  // the body at the beam's midpoint
}

TEST(Appearance_Registry, UnknownNamesAnswerNullAndStayNull) {
    load_looks();
    EXPECT_EQ(get_bullet_appearance("bullet99"), nullptr);
    EXPECT_EQ(get_bullet_appearance("bullet99"), nullptr);
    EXPECT_EQ(get_effect_appearance("nothing"), nullptr);
    EXPECT_EQ(get_enemy_appearance("nothing"), nullptr);
    EXPECT_NE(get_bullet_appearance("bullet0"), nullptr);
    // The world finds the same looks through the lookups it was handed.
    EXPECT_EQ(world_looks.bullet_pike1, get_bullet_appearance("bullet_pike1"));
    EXPECT_EQ(world_looks.graze_particle, get_effect_appearance("graze_particle"));
}

}  // namespace
