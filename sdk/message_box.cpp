#include "sdk/message_box.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace sdk {

bool show_error_box(const std::string& title, const std::string& text) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    // Without a display server the box fails at once instead of waiting.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return false;
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) ==
           0;
}

}  // namespace sdk
