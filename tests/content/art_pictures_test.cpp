// The pictures of the built archive as they lie on the screen: the score
// panel's separator lines run between its rows of labels and numbers, and
// the bomb's gust fades out inside its sheet, so the stretched columns show
// no box around them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/core/string_help.h"
#include "sdk/font.h"
#include "sdk/pixel_buffer.h"
#include "tests/sdk/display_fixture.h"

namespace {

class Art_Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* dir = std::getenv("MIREL_BINARY_DIR");
        fs_ = new sdk::File_System(std::string(dir ? dir : ".") + "/mirel.res");
    }
    static void TearDownTestSuite() {
        delete fs_;
        fs_ = nullptr;
    }

    // The first picture of the sprite `id` of the document `doc`.
    sdk::Pixel_Buffer picture(const sdk::Resource_Document& doc, const std::string& id) {
        sdk::Dom_Element image = doc.get_resource(id).element.first_child("image");
        return sdk::Pixel_Buffer::load(*fs_, doc.resolve_path(image.get_attribute("file")));
    }

    static sdk::File_System* fs_;
};

sdk::File_System* Art_Pictures::fs_ = nullptr;

TEST_F(Art_Pictures, PanelSeparatorsRunBetweenTheRows) {
    sdk::Resource_Document mirel(*fs_, "mirel.xml");
    sdk::Pixel_Buffer screen = picture(mirel, "game_screen");
    sdk::Pixel_Buffer stats = picture(mirel, "game_stats");
    const sdk::Dom_Element stats_node = mirel.get_resource("game_stats").element;
    const int frame_w = 96, frame_h = 24, columns = stats.get_width() / frame_w;
    const int origin_y = sdk::text_to_int(stats_node.first_child("origin").get_attribute("y"));
    sdk::Font font(test_display::display().canvas, "font_score", mirel);
    const sdk::Font_Metrics numbers = font.get_font_metrics();

    // The panel's rows as the game draws them: a label frame and the numbers'
    // baseline at each height (graze's number two pixels lower).
    struct Row {
        int frame, y, number_y;
    };
    const Row rows[] = {{0, 16, 16},   {1, 40, 40},   {2, 74, 74},   {3, 98, 98},
                        {7, 132, 132}, {4, 156, 156}, {5, 190, 190}, {6, 214, 216}};
    std::vector<bool> taken(screen.get_height(), false);
    for (const Row& r : rows) {
        int fx = (r.frame % columns) * frame_w, fy = (r.frame / columns) * frame_h;
        for (int y = 0; y < frame_h; ++y)
            for (int x = 0; x < frame_w; ++x)
                if (stats.get_pixel(fx + x, fy + y).a > 0) taken[r.y + origin_y + y] = true;
        for (int y = r.number_y - static_cast<int>(numbers.ascent);
             y <= r.number_y + static_cast<int>(numbers.descent); ++y)
            taken[y] = true;
    }

    // A separator: a row of the panel that is bright gold across its middle.
    int separators = 0;
    for (int y = 0; y < 250; ++y) {
        int red = 0;
        for (int x = 480; x < 580; ++x) red += screen.get_pixel(x, y).r;
        if (red / 100 < 100) continue;
        ++separators;
        EXPECT_FALSE(taken[y]) << "the separator at y " << y << " crosses a row of the panel";
    }
    EXPECT_GE(separators, 3);
}

TEST_F(Art_Pictures, BombGustFadesOutInsideItsSheet) {
    sdk::Resource_Document sprites(*fs_, "sprites.xml");
    sdk::Pixel_Buffer gust = picture(sprites, "wind_gust");
    const int w = gust.get_width(), h = gust.get_height();
    // Two pixels: what filtering reads beside the edge when it is stretched.
    int marked = 0, inked = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bool border = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
            uint8_t a = gust.get_pixel(x, y).a;
            inked += a > 0;
            if (border && a > 0) ++marked;
        }
    EXPECT_EQ(marked, 0) << "pixels of the gust's border that are not transparent";
    EXPECT_GT(inked, w * h / 4);
}

}  // namespace
