#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "display_fixture.h"
#include "sdk/core/exception.h"
#include "sdk/font.h"
#include "sdk/image.h"
#include "sdk/sprite.h"
#include "sdk/texture.h"

namespace {

using sdk::Color;
using test_display::color_near;

const Color red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255), white(255, 255, 255),
    black(0, 0, 0);

// sheet.png: four 8 x 8 frames in a row (red, green, blue, white); bar.png: a
// 16 x 4 bar, left half red and right half blue.
class Sprite_Test : public ::testing::Test {
protected:
    void SetUp() override {
        sdk::Pixel_Buffer sheet(32, 8);
        const Color colors[4] = {red, green, blue, white};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 32; ++x) sheet.set_pixel(x, y, colors[x / 8]);
        sheet.save_png(dir.file("sheet.png"));
        sdk::Pixel_Buffer bar(16, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 16; ++x) bar.set_pixel(x, y, x < 8 ? red : blue);
        bar.save_png(dir.file("bar.png"));
        std::ofstream(dir.file("sprites.xml")) << R"(<resources>
  <sprite name="sheet">
    <image file="sheet.png"><grid pos="0,0" size="8,8" array="4,1"/></image>
    <animation speed="100"/>
    <frame nr="1" speed="300"/>
  </sprite>
  <sprite name="once">
    <image file="sheet.png"><grid size="8,8" array="4,1"/></image>
    <animation speed="10" loop="no"/>
  </sprite>
  <sprite name="bar"><image file="bar.png"/><origin mode="center"/></sprite>
  <sprite name="outside"><image file="sheet.png"><grid size="8,8" array="5,1"/></image></sprite>
  <sprite name="no_file"><image file="missing.png"/></sprite>
  <sprite name="bad_origin"><image file="bar.png"/><origin mode="middle"/></sprite>
  <sprite name="no_image"/>
  <image name="picture" file="bar.png"/>
</resources>)";
        fs = sdk::File_System(dir.path.string());
        doc = sdk::Resource_Document(fs, "sprites.xml");
        canvas = d.canvas;
        canvas.reset_cliprect();
        canvas.set_transform({});
        canvas.set_blend_mode(sdk::Blend_Mode::normal);
        canvas.clear(sdk::Colorf::black());
    }

    Color at(int x, int y) {
        sdk::Pixel_Buffer p = canvas.get_pixeldata(sdk::Rect(x, y, x + 1, y + 1));
        return p.get_pixel(0, 0);
    }

    test_display::Display& d = test_display::display();
    test_display::Temp_Folder dir{"mirel_sprite"};
    sdk::File_System fs;
    sdk::Resource_Document doc;
    sdk::Canvas canvas;
};

TEST_F(Sprite_Test, GridCutsFramesRowByRowAndFrameIsClamped) {
    sdk::Sprite s(canvas, "sheet", doc);
    ASSERT_EQ(s.get_frame_count(), 4);
    EXPECT_EQ(s.get_frame_rect(2), sdk::Rect(16, 0, 24, 8));
    EXPECT_EQ(s.get_frame_delay(0), 100);
    EXPECT_EQ(s.get_frame_delay(1), 300);

    struct Case { int set; int shown; Color color; };
    const Case cases[] = {{0, 0, red}, {2, 2, blue}, {3, 3, white}, {4, 3, white}, {-1, 3, white}, {1, 1, green}};
    for (const Case& c : cases) {
        canvas.clear();
        s.set_frame(c.set);
        EXPECT_EQ(s.get_current_frame(), c.shown) << c.set;
        s.draw(canvas, 10, 10);
        EXPECT_TRUE(color_near(at(13, 13), c.color)) << "frame " << c.set;
        EXPECT_TRUE(color_near(at(19, 13), black)) << "frame " << c.set;
    }
    EXPECT_EQ(s.get_width(), 8);
    EXPECT_EQ(s.get_height(), 8);
}

