// The window system's side of a window: where it is, how large, with which
// frame and state, and the requests that change them, none of which waits
// for an answer.
//
// Under X, what the window really has is read from the server. A window
// manager may hold a window at a size of its own (maximised, tiled), carry
// a request out late or not at all, and one that has exited may have left
// its check window's property on the root window and its frame extents on
// ours; a frame counts only while its window manager runs. The full-screen
// state is a property that outlives the window manager that set it, so
// where none takes it off the window writes it off itself.
#include <SDL.h>
#if defined(MIREL_X11)
#include <SDL_syswm.h>
#include <X11/Xutil.h>
#endif

#include <algorithm>
#include <vector>

#include "sdk/display_internal.h"

namespace sdk::detail {

namespace {

// Through SDL, where it carries requests out itself (the offscreen driver,
// Wayland) or stands in for a window system of another kind in a test.
class SDL_Port : public Window_Port {
public:
    explicit SDL_Port(SDL_Window* w) : w_(w) {}

    SDL_Rect geometry() override {
        SDL_Rect r{0, 0, 0, 0};
        SDL_GetWindowPosition(w_, &r.x, &r.y);
        SDL_GetWindowSize(w_, &r.w, &r.h);
        return r;
    }
    Frame frame() override {
        Frame f;
        if (!window_manager_running() ||
            SDL_GetWindowBordersSize(w_, &f.top, &f.left, &f.bottom, &f.right) != 0)
            return {};
        return f;
    }
    bool window_manager_running() override {
        return window_system_stand_in() != Window_System::no_window_manager;
    }
    bool full_screen_state() override {
        return (SDL_GetWindowFlags(w_) & SDL_WINDOW_FULLSCREEN) != 0;
    }
    bool ask_full_screen(bool on) override {
        // A stand-in window manager leaves the window as it is.
        if (on && window_system_stand_in() != Window_System::as_it_is) return false;
        SDL_SetWindowFullscreen(w_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        return true;
    }
    bool restores_after_full_screen() override { return false; }
    void drop_full_screen_state() override { SDL_SetWindowFullscreen(w_, 0); }
    void set_decorations(bool on) override { SDL_SetWindowBordered(w_, on ? SDL_TRUE : SDL_FALSE); }
    void set_size_limits(bool fixed, Size) override {
        SDL_SetWindowResizable(w_, fixed ? SDL_FALSE : SDL_TRUE);
    }
    void place(const SDL_Rect& area, const Frame&) override {
        if (window_system_stand_in() == Window_System::keeps_window_size) return;
        SDL_SetWindowPosition(w_, area.x, area.y);
        SDL_SetWindowSize(w_, std::max(1, area.w), std::max(1, area.h));
    }
    void resize(Size size) override {
        SDL_SetWindowSize(w_, std::max(1, size.width), std::max(1, size.height));
    }

private:
    SDL_Window* w_;
};

#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)

bool x_error_seen = false;
int note_x_error(Display*, XErrorEvent*) {
    x_error_seen = true;
    return 0;
}

// A property of 32-bit items of one type, as long as it is there whole.
std::vector<unsigned long> property_items(Display* d, ::Window of, Atom name, Atom type,
                                          long most) {
    std::vector<unsigned long> items;
    Atom got = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, of, name, 0, most, False, type, &got, &format, &count, &left,
                           &data) == Success &&
        got == type && format == 32 && data) {
        auto* values = reinterpret_cast<unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data) XFree(data);
    return items;
}

class X_Port : public Window_Port {
public:
    X_Port(Display* d, ::Window x) : d_(d), x_(x) {}

    SDL_Rect geometry() override {
        XSync(d_, False);
        XWindowAttributes a;
        if (!XGetWindowAttributes(d_, x_, &a)) return {0, 0, 0, 0};
        int left = 0, top = 0;
        ::Window child = None;
        XTranslateCoordinates(d_, x_, a.root, 0, 0, &left, &top, &child);
        return {left, top, a.width, a.height};
    }

    Frame frame() override {
        if (!window_manager_running()) return {};
        std::vector<unsigned long> e =
            property_items(d_, x_, atom("_NET_FRAME_EXTENTS"), XA_CARDINAL, 4);
        if (e.size() != 4) return {};
        auto side = [](unsigned long v) { return static_cast<int>(std::min(v, 4096ul)); };
        return {side(e[0]), side(e[1]), side(e[2]), side(e[3])};
    }

    // A window manager that follows the desktop conventions names a check
    // window on the root window, and the check window names itself. A
    // property left by one that has exited names a window that is gone
    // (BadWindow, caught here) or one that no longer names itself.
    bool window_manager_running() override {
        if (window_system_stand_in() != Window_System::as_it_is)
            return window_system_stand_in() != Window_System::no_window_manager;
        Atom check = atom("_NET_SUPPORTING_WM_CHECK");
        XSync(d_, False);
        x_error_seen = false;
        auto* previous = XSetErrorHandler(note_x_error);
        ::Window named = single_window(DefaultRootWindow(d_), check);
        bool running = named != None && single_window(named, check) == named;
        XSync(d_, False);
        XSetErrorHandler(previous);
        return running && !x_error_seen;
    }

    bool full_screen_state() override {
        Atom full = atom("_NET_WM_STATE_FULLSCREEN");
        for (unsigned long a : states())
            if (a == full) return true;
        return false;
    }

