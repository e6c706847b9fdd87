// The change between windowed and full screen against a window manager the
// test plays itself: it answers the requests whenever and however each case
// says, the server's side of the window (what the port reads) apart from
// SDL's (the size SDL learns from the configure messages it has read, which
// the renderer and the resize signal take).
#include "sdk/window_mode.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "sdk/display_internal.h"

namespace {

using sdk::detail::Frame;

struct Played_Window_Manager : sdk::detail::Window_Port {
    SDL_Rect server{100, 80, 640, 480};
    bool full = false;
    int asked = 0;  // +1 for full screen, -1 to take it away

    SDL_Rect geometry() override { return server; }
    Frame frame() override { return full ? Frame{} : Frame{1, 1, 20, 4}; }
    bool window_manager_running() override { return true; }
    bool full_screen_state() override { return full; }
    bool ask_full_screen(bool on) override {
        asked = on ? 1 : -1;
        return true;
    }
    bool restores_after_full_screen() override { return true; }
    void drop_full_screen_state() override { full = false; }
    void set_decorations(bool) override {}
    void set_size_limits(bool, sdk::Size) override {}
    void place(const SDL_Rect& area, const Frame&) override { server = area; }
    void resize(sdk::Size size) override {
        server.w = size.width;
        server.h = size.height;
    }
};

class Window_Mode_Test : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("mirel test", 100, 80, 640, 480, SDL_WINDOW_SHOWN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        display = sdk::detail::display_bounds(window);
        windowed.size = {640, 480};
        windowed.visible = true;
        full_screen = windowed;
        full_screen.fullscreen = true;
    }
    void TearDown() override {
        if (window) SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    // SDL reads the configure message of a size the server gave the window.
    void sdl_reads(int w, int h) { SDL_SetWindowSize(window, w, h); }

    SDL_Window* window = nullptr;
    SDL_Rect display{};
    sdk::Window_Description windowed, full_screen;
};

// Full screen is carried out and F11 goes back at once. The window manager
// has taken the state away and puts the window back; until SDL, too, has the
// size it is put back at, the sizes it reports are those of full screen, and
// one taken then for a windowed size would be saved as the player's.
TEST_F(Window_Mode_Test, TheWayBackEndsOnceTheServerAndSdlHaveTheWindowedSize) {
    struct Case {
        const char* what;
        SDL_Rect server;  // once the state is gone; no size: the display's
        SDL_Point sdl;    // what SDL has read; 0 for the display
        bool still_changing;
    };
    const Case cases[] = {
        {"state gone, the window still covers the display", {0, 0, 0, 0}, {0, 0}, true},
        {"the server has it back, SDL has not read it yet", {100, 80, 640, 480}, {0, 0}, true},
        {"both have it back", {100, 80, 640, 480}, {640, 480}, false},
        {"framed again at the full size first", {1, 20, 0, 0}, {0, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Played_Window_Manager wm;
        sdl_reads(640, 480);
        sdk::detail::Window_Mode mode(window, wm);
        mode.apply(full_screen);
        ASSERT_EQ(wm.asked, 1);
        wm.full = true;
        wm.server = display;
        sdl_reads(display.w, display.h);
        EXPECT_TRUE(mode.advance()) << "full screen was carried out";
        mode.apply(windowed);
        ASSERT_EQ(wm.asked, -1);
        EXPECT_TRUE(mode.changing());
        wm.full = false;
        wm.server = c.server;
        if (!c.server.w) wm.server.w = display.w, wm.server.h = display.h;
        if (c.sdl.x) sdl_reads(c.sdl.x, c.sdl.y);
        EXPECT_EQ(mode.advance(), !c.still_changing);
        EXPECT_EQ(mode.changing(), c.still_changing);
        // The configure message that puts it back reaches SDL later.
        if (c.still_changing) {
            wm.server = {100, 80, 640, 480};
            sdl_reads(640, 480);
            EXPECT_TRUE(mode.advance());
            EXPECT_FALSE(mode.changing());
        }
    }
}

}  // namespace
