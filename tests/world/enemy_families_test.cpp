#include "world/pattern_families.h"
#include "world_fixture.h"

namespace {

using ::testing::ElementsAre;

class Families : public Pattern_Test {
protected:
    std::vector<float> speeds() {
        std::vector<float> s;
        for (const Bullet& b : bullet_pool) s.push_back(b.speed);
        return s;
    }
};

TEST_F(Families, SingleAimedShotAfterItsDelay) {
    Pattern& d = descriptor(3);
    d.time1 = 50.0f;
    d.time2 = 40.0f;
    d.speed = 0.1f;
    d.effect = "shot1";
    start(3047);
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
    ASSERT_EQ(effect_pool.size(), 1u);
    EXPECT_EQ(effect_pool[0].kind, 7) << "flash colour code mod 20";
    EXPECT_EQ(sink.count("enemy_shot1"), 1);
    for (int i = 0; i < 3; ++i) update_patterns(16.0f);  // timer 64 > 50
    ASSERT_EQ(bullet_pool.size(), 1u);
    const Bullet& b = bullet_pool[0];
    EXPECT_NEAR(b.y, 100.0f + 0.1f * (64.0f - 40.0f), 1e-3) << "caught up by timer - time2";
    EXPECT_NEAR(b.dir_y, 1.0f, 1e-5);
    EXPECT_NEAR(b.angle.to_degrees(), 90.0f, 1e-3);
    EXPECT_EQ(b.colour, 7);
    EXPECT_EQ(b.layer, 1);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, AimedColumn) {
    Pattern& d = descriptor(30);
    d.bullet_number = 5;
    d.speed = 0.1f;
    d.param1 = 0.2f;
    d.time2 = 1.0f;
    start(30000);
    update_patterns(1.0f);  // over = 0
    ASSERT_EQ(bullet_pool.size(), 5u);
    const float want_speed[] = {0.10f, 0.11f, 0.12f, 0.13f, 0.14f};
    const float want_p1[] = {0.2f, 0.2667f, 0.3333f, 0.4f, 0.4667f};
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_NEAR(bullet_pool[i].speed, want_speed[i], 1e-5);
        EXPECT_NEAR(bullet_pool[i].param1, want_p1[i], 1e-4);
        EXPECT_FLOAT_EQ(bullet_pool[i].x, 200.0f) << "one line";
    }
    EXPECT_EQ(effect_pool.size(), 0u) << "no flash without a flash name";
}

