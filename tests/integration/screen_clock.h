// The clock of a scripted run of the real game: frames in all, frames spent
// in the screen now shown, and visits to the main menu, advanced once per
// frame from the application's frame hook. Scripts press their keys by it
// ("20 frames into the second main menu").
#pragma once

#include <cstdint>

#include "app/screen_state.h"

struct Screen_Clock {
    int frame = 0;
    int in_state = 0;     // frames spent in the current screen state, from 1
    int menu_visits = 0;  // times the main menu was entered
    int32_t last = -1;    // the screen state of the last frame

    void tick() {
        ++frame;
        if (app_state != last) {
            if (app_state == state_main_menu) ++menu_visits;
            last = app_state;
            in_state = 0;
        }
        ++in_state;
    }
};
