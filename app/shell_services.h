// What the screens ask of the rest of the program: sounds and music, the
// menu backdrop, the capture of the current picture, the display, settings
// and replay files, and leaving a run. The Application implements it; tests
// of the screens' rules put a recording stand-in in its place, so every
// transition is driven by counters alone, without a window.
#pragma once

#include <string_view>

class Shell_Services {
public:
    virtual ~Shell_Services() = default;

    virtual void play_sound(std::string_view name) = 0;
    virtual void play_music(std::string_view name) = 0;
    virtual void stop_music() = 0;
    // The playing music takes `music_volume` now.
    virtual void apply_music_volume() = 0;
    // Loads the menu backdrop ("background_effects") and runs it 10 s ahead.
    virtual void load_menu_backdrop() = 0;
    // Draws the picture of this frame into the capture texture, for a fade.
    virtual void capture_picture() = 0;
    // Re-creates the display for the current `fullscreen` (saves settings).
    virtual void apply_window_mode() = 0;
    virtual void save_settings() = 0;
    virtual bool load_replay() = 0;
    virtual void save_replay() = 0;
    virtual void request_quit() = 0;
    // Leaving a run for the main menu, and the pause screen's restart.
    virtual void reset_world() = 0;
    virtual void reset_run() = 0;
    // Timing checkpoints of the main menu's frame, timed from its entry.
    virtual void start_perf_checkpoints() = 0;
    virtual void perf_checkpoint(std::string_view label) = 0;
};
