// The enemy lists: creation, the per-frame update with its shot table, the
// silent removal, the boss rule and the dead stack.
#include "world/enemy_lists.h"

#include <gtest/gtest.h>

#include "stage_helpers.h"

namespace {

using namespace stage_test;

class Enemy_Lists_Test : public ::testing::Test {
protected:
    void SetUp() override {
        reset_stage_globals();
        player.x = player.prev_x = 200;
        player.y = player.prev_y = 440;
    }
};

std::vector<int32_t> running_codes() {
    std::vector<int32_t> codes;
    for (const auto& p : active_patterns) codes.push_back(p->code);
    return codes;
}

TEST_F(Enemy_Lists_Test, CreateGivesFreshClocksAndIds) {
    Log_Catcher log;
    Enemy t = enemy_at(100, 100);
    t.age = 500;
    t.distance = 40;
    t.path_state = 20;
    t.prev_x = 0;
    EXPECT_EQ(create_enemy(t), 0u);
    EXPECT_EQ(create_enemy(t), 1u);
    const Enemy& e = *enemy_lists.active[1];
    EXPECT_EQ(e.age, 0.0f);
    EXPECT_EQ(e.distance, 0.0f);
    EXPECT_EQ(e.path_state, 0);
    EXPECT_EQ(e.prev_x, 100.0f);
    EXPECT_EQ(enemy_lists.active_count, 2u);
    EXPECT_TRUE(log.has("[Enemies] Create new enemy 1 , enemies count : 2"));
    EXPECT_TRUE(log.has("[Enemies] Active enemies count : 2"));
}

TEST_F(Enemy_Lists_Test, ShotDueInTheLastFrameStillFires) {
    Enemy t = enemy_at(460, 100);
    t.dir_x = 1;
    t.speed = 1;
    t.shot_count = 1;
    t.shots[0] = {1, 300020, 16};
    create_enemy(t);
    update_enemies(16);
    EXPECT_EQ(enemy_lists.active_count, 0u);
    EXPECT_EQ(running_codes(), std::vector<int32_t>{300020});
}

TEST_F(Enemy_Lists_Test, ShotTableTriggers) {
    Enemy t = enemy_at(200, 5);
    t.dir_y = 1;
    t.speed = 0.5f;  // y 5 -> 13: path_state 10 after the first frame
    t.shot_count = 5;
    t.shots[0] = {1, 1000, 16};  // age
    t.shots[1] = {1, 2000, 16};  // same moment, fires after the first
    t.shots[2] = {2, 3000, 8};   // distance
    t.shots[3] = {3, 4000, 10};  // path state reached
    t.shots[4] = {3, 5000, 5};   // path state passed over: never
    create_enemy(t);
    update_enemies(16);
    EXPECT_EQ(running_codes(), (std::vector<int32_t>{1000, 2000, 3000, 4000}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(enemy_lists.active[0]->shots[i].trigger, 0);
    for (int i = 0; i < 40; ++i) update_enemies(16);
    EXPECT_EQ(running_codes().size(), 4u);
}

TEST_F(Enemy_Lists_Test, BossNeverFiresFromItsTable) {
    EnemyBoss b;
    static_cast<Enemy&>(b) = enemy_at(200, 100);
    b.is_boss = 1;
    b.shot_count = 1;
    b.shots[0] = {1, 1000, 0};
    create_boss(b);
    update_enemies(16);
    EXPECT_TRUE(active_patterns.empty());
}

TEST_F(Enemy_Lists_Test, DefeatedBossStaysUntilTheDeathStep) {
    EnemyBoss b;
    static_cast<Enemy&>(b) = enemy_at(200, 100);
    b.is_boss = 1;
    b.path = nullptr;  // answers "gone"
    b.dying = 1;
    create_boss(b);
    EnemyBoss silent = b;
    silent.dying = 0;
    create_boss(silent);
    update_enemies(16);
    ASSERT_EQ(enemy_lists.active_count, 1u);
    EXPECT_EQ(enemy_lists.active[0]->id, 0u);
    EXPECT_TRUE(enemy_lists.dead.empty());
}

TEST_F(Enemy_Lists_Test, ClearRestartsIdsAndLeavesTheDeadStack) {
    char look = 0;
    create_enemy(enemy_at(100, 100));
    Enemy t = enemy_at(150, 100);
    create_enemy(t);
    auto dying = std::make_shared<Enemy>(t);
    dying->appearance = reinterpret_cast<Enemy_Appearance*>(&look);
    dying->alive = 1;
    enemy_lists.dead.push_back(dying);
    clear_enemies();
    EXPECT_EQ(enemy_lists.active_count, 0u);
    EXPECT_EQ(create_enemy(t), 0u);
    delete_dead_enemies(16);
    ASSERT_EQ(enemy_lists.dead.size(), 1u);
    EXPECT_EQ(dying->age, t.age + 16);
    dying->alive = 0;  // its look reports the animation over
    Log_Catcher log;
    delete_dead_enemies(16);
    EXPECT_TRUE(enemy_lists.dead.empty());
    EXPECT_TRUE(log.has("[Debug] Dead enemies remaining : 0"));
}

TEST_F(Enemy_Lists_Test, DeadEnemyWithoutALookLeavesAtOnce) {
    auto e = std::make_shared<Enemy>(enemy_at(100, 100));
    enemy_lists.dead.push_back(e);
    delete_dead_enemies(16);
    EXPECT_TRUE(enemy_lists.dead.empty());
}

}  // namespace
