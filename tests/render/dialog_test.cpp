#include "render/dialog.h"

#include <gtest/gtest.h>

#include "render_fixture.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/font.h"
#include "world/run_flags.h"
#include "world/settings.h"

namespace {

using namespace render_test;

const char* const scenes = R"(<resources>
  <dialog name="talk_rus">
    <action name="new_line">one</action>
    <action name="line2">two</action>
    <action name="wait"/>
    <action name="line3">three</action>
  </dialog>
  <dialog name="portraits_rus">
    <action name="feed_char_left">rimea</action>
    <action name="feed_char_left">kio</action>
    <action name="feed_char_right">rimea</action>
    <action name="set_char_face" char="rimea">3</action>
    <action name="show_pic">smoke</action>
  </dialog>
  <dialog name="lines_rus">
    <action name="new_line">a</action>
    <action name="line2">b</action>
    <action name="line3">c</action>
    <action name="new_line">d</action>
  </dialog>
  <dialog name="empty_rus"/>
  <dialog name="end_rus">
    <action name="new_line">bye</action>
    <action name="level_end"/>
  </dialog>
</resources>)";

// Opening 500 ms, portraits slide in and the scene closes over 300 ms.
class Dialog_Test : public ::testing::Test {
protected:
    void SetUp() override {
        art();
        clear_run_flags();
        d.init(nullptr, nullptr, sdk::Resource_Document::from_text(scenes, "text.xml"), 500, 300);
    }
    void start(const char* name) {
        dialog_active = 1;
        d.start(name);
    }
    // Runs past the opening: the next update runs the first action.
    void open() {
        d.update(0, 500);
        ASSERT_EQ(d.get_state(), dialog_opening);
    }
    Dialog d;
};

TEST_F(Dialog_Test, LinesThenAWaitThatEndsByItselfAfterTenSeconds) {
    start("talk_rus");
    open();
    d.update(0, 10);
    EXPECT_EQ(d.get_line(0), "one");
    d.update(0, 10);
    EXPECT_EQ(d.get_line(1), "two");
    d.update(0, 10);
    EXPECT_EQ(d.get_state(), dialog_waiting);
    for (int i = 0; i < 999; ++i) d.update(0, 10);  // 9990 ms of the wait
    EXPECT_EQ(d.get_state(), dialog_waiting);
    d.update(0, 20);
    EXPECT_EQ(d.get_state(), dialog_running);
    d.update(0, 10);
    EXPECT_EQ(d.get_line(2), "three");
}

TEST_F(Dialog_Test, OnlyAWaitIsCutShortByThePlayer) {
    start("portraits_rus");
    open();
    d.update(1, 10);  // rimea cannot come in from the left: nothing, and no press counts
    EXPECT_EQ(d.get_state(), dialog_running);
    EXPECT_FALSE(d.left_shown());
    d.update(1, 10);
    EXPECT_EQ(d.get_state(), dialog_left_sliding);
    d.update(1, 150);  // a press during the slide changes nothing
    EXPECT_EQ(d.get_state(), dialog_left_sliding);
    d.update(0, 151);
    EXPECT_EQ(d.get_state(), dialog_running);

    start("talk_rus");
    open();
    for (int i = 0; i < 3; ++i) d.update(0, 10);
    ASSERT_EQ(d.get_state(), dialog_waiting);
    d.update(1, 10);
    EXPECT_EQ(d.get_state(), dialog_running);
}

TEST_F(Dialog_Test, PortraitsFacesAndPictures) {
    start("portraits_rus");
    open();
    d.update(0, 10);
    d.update(0, 10);
    EXPECT_TRUE(d.left_shown());
    d.update(0, 301);
    d.update(0, 10);
    EXPECT_TRUE(d.right_shown());
    EXPECT_EQ(d.get_state(), dialog_right_sliding);
    d.update(0, 301);
    d.update(0, 10);
    EXPECT_EQ(get_sprite("char_sprite_rimea1")->get_current_frame(), 3);
    d.update(0, 10);
    EXPECT_TRUE(d.picture_shown());
}

TEST_F(Dialog_Test, ANewLineClearsTheOtherTwo) {
    start("lines_rus");
    open();
    for (int i = 0; i < 3; ++i) d.update(0, 10);
    EXPECT_EQ(d.get_line(2), "c");
    d.update(0, 10);
    EXPECT_EQ(d.get_line(0), "d");
    EXPECT_EQ(d.get_line(1), "");
    EXPECT_EQ(d.get_line(2), "");
}

TEST_F(Dialog_Test, AnEmptySceneClosesAfterTheAppearTime) {
    start("empty_rus");
    open();
    d.update(0, 10);
    EXPECT_EQ(d.get_state(), dialog_closing);
    d.update(0, 300);
    EXPECT_EQ(dialog_active, 1);
    d.update(0, 1);
    EXPECT_EQ(dialog_active, 0);
}

