// The display modes of the running game: F11 into full screen and back, and
// the windowed resize rule, seen in the mapping of the picture, the clip
// rectangles and the settings file the player keeps.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/application.h"
#include "app/config_file.h"
#include "app/display_rules.h"
#include "sdk/display.h"
#include "sdk/display_internal.h"
#include "tests/common/scratch_dir.h"
#include "tests/integration/key_events.h"
#include "world/geometry.h"
#include "world/settings.h"

namespace sdk {
void PrintTo(const Size& s, std::ostream* os) { *os << s.width << " x " << s.height; }
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
}  // namespace sdk

namespace {

SDL_Window* game_window() {
    for (Uint32 id = 1; id < 16; ++id)
        if (SDL_Window* w = SDL_GetWindowFromID(id)) return w;
    return nullptr;
}

// The player drags the window's border to a new size.
std::function<void()> drag_to(int width, int height) {
    return [=] {
        if (SDL_Window* w = game_window()) SDL_SetWindowSize(w, width, height);
    };
}

void press_f11() { keys::tap(keys::f11); }

// What the display shows once a step has settled.
struct Seen {
    uint8_t fullscreen = 0;
    sdk::Size window, config;
    sdk::Size drawing_area;  // what the window really has
    SDL_Rect placed{0, 0, 0, 0};  // the window's place and size on the display
    SDL_Rect display{0, 0, 0, 0}, usable{0, 0, 0, 0};  // the display's bounds and usable area
    float scale = 0;
    sdk::Pointf offset;
    sdk::Rect field, clip;
    int saves = 0;  // settings files written during the step
};

// Runs the game from the main menu and takes one step every 30 frames,
// seeing the display just before the next. A settings file that appears is
// counted and taken away, so each write of the step is seen. Run it in a
// Scratch_Dir.
std::vector<Seen> run_steps(const std::vector<std::function<void()>>& steps) {
    std::vector<Seen> seen;
    int frame = 0, saves = 0;
    sdk::Display_Setup display;
    Application app;
    app.frame_hook = [&](Application& a) {
        if (std::filesystem::exists("config.dat")) {
            ++saves;
            std::filesystem::remove("config.dat");
        }
        ++frame;
        if (frame % 30 != 0) return;
        if (frame > 30) {
            Seen s;
            s.fullscreen = fullscreen;
            s.window = window_size;
            s.config = config_window_size;
            s.scale = display_scale;
            s.offset = letterbox_offset;
            s.field = screen_field;
            s.clip = clip_rect;
            s.saves = saves;
            SDL_GetDisplayBounds(0, &s.display);
            SDL_GetDisplayUsableBounds(0, &s.usable);
            if (SDL_Window* w = game_window()) {
                SDL_GetWindowSize(w, &s.drawing_area.width, &s.drawing_area.height);
                SDL_GetWindowPosition(w, &s.placed.x, &s.placed.y);
                s.placed.w = s.drawing_area.width;
                s.placed.h = s.drawing_area.height;
            }
            seen.push_back(s);
        }
        saves = 0;
        size_t step = static_cast<size_t>(frame / 30 - 1);
        if (step < steps.size())
            steps[step]();
        else
            a.quit = true;
    };
    EXPECT_EQ(app.start({}), 0);
    return seen;
}

sdk::Rect whole(sdk::Size s) { return {0, 0, s.width, s.height}; }

TEST(Display_Modes, ResizesAndF11KeepThePictureAndTheClipOnTheWholeWindow) {
    struct Step {
        std::function<void()> act;
        uint8_t fullscreen;
        sdk::Size window, config;
        float scale;
        sdk::Pointf offset;
    };
    // The offscreen display's desktop is 1024 x 768.
    const std::vector<Step> steps = {
        {drag_to(1024, 700), 0, {933, 700}, {933, 700}, 933.0f / 640.0f, {0, 0}},
        {press_f11, 1, {1024, 768}, {933, 700}, 1.6f, {0, 0}},
        {press_f11, 0, {933, 700}, {933, 700}, 933.0f / 640.0f, {0, 0}},
        {drag_to(1000, 600), 0, {800, 600}, {800, 600}, 1.25f, {0, 0}},
        {drag_to(799, 600), 0, {640, 480}, {640, 480}, 1.0f, {0, 0}},
    };
    std::vector<std::function<void()>> acts;
    for (const Step& s : steps) acts.push_back(s.act);
    Scratch_Dir dir;
    std::vector<Seen> seen = run_steps(acts);
    ASSERT_EQ(seen.size(), steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& want = steps[i];
        const Seen& got = seen[i];
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(got.fullscreen, want.fullscreen);
        EXPECT_EQ(got.window, want.window);
        EXPECT_EQ(got.drawing_area, want.window);
        EXPECT_EQ(got.config, want.config) << "the windowed size is kept for the way back";
        EXPECT_FLOAT_EQ(got.scale, want.scale);
        EXPECT_EQ(got.offset, want.offset);
        EXPECT_EQ(got.field, scaled_play_field(want.scale, want.offset));
        EXPECT_EQ(got.clip, whole(want.window)) << "the backgrounds of the menus fill the window";
        EXPECT_EQ(got.saves, 1) << "one change, one write of the settings";
    }

    std::vector<uint8_t> config = Scratch_Dir::read("config.dat");
    ASSERT_EQ(config.size(), 33u);
    EXPECT_EQ(config[4], 0);
    EXPECT_EQ(config[5] | (config[6] << 8), 640);
    EXPECT_EQ(config[9] | (config[10] << 8), 480);
}

// Stands in for a window system of another kind while it lives.
struct Stand_In {
    explicit Stand_In(sdk::detail::Window_System s) { sdk::detail::window_system_stand_in() = s; }
    ~Stand_In() { sdk::detail::window_system_stand_in() = sdk::detail::Window_System::as_it_is; }
};

bool inside(const SDL_Rect& r, const SDL_Rect& area) {
    SDL_Rect common{0, 0, 0, 0};
    return SDL_IntersectRect(&r, &area, &common) && SDL_RectEquals(&common, &r);
}

TEST(Display_Modes, FullScreenOnEveryWindowSystemShowsTheWholePictureAtTheSizeTheWindowGot) {
    using sdk::detail::Window_System;
    struct Case {
        const char* name;
        Window_System system;
        bool covers;  // the window covers the display; else it keeps its windowed size
        bool by_itself;  // the window, not the window manager, covers it
    };
    const Case cases[] = {
        {"a window manager that carries full screen out", Window_System::as_it_is, true, false},
        {"no window manager: the window covers the display itself",
         Window_System::no_window_manager, true, true},
        {"a window manager that answers the check and ignores full screen",
         Window_System::ignores_full_screen, true, true},
        {"nor lets the window move or resize itself", Window_System::keeps_window_size, false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Stand_In stand_in(c.system);
        Scratch_Dir dir;
        std::vector<Seen> seen = run_steps({drag_to(1024, 700), press_f11, press_f11});
        ASSERT_EQ(seen.size(), 3u);
        const sdk::Size windowed{933, 700};
        const SDL_Rect display = seen[1].display;
        const sdk::Size full = c.covers ? sdk::Size{display.w, display.h} : windowed;
        const uint8_t modes[] = {0, 1, 0};
        const sdk::Size areas[] = {windowed, full, windowed};
        for (size_t i = 0; i < seen.size(); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            const Seen& got = seen[i];
            EXPECT_EQ(got.fullscreen, modes[i]);
            EXPECT_EQ(got.drawing_area, areas[i]);
            EXPECT_EQ(got.window, got.drawing_area) << "the picture is mapped on what the window got";
            EXPECT_EQ(got.config, windowed) << "the windowed size is kept for the way back";
            Display_Mapping want = map_display(modes[i] != 0, got.drawing_area);
            EXPECT_FLOAT_EQ(got.scale, want.scale);
            EXPECT_EQ(got.offset, want.offset);
            EXPECT_EQ(got.field, want.screen_field);
            EXPECT_EQ(got.clip, whole(got.drawing_area));
            EXPECT_EQ(got.saves, 1);
        }
        if (c.covers) {
            EXPECT_EQ(seen[1].placed.x, display.x);
            EXPECT_EQ(seen[1].placed.y, display.y);
        }
        if (c.by_itself) {
            EXPECT_EQ(seen[2].placed.x, seen[0].placed.x) << "back where it was";
            EXPECT_EQ(seen[2].placed.y, seen[0].placed.y);
        }
    }
}

void write_config(uint8_t full_screen, sdk::Size window) {
    game_version = 91;
    fullscreen = full_screen;
    config_window_size = window;
    Config_Bytes b = encode_config();
    std::ofstream(config_file_name, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

TEST(Display_Modes, AWindowKeptFromALargerScreenOpensFittedAndOnTheDisplay) {
    // The offscreen display is 1024 x 768: the largest 4:3 size that fits.
    struct Case {
        const char* name;
        uint8_t fullscreen;
        sdk::Size saved;
        std::vector<std::function<void()>> steps;
        size_t windowed_step;  // the step at which the window is windowed again
    };
    const Case cases[] = {
        {"started windowed", 0, {2400, 1800}, {[] {}}, 0},
        {"started in full screen, then F11", 1, {2400, 1800}, {[] {}, press_f11}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch_Dir dir;
        write_config(c.fullscreen, c.saved);
        std::vector<Seen> seen = run_steps(c.steps);
        ASSERT_EQ(seen.size(), c.steps.size());
        const Seen& got = seen[c.windowed_step];
        sdk::Size want = resized_window_size(
            {std::min(c.saved.width, got.usable.w), std::min(c.saved.height, got.usable.h)});
        ASSERT_LT(want.width, c.saved.width);
        EXPECT_EQ(got.fullscreen, 0);
        EXPECT_EQ(got.drawing_area, want);
        EXPECT_EQ(got.config, want);
        EXPECT_EQ(got.window, want);
        EXPECT_FLOAT_EQ(got.scale, static_cast<float>(want.width) / 640.0f);
        EXPECT_TRUE(inside(got.placed, got.usable))
            << "at (" << got.placed.x << ", " << got.placed.y << ")";
    }
}

}  // namespace
