// The harness that runs the game's programs as children: what a program
// leaves running when it ends (a message box that SDL forks, say) is ended
// with it, and does not hold the run open until its deadline; the run tells
// the program's peak resident memory.
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

TEST(Child_Process, TellsTheProgramsPeakResidentMemory) {
    using namespace integration_test;
    constexpr long mib = 1024;  // in KiB
    // dd reads into one buffer of the block size, so it holds that much.
    const struct {
        const char* block;
        long at_least, below;
    } rows[] = {
        {"4k", 0, 128 * mib},
        {"256M", 256 * mib, 384 * mib},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.block);
        Child_Result r = run_child(
            "dd", {"if=/dev/zero", "of=/dev/null", std::string("bs=") + row.block, "count=1"},
            environment_with({}), ".", std::chrono::seconds(30));
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exit_code, 0);
        EXPECT_GE(r.peak_resident_kib, row.at_least);
        EXPECT_LT(r.peak_resident_kib, row.below);
    }
}

}  // namespace
