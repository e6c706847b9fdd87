// A window manager the test plays itself, for the steps of a real one that
// come too close together to be caught in the act: it takes over the root
// window's requests on a connection and a thread of its own, names a check
// window as window managers do, and holds the game's window with a frame of
// {1, 1, 20, 5} (left, right, top, bottom) drawn nowhere but in
// _NET_FRAME_EXTENTS. A request's position is the frame's, as under a
// reparenting window manager; the drawing area goes inside the frame.
//
// Maximised, the window fills the screen below a title bar of 19 px and
// requests for other sizes are refused. Put back, it goes as openbox takes
// it: framed again at the maximised size, a moment later at its place and
// size from before; requests that came on the way are carried out after
// that, in their order, as openbox reads them after its own two steps.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace integration_test {

class Played_Window_Manager {
public:
    static constexpr long frame[4] = {1, 1, 20, 5};
    static constexpr long maximised_frame[4] = {0, 0, 19, 0};

    // Takes over from none running on `display`; false if it cannot.
    bool start(const std::string& display, ::Window game) {
        d_ = XOpenDisplay(display.c_str());
        if (!d_) return false;
        game_ = game;
        ::Window root = DefaultRootWindow(d_);
        XSelectInput(d_, root, SubstructureRedirectMask | SubstructureNotifyMask);
        check_ = XCreateSimpleWindow(d_, root, -10, -10, 1, 1, 0, 0, 0);
        Atom check = XInternAtom(d_, "_NET_SUPPORTING_WM_CHECK", False);
        for (::Window on : {root, check_})
            XChangeProperty(d_, on, check, XA_WINDOW, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&check_), 1);
        set_frame(frame);
        XSync(d_, False);
        thread_ = std::thread([this] { run(); });
        return true;
    }

    ~Played_Window_Manager() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (d_) XCloseDisplay(d_);
    }

    void maximise() { command(Command::maximise); }
    void put_back_as_openbox_does() { command(Command::put_back); }

private:
    enum class Command { none, maximise, put_back };

    void command(Command c) {
        std::lock_guard<std::mutex> lock(mutex_);
        command_ = c;
    }

    void run() {
        while (!stop_) {
            Command c = Command::none;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                std::swap(c, command_);
            }
            if (c == Command::maximise) do_maximise();
            if (c == Command::put_back) do_put_back();
            answer_pending();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    void answer_pending() {
        while (XPending(d_)) {
            XEvent e;
            XNextEvent(d_, &e);
            answer(e);
        }
    }

    void answer(const XEvent& e) {
        if (e.type == MapRequest) {
            XMapWindow(d_, e.xmaprequest.window);
        } else if (e.type == ConfigureRequest) {
            if (e.xconfigurerequest.window == game_ && maximised_) return;  // refused
            if (e.xconfigurerequest.window == game_ && putting_back_) {
                waiting_.push_back(e.xconfigurerequest);
                return;
            }
            carry_out(e.xconfigurerequest);
        }
        XFlush(d_);
    }

    void carry_out(const XConfigureRequestEvent& r) {
        XWindowChanges c{};
        unsigned long mask = r.value_mask & (CWX | CWY | CWWidth | CWHeight);
        c.x = r.x + static_cast<int>(frame[0]);
        c.y = r.y + static_cast<int>(frame[2]);
        c.width = r.width;
        c.height = r.height;
        XConfigureWindow(d_, r.window, static_cast<unsigned>(mask), &c);
        XFlush(d_);
    }

    void do_maximise() {
        before_ = geometry();
        maximised_ = true;
        set_frame(maximised_frame);
        int screen = DefaultScreen(d_);
        XMoveResizeWindow(d_, game_, 0, 19, static_cast<unsigned>(DisplayWidth(d_, screen)),
                          static_cast<unsigned>(DisplayHeight(d_, screen) - 19));
        XSync(d_, False);
    }

    void do_put_back() {
        maximised_ = false;
        putting_back_ = true;
        set_frame(frame);
        XMoveWindow(d_, game_, 1, 20);
        XSync(d_, False);
        // The game's frames go on meanwhile: it sees the window framed at the
        // maximised size, and its requests wait.
        for (int i = 0; i < 60 && !stop_; ++i) {
            answer_pending();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        XMoveResizeWindow(d_, game_, before_.x, before_.y, static_cast<unsigned>(before_.width),
                          static_cast<unsigned>(before_.height));
        putting_back_ = false;
        for (const XConfigureRequestEvent& r : waiting_) carry_out(r);
        waiting_.clear();
        XSync(d_, False);
    }

    XWindowChanges geometry() {
        XWindowAttributes a;
        XWindowChanges g{};
        if (XGetWindowAttributes(d_, game_, &a)) {
            ::Window child;
            XTranslateCoordinates(d_, game_, a.root, 0, 0, &g.x, &g.y, &child);
            g.width = a.width;
            g.height = a.height;
        }
        return g;
    }

    void set_frame(const long (&f)[4]) {
        long extents[4] = {f[0], f[1], f[2], f[3]};
        XChangeProperty(d_, game_, XInternAtom(d_, "_NET_FRAME_EXTENTS", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<unsigned char*>(extents), 4);
    }

    Display* d_ = nullptr;
    ::Window game_ = 0, check_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    Command command_ = Command::none;
    bool maximised_ = false, putting_back_ = false;
    XWindowChanges before_{};
    std::vector<XConfigureRequestEvent> waiting_;
};

}  // namespace integration_test