TEST_F(Sprite_Test, AlphaColourAndScale) {
    sdk::Sprite s(canvas, "sheet", doc);
    s.set_frame(3);  // white
    s.set_alpha(0.5f);
    s.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(4, 4), Color(128, 128, 128)));

    canvas.clear();
    s.set_color(sdk::Colorf(1, 0, 0, 1));  // the colour carries its own alpha
    s.set_scale(2, 3);
    s.draw(canvas, 100, 100);
    EXPECT_TRUE(color_near(at(101, 101), red));
    EXPECT_TRUE(color_near(at(115, 123), red));
    EXPECT_TRUE(color_near(at(117, 101), black));
    EXPECT_TRUE(color_near(at(101, 125), black));
}

TEST_F(Sprite_Test, ColoursAboveOneBrightenThePicture) {
    sdk::Pixel_Buffer grey(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) grey.set_pixel(x, y, Color(100, 100, 100));
    sdk::Sprite s(canvas, sdk::Texture(canvas, grey));
    struct Case {
        sdk::Colorf colour;
        std::optional<float> alpha;  // set after the colour
        Color shown;                 // over black
    };
    const Case cases[] = {
        {{1, 1, 1, 1}, {}, {100, 100, 100}},
        {{1.5f, 1.5f, 1.5f, 1}, {}, {150, 150, 150}},
        {{1.5f, 1.5f, 1.5f, 0.5f}, {}, {75, 75, 75}},
        {{2, 1, 0.5f, 1}, {}, {200, 100, 50}},
        {{3, 3, 3, 1}, {}, {200, 200, 200}},  // at most twice as bright
        // The alpha alone changes, and the colour stays over-bright.
        {{1.5f, 1.5f, 1.5f, 1}, 0.5f, {75, 75, 75}},
        {{2, 1, 0.5f, 0}, 1.0f, {200, 100, 50}},
        {{1.5f, 1.5f, 1.5f, 1}, 0.0f, {0, 0, 0}},
        {{1, 1, 1, 0.5f}, 1.0f, {100, 100, 100}},
    };
    for (const Case& c : cases) {
        for (bool stretched : {false, true}) {
            canvas.clear(sdk::Colorf::black());
            s.set_color(c.colour);
            if (c.alpha) s.set_alpha(*c.alpha);
            if (stretched)
                s.draw(canvas, sdk::Rectf(10, 10, 26, 26));
            else
                s.draw(canvas, 10, 10);
            EXPECT_TRUE(color_near(at(14, 14), c.shown, 4))
                << c.colour.r << " " << c.colour.g << " " << c.colour.b << " " << c.colour.a
                << (c.alpha ? " then alpha " + std::to_string(*c.alpha) : "")
                << (stretched ? " stretched" : "");
        }
    }
    EXPECT_EQ(canvas.get_blend_mode(), sdk::Blend_Mode::normal);
}

TEST_F(Sprite_Test, AlignmentPlacesTheOriginPointAtThePosition) {
    sdk::Sprite s(canvas, "sheet", doc);
    s.set_frame(0);
    struct Case { sdk::Origin origin; float ox, oy; int left, top; };
    const Case cases[] = {
        {sdk::Origin::top_left, 0, 0, 50, 50},     {sdk::Origin::center, 0, 0, 46, 46},
        {sdk::Origin::bottom_right, 0, 0, 42, 42}, {sdk::Origin::top_center, 0, 0, 46, 50},
        {sdk::Origin::center, 10, -5, 56, 41},
    };
    for (const Case& c : cases) {
        canvas.clear();
        s.set_alignment(c.origin, c.ox, c.oy);
        s.draw(canvas, 50, 50);
        EXPECT_TRUE(color_near(at(c.left, c.top), red)) << static_cast<int>(c.origin);
        EXPECT_TRUE(color_near(at(c.left + 7, c.top + 7), red)) << static_cast<int>(c.origin);
        EXPECT_TRUE(color_near(at(c.left - 1, c.top), black)) << static_cast<int>(c.origin);
        EXPECT_TRUE(color_near(at(c.left + 8, c.top + 7), black)) << static_cast<int>(c.origin);
    }
    // The resource's own origin.
    sdk::Sprite bar(canvas, "bar", doc);
    EXPECT_EQ(bar.get_alignment(), sdk::Origin::center);
}

