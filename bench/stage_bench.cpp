// Frame cost of the whole stage simulation: the test fixture's stage
// (tests/world/fixtures) played headless by the scripted player of the
// stage tests, timing every call of `run_stage_frame`. Prints the median and
// the 99th percentile over the whole stage and over its busiest stretch, the
// 300 frames with the most bullets in the pool. Run it from anywhere; the
// fixture is found beside this source or under MIREL_SOURCE_DIR.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/world/scripted_player.h"
#include "tests/world/stage_helpers.h"
#include "world/stage_frame.h"

namespace {

struct Figures {
    double median_us = 0, p99_us = 0;
};

Figures figures_of(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
}

}  // namespace

int main() {
    using namespace stage_test;
    using clock = std::chrono::steady_clock;
    constexpr size_t stretch = 300;
    sdk::set_log_sink([](const std::string&, const std::string&) {});

    std::vector<double> cost_us;
    std::vector<uint32_t> bullets;
    Fake_Presentation show;
    for (int run = 0; run < 5; ++run) {
        reset_stage_globals();
        install_named_looks();
        load_patterns(fixture_document("patterns.xml"));
        show = Fake_Presentation{};
        stage_presentation = &show;
        start_stage_run(fixture_document("levels.xml"), "testlevel");
        Scripted_Player script;
        float t = 0;
        for (int f = 0; f < 6000 && !stage_clear && !game_over; ++f) {
            float dt = f % 3 == 0 ? 17.0f : 16.0f;
            Stage_Input in;
            Player_Input devices = script.next(t, in.advances);
            in.devices = &devices;
            auto start = clock::now();
            run_stage_frame(dt, in);
            auto stop = clock::now();
            t += dt;
            if (run == 0) continue;  // warm-up
            cost_us.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
            bullets.push_back(bullet_pool.size());
        }
    }
    stage_presentation = nullptr;

    // The busiest stretch: the window of `stretch` frames with the most
    // bullets (searched in the first timed run, taken from every run).
    size_t frames_per_run = cost_us.size() / 4;
    size_t best = 0;
    uint64_t best_sum = 0, sum = 0;
    for (size_t i = 0; i < frames_per_run; ++i) {
        sum += bullets[i];
        if (i >= stretch) sum -= bullets[i - stretch];
        if (i + 1 >= stretch && sum > best_sum) {
            best_sum = sum;
            best = i + 1 - stretch;
        }
    }
    std::vector<double> busy;
    uint32_t peak = 0;
    for (size_t r = 0; r < 4; ++r)
        for (size_t i = best; i < std::min(best + stretch, frames_per_run); ++i) {
            busy.push_back(cost_us[r * frames_per_run + i]);
            peak = std::max(peak, bullets[r * frames_per_run + i]);
        }

    Figures all = figures_of(cost_us), hot = figures_of(busy);
    std::printf("stage frames per run: %zu\n", frames_per_run);
    std::printf("whole stage: median %.1f us, p99 %.1f us per frame\n", all.median_us, all.p99_us);
    std::printf("busiest %zu frames (from frame %zu, up to %u bullets): median %.1f us, p99 %.1f us per frame\n",
                stretch, best, peak, hot.median_us, hot.p99_us);
    return 0;
}
