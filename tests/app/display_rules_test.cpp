#include "app/display_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(Resize_Rule, SnapsToFourByThree) {
    struct Case {
        sdk::Size reported, expected;
    };
    for (const Case& c :
         {Case{{799, 600}, {640, 480}}, Case{{800, 599}, {640, 480}}, Case{{1000, 600}, {800, 600}},
          Case{{800, 1000}, {800, 600}}, Case{{1024, 700}, {933, 700}},
          Case{{1024, 768}, {1024, 768}}, Case{{800, 600}, {800, 600}}}) {
        sdk::Size got = resized_window_size(c.reported);
        EXPECT_EQ(got, c.expected) << c.reported.width << " x " << c.reported.height;
    }
}

TEST(Resize_Rule, ASavedSizeLargerThanTheUsableAreaBecomesTheLargestFourByThreeThatFits) {
    struct Case {
        sdk::Size saved, usable, expected;
    };
    for (const Case& c : {
             Case{{2400, 1800}, {1280, 1024}, {1280, 960}},
             Case{{2400, 1800}, {1920, 1050}, {1400, 1050}},
             Case{{1400, 1050}, {1366, 738}, {984, 738}},
             Case{{1024, 768}, {1024, 768}, {1024, 768}},  // fits: kept
             Case{{933, 700}, {1280, 1024}, {933, 700}},   // fits, even if not 4:3
             Case{{1280, 960}, {1024, 580}, {640, 480}},   // below 800 x 600: the rule's least
             Case{{2400, 1800}, {0, 0}, {2400, 1800}},     // area unknown
         }) {
        EXPECT_EQ(fitted_window_size(c.saved, c.usable), c.expected)
            << c.saved.width << " x " << c.saved.height << " on " << c.usable.width << " x "
            << c.usable.height;
    }
}

// What the resize rule gives is mapped by its width; a window held at
// another shape (maximised under a window manager, say) shows the whole
// picture in its middle, by whole pixels.
TEST(Display_Mapping, WindowedScalesByWidthOrCentresWhatIsNotFourByThree) {
    struct Case {
        sdk::Size area;
        float scale;
        sdk::Pointf offset;
    };
    for (const Case& c : {Case{{640, 480}, 1.0f, {0, 0}}, Case{{800, 600}, 1.25f, {0, 0}},
                          Case{{933, 700}, 933.0f / 640.0f, {0, 0}}, Case{{1024, 768}, 1.6f, {0, 0}},
                          Case{{800, 1000}, 1.25f, {0, 200}}, Case{{1280, 1005}, 2.0f, {0, 22}},
                          Case{{1400, 960}, 2.0f, {60, 0}}}) {
        Display_Mapping m = map_display(false, c.area);
        EXPECT_FLOAT_EQ(m.scale, c.scale) << c.area.width << " x " << c.area.height;
        EXPECT_EQ(m.offset, c.offset) << c.area.width << " x " << c.area.height;
    }
}

TEST(Display_Mapping, FullScreenKeepsFourByThreeWithBars) {
    struct Case {
        sdk::Size area;
        float scale;
        sdk::Pointf offset;
        sdk::Rect field;
    };
    for (const Case& c : {Case{{1920, 1080}, 2.25f, {240, 0}, {312, 36, 1176, 1044}},
                          Case{{1280, 1024}, 2.0f, {0, 32}, {64, 64, 832, 960}},
                          Case{{1024, 768}, 1.6f, {0, 0}, {51, 26, 666, 742}}}) {
        Display_Mapping m = map_display(true, c.area);
        EXPECT_FLOAT_EQ(m.scale, c.scale) << c.area.width;
        EXPECT_EQ(m.offset, c.offset) << c.area.width;
        EXPECT_EQ(m.screen_field, c.field) << c.area.width;
    }
}

}  // namespace
