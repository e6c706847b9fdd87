// Watching a replay switches the player's language to the replay's, and the
// settings keep it; the best score is the player's alone: a replay is a
// film, maybe another player's or a damaged one. A replay made by hand, in
// the other language and scoring far above the player's best score, is
// watched from the main menu and left in each way a replay can be left;
// afterwards the language is the replay's, in memory and in "config.dat",
// and the rest of the file is as it was. A game played after watching
// records the language and the last option byte it was watched with, and
// the lives its own game began with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "app/application.h"
#include "app/screen_state.h"
#include "tests/common/scratch_dir.h"
#include "tests/integration/key_events.h"
#include "tests/integration/screen_clock.h"
#include "sdk/display.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/settings.h"

namespace {

constexpr uint32_t players_best = 5;
// The replay's header: its game began with 2 lives, in language 1, and
// carries 9 as its last option byte.
constexpr uint8_t replay_lives = 2, replay_language = 1, replay_option = 9;

void put(std::vector<uint8_t>& b, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put_float(std::vector<uint8_t>& b, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    put(b, v, 4);
}

// The player's settings: language 0, a best score of 5, silent.
std::vector<uint8_t> players_config() {
    std::vector<uint8_t> b;
    put(b, 91, 4);
    put(b, 0, 1);  // windowed
    put(b, 640, 4);
    put(b, 480, 4);
    put(b, players_best, 4);
    for (uint8_t v : {3, 1, 0, 0}) put(b, v, 1);  // lives, spare, sound, music
    put_float(b, 0.5f);
    for (uint8_t v : {1, 0, 5, 3, 7, 2, 0, 0}) put(b, v, 1);  // buttons, focus rule, language
    return b;
}

// The player holds the middle of the field and shoots.
std::vector<uint8_t> foreign_replay(int frames) {
    std::vector<uint8_t> b;
    put(b, 91, 4);
    for (uint8_t v : {replay_lives, replay_language, replay_option}) put(b, v, 1);
    put(b, static_cast<uint64_t>(frames), 8);
    for (int k = 0; k < frames; ++k) {
        for (float v : {16.0f, 224.0f, 400.0f, 0.0f}) put_float(b, v);
        put(b, 2, 1);  // shoot
    }
    return b;
}

uint32_t u32_at(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

TEST(Replay_Watch, SwitchesToTheReplaysLanguageAndLeavesTheBestScoreAsItWas) {
    enum class Leave { at_its_end, through_the_pause_title, by_closing_the_window, by_a_game };
    struct Row {
        const char* what;
        Leave leave;
    };
    const Row rows[] = {
        {"watched to its end", Leave::at_its_end},
        {"left through the pause screen's title", Leave::through_the_pause_title},
        {"the window closed while it plays", Leave::by_closing_the_window},
        {"watched to its end, then a game played to its game over", Leave::by_a_game},
    };
    constexpr int replay_frames = 380, leave_at = 350;  // its first kill is on frame 333
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Scratch_Dir dir;
        Scratch_Dir::write("config.dat", players_config());
        std::filesystem::create_directory("replay");
        Scratch_Dir::write("replay/mirel.rpy", foreign_replay(replay_frames));
        struct : Screen_Clock {
            uint32_t replay_score = 0;
            bool watched = false, played = false;
        } s;
        {
            sdk::Display_Setup display;
            Application app;
            app.frame_hook = [&](Application& a) {
                s.tick();
                if (s.frame > 3000) a.quit = true;
                switch (app_state) {
                    case state_main_menu:
                        if (s.menu_visits == 1) {
                            if (s.in_state == 20) keys::tap(keys::down);  // the replay entry
                            if (s.in_state == 40) keys::tap(keys::z);
                        } else if (row.leave == Leave::by_a_game && !s.played) {
                            if (s.in_state == 20) keys::tap(keys::z);  // "Start"
                        } else if (s.in_state == 10) {
                            a.quit = true;
                        }
                        break;
                    case state_game:
                        // Nothing scored: the game over saves its replay alone.
                        s.played = true;
                        if (s.in_state == 30) game_over = 1;
                        break;
                    case state_replay:
                        s.watched = true;
                        s.replay_score = std::max(s.replay_score, player.score);
                        if (s.in_state == leave_at && row.leave == Leave::through_the_pause_title)
                            keys::tap(keys::escape);
                        if (s.in_state == leave_at && row.leave == Leave::by_closing_the_window)
                            a.quit = true;
                        break;
                    case state_pause:
                        if (s.in_state == 10) keys::tap(keys::down);  // "Title"
                        if (s.in_state == 20) keys::tap(keys::z);
                        if (s.in_state == 30) keys::tap(keys::z);     // "Yes"
                        break;
                    default:
                        break;
                }
            };
            EXPECT_EQ(app.start({}), 0);
        }
        ASSERT_LT(s.frame, 3000) << "stuck in state " << s.last;
        ASSERT_TRUE(s.watched);
        ASSERT_GT(s.replay_score, players_best) << "the replay scored above the best score";

        EXPECT_EQ(language, replay_language);
        EXPECT_EQ(hi_score, players_best);
        std::vector<uint8_t> config = Scratch_Dir::read("config.dat");
        ASSERT_EQ(config.size(), 33u);
        EXPECT_EQ(config[32], replay_language) << "the language saved";
        EXPECT_EQ(u32_at(config, 13), players_best) << "the best score saved";
        std::vector<uint8_t> players = players_config();
        config[32] = players[32];
        EXPECT_EQ(config, players) << "the other settings saved as they were";

        std::vector<uint8_t> rpy = Scratch_Dir::read("replay/mirel.rpy");
        ASSERT_GE(rpy.size(), 15u);
        if (row.leave == Leave::by_a_game) {
            ASSERT_TRUE(s.played);
            EXPECT_EQ(rpy[4], players[17]) << "the lives the game began with";
            EXPECT_EQ(rpy[5], replay_language) << "the language it was played in";
            EXPECT_EQ(rpy[6], replay_option) << "the option byte the watched replay brought";
        } else {
            EXPECT_EQ(rpy, foreign_replay(replay_frames)) << "watching saves no replay";
        }
    }
}

}  // namespace
