// The whole game in a folder where nothing can be saved: the settings file,
// the replay and the screenshot all fail, and the game still starts, plays a
// run to its game over, goes back to the main menu and ends normally, saying
// on stderr what it could not save. The folder is spoiled so that saving
// fails for root too: folders and files stand where the saves would go.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/application.h"
#include "app/screen_state.h"
#include "sdk/display.h"
#include "tests/common/scratch_dir.h"
#include "tests/integration/key_events.h"
#include "tests/integration/screen_clock.h"
#include "world/run_flags.h"

namespace {

size_t count_of(const std::string& text, const std::string& line) {
    size_t n = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
}

TEST(Unwritable_Folder, GameStartsPlaysAndEndsWithoutSaving) {
    Scratch_Dir dir;
    std::filesystem::create_directories("config.dat/x");
    Scratch_Dir::write("replay", {1});
    // The process file system lists its entries but takes no new file.
    std::filesystem::create_directory_symlink("/proc", "screenshot");

    struct : Screen_Clock {
        bool played = false;
    } s;
    int code = -1;
    ::testing::internal::CaptureStderr();
    {
        sdk::Display_Setup display;
        Application app;
        app.frame_hook = [&s](Application& a) {
            s.tick();
            if (s.frame > 3000) a.quit = true;
            switch (app_state) {
                case state_language:
                    if (s.in_state == 10) keys::tap(keys::z);
                    break;
                case state_main_menu:
                    if (s.menu_visits == 1) {
                        // Opens on the replay entry after the language choice.
                        if (s.in_state == 20) keys::tap(keys::up);
                        if (s.in_state == 40) keys::tap(keys::z);
                    } else {
                        if (s.in_state == 20) keys::tap(keys::escape);
                        if (s.in_state == 40) keys::tap(keys::z);
                    }
                    break;
                case state_game:
                    if (s.in_state == 30) keys::tap(keys::home);
                    if (s.in_state == 60) {
                        s.played = true;
                        game_over = 1;
                    }
                    break;
                default:
                    break;
            }
        };
        code = app.start({});
    }
    std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_LT(s.frame, 3000) << "stuck in state " << s.last;
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(s.played);
    EXPECT_EQ(s.menu_visits, 2) << "the game over led back to the main menu";
    // At start-up (the defaults and the display mode), at the game over (the
    // best score is not on disk yet) and at the end.
    EXPECT_EQ(count_of(err, "Unable to save file: config.dat (Is a directory)\n"), 4u) << err;
    EXPECT_EQ(count_of(err, "Unable to make folder: replay (File exists)\n"), 1u) << err;
    EXPECT_EQ(
        count_of(err,
                 "Unable to save file: screenshot/mirel000001.png (No such file or directory)\n"),
        1u)
        << err;
    EXPECT_TRUE(std::filesystem::is_regular_file("replay"));
}

}  // namespace
