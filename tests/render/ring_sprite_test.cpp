#include "render/ring_sprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "render_fixture.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"

namespace {

using namespace render_test;
using test_display::color_near;

sdk::Dom_Element resource_of(const std::string& xml) {
    static std::vector<sdk::Resource_Document> keep;
    keep.push_back(
        sdk::Resource_Document::from_text("<resources>" + xml + "</resources>", "mirel.xml"));
    return keep.back().get_resource("ring1").element;
}

TEST(Ring_Frames, GridCutsRowByRowAndLogsEachFrame) {
    std::vector<std::string> logged;
    sdk::Log_Sink old =
        sdk::set_log_sink([&](const std::string& category, const std::string& text) {
            if (category == "Debug") logged.push_back(text);
        });
    auto frames = cut_ring_frames(
        "ring1", resource_of(R"(<sprite name="ring1"><grid size="32,32" array="3,2"/></sprite>)"),
        {96, 64});
    sdk::set_log_sink(old);
    const sdk::Rect want[] = {{0, 0, 32, 32},  {32, 0, 64, 32},  {64, 0, 96, 32},
                              {0, 32, 32, 64}, {32, 32, 64, 64}, {64, 32, 96, 64}};
    ASSERT_EQ(frames.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(frames[i], want[i]) << i;
    ASSERT_EQ(logged.size(), 6u);
    EXPECT_EQ(logged[4], "Ring frame added : 32 32 32 32");
}

TEST(Ring_Frames, MalformedResourcesThrowNamingTheResource) {
    // No grid: the whole picture; no array: one frame at the origin.
    EXPECT_EQ(cut_ring_frames("ring1", resource_of(R"(<sprite name="ring1"/>)"), {90, 40}),
              (std::vector<sdk::Rect>{{0, 0, 90, 40}}));
    EXPECT_EQ(cut_ring_frames("ring1",
                              resource_of(R"(<sprite name="ring1"><grid size="32,32"/></sprite>)"),
                              {96, 64}),
              (std::vector<sdk::Rect>{{0, 0, 32, 32}}));
    for (const char* array : {"3", "3,2,1"}) {
        std::string xml = std::string(R"(<sprite name="ring1"><grid size="32,32" array=")") +
                          array + R"("/></sprite>)";
        try {
            cut_ring_frames("ring1", resource_of(xml), {96, 64});
            ADD_FAILURE() << array;
        } catch (const sdk::Exception& e) {
            EXPECT_STREQ(e.what(),
                         "Resource 'ring1' has incorrect array attribute, must be \"X,Y\"!");
        }
    }
    try {
        cut_ring_frames(
            "ring1",
            resource_of(R"(<sprite name="ring1"><grid size="32,32" array="3,2"/></sprite>)"),
            {90, 64});
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("ring1"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("outside"), std::string::npos) << e.what();
    }
}

// A ring picture of one 32 x 32 frame: the left (inner) half red, the right
// (outer) half blue.
class Ring_Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        art();
        folder = art().dir / "ring";
        std::filesystem::create_directories(folder);
        sdk::Pixel_Buffer strip(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                strip.set_pixel(x, y, x < 16 ? sdk::Color(255, 0, 0) : sdk::Color(0, 0, 255));
        strip.save_png((folder / "ring.png").string());
        std::ofstream(folder / "mirel.xml")
            << R"(<resources><sprite name="ring1"><image file="ring.png"/><grid size="32,32"/></sprite>
                 <sprite name="no_file"><image/></sprite></resources>)";
        sdk::File_System fs(folder.string());
        resources = new sdk::Resource_Manager(sdk::Resource_Document(fs, "mirel.xml"));
        ring = new Ring_Sprite(canvas(), "ring1", *resources, fs);
    }
    static void TearDownTestSuite() {
        delete ring;
        delete resources;
    }
    void SetUp() override { clean_canvas(); }

    static inline std::filesystem::path folder;
    static inline sdk::Resource_Manager* resources = nullptr;
    static inline Ring_Sprite* ring = nullptr;
};

TEST_F(Ring_Test, InnerCircumferenceSetsTheSegmentsAndOneBatchDrawsThem) {
    ring->current_frame = 0;
    ring->draw_ring(canvas(), 100, 32, 0, sdk::Colorf::white(), 320, 240);
    EXPECT_EQ(ring->last_segments, 629);  // 628.3 pixels at one texel a segment
    EXPECT_EQ(ring->last_batches, 1);
    // Across the ring: the inner half of the strip inside, the outer outside.
    EXPECT_TRUE(color_near(pixel(320 + 108, 240), sdk::Color(255, 0, 0), 16));
    EXPECT_TRUE(color_near(pixel(320, 240 - 124), sdk::Color(0, 0, 255), 16));
    EXPECT_TRUE(color_near(pixel(320, 240), sdk::Color(0, 0, 0)));
    EXPECT_TRUE(color_near(pixel(320 + 140, 240), sdk::Color(0, 0, 0)));
}

TEST_F(Ring_Test, LargeRingsAreDrawnInFullBatchesAndARest) {
    // Width 8 on a 32-texel frame: k = 0.25, so radius 200 needs 5027 segments.
    ring->draw_ring(canvas(), 200, 8, 0, sdk::Colorf::white(), 320, 240);
    EXPECT_EQ(ring->last_segments, static_cast<int>(std::ceil(2 * 3.14159265358979 * 200 / 0.25)));
    EXPECT_EQ(ring->last_batches, 2);
}

// A card's ring far past the screen (a target of 1e30) needs more segments
// than any integer holds; it is drawn with the ceiling's worth.
TEST_F(Ring_Test, HugeRingsStopAtTheSegmentCeiling) {
    for (float radius : {1e6f, 1e30f}) {
        ring->draw_ring(canvas(), radius, 8, 0, sdk::Colorf::white(), 320, 240);
        EXPECT_EQ(ring->last_segments, Ring_Sprite::max_ring_segments) << radius;
    }
}

TEST_F(Ring_Test, DegenerateRingsDrawNothingAndReturn) {
    struct Case {
        float radius, width;
    };
    const Case cases[] = {{0, 32}, {-5, 32}, {100, 0}, {100, -3}, {NAN, 32}, {100, INFINITY}};
    for (const Case& c : cases) {
        ring->draw_ring(canvas(), c.radius, c.width, 0, sdk::Colorf::white(), 320, 240);
        EXPECT_EQ(ring->last_segments, 0) << c.radius << " " << c.width;
        EXPECT_EQ(ring->last_batches, 0);
    }
    EXPECT_TRUE(color_near(pixel(320 + 110, 240), sdk::Color(0, 0, 0)));
}

TEST_F(Ring_Test, ZeroWidthFramesDrawNothing) {
    Ring_Sprite thin(canvas(), "ring1", *resources, resources->get_doc().get_file_system());
    thin.frames = {sdk::Rect(0, 0, 0, 32), sdk::Rect(0, 0, 32, 0)};
    for (int f = 0; f < 2; ++f) {
        thin.current_frame = f;
        thin.draw_ring(canvas(), 100, 32, 0, sdk::Colorf::white(), 320, 240);
        EXPECT_EQ(thin.last_segments, 0);
    }
}

TEST_F(Ring_Test, AResourceWithoutAnImageFileIsNamed) {
    try {
        Ring_Sprite broken(canvas(), "no_file", *resources, resources->get_doc().get_file_system());
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_STREQ(e.what(), "Resource 'no_file' has no image file specified!");
    }
}

}  // namespace
