// The display modes of the running game: F11 into full screen and back, and
// the windowed resize rule, seen in the settings file the player keeps.
#include <SDL.h>
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/display_rules.h"
#include "tests/common/scratch_dir.h"
#include "tests/integration/key_events.h"
#include "sdk/display.h"
#include "world/geometry.h"
#include "world/settings.h"

namespace {

SDL_Window* game_window() {
    for (Uint32 id = 1; id < 16; ++id)
        if (SDL_Window* w = SDL_GetWindowFromID(id)) return w;
    return nullptr;
}


struct Seen {
    uint8_t fullscreen;
    sdk::Size config, window;
};

TEST(Display_Modes, F11TwiceReturnsToTheWindowedSizeAndResizesSnapToFourByThree) {
    Scratch_Dir dir;
    std::vector<Seen> seen;
    int frame = 0;
    {
        sdk::Display_Setup display;
        Application app;
        app.frame_hook = [&](Application& a) {
            ++frame;
            if (frame == 30 || frame == 60 || frame == 90 || frame == 120)
                seen.push_back({fullscreen, config_window_size, window_size});
            if (frame == 31 || frame == 61) keys::tap(keys::f11);
            if (frame == 91)
                if (SDL_Window* w = game_window()) SDL_SetWindowSize(w, 1000, 600);
            if (frame == 121) a.quit = true;
        };
        ASSERT_EQ(app.start({}), 0);
    }
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].fullscreen, 0);
    EXPECT_EQ(seen[0].window, (sdk::Size{640, 480}));
    EXPECT_EQ(seen[1].fullscreen, 1);
    EXPECT_EQ(seen[1].config, (sdk::Size{640, 480}))
        << "the windowed size is kept for the way back";
    EXPECT_EQ(seen[2].fullscreen, 0);
    EXPECT_EQ(seen[2].window, (sdk::Size{640, 480}));
    EXPECT_EQ(seen[3].window, (sdk::Size{800, 600}));
    EXPECT_FLOAT_EQ(display_scale, 1.25f);

    std::vector<uint8_t> config = Scratch_Dir::read("config.dat");
    ASSERT_EQ(config.size(), 33u);
    EXPECT_EQ(config[4], 0);
    EXPECT_EQ(config[5] | (config[6] << 8), 800);
    EXPECT_EQ(config[9] | (config[10] << 8), 600);
}

}  // namespace
