// One stage frame: what runs during dialogs and on the frame of a fatal hit,
// the recorded frame it answers, the run start and the restart.
#include "world/stage_frame.h"

#include <gtest/gtest.h>

#include "stage_helpers.h"

namespace {

using namespace stage_test;

class Stage_Frame_Test : public ::testing::Test {
protected:
    Fake_Presentation show;
    void SetUp() override {
        reset_stage_globals();
        stage_presentation = &show;
        player.life_clock = 10000;
        player.x = player.prev_x = 200;
        player.y = player.prev_y = 400;
        player.invincible = 0;
    }
    void TearDown() override {
        stage_presentation = nullptr;
        clear_run_flags();
        set_appearance_lookups({});
    }
    static void enemy_bullet_on_player() {
        Bullet b;
        b.x = player.x;
        b.y = player.y;
        b.radius = 3;
        b.layer = 1;
        b.damage = 1;
        b.behaviour = get_behaviour("bullet_simple");
        bullet_pool.add(b);
    }
    static void item_on_player() {
        Item it;
        it.x = it.prev_x = player.x;
        it.y = it.prev_y = player.y;
        it.radius = 9;
        it.alive = 1;
        it.kind = 1;
        item_pool.add(it);
    }
    static Replay_Frame live(float dt, const Player_Input& in = {}, int32_t advances = 0) {
        Stage_Input s;
        s.devices = &in;
        s.advances = advances;
        return run_stage_frame(dt, s);
    }
};

TEST_F(Stage_Frame_Test, DialogHoldsHitsButNotItems) {
    dialog_active = 1;
    enemy_bullet_on_player();
    item_on_player();
    create_enemy(enemy_at(100, 100));
    Bullet shot;
    shot.x = 100;
    shot.y = 100;
    shot.radius = 4;
    shot.damage = 50;
    shot.behaviour = get_behaviour("bullet_simple");
    bullet_pool.add(shot);
    Replay_Frame rec = live(16, {}, 1);
    EXPECT_EQ(player.dying, 0);
    EXPECT_EQ(player.points, 1);
    EXPECT_EQ(enemy_lists.active_count, 1u);
    EXPECT_EQ(rec.advance, 1);
    EXPECT_EQ(show.presses, 1);
}

TEST_F(Stage_Frame_Test, FatalHitFrameCollectsNothing) {
    enemy_bullet_on_player();
    item_on_player();
    live(16);
    EXPECT_EQ(player.dying, 1);
    EXPECT_EQ(player.points, 0);
    int32_t lives = player.lives;
    live(16);  // the death sequence's first frame
    EXPECT_EQ(player.lives, lives - 1);
}

TEST_F(Stage_Frame_Test, ZeroStepAfterAHitTakesOneLife) {
    enemy_bullet_on_player();
    player.lives = 2;
    player.power = 40;
    live(16);
    ASSERT_EQ(player.dying, 1);
    Replay_Frame still;
    still.x = player.x;
    still.y = player.y;
    Stage_Input s;
    s.recorded = &still;
    run_stage_frame(16, s);  // step 0
    run_stage_frame(16, s);
    EXPECT_EQ(player.lives, 1);
    EXPECT_EQ(player.power, 20);
    live(16);
    EXPECT_EQ(player.lives, 1);
}

TEST_F(Stage_Frame_Test, RecordedFrameBringsItsStepAndPosition) {
    Replay_Frame f;
    f.dt = 33;
    f.x = 210;
    f.y = 390;
    f.focus = 1;
    Stage_Input s;
    s.recorded = &f;
    Replay_Frame rec = run_stage_frame(16, s);
    EXPECT_EQ(rec.dt, 33.0f);
    EXPECT_EQ(rec.x, 210.0f);
    EXPECT_EQ(rec.focus, 1);
    EXPECT_EQ(rec.advance, 0);
    EXPECT_EQ(player.life_clock, 10033.0f);
}

TEST_F(Stage_Frame_Test, RunStartAndRestart) {
    install_named_looks();
    load_patterns(fixture_document("patterns.xml"));
    start_lives = 1;
    player.score = 500;
    player.focus = 1;
    game_over = 1;
    start_stage_run(fixture_document("levels.xml"), "testlevel");
    EXPECT_EQ(player.lives, 0);
    EXPECT_EQ(player.score, 0u);
    EXPECT_EQ(player.power, player.start_power);
    EXPECT_EQ(player.invincible, player.invicible_time);
    EXPECT_EQ(player.x, 255.0f);
    EXPECT_EQ(player.y, 550.0f);
    EXPECT_EQ(player.focus, 0);
    EXPECT_EQ(game_over, 0);
    EXPECT_FALSE(level_events.empty());
    live(16);
    EXPECT_EQ(player.x, 224.0f);  // the fly-in places it
    player.score = 40;
    pause_requested = 1;
    start_lives = 3;
    reset_run();
    EXPECT_EQ(player.lives, 2);
    EXPECT_EQ(player.score, 0u);
    EXPECT_EQ(pause_requested, 0);
    EXPECT_EQ(player.y, 550.0f);
}

}  // namespace
