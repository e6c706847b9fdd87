// Enemy paths: depth stages, braking, stops, the one-point route, the sine
// weave, the removal tests and the table of registered paths.
#include "world/enemy_paths.h"

#include <gtest/gtest.h>

#include <cmath>

#include "world/boss_path.h"
#include "world/geometry.h"
#include "world/registries.h"

namespace {

Enemy moving(float x, float y, float heading_deg, float speed) {
    Enemy e;
    e.x = x;
    e.y = y;
    e.alive = 1;
    e.angle = sdk::Angle::from_degrees(heading_deg);
    e.dir_x = std::cos(e.angle.to_radians());
    e.dir_y = std::sin(e.angle.to_radians());
    e.speed = e.base_speed = speed;
    return e;
}

TEST(Enemy_Paths, StraightTakesOneDepthStagePerFrame) {
    Enemy_Path_Straight path(play_field);
    Enemy e = moving(100, 5, 90, 1.15f);
    ASSERT_TRUE(path.update(e, 100));
    EXPECT_FLOAT_EQ(e.y, 120.0f);
    EXPECT_EQ(e.path_state, 10);
    EXPECT_FLOAT_EQ(e.distance, 115.0f);
    e.speed = 0;
    path.update(e, 16);
    EXPECT_EQ(e.path_state, 20);
    path.update(e, 16);
    EXPECT_EQ(e.path_state, 20);
    e.y = 151;
    path.update(e, 16);
    EXPECT_EQ(e.path_state, 30);
}

TEST(Enemy_Paths, GoWaitGoBrakingDependsOnTheStep) {
    Enemy_Path_Go_Wait_Go path(play_field, 1000);
    Enemy e = moving(100, 80, 90, 0.2f);
    e.f1 = 100;  // stop line at 116; braking from 66
    path.update(e, 16);
    EXPECT_FLOAT_EQ(e.speed, 0.2f * 0.9625f);
    Enemy slow = moving(100, 80, 90, 0.05f);
    slow.f1 = 100;
    path.update(slow, 16);
    EXPECT_FLOAT_EQ(slow.speed, 0.05f);
}

TEST(Enemy_Paths, GoWaitGoWaitsThenRampsUp) {
    Enemy_Path_Go_Wait_Go path(play_field, 1000);
    Enemy e = moving(100, 10, 90, 0.05f);
    e.f1 = 0;
    while (e.path_state == 0) {
        e.age += 16;
        path.update(e, 16);
    }
    EXPECT_FLOAT_EQ(e.y, 16.0f);
    EXPECT_EQ(e.speed, 0.0f);
    float stop = e.f1;
    e.age = stop * 0.5f + 1000.5f;
    path.update(e, 16);
    EXPECT_EQ(e.path_state, 20);
    e.age = stop + 1000.5f;
    path.update(e, 16);
    EXPECT_EQ(e.path_state, 30);
    e.age = stop + 2000.0f;
    path.update(e, 16);
    EXPECT_FLOAT_EQ(e.speed, 1000.0f * 0.05f / 2000.0f);
    e.age = stop + 4000.0f;
    path.update(e, 16);
    EXPECT_FLOAT_EQ(e.speed, 0.05f);
}

TEST(Enemy_Paths, ZeroStepNeitherBrakesNorBreaksThePosition) {
    Enemy_Path_Go_Wait_Go path(play_field, 1000);
    Enemy e = moving(100, 80, 90, 0.2f);
    e.f1 = 100;
    path.update(e, 0);
    EXPECT_FLOAT_EQ(e.speed, 0.2f);
    EXPECT_FLOAT_EQ(e.y, 80.0f);
}

TEST(Enemy_Paths, StoppingPathsWithZeroDepthStopAtTheFieldTop) {
    Enemy_Path_Go_Wait_Go go(play_field, 1000);
    Enemy_Path_Stop_Wait_Move wait(play_field, 2000);
    for (Enemy_Path* path : {static_cast<Enemy_Path*>(&go), static_cast<Enemy_Path*>(&wait)}) {
        Enemy e = moving(100, 0, 90, 0.1f);
        for (int i = 0; i < 40 && e.path_state == 0; ++i) {
            e.age += 16;
            path->update(e, 16);
        }
        EXPECT_EQ(e.path_state, 10);
        EXPECT_FLOAT_EQ(e.y, 16.0f);
    }
}

TEST(Enemy_Paths, StopWaitMoveLeavesTowardItsSide) {
    struct Case {
        float x;
        float dir_x_sign;
    };
    for (Case c : {Case{100, -1}, Case{300, 1}}) {
        Enemy_Path_Stop_Wait_Move path(play_field, 2000);
        Enemy e = moving(c.x, 100, 90, 0.001f);
        e.path_state = 10;
        e.f1 = 0;
        e.age = 2000.5f;
        path.update(e, 1);
        EXPECT_EQ(e.path_state, 30);
        EXPECT_LT(e.dir_y, 0.0f) << c.x;
        EXPECT_GT(e.dir_x * c.dir_x_sign, 0.0f) << c.x;
    }
    Enemy_Path_Stop_Wait_Move path(play_field, 2000);
    Enemy mid = moving(223, 100, 90, 0.001f);
    mid.path_state = 10;
    mid.age = 2001;
    path.update(mid, 1);
    EXPECT_NEAR(mid.angle.to_degrees(), 270.0f, 0.01f);
}

TEST(Enemy_Paths, StopWaitMoveStagesOfTheWait) {
    struct Case {
        float age;
        int state;
    };
    const Case cases[] = {{100, 10}, {201, 11}, {401, 12}, {501, 13}, {1001, 20}, {2001, 30}};
    for (Case c : cases) {
        Enemy_Path_Stop_Wait_Move path(play_field, 2000);
        Enemy e = moving(100, 100, 90, 0.001f);
        e.path_state = 10;
        e.age = c.age;
        path.update(e, 1);
        EXPECT_EQ(e.path_state, c.state) << c.age;
    }
}

TEST(Enemy_Paths, MoveAsideNeverRemovesAnEnemyAtTheTop) {
    Enemy_Path_Move_Aside left(play_field, 1, 0.2f);
    Enemy e = moving(-100, 10, 90, 0.0f);
    EXPECT_TRUE(left.update(e, 16));
    Enemy below = moving(-100, 20, 90, 0.0f);
    EXPECT_FALSE(left.update(below, 16));
}

TEST(Enemy_Paths, MoveAsideTurnsBelowItsLine) {
    Enemy_Path_Move_Aside left(play_field, 1, 0.2f);
    Enemy_Path_Move_Aside right(play_field, 0, 0.2f);
    Enemy a = moving(200, 110, 90, 0.1f);
    Enemy b = moving(200, 110, 90, 0.1f);
    left.update(a, 10);
    right.update(b, 10);
    EXPECT_NEAR(a.angle.to_degrees(), 90.3f, 1e-4f);
    EXPECT_NEAR(b.angle.to_degrees(), 89.7f, 1e-4f);
    Enemy above = moving(200, 100, 90, 0.1f);
    left.update(above, 10);
    EXPECT_FLOAT_EQ(above.angle.to_degrees(), 90.0f);
}

TEST(Enemy_Paths, SinusWithPhaseThirtyStartsMidWave) {
    Enemy_Path_Sinus path(play_field, 8);
    Enemy e = moving(200, 100, 90, 0.0f);
    e.f1 = 30;
    path.update(e, 16);
    EXPECT_NEAR(e.dir_x, 0.0f, 1e-6f);
    EXPECT_NEAR(e.dir_y, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(e.angle.to_degrees(), 90.0f);
    // Phase 60 is at the top of the wave: +30 degrees.
    e.f1 = 60;
    path.update(e, 16);
    EXPECT_NEAR(std::atan2(e.dir_y, e.dir_x) * 180.0f / sdk::pi, 120.0f, 1e-3f);
}

TEST(Enemy_Paths, BoxTestsWithoutSizeAreStrictPointTests) {
    struct Case {
        float x, y;
        bool stays;
    };
    const Case cases[] = {{415.9f, 200, true}, {416, 200, false}, {32, 200, false},
                          {32.1f, 200, true},  {200, 464, false}, {200, 16, false}};
    for (Case c : cases) {
        Enemy_Path_Go_Wait_Go path(play_field, 1000);
        Enemy e = moving(c.x, c.y, 0, 0.0f);
        e.path_state = 30;
        e.age = 5000;  // leaving at base speed 0: stays in place
        EXPECT_EQ(path.update(e, 16), c.stays) << c.x << "," << c.y;
    }
}

TEST(Enemy_Paths, RouteProfileAcceleratesCruisesAndBrakes) {
    const float d = 100.0f;
    EXPECT_FLOAT_EQ(route_distance(0, d, 600, 2000), 0.0f);
    float a = d / (600.0f * 1400.0f);
    EXPECT_FLOAT_EQ(route_distance(600, d, 600, 2000), a * 600 * 600 / 2);
    EXPECT_NEAR(route_distance(1000, d, 600, 2000), d / 2, 1e-3f);
    EXPECT_NEAR(route_distance(2000, d, 600, 2000), d, 1e-3f);
}

TEST(Enemy_Paths, OnePointStopFlyInStopAndLeave) {
    Enemy_Path_One_Point_Stop path(play_field, 150);
    Enemy e = moving(0, 0, 0, 0.06f);
    struct Step {
        float age;
        float x, y;
        int state;
    };
    const Step steps[] = {{0, 350, 30, 0},
                          {2000, 200, 250, 0},
                          {2001, 200, 250, 1},
                          {2999, 200, 250, 1},
                          {3001, 200, 250, 2}};
    for (Step s : steps) {
        e.age = s.age;
        EXPECT_TRUE(path.update(e, 16));
        EXPECT_NEAR(e.x, s.x, 0.05f) << s.age;
        EXPECT_NEAR(e.y, s.y, 0.05f) << s.age;
        EXPECT_EQ(e.path_state, s.state) << s.age;
    }
    bool stays = true;
    while (stays && e.age < 7000) {
        e.age += 16;
        stays = path.update(e, 16);
    }
    EXPECT_FALSE(stays);
    EXPECT_LT(e.x, -20.0f);
    EXPECT_GT(e.y, -30.0f);
}

TEST(Enemy_Paths, RegistryHoldsEveryNamedPath) {
    register_enemy_paths(play_field);
    const char* names[] = {
        "enemy_straight",  "enemy_go_left",    "enemy_go_right",        "enemy_wait_2s",
        "enemy_wait_5s",   "enemy_wait_10s",   "enemy_stopgo_1s",       "enemy_stopgo_2s",
        "enemy_stopgo_5s", "enemy_stopgo_10s", "enemy_one_point_stop1", "enemy_sinus1",
        "enemy_sinus2",    "enemy_boss0"};
    for (const char* n : names) EXPECT_NE(get_enemy_path(n), nullptr) << n;
    Enemy_Path* l = get_enemy_path("enemy_go_left");
    Enemy_Path* r = get_enemy_path("enemy_go_right");
    EXPECT_FLOAT_EQ(l->param, 105.6f);
    EXPECT_FLOAT_EQ(r->param, 105.6f);
    EXPECT_EQ(l->flag, 1);
    EXPECT_EQ(r->flag, 0);
    EXPECT_FLOAT_EQ(get_enemy_path("enemy_stopgo_5s")->param, 5000.0f);
    EXPECT_FLOAT_EQ(get_enemy_path("enemy_sinus2")->param, 6.0f);
    auto* boss = dynamic_cast<Enemy_Path_Boss*>(get_enemy_path("enemy_boss0"));
    ASSERT_NE(boss, nullptr);
    EXPECT_FLOAT_EQ(boss->stop_line(), 170.0f);
}

}  // namespace
