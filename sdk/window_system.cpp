// What the window system does with a request for full screen. Under X the
// request is a message to the window manager, and where none runs nobody acts
// on it; a window manager may also leave the window as it is, and one that
// has exited may have left its check property on the root window. SDL takes
// the desktop size for granted all the same. So the request goes only to a
// window manager that is really there, what the window got is read back from
// the X server rather than trusted, and where the window does not cover the
// display the request is taken back and the window covers the display itself.
//
// Sizes are read back the same way: a window manager may hold a window at a
// size of its own (maximised, or full screen in its own state), or carry a
// request out late, and SDL then believes the size it asked for. And the
// full-screen state is a property of the window that outlives the window
// manager that set it: one started later would make the window full screen
// again, so leaving full screen takes it off the window whatever SDL thinks.
#include <SDL.h>
#if defined(MIREL_X11)
#include <SDL_syswm.h>
#endif

#include <vector>

#include "sdk/display_internal.h"

namespace sdk::detail {

namespace {

// The real window manager may take a moment to carry a request out.
constexpr Uint32 patience_ms = 1000;

#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
struct X_Window {
    Display* display = nullptr;
    ::Window window = None;
};

bool x_window_of(SDL_Window* w, X_Window& out) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    out = {info.info.x11.display, info.info.x11.window};
    return true;
}

bool x_error_seen = false;
int note_x_error(Display*, XErrorEvent*) {
    x_error_seen = true;
    return 0;
}

::Window window_property(Display* d, ::Window of, Atom name) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* data = nullptr;
    ::Window named = None;
    if (XGetWindowProperty(d, of, name, 0, 1, False, XA_WINDOW, &type, &format, &items, &left,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && items == 1 && data)
        named = static_cast<::Window>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return named;
}

// A window manager that follows the desktop conventions names a check window
// on the root window, and the check window names itself. A property left by
// one that has exited names a window that is gone (BadWindow, caught here)
// or one that no longer names itself.
bool window_manager_running(Display* d) {
    Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    XSync(d, False);
    x_error_seen = false;
    auto* previous = XSetErrorHandler(note_x_error);
    ::Window named = window_property(d, DefaultRootWindow(d), check);
    bool running = named != None && window_property(d, named, check) == named;
    XSync(d, False);
    XSetErrorHandler(previous);
    return running && !x_error_seen;
}

SDL_Rect x_geometry(const X_Window& x) {
    XSync(x.display, False);
    XWindowAttributes a;
    if (!XGetWindowAttributes(x.display, x.window, &a)) return {0, 0, 0, 0};
    int left = 0, top = 0;
    ::Window child = None;
    XTranslateCoordinates(x.display, x.window, a.root, 0, 0, &left, &top, &child);
    return {left, top, a.width, a.height};
}

Atom atom(Display* d, const char* name) { return XInternAtom(d, name, False); }

std::vector<Atom> wm_state(const X_Window& x) {
    std::vector<Atom> states;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x.display, x.window, atom(x.display, "_NET_WM_STATE"), 0, 64, False,
                           XA_ATOM, &type, &format, &items, &left, &data) == Success &&
        type == XA_ATOM && format == 32 && data) {
        auto* atoms = reinterpret_cast<unsigned long*>(data);
        for (unsigned long i = 0; i < items; ++i) states.push_back(static_cast<Atom>(atoms[i]));
    }
    if (data) XFree(data);
    return states;
}

bool in_state(const X_Window& x, const char* name) {
    Atom wanted = atom(x.display, name);
    for (Atom a : wm_state(x))
        if (a == wanted) return true;
    return false;
}

// left, right, top, bottom, as the window manager put them on the window.
std::vector<long> frame_extents(const X_Window& x) {
    std::vector<long> extents;
    Atom type = None;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x.display, x.window, atom(x.display, "_NET_FRAME_EXTENTS"), 0, 4,
                           False, XA_CARDINAL, &type, &format, &items, &left, &data) == Success &&
        type == XA_CARDINAL && format == 32 && items == 4 && data)
        for (unsigned long i = 0; i < 4; ++i) extents.push_back(reinterpret_cast<long*>(data)[i]);
    if (data) XFree(data);
    return extents;
}

bool full_screen_state(const X_Window& x) { return in_state(x, "_NET_WM_STATE_FULLSCREEN"); }

// Without a window manager the state is the client's to write.
void write_without_full_screen(const X_Window& x) {
    Atom full = atom(x.display, "_NET_WM_STATE_FULLSCREEN");
    std::vector<unsigned long> kept;
    for (Atom a : wm_state(x))
        if (a != full) kept.push_back(a);
    XChangeProperty(x.display, x.window, atom(x.display, "_NET_WM_STATE"), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(kept.data()),
                    static_cast<int>(kept.size()));
    XSync(x.display, False);
}

