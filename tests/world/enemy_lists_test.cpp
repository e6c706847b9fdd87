// The enemy lists: creation, the per-frame update with its shot table, the
// silent removal, the boss rule and the dead stack.
#include "world/enemy_lists.h"

#include <gtest/gtest.h>

#include "stage_helpers.h"
#include "world/ordered_removal.h"

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

// The removal all three enemy passes use: one walk, each entry that stays
// moved at most once, the removed handed over in order, the order of the
// rest kept, the entries past the count left behind them.
TEST(Ordered_Removal, MovesEachEntryThatStaysAtMostOnce) {
    struct Counted {
        int id = 0;
        int* moves = nullptr;
        Counted(int i, int* m) : id(i), moves(m) {}
        Counted(Counted&&) = default;
        Counted& operator=(Counted&& o) noexcept {
            id = o.id;
            moves = o.moves;
            ++*moves;
            return *this;
        }
    };
    struct Case {
        const char* what;
        int size, count;
        bool (*goes)(int id);
    } cases[] = {
        {"every other of 20000", 20000, 20000, [](int id) { return id % 2 == 0; }},
        {"all but the last", 20000, 20000, [](int id) { return id != 19999; }},
        {"none", 5, 5, [](int) { return false; }},
        {"all", 5, 5, [](int) { return true; }},
        {"the first of four, two more behind", 6, 4, [](int id) { return id == 0; }},
    };
    for (const Case& c : cases) {
        int moves = 0;
        std::vector<Counted> list;
        list.reserve(static_cast<size_t>(c.size));
        for (int i = 0; i < c.size; ++i) list.emplace_back(i, &moves);
        std::vector<int> handed, want_handed, want_left;
        for (int i = 0; i < c.size; ++i)
            (i < c.count && c.goes(i) ? want_handed : want_left).push_back(i);
        size_t kept = remove_in_order(
            list, static_cast<size_t>(c.count), [&](const Counted& e) { return c.goes(e.id); },
            [&](Counted& e) { handed.push_back(e.id); });
        std::vector<int> left;
        for (const Counted& e : list) left.push_back(e.id);
        EXPECT_EQ(handed, want_handed) << c.what;
        EXPECT_EQ(left, want_left) << c.what;
        EXPECT_EQ(kept, static_cast<size_t>(c.count) - want_handed.size()) << c.what;
        EXPECT_LE(moves, c.size) << c.what;
    }
}

}  // namespace
