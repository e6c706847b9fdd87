// The player's hit test, the death sequence with its shock wave, and the
// power lost as items.
#include <gtest/gtest.h>

#include "stage_helpers.h"
#include "world/settings.h"
#include "world/stage_frame.h"

namespace {

using namespace stage_test;

class Player_Hits_Test : public ::testing::Test {
protected:
    Recording_Sound_Sink sink;
    void SetUp() override {
        reset_stage_globals();
        installed_sound_sink = &sink;
        player.x = player.prev_x = 200;
        player.y = player.prev_y = 400;
        player.invincible = 0;
        player.life_clock = 10000;
    }
    void TearDown() override {
        installed_sound_sink = nullptr;
        game_over = 0;
    }
    static void enemy_bullet_at(float x, float y, int32_t damage) {
        Bullet b;
        b.x = x;
        b.y = y;
        b.radius = 3;
        b.layer = 1;
        b.damage = damage;
        bullet_pool.add(b);
    }
};

TEST_F(Player_Hits_Test, InvincibleLetsBulletsFlyAndRamsWithRadiusTwenty) {
    player.invincible = 1000;
    enemy_bullet_at(200, 400, 1);
    Enemy t = enemy_at(215, 400);  // 15 px away: beyond the hitbox, inside 20
    t.radius = 2;
    t.price = 70;
    create_enemy(t);
    player.check_hit();
    EXPECT_EQ(player.dying, 0);
    EXPECT_EQ(bullet_pool.size(), 1u);
    EXPECT_EQ(sink.count("se_nodamage"), 1);
    EXPECT_EQ(enemy_lists.active_count, 0u);
    EXPECT_EQ(player.score, 70u);
    EXPECT_EQ(player.radius, 3.0f);
    player.check_hit();
    EXPECT_EQ(sink.count("se_nodamage"), 2);
}

TEST_F(Player_Hits_Test, BulletHitSkipsTheContactTest) {
    enemy_bullet_at(200, 400, 1);
    create_enemy(enemy_at(201, 400));
    player.check_hit();
    EXPECT_EQ(player.dying, 1);
    EXPECT_EQ(player.death_timer, 0.0f);
    EXPECT_EQ(player.life_clock, 0.0f);
    EXPECT_EQ(enemy_lists.active_count, 1u);
    EXPECT_EQ(bullet_pool.size(), 0u);
    EXPECT_EQ(sink.count("player_dead"), 1);
}

TEST_F(Player_Hits_Test, HarmlessBulletNeverKills) {
    enemy_bullet_at(200, 400, 0);
    player.check_hit();
    EXPECT_EQ(player.dying, 0);
    create_enemy(enemy_at(201, 400));
    player.check_hit();
    EXPECT_EQ(player.dying, 1);  // contact now
}

TEST_F(Player_Hits_Test, PowerDropTable) {
    struct Case {
        int32_t power, kept, big, small;
    };
    const Case cases[] = {{1, 1, 0, 0},  {2, 1, 0, 1},   {11, 6, 0, 4},  {16, 8, 1, 0},
                          {17, 9, 1, 0}, {40, 20, 2, 4}, {128, 64, 5, 4}};
    for (Case c : cases) {
        item_pool.reset();
        player.power = c.power;
        player.drop_power();
        EXPECT_EQ(player.power, c.kept) << c.power;
        int big = 0, small = 0;
        for (const Item& it : item_pool) (it.kind == 3 ? big : small) += 1;
        EXPECT_EQ(big, c.big) << c.power;
        EXPECT_EQ(small, c.small) << c.power;
    }
    item_pool.reset();
    player.power = 40;
    player.drop_power();
    EXPECT_EQ(item_pool[0].x, 200.0f);
    EXPECT_EQ(item_pool[0].y, 380.0f);
    EXPECT_FLOAT_EQ(item_pool[0].speed, -0.115f);
    EXPECT_EQ(item_pool[2].kind, 0);
    EXPECT_EQ(item_pool[2].x, 210.0f);
    EXPECT_FLOAT_EQ(item_pool[2].vx, 0.012f);
}

TEST_F(Player_Hits_Test, PowerDropRespectsTheItemPool) {
    Item filler;
    while (!item_pool.full()) item_pool.add(filler);
    player.power = 128;
    player.drop_power();
    EXPECT_EQ(player.power, 64);
    EXPECT_EQ(item_pool.size(), Item_Pool::capacity);
}

TEST_F(Player_Hits_Test, DeathSequenceRefillsAndFliesBackIn) {
    struct Case {
        int32_t bombs, want;
    };
    for (Case c : {Case{3, 3}, Case{0, 2}, Case{1, 2}}) {
        SetUp();
        player.lives = 2;
        player.bombs = c.bombs;
        player.wind_gauge = 10;
        player.dying = 1;
        player.death_timer = 0;
        run_death_sequence();
        EXPECT_EQ(player.lives, 1);
        EXPECT_EQ(player.bombs, c.want);
        EXPECT_EQ(player.wind_gauge, 100.0f);
        EXPECT_EQ(player.invincible, player.invicible_time);
    }
}

TEST_F(Player_Hits_Test, ShockWaveCancelsThenDestroysButNeverABoss) {
    player.lives = 1;
    player.dying = 1;
    player.death_timer = 0;
    player.life_clock = 0;
    run_death_sequence();
    Enemy far = enemy_at(60, 30);
    create_enemy(far);
    EnemyBoss b;
    static_cast<Enemy&>(b) = enemy_at(220, 100);
    b.is_boss = 1;
    create_boss(b);
    enemy_bullet_at(224, 505, 1);  // beside the player waiting below the field
    enemy_bullet_at(100, 200, 1);  // reached only by the grown wave
    for (int i = 0; i < 60 && player.death_timer <= player.death_time; ++i) player.update(16, {});
    run_death_sequence();  // the wave starts: radius still small
    EXPECT_EQ(bullet_pool.size(), 1u);
    EXPECT_EQ(enemy_lists.active_count, 2u);
    while (player.death_timer <= 2 * player.death_time) {
        player.update(16, {});
        run_death_sequence();
    }
    EXPECT_EQ(bullet_pool.size(), 0u);
    EXPECT_EQ(player.dying, 0);
    ASSERT_EQ(enemy_lists.active_count, 1u);
    EXPECT_TRUE(enemy_lists.active[0]->is_boss);
}

TEST_F(Player_Hits_Test, LastLifeEndsTheRunAtHalfTheSequence) {
    player.lives = 0;
    player.dying = 1;
    player.death_timer = 0;
    player.life_clock = 0;
    run_death_sequence();
    EXPECT_EQ(player.lives, -1);
    EXPECT_EQ(game_over, 0);
    while (player.death_timer <= player.death_time) {
        player.update(16, {});
        run_death_sequence();
    }
    EXPECT_EQ(player.lives, 0);
    EXPECT_EQ(game_over, 1);
}

}  // namespace