TEST_F(Families, RingOfColumns) {
    Pattern& d = descriptor(100);
    d.pattern_param1 = 10.0f;
    d.pattern_param2 = 8.0f;
    d.bullet_number = 3;
    d.speed = 0.1f;
    d.time1 = 0.05f;
    d.effect = "shot2";
    start(100000);
    update_patterns(16.0f);
    ASSERT_EQ(bullet_pool.size(), 24u);
    for (uint32_t k = 0; k < 8; ++k)
        for (uint32_t i = 0; i < 3; ++i) {
            const Bullet& b = bullet_pool[k * 3 + i];
            EXPECT_THAT(b.angle.to_degrees(), DegreesNear(10.0f + 45.0f * k));
            EXPECT_NEAR(b.speed, 0.1f + 0.05f * i, 1e-5);
        }
    EXPECT_EQ(effect_pool.size(), 8u);
    EXPECT_NEAR(effect_pool[0].x, 200.0f + 2.0f * std::cos(10.0f * sdk::pi / 180.0f), 1e-4);
    EXPECT_EQ(sink.count("enemy_shot2"), 1);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, DelayedRingFlashesThenFires) {
    Pattern& d = descriptor(150);
    d.bullet_number = 4;
    d.pattern_param2 = 30.0f;
    d.time1 = 20.0f;
    d.effect = "shot5";
    d.effect_index = 9;
    start(150000);
    update_patterns(16.0f);
    EXPECT_EQ(effect_pool.size(), 4u);
    EXPECT_EQ(effect_pool[0].kind, 9);
    EXPECT_EQ(bullet_pool.size(), 0u);
    update_patterns(16.0f);
    ASSERT_EQ(bullet_pool.size(), 4u);
    EXPECT_NEAR(bullet_pool[1].x, 200.0f, 1e-4);
    EXPECT_NEAR(bullet_pool[1].y, 130.0f, 1e-4);
    EXPECT_EQ(sink.count("enemy_shot2"), 1);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, CirclingStreamShootsFromTheCircle) {
    Pattern& d = descriptor(200);
    d.time1 = 100.0f;
    d.bullet_number = 2;
    d.pattern_param1 = 20.0f;
    d.pattern_speed = 0.5f;  // degrees per ms
    start(200000);
    update_patterns(180.0f);  // h = 90: both shots from (200, 120)
    ASSERT_EQ(bullet_pool.size(), 2u);
    EXPECT_NEAR(bullet_pool[0].x, 200.0f, 1e-3);
    EXPECT_NEAR(bullet_pool[0].y, 120.0f, 1e-3);
    // The sound timer grows by dt per shot: both shots of the long frame sound.
    EXPECT_EQ(sink.count("enemy_shot1"), 2);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, RotatingSpreadVolleyAngles) {
    Pattern& d = descriptor(350);
    d.time1 = 100.0f;
    d.time2 = 150.0f;
    d.bullet_number = 4;
    d.pattern_param1 = 30.0f;
    d.pattern_param2 = 10.0f;
    d.pattern_param3 = 60.0f;
    d.pattern_speed = 5.0f;
    start(350000);
    update_patterns(1.0f);    // volley 0: A = 30
    update_patterns(100.0f);  // volley 1: A = 35
    update_patterns(60.0f);   // timer 161 > time2: ends
    ASSERT_EQ(bullet_pool.size(), 8u);
    EXPECT_THAT(headings(), ElementsAre(DegreesNear(7.5f), DegreesNear(22.5f), DegreesNear(37.5f),
                                        DegreesNear(52.5f), DegreesNear(12.5f), DegreesNear(27.5f),
                                        DegreesNear(42.5f), DegreesNear(57.5f)));
    const Bullet& b = bullet_pool[0];
    EXPECT_NEAR(b.x, 200.0f + 10.0f * std::cos(7.5f * sdk::pi / 180.0f), 1e-3);
    EXPECT_EQ(sink.count("enemy_shot3"), 2);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, SideSpreadOrder) {
    Pattern& d = descriptor(400);
    d.pattern_param1 = 2.0f;
    d.pattern_param2 = 10.0f;
    d.bullet_number = 1;
    d.speed = 0.1f;
    d.param1 = 0.3f;
    // Heading right: B = 0 - 90 = -90, sin < 0, so B = 90.
    owner->dir_x = 1.0f;
    owner->dir_y = 0.0f;
    start(400000);
    update_patterns(16.0f);
    EXPECT_THAT(headings(), ElementsAre(DegreesNear(110), DegreesNear(70), DegreesNear(100),
                                        DegreesNear(80), DegreesNear(90)));
    for (const Bullet& b : bullet_pool) {
        EXPECT_FLOAT_EQ(b.param1, 0.3f);
        EXPECT_NEAR(b.dir_x, std::cos(b.angle.to_radians()), 1e-5);
    }
}

TEST_F(Families, FixedTargetStreamKeepsThePlayersStartPosition) {
    Pattern& d = descriptor(450);
    d.time1 = 10.0f;
    d.bullet_number = 2;
    start(450000);
    update_patterns(5.0f);
    player.x = 50.0f;  // moves away; the stream keeps its aim
    update_patterns(10.0f);
    ASSERT_EQ(bullet_pool.size(), 2u);
    EXPECT_NEAR(bullet_pool[1].dir_x, 0.0f, 1e-5);
    EXPECT_NEAR(bullet_pool[1].dir_y, 1.0f, 1e-5);
}

TEST_F(Families, AimedFan) {
    Pattern& d = descriptor(550);
    d.time1 = 100.0f;
    d.bullet_number = 1;
    d.pattern_param1 = 60.0f;
    d.pattern_param2 = 3.0f;
    d.pattern_param3 = 5.0f;
    start(550000);
    update_patterns(1.0f);
    EXPECT_THAT(headings(), ElementsAre(DegreesNear(60), DegreesNear(90), DegreesNear(120)));
    EXPECT_NEAR(bullet_pool[1].y, 105.0f, 1e-3);
}

