// The whole game started with the audio drivers a player's desktop uses, up
// to its title. Without a sound device it runs silently; with one it plays.
// Either way stderr holds nothing but the game's own lines: none unless the
// log is asked for, and then at most one about the sound device.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "tests/common/scratch_dir.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Sound_Device, StderrHoldsOnlyTheGamesOwnLineAboutIt) {
    using namespace integration_test;
    struct Case {
        const char* driver;  // empty: SDL chooses
        const char* log;     // empty: no MIREL_LOG
    };
    const Case cases[] = {{"alsa", ""}, {"", ""}, {"alsa", "SYSTEM"}, {"", "SYSTEM"}};
    for (const Case& c : cases) {
        const std::string what = std::string("SDL_AUDIODRIVER=") + c.driver + " MIREL_LOG=" + c.log;
        Scratch_Dir dir;
        Child_Result r = run_child(built_program("mirel"), {},
                                   environment_with({{"MIREL_QUIT_AT_TITLE", "1"},
                                                     {"SDL_AUDIODRIVER", c.driver},
                                                     {"MIREL_LOG", c.log}}),
                                   dir.path().string(), std::chrono::seconds(120));
        ASSERT_TRUE(r.finished) << what << ": still running";
        EXPECT_EQ(r.exit_code, 0) << what << ": " << r.error_output;
        if (*c.log == '\0') {
            EXPECT_EQ(r.error_output, "") << what;
            continue;
        }
        std::string foreign;
        int about_sound = 0;
        for (const std::string& line : lines_of(r.error_output)) {
            if (line.rfind("[SYSTEM] ", 0) != 0) foreign += line + "\n";
            if (line.find("sound") != std::string::npos) ++about_sound;
        }
        EXPECT_EQ(foreign, "") << what;
        EXPECT_LE(about_sound, 1) << what << ": " << r.error_output;
    }
}

}  // namespace
