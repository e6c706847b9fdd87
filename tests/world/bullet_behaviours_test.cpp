#include "world/bullet_behaviours.h"

#include <cmath>

#include "world_fixture.h"

namespace {

class Behaviours : public World_Test {
protected:
    Bullet moving(float x, float y, float dx, float dy, float speed) {
        Bullet b;
        b.x = b.prev_x = x;
        b.y = b.prev_y = y;
        b.dir_x = dx;
        b.dir_y = dy;
        b.speed = speed;
        b.alive = 1;
        return b;
    }
    // One pool-style step: previous position refreshed, then the behaviour.
    bool step(Behaviour& beh, Bullet& b, float dt) {
        b.prev_x = b.x;
        b.prev_y = b.y;
        return beh.update(b, dt);
    }
};

TEST_F(Behaviours, FieldBoundsKeepLeftAndTopEdgesInside) {
    Behaviour_Simple s(play_field);
    struct Case {
        float x, y;
        bool inside;
    } cases[] = {
        {-20, 100, true},  {100, -30, true},       {466, 100, false},
        {100, 480, false}, {465.9f, 479.9f, true},
    };
    for (const auto& c : cases) {
        Bullet b = moving(c.x, c.y, 0, 0, 0);
        EXPECT_EQ(s.update(b, 16.0f), c.inside) << c.x << ", " << c.y;
    }
}

TEST_F(Behaviours, SimpleNeverAges) {
    Behaviour_Simple s(play_field);
    Bullet b = moving(100, 100, 0, 1, 0.01f);
    for (int i = 0; i < 50; ++i) step(s, b, 16.0f);
    EXPECT_EQ(b.age, 0.0f);
    EXPECT_NEAR(b.y, 108.0f, 1e-3);
}

TEST_F(Behaviours, StoppingLandsExactlyOnItsDistance) {
    Behaviour_Stopping s(play_field);
    Bullet b = moving(100, 100, 1, 0, 0.3f);
    b.param1 = 0.0f;
    b.param2 = 100.0f;
    for (int i = 0; i < 20; ++i) {
        float before = b.x;
        step(s, b, 16.0f);
        EXPECT_NEAR(b.x - before, 4.8f, 1e-3) << "step " << i + 1;
    }
    step(s, b, 16.0f);
    EXPECT_NEAR(b.x, 200.0f, 1e-3);
    EXPECT_NEAR(b.param1, 100.0f, 1e-3);
    EXPECT_EQ(b.speed, 0.0f);
    step(s, b, 16.0f);
    EXPECT_NEAR(b.x, 200.0f, 1e-3);
    EXPECT_EQ(b.speed, 0.0f);
}

TEST_F(Behaviours, TurningTurnsOnce) {
    Behaviour_Turning t(play_field);
    Bullet b = moving(100, 100, 1, 0, 0.1f);
    b.param1 = 20.0f;  // delay
    b.param2 = 90.0f;  // turn
    step(t, b, 16.0f);
    EXPECT_NEAR(b.x, 101.6f, 1e-4);
    step(t, b, 16.0f);  // age 32: flies 4 ms of the step, then turns
    EXPECT_NEAR(b.x, 102.0f, 1e-4);
    EXPECT_NEAR(b.angle.to_degrees(), 90.0f, 1e-3);
    EXPECT_EQ(b.trigger_seen, 1u);
    for (int i = 0; i < 5; ++i) step(t, b, 16.0f);
    EXPECT_NEAR(b.angle.to_degrees(), 90.0f, 1e-3) << "turns once only";
    EXPECT_NEAR(b.y, 100.0f + 5 * 1.6f, 1e-3);
}

TEST_F(Behaviours, ArcTurnsPerStepAndSpinningPerMillisecond) {
    Behaviour_Arc arc(play_field, 0.0f, 1.0f);
    Behaviour_Spinning spin(play_field);
    for (float dt : {1.0f, 16.0f, 17.0f}) {
        Bullet a = moving(200, 200, 1, 0, 0.0f);
        a.param1 = 3.0f;
        step(arc, a, dt);
        EXPECT_NEAR(a.angle.to_degrees(), 3.0f, 1e-4) << dt;
        Bullet s = moving(200, 200, 1, 0, 0.0f);
        s.param1 = 0.5f;
        step(spin, s, dt);
        EXPECT_NEAR(s.angle.to_degrees(), -0.5f * dt, 1e-3) << dt;
        EXPECT_EQ(s.dir_x, 1.0f) << "spinning leaves the direction";
    }
}

TEST_F(Behaviours, ArcWithoutEasingAtAgeZeroTakesTheAfterEasingBranch) {
    Behaviour_Arc arc(play_field, 0.0f, 1.0f);
    Bullet b = moving(200, 200, 1, 0, 0.1f);
    b.param1 = 10.0f;
    EXPECT_TRUE(arc.update(b, 0.0f));
    EXPECT_FALSE(std::isnan(b.x));
    EXPECT_FALSE(std::isnan(b.angle.to_radians()));
    EXPECT_NEAR(b.angle.to_degrees(), 10.0f, 1e-4);
}

TEST_F(Behaviours, ArcEasesFromItsFactor) {
    Behaviour_Arc arc(play_field, 100.0f, 2.0f);
    Bullet b = moving(200, 200, 1, 0, 0.1f);
    b.param1 = 1.0f;
    step(arc, b, 50.0f);  // k = 0.5: turn 1.5 degrees, speed 0.15
    EXPECT_NEAR(b.angle.to_degrees(), 1.5f, 1e-4);
    EXPECT_NEAR(b.prev_x + 0.15f * 50.0f * std::cos(1.5f * sdk::pi / 180.0f), b.x, 1e-3);
}

TEST_F(Behaviours, Controlled1ReleasedAtOnceMakesNoMove) {
    Behaviour_Controlled1 c(play_field);
    Pattern* p = start_pattern(99999000, nullptr, 0, 0);
    p->trigger = 1;
    Bullet b = moving(200, 200, 1, 0, 0.1f);
    b.owner = p;
    b.aux_x = 0.0f;
    b.aux_y = -1.0f;
    b.param1 = 0.4f;
    step(c, b, 16.0f);
    EXPECT_EQ(b.x, 200.0f);
    EXPECT_EQ(b.y, 200.0f);
    EXPECT_EQ(b.spawner, 2);
    EXPECT_FLOAT_EQ(b.speed, 0.4f);
    EXPECT_NEAR(b.angle.to_degrees(), 270.0f, 1e-3);
    step(c, b, 10.0f);
    EXPECT_NEAR(b.y, 196.0f, 1e-4);
}

TEST_F(Behaviours, Controlled1HoldsAfterItsHoldTime) {
    Behaviour_Controlled1 c(play_field);
    Pattern* p = start_pattern(99999000, nullptr, 0, 0);
    Bullet b = moving(200, 200, 1, 0, 0.1f);
    b.owner = p;
    b.param2 = 20.0f;
    step(c, b, 16.0f);
    EXPECT_NEAR(b.x, 201.6f, 1e-4);
    step(c, b, 16.0f);
    EXPECT_EQ(b.speed, 0.0f);
    EXPECT_NEAR(b.x, 201.6f, 1e-4);
}

TEST_F(Behaviours, PlayerBullet2LeavesTheSpiralAlongItsTangent) {
    Behaviour_Player_Bullet2 pb(play_field, 90.0f, 2.0f);
    Bullet b = moving(0, 0, 0, 0, 100.0f);  // 100 px/s
    b.aux_x = 200.0f;
    b.aux_y = 300.0f;
    b.param1 = 90.0f;  // degrees per second
    b.param2 = 0.0f;
    step(pb, b, 500.0f);  // sweep 45 degrees, radius 50
    EXPECT_EQ(b.alive, 1);
    EXPECT_NEAR(b.x, 200.0f + 50.0f * std::cos(sdk::pi / 4), 1e-3);
    EXPECT_NEAR(b.y, 300.0f + 50.0f * std::sin(sdk::pi / 4), 1e-3);
    step(pb, b, 700.0f);  // age 1200: the sweep passed 90 at 1000 ms
    EXPECT_EQ(b.alive, 2);
    // End point of the spiral (r = 100 at 90 degrees), then 200 ms straight
    // on at 2 x 100 px/s along theta = 90 degrees + atan(pi / 2).
    float theta = sdk::pi / 2 + std::atan(sdk::pi / 2);
    EXPECT_NEAR(b.x, 200.0f + 40.0f * std::cos(theta), 1e-2);
    EXPECT_NEAR(b.y, 400.0f + 40.0f * std::sin(theta), 1e-2);
    float x = b.x;
    step(pb, b, 100.0f);
    EXPECT_NEAR(b.x - x, 20.0f * std::cos(theta), 1e-2);
}

TEST_F(Behaviours, ArcPolarCirclesItsPatternOrigin) {
    Behaviour_Arc_Polar ap(play_field, 1000.0f, 2.0f);
    Pattern* p = start_pattern(100000005, nullptr, 150.0f, 250.0f);
    Bullet b = moving(150, 250, 0, 0, 100.0f);
    b.owner = p;
    b.param1 = 90.0f;
    b.param2 = 0.0f;
    step(ap, b, 1000.0f);
    EXPECT_NEAR(b.x, 150.0f, 1e-3);
    EXPECT_NEAR(b.y, 350.0f, 1e-3);
    step(ap, b, 500.0f);  // r = (100 + 500 x 100 x 2 / 1000) = 200 at 135 degrees
    EXPECT_NEAR(b.x, 150.0f + 200.0f * std::cos(0.75f * sdk::pi), 1e-2);
    EXPECT_NEAR(b.y, 250.0f + 200.0f * std::sin(0.75f * sdk::pi), 1e-2);
    sdk::Vec2f d(b.dir_x, b.dir_y);
    EXPECT_NEAR(d.length(), 1.0f, 1e-4);
}

TEST_F(Behaviours, SpeedProfiles) {
    Behaviour_Simple2 s2(play_field, 300.0f);
    Bullet a = moving(100, 100, 1, 0, 0.1f);
    a.param1 = 0.4f;      // start speed
    step(s2, a, 150.0f);  // halfway: 0.25
    EXPECT_NEAR(a.x, 100.0f + 0.25f * 150.0f, 1e-3);

    Behaviour_Simple3 s3(play_field, -0.00001f, 0.03f);
    Bullet b = moving(100, 100, 1, 0, 0.031f);
    step(s3, b, 1000.0f);
    EXPECT_FLOAT_EQ(b.speed, 0.03f) << "never below the limit";

    Behaviour_Timed t(play_field);
    Bullet c = moving(100, 100, 1, 0, 0.0f);
    c.param1 = 0.2f;
    c.param2 = 10.0f;
    step(t, c, 16.0f);
    EXPECT_NEAR(c.x, 103.2f, 1e-4);

    Behaviour_Arc_Line al(play_field, 500.0f, 1.2f);
    Bullet d = moving(100, 100, 1, 0, 0.1f);
    d.param1 = 0.0f;
    d.age = 500.0f;
    step(al, d, 10.0f);
    EXPECT_NEAR(d.x, 101.2f, 1e-4);
}

TEST_F(Behaviours, LaserLivesForItsLifetime) {
    Behaviour_Lazor l(play_field);
    Bullet b = moving(900, 900, 0, 0, 0);  // far outside: no inside test
    b.param1 = 40.0f;
    EXPECT_TRUE(l.update(b, 16.0f));
    EXPECT_TRUE(l.update(b, 16.0f));
    EXPECT_FALSE(l.update(b, 16.0f));
    EXPECT_EQ(b.x, 900.0f);
}

}  // namespace