TEST_F(Families, LaserBeam) {
    Pattern& d = descriptor(600);
    d.pattern_param1 = 90.0f;
    d.pattern_param2 = 30.0f;
    d.param1 = 500.0f;  // lifetime
    d.behaviour = get_behaviour("bullet_lazor1");
    start(600013);
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
    update_patterns(16.0f);
    ASSERT_EQ(bullet_pool.size(), 1u);
    const Bullet& b = bullet_pool[0];
    EXPECT_FLOAT_EQ(b.prev_x, 200.0f);
    EXPECT_FLOAT_EQ(b.prev_y, 100.0f);
    EXPECT_NEAR(b.y, 900.0f, 1e-3);
    EXPECT_NEAR(b.aux_y, 500.0f, 1e-3);
    EXPECT_EQ(b.appearance, bullet_look("bullet_lazor1"));
    EXPECT_EQ(b.damage, 120);
    EXPECT_FLOAT_EQ(b.radius, 8.0f);
    EXPECT_EQ(b.colour, 13);
    EXPECT_EQ(b.keep_prev, 1);
    EXPECT_EQ(b.owner, nullptr);
    EXPECT_EQ(effect_pool.size(), 0u) << "no flash";
    // The swept test covers the whole beam.
    player.x = player.prev_x = 200.0f;
    player.y = player.prev_y = 300.0f;
    EXPECT_EQ(bullet_pool.check_player_hit(), 120);
    bullet_pool.reset();
    update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, SplittingSpawners) {
    Pattern& d = descriptor(10200);
    d.param1 = 10.0f;  // interval
    d.bullet_number = 3;
    d.pattern_param1 = 15.0f;
    d.pattern_param2 = 0.5f;
    d.pattern_param3 = 4.0f;
    d.time1 = 50.0f;
    d.speed = 0.0f;
    d.start_param1 = 100.0f;
    start(10200000);
    update_patterns(25.0f);
    ASSERT_EQ(bullet_pool.size(), 3u);
    Pattern* p = bullet_pool[0].owner;
    EXPECT_EQ(p->live_spawners, 3);
    EXPECT_NEAR(p->time2, sdk::pi / 2, 1e-5) << "the aim angle in radians";
    const int children[] = {1, 2, 2};
    for (uint32_t k = 0; k < 3; ++k) {
        const Bullet& b = bullet_pool[k];
        EXPECT_EQ(b.child_count, children[k]);
        EXPECT_FLOAT_EQ(b.param2, 100.0f - 20.0f * k);
        EXPECT_EQ(b.spawner, 1);
        EXPECT_EQ(b.die_after_spawn, 1);
        EXPECT_NEAR(b.y, 104.0f, 1e-4);
    }
    EXPECT_FLOAT_EQ(bullet_pool[1].spawn_table[0], 0.5f * 0.6f);
    EXPECT_NEAR(bullet_pool[1].spawn_table[1], 105.0f, 1e-3);
    EXPECT_NEAR(bullet_pool[1].spawn_table[8], 75.0f, 1e-3);
    EXPECT_FLOAT_EQ(bullet_pool[2].spawn_table[0], 0.5f * 1.0f);
    EXPECT_NEAR(bullet_pool[2].spawn_table[1], 120.0f, 1e-3);
    EXPECT_NEAR(bullet_pool[2].spawn_table[8], 60.0f, 1e-3);
    EXPECT_EQ(sink.count("enemy_shot1"), 3);
    update_patterns(30.0f);  // timer 55 > time1: the split is called
    EXPECT_EQ(p->trigger, 1);
    bullet_pool.update(16.0f);
    EXPECT_EQ(bullet_pool.size(), 5u) << "three spawners became five children";
    EXPECT_EQ(p->live_spawners, 0);
    update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, RotatingHalfCircleVolley) {
    Pattern& d = descriptor(20100);
    d.time1 = 10.0f;
    d.time2 = 100.0f;
    d.bullet_number = 3;
    d.pattern_param5 = 90.0f;
    d.pattern_speed = 1000.0f;
    start(20100000);
    update_patterns(16.0f);
    EXPECT_THAT(headings(), ElementsAre(DegreesNear(45), DegreesNear(90), DegreesNear(135)));
    for (int i = 0; i < 10; ++i) update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty()) << "ends after time2 + time1";
}

TEST_F(Families, SideRings) {
    Pattern& d = descriptor(20200);
    d.time1 = 100.0f;
    d.bullet_number = 1;
    d.pattern_param1 = 0.0f;
    d.pattern_param2 = 4.0f;
    d.pattern_param3 = 0.0f;
    d.pattern_param4 = 30.0f;
    start(20200000);
    update_patterns(1.0f);
    EXPECT_THAT(headings(),
                ElementsAre(DegreesNear(0), DegreesNear(90), DegreesNear(180), DegreesNear(270)));
    EXPECT_NEAR(bullet_pool[0].x, 230.0f, 1e-3);
    EXPECT_EQ(sink.count("enemy_shot2"), 1);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Families, HighFamiliesFireNothingAndWaitForTheirOwner) {
    descriptor(20300);
    start(20300000);
    start(99999999);
    for (int i = 0; i < 10; ++i) update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
    EXPECT_EQ(active_patterns.size(), 2u);
    owner->alive = 0;
    update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty());
}

