// The frame step, the fade, the results bonus, screenshot numbering and the
// frame-rate counter.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/fps_counter.h"
#include "app/perf_log.h"
#include "app/screen_state.h"
#include "app/screenshot.h"
#include "app/stage_results.h"
#include "tests/common/scratch_dir.h"
#include "sdk/core/log.h"

namespace {

TEST(Frame_Step, CappedAt17AndBackwardsPassedOn) {
    EXPECT_EQ(frame_step(1040, 1000), 17.0f);
    EXPECT_EQ(frame_step(1016, 1000), 16.0f);
    EXPECT_EQ(frame_step(995, 1000), -5.0f);
}

TEST(Fade, EndsOnTheFirstValueAbove300) {
    app_state = state_fade;
    next_state = state_main_menu;
    state_timer = 0;
    fade_length = 300;
    EXPECT_FALSE(advance_fade(150));
    EXPECT_FALSE(advance_fade(150)) << "exactly 300 does not end it";
    EXPECT_EQ(app_state, state_fade);
    EXPECT_TRUE(advance_fade(1));
    EXPECT_EQ(app_state, state_main_menu);
    EXPECT_EQ(state_timer, 0.0f);
}

TEST(Stage_Bonus, AddsBlownRatioPointsAndGraze) {
    Stage_Bonus b = compute_stage_bonus(50000, 100, 10, 300, 1200);
    EXPECT_EQ(b.new_score, 1250000u + 120u * 10u * 500u + 50000u);
    EXPECT_FLOAT_EQ(b.ratio, 0.25f);
}

TEST(Stage_Bonus, NoBulletsAddedMeansNothingBlown) {
    Stage_Bonus b = compute_stage_bonus(1000, 0, 1, 0, 0);
    EXPECT_EQ(b.ratio, 0.0f);
    EXPECT_EQ(b.new_score, 1000u + 20u * 500u);
}

TEST(Stage_Bonus, LargeTotalsRoundInSinglePrecision) {
    // 16777217 is not a float: the sum rounds to 16777216 before truncation.
    Stage_Bonus b = compute_stage_bonus(16777217u, 0, 0, 0, 1);
    EXPECT_EQ(b.new_score, 16777216u);
}

TEST(Screenshot_Numbering, NextAfterTheHighest) {
    struct Case {
        std::vector<std::string> entries;
        std::optional<long long> next;
    };
    const Case cases[] = {
        {{}, 1},
        {{"mirel000007.png", "mirel000003.png", "other000100.png", "notes.txt"}, 8},
        {{"mirel12x.png"}, 13},
        // Past six digits every digit counts, so each new number is new.
        {{"mirel999999.png"}, 1000000},
        {{"mirel999999.png", "mirel1000000.png"}, 1000001},
        {{"mirel1000000.png", "mirel1000001.png", "mirel999999.png"}, 1000002},
        {{"mirel1234567.png"}, 1234568},
        {{"mirel0000000000000000000000042.png"}, 43},
        {{"mirel9223372036854775806.png"}, 9223372036854775807},
        // No number is left after the largest, nor after one too large to count.
        {{"mirel9223372036854775807.png"}, std::nullopt},
        {{"mirel000001.png", "mirel99999999999999999999999.png"}, std::nullopt},
    };
    for (const Case& c : cases) {
        std::string names;
        for (const std::string& e : c.entries) names += e + " ";
        EXPECT_EQ(next_screenshot_number(c.entries), c.next) << names;
    }
    EXPECT_EQ(zero_pad(1), "000001");
    EXPECT_EQ(zero_pad(1234567), "1234567");
    EXPECT_EQ(screenshot_file_name(8), "screenshot/mirel000008.png");
}

TEST(Screenshot_Numbering, MissingFolderIsCreated) {
    Scratch_Dir dir;
    EXPECT_EQ(next_screenshot_file(), "screenshot/mirel000001.png");
    EXPECT_TRUE(std::filesystem::is_directory("screenshot"));
    Scratch_Dir::write("screenshot/mirel000041.png", {1});
    EXPECT_EQ(next_screenshot_file(), "screenshot/mirel000042.png");
}

TEST(Screenshot_Numbering, EachSaveAfterTheSixDigitsMakesANewFile) {
    Scratch_Dir dir;
    std::filesystem::create_directory("screenshot");
    Scratch_Dir::write("screenshot/mirel999999.png", {1});
    for (int k = 0; k < 3; ++k) save_screenshot(sdk::Pixel_Buffer(4, 4));
    for (const char* name :
         {"mirel999999.png", "mirel1000000.png", "mirel1000001.png", "mirel1000002.png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(std::string("screenshot/") + name)) << name;
    EXPECT_FALSE(std::filesystem::exists("screenshot/mirel1000003.png"));
}

TEST(Fps_Counter, RateAfterTheFirstWindowOfOver500Ms) {
    Fps_Counter f;
    f.tick(1000);
    for (int t = 1016; t <= 1496; t += 16) f.tick(t);
    EXPECT_EQ(f.get_rate(), 0) << "no window has closed yet";
    f.tick(1501);  // 501 ms: 33 frames counted, the starting one included
    EXPECT_EQ(f.get_rate(), 33 * 1000 / 501);
}

}  // namespace

namespace {

TEST(Perf_Checkpoints, LogsOnlyStretchesOver20Ms) {
    std::vector<std::string> lines;
    sdk::Log_Sink old =
        sdk::set_log_sink([&lines](const std::string& category, const std::string& text) {
            lines.push_back(category + ": " + text);
        });
    Perf_Checkpoints p;
    p.reset(1000);
    EXPECT_FALSE(p.checkpoint("Before sound", 1020));
    EXPECT_TRUE(p.checkpoint("After sound", 1041));
    sdk::set_log_sink(old);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Performance: Pervormance drop of 21.000000 at After sound");
}

}  // namespace
