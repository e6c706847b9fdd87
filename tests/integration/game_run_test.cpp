// The whole game, end to end, with the real archive under the offscreen
// video driver: a scripted player chooses the language, starts the game,
// plays (shooting and weaving, pausing twice) until the run ends, takes a
// screenshot from the main menu, watches the replay (pausing once) and quits.
// Checked as a player would find it: the settings file, the replay file, the
// screenshot, the exit code, and that the replay ends with the recorded run's
// score.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "app/screen_state.h"
#include "tests/common/scratch_dir.h"
#include "tests/integration/key_events.h"
#include "sdk/display.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/settings.h"

namespace {

// The script: one step per frame, by the screen the game shows.
struct Script {
    int frame = 0;
    int in_state = 0;  // frames spent in the current screen state
    int32_t last_state = -1;
    int menu_visits = 0;
    int game_frames = 0;
    int replay_frames = 0;
    bool recorded_done = false;
    uint32_t recorded_score = 0;
    uint32_t replay_score = 0;
    bool replay_done = false;
    bool timed_out = false;
    static constexpr int play_frames = 720;

    void operator()(Application& app) {
        ++frame;
        if (app_state != last_state) {
            if (last_state == state_pause && app_state == state_main_menu && !recorded_done) {
                recorded_done = true;
                recorded_score = player.score;
            }
            if (last_state == state_replay && app_state == state_main_menu) {
                replay_done = true;
                replay_score = player.score;
            }
            if (app_state == state_main_menu) ++menu_visits;
            last_state = app_state;
            in_state = 0;
        }
        ++in_state;
        if (frame > 12000) {
            timed_out = true;
            app.quit = true;
            return;
        }
        switch (app_state) {
            case state_language:
                if (in_state == 20) keys::tap(keys::z);
                break;
            case state_main_menu:
                if (menu_visits == 1) {
                    // Opens on the replay entry after the language choice.
                    if (in_state == 40) keys::tap(keys::up);
                    if (in_state == 60) keys::tap(keys::z);
                } else if (menu_visits == 2) {
                    if (in_state == 40) keys::tap(keys::home);
                    if (in_state == 50) keys::tap(keys::down);
                    if (in_state == 70) keys::tap(keys::z);
                } else {
                    if (in_state == 40) keys::tap(keys::escape);
                    if (in_state == 60) keys::tap(keys::z);
                }
                break;
            case state_game:
                ++game_frames;
                // Z fires only until it has been held for the wind's charge
                // time, so the script taps it, as a player does.
                if (game_frames % 30 == 1) keys::send_key(keys::z, true);
                if (game_frames % 30 == 0) keys::send_key(keys::z, false);
                // Weave left and right while shooting.
                if (game_frames % 120 == 1) keys::send_key(keys::left, true);
                if (game_frames % 120 == 50) keys::send_key(keys::left, false);
                if (game_frames % 120 == 61) keys::send_key(keys::right, true);
                if (game_frames % 120 == 110) keys::send_key(keys::right, false);
                // Paused and continued, as a player answers the door.
                if (game_frames == 150 || game_frames == 400) keys::tap(keys::escape);
                if (game_frames == play_frames) {
                    keys::send_key(keys::z, false);
                    // The run ends as the last life's loss ends it.
                    game_over = 1;
                }
                break;
            case state_replay:
                if (++replay_frames == 300) keys::tap(keys::escape);
                break;
            case state_pause:
                if (in_state == 15 && pause_requested) keys::tap(keys::escape);
                break;
            default:
                break;
        }
    }
};

uint32_t png_u32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) |
           b[at + 3];
}

TEST(Game_Run, LanguageMenuPlayScreenshotReplayQuit) {
    Scratch_Dir dir;
    Script script;
    int code = -1;
    {
        sdk::Display_Setup display;
        Application app;
        app.frame_hook = [&script](Application& a) { script(a); };
        code = app.start({});
    }
    ASSERT_FALSE(script.timed_out) << "stuck in state " << script.last_state;
    EXPECT_EQ(code, 0);

    std::vector<uint8_t> config = Scratch_Dir::read("config.dat");
    ASSERT_EQ(config.size(), 33u);
    EXPECT_EQ(config[0], 91);
    EXPECT_EQ(config[17], 3) << "start lives";
    EXPECT_EQ(config[32], 0) << "the language chosen";
    uint32_t best =
        config[13] | (config[14] << 8) | (config[15] << 16) | (uint32_t{config[16]} << 24);
    EXPECT_EQ(best, std::max<uint32_t>(9999, script.recorded_score));

    ASSERT_TRUE(std::filesystem::exists("replay/mirel.rpy"));
    std::vector<uint8_t> rpy = Scratch_Dir::read("replay/mirel.rpy");
    ASSERT_GE(rpy.size(), 15u);
    uint64_t count = 0;
    for (int i = 0; i < 8; ++i) count |= uint64_t{rpy[7 + i]} << (8 * i);
    EXPECT_EQ(rpy.size(), 15 + 17 * count);
    EXPECT_EQ(count, static_cast<uint64_t>(script.game_frames));

    std::vector<uint8_t> png = Scratch_Dir::read("screenshot/mirel000001.png");
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png_u32(png, 16), 640u);
    EXPECT_EQ(png_u32(png, 20), 480u);

    ASSERT_TRUE(script.replay_done);
    EXPECT_GT(script.recorded_score, 0u) << "the scripted run shot something";
    EXPECT_EQ(script.replay_score, script.recorded_score);
}

}  // namespace
