// The executable's entry: a failure that escapes start-up is reported on
// stderr as one "Exception caught: " line naming what is missing, and the
// program ends with -1 at once (no console waits for a key); without a
// display it stops at once; asked to, it ends by itself at the title.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "x_server.h"
#include "tests/common/scratch_dir.h"

namespace {

TEST(Entry, MissingArchiveEndsWithOneClearLine) {
    Scratch_Dir dir;
    // A copy of the program with no archive beside it or in the folder.
    std::filesystem::copy_file(integration_test::built_program("mirel"), dir.path() / "mirel");
    // The sanitizer build's leak checker is off here as for the other
    // end-to-end tests (sanitizer_options.cpp).
    int status = std::system(
        "ASAN_OPTIONS=detect_leaks=0 SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy ./mirel "
        "2> err.txt < /dev/null");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255) << "exit code -1";
    std::ifstream err("err.txt");
    std::stringstream text;
    text << err.rdbuf();
    EXPECT_NE(text.str().find("Exception caught: "), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("mirel.res"), std::string::npos) << text.str();
    // The settings were written before the archive was needed.
    EXPECT_EQ(std::filesystem::file_size("config.dat"), 33u);
}

// The same end on every kind of display, with a standard input that never
// ends, so a program that waited for a key or for a box to be closed would
// hang here instead: the error box shows only on a real desktop display.
// The headless drivers serve those who ask for them; where SDL would fall
// back on one by itself, for want of a display server, the game would run
// unseen, so it stops there saying so.
TEST(Entry, EscapingExceptionNeverWaitsWhateverTheDisplay) {
    using namespace integration_test;
    Scratch_Dir dir;
    std::ofstream("mirel.res") << "this is not a zip archive\n";
    const std::string bad_archive = "Exception caught: Unable to open archive: mirel.res";
    const std::string no_display =
        "Exception caught: Unable to start the display: no display is available";
    struct Case {
        const char* display;
        std::map<std::string, std::string> env;
        const std::string& message;
    };
    const Case cases[] = {
        {"offscreen driver", {{"SDL_VIDEODRIVER", "offscreen"}}, bad_archive},
        {"dummy driver", {{"SDL_VIDEODRIVER", "dummy"}}, bad_archive},
        {"offscreen driver, no display server",
         {{"SDL_VIDEODRIVER", "offscreen"}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
         bad_archive},
        {"no display at all",
         {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
         no_display},
        {"a display server that is not there",
         {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", display_with_no_server()}, {"WAYLAND_DISPLAY", ""}},
         no_display},
    };
    for (const Case& c : cases) {
        Child_Result r = run_child(built_program("mirel"), {}, environment_with(c.env),
                                   dir.path().string(), std::chrono::seconds(30));
        ASSERT_TRUE(r.finished) << c.display << ": still running, waiting on something";
        EXPECT_EQ(r.exit_code, 255) << c.display;
        EXPECT_NE(r.error_output.find(c.message), std::string::npos)
            << c.display << ": " << r.error_output;
    }
}

// Asked to, the game ends by itself, as the player would quit, once its first
// screen is shown: the language choice on a first start, the main menu on the
// next. Only a game that loaded its whole archive gets there.
TEST(Entry, QuitsAtTheTitleWhenAsked) {
    using namespace integration_test;
    Scratch_Dir dir;
    const std::vector<std::string> env = environment_with({{"MIREL_QUIT_AT_TITLE", "1"}});
    for (const char* start : {"first start", "second start"}) {
        Child_Result r = run_child(built_program("mirel"), {}, env, dir.path().string(),
                                   std::chrono::seconds(120));
        ASSERT_TRUE(r.finished) << start << ": still running";
        EXPECT_EQ(r.exit_code, 0) << start << ": " << r.error_output;
    }
}

}  // namespace
