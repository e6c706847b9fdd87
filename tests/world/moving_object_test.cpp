#include "world/moving_object.h"

#include <gtest/gtest.h>

namespace {

Moving_Object at(float px, float py, float x, float y) {
    Moving_Object m;
    m.prev_x = px;
    m.prev_y = py;
    m.x = x;
    m.y = y;
    return m;
}

TEST(Moving_Object, StartsAtTheOrigin) {
    Moving_Object m;
    EXPECT_EQ(m.x, 0.0f);
    EXPECT_EQ(m.y, 0.0f);
    EXPECT_EQ(m.prev_x, 0.0f);
    EXPECT_EQ(m.prev_y, 0.0f);
}

struct Swept_Case {
    const char* what;
    Moving_Object a, b;
    float r;
    bool meet;
};

TEST(Swept_Circles, Cases) {
    const Swept_Case cases[] = {
        {"passes clean through within the frame", at(0, 0, 0, 0), at(-50, 0, 50, 0), 5, true},
        {"path ends exactly at distance R", at(0, 0, 0, 0), at(-50, 0, -5, 0), 5, false},
        {"path ends just inside R", at(0, 0, 0, 0), at(-50, 0, -4.9f, 0), 5, true},
        {"already closer than R, moving apart", at(0, 0, 0, 0), at(1, 0, 100, 0), 5, true},
        {"both move in parallel, far apart", at(0, 0, 100, 0), at(0, 20, 100, 20), 5, false},
        {"misses sideways", at(0, 0, 0, 0), at(-50, 6, 50, 6), 5, false},
        {"grazes sideways inside", at(0, 0, 0, 0), at(-50, 4, 50, 4), 5, true},
        {"crossing paths meet mid-frame", at(-10, 0, 10, 0), at(0, -10, 0, 10), 2, true},
        {"approaching but the crossing lies beyond the step", at(0, 0, 0, 0), at(-50, 0, -20, 0), 5,
         false},
        {"standing still apart", at(10, 10, 10, 10), at(30, 10, 30, 10), 5, false},
        {"the other object moves onto a still one", at(30, 10, 10, 10), at(10, 10, 10, 10), 5,
         true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(swept_circles_meet(c.a, c.b, c.r), c.meet) << c.what;
        // The test is symmetric in its two objects.
        EXPECT_EQ(swept_circles_meet(c.b, c.a, c.r), c.meet) << c.what << " (swapped)";
    }
}

TEST(Rects_Overlap, EdgesDoNotCount) {
    Strategy_Rect s{32, 16, 416, 464};
    EXPECT_TRUE(rects_overlap(s, 0, 0, 33, 17));
    EXPECT_FALSE(rects_overlap(s, 0, 0, 32, 100));       // shares the left edge only
    EXPECT_FALSE(rects_overlap(s, 416, 100, 500, 200));  // shares the right edge only
    EXPECT_FALSE(rects_overlap(s, 100, 464, 200, 500));  // shares the bottom edge only
    EXPECT_FALSE(rects_overlap(s, 100, 0, 200, 16));     // shares the top edge only
    EXPECT_TRUE(rects_overlap(s, 99, 99, 101, 101));
}

}  // namespace
