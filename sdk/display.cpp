#include "sdk/display.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstring>

#include "sdk/core/exception.h"
#include "sdk/display_internal.h"
#include "sdk/render_device.h"

namespace sdk {

namespace {
int setups = 0;
}  // namespace

Display_Setup::Display_Setup() {
    if (setups++ > 0) return;
    // Draw calls are queued and sent together; the game relies on it.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    // Environment variables of the same names still win over these.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_JOYSTICK) != 0) {
        --setups;
        throw Exception("Unable to start the display: " + std::string(SDL_GetError()));
    }
    IMG_Init(IMG_INIT_PNG);
    if (TTF_Init() != 0) {
        std::string why = TTF_GetError();
        IMG_Quit();
        SDL_Quit();
        --setups;
        throw Exception("Unable to start the display: " + why);
    }
    // The game reads keys, never text: with text input on, an input method
    // (a Japanese one, say) would take the letter keys for itself.
    SDL_StopTextInput();
    // The window system's own messages: a window manager tells of the frame
    // it draws only through a property of the window.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) detail::open_joystick(i);
}

Display_Setup::~Display_Setup() {
    if (--setups > 0) return;
    detail::retire_all_devices();
    detail::close_all_joysticks();
    detail::release_all_keys();
    detail::close_all_fonts();
    while (TTF_WasInit()) TTF_Quit();
    IMG_Quit();
    SDL_Quit();
}

bool Display_Setup::is_active() { return setups > 0; }

bool Display_Setup::fell_back_to_no_display() {
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && *asked) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace sdk
