// Plays the archive's stage "testlevel" headless from start to end with a bot that dodges
// by looking a few frames ahead, the way a careful player reads the bullets: it keeps under
// the nearest enemy, focuses when it threads a gap and bombs when a hit cannot be avoided.
// The stage must load through the game's own loaders, run every boss half, and end through
// its closing dialog within the stage's length; the run's figures (time, deaths, bombs, graze,
// the fullest moment, each boss half) are printed for whoever tunes the stage; with
// MIREL_STAGE_TRACE set, a line every ten seconds of play follows the bullets, enemies, lives
// and power.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tests/content/archive_stage_player.h"
#include "tests/world/stage_helpers.h"
#include "world/enemy_damage.h"
#include "world/stage_frame.h"

namespace {

using namespace stage_test;

struct Boss_Half {
    int phase, half;
    float begun, ended;
    int lives_lost;
};

TEST(Stage_Play, TheStageLoadsRunsEveryBossHalfAndEndsThroughItsClosingDialog) {
    sdk::set_log_sink([](const std::string&, const std::string&) {});
    Archive_Stage stage;
    stage.load_world();
    stage.start_run(5);

    Dodging_Player bot;
    std::vector<Boss_Half> halves;
    float t = 0, boss_at = -1;
    int deaths = 0, lives_before = player.lives;
    uint32_t fullest = 0;
    float fullest_at = 0;
    for (int f = 0; f < 8 * 60 * 60 && !stage_clear && !game_over; ++f) {
        float dt = f % 3 == 0 ? 17.0f : 16.0f;
        Stage_Input in;
        Player_Input devices = bot.next(in.advances);
        in.devices = &devices;
        run_stage_frame(dt, in);
        t += dt;
        if (player.lives < lives_before) deaths += lives_before - player.lives;
        lives_before = player.lives;
        if (std::getenv("MIREL_STAGE_TRACE") && f % 600 == 0)
            std::printf("trace %5.0f s clock %6.0f bullets %4u enemies %3u lives %d power %d\n", t / 1000, event_clock,
                        bullet_pool.size(), enemy_lists.active_count, player.lives, player.power);
        if (bullet_pool.size() > fullest) {
            fullest = bullet_pool.size();
            fullest_at = t;
        }
        if (EnemyBoss* b = active_boss()) {
            if (boss_at < 0) boss_at = t;
            if (b->path_state == 20 && (halves.empty() || halves.back().phase != b->phase || halves.back().half != b->half)) {
                if (!halves.empty()) halves.back().ended = t;
                halves.push_back({b->phase, b->half, t, -1, deaths});
            }
        } else if (!halves.empty() && halves.back().ended < 0) {
            halves.back().ended = t;
        }
    }
    std::printf("stage: %.0f s in all, boss from %.0f s; %d deaths, %d bombs, %d graze, score %u\n", t / 1000,
                boss_at / 1000, deaths, bot.bombs_used, player.graze, player.score);
    std::printf("stage: fullest moment %u bullets at %.0f s\n", fullest, fullest_at / 1000);
    for (const Boss_Half& h : halves)
        std::printf("boss phase %d %s: %.1f s, deaths before it %d\n", h.phase + 1, h.half ? "spell card" : "attack",
                    (h.ended - h.begun) / 1000, h.lives_lost);

    EXPECT_FALSE(game_over) << "a careful player with five lives and bombs loses the stage";
    EXPECT_TRUE(stage_clear) << "the stage did not end within eight minutes";
    EXPECT_EQ(halves.size(), 8u) << "four phases of an attack and a spell card";
    EXPECT_GE(t, 4 * 60 * 1000.0f) << "the stage is shorter than four minutes";
    EXPECT_LE(t, 7 * 60 * 1000.0f) << "the stage is longer than seven minutes";
    ASSERT_FALSE(stage.show.dialogs.empty());
    EXPECT_EQ(stage.show.dialogs.back(), "rimea_defeat_rus");
    EXPECT_NE(std::find(stage.sink.music.begin(), stage.sink.music.end(), "play 01_amber_wind"), stage.sink.music.end());
    EXPECT_NE(std::find(stage.sink.music.begin(), stage.sink.music.end(), "play 02_glass_winter"), stage.sink.music.end());
}

}  // namespace