TEST_F(Sprite_Test, AngleTurnsClockwiseAndYawMirrors) {
    sdk::Sprite bar(canvas, "bar", doc);  // centred, red on the left
    bar.draw(canvas, 100, 100);
    EXPECT_TRUE(color_near(at(93, 100), red));
    EXPECT_TRUE(color_near(at(106, 100), blue));
    EXPECT_TRUE(color_near(at(100, 106), black));

    canvas.clear();
    bar.set_angle(sdk::Angle::from_degrees(90));  // the left end swings up... to the top
    bar.draw(canvas, 100, 100);
    EXPECT_TRUE(color_near(at(100, 93), red));
    EXPECT_TRUE(color_near(at(100, 106), blue));
    EXPECT_TRUE(color_near(at(93, 100), black));

    canvas.clear();
    bar.set_angle(sdk::Angle());
    bar.set_angle_yaw(sdk::Angle::from_degrees(180));
    bar.draw(canvas, 100, 100);
    EXPECT_TRUE(color_near(at(93, 100), blue));
    EXPECT_TRUE(color_near(at(106, 100), red));
}

TEST_F(Sprite_Test, CopiesShareStateAndClonesDoNot) {
    sdk::Sprite a(canvas, "sheet", doc);
    sdk::Sprite b = a;
    b.set_frame(2);
    EXPECT_EQ(a.get_current_frame(), 2);
    sdk::Sprite c = a.clone();
    c.set_frame(0);
    EXPECT_EQ(a.get_current_frame(), 2);

    sdk::Sprite empty;
    empty.set_frame(3);
    empty.draw(canvas, 0, 0);
    EXPECT_EQ(empty.get_width(), 0);
    EXPECT_TRUE(color_near(at(1, 1), black));
    sdk::Canvas no_canvas;
    a.draw(no_canvas, 0, 0);  // nothing to draw on, nothing happens
}

TEST_F(Sprite_Test, UpdateFollowsFrameDelays) {
    sdk::Sprite s(canvas, "sheet", doc);
    struct Step { float ms; int frame; };
    // Delays 100, 300, 100, 100; looping.
    const Step steps[] = {{50, 0}, {50, 1}, {299, 1}, {1, 2}, {100, 3}, {100, 0}, {600 * 10 + 50, 0}};
    for (const Step& st : steps) {
        s.update(st.ms);
        EXPECT_EQ(s.get_current_frame(), st.frame) << st.ms;
    }
    sdk::Sprite once(canvas, "once", doc);
    once.update(25);
    EXPECT_EQ(once.get_current_frame(), 2);
    EXPECT_FALSE(once.is_finished());
    once.update(1000);
    EXPECT_EQ(once.get_current_frame(), 3);
    EXPECT_TRUE(once.is_finished());
}

