// Settings and replays survive a process killed while it saves them: a child
// saves "config.dat" and "replay/mirel.rpy" in a loop, each save with other
// contents, and is killed with SIGKILL at a random moment, again and again.
// After every kill each file must be, byte for byte, either the last one
// whose save completed or the one being saved, and must load.
//
// Two copies of the game saving in one folder keep each other's saves.
//
// And a save that cannot be made at all (a folder the player may not write)
// is one line on stderr; the game goes on.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <random>

#include "app/config_file.h"
#include "app/replay.h"
#include "app/screenshot.h"
#include "sdk/core/local_file.h"
#include "tests/common/scratch_dir.h"
#include "world/settings.h"

namespace {

// Iteration i's settings: every field moves so a mixed file shows.
void set_settings(uint32_t i) {
    game_version = 91;
    fullscreen = static_cast<uint8_t>(i % 3 == 0);
    start_lives = 1 + static_cast<int32_t>(i % 5);
    dead_zone = 0.01f * static_cast<float>(1 + i % 100);
    hi_score = 100000 + i * 7919;
    sound_volume_pct = static_cast<int32_t>(i % 101);
    music_volume_pct = static_cast<int32_t>((i * 3) % 101);
    language = static_cast<int32_t>(i % 2);
    button_shoot = static_cast<int32_t>(i % 12);
    config_window_size = {640 + static_cast<int>(i % 50) * 4, 480 + static_cast<int>(i % 50) * 3};
}

// Iteration i's replay: its length changes too, so a stale tail would show.
void fill_replay(Replay& r, uint32_t i) {
    r.clear();
    int frames = 1 + static_cast<int>((i * 37) % 400);
    for (int k = 0; k < frames; ++k) {
        Replay_Frame f;
        f.dt = 16.0f + static_cast<float>(k % 2);
        f.x = static_cast<float>(i);
        f.y = static_cast<float>(k);
        f.angle = 0.5f;
        f.shoot = static_cast<uint8_t>((i + k) % 2);
        r.record_frame(f);
    }
}

std::vector<uint8_t> config_bytes_of(uint32_t i) {
    set_settings(i);
    Config_Bytes b = encode_config();
    return {b.begin(), b.end()};
}

std::vector<uint8_t> replay_bytes_of(uint32_t i) {
    language = static_cast<int32_t>(i % 2);  // the replay's header carries it
    Replay r;
    fill_replay(r, i);
    return r.encode();
}

// What the saving child tells the parent through shared memory: the
// iteration whose save began and the last one that completed, per file.
struct Progress {
    std::atomic<int64_t> config_begun{-1}, config_done{-1};
    std::atomic<int64_t> replay_begun{-1}, replay_done{-1};
};

[[noreturn]] void save_forever(Progress* p, uint32_t first) {
    Replay r;
    for (uint32_t i = first; i < first + 100000; ++i) {
        set_settings(i);
        p->config_begun = i;
        save_config();
        p->config_done = i;
        fill_replay(r, i);
        p->replay_begun = i;
        r.save("mirel");
        p->replay_done = i;
    }
    ::_exit(0);
}

// Which of the two allowed iterations the file holds; -1 when neither.
int64_t which_of(const std::vector<uint8_t>& bytes, int64_t last_complete, int64_t begun,
                 std::vector<uint8_t> (*bytes_of)(uint32_t)) {
    if (bytes == bytes_of(static_cast<uint32_t>(last_complete))) return last_complete;
    if (begun >= 0 && bytes == bytes_of(static_cast<uint32_t>(begun))) return begun;
    return -1;
}

TEST(Safe_Save, KilledWhileSavingLeavesTheOldOrTheNewFile) {
    Scratch_Dir dir;
    Replay r;
    set_settings(0);
    save_config();
    fill_replay(r, 0);
    r.save("mirel");

    auto* progress = static_cast<Progress*>(::mmap(
        nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(progress, MAP_FAILED);
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> delay_us(0, 15000);

    int64_t config_on_disk = 0, replay_on_disk = 0;
    int mid_save_kills = 0;
    uint32_t next = 1;
    for (int round = 0; round < 150; ++round) {
        new (progress) Progress;
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) save_forever(progress, next);
        ::usleep(static_cast<useconds_t>(delay_us(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself in round " << round;

        int64_t cb = progress->config_begun, cd = progress->config_done;
        int64_t rb = progress->replay_begun, rd = progress->replay_done;
        if (cb != cd || rb != rd) ++mid_save_kills;
        int64_t config_last = cd >= 0 ? cd : config_on_disk,
                replay_last = rd >= 0 ? rd : replay_on_disk;
        int64_t config_found = which_of(Scratch_Dir::read("config.dat"), config_last,
                                        cb != cd ? cb : -1, config_bytes_of);
        ASSERT_GE(config_found, 0)
            << "round " << round << ": config.dat is neither save " << config_last << " nor " << cb;
        int64_t replay_found = which_of(Scratch_Dir::read("replay/mirel.rpy"), replay_last,
                                        rb != rd ? rb : -1, replay_bytes_of);
        ASSERT_GE(replay_found, 0)
            << "round " << round << ": the replay is neither save " << replay_last << " nor " << rb;
        config_on_disk = config_found;
        replay_on_disk = replay_found;

        // And the game reads both back.
        ASSERT_TRUE(config_valid());
        load_config();
        EXPECT_EQ(hi_score, 100000 + static_cast<uint32_t>(config_found) * 7919);
        Replay loaded;
        ASSERT_TRUE(loaded.load("mirel"));
        EXPECT_EQ(loaded.replay_frames.size(),
                  1 + (static_cast<uint32_t>(replay_found) * 37) % 400);

        next = static_cast<uint32_t>(std::max({cb, rb, int64_t{0}}) + 1);
    }
    ::munmap(progress, sizeof(Progress));
    // The next saves clear what the killed ones left beside the files.
    save_config();
    r.save("mirel");
    for (const char* folder : {".", "replay"}) {
        std::vector<std::string> names;
        ASSERT_TRUE(sdk::Directory::scan(folder, names));
        for (const std::string& n : names)
            EXPECT_EQ(n.find(".tmp"), std::string::npos) << folder << "/" << n << " was left";
    }
    // Most kills land between saves; enough must land inside one to mean anything.
    EXPECT_GT(mid_save_kills, 10);
    std::printf("%d of 150 kills landed inside a save\n", mid_save_kills);
}

// Two copies of the game in one folder save the same settings and replay
// over and over: neither takes the other's save in progress for what an
// interrupted save left behind, so every save of both lands.
TEST(Safe_Save, TwoCopiesInOneFolderNeverLoseASave) {
    Scratch_Dir dir;
    std::filesystem::create_directory("replay");
    pid_t copies[2];
    for (int k = 0; k < 2; ++k) {
        copies[k] = ::fork();
        ASSERT_GE(copies[k], 0);
        if (copies[k] == 0) {
            std::string err = "copy" + std::to_string(k) + ".err";
            if (!std::freopen(err.c_str(), "w", stderr)) ::_exit(2);
            Replay r;
            for (uint32_t i = 0; i < 300; ++i) {
                set_settings(2 * i + static_cast<uint32_t>(k));
                save_config();
                fill_replay(r, i);
                r.save("mirel");
            }
            ::_exit(0);
        }
    }
    for (int k = 0; k < 2; ++k) {
        int status = 0;
        ASSERT_EQ(::waitpid(copies[k], &status, 0), copies[k]);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "copy " << k;
        std::vector<uint8_t> bytes = Scratch_Dir::read("copy" + std::to_string(k) + ".err");
        std::string said(bytes.begin(), bytes.end());
        EXPECT_TRUE(said.empty()) << "copy " << k << " lost "
                                  << std::count(said.begin(), said.end(), '\n')
                                  << " saves, the first: " << said.substr(0, said.find('\n'));
    }
    EXPECT_TRUE(config_valid());
    EXPECT_TRUE(Replay{}.load("mirel"));
}

// Each folder is spoiled so that writing fails for every user, root
// included, whom permissions would not stop.
TEST(Safe_Save, AFailedSaveIsOneLineOnStderrAndNoException) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        std::function<void()> save;
        std::string line;
    };
    Replay r;
    const Case cases[] = {
        {"a folder named config.dat", [] { std::filesystem::create_directories("config.dat/x"); },
         [] { save_config(); }, "Unable to save file: config.dat (Is a directory)"},
        {"a file named replay", [] { Scratch_Dir::write("replay", {1}); },
         [&r] { r.save("mirel"); }, "Unable to make folder: replay (File exists)"},
        {"a link named replay to nowhere",
         [] { std::filesystem::create_symlink("gone", "replay"); }, [&r] { r.save("mirel"); },
         "Unable to make folder: replay (File exists)"},
        {"a screenshot folder where no file can be made",
         [] { std::filesystem::create_directory_symlink("/proc", "screenshot"); },
         [] { save_screenshot(sdk::Pixel_Buffer(4, 4)); },
         "Unable to save file: screenshot/mirel000001.png (No such file or directory)"},
        {"a screenshot of the highest number there is",
         [] {
             std::filesystem::create_directory("screenshot");
             Scratch_Dir::write("screenshot/mirel9223372036854775807.png", {1});
         },
         [] { save_screenshot(sdk::Pixel_Buffer(4, 4)); },
         "Unable to number a screenshot: screenshot already holds the highest number there is"},
        {"a file named screenshot", [] { Scratch_Dir::write("screenshot", {1}); },
         [] { save_screenshot(sdk::Pixel_Buffer(4, 4)); },
         "Unable to make folder: screenshot (File exists)"},
    };
    for (const Case& c : cases) {
        Scratch_Dir dir;
        c.spoil();
        ::testing::internal::CaptureStderr();
        EXPECT_NO_THROW(c.save()) << c.what;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.line + "\n") << c.what;
    }
}

}  // namespace
