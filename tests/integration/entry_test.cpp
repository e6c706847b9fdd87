// The program's entry, started as a player would start it: an exception that
// escapes start-up (here an archive that is not a zip) is written to stderr
// as "Exception caught: " and its message, and the program ends at once with
// -1: no console waits for a key and, without a desktop display, no box
// waits to be closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "child_process.h"

namespace {

using namespace integration_test;

TEST(Entry, EscapingExceptionIsReportedAndEndsWithMinusOne) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / ("mirel_entry_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "mirel.res") << "this is not a zip archive\n";

    struct Case {
        const char* display;
        std::map<std::string, std::string> env;
    };
    const Case cases[] = {
        {"offscreen driver", {{"SDL_VIDEODRIVER", "offscreen"}}},
        {"dummy driver", {{"SDL_VIDEODRIVER", "dummy"}}},
        {"no display at all", {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}},
        {"a display server that is not there", {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ":97"}, {"WAYLAND_DISPLAY", ""}}},
    };
    for (const Case& c : cases) {
        Child_Result r = run_child(built_program("mirel"), {}, environment_with(c.env), dir.string(),
                                   std::chrono::seconds(30));
        ASSERT_TRUE(r.finished) << c.display << ": still running, waiting on something";
        EXPECT_EQ(r.exit_code, 255) << c.display;
        EXPECT_NE(r.error_output.find("Exception caught: Unable to open archive: mirel.res"), std::string::npos)
            << c.display << ": " << r.error_output;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