    bool ask_full_screen(bool on) override {
        if (!window_manager_running() ||
            (on && window_system_stand_in() != Window_System::as_it_is))
            return false;
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = x_;
        e.xclient.message_type = atom("_NET_WM_STATE");
        e.xclient.format = 32;
        e.xclient.data.l[0] = on ? 1 : 0;  // add, remove
        e.xclient.data.l[1] = static_cast<long>(atom("_NET_WM_STATE_FULLSCREEN"));
        e.xclient.data.l[3] = 1;  // from an application
        XSendEvent(d_, DefaultRootWindow(d_), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XFlush(d_);
        return true;
    }

    bool restores_after_full_screen() override { return true; }

    void drop_full_screen_state() override {
        Atom full = atom("_NET_WM_STATE_FULLSCREEN");
        std::vector<unsigned long> kept;
        for (unsigned long a : states())
            if (a != full) kept.push_back(a);
        XChangeProperty(d_, x_, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(kept.data()),
                        static_cast<int>(kept.size()));
        XFlush(d_);
    }

    // The decorations hint of the Motif window manager, which the window
    // managers of today read as well.
    void set_decorations(bool on) override {
        unsigned long hints[5] = {2, 0, on ? 1ul : 0ul, 0, 0};  // flags: decorations
        Atom motif = atom("_MOTIF_WM_HINTS");
        XChangeProperty(d_, x_, motif, motif, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(hints), 5);
        XFlush(d_);
    }

    void set_size_limits(bool fixed, Size size) override {
        XSizeHints* hints = XAllocSizeHints();
        if (!hints) return;
        long supplied = 0;
        XGetWMNormalHints(d_, x_, hints, &supplied);
        if (fixed) {
            hints->min_width = hints->max_width = std::max(1, size.width);
            hints->min_height = hints->max_height = std::max(1, size.height);
            hints->flags |= PMinSize | PMaxSize;
        } else {
            hints->flags &= ~(PMinSize | PMaxSize);
        }
        XSetWMNormalHints(d_, x_, hints);
        XFree(hints);
        XFlush(d_);
    }

    // The position asked for is the frame's: a window manager puts the
    // frame's top-left corner there and the drawing area inside it.
    void place(const SDL_Rect& area, const Frame& f) override {
        if (window_system_stand_in() == Window_System::keeps_window_size) return;
        XMoveResizeWindow(d_, x_, area.x - f.left, area.y - f.top,
                          static_cast<unsigned>(std::max(1, area.w)),
                          static_cast<unsigned>(std::max(1, area.h)));
        XFlush(d_);
    }

    void resize(Size size) override {
        XResizeWindow(d_, x_, static_cast<unsigned>(std::max(1, size.width)),
                      static_cast<unsigned>(std::max(1, size.height)));
        XFlush(d_);
    }

private:
    Atom atom(const char* name) { return XInternAtom(d_, name, False); }

    ::Window single_window(::Window of, Atom name) {
        std::vector<unsigned long> w = property_items(d_, of, name, XA_WINDOW, 1);
        return w.size() == 1 ? static_cast<::Window>(w[0]) : None;
    }

    std::vector<unsigned long> states() {
        return property_items(d_, x_, atom("_NET_WM_STATE"), XA_ATOM, 64);
    }

    Display* d_;
    ::Window x_;
};
#endif

}  // namespace

std::unique_ptr<Window_Port> make_window_port(SDL_Window* w) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(w, &info) && info.subsystem == SDL_SYSWM_X11)
        return std::make_unique<X_Port>(info.info.x11.display, info.info.x11.window);
#endif
    return std::make_unique<SDL_Port>(w);
}

SDL_Rect display_bounds(SDL_Window* w) {
    int index = SDL_GetWindowDisplayIndex(w);
    SDL_Rect b{0, 0, 0, 0};
    if (SDL_GetDisplayBounds(index < 0 ? 0 : index, &b) == 0) return b;
    // Where SDL cannot tell, the window's own place.
    SDL_GetWindowPosition(w, &b.x, &b.y);
    SDL_GetWindowSize(w, &b.w, &b.h);
    return b;
}

bool usable_area(SDL_Window* w, const SDL_Rect& around, SDL_Rect& usable) {
    bool any = false;
    for (int i = 0; i < SDL_GetNumVideoDisplays(); ++i) {
        SDL_Rect bounds, part, common;
        if (SDL_GetDisplayBounds(i, &bounds) != 0 || SDL_GetDisplayUsableBounds(i, &part) != 0 ||
            !SDL_HasIntersection(&bounds, &around))
            continue;
        if (any) {
            SDL_UnionRect(&usable, &part, &common);
            usable = common;
        } else {
            usable = part;
        }
        any = true;
    }
    if (any) return true;
    // A window off every display: the usable part of the one SDL gives it.
    int index = SDL_GetWindowDisplayIndex(w);
    return index >= 0 && SDL_GetDisplayUsableBounds(index, &usable) == 0;
}

void on_window_system_message([[maybe_unused]] const SDL_SysWMmsg* m) {
#if defined(SDL_VIDEO_DRIVER_X11) && defined(MIREL_X11)
    if (!m || m->subsystem != SDL_SYSWM_X11) return;
    const XEvent& e = m->msg.x11.event;
    if (e.type != PropertyNotify ||
        e.xproperty.atom != XInternAtom(e.xproperty.display, "_NET_FRAME_EXTENTS", False))
        return;
    for (Window::Impl* w : std::vector<Window::Impl*>(live_windows())) {
        SDL_Window* sw = window_of(w);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (sw && SDL_GetWindowWMInfo(sw, &info) && info.subsystem == SDL_SYSWM_X11 &&
            info.info.x11.window == e.xproperty.window)
            raise_resize(w);
    }
#endif
}

Window_System& window_system_stand_in() {
    static Window_System stand_in = Window_System::as_it_is;
    return stand_in;
}

}  // namespace sdk::detail
