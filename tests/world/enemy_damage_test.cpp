// The damage passes, the common death step, drops and the nearest enemy.
#include "world/enemy_damage.h"

#include <gtest/gtest.h>

#include "stage_helpers.h"
#include "world/destroyer.h"

namespace {

using namespace stage_test;

class Enemy_Damage_Test : public ::testing::Test {
protected:
    Recording_Sound_Sink sink;
    void SetUp() override {
        reset_stage_globals();
        installed_sound_sink = &sink;
        player.x = player.prev_x = 200;
        player.y = player.prev_y = 440;
        player.score = 0;
    }
    void TearDown() override { installed_sound_sink = nullptr; }
};

void player_bullet_at(float x, float y, int32_t damage) {
    Bullet b;
    b.x = x;
    b.y = y;
    b.radius = 4;
    b.layer = 0;
    b.damage = damage;
    bullet_pool.add(b);
}

Enemy& add(const Enemy& t) {
    create_enemy(t);
    return *enemy_lists.active.back();
}

TEST_F(Enemy_Damage_Test, ShotDamageAgainstHitPoints) {
    struct Case {
        int32_t hp, damage;
        bool dies;
    };
    for (Case c : {Case{1, 1, true}, Case{1, 0, false}, Case{10, 9, false}, Case{10, 12, true}}) {
        SetUp();
        Enemy t = enemy_at(100, 100);
        t.hp = c.hp;
        t.price = 500;
        add(t);
        player_bullet_at(100, 100, c.damage);
        collide_enemies_with_player_bullets();
        EXPECT_EQ(enemy_lists.active_count, c.dies ? 0u : 1u) << c.hp << " " << c.damage;
        EXPECT_EQ(player.score, static_cast<uint32_t>(c.damage + (c.dies ? 500 : 0)));
    }
}

// player.xml's damages are any i32: the hits on one enemy sum past an i32
// and its hit points stop at the ends of one, rather than wrap.
TEST_F(Enemy_Damage_Test, DamageSumsStopAtTheEndsOfAnInt32) {
    struct Case {
        int32_t hp, damage;
        int32_t hp_after;
        uint32_t score;
    };
    for (Case c : {Case{100, INT32_MIN, INT32_MAX, 2147483648u},
                   Case{-100, INT32_MAX, INT32_MIN, 2147483647u}}) {
        SetUp();
        Enemy t = enemy_at(100, 100);
        t.hp = c.hp;
        Enemy& e = add(t);
        player_bullet_at(100, 100, c.damage);
        player_bullet_at(100, 100, c.damage);
        e.alive = 1;
        collide_enemies_with_player_bullets();
        EXPECT_EQ(e.hp, c.hp_after) << c.hp << " " << c.damage;
        EXPECT_EQ(player.score, c.score) << c.hp << " " << c.damage;
    }
    // Contact: two enemies of the lowest hit points sum to it, not to 0
    // (which would spare the player).
    SetUp();
    for (int i = 0; i < 2; ++i) {
        Enemy t = enemy_at(200, 440);
        t.hp = INT32_MIN;
        add(t);
    }
    EXPECT_EQ(collide_enemies_with_player(), INT32_MIN);
}

TEST_F(Enemy_Damage_Test, KillGainsGaugeUpToAHundred) {
    player.wind_gauge = 99;
    add(enemy_at(100, 100));
    player_bullet_at(100, 100, 50);
    collide_enemies_with_player_bullets();
    EXPECT_EQ(player.wind_gauge, 100.0f);
}

TEST_F(Enemy_Damage_Test, DeathStepMovesKillsInListOrder) {
    Enemy a = enemy_at(100, 100);
    a.prev_x = 90;  // dead enemies are drawn where they were
    a.drop = 3;
    Enemy& ea = add(a);
    ea.prev_x = 90;
    add(enemy_at(300, 100));
    player_bullet_at(300, 100, 50);
    player_bullet_at(100, 100, 50);
    collide_enemies_with_player_bullets();
    ASSERT_EQ(enemy_lists.dead.size(), 2u);
    EXPECT_EQ(enemy_lists.dead[0]->id, 0u);
    EXPECT_EQ(enemy_lists.dead[1]->id, 1u);
    const Enemy& d = *enemy_lists.dead[0];
    EXPECT_EQ(d.alive, 1);
    EXPECT_EQ(d.dying, 1);
    EXPECT_EQ(d.price, 0);
    EXPECT_EQ(d.x, 90.0f);
    EXPECT_EQ(sink.count("enemy_dead1"), 2);
    ASSERT_EQ(item_pool.size(), 1u);
    EXPECT_EQ(item_pool[0].x, 100.0f);  // where it died
    EXPECT_EQ(item_pool[0].kind, 2);
    EXPECT_FLOAT_EQ(item_pool[0].speed, -0.11f);
    EXPECT_EQ(item_pool[0].mode, 0);
}

// A bomb through a stage of thousands of copies of one enemy: every other
// one dies, and both lists keep their order.
TEST_F(Enemy_Damage_Test, ManyDeathsInOneFrameKeepTheOrderOfBothLists) {
    constexpr uint32_t n = 20000;
    player.bomb_damage = 1.0f;
    for (uint32_t i = 0; i < n; ++i) {
        Enemy t = enemy_at(100, 100);
        t.hp = i % 2 == 0 ? 1 : 1000000;
        add(t);
    }
    apply_bomb_damage(16);
    ASSERT_EQ(enemy_lists.active_count, n / 2);
    ASSERT_EQ(enemy_lists.active.size(), n / 2);
    ASSERT_EQ(enemy_lists.dead.size(), n / 2);
    for (uint32_t k = 0; k < n / 2; ++k) {
        ASSERT_EQ(enemy_lists.dead[k]->id, 2 * k);
        ASSERT_EQ(enemy_lists.active[k]->id, 2 * k + 1);
    }
}

TEST_F(Enemy_Damage_Test, DropCodesLeaveTheirKinds) {
    struct Case {
        uint8_t drop;
        int kind;  // -1: none
    };
    for (Case c : {Case{0, -1}, Case{1, 1}, Case{2, 0}, Case{3, 2}, Case{4, 3}, Case{5, -1}}) {
        item_pool.reset();
        Enemy e = enemy_at(100, 100);
        e.drop = c.drop;
        spawn_item(e);
        if (c.kind < 0) {
            EXPECT_EQ(item_pool.size(), 0u) << int(c.drop);
        } else {
            ASSERT_EQ(item_pool.size(), 1u) << int(c.drop);
            EXPECT_EQ(item_pool[0].kind, c.kind);
        }
    }
}

TEST_F(Enemy_Damage_Test, DropsIntoAFullItemPoolAreRefused) {
    Item filler;
    filler.alive = 1;
    while (!item_pool.full()) item_pool.add(filler);
    uint32_t dropped = item_pool.dropped();
    Enemy t = enemy_at(100, 100);
    t.drop = 1;
    add(t);
    player_bullet_at(100, 100, 50);
    collide_enemies_with_player_bullets();
    EXPECT_EQ(item_pool.size(), Item_Pool::capacity);
    EXPECT_EQ(item_pool.dropped(), dropped + 1);
    EXPECT_EQ(enemy_lists.dead.size(), 1u);
}

TEST_F(Enemy_Damage_Test, ShockWaveSparesBosses) {
    add(enemy_at(100, 100));
    EnemyBoss b;
    static_cast<Enemy&>(b) = enemy_at(120, 100);
    b.is_boss = 1;
    create_boss(b);
    Destroyer d;
    d.x = d.prev_x = 110;
    d.y = d.prev_y = 100;
    d.radius = 896;
    uint32_t score = player.score;
    collide_enemies_with_destroyer(d);
    ASSERT_EQ(enemy_lists.active_count, 1u);
    EXPECT_TRUE(enemy_lists.active[0]->is_boss);
    EXPECT_EQ(player.score, score);
}

TEST_F(Enemy_Damage_Test, ContactSumsHitPointsAndSparesBosses) {
    Enemy t = enemy_at(200, 440);
    t.hp = 7;
    t.price = 30;
    add(t);
    EnemyBoss b;
    static_cast<Enemy&>(b) = enemy_at(205, 440);
    b.is_boss = 1;
    b.hp = 100;
    create_boss(b);
    add(enemy_at(50, 50));
    EXPECT_EQ(collide_enemies_with_player(), 107);
    EXPECT_EQ(enemy_lists.active_count, 2u);
    EXPECT_EQ(player.score, 30u);
    EXPECT_EQ(collide_enemies_with_player(), 100);
}

TEST_F(Enemy_Damage_Test, BossTakesDamageIntoItsPhaseHitPoints) {
    EnemyBoss b;
    static_cast<Enemy&>(b) = enemy_at(100, 100);
    b.is_boss = 1;
    b.boss_hp = 30;
    create_boss(b);
    player_bullet_at(100, 100, 40);
    collide_enemies_with_player_bullets();
    ASSERT_EQ(enemy_lists.active_count, 1u);
    EXPECT_EQ(static_cast<EnemyBoss&>(*enemy_lists.active[0]).boss_hp, -10);
    EXPECT_EQ(enemy_lists.active[0]->hp, 10);
}

TEST_F(Enemy_Damage_Test, BombDamageTruncatesAndKeepsLargeScoresExact) {
    player.bomb_damage = 0.2f;
    player.score = 100000001;  // beyond single precision's whole numbers
    Enemy t = enemy_at(100, 100);
    t.hp = 10;
    add(t);
    apply_bomb_damage(16);  // 3.2 per enemy
    EXPECT_EQ(player.score, 100000004u);
    EXPECT_EQ(enemy_lists.active[0]->hp, 6);
    apply_bomb_damage(16);
    apply_bomb_damage(16);
    EXPECT_EQ(enemy_lists.active_count, 0u);
    EXPECT_EQ(enemy_lists.dead.size(), 1u);
}

// A "bomb_damage" past every integer (1e30 in player.xml) fills the score
// and empties the hit points instead of wrapping them.
TEST_F(Enemy_Damage_Test, BombDamagePastEveryIntegerSaturates) {
    player.bomb_damage = 1e30f;
    player.score = 5;
    EnemyBoss b;
    static_cast<Enemy&>(b) = enemy_at(100, 100);
    b.is_boss = 1;
    b.boss_hp = 30;
    create_boss(b);
    apply_bomb_damage(16);
    EXPECT_EQ(player.score, UINT32_MAX);
    EXPECT_EQ(static_cast<EnemyBoss&>(*enemy_lists.active[0]).boss_hp, INT32_MIN);
}

TEST_F(Enemy_Damage_Test, NearestEnemy) {
    EXPECT_EQ(nearest_enemy_to_player(), sdk::Vec2f(0, 0));
    add(enemy_at(100, 100));
    add(enemy_at(200, 300));
    add(enemy_at(200, 300));
    add(enemy_at(210, 300));
    EXPECT_EQ(nearest_enemy_to_player(), sdk::Vec2f(200, 300));
}

TEST_F(Enemy_Damage_Test, GotchaOnlyAboveId500) {
    for (uint32_t id : {500u, 501u}) {
        SetUp();
        enemy_lists.next_id = id;
        add(enemy_at(100, 100));
        player_bullet_at(100, 100, 50);
        Log_Catcher log;
        collide_enemies_with_player_bullets();
        EXPECT_EQ(log.has("[Debug] Gotcha!"), id > 500);
        EXPECT_TRUE(log.has("[Debug] Bullet collision : put dead enemy " + std::to_string(id) +
                            " to stack"));
    }
}

}  // namespace