// A mapped window's state is changed by asking the window manager.
void ask_to_leave_full_screen(const X_Window& x) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = x.window;
    e.xclient.message_type = atom(x.display, "_NET_WM_STATE");
    e.xclient.format = 32;
    e.xclient.data.l[0] = 0;  // remove
    e.xclient.data.l[1] = static_cast<long>(atom(x.display, "_NET_WM_STATE_FULLSCREEN"));
    e.xclient.data.l[3] = 1;  // from an application
    XSendEvent(x.display, DefaultRootWindow(x.display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XSync(x.display, False);
}
#endif

bool within_patience(Uint32 start) { return SDL_GetTicks() - start < patience_ms; }

bool window_manager_running([[maybe_unused]] SDL_Window* w) {
    switch (window_system_stand_in()) {
    case Window_System::as_it_is: break;
    case Window_System::no_window_manager: return false;
    case Window_System::ignores_full_screen:
    case Window_System::keeps_window_size: return true;
    }
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    X_Window x;
    if (x_window_of(w, x)) return window_manager_running(x.display);
#endif
    // Elsewhere the system itself carries full screen out.
    return true;
}

bool geometry_becomes(SDL_Window* w, const SDL_Rect& want) {
    Uint32 start = SDL_GetTicks();
    for (;;) {
        SDL_Rect got = real_geometry(w);
        if (SDL_RectEquals(&got, &want)) return true;
        if (!within_patience(start)) return false;
        SDL_Delay(10);
    }
}

SDL_Rect display_bounds(SDL_Window* w) {
    int index = SDL_GetWindowDisplayIndex(w);
    SDL_Rect b{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &b) != 0) b = real_geometry(w);
    return b;
}

}  // namespace

SDL_Rect real_geometry(SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    X_Window x;
    if (x_window_of(w, x)) return x_geometry(x);
#endif
    SDL_Rect r{0, 0, 0, 0};
    SDL_GetWindowPosition(w, &r.x, &r.y);
    SDL_GetWindowSize(w, &r.w, &r.h);
    return r;
}

Window_System& window_system_stand_in() {
    static Window_System stand_in = Window_System::as_it_is;
    return stand_in;
}

bool full_screen_by_window_manager(SDL_Window* w) {
    if (!window_manager_running(w)) return false;
    // A stand-in window manager leaves the window as it is.
    if (window_system_stand_in() != Window_System::as_it_is) return false;
    SDL_Rect want = display_bounds(w);
    SDL_SetWindowFullscreen(w, SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (geometry_becomes(w, want)) return true;
    // Taken back, or SDL would go on drawing for the desktop size.
    SDL_SetWindowFullscreen(w, 0);
    return false;
}

Size real_size(SDL_Window* w) {
    SDL_Rect r = real_geometry(w);
    return {r.w, r.h};
}

bool size_held_by_window_manager([[maybe_unused]] SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    X_Window x;
    if (x_window_of(w, x) && window_manager_running(x.display))
        return full_screen_state(x) || in_state(x, "_NET_WM_STATE_MAXIMIZED_VERT") ||
               in_state(x, "_NET_WM_STATE_MAXIMIZED_HORZ");
#endif
    return false;
}

void leave_full_screen_state([[maybe_unused]] SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    X_Window x;
    if (!x_window_of(w, x) || !full_screen_state(x)) return;
    if (window_manager_running(x.display)) {
        ask_to_leave_full_screen(x);
        Uint32 start = SDL_GetTicks();
        while (full_screen_state(x) && within_patience(start)) SDL_Delay(10);
        if (!full_screen_state(x)) return;
    }
    write_without_full_screen(x);
#endif
}

bool frame_size(SDL_Window* w, int& top, int& left, int& bottom, int& right) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    // SDL's own figures change only as it reads the window's messages.
    X_Window x;
    if (x_window_of(w, x)) {
        std::vector<long> e = frame_extents(x);
        if (e.size() != 4) return false;
        left = static_cast<int>(e[0]);
        right = static_cast<int>(e[1]);
        top = static_cast<int>(e[2]);
        bottom = static_cast<int>(e[3]);
        return true;
    }
#endif
    return SDL_GetWindowBordersSize(w, &top, &left, &bottom, &right) == 0;
}

void follow_real_size(SDL_Window* w) {
    Size got = real_size(w);
    int width = 0, height = 0;
    SDL_GetWindowSize(w, &width, &height);
    if (got.width > 0 && got.height > 0 && (got.width != width || got.height != height))
        SDL_SetWindowSize(w, got.width, got.height);
}

void settle_size(SDL_Window* w, Size asked) {
    if (!size_held_by_window_manager(w)) {
        Uint32 start = SDL_GetTicks();
        while (real_size(w) != asked && within_patience(start)) SDL_Delay(10);
    }
    follow_real_size(w);
}

void cover_display(SDL_Window* w) {
    SDL_SetWindowBordered(w, SDL_FALSE);
    if (window_system_stand_in() != Window_System::keeps_window_size) {
        SDL_Rect want = display_bounds(w);
        SDL_SetWindowPosition(w, want.x, want.y);
        SDL_SetWindowSize(w, want.w, want.h);
        geometry_becomes(w, want);
    }
    // SDL believes the size it asked for; a window manager may have given
    // another, or none.
    follow_real_size(w);
}

}  // namespace sdk::detail
