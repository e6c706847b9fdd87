#include <gtest/gtest.h>

#include "sdk/canvas.h"
#include "sdk/core/math.h"

namespace {

TEST(Angle, DegreesRadiansAndNormalising) {
    struct Case { float degrees; float normalised; };
    const Case cases[] = {{0, 0}, {90, 90}, {360, 0}, {-90, 270}, {725, 5}, {-720, 0}};
    for (const Case& c : cases) {
        sdk::Angle a = sdk::Angle::from_degrees(c.degrees);
        EXPECT_NEAR(a.to_radians(), c.degrees * sdk::pi / 180.0f, 1e-5f);
        EXPECT_NEAR(a.normalize().to_degrees(), c.normalised, 1e-3f) << c.degrees;
    }
}

TEST(Vec2f, RotateTurnsClockwiseOnScreenAndAnglesAreUnsigned) {
    struct Case { sdk::Vec2f v; float degrees; sdk::Vec2f expected; };
    // y grows downwards: +90 degrees takes "right" to "down".
    const Case cases[] = {
        {{1, 0}, 90, {0, 1}}, {{0, 1}, 90, {-1, 0}}, {{1, 0}, -90, {0, -1}}, {{2, 0}, 180, {-2, 0}},
    };
    for (const Case& c : cases) {
        sdk::Vec2f v = c.v;
        v.rotate({0, 0}, sdk::Angle::from_degrees(c.degrees));
        EXPECT_NEAR(v.x, c.expected.x, 1e-5f) << c.degrees;
        EXPECT_NEAR(v.y, c.expected.y, 1e-5f) << c.degrees;
    }
    sdk::Vec2f about(10, 10), p(11, 10);
    p.rotate(about, sdk::Angle::from_degrees(90));
    EXPECT_NEAR(p.x, 10, 1e-5f);
    EXPECT_NEAR(p.y, 11, 1e-5f);
    EXPECT_NEAR(sdk::Vec2f(1, 0).angle({0, -1}).to_degrees(), 90, 1e-4f);
    EXPECT_NEAR(sdk::Vec2f(1, 0).angle({-1, 0}).to_degrees(), 180, 1e-4f);
    EXPECT_EQ(sdk::Vec2f(0, 0).normalized(), sdk::Vec2f(0, 0));
    EXPECT_NEAR(sdk::Vec2f(3, 4).length(), 5, 1e-6f);
    EXPECT_NEAR(sdk::Vec2f(3, 4).normalized().x, 0.6f, 1e-6f);
}

TEST(Rectf, LeftAndTopInsideRightAndBottomOutside) {
    const sdk::Rectf field(-20, -30, 466, 480);
    struct Case { sdk::Vec2f p; bool inside; };
    const Case cases[] = {{{-20, -30}, true}, {{465.9f, 479.9f}, true}, {{466, 0}, false},
                          {{0, 480}, false},  {{-20.1f, 0}, false},      {{100, 100}, true}};
    for (const Case& c : cases) EXPECT_EQ(field.contains(c.p), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_EQ(field.get_width(), 486);
    EXPECT_EQ(sdk::Rect(32, 16, 416, 464).get_height(), 448);
}

TEST(Transform, ComposesRightToLeft) {
    // Translate by the letterbox offset, then scale: p -> offset + s p.
    sdk::Transform t = sdk::Transform::translate(240, 0) * sdk::Transform::scale(2.25f, 2.25f);
    sdk::Vec2f p = t.apply({32, 16});
    EXPECT_NEAR(p.x, 312, 1e-4f);
    EXPECT_NEAR(p.y, 36, 1e-4f);
    sdk::Vec2f r = sdk::Transform::rotate(sdk::Angle::from_degrees(90)).apply({1, 0});
    EXPECT_NEAR(r.x, 0, 1e-6f);
    EXPECT_NEAR(r.y, 1, 1e-6f);
}

TEST(Color, FloatAndByteChannels) {
    EXPECT_EQ(sdk::Color(sdk::Colorf(1, 0.5f, 0, 2)), sdk::Color(255, 128, 0, 255));
    EXPECT_EQ(sdk::Color(sdk::Colorf(-1, 0, 0, 0)), sdk::Color(0, 0, 0, 0));
    EXPECT_FLOAT_EQ(sdk::Color(128, 128, 128, 255).to_colorf().r, 128.0f / 255.0f);
}

}  // namespace
