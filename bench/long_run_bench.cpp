// A long evening at the game, headless: the real archive's stage "testlevel"
// played by a player who presses random keys (held for random stretches, as
// a restless hand does), with now and then a run by a careful player who
// reaches the boss, started again after every game over and every
// cleared stage, for 60 minutes of game time (MIREL_LONG_RUN_MINUTES to
// change it). Prints the process's peak memory (resident high-water mark) and
// its current memory after 1, 10 and 60 minutes, which must stay flat, the
// number of runs, and how many frames took more than 16 ms of simulation.
// The heap in use (malloc's count) is printed beside them: it shows growth
// that the resident figures would hide until the pages run out.
// Run from the build folder (the archive "mirel.res" beside the program).
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "app/replay.h"
#include "sdk/core/exception.h"
#include "tests/content/archive_stage_player.h"
#include "world/stage_frame.h"

namespace {

using namespace stage_test;

// "VmHWM" (peak) or "VmRSS" (now) of /proc/self/status, in KiB.
long memory_kib(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0) return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    return -1;
}

// About as long as the fairies' and the boss's dying animations last.
constexpr float dying_animation_ms = 800.0f;

// Random keys, each held for 5 to 60 frames; the dialog is advanced now and then.
struct Random_Player {
    std::mt19937 rng{20261210};
    Player_Input held;
    int hold = 0;
    int frame = 0;

    Player_Input next(int32_t& advances) {
        ++frame;
        if (hold-- <= 0) {
            std::uniform_int_distribution<int> bit(0, 1), len(5, 60), rare(0, 20);
            held = Player_Input{};
            held.left = bit(rng);
            held.right = !held.left && bit(rng);
            held.up = bit(rng) && bit(rng);
            held.down = !held.up && bit(rng);
            held.left_shift = bit(rng);
            held.z = rare(rng) < 16;
            held.x = rare(rng) == 0;
            held.c = rare(rng) == 0;
            hold = len(rng);
        }
        advances = dialog_active && frame % 15 == 0 ? 1 : 0;
        return held;
    }
};

}  // namespace

int main() {
    const char* minutes_env = std::getenv("MIREL_LONG_RUN_MINUTES");
    const double minutes = minutes_env ? std::atof(minutes_env) : 60.0;
    // Every n-th run (MIREL_LONG_RUN_CAREFUL, default 4; 0 for none) is played
    // by the dodging player of the stage tests instead, so the long run also
    // reaches the later waves and the boss.
    const char* careful_env = std::getenv("MIREL_LONG_RUN_CAREFUL");
    const int every_careful = careful_env ? std::atoi(careful_env) : 4;
    try {
        sdk::set_log_sink([](const std::string&, const std::string&) {});
        Archive_Stage stage;
        stage.load_world();

        Random_Player hand;
        Dodging_Player careful;
        bool careful_run = false;
        const double game_ms_total = minutes * 60000.0;
        const double checkpoints[] = {1, 10, 60};
        size_t next_checkpoint = 0;
        double game_ms = 0, longest_ms = 0;
        long frames = 0, slow_frames = 0;
        int runs = 0, cleared = 0, deepest_event = 0;
        uint32_t most_bullets = 0;
        auto begin_run = [&] {
            ++runs;
            careful_run = every_careful > 0 && runs % every_careful == 0;
            careful = Dodging_Player{};
            replay.clear();
            stage.start_run(3);
        };
        begin_run();
        while (game_ms < game_ms_total) {
            float dt = frames % 3 == 0 ? 17.0f : 16.0f;
            Stage_Input in;
            Player_Input devices = careful_run ? careful.next(in.advances) : hand.next(in.advances);
            in.devices = &devices;
            if (dialog_active && in.advances > 0) replay.mark_dialog_advance();
            auto t0 = std::chrono::steady_clock::now();
            replay.record_frame(run_stage_frame(dt, in));
            double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            // Nothing is drawn here, so the dying animations, which end an
            // enemy's stay on the dead stack, end as the looks would end them.
            for (const auto& e : enemy_lists.dead)
                if (e->age > dying_animation_ms) e->alive = 0;
            ++frames;
            if (ms > 16.0) ++slow_frames;
            longest_ms = std::max(longest_ms, ms);
            game_ms += dt;
            deepest_event = std::max(deepest_event, static_cast<int>(next_event));
            most_bullets = std::max(most_bullets, bullet_pool.size());
            if (game_over || stage_clear) {
                cleared += stage_clear != 0;
                reset_world();
                begin_run();
            }
            while (next_checkpoint < std::size(checkpoints) && game_ms >= checkpoints[next_checkpoint] * 60000.0) {
                std::printf(
                    "long_run: %2.0f min of game time: peak memory %ld KiB, now %ld KiB, heap in use %zu KiB, "
                    "%d runs, %ld frames, most bullets %u\n",
                    checkpoints[next_checkpoint], memory_kib("VmHWM"), memory_kib("VmRSS"), mallinfo2().uordblks / 1024,
                    runs, frames, most_bullets);
                std::fflush(stdout);
                ++next_checkpoint;
            }
        }
        std::printf("long_run: %.0f min, %ld frames, %d runs (%d cleared), furthest event %d of %zu\n", minutes, frames,
                    runs, cleared, deepest_event, level_events.size());
        std::printf("long_run: frames over 16 ms of simulation: %ld (longest %.2f ms)\n", slow_frames, longest_ms);
        return 0;
    } catch (const sdk::Exception& e) {
        std::fprintf(stderr, "long_run: %s\n", e.what());
        return 1;
    }
}
