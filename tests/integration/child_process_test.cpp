// The harness that runs the game's programs as children: what a program
// leaves running when it ends (a message box that SDL forks, say) is ended
// with it, and does not hold the run open until its deadline.
#include "child_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

// The process is gone, or a zombie that only waits to be reaped.
bool process_has_ended(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string id, name, state;
    if (!(stat >> id >> name >> state)) return true;
    return state == "Z" || state == "X";
}

TEST(Child_Process, WhatTheProgramLeftRunningEndsWithIt) {
    using namespace integration_test;
    // The shell leaves a sleeper behind that holds its stderr open.
    Child_Result r = run_child("/bin/sh", {"-c", "sleep 300 & echo $! >&2; exit 7"},
                               environment_with({}), ".", std::chrono::seconds(30));
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exit_code, 7);
    pid_t sleeper = static_cast<pid_t>(std::stol(r.error_output));
    ASSERT_GT(sleeper, 0);
    for (int i = 0; i < 200 && !process_has_ended(sleeper); ++i) ::usleep(10000);
    EXPECT_TRUE(process_has_ended(sleeper)) << "the sleeper " << sleeper << " still runs";
    if (!process_has_ended(sleeper)) ::kill(sleeper, SIGKILL);
}

}  // namespace
