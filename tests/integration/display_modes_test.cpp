// The display modes of the running game: F11 into full screen and back, and
// the windowed resize rule, seen in the mapping of the picture, the clip
// rectangles and the settings file the player keeps.
#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/application.h"
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
            Seen s{fullscreen,       window_size,  config_window_size, {},   display_scale,
                   letterbox_offset, screen_field, clip_rect,          saves};
            if (SDL_Window* w = game_window())
                SDL_GetWindowSize(w, &s.drawing_area.width, &s.drawing_area.height);
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

TEST(Display_Modes, FullScreenThatTheSystemDoesNotCarryOutShowsTheWholePictureInTheWindow) {
    // As under X with no window manager: nobody makes the window cover the
    // desktop, so the picture must be mapped onto the window as it is.
    struct Refusing_System {
        Refusing_System() {
            sdk::detail::full_screen_support() = sdk::detail::Full_Screen_Support::refused;
        }
        ~Refusing_System() {
            sdk::detail::full_screen_support() = sdk::detail::Full_Screen_Support::ask_the_system;
        }
    } refusing;
    Scratch_Dir dir;
    std::vector<Seen> seen = run_steps({drag_to(1024, 700), press_f11, press_f11});
    ASSERT_EQ(seen.size(), 3u);
    const uint8_t modes[] = {0, 1, 0};
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const Seen& got = seen[i];
        EXPECT_EQ(got.fullscreen, modes[i]);
        EXPECT_EQ(got.drawing_area, (sdk::Size{933, 700}));
        EXPECT_EQ(got.window, got.drawing_area);
        Display_Mapping want = map_display(modes[i] != 0, got.drawing_area);
        EXPECT_FLOAT_EQ(got.scale, want.scale);
        EXPECT_EQ(got.offset, want.offset);
        EXPECT_EQ(got.field, want.screen_field);
        EXPECT_EQ(got.clip, whole(got.drawing_area));
    }
}

}  // namespace