// Counts that make an angle step zero, negative or infinite fire nothing and
// end the pattern at its first update (instead of dividing by zero or
// stepping away from 360 without end).
TEST_F(Families, CountsWithoutAValidStepFireNothing) {
    struct Case {
        int32_t family;
        int32_t bullet_number;
        float pattern_param2;
    } cases[] = {
        {100, 3, 0.0f},    {100, 3, -8.0f},   {150, 0, 10.0f},  {150, -3, 10.0f},  {550, 1, 0.0f},
        {20100, -1, 0.0f}, {20100, -5, 0.0f}, {20200, 1, 0.0f}, {20200, 1, -2.0f},
    };
    for (const auto& c : cases) {
        clear_patterns();
        bullet_pool.reset();
        Pattern& d = descriptor(c.family);
        d.bullet_number = c.bullet_number;
        d.pattern_param2 = c.pattern_param2;
        d.time1 = 1.0f;
        d.time2 = 1000.0f;
        start(c.family * 1000);
        update_patterns(16.0f);
        EXPECT_EQ(bullet_pool.size(), 0u)
            << c.family << " " << c.bullet_number << " " << c.pattern_param2;
        EXPECT_TRUE(active_patterns.empty())
            << c.family << " " << c.bullet_number << " " << c.pattern_param2;
    }
}

// Any i32 count loads: a ring of INT32_MAX directions (whose angle step is
// too small to move a float angle on) fires at most one update's shots, the
// counts whose neighbour an i32 cannot hold still give their step, and the
// families that fire count x directions at once stop making bullets once the
// pool is full: hundreds of millions of them would only be dropped, so the
// pool refuses none.
TEST_F(Families, CountsAtTheEndsOfAnInt32StayBounded) {
    struct Case {
        int32_t family;
        int32_t bullet_number;
        float pattern_param1 = 0.0f;
        float pattern_param2 = 0.0f;
    } cases[] = {{150, INT32_MAX},
                 {20100, INT32_MAX},
                 {10200, INT32_MIN},
                 {400, INT32_MAX, 1e9f},
                 {100, INT32_MAX, 0.0f, 20000.0f}};  // 20000 directions 0.018 degrees apart
    for (const auto& c : cases) {
        clear_patterns();
        bullet_pool.reset();
        Pattern& d = descriptor(c.family);
        d.bullet_number = c.bullet_number;
        d.pattern_param1 = c.pattern_param1;
        d.pattern_param2 = c.pattern_param2;
        d.time1 = 1.0f;
        d.time2 = 1000.0f;
        d.param1 = 1.0f;
        d.pattern_speed = 100.0f;
        start(c.family * 1000);
        const uint32_t refused = bullet_pool.dropped();
        update_patterns(16.0f);
        EXPECT_GT(bullet_pool.size(), 0u) << c.family;
        EXPECT_LE(bullet_pool.size(), max_shots_per_update) << c.family;
        EXPECT_EQ(bullet_pool.dropped() - refused, 0u) << c.family;
    }
}

// A zero interval fires a whole update's shots (and a huge count keeps it
// doing so every update); each shot of the volley families is a volley.
// Once the pool is full the shots go on, counted, flashed and sounded, but
// make no bullet the pool would refuse: the work of an update stays that of
// the pool's bullets and the shots, not their product.
TEST_F(Families, ZeroIntervalVolleysIntoAFullPoolMakeNoBullets) {
    struct Case {
        int32_t family;
        int32_t bullet_number;
        float pattern_param2;  // the rings' and fans' bullets per volley
    } cases[] = {
        {350, 2000, 12.0f}, {300, -1, 0.0f},      {500, -1, 0.0f},     {550, -1, 1000.0f},
        {10200, -1, 0.0f},  {20100, 20000, 0.0f}, {20200, -1, 500.0f},
    };
    for (const auto& c : cases) {
        clear_patterns();
        bullet_pool.reset();
        effect_pool.reset();
        Pattern& d = descriptor(c.family);
        d.bullet_number = c.bullet_number;
        d.pattern_param2 = c.pattern_param2;
        d.pattern_param3 = 360.0f;
        d.time1 = 0.0f;
        d.time2 = 4000.0f;
        d.param1 = 0.0f;  // the spawners' interval
        d.pattern_speed = 0.0f;
        start(c.family * 1000);
        const uint32_t refused = bullet_pool.dropped();
        for (int f = 0; f < 2; ++f) update_patterns(16.0f);
        EXPECT_EQ(bullet_pool.size(), Bullet_Pool::capacity) << c.family;
        EXPECT_EQ(bullet_pool.dropped() - refused, 0u) << c.family;
        EXPECT_EQ(active_patterns.size(), 1u) << c.family << " runs on";
    }
}

TEST_F(Families, ZeroIntervalWithAHugeCountStaysBounded) {
    Pattern& d = descriptor(300);
    d.time1 = 0.0f;
    d.bullet_number = -1;  // compares as a huge unsigned count
    start(300000);
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), Bullet_Pool::capacity);
    EXPECT_EQ(active_patterns.size(), 1u) << "runs on until its owner goes";
}

}  // namespace
