// Starting and stopping the display layer: SDL's video, events and joystick
// parts, SDL2_image and SDL2_ttf. One Display_Setup lives in main for the
// whole run; windows, textures and fonts left when it goes are retired first.
// Draw batching is asked of SDL explicitly (SDL_HINT_RENDER_BATCHING), and the
// OpenGL renderer is preferred unless SDL_RENDER_DRIVER says otherwise.
#pragma once

namespace sdk {

class Display_Setup {
public:
    // Throws "Unable to start the display: <reason>".
    Display_Setup();
    ~Display_Setup();
    Display_Setup(const Display_Setup&) = delete;
    Display_Setup& operator=(const Display_Setup&) = delete;

    // Whether a Display_Setup is alive.
    static bool is_active();

    // Whether SDL, finding no display server, fell back by itself on a video
    // driver that shows nothing ("offscreen" or "dummy"). False when
    // SDL_VIDEODRIVER chose the driver, as it does for headless runs.
    static bool fell_back_to_no_display();
};

}  // namespace sdk
