// What the window system does with a request for full screen. Under X the
// request is a message to the window manager, and with none running nobody
// acts on it: the window keeps its size, while SDL takes the desktop size for
// granted and its renderer draws for an area the window does not have.
#include <SDL.h>
#include <SDL_syswm.h>

#include "sdk/display_internal.h"

namespace sdk::detail {

namespace {

#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
// A window manager that follows the desktop conventions names its check
// window on the root window; the full-screen request is one of those.
bool window_manager_running(Display* display) {
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* data = nullptr;
    bool running = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                      XA_WINDOW, &type, &format, &items, &left, &data) == Success &&
                   type == XA_WINDOW && items == 1;
    if (data) XFree(data);
    return running;
}
#endif

}  // namespace

Full_Screen_Support& full_screen_support() {
    static Full_Screen_Support support = Full_Screen_Support::ask_the_system;
    return support;
}

bool full_screen_carried_out([[maybe_unused]] SDL_Window* window) {
    if (full_screen_support() == Full_Screen_Support::refused) return false;
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        return window_manager_running(info.info.x11.display);
#endif
    return true;
}

}  // namespace sdk::detail