TEST_F(Sprite_Test, BadResourcesNameTheDocumentAndTheSprite) {
    struct Case { const char* id; const char* message; };
    const Case cases[] = {
        {"outside", "sprites.xml: sprite 'outside': grid frame 4 (32,0 8x8) lies outside sheet.png (32x8)"},
        {"no_file", "sprites.xml: sprite 'no_file': Unable to open file: missing.png"},
        {"bad_origin", "sprites.xml: sprite 'bad_origin': unknown origin mode \"middle\""},
        {"no_image", "sprites.xml: sprite 'no_image': no <image> gives it a frame"},
        {"nothing", "Resource not found: nothing (in sprites.xml)"},
    };
    for (const Case& c : cases) {
        try {
            sdk::Sprite s(canvas, c.id, doc);
            ADD_FAILURE() << c.id << " loaded";
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

// Found by fuzzing: grid numbers near the limits of an int overflowed while
// the frames were placed, instead of being reported as frames outside.
TEST_F(Sprite_Test, HugeGridNumbersAreFramesOutsideThePicture) {
    const char* const grids[] = {
        "pos='2147483647,0' size='8,8'",
        "pos='0,0' size='2147483647,8' array='2,1'",
        "pos='0,0' size='8,8' array='3,1' spacing='2147483640,0'",
        "pos='-2147483648,0' size='8,8' array='1,1' spacing='-2147483648,0'",
    };
    for (const char* grid : grids) {
        auto huge = sdk::Resource_Document::from_text(
            std::string("<resources><sprite name='huge'><image file='sheet.png'><grid ") + grid +
                "/></image></sprite></resources>",
            "sprites.xml", doc.get_file_system());
        try {
            sdk::Sprite s(canvas, "huge", huge);
            ADD_FAILURE() << grid << " loaded";
        } catch (const sdk::Exception& e) {
            EXPECT_NE(std::string(e.what()).find("lies outside sheet.png"), std::string::npos) << e.what();
        }
    }
}

TEST_F(Sprite_Test, GridsOfMoreFramesThanTheCeilingAreRefused) {
    struct Case { const char* array; const char* value; };
    const Case cases[] = {{"4097,1", "4097"}, {"64,65", "4160"}, {"2147483647,2147483647", "4.61169e+18"}};
    for (const Case& c : cases) {
        auto many = sdk::Resource_Document::from_text(
            std::string("<resources><sprite name='many'><image file='sheet.png'><grid size='1,1' array='") +
                c.array + "'/></image></sprite></resources>",
            "sprites.xml", doc.get_file_system());
        try {
            sdk::Sprite s(canvas, "many", many);
            ADD_FAILURE() << c.array << " loaded";
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), std::string("sprites.xml: sprite 'many': 'array (columns x rows)' is ") +
                                                 c.value + ", not a count from 0 to the ceiling 4096");
        }
    }
}

TEST_F(Sprite_Test, ClipRectanglesStackAndPop) {
    sdk::Sprite s(canvas, "sheet", doc);
    s.set_frame(3);
    s.set_scale(10, 10);  // 80 x 80 of white from (0, 0)
    canvas.set_cliprect(sdk::Rect(10, 10, 40, 40));
    canvas.push_cliprect(sdk::Rect(20, 0, 60, 30));  // in effect: (20, 10)-(40, 30)
    s.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(25, 15), white));
    EXPECT_TRUE(color_near(at(15, 15), black));
    EXPECT_TRUE(color_near(at(25, 35), black));
    canvas.pop_cliprect();  // back to (10, 10)-(40, 40)
    s.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(15, 35), white));
    EXPECT_TRUE(color_near(at(45, 15), black));
    canvas.pop_cliprect();  // none left
    canvas.pop_cliprect();  // popping an empty stack is harmless
    s.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(70, 70), white));
}

TEST_F(Sprite_Test, TransformStackScalesAndTranslates) {
    sdk::Sprite s(canvas, "sheet", doc);
    s.set_frame(1);
    canvas.set_translate(100, 50);
    canvas.mult_scale(2, 2);
    canvas.push_modelview();
    canvas.mult_translate(10, 0);
    s.draw(canvas, 0, 0);  // (120, 50)-(136, 66)
    canvas.pop_modelview();
    EXPECT_TRUE(color_near(at(121, 51), green));
    EXPECT_TRUE(color_near(at(135, 65), green));
    EXPECT_TRUE(color_near(at(118, 51), black));
    EXPECT_EQ(canvas.get_transform(), sdk::Transform::translate(100, 50) * sdk::Transform::scale(2, 2));
}

TEST_F(Sprite_Test, RenderToTextureAndBack) {
    sdk::Texture target(canvas, 640, 480);
    sdk::Canvas capture(d.window, target);
    EXPECT_EQ(capture.get_size(), sdk::Size(640, 480));
    capture.clear(sdk::Colorf(0, 0, 1, 1));
    sdk::Sprite s(canvas, "sheet", doc);
    s.set_frame(0);
    s.draw(capture, 8, 8);
    // The window was not touched.
    EXPECT_TRUE(color_near(at(10, 10), black));
    sdk::Image picture(target);
    picture.draw(canvas, sdk::Rectf(0, 0, 320, 240));  // half size
    EXPECT_TRUE(color_near(at(5, 5), red));
    EXPECT_TRUE(color_near(at(100, 100), blue));
    EXPECT_TRUE(color_near(at(330, 100), black));

    sdk::Pixel_Buffer p = capture.get_pixeldata();
    EXPECT_EQ(p.get_width(), 640);
    EXPECT_TRUE(color_near(p.get_pixel(9, 9), red));
}

TEST_F(Sprite_Test, BlendModes) {
    sdk::Image picture(canvas, "picture", doc);
    canvas.clear(sdk::Colorf(0, 0.5f, 0, 1));
    picture.set_alpha(0.5f);
    canvas.set_blend_mode(sdk::Blend_Mode::additive);
    picture.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(2, 2), Color(128, 128, 0)));
    canvas.set_blend_mode(sdk::Blend_Mode::none);
    picture.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(2, 2), red));  // the source replaced what was there
    canvas.set_blend_mode(sdk::Blend_Mode::normal);
}