TEST_F(Dialog_Test, LevelEndRepeatsAndKeepsTheDialog) {
    start("end_rus");
    open();
    d.update(0, 10);
    for (int i = 0; i < 5; ++i) {
        stage_clear = 0;
        d.update(0, 1000);
        EXPECT_EQ(stage_clear, 1);
        EXPECT_EQ(dialog_active, 1);
    }
}

TEST_F(Dialog_Test, AMissingSceneEndsTheDialogAtOnce) {
    start("nothing_rus");
    EXPECT_EQ(dialog_active, 0);
}

TEST(Dialog_Init, AMissingPictureIsLeftOutWithOneLogLine) {
    art();
    clear_run_flags();
    Dialog d;
    d.init(nullptr, nullptr,
           sdk::Resource_Document::from_text(
               "<resources><dialog name='a_rus'><action name='show_pic'>smoke</action>"
               "<action name='show_pic'>no_such_picture</action></dialog></resources>",
               "text.xml"),
           500, 300);
    std::vector<std::string> logged;
    sdk::Log_Sink old = sdk::set_log_sink(
        [&](const std::string&, const std::string& text) { logged.push_back(text); });
    dialog_active = 1;
    d.start("a_rus");
    for (int i = 0; i < 4; ++i) d.update(0, 300);
    sdk::set_log_sink(old);
    EXPECT_EQ(d.get_state(), dialog_closing);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0],
              "text.xml: dialog 'a_rus': show_pic names 'no_such_picture', which no cached "
              "sprite has; no picture is drawn");
}

TEST(Dialog_Init, AMissingPortraitStopsStartUp) {
    art();
    // Taken out of the cache and put back whole, so its address stays.
    auto kio = sprite_cache.extract("char_sprite_kio1");
    ASSERT_FALSE(kio.empty());
    Dialog d;
    try {
        d.init(nullptr, nullptr,
               sdk::Resource_Document::from_text("<resources><dialog name='a_rus'><action "
                                                 "name='feed_char_left'>kio</action></dialog>"
                                                 "</resources>",
                                                 "text.xml"),
               500, 300);
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("char_sprite_kio1"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("a_rus"), std::string::npos) << e.what();
    }
    sprite_cache.insert(std::move(kio));
}

}  // namespace

namespace {

using namespace render_test;
using test_display::color_near;

// The dialog box opening and the text of both languages, on screen.
class Dialog_Draw_Test : public ::testing::Test {
protected:
    void SetUp() override {
        art();
        clean_canvas();
        clear_run_flags();
        font = sdk::Font(canvas(), art().fs, "font.ttf", 16);
        d.init(&font, &font, sdk::Resource_Document::from_text(scenes, "text.xml"), 400, 300);
        dialog_active = 1;
        d.start("talk_rus");
    }
    void TearDown() override { language = 0; }
    sdk::Font font;
    Dialog d;
};

TEST_F(Dialog_Draw_Test, TheBoxWidensFromTheMiddleWhileItOpens) {
    d.update(0, 100);  // s = 0.5, h = 0.25: the 8 x 8 frame drawn 4 x 2, at alpha 0.5
    d.draw(canvas());
    EXPECT_TRUE(color_near(pixel(224 - 90, 355), faded(frame_colour(0), 0.5f)));
    EXPECT_TRUE(color_near(pixel(224 - 90 + 3, 356), faded(frame_colour(0), 0.5f)));
    EXPECT_TRUE(color_near(pixel(224 - 90 + 5, 355), sdk::Color(0, 0, 0)));
    EXPECT_TRUE(color_near(pixel(224 - 90, 358), sdk::Color(0, 0, 0)));
    clean_canvas();
    d.update(0, 200);  // s = 1, h = 0.75: full width at (44, 355), 6 high
    d.draw(canvas());
    EXPECT_TRUE(color_near(pixel(44 + 7, 355 + 5), frame_colour(0)));
    EXPECT_TRUE(color_near(pixel(44 + 7, 355 + 7), sdk::Color(0, 0, 0)));
}

TEST_F(Dialog_Draw_Test, TextShowsInEitherLanguageOnceOpen) {
    d.update(0, 401);
    d.update(0, 10);  // "one"
    for (int lang : {0, 1}) {
        language = lang;
        clean_canvas();
        d.draw(canvas());
        // The box at its place, and light yellow strokes on the first line.
        EXPECT_TRUE(color_near(pixel(44, 355), frame_colour(0)));
        canvas().flush();
        sdk::Pixel_Buffer line = canvas().get_pixeldata(sdk::Rect(60, 366, 100, 390));
        int yellow = 0;
        for (int y = 0; y < line.get_height(); ++y)
            for (int x = 0; x < line.get_width(); ++x) {
                sdk::Color c = line.get_pixel(x, y);
                if (c.r > 230 && c.g > 230 && c.b > 190 && c.b < 240) ++yellow;
            }
        EXPECT_GT(yellow, 10) << "language " << lang;
    }
}

}  // namespace
