// A whole stage recorded and watched again: a dodging player plays the real
// archive's "testlevel" to its end, recorded frame by frame as the game frame
// records it (with uneven frame steps, as a real display gives them); the
// replay is saved to "replay/mirel.rpy", loaded again as the main menu's
// replay entry loads it and played back as the replay screen plays it. Every
// frame of the playback must leave the world in the state of the same frame
// of the run, and the run must end the same way with the same score, whatever
// the shell does around the frames: a pause asked and continued while the
// game runs or while the replay plays, a game over it sets itself before a
// run's last frame, or a lives option changed before the replay is watched.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/replay.h"
#include "tests/common/scratch_dir.h"
#include "sdk/core/random.h"
#include "tests/content/archive_stage_player.h"
#include "world/run_flags.h"
#include "world/stage_frame.h"
#include "world/state_hash.h"

namespace {

using namespace stage_test;

// A run start as the shell makes it; the random seed differs each time, as
// it does between the recorded run and a later evening's replay. A game
// begins with the lives option's lives, a replay with those of its game.
void begin_run(Archive_Stage& stage, uint32_t seed, int32_t lives_setting, int32_t lives) {
    sdk::random_seed(seed);
    stage.load_world();
    stage.start_run(lives_setting, lives);
}

// Frame steps between 14 and 17 ms, never two alike in a row for long.
float frame_step(int f) { return 14.0f + static_cast<float>((f * 7919) % 31) / 10.0f; }

// What the shell does around the frames that neither the world nor the
// replay file holds: Escape counted on a frame (the pause screen then
// continues the run), a game over the shell sets before a frame, which
// makes it the run's last (the end of a recording, a test's flag), and the
// lives option changed between the game and the replay.
struct Around_Frames {
    const char* what;
    std::vector<int> escape_in_run, escape_in_replay;
    int run_ended_before = -1;
    int32_t lives_option_when_watching = 5;
};

bool has(const std::vector<int>& frames, size_t f) {
    return std::find(frames.begin(), frames.end(), static_cast<int>(f)) != frames.end();
}

// The world's state after a frame, without the shell's flags: the pause is
// continued before the next frame, and a game over the shell set is its own.
uint64_t state_after_frame(bool shell_set_game_over) {
    pause_requested = 0;
    const int32_t over = game_over;
    if (shell_set_game_over) game_over = 0;
    const uint64_t h = world_state_hash();
    game_over = over;
    return h;
}

TEST(Replay_Determinism, TheWholeStageReplaysFrameByFrameFromTheFile) {
    Scratch_Dir dir;
    sdk::set_log_sink([](const std::string&, const std::string&) {});
    const Around_Frames rows[] = {
        {"nothing around the frames", {}, {}},
        {"Esc during the run, then continue", {90, 1400, 5200}, {}},
        {"Esc while watching, then continue", {}, {90, 1400, 5200}},
        {"a run-ending flag set before the last frame", {}, {}, 2000},
        {"the lives option changed before watching", {}, {}, -1, 1},
    };
    for (const Around_Frames& row : rows) {
        SCOPED_TRACE(row.what);
        Archive_Stage stage;

        // The run, recorded as the game frame records it.
        begin_run(stage, 20261210, 5, 5);
        replay.start_recording();
        Dodging_Player bot;
        std::vector<uint64_t> hashes;
        for (int f = 0; f < 10 * 60 * 60 && !stage_clear && !game_over; ++f) {
            Stage_Input in;
            Player_Input devices = bot.next(in.advances);
            in.devices = &devices;
            if (dialog_active && in.advances > 0) replay.mark_dialog_advance();
            if (has(row.escape_in_run, hashes.size())) pause_requested = 1;
            const bool ends = f == row.run_ended_before;
            if (ends) game_over = 1;
            replay.record_frame(run_stage_frame(frame_step(f), in));
            hashes.push_back(state_after_frame(ends));
        }
        ASSERT_TRUE(stage_clear || game_over) << "the run did not end within ten minutes";
        for (const std::vector<int>* escapes : {&row.escape_in_run, &row.escape_in_replay})
            for (int f : *escapes) ASSERT_LT(static_cast<size_t>(f), hashes.size()) << "the run ended before Esc";
        const bool cleared = stage_clear != 0;
        const uint32_t score = player.score;
        const int32_t lives = player.lives, graze = player.graze;
        const std::vector<std::string> dialogs = stage.show.dialogs;
        std::printf("%s: %zu frames, %s, score %u, graze %d\n", row.what, hashes.size(),
                    cleared ? "stage cleared" : "game over", score, graze);

        replay.save("mirel");
        Replay loaded;
        ASSERT_TRUE(loaded.load("mirel"));
        ASSERT_EQ(loaded.replay_frames.size(), hashes.size());

        // The playback, as the replay screen plays it.
        start_lives = row.lives_option_when_watching;
        begin_run(stage, 777, start_lives, replay_start_lives());
        loaded.rewind();
        size_t played = 0, first_difference = hashes.size();
        do {
            Replay_Frame frame = loaded.current_frame(player.make_replay_frame(0.0f));
            Stage_Input in;
            in.recorded = &frame;
            if (has(row.escape_in_replay, played)) pause_requested = 1;
            run_stage_frame(frame.dt, in);
            if (first_difference == hashes.size() && state_after_frame(false) != hashes[played])
                first_difference = played;
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
}

}  // namespace