TEST_F(Sprite_Test, RectanglesTrianglesAndLines) {
    canvas.fill_rect(sdk::Rectf(10, 10, 20, 20), sdk::Colorf(0, 1, 0, 1));
    EXPECT_TRUE(color_near(at(15, 15), green));
    EXPECT_TRUE(color_near(at(21, 15), black));
    const sdk::Vec2f tri[3] = {{100, 100}, {140, 100}, {100, 140}};
    canvas.fill_triangles(tri, 3, sdk::Colorf(0, 0, 1, 1));
    EXPECT_TRUE(color_near(at(105, 105), blue));
    EXPECT_TRUE(color_near(at(135, 135), black));
    canvas.draw_line(200, 50, 300, 50, sdk::Colorf(1, 1, 1, 1));
    EXPECT_TRUE(color_near(at(250, 50), white));
}

TEST_F(Sprite_Test, LinearFilteringBlendsNeighboursAndCanBeTurnedOff) {
    sdk::Pixel_Buffer two(2, 1);
    two.set_pixel(0, 0, black);
    two.set_pixel(1, 0, white);
    sdk::Sprite s(canvas, sdk::Texture(canvas, two));
    s.set_scale(50, 50);  // 100 x 50
    s.draw(canvas, 0, 0);
    int mid = at(45, 25).r;  // between the two texels
    EXPECT_GT(mid, 60);
    EXPECT_LT(mid, 200);
    canvas.clear();
    s.set_linear_filter(false);
    s.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(45, 25), black, 0));
    EXPECT_TRUE(color_near(at(55, 25), white, 0));
}

TEST_F(Sprite_Test, PicturesSharingAnAtlasDoNotBleedIntoEachOther) {
    // Both files land on one shared texture; scaled with filtering, each
    // picture's border still shows its own edge pixels, fully opaque.
    sdk::Sprite sheet(canvas, "sheet", doc);
    sdk::Sprite bar(canvas, "bar", doc);
    bar.set_alignment(sdk::Origin::top_left);
    bar.set_scale(10, 10);  // 160 x 40
    bar.draw(canvas, 0, 0);
    EXPECT_TRUE(color_near(at(0, 0), red, 4));
    EXPECT_TRUE(color_near(at(0, 39), red, 4));
    EXPECT_TRUE(color_near(at(159, 0), blue, 4));
    EXPECT_TRUE(color_near(at(159, 39), blue, 4));
    EXPECT_TRUE(color_near(at(161, 20), black, 0));
    sheet.set_frame(0);
    sheet.set_scale(10, 10);
    sheet.draw(canvas, 200, 200);
    EXPECT_TRUE(color_near(at(200, 200), red, 4));
    EXPECT_TRUE(color_near(at(279, 279), red, 40));  // next to the green frame
}

TEST_F(Sprite_Test, TexturedTrianglesTakeTheirCoordinatesAndColour) {
    sdk::Pixel_Buffer two(2, 1);
    two.set_pixel(0, 0, red);
    two.set_pixel(1, 0, white);
    sdk::Texture t(canvas, two);
    // A square (100, 100)-(200, 200) showing only the right (white) texel,
    // tinted green at half alpha.
    const sdk::Vec2f pos[6] = {{100, 100}, {200, 100}, {200, 200}, {200, 200}, {100, 200}, {100, 100}};
    const sdk::Vec2f uv[6] = {{0.6f, 0}, {0.9f, 0}, {0.9f, 1}, {0.9f, 1}, {0.6f, 1}, {0.6f, 0}};
    canvas.fill_triangles(pos, uv, 6, t, sdk::Colorf(0, 1, 0, 0.5f));
    EXPECT_TRUE(color_near(at(150, 150), Color(0, 128, 0)));
    EXPECT_TRUE(color_near(at(99, 150), black));
    EXPECT_TRUE(color_near(at(201, 150), black));
}

