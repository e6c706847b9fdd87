// A whole stage recorded and watched again: a dodging player plays the real
// archive's "testlevel" to its end, recorded frame by frame as the game frame
// records it (with uneven frame steps, as a real display gives them); the
// replay is saved to "replay/mirel.rpy", loaded again as the main menu's
// replay entry loads it and played back as the replay screen plays it. Every
// frame of the playback must leave the world in the state of the same frame
// of the run, and the run must end the same way with the same score.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/replay.h"
#include "tests/common/scratch_dir.h"
#include "sdk/core/random.h"
#include "tests/content/archive_stage_player.h"
#include "world/stage_frame.h"
#include "world/state_hash.h"

namespace {

using namespace stage_test;

// A run start as the shell makes it; the random seed differs each time, as
// it does between the recorded run and a later evening's replay.
void begin_run(Archive_Stage& stage, uint32_t seed) {
    sdk::random_seed(seed);
    stage.load_world();
    stage.start_run(5);
}

// Frame steps between 14 and 17 ms, never two alike in a row for long.
float frame_step(int f) { return 14.0f + static_cast<float>((f * 7919) % 31) / 10.0f; }

TEST(Replay_Determinism, TheWholeStageReplaysFrameByFrameFromTheFile) {
    Scratch_Dir dir;
    sdk::set_log_sink([](const std::string&, const std::string&) {});
    Archive_Stage stage;

    // The run, recorded as the game frame records it.
    begin_run(stage, 20261210);
    replay.clear();
    Dodging_Player bot;
    std::vector<uint64_t> hashes;
    for (int f = 0; f < 10 * 60 * 60 && !stage_clear && !game_over; ++f) {
        Stage_Input in;
        Player_Input devices = bot.next(in.advances);
        in.devices = &devices;
        if (dialog_active && in.advances > 0) replay.mark_dialog_advance();
        replay.record_frame(run_stage_frame(frame_step(f), in));
        hashes.push_back(world_state_hash());
    }
    ASSERT_TRUE(stage_clear || game_over) << "the run did not end within ten minutes";
    const bool cleared = stage_clear != 0;
    const uint32_t score = player.score;
    const int32_t lives = player.lives, graze = player.graze;
    const std::vector<std::string> dialogs = stage.show.dialogs;
    std::printf("run: %zu frames, %s, score %u, graze %d\n", hashes.size(), cleared ? "stage cleared" : "game over",
                score, graze);

    replay.save("mirel");
    Replay loaded;
    ASSERT_TRUE(loaded.load("mirel"));
    ASSERT_EQ(loaded.replay_frames.size(), hashes.size());

    // The playback, as the replay screen plays it.
    begin_run(stage, 777);
    loaded.rewind();
    size_t played = 0, first_difference = hashes.size();
    do {
        Replay_Frame frame = loaded.current_frame(player.make_replay_frame(0.0f));
        Stage_Input in;
        in.recorded = &frame;
        run_stage_frame(frame.dt, in);
        if (first_difference == hashes.size() && world_state_hash() != hashes[played]) first_difference = played;
        ++played;
    } while (loaded.advance() && !stage_clear && !game_over);

    EXPECT_EQ(first_difference, hashes.size()) << "the world state first differs at frame " << first_difference;
    EXPECT_EQ(played, hashes.size());
    EXPECT_EQ(stage_clear != 0, cleared);
    EXPECT_EQ(player.score, score);
    EXPECT_EQ(player.lives, lives);
    EXPECT_EQ(player.graze, graze);
    EXPECT_EQ(stage.show.dialogs, dialogs);
}

}  // namespace
