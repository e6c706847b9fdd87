// The shared records start as their users expect.
#include <gtest/gtest.h>

#include "world/appearances.h"
#include "world/bullet.h"
#include "world/bullet_pool.h"
#include "world/destroyer.h"
#include "world/effect.h"
#include "world/effect_pool.h"
#include "world/enemy.h"
#include "world/item.h"
#include "world/item_pool.h"
#include "world/pattern.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/registries.h"
#include "world/run_stats.h"
#include "world/sound_sink.h"
#include "world/spellcard.h"

namespace {

TEST(Records, NewBulletIsBlank) {
    Bullet b;
    EXPECT_EQ(b.x, 0.0f);
    EXPECT_EQ(b.dir_x, 0.0f);
    EXPECT_EQ(b.aux_y, 0.0f);
    EXPECT_EQ(b.spawner, 0);
    EXPECT_EQ(b.keep_prev, 0);
    EXPECT_EQ(b.child_count, 0);
    EXPECT_FALSE(b.spawn_table);
    EXPECT_EQ(b.angle.to_radians(), 0.0f);
}

TEST(Records, BossMakesItsNameEffect) {
    EnemyBoss boss;
    ASSERT_TRUE(boss.name_effect);
    EXPECT_EQ(boss.name_effect->alive, 0);
    EXPECT_EQ(boss.ring_count, 0);
    EXPECT_TRUE(boss.phases.empty());
    EXPECT_TRUE(boss.dialog_name.empty());
}

TEST(Records, PlayerOwnsAnEmitter) {
    ASSERT_TRUE(player.emitter);
    EXPECT_EQ(player.emitter->alive, 0);
}

TEST(Records, SilentSoundSinkWithoutInstall) {
    installed_sound_sink = nullptr;
    sound_sink().play_sound("graze");  // nothing to hear, nothing to crash
    SUCCEED();
}

}  // namespace
