#include <gtest/gtest.h>

#include "looks_fixture.h"
#include "render/enemy_appearances.h"
#include "world/effect_pool.h"
#include "world/enemy.h"

namespace {

using namespace render_test;

class Enemy_Look_Test : public ::testing::Test {
protected:
    void SetUp() override {
        load_looks();
        clean_canvas();
        effect_pool.reset();
    }
    Enemy fairy(float heading_degrees, int colour) {
        Enemy e;
        e.x = 200;
        e.y = 200;
        e.angle = sdk::Angle::from_degrees(heading_degrees);
        e.colour = colour;
        e.alive = 1;
        return e;
    }
};

TEST_F(Enemy_Look_Test, FairyShowsFrontFramesFlyingDownAndMirroredSideFramesFlyingLeft) {
    Enemy_Appearance* look = get_enemy_appearance("enemy_fairy1");
    sdk::Sprite* body = get_sprite("enemy_fairy1");
    Enemy down = fairy(90, 2);
    for (int step = 0; step < 6; ++step) {
        look->draw(canvas(), down);
        EXPECT_EQ(body->get_current_frame(), 24 + (step % 4)) << step;
        EXPECT_FLOAT_EQ(body->get_angle_yaw().to_degrees(), 0.0f);
        down.anim_time += 101;  // the world advances the clock by the frame step
    }
    Enemy left = fairy(180, 1);
    look->draw(canvas(), left);
    EXPECT_EQ(body->get_current_frame(), 12 + 8);
    EXPECT_NEAR(body->get_angle_yaw().to_degrees(), 180.0f, 1e-3);
    Enemy diagonal = fairy(45, 0);  // |sin| 0.707: turning frame 8 - 2
    look->draw(canvas(), diagonal);
    EXPECT_EQ(body->get_current_frame(), 6);
}

TEST_F(Enemy_Look_Test, TheBigCircleTurnsAndGrowsButKeepsItsFrameAndAlpha) {
    Enemy_Appearance* look = get_enemy_appearance("enemy_fairy3");
    sdk::Sprite* circle = get_sprite("fairy_big_circle");
    circle->set_frame(5);
    circle->set_alpha(0.3f);
    Enemy e = fairy(90, 2);
    e.age = 240;
    look->draw(canvas(), e);
    EXPECT_EQ(circle->get_current_frame(), 5);
    EXPECT_FLOAT_EQ(circle->get_alpha(), 0.3f);
    EXPECT_FLOAT_EQ(circle->get_scale_x(), 1.5f);
    EXPECT_FLOAT_EQ(circle->get_scale_y(), 1.5f);
    EXPECT_NEAR(circle->get_angle().to_degrees(), -20.0f, 1e-3);
    circle->set_frame(0);
    circle->set_alpha(1.0f);
}

TEST_F(Enemy_Look_Test, FairyDeathThrowsThreeLeavesAndEndsAfter400ms) {
    Enemy_Appearance* look = get_enemy_appearance("enemy_fairy2");
    Enemy e = fairy(90, 0);
    e.price = 0;
    const struct {
        float age;
        uint32_t leaves;
        bool going;
    } steps[] = {{40, 0, true},  {49, 0, true},  {110, 1, true}, {111, 2, true},
                 {160, 3, true}, {300, 3, true}, {400, 3, true}, {401, 3, false}};
    for (const auto& s : steps) {
        e.age = s.age;
        EXPECT_EQ(look->draw_dead(canvas(), e), s.going) << s.age;
        EXPECT_EQ(effect_pool.size(), s.leaves) << s.age;
    }
    const Effect& leaf = effect_pool[0];
    EXPECT_EQ(leaf.appearance, get_effect_appearance("particle_happa"));
    EXPECT_NE(leaf.behaviour, nullptr);
    EXPECT_GE(leaf.speed, 0.5f);
    EXPECT_LT(leaf.speed, 0.7f);
}

TEST_F(Enemy_Look_Test, EachKedamaKeepsItsOwnPlaceInTheAnimation) {
    Enemy_Appearance* look = get_enemy_appearance("enemy_kedama");
    sdk::Sprite* body = get_sprite("kedama");
    Enemy a = fairy(90, 0), b = fairy(90, 0);
    a.anim_time = 250;  // 2 frames of 100 ms and 50 into the third
    look->draw(canvas(), a);
    EXPECT_EQ(body->get_current_frame(), 2);
    EXPECT_FLOAT_EQ(a.anim_time, 50.0f);
    b.anim_time = 30;
    look->draw(canvas(), b);
    EXPECT_EQ(body->get_current_frame(), 0);
    a.anim_time += 200;  // wraps around the four frames
    look->draw(canvas(), a);
    EXPECT_EQ(a.anim_frame, 0);
    EXPECT_EQ(frame_of(pixel(200, 200)), 0);
}

class Boss_Ring_Test : public Enemy_Look_Test {
protected:
    void add_ring(float radius, float target, int state) {
        int i = boss.ring_count++;
        boss.ring_frame[i] = i;
        boss.ring_radius[i] = radius;
        boss.ring_target[i] = target;
        boss.ring_state[i] = state;
        boss.ring_width[i] = 16;
    }
    void run(float ms) {
        for (float t = 0; t < ms; t += 10) look()->update(canvas(), boss, 10);
    }
    Boss_Appearance* look() {
        return static_cast<Boss_Appearance*>(get_enemy_appearance("enemy_boss1"));
    }
    EnemyBoss boss;
};

TEST_F(Boss_Ring_Test, ANewRingGrowsToItsTargetWithItsAlpha) {
    add_ring(10, 100, ring_growing);
    run(150);
    EXPECT_FLOAT_EQ(boss.ring_radius[0], 55.0f);
    EXPECT_FLOAT_EQ(boss.ring_alpha[0], 0.55f);
    run(150);
    EXPECT_NEAR(boss.ring_radius[0], 100.0f, 1e-3);
    run(10);
    EXPECT_EQ(boss.ring_state[0], ring_steady);
    EXPECT_FLOAT_EQ(boss.ring_alpha[0], 1.0f);
}

TEST_F(Boss_Ring_Test, ARelocatedRingShrinksToItsNewTarget) {
    add_ring(100, 60, ring_resizing);
    run(100);
    EXPECT_NEAR(boss.ring_radius[0], 70.0f, 1e-3);
    run(40);
    EXPECT_FLOAT_EQ(boss.ring_radius[0], 60.0f);
    EXPECT_EQ(boss.ring_state[0], ring_steady);
}

TEST_F(Boss_Ring_Test, ARemovedRingExpandsForASecondAndTheOthersMoveUp) {
    add_ring(50, 50, ring_steady);
    add_ring(100, 600, ring_leaving);
    add_ring(70, 70, ring_steady);
    run(1000);
    EXPECT_EQ(boss.ring_count, 3);
    EXPECT_NEAR(boss.ring_radius[1], 600.0f, 1e-2);
    run(20);
    ASSERT_EQ(boss.ring_count, 2);
    EXPECT_EQ(boss.ring_frame[1], 2);
    EXPECT_FLOAT_EQ(boss.ring_radius[1], 70.0f);
}

TEST_F(Boss_Ring_Test, WithoutTheBossFlagNothingMovesOrShows) {
    add_ring(10, 100, ring_growing);
    boss.is_boss = 0;
    boss.x = boss.y = 200;
    run(100);
    EXPECT_FLOAT_EQ(boss.ring_radius[0], 10.0f);
    look()->draw(canvas(), boss);
    EXPECT_EQ(frame_of(pixel(200, 200)), -1);
    boss.is_boss = 1;
    look()->draw(canvas(), boss);
    EXPECT_EQ(frame_of(pixel(200, 200)), 0);  // idle frame 0
}

TEST_F(Boss_Ring_Test, TheBossDiesInSnowForTwoSeconds) {
    boss.age = 500;
    EXPECT_TRUE(look()->draw_dead(canvas(), boss));
    EXPECT_EQ(effect_pool.size(), 3u);
    EXPECT_EQ(effect_pool[0].appearance, get_effect_appearance("particle_snow"));
    for (uint32_t i = 0; i < 3; ++i) {
        float degrees = effect_pool[i].angle.to_degrees();
        EXPECT_GE(degrees, 150.0f);
        EXPECT_LT(degrees, 420.0f);
        EXPECT_GE(effect_pool[i].tint[0], 204);
    }
    boss.age = 2001;
    EXPECT_FALSE(look()->draw_dead(canvas(), boss));
}

}  // namespace
