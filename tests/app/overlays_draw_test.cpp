// The pause and results texts over a picture of the run: they only ever
// lighten it (white or grey type, nothing dark around the letters).
#include "app/overlays_draw.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sdk/display_fixture.h"
#include "world/player.h"

namespace {

TEST(Overlay_Texts, LieStraightOverThePictureUnderThem) {
    sdk::Canvas& canvas = test_display::display().canvas;
    sdk::Font font(canvas, sdk::File_System("/usr/share/fonts/truetype/dejavu"), "DejaVuSans.ttf",
                   20);
    player.points = 39;
    player.graze = 385;
    player.score = 10502628;

    struct Case {
        const char* what;
        int32_t confirm;
        bool results;
    };
    const Case cases[] = {
        {"pause menu", 0, false},
        {"confirmation", 1, false},
        {"stage results", 0, true},
    };
    // A flat picture darker than either text colour: any darker pixel is a
    // shadow or an outline.
    const uint8_t under = 96;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        canvas.reset_cliprect();
        canvas.set_blend_mode(sdk::Blend_Mode::normal);
        canvas.clear(sdk::Colorf(under / 255.0f, under / 255.0f, under / 255.0f, 1));
        Menu_State menu;
        menu.confirm = k.confirm;
        menu.cursor = 1;
        menu.previous_score = 2528800;
        menu.blown_ratio = 0.25f;
        if (k.results)
            draw_results_texts(canvas, font, menu);
        else
            draw_pause_texts(canvas, font, menu);
        canvas.flush();
        sdk::Pixel_Buffer picture = canvas.get_pixeldata(sdk::Rect(0, 0, 448, 480));
        int darker = 0, lighter = 0;
        for (int y = 0; y < picture.get_height(); ++y)
            for (int x = 0; x < picture.get_width(); ++x) {
                sdk::Color c = picture.get_pixel(x, y);
                int low = std::min({c.r, c.g, c.b});
                darker += low < under - 2;
                lighter += low > under + 2;
            }
        EXPECT_EQ(darker, 0);
        EXPECT_GT(lighter, 200) << "the texts were drawn";
    }
}

}  // namespace
