#include "render/ring_sprite.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "render/stage_draw.h"
#include "render_fixture.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "world/enemy_lists.h"

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

TEST(Ring_Frames, TheResourcesOwnGridCutsThePicture) {
    struct Case {
        const char* inside;
        std::vector<sdk::Rect> frames;
    };
    const Case cases[] = {
        // No grid: the whole picture; no array: one frame at the origin.
        {"", {{0, 0, 96, 64}}},
        {R"(<grid size="32,32"/>)", {{0, 0, 32, 32}}},
        {R"(<grid size="32,16" array="1,2"/>)", {{0, 0, 32, 16}, {0, 16, 32, 32}}},
    };
    for (const Case& c : cases) {
        std::string xml = std::string(R"(<sprite name="ring1">)") + c.inside + "</sprite>";
        EXPECT_EQ(cut_ring_frames("ring1", resource_of(xml), {96, 64}), c.frames) << c.inside;
    }
}

TEST(Ring_Frames, MalformedGridsThrow) {
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
    // A frame past the picture's edge: the log tells which one.
    std::vector<std::string> logged;
    sdk::Log_Sink old = sdk::set_log_sink(
        [&](const std::string&, const std::string& text) { logged.push_back(text); });
    try {
        cut_ring_frames(
            "ring1",
            resource_of(R"(<sprite name="ring1"><grid size="32,32" array="3,2"/></sprite>)"),
            {90, 64});
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_STREQ(e.what(), "loading ring sprite : Outside pixelbuffer bounds");
    }
    sdk::set_log_sink(old);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.back(),
              "ring sprite 'ring1': frame 2 (64, 0, 32 x 32) is outside the 90 x 64 picture");
}

// No more frames than a sprite's grid cuts, no side below 0, and frames that
// negative sizes would put left of or above the picture are outside it.
TEST(Ring_Frames, GridsPastTheFrameCeilingOrThePictureThrow) {
    struct Case {
        const char* grid;
        const char* message;
    };
    const Case cases[] = {
        {R"(size="0,0" array="2000,3")",
         "mirel.xml: <sprite> 'ring1': 'array (columns x rows)' is 6000, not a count from 0 to "
         "the ceiling 4096"},
        {R"(size="0,0" array="5000,0")",
         "mirel.xml: <sprite> 'ring1': 'array (columns)' is 5000, not a count from 0 to the "
         "ceiling 4096"},
        {R"(size="32,32" array="-2,-3")",
         "mirel.xml: <sprite> 'ring1': 'array (columns)' is -2, not a count from 0 to the "
         "ceiling 4096"},
        {R"(size="32,32" array="1,-1")",
         "mirel.xml: <sprite> 'ring1': 'array (rows)' is -1, not a count from 0 to the ceiling "
         "4096"},
        {R"(size="-1073741824,32" array="3,1")",
         "loading ring sprite : Outside pixelbuffer bounds"},
        {R"(size="32,-16" array="1,2")", "loading ring sprite : Outside pixelbuffer bounds"},
    };
    for (const Case& c : cases) {
        std::string xml = std::string(R"(<sprite name="ring1"><grid )") + c.grid + R"(/></sprite>)";
        try {
            cut_ring_frames("ring1", resource_of(xml), {96, 64});
            ADD_FAILURE() << c.grid;
        } catch (const sdk::Exception& e) {
            EXPECT_STREQ(e.what(), c.message) << c.grid;
        }
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
        // A grid inside <image> is the sprite format's, not the ring's.
        std::ofstream(folder / "mirel.xml")
            << R"(<resources><sprite name="ring1"><image file="ring.png"/><grid size="32,32"/></sprite>
                 <sprite name="no_file"><image/></sprite>
                 <sprite name="grid_in_image"><image file="ring.png"><grid size="16,16" array="2,1"/></image></sprite>
                 <sprite name="both_grids"><image file="ring.png"><grid size="16,16" array="2,1"/></image>
                   <grid size="32,16" array="1,2"/></sprite></resources>)";
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

TEST_F(Ring_Test, FramesComeFromTheGridBesideThePicture) {
    struct Case {
        const char* resource;
        std::vector<sdk::Rect> frames;
    };
    const Case cases[] = {
        {"ring1", {{0, 0, 32, 32}}},
        {"grid_in_image", {{0, 0, 32, 32}}},  // the whole picture
        {"both_grids", {{0, 0, 32, 16}, {0, 16, 32, 32}}},
    };
    for (const Case& c : cases) {
        Ring_Sprite r(canvas(), c.resource, *resources, resources->get_doc().get_file_system());
        EXPECT_EQ(r.frames, c.frames) << c.resource;
    }
}

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

// A boss's eight rings of a hair's width would each reach the ceiling of a
// ring: together they keep to the ceiling of one frame. Rings that fit in it
// are drawn whole, also the stage's four rings flying out to radius 600,
// whose widest needs more than an even share.
TEST_F(Ring_Test, TheRingsOfOneFrameShareTheFramesCeiling) {
    const float thin = 1e-40f;
    struct Case {
        const char* what;
        float radius;
        std::vector<float> widths;
        int64_t segments;
    } cases[] = {
        {"eight hair-thin rings", 100, std::vector<float>(8, thin),
         Ring_Sprite::max_frame_segments},
        {"one of width 32 and seven hair-thin",
         100,
         {32, thin, thin, thin, thin, thin, thin, thin},
         629 + 7 * ((Ring_Sprite::max_frame_segments - 629) / 7)},
        {"two of width 32", 100, {32, 32}, 2 * 629},
        {"four flying out", 600, {12, 8, 10, 6}, 10054 + 15080 + 12064 + 20107},
    };
    for (const Case& c : cases) {
        EnemyBoss boss;
        boss.alive = 1;
        boss.is_boss = 1;
        boss.ring_x = 320;
        boss.ring_y = 240;
        boss.ring_count = static_cast<int32_t>(c.widths.size());
        for (size_t i = 0; i < c.widths.size(); ++i) {
            boss.ring_radius[i] = c.radius;
            boss.ring_width[i] = c.widths[i];
            boss.ring_alpha[i] = 1;
        }
        create_boss(boss);
        const int64_t before = ring->segments_drawn;
        update_and_draw_boss_rings(canvas(), *ring, 17);
        EXPECT_EQ(ring->segments_drawn - before, c.segments) << c.what;
        clear_enemies();
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
