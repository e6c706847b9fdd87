#include "sdk/core/log.h"
#include "world_fixture.h"

namespace {

class Pools : public World_Test {};

// A behaviour that kills the bullets whose colour is 1.
class Kill_Marked : public Behaviour {
public:
    Kill_Marked() : Behaviour(play_field) {}
    bool update(Bullet& b, float) override { return b.colour != 1; }
};

TEST_F(Pools, EmptyUpdateOnlyAdvancesTheClock) {
    float before = bullet_pool.bullet_clock;
    bullet_pool.update(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
    EXPECT_FLOAT_EQ(bullet_pool.bullet_clock, before + 16.0f);
    bullet_pool.reset();
    EXPECT_FLOAT_EQ(bullet_pool.bullet_clock, before + 16.0f) << "reset keeps the clock";
}

TEST_F(Pools, AfterResetIdsAndSlotsCountUp) {
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(bullet_pool.add(enemy_bullet(100, 100)));
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(bullet_pool[i].id, i);
        EXPECT_EQ(bullet_pool.slot_of(i), i);
    }
    EXPECT_EQ(bullets_total, 3u);
}

TEST_F(Pools, CompactionIsStableAndFreesInSlotOrder) {
    Kill_Marked killer;
    for (int i = 0; i < 5; ++i) {
        Bullet b = enemy_bullet(100.0f + i, 100);
        b.behaviour = &killer;
        b.colour = (i == 1 || i == 3) ? 1 : 0;
        bullet_pool.add(b);
    }
    bullet_pool.update(16.0f);
    ASSERT_EQ(bullet_pool.size(), 3u);
    const uint32_t survivors[] = {0, 2, 4};
    for (uint32_t s = 0; s < 3; ++s) {
        EXPECT_EQ(bullet_pool[s].id, survivors[s]);
        EXPECT_EQ(bullet_pool.slot_of(survivors[s]), s);
    }
    // The id freed last (slot 3's) is handed out first.
    bullet_pool.add(enemy_bullet(50, 50));
    EXPECT_EQ(bullet_pool[3].id, 3u);
    bullet_pool.add(enemy_bullet(50, 50));
    EXPECT_EQ(bullet_pool[4].id, 1u);
}

TEST_F(Pools, AddedRecordsComeAfterOlderOnes) {
    bullet_pool.add(enemy_bullet(100, 100));
    bullet_pool.add(enemy_bullet(101, 100));
    bullet_pool.update(1.0f);
    bullet_pool.add(enemy_bullet(102, 100));
    EXPECT_EQ(bullet_pool[bullet_pool.size() - 1].id, 2u);
}

TEST_F(Pools, FullPoolDropsInsteadOfWritingPastIt) {
    uint32_t dropped_before = bullet_pool.dropped();
    for (uint32_t i = 0; i < Bullet_Pool::capacity; ++i)
        ASSERT_TRUE(bullet_pool.add(enemy_bullet(100, 100)));
    EXPECT_FALSE(bullet_pool.add(enemy_bullet(100, 100)));
    EXPECT_FALSE(bullet_pool.add(enemy_bullet(100, 100)));
    EXPECT_EQ(bullet_pool.size(), Bullet_Pool::capacity);
    EXPECT_EQ(bullet_pool.dropped(), dropped_before + 2);

    Effect e;
    for (uint32_t i = 0; i < Effect_Pool::capacity; ++i) ASSERT_TRUE(effect_pool.add(e));
    EXPECT_FALSE(effect_pool.add(e));
    EXPECT_EQ(effect_pool.size(), Effect_Pool::capacity);

    Item it;
    for (uint32_t i = 0; i < Item_Pool::capacity; ++i) ASSERT_TRUE(item_pool.add(it));
    EXPECT_FALSE(item_pool.add(it));
    EXPECT_EQ(item_pool.size(), Item_Pool::capacity);

    // The drops are reported once, when the pool is emptied.
    std::vector<std::string> lines;
    auto old = sdk::set_log_sink(
        [&](const std::string& c, const std::string& t) { lines.push_back(c + ": " + t); });
    bullet_pool.reset();
    bullet_pool.reset();
    sdk::set_log_sink(old);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Performance: Bullet pool full: 2 dropped, peak 20000 of 20000");
}

TEST_F(Pools, EffectEndedByItsLookKeepsItsSlotUntilTheNextUpdate) {
    Effect e;
    e.behaviour = get_effect_behaviour("effect_stay_still");
    effect_pool.add(e);
    effect_pool.add(e);
    // What the presentation does when a look answers false while drawing.
    effect_pool[0].alive = 0;
    EXPECT_EQ(effect_pool.size(), 2u);
    effect_pool.update(16.0f);
    ASSERT_EQ(effect_pool.size(), 1u);
    EXPECT_EQ(effect_pool[0].id, 1u);
    effect_pool.add(e);
    EXPECT_EQ(effect_pool[1].id, 0u) << "the ended effect's id is free again";
}

}  // namespace
