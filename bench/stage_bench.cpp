// Frame cost of the whole stage simulation, headless, timing every call of
// `run_stage_frame` while the scripted player of the stage tests plays:
// first the test fixture's stage (tests/world/fixtures), then, when the
// built archive "mirel.res" is found (MIREL_BINARY_DIR or the working
// folder), the game's own stage "testlevel" with five lives. For each it
// prints the median and the 99th percentile over the whole run and over its
// busiest stretch, the 300 frames with the most bullets in the pool.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sdk/core/file_system.h"
#include "tests/world/scripted_player.h"
#include "tests/world/stage_helpers.h"
#include "world/settings.h"
#include "world/stage_frame.h"

namespace {

using namespace stage_test;

struct Figures {
    double median_us = 0, p99_us = 0;
};

Figures figures_of(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
}

struct Stage_Documents {
    sdk::Resource_Manager player, patterns, levels;
};

struct Run {
    std::vector<double> cost_us;
    std::vector<uint32_t> bullets;
    bool cleared = false;
};

Run play_once(const Stage_Documents& docs) {
    using clock = std::chrono::steady_clock;
    static Fake_Presentation show;
    reset_stage_globals();
    player.load(docs.player, "player_kio");
    register_movements(play_field);
    install_named_looks();
    load_patterns(docs.patterns);
    show = Fake_Presentation{};
    stage_presentation = &show;
    start_stage_run(docs.levels, "testlevel");
    Scripted_Player script;
    Run r;
    float t = 0;
    for (int f = 0; f < 20000 && !stage_clear && !game_over; ++f) {
        float dt = f % 3 == 0 ? 17.0f : 16.0f;
        Stage_Input in;
        Player_Input devices = script.next(t, in.advances);
        in.devices = &devices;
        auto start = clock::now();
        run_stage_frame(dt, in);
        auto stop = clock::now();
        t += dt;
        r.cost_us.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
        r.bullets.push_back(bullet_pool.size());
    }
    r.cleared = stage_clear != 0;
    stage_presentation = nullptr;
    return r;
}

void report(const char* title, const Stage_Documents& docs) {
    constexpr size_t stretch = 300;
    play_once(docs);  // warm-up
    std::vector<Run> runs;
    for (int i = 0; i < 4; ++i) runs.push_back(play_once(docs));

    // The busiest stretch of the first timed run, taken from every run (the
    // runs are the same frame for frame).
    const std::vector<uint32_t>& b = runs[0].bullets;
    size_t best = 0;
    uint64_t best_sum = 0, sum = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        sum += b[i];
        if (i >= stretch) sum -= b[i - stretch];
        if (i + 1 >= stretch && sum > best_sum) {
            best_sum = sum;
            best = i + 1 - stretch;
        }
    }
    std::vector<double> all, busy;
    uint32_t peak = 0;
    for (const Run& r : runs) {
        all.insert(all.end(), r.cost_us.begin(), r.cost_us.end());
        for (size_t i = best; i < std::min(best + stretch, r.cost_us.size()); ++i) {
            busy.push_back(r.cost_us[i]);
            peak = std::max(peak, r.bullets[i]);
        }
    }
    Figures whole = figures_of(all), hot = figures_of(busy);
    std::printf("%s: %zu frames per run (%s)\n", title, runs[0].cost_us.size(),
                runs[0].cleared ? "stage cleared" : "run lost");
    std::printf("  whole run: median %.1f us, p99 %.1f us per frame\n", whole.median_us,
                whole.p99_us);
    std::printf(
        "  busiest %zu frames (from frame %zu, up to %u bullets): median %.1f us, p99 %.1f us per "
        "frame\n",
        stretch, best, peak, hot.median_us, hot.p99_us);
}

}  // namespace

int main() {
    sdk::set_log_sink([](const std::string&, const std::string&) {});
    start_lives = 3;
    report("fixture stage", {fixture_document("player.xml"), fixture_document("patterns.xml"),
                             fixture_document("levels.xml")});

    const char* dir = std::getenv("MIREL_BINARY_DIR");
    std::string archive = std::string(dir ? dir : ".") + "/mirel.res";
    std::FILE* probe = std::fopen(archive.c_str(), "rb");
    if (!probe) {
        std::printf("game stage: no %s, skipped\n", archive.c_str());
        return 0;
    }
    std::fclose(probe);
    sdk::File_System fs(archive);
    auto doc = [&](const char* name) {
        return sdk::Resource_Manager(sdk::Resource_Document(fs, name));
    };
    start_lives = 5;
    report("game stage", {doc("player.xml"), doc("patterns.xml"), doc("levels.xml")});
    return 0;
}
