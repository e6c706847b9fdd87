#include "render/player_draw.h"

#include <gtest/gtest.h>

#include <cmath>

#include "looks_fixture.h"
#include "render/background.h"
#include "world/geometry.h"

namespace {

using namespace render_test;
using test_display::color_near;

class Player_Draw_Test : public ::testing::Test {
protected:
    void SetUp() override {
        load_looks();
        clean_canvas();
        screen_field = sdk::Rect(32, 16, 416, 464);
        player.x = player.prev_x = 200;
        player.y = player.prev_y = 300;
        player.dying = 0;
        player.death_time = 1000;
        player.life_clock = 5000;
        player.invincible = 0;
        player.lean = 0;
        player.focus = 0;
        player.focus_fade = 0;
        player.wind_gauge = 0;
        player.bombing = 0;
        player.wind_blowing = 0;
        player.shot_hold = 0;
        player.time_to_activate_wind = 300;
        player.time_wind_activation = 500;
    }
    // The gauge's glyph centred at (x, y), at the gauge's alpha 0.6.
    bool glyph_at(float x, float y, int frame) {
        return color_near(pixel(static_cast<int>(x), static_cast<int>(y)),
                          faded(frame_colour(frame), 0.6f), 6);
    }
};

TEST_F(Player_Draw_Test, CharacterFrameFollowsTheLean) {
    sdk::Sprite& s = player_sprites.player_sprite;
    const struct {
        int lean;
        float lean_clock, life_clock;
        int frame;
    } cases[] = {{0, 300, 5350, 53 % 8}, {-1, 250, 5000, 10}, {-1, 401, 5100, 12 + 51 % 4},
                 {1, 0, 5000, 16},       {1, 400, 5000, 20},  {1, 900, 5300, 20 + 53 % 4}};
    for (const auto& c : cases) {
        player.lean = c.lean;
        player.lean_clock = c.lean_clock;
        player.life_clock = c.life_clock;
        draw_player(canvas());
        EXPECT_EQ(s.get_current_frame(), c.frame) << c.lean << " " << c.lean_clock;
    }
    EXPECT_EQ(player.lean_clock, 900.0f);
    player.lean = 0;
    draw_player(canvas());
    EXPECT_EQ(player.lean_clock, 0.0f);
}

TEST_F(Player_Draw_Test, NotDrawnInTheFirstDeathTimeAndBlinkingWhileInvincible) {
    player.life_clock = 900;
    player.wind_gauge = 0;
    draw_player(canvas());
    EXPECT_EQ(frame_of(pixel(200, 300)), -1);
    player.life_clock = 1200;  // frame 12 % 8 = 4
    player.invincible = 1050;  // (50 + 100) / 200
    draw_player(canvas());
    EXPECT_TRUE(color_near(pixel(200, 300), faded(frame_colour(4), 0.75f)));
}

TEST_F(Player_Draw_Test, GaugeOfAHundredShowsThreeDigitsBehindTheSign) {
    player.wind_gauge = 130;  // capped and stored back
    player.life_clock = 0;    // keep the character out of the way
    draw_player(canvas());
    EXPECT_EQ(player.wind_gauge, 100.0f);
    float g = 0.7f, y = 300 - 28 - g * 9;
    float dx = g * 29.5f;
    EXPECT_TRUE(glyph_at(200 + dx, y, 10));
    dx -= 14;
    const int digits[] = {0, 0, 1};
    for (int d : digits) {
        EXPECT_TRUE(glyph_at(200 + dx, y, d)) << d;
        dx -= g * 14;
    }
    clean_canvas();
    player.wind_gauge = 0;  // the sign alone, smaller, nearer
    draw_player(canvas());
    EXPECT_TRUE(glyph_at(200 + 0.5f * 15.5f, 300 - 28 - 0.5f * 9, 10));
    EXPECT_TRUE(color_near(
        pixel(200 + static_cast<int>(0.5f * 15.5f - 14), static_cast<int>(300 - 28 - 4.5f)),
        sdk::Color(0, 0, 0)));
}

TEST_F(Player_Draw_Test, WindChargeShowsABarUntilCharged) {
    player.wind_gauge = 10;  // too low to arm: the picture still shows the charge
    player.shot_hold = 300 + 250;
    draw_player_bomb_and_wind(canvas());
    sdk::Color bar = faded(sdk::Color(255, 255, 178), 0.7f);
    EXPECT_TRUE(color_near(pixel(200 - 16 + 4, 300 + 25), bar, 10));
    EXPECT_TRUE(
        color_near(pixel(200 - 16 + 20, 300 + 25), sdk::Color(0, 0, 0)));  // half charged: 16 px
    EXPECT_FLOAT_EQ(player_sprites.wind_sprite.get_alpha(), 0.5f);
    clean_canvas();
    player.shot_hold = 900;
    draw_player_bomb_and_wind(canvas());
    EXPECT_TRUE(color_near(pixel(200 - 16 + 4, 300 + 25), sdk::Color(0, 0, 0)));
    EXPECT_FLOAT_EQ(player_sprites.wind_sprite.get_alpha(), 1.0f);
}

TEST_F(Player_Draw_Test, BlowingWindGrowsFadesAndPushesTheLeaves) {
    stage_background.clear();
    Background_Effect leaves;
    leaves.kind = background_happa;
    Background_Particle near, far;
    near.x = 200 + 30;
    near.y = 300;
    far.x = 200 + 100;
    far.y = 300;
    leaves.particles = {near, far};
    stage_background.add_effect(leaves);

    player.wind_blowing = 1;
    player.wind_radius = 80;
    player.wind_size = 80;
    player.wind_clock = 25;      // growing: 25 / 71.4 + 0.3
    player.wind_time_left = 25;  // fading: 25 / 50
    draw_player_bomb_and_wind(canvas());
    sdk::Sprite& w = player_sprites.wind_sprite;
    EXPECT_NEAR(w.get_scale_x(), 25 / 71.4f + 0.3f, 1e-4);
    EXPECT_FLOAT_EQ(w.get_alpha(), 0.5f);
    EXPECT_NEAR(w.get_angle().to_degrees(), 25.0f, 1e-3);
    const auto& p = stage_background.get_effects()[0].particles;
    EXPECT_FLOAT_EQ(p[0].dx, 1.0f);  // pushed straight away from the player
    EXPECT_FLOAT_EQ(p[1].dx, 0.0f);  // beyond the wind
    player.wind_blowing = 0;
    stage_background.clear();
}

TEST_F(Player_Draw_Test, BombMasksTheFieldAndDrawsInsideItOnly) {
    player.bombing = 1;
    player.bomb_duration = 3000;
    player.bomb_clock = 1000;
    draw_player_bomb_and_wind(canvas());
    // The mask (frame 0 stretched over the screen) at alpha 0.3, clipped to the field.
    EXPECT_TRUE(color_near(pixel(100, 460), faded(frame_colour(0), 0.3f), 6));
    EXPECT_TRUE(color_near(pixel(20, 100), sdk::Color(0, 0, 0)));
    EXPECT_TRUE(color_near(pixel(500, 100), sdk::Color(0, 0, 0)));
}

TEST_F(Player_Draw_Test, DeathExplosionGrowsFromWhereThePlayerWasHit) {
    player.dying = 1;
    player.life_clock = 0;
    player.prev_x = 150;
    player.prev_y = 250;
    player.death_timer = 250;  // t = 0.25: the splash at scale 2.25, alpha 0.75
    draw_player(canvas());
    sdk::Sprite* splash = player_sprites.splash_sprite;
    EXPECT_FLOAT_EQ(splash->get_scale_x(), 2.25f);
    EXPECT_FLOAT_EQ(splash->get_alpha(), 0.75f);
    EXPECT_NE(frame_of(pixel(150 + 8, 250)), -1);  // 18 pixels wide around the hit
    // The five bursts fly out 25 pixels; the one at -30 degrees:
    float bx = 150 + 25 * std::cos(-30 * sdk::pi / 180),
          by = 250 + 25 * std::sin(-30 * sdk::pi / 180);
    EXPECT_NE(pixel(static_cast<int>(bx), static_cast<int>(by)), sdk::Color(0, 0, 0));
    EXPECT_FLOAT_EQ(player_sprites.flash_sprite->get_scale_x(), 4.0f - 2.25f * 0.5f);
}

TEST_F(Player_Draw_Test, FocusMarkerFadesInAndTurns) {
    sdk::Sprite& f = player_sprites.focus_sprite;
    player.focus = 1;
    player.focus_fade = 100;
    player.life_clock = 1800;  // half a turn
    draw_player(canvas());
    EXPECT_FLOAT_EQ(f.get_alpha(), 0.5f);
    EXPECT_NEAR(f.get_angle().to_degrees(), 180.0f, 1e-3);
    player.focus_fade = 250;
    draw_player(canvas());
    EXPECT_FLOAT_EQ(f.get_alpha(), 1.0f);
    player.focus = 0;  // fading out after release
    player.focus_fade = 50;
    draw_player(canvas());
    EXPECT_FLOAT_EQ(f.get_alpha(), 0.25f);
}

}  // namespace