TEST_F(Sprite_Test, PngSavedAndReadBack) {
    canvas.fill_rect(sdk::Rectf(0, 0, 4, 4), sdk::Colorf(1, 0, 0, 1));
    sdk::Pixel_Buffer shot = canvas.get_pixeldata(sdk::Rect(0, 0, 8, 8));
    shot.save_png(dir.file("shot.png"));
    sdk::Pixel_Buffer back = sdk::Pixel_Buffer::load(fs, "shot.png");
    ASSERT_EQ(back.get_size(), sdk::Size(8, 8));
    EXPECT_TRUE(color_near(back.get_pixel(1, 1), red, 0));
    EXPECT_TRUE(color_near(back.get_pixel(6, 6), black, 0));
}

TEST(Font_Test, DrawsTextOnTheBaselineAndMeasuresIt) {
    test_display::Display& d = test_display::display();
    sdk::Canvas canvas = d.canvas;
    canvas.reset_cliprect();
    canvas.set_transform({});
    canvas.clear();
    const char* dejavu = "/usr/share/fonts/truetype/dejavu";
    sdk::File_System fs(dejavu);
    auto doc = sdk::Resource_Document::from_text(
        R"(<resources><font name="font_small" file="DejaVuSans.ttf" height="20"/>
           <font name="no_height" file="DejaVuSans.ttf"/></resources>)",
        "mirel.xml", fs);
    sdk::Font font(canvas, "font_small", doc);
    sdk::Font_Metrics m = font.get_font_metrics();
    EXPECT_GT(m.ascent, 10);
    sdk::Size one = font.get_text_size(canvas, "Score");
    sdk::Size two = font.get_text_size(canvas, "Score Score");
    EXPECT_GT(one.width, 30);
    EXPECT_GT(two.width, 2 * one.width);
    EXPECT_EQ(one.height, static_cast<int>(m.height));
    EXPECT_EQ(font.get_text_size(canvas, "").width, 0);

    font.draw_text(canvas, 10, 100, "HHHH", sdk::Colorf(1, 1, 0, 1));
    sdk::Pixel_Buffer p = canvas.get_pixeldata();
    int lit = 0, lowest = 0, highest = 480;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (p.get_pixel(x, y).r > 128) {
                ++lit;
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
                EXPECT_LT(p.get_pixel(x, y).b, 64);  // yellow, not white
            }
    EXPECT_GT(lit, 50);
    // "H" stands on the baseline: its bottom row is just above y = 100.
    EXPECT_GE(lowest, 97);
    EXPECT_LE(lowest, 100);
    EXPECT_LE(highest, 100 - 10);

    try {
        sdk::Font bad(canvas, "no_height", doc);
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "mirel.xml: font 'no_height' needs a height above 0, not \"\"");
    }
}

// A height is refused before the font file is opened at it: no letter taller
// than a glyph page could be drawn.
TEST(Font_Test, HeightsPastAGlyphPageOrBelowZeroAreRefused) {
    test_display::Display& d = test_display::display();
    sdk::Canvas canvas = d.canvas;
    sdk::File_System fs("/usr/share/fonts/truetype/dejavu");
    struct Case {
        const char* height;
        const char* message;
    };
    const Case cases[] = {
        {"513", "mirel.xml: font 'f': 'height' is 513, not a count from 0 to the ceiling 512"},
        {"3000000000",
         "mirel.xml: font 'f': 'height' is 3000000000, not a count from 0 to the ceiling 512"},
        {"1e9", "mirel.xml: font 'f': 'height' is 1e9, not a count from 0 to the ceiling 512"},
        {"-20", "mirel.xml: font 'f': 'height' is -20, not a count from 0 to the ceiling 512"},
        {"0.5", "mirel.xml: font 'f' needs a height above 0, not \"0.5\""},
    };
    for (const Case& c : cases) {
        auto doc = sdk::Resource_Document::from_text(
            std::string(R"(<resources><font name="f" file="DejaVuSans.ttf" height=")") + c.height +
                R"("/></resources>)",
            "mirel.xml", fs);
        try {
            sdk::Font font(canvas, "f", doc);
            ADD_FAILURE() << c.height;
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    auto doc = sdk::Resource_Document::from_text(
        R"(<resources><font name="f" file="DejaVuSans.ttf" height="512"/></resources>)",
        "mirel.xml", fs);
    EXPECT_FALSE(sdk::Font(canvas, "f", doc).is_null());
}

}  // namespace
