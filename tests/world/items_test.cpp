#include "world_fixture.h"

namespace {

class Items : public World_Test {
protected:
    void SetUp() override {
        World_Test::SetUp();
        item_pool.init(100.0f, 10, 1000, 0.0001f, 0.1f, 800.0f);
        player.spellcard_min_duration = 1000;
        player.spellcard_max_duration = 5000;
    }
    static Item item(uint8_t kind, float x, float y) {
        Item it;
        it.x = it.prev_x = x;
        it.y = it.prev_y = y;
        it.radius = 9.0f;
        it.alive = 1;
        it.kind = kind;
        return it;
    }
    // Takes one item of `kind` at the player's position.
    void take(uint8_t kind, float y = 400.0f) {
        player.y = player.prev_y = y;
        item_pool.add(item(kind, player.x, y));
        item_pool.collect();
        player.y = player.prev_y = 400.0f;
    }
    int32_t last_value() { return effect_pool[effect_pool.size() - 1].value; }
};

TEST_F(Items, PointItemValueByHeight) {
    struct Case {
        float y;
        int32_t value;
        uint8_t float_kind;
    } cases[] = {
        {99.0f, 1000, 1},   // above the line
        {100.0f, 1000, 0},  // at the line: the formula gives the maximum
        {480.0f, 10, 0},    // the bottom of the screen
        {290.0f, 505, 0},   // halfway
    };
    for (const auto& c : cases) {
        take(1, c.y);
        EXPECT_EQ(last_value(), c.value) << c.y;
        EXPECT_EQ(effect_pool[effect_pool.size() - 1].kind, c.float_kind) << c.y;
    }
    EXPECT_EQ(player.points, 4);
}

TEST_F(Items, PowerItems) {
    player.power = 128;
    take(0);
    EXPECT_EQ(last_value(), 1000);
    EXPECT_EQ(player.power, 128);
    player.power = 124;
    take(3);
    EXPECT_EQ(player.power, 128);
    EXPECT_EQ(last_value(), 1000);
    take(3);
    EXPECT_EQ(last_value(), 10000);
    player.power = 5;
    take(0);
    EXPECT_EQ(player.power, 6);
    EXPECT_EQ(last_value(), 10);
    EXPECT_EQ(sink.count("item00"), 2);
    EXPECT_EQ(sink.count("powerup"), 2);
}

TEST_F(Items, UnknownKindScoresTenSilently) {
    take(7);
    EXPECT_EQ(item_pool.size(), 0u);
    EXPECT_EQ(player.score, 10u);
    EXPECT_EQ(last_value(), 10);
    EXPECT_TRUE(sink.sounds.empty());
    const Effect& e = effect_pool[0];
    EXPECT_EQ(name_of(e.appearance), "score_float");
    EXPECT_FLOAT_EQ(e.speed, 800.0f);
}

TEST_F(Items, GaugeItems) {
    player.spell_gauge = 0;
    player.spell_time = 0;
    player.bombs = 2;
    take(2);  // gauge 1000 = the minimum: an extra bomb
    EXPECT_EQ(player.bombs, 3);
    EXPECT_EQ(player.spell_time, 1000);
    EXPECT_EQ(sink.count("powerup"), 1);
    EXPECT_EQ(last_value(), 1024);
    player.spell_gauge = 4500;
    take(2);  // 5500 > 5000 with fewer than 8 bombs: wraps to 1000
    EXPECT_EQ(player.spell_gauge, 1000);
    EXPECT_EQ(player.bombs, 4);
    player.bombs = 8;
    player.spell_gauge = 4500;
    take(2);
    EXPECT_EQ(player.spell_gauge, 5000);
    EXPECT_EQ(last_value(), 5000);
    EXPECT_EQ(sink.count("item01"), 1);
    EXPECT_EQ(spell_items_collected, 3u);
}

// player.xml's durations are any i32: a gauge and a spell time at the top
// stay there rather than wrap.
TEST_F(Items, GaugeItemsAtTheEndOfAnInt32) {
    player.spellcard_min_duration = INT32_MAX;
    player.spellcard_max_duration = INT32_MAX;
    player.spell_gauge = INT32_MAX - 10;
    player.spell_time = INT32_MAX - 10;
    player.bombs = 2;
    take(2);
    EXPECT_EQ(player.spell_gauge, INT32_MAX);
    EXPECT_EQ(player.spell_time, INT32_MAX);
    EXPECT_EQ(player.bombs, 3);
}

TEST_F(Items, AboveTheLineEveryItemFliesToThePlayer) {
    item_pool.add(item(1, 100, 300));
    Item rising = item(0, 150, 300);
    rising.speed = rising.vy = -0.11f;
    item_pool.add(rising);
    player.y = player.prev_y = 50.0f;
    item_pool.update(16.0f);
    EXPECT_EQ(item_pool[0].mode, 1);
    EXPECT_EQ(item_pool[1].mode, 1);
    EXPECT_LT(item_pool[1].y, 300.0f);
}

TEST_F(Items, FallingItemRisesSlowsAndDiesBelowTheBounds) {
    Item it = item(0, 100, 470);
    it.speed = it.vy = -0.11f;
    it.vx = 0.05f;
    item_pool.add(it);
    item_pool.update(100.0f);
    EXPECT_NEAR(item_pool[0].speed, -0.1f, 1e-5);
    EXPECT_NEAR(item_pool[0].x, 105.0f, 1e-3) << "drifts sideways while rising";
    for (int i = 0; i < 200 && item_pool.size(); ++i) item_pool.update(16.0f);
    EXPECT_EQ(item_pool.size(), 0u);
}

TEST_F(Items, AttractionUsesTheItemsOwnMovement) {
    // The player stands still; the item falls past it within the attraction
    // radius but starts and ends outside it.
    Item it = item(1, 230, 500);
    it.prev_y = 300.0f;
    item_pool.add(it);
    item_pool.collect();
    EXPECT_EQ(item_pool[0].mode, 2);
    player.focus = 1;
    Item far = item(1, 270, 400);
    item_pool.add(far);
    item_pool.collect();
    EXPECT_EQ(item_pool[1].mode, 2) << "focused, the attraction reaches further";
}

TEST_F(Items, BombPullsEveryItem) {
    item_pool.add(item(1, 100, 200));
    player.bombing = 1;
    item_pool.update(16.0f);
    EXPECT_EQ(item_pool[0].mode, 1);
    EXPECT_GT(item_pool[0].speed, 0.6f);
}

}  // namespace
