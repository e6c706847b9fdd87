#include "world/enemy_lists.h"
#include "world_fixture.h"

namespace {

using ::testing::ElementsAre;

class Player_Shots : public Pattern_Test {
protected:
    void SetUp() override {
        Pattern_Test::SetUp();
        descriptor(100000);
        Player& p = player;
        p.shot1_interval = 50.0f;
        p.shot1_bullets = 1;
        p.shot1_speed = 0.5f;
        p.shot1_damage = 10;
        p.shot2_speed = 0.6f;
        p.shot2_damage = 20;
        p.shot2_interval = 30.0f;
        p.shot2_startpower = 16;
        p.shot2_steppower = 10;
        p.shot3_speed = 0.7f;
        p.shot3_damage = 5;
        p.shot3_angle_speed = 45.0f;
        p.shot3_bullets = 6;
        p.shot4_speed = 0.9f;
        p.shot4_damage = 30;
        enemy_lists.active.clear();
        enemy_lists.active_count = 0;
    }
    Pattern* fire(int32_t code) {
        return start_pattern(code, player.emitter.get(), player.x, player.y);
    }
    // Positions rounded to 1/100 pixel.
    std::vector<sdk::Pointf> positions() {
        std::vector<sdk::Pointf> p;
        for (const Bullet& b : bullet_pool)
            p.push_back({std::round(b.x * 100) / 100, std::round(b.y * 100) / 100});
        return p;
    }
};

TEST_F(Player_Shots, UnfocusedVolleyGrowsWithPower) {
    player.power = 31;
    fire(100000001);
    update_patterns(0.0001f);
    EXPECT_THAT(positions(), ElementsAre(sdk::Pointf(191, 418), sdk::Pointf(209, 418)));
    EXPECT_EQ(bullet_pool[0].appearance, bullet_look("player_bullet1"));
    EXPECT_FLOAT_EQ(bullet_pool[0].radius, 8.0f);
    EXPECT_EQ(bullet_pool[0].damage, 10);
    EXPECT_EQ(bullet_pool[0].layer, 0);
    EXPECT_EQ(bullet_pool[0].colour, 6);
    EXPECT_FLOAT_EQ(bullet_pool[0].dir_y, -1.0f);

    bullet_pool.reset();
    player.power = 32;
    fire(100000001);
    update_patterns(0.0001f);
    EXPECT_THAT(positions(), ElementsAre(sdk::Pointf(180, 425), sdk::Pointf(220, 425),
                                         sdk::Pointf(191, 418), sdk::Pointf(209, 418)));

    bullet_pool.reset();
    player.power = 128;
    fire(100000001);
    update_patterns(0.0001f);
    ASSERT_EQ(bullet_pool.size(), 11u);
    EXPECT_EQ(bullet_pool[0].appearance, bullet_look("player_bullet2"));
    EXPECT_FLOAT_EQ(bullet_pool[0].radius, 6.0f);
    EXPECT_EQ(bullet_pool[0].damage, 5);
    EXPECT_NEAR(bullet_pool[0].y, 413.0f, 1e-3);
}

TEST_F(Player_Shots, FocusedShotByPower) {
    player.focus = 1;
    struct Case {
        int32_t power;
        const char* look;
        float radius;
        int32_t damage;
    } cases[] = {
        {128, "player_bullet_focus5", 36, 66}, {100, "player_bullet_focus4", 31, 57},
        {64, "player_bullet_focus3", 29, 48},  {32, "player_bullet_focus2", 26, 39},
        {31, "player_bullet_focus1", 24, 20},
    };
    for (const auto& c : cases) {
        bullet_pool.reset();
        player.power = c.power;
        fire(100000001);
        update_patterns(0.0001f);
        ASSERT_EQ(bullet_pool.size(), 1u) << c.power;
        const Bullet& b = bullet_pool[0];
        EXPECT_EQ(b.appearance, bullet_look(c.look)) << c.power;
        EXPECT_FLOAT_EQ(b.radius, c.radius) << c.power;
        EXPECT_EQ(b.damage, c.damage) << c.power;
        EXPECT_NEAR(b.x, 200.0f, 1e-3);
        EXPECT_NEAR(b.y, 398.0f, 1e-3);
    }
}

TEST_F(Player_Shots, MainShotEndsAfterItsVolleysOrOnDeath) {
    player.shot1_bullets = 0;
    fire(100000001);
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
    EXPECT_TRUE(active_patterns.empty());

    player.shot1_bullets = 3;
    fire(100000001);
    player.dying = 1;
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Player_Shots, LateVolleyIsAdvancedByItsLateness) {
    player.shot1_bullets = 2;
    player.shot1_interval = 10.0f;
    fire(100000001);
    update_patterns(22.0f);  // volley 1 fired 12 ms late
    ASSERT_EQ(bullet_pool.size(), 4u);
    EXPECT_NEAR(bullet_pool[0].y, 418.0f - 0.5f * 22.0f, 1e-3);
    EXPECT_NEAR(bullet_pool[2].y, 418.0f - 0.5f * 12.0f, 1e-3);
    EXPECT_TRUE(active_patterns.empty());
    EXPECT_EQ(sink.count("player_shot"), 0) << "the shot clock has not passed 70 ms";
}

TEST_F(Player_Shots, HomingVolleysCountByPower) {
    struct Case {
        int32_t power;
        int32_t step;
        uint32_t volleys;
    } cases[] = {{16, 10, 1}, {36, 10, 3}, {15, 10, 0}, {40, 0, 0}};
    for (const auto& c : cases) {
        clear_patterns();
        bullet_pool.reset();
        player.power = c.power;
        player.shot2_steppower = c.step;
        fire(100000002);
        update_patterns(1000.0f);
        EXPECT_EQ(bullet_pool.size(), 3 * c.volleys) << c.power;
        EXPECT_TRUE(active_patterns.empty()) << c.power;
    }
}

// The count's difference of powers is unsigned: a start power of INT32_MIN
// gives billions of volleys (the pattern runs on), never a signed overflow.
TEST_F(Player_Shots, HomingVolleysOfTheLowestStartPowerRunOn) {
    player.power = 10;
    player.shot2_startpower = INT32_MIN;
    player.shot2_steppower = 1;
    fire(100000002);
    update_patterns(1000.0f);
    EXPECT_GT(bullet_pool.size(), 0u);
    EXPECT_EQ(active_patterns.size(), 1u);
}

TEST_F(Player_Shots, HomingVolleyWithoutEnemiesFliesStraightUp) {
    player.power = 16;
    fire(100000002);
    update_patterns(0.0001f);
    ASSERT_EQ(bullet_pool.size(), 3u);
    EXPECT_THAT(positions(),
                ElementsAre(sdk::Pointf(200, 376), sdk::Pointf(176, 400), sdk::Pointf(224, 400)));
    EXPECT_NEAR(bullet_pool[0].dir_y, -1.0f, 1e-5);
    EXPECT_NEAR(bullet_pool[1].dir_x, std::sin(-5.0f * sdk::pi / 180.0f), 1e-4) << "turned up-left";
    EXPECT_EQ(bullet_pool[0].appearance, bullet_look("player_bullet2"));
    EXPECT_FLOAT_EQ(bullet_pool[0].radius, 30.0f);
}

TEST_F(Player_Shots, HomingVolleyAimsAtTheNearestEnemy) {
    enemy_lists.active.push_back(owner);  // at (200, 100)
    enemy_lists.active_count = 1;
    player.power = 16;
    fire(100000002);
    update_patterns(0.0001f);
    EXPECT_NEAR(bullet_pool[0].dir_x, 0.0f, 1e-5);
    EXPECT_NEAR(bullet_pool[0].dir_y, -1.0f, 1e-5);
    enemy_lists.active.clear();
    enemy_lists.active_count = 0;
}

TEST_F(Player_Shots, OrbitingRing) {
    fire(100000005);
    update_patterns(16.0f);
    EXPECT_THAT(headings(), ElementsAre(DegreesNear(0), DegreesNear(60), DegreesNear(120),
                                        DegreesNear(180), DegreesNear(240), DegreesNear(300)));
    ASSERT_EQ(bullet_pool.size(), 6u);
    EXPECT_FLOAT_EQ(bullet_pool[0].param1, 45.0f);
    EXPECT_FLOAT_EQ(bullet_pool[1].param1, -45.0f);
    EXPECT_FLOAT_EQ(bullet_pool[2].param1, 45.0f);
    EXPECT_FLOAT_EQ(bullet_pool[3].param2, 180.0f);
    EXPECT_EQ(bullet_pool[0].behaviour, get_behaviour("bullet_arc_polar_player1"));
    EXPECT_EQ(bullet_pool[0].appearance, bullet_look("bullet_pike1"));
    EXPECT_EQ(effect_pool.size(), 6u);
    EXPECT_EQ(name_of(effect_pool[0].appearance), "enemy_shot100");
    ASSERT_EQ(sink.count("enemy_shot3"), 1);
    EXPECT_FLOAT_EQ(sink.factors.back(), 0.5f);
    Pattern* p = bullet_pool[0].owner;
    EXPECT_EQ(p->live_spawners, 6);
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 6u) << "fires once";
    bullet_pool.cancel_all(0);  // player bullets are not cancelled
    bullet_pool.reset();
    update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty());

    player.shot3_bullets = 7;  // 360 / 7 = 51 in whole degrees: eight bullets
    fire(100000005);
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 8u);
    EXPECT_THAT(bullet_pool[7].angle.to_degrees(), DegreesNear(357.0f));
}

TEST_F(Player_Shots, RingCountsWithoutAStepFireNothing) {
    for (int32_t n : {0, -4, 361}) {
        clear_patterns();
        bullet_pool.reset();
        player.shot3_bullets = n;
        fire(100000005);
        update_patterns(16.0f);
        EXPECT_EQ(bullet_pool.size(), 0u) << n;
        EXPECT_TRUE(active_patterns.empty()) << n;
    }
}

TEST_F(Player_Shots, OtherPlayerCodesFireNothing) {
    fire(100000003);
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
}

}  // namespace
