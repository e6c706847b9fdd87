#include "world_fixture.h"

namespace {

using ::testing::ElementsAre;

class Engine : public Pattern_Test {};

TEST_F(Engine, PatternsGetConsecutiveIdsAndRunInStartOrder) {
    Pattern& d = descriptor(500);
    d.time1 = 10.0f;
    d.bullet_number = 1;
    d.speed = 0.0f;
    Pattern* a = start(500000);
    Pattern* b = start(500001);
    EXPECT_EQ(b->id, a->id + 1);
    EXPECT_FLOAT_EQ(a->sound_timer, 70.0f);
    update_patterns(1.0f);
    ASSERT_EQ(bullet_pool.size(), 2u);
    EXPECT_EQ(bullet_pool[0].colour, 0);
    EXPECT_EQ(bullet_pool[1].colour, 1);
    EXPECT_TRUE(active_patterns.empty()) << "both fired their one shot and ended";
}

TEST_F(Engine, LateShotsAreCaughtUp) {
    Pattern& d = descriptor(500);  // fixed heading stream
    d.time1 = 10.0f;
    d.bullet_number = 10;
    d.speed = 0.1f;
    d.pattern_param1 = 90.0f;
    start(500000);
    update_patterns(35.0f);
    ASSERT_EQ(bullet_pool.size(), 4u);
    const float advance[] = {35, 25, 15, 5};
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_NEAR(bullet_pool[i].y, 100.0f + 0.1f * advance[i], 1e-4) << i;
    update_patterns(10.0f);
    EXPECT_EQ(bullet_pool.size(), 5u);
    EXPECT_NEAR(bullet_pool[4].y, 100.5f, 1e-4) << "shot 4 at 40 ms, 5 ms late at 45";
}

TEST_F(Engine, PatternOfADyingOwnerFiresNothingAndGoes) {
    descriptor(0).time1 = 0.0f;
    start(0);
    owner->dying = 1;
    update_patterns(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
    EXPECT_EQ(effect_pool.size(), 0u);
    EXPECT_TRUE(active_patterns.empty());
    start_pattern(0, nullptr, 0, 0);
    update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty()) << "no owner: ends at once";
}

TEST_F(Engine, MissingDescriptorRunsEmpty) {
    Pattern* p = start(7000);
    EXPECT_EQ(p->behaviour, nullptr);
    EXPECT_EQ(p->bullet_number, 0);
    update_patterns(16.0f);  // 600-10199: a laser with no behaviour ends at once
    bullet_pool.update(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
}

TEST_F(Engine, ShotFlashNamesMatchWhole) {
    struct Case {
        const char* name;
        const char* look;
    } cases[] = {
        {"shot1", "enemy_shot100"},
        {"shot2", "enemy_shot200"},
        {"shot5", "enemy_shot500"},
        {"quickshot1", "enemy_shot_other100"},
        {"quickshot2", "enemy_shot_other200"},
        {"quickshot5", "enemy_shot_other500"},
        {"rimea_clouds", "rimea_cloud"},
        {"shot1x", nullptr},
        {"Shot1", nullptr},
        {"shot", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        effect_pool.reset();
        spawn_shot_flash(5, c.name, {10, 20});
        if (!c.look) {
            EXPECT_EQ(effect_pool.size(), 0u) << c.name;
            continue;
        }
        ASSERT_EQ(effect_pool.size(), 1u) << c.name;
        const Effect& e = effect_pool[0];
        EXPECT_EQ(name_of(e.appearance), c.look);
        EXPECT_EQ(e.kind, 5);
        EXPECT_EQ(e.x, 10.0f);
        EXPECT_EQ(e.behaviour, get_effect_behaviour("effect_stay_still"));
    }
}

TEST_F(Engine, AngleFromDirection) {
    struct Case {
        sdk::Vec2f d;
        float degrees;
    } cases[] = {{{1, 0}, 0},    {{0, 1}, 90},   {{-1, 0}, 180},
                 {{0, -1}, 270}, {{1, -1}, 315}, {{-1, 1}, 135}};
    for (const auto& c : cases)
        EXPECT_NEAR(angle_from_direction(c.d).to_degrees(), c.degrees, 1e-3)
            << c.d.x << ", " << c.d.y;
}

TEST_F(Engine, AimAtPlayer) {
    sdk::Vec2f d = aim_at_player(200, 300);
    EXPECT_NEAR(d.x, 0.0f, 1e-6);
    EXPECT_NEAR(d.y, 1.0f, 1e-6);
    sdk::Vec2f z = aim_at_player(player.x, player.y);
    EXPECT_EQ(z.x, 0.0f);
    EXPECT_EQ(z.y, 0.0f);
}

TEST_F(Engine, EaseBetween) {
    sdk::Pointf from{0, 0}, to{100, 0};
    // ta = 100 ms: no cruise (da = 50 = d / 2); halfway at 100 ms.
    EXPECT_NEAR(ease_between(100.0f, from, to, 1.0f, 0.01f).x, 50.0f, 1e-3);
    EXPECT_NEAR(ease_between(50.0f, from, to, 1.0f, 0.01f).x, 12.5f, 1e-3);
    EXPECT_NEAR(ease_between(200.0f, from, to, 1.0f, 0.01f).x, 100.0f, 1e-3);
    // With a cruise: v 0.5, a 0.01: ta 50, da 12.5, tb 200.
    EXPECT_NEAR(ease_between(100.0f, from, to, 0.5f, 0.01f).x, 37.5f, 1e-3);
    EXPECT_NEAR(ease_between(250.0f, from, to, 0.5f, 0.01f).x, 100.0f, 1e-3);
    // No length, or no acceleration: no 0 / 0.
    EXPECT_EQ(ease_between(10.0f, to, to, 1.0f, 0.01f).x, 100.0f);
    EXPECT_NEAR(ease_between(10.0f, from, to, 1.0f, 0.0f).x, 10.0f, 1e-4);
    EXPECT_NEAR(ease_between(1000.0f, from, to, 1.0f, 0.0f).x, 100.0f, 1e-4);
}

TEST_F(Engine, EndedPatternStaysReadableForItsBullets) {
    Pattern& d = descriptor(10200);  // splitting spawners
    d.param1 = 1000.0f;
    d.bullet_number = 1;
    d.time1 = 100000.0f;
    d.speed = 0.0f;
    start(10200000);
    update_patterns(16.0f);
    ASSERT_EQ(bullet_pool.size(), 1u);
    Pattern* p = bullet_pool[0].owner;
    EXPECT_EQ(p->live_spawners, 1);
    owner->dying = 1;  // the owner is destroyed: the pattern ends
    update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty());
    EXPECT_EQ(retired_pattern_count(), 1u);
    bullet_pool.update(16.0f);  // reads the trigger of the ended pattern
    bullet_pool.cancel_all(0);  // and lowers its spawner count
    EXPECT_EQ(p->live_spawners, 0);
    update_patterns(16.0f);
    EXPECT_EQ(retired_pattern_count(), 0u);
}

TEST_F(Engine, PatternKeepsItsOwnerReadable) {
    descriptor(20300);
    start(20300000);
    std::weak_ptr<Enemy> watch = owner;
    owner->alive = 0;  // the path ended; the lists let go of it
    owner.reset();
    EXPECT_FALSE(watch.expired()) << "the pattern holds a share";
    update_patterns(16.0f);
    EXPECT_TRUE(active_patterns.empty());
    EXPECT_TRUE(watch.expired());
}

TEST_F(Engine, ClearPatternsEmptiesTheList) {
    descriptor(20300);
    start(20300000);
    start(20300001);
    clear_patterns();
    EXPECT_TRUE(active_patterns.empty());
}

}  // namespace
