// Watching a replay leaves the player's settings as they were: a replay is a
// film, maybe another player's or a damaged one. A replay made by hand, in
// the other language and scoring far above the player's best score, is
// watched from the main menu and left in each way a replay can be left;
// afterwards the language and the best score are the player's, in memory and
// in "config.dat".
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
#include "world/settings.h"

namespace {

constexpr uint32_t players_best = 5;

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

// Language 1; the player holds the middle of the field and shoots.
std::vector<uint8_t> foreign_replay(int frames) {
    std::vector<uint8_t> b;
    put(b, 91, 4);
    for (uint8_t v : {0, 1, 1}) put(b, v, 1);
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

TEST(Replay_Watch, LeavesTheLanguageAndTheBestScoreAsTheyWere) {
    enum class Leave { at_its_end, through_the_pause_title, by_closing_the_window };
    struct Row {
        const char* what;
        Leave leave;
    };
    const Row rows[] = {
        {"watched to its end", Leave::at_its_end},
        {"left through the pause screen's title", Leave::through_the_pause_title},
        {"the window closed while it plays", Leave::by_closing_the_window},
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
            bool watched = false;
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
                        } else if (s.in_state == 10) {
                            a.quit = true;
                        }
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

        EXPECT_EQ(language, 0);
        EXPECT_EQ(hi_score, players_best);
        std::vector<uint8_t> config = Scratch_Dir::read("config.dat");
        ASSERT_EQ(config.size(), 33u);
        EXPECT_EQ(u32_at(config, 13), players_best) << "the best score saved";
        EXPECT_EQ(config[32], 0) << "the language saved";
    }
}

}  // namespace
