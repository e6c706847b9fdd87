// How a run of the real game is left: a pause asked on the frame of a stage
// clear shows the results (and the replay is saved at once), the results
// return to the main menu, and the pause screen's restart begins the run
// again from its start with a fresh recording.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/replay.h"
#include "app/screen_state.h"
#include "tests/common/scratch_dir.h"
#include "tests/integration/key_events.h"
#include "sdk/display.h"
#include "world/run_flags.h"

namespace {

TEST(Run_Ends, PauseWithStageClearShowsResultsAndRestartBeginsAgain) {
    Scratch_Dir dir;
    struct {
        int frame = 0, in_state = 0, games = 0, game_frames = 0;
        int32_t last = -1;
        bool results_seen = false, replay_saved_at_results = false;
        size_t frames_before_restart = 0, frames_after_restart = 0;
        bool restarted = false;
    } s;
    {
        sdk::Display_Setup display;
        Application app;
        app.frame_hook = [&s](Application& a) {
            ++s.frame;
            if (app_state != s.last) {
                if (app_state == state_results) {
                    s.results_seen = true;
                    s.replay_saved_at_results = std::filesystem::exists("replay/mirel.rpy");
                }
                if (app_state == state_game && s.last != state_pause) ++s.games;
                if (app_state == state_game && s.last == state_pause && s.games == 2 &&
                    state_timer == 0.0f)
                    s.restarted = true;
                s.last = app_state;
                s.in_state = 0;
            }
            ++s.in_state;
            if (s.frame > 4000) a.quit = true;
            switch (app_state) {
                case state_language:
                    if (s.in_state == 10) keys::tap(keys::z);
                    break;
                case state_main_menu:
                    if (s.in_state == 20 && s.games == 0) keys::tap(keys::up);
                    if (s.in_state == 40 && s.games < 2) keys::tap(keys::z);
                    if (s.in_state == 40 && s.games == 2) a.quit = true;
                    break;
                case state_game:
                    if (s.games == 1 && s.in_state == 60) {
                        // Esc counted on the frame on which the stage is cleared.
                        keys::tap(keys::escape);
                    }
                    if (s.games == 1 && s.in_state == 61) stage_clear = 1;
                    if (s.games == 2 && s.in_state == 120 && !s.restarted) {
                        s.frames_before_restart = replay.replay_frames.size();
                        keys::tap(keys::escape);
                    }
                    if (s.restarted && s.in_state == 30) {
                        s.frames_after_restart = replay.replay_frames.size();
                        keys::tap(keys::escape);
                    }
                    break;
                case state_pause:
                    // Restart: up from Continue, ok, ok on "Yes"; afterwards the title.
                    if (!s.restarted) {
                        if (s.in_state == 10) keys::tap(keys::up);
                        if (s.in_state == 20) keys::tap(keys::z);
                        if (s.in_state == 30) keys::tap(keys::z);
                    } else {
                        if (s.in_state == 10) keys::tap(keys::down);
                        if (s.in_state == 20) keys::tap(keys::z);
                        if (s.in_state == 30) keys::tap(keys::z);
                    }
                    break;
                case state_results:
                    if (s.in_state == 30) keys::tap(keys::z);
                    break;
                default:
                    break;
            }
        };
        ASSERT_EQ(app.start({}), 0);
    }
    ASSERT_LT(s.frame, 4000) << "stuck in state " << s.last;
    EXPECT_TRUE(s.results_seen) << "the results win over the pause";
    EXPECT_TRUE(s.replay_saved_at_results);
    EXPECT_TRUE(s.restarted);
    // The hook runs before its frame: one record per frame already played.
    EXPECT_EQ(s.frames_before_restart, 119u);
    EXPECT_EQ(s.frames_after_restart, 29u) << "the recording began again with the run";
}

}  // namespace
