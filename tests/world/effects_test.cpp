#include <cmath>

#include "sdk/core/random.h"
#include "world/effect_behaviours.h"
#include "world_fixture.h"

namespace {

class Effects : public World_Test {};

TEST_F(Effects, ScoreFloatEndsAfterItsLifetime) {
    Effect e;
    e.speed = 1000.0f;
    e.behaviour = get_effect_behaviour("score_float");
    effect_pool.add(e);
    for (int i = 0; i < 62; ++i) effect_pool.update(16.0f);  // age 992
    EXPECT_EQ(effect_pool.size(), 1u);
    effect_pool.update(16.0f);  // age 1008
    EXPECT_EQ(effect_pool.size(), 0u);
}

TEST_F(Effects, GravityBendsOnlyTheDirection) {
    Effect_Behaviour_Grav g(0.01);
    Effect up;
    up.dir_y = -1.0f;
    up.speed = 0.2f;
    for (float dt : {1.0f, 16.0f, 99.0f}) {
        g.update(up, dt);
        EXPECT_FLOAT_EQ(up.dir_x, 0.0f);
        EXPECT_FLOAT_EQ(up.dir_y, -1.0f) << "a vertical flight does not bend below 100 ms";
    }
    Effect side;
    side.dir_x = std::sqrt(0.5f);
    side.dir_y = -std::sqrt(0.5f);
    side.speed = 0.2f;
    g.update(side, 16.0f);
    EXPECT_GT(side.dir_y, -std::sqrt(0.5f))
        << "flying up and sideways turns towards the horizontal";
    EXPECT_NEAR(std::hypot(side.dir_x, side.dir_y), 1.0f, 1e-5);
    EXPECT_FLOAT_EQ(side.speed, 0.2f);

    Effect still;
    still.dir_x = 1.0f;
    still.speed = 0.0f;
    g.update(still, 16.0f);
    EXPECT_EQ(still.dir_x, 0.0f);
    EXPECT_EQ(still.dir_y, 0.0f);
}

TEST_F(Effects, FlyoffMovesAndStayStillAges) {
    Effect_Behaviour_Flyoff f;
    Effect_Behaviour_Stay_Still s;
    Effect e;
    e.x = 10.0f;
    e.dir_x = 1.0f;
    e.speed = 0.5f;
    f.update(e, 10.0f);
    EXPECT_FLOAT_EQ(e.x, 15.0f);
    s.update(e, 10.0f);
    EXPECT_FLOAT_EQ(e.x, 15.0f);
    EXPECT_FLOAT_EQ(e.age, 20.0f);
}

TEST_F(Effects, ShotHitParticles) {
    Bullet b = enemy_bullet(100, 200, 0, -1);
    b.speed = 0.8f;
    b.colour = 6;
    spawn_shot_hit_particles(b, 54);
    sdk::random_seed(1234);
    int r1 = sdk::rand(), r2 = sdk::rand(), r3 = sdk::rand();
    sdk::random_seed(1234);
    spawn_shot_hit_particles(b, 3);
    ASSERT_EQ(effect_pool.size(), 2u);
    const Effect& spark = effect_pool[0];
    EXPECT_EQ(name_of(spark.appearance), "player_bullet_hit7");
    EXPECT_EQ(spark.behaviour, get_effect_behaviour("effect_stay_still"));
    EXPECT_EQ(spark.kind, 6);
    EXPECT_FLOAT_EQ(spark.speed, 0.8f);
    const Effect& p = effect_pool[1];
    EXPECT_EQ(name_of(p.appearance), "particle_small");
    EXPECT_EQ(p.behaviour, get_effect_behaviour("effect_flyoff"));
    EXPECT_EQ(p.kind, 3);
    EXPECT_FLOAT_EQ(p.speed, static_cast<float>(r1 % 100) / 200.0f * 0.8f);
    float heading = (270.0f + 180.0f + static_cast<float>(r2 % 100 - 50)) * sdk::pi / 180.0f;
    EXPECT_NEAR(p.dir_x, std::cos(heading), 1e-4);
    EXPECT_NEAR(p.dir_y, std::sin(heading), 1e-4);
    EXPECT_FLOAT_EQ(p.scale, static_cast<float>(r3 % 100) / 200.0f + 0.5f);
}

}  // namespace
