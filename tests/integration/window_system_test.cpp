// The game window as a real X server holds it. Each row starts an Xvfb of
// 1280 x 1024 (or two such monitors side by side) on a display of its own,
// and the window manager the row needs (openbox, i3, icewm or fluxbox), runs the game in a folder
// of its own, acts on it as a player or the window system would (keys through XTest, window-manager
// messages, a restarted window manager) and reads back what the server
// has: the window's geometry, state and frame, the picture's place in the
// window's pixels, and the settings file; and counts in the game's log the
// displays it has made, one at start and one for each change of mode.
// Google Test first: Xlib's macros (None, Bool, ...) would break its own.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "child_process.h"
#include "played_window_manager.h"
#include "tests/common/scratch_dir.h"
#include "world/settings.h"
#include "x_server.h"

namespace {

using namespace integration_test;
using namespace std::chrono_literals;

constexpr int screen_width = 1280, screen_height = 1024;

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Box&) const = default;
};

std::string text(const Box& b) {
    return std::to_string(b.w) + " x " + std::to_string(b.h) + " at (" + std::to_string(b.x) +
           ", " + std::to_string(b.y) + ")";
}

std::string text(const std::vector<long>& frame) {
    std::string out = "{";
    for (size_t i = 0; i < frame.size(); ++i) out += (i ? ", " : "") + std::to_string(frame[i]);
    return out + "}";
}

int ignore_x_errors(Display*, XErrorEvent*) { return 0; }

Atom atom(Display* d, const char* name) { return XInternAtom(d, name, False); }

// The test's view of the game through its own connection to the server.
class Game_Window {
public:
    explicit Game_Window(Display* d) : d_(d) { XSetErrorHandler(ignore_x_errors); }

    // The game's window: the viewable one named "Mirel", however deep a
    // window manager has put it.
    bool find() {
        window_ = find_under(DefaultRootWindow(d_));
        return window_ != 0;
    }

    // The drawing area on the screen.
    Box geometry() const {
        XSync(d_, False);
        XWindowAttributes a;
        if (!window_ || !XGetWindowAttributes(d_, window_, &a)) return {};
        int x = 0, y = 0;
        ::Window child;
        XTranslateCoordinates(d_, window_, a.root, 0, 0, &x, &y, &child);
        return {x, y, a.width, a.height};
    }

    bool full_screen_state() const {
        for (Atom a : atoms(window_, "_NET_WM_STATE"))
            if (a == atom(d_, "_NET_WM_STATE_FULLSCREEN")) return true;
        return false;
    }

    // The frame that a window manager puts around the drawing area: left,
    // right, top, bottom (all 0 without one; the extents one that has ended
    // left on the window are no frame).
    std::vector<long> frame() const {
        std::vector<long> f = cardinals(window_, "_NET_FRAME_EXTENTS");
        if (f.size() != 4 || !window_manager_checks_in()) f = {0, 0, 0, 0};
        return f;
    }

    // Where the picture is in the window: the smallest box holding every
    // pixel that is not black (the bars are black; the main menu's picture
    // is not, along any of its edges).
    Box picture() const {
        Box g = geometry();
        if (g.w <= 0 || g.h <= 0) return {};
        XImage* image = XGetImage(d_, window_, 0, 0, static_cast<unsigned>(g.w),
                                  static_cast<unsigned>(g.h), AllPlanes, ZPixmap);
        if (!image) return {};
        int left = g.w, top = g.h, right = -1, bottom = -1;
        for (int y = 0; y < g.h; ++y)
            for (int x = 0; x < g.w; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                int r = static_cast<int>((p >> 16) & 0xff), gr = static_cast<int>((p >> 8) & 0xff),
                    b = static_cast<int>(p & 0xff);
                if (r + gr + b <= 48) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        XDestroyImage(image);
        if (right < 0) return {};
        return {left, top, right - left + 1, bottom - top + 1};
    }

    void press(KeySym key) {
        // Without a window manager nobody gives the window the focus.
        XSetInputFocus(d_, window_, RevertToPointerRoot, CurrentTime);
        KeyCode code = XKeysymToKeycode(d_, key);
        XTestFakeKeyEvent(d_, code, True, CurrentTime);
        XTestFakeKeyEvent(d_, code, False, CurrentTime);
    }
    void flush() { XSync(d_, False); }
    ::Window id() const { return window_; }

    // What a window manager's maximise button asks for.
    void maximise(bool on) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = window_;
        e.xclient.message_type = atom(d_, "_NET_WM_STATE");
        e.xclient.format = 32;
        e.xclient.data.l[0] = on ? 1 : 0;
        e.xclient.data.l[1] = static_cast<long>(atom(d_, "_NET_WM_STATE_MAXIMIZED_VERT"));
        e.xclient.data.l[2] = static_cast<long>(atom(d_, "_NET_WM_STATE_MAXIMIZED_HORZ"));
        e.xclient.data.l[3] = 2;  // from the user
        XSendEvent(d_, DefaultRootWindow(d_), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &e);
        flush();
    }

    // The window system resizes the window, as a window manager, a tiling
    // rule or another program may.
    void resize(int width, int height) {
        XResizeWindow(d_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        flush();
    }

    // The player (or a window manager) puts the window somewhere else.
    void move(int x, int y) {
        XMoveWindow(d_, window_, x, y);
        flush();
    }
    void move_resize(int x, int y, int width, int height) {
        XMoveResizeWindow(d_, window_, x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height));
        flush();
    }

    // Another program's window, which a tiling window manager puts beside
    // the game's.
    void open_other_window() {
        other_ = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 300, 200, 0, 0, 0);
        XStoreName(d_, other_, "other");
        XMapWindow(d_, other_);
        flush();
    }
    void close_other_window() {
        if (other_) XDestroyWindow(d_, other_);
        other_ = 0;
        flush();
    }

    Box root() const {
        return {0, 0, DisplayWidth(d_, DefaultScreen(d_)), DisplayHeight(d_, DefaultScreen(d_))};
    }

    // A window manager that has gone and left its check on the root window.
    void leave_stale_window_manager_check() {
        ::Window gone = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 1, 1, 0, 0, 0);
        XChangeProperty(d_, DefaultRootWindow(d_), atom(d_, "_NET_SUPPORTING_WM_CHECK"), XA_WINDOW,
                        32, PropModeReplace, reinterpret_cast<unsigned char*>(&gone), 1);
        XDestroyWindow(d_, gone);
        flush();
    }

    bool window_manager_checks_in() const {
        std::vector<long> named =
            cardinals(DefaultRootWindow(d_), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
        if (named.size() != 1) return false;
        std::vector<long> self =
            cardinals(static_cast<::Window>(named[0]), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
        return self.size() == 1 && self[0] == named[0];
    }

private:
    ::Window find_under(::Window w) {
        char* name = nullptr;
        bool match = false;
        if (XFetchName(d_, w, &name) && name) {
            match = std::string(name) == "Mirel";
            XFree(name);
        }
        XWindowAttributes a;
        if (match && XGetWindowAttributes(d_, w, &a) && a.map_state == IsViewable) return w;
        ::Window root, parent, *children = nullptr;
        unsigned count = 0;
        ::Window found = 0;
        if (XQueryTree(d_, w, &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !found; ++i) found = find_under(children[i]);
            if (children) XFree(children);
        }
        return found;
    }

    std::vector<long> cardinals(::Window w, const char* name, Atom type = XA_CARDINAL) const {
        std::vector<long> out;
        Atom got = None;
        int format = 0;
        unsigned long items = 0, left = 0;
        unsigned char* data = nullptr;
        if (w &&
            XGetWindowProperty(d_, w, atom(d_, name), 0, 64, False, type, &got, &format, &items,
                               &left, &data) == Success &&
            got == type && format == 32 && data)
            for (unsigned long i = 0; i < items; ++i)
                out.push_back(reinterpret_cast<long*>(data)[i]);
        if (data) XFree(data);
        return out;
    }
    std::vector<Atom> atoms(::Window w, const char* name) const {
        std::vector<Atom> out;
        for (long a : cardinals(w, name, XA_ATOM)) out.push_back(static_cast<Atom>(a));
        return out;
    }

    Display* d_;
    ::Window window_ = 0, other_ = 0;
};

// What a row's world consists of, and what its steps do to it.
struct World {
    X_Server& server;
    Game_Window& game;
    Scratch_Dir& dir;
    const char* window_manager_name;
    Background_Program window_manager;
    pid_t game_pid = -1;
    Box start;  // the window once the first step has settled
    std::unique_ptr<Played_Window_Manager> played;

    void start_played_window_manager() {
        played = std::make_unique<Played_Window_Manager>();
        ASSERT_TRUE(played->start(server.name(), game.id())) << "no connection to " << server.name();
    }

    void start_window_manager() {
        const std::string name = window_manager_name;
        std::vector<std::string> args;
        if (name == "openbox") args = {"--sm-disable"};
        if (name == "i3") {
            // A border of 2 px around each tile, no title bars and no bar.
            const std::filesystem::path config = dir.path() / "i3.conf";
            std::ofstream(config) << "# i3 config file (v4)\n"
                                     "font pango:monospace 8\n"
                                     "default_border pixel 2\n"
                                     "focus_follows_mouse no\n";
            args = {"-c", config.string()};
        }
        window_manager = Background_Program(
            name, args,
            environment_with({{"DISPLAY", server.name()},
                              {"HOME", dir.path().string()},
                              {"XDG_CONFIG_HOME", (dir.path() / "config").string()},
                              {"XDG_CACHE_HOME", (dir.path() / "cache").string()}}),
            dir.path().string(), (dir.path() / (name + ".txt")).string());
        ASSERT_TRUE(wait_until([&] { return game.window_manager_checks_in(); }, 20s))
            << name << " did not start";
    }
};

// What the row expects once a step has settled.
struct Expect {
    bool full_screen_state;  // _NET_WM_STATE_FULLSCREEN on the window
    Box window;              // the drawing area; x or y below 0: anywhere on the screen
    Box picture;             // in the window
    uint8_t saved_full_screen;
    int saved_width, saved_height;
    // The window manager's frame of the state entered (left, right, top,
    // bottom), where the saved size depends on it; empty: any.
    std::vector<long> frame = {};
    // The player has put the window partly off the screen: the picture is
    // not looked at (the server has no pixels there).
    bool reaches_past_screen = false;
};

struct Step {
    const char* what;
    std::function<void(World&)> act;
    int mode_changes;  // the F11 presses it makes, each one change of mode
    Expect expect;
};

struct Row {
    const char* name;
    const char* window_manager;  // null: none
    int saved_width = 640, saved_height = 480;
    std::vector<Step> steps;
    bool two_monitors = false;
    // The longest the game may take between two frames of the main menu
    // across the row, in ms; 0: not looked at. Such a row runs alone (see
    // tests/CMakeLists.txt): its name says the game never stops.
    int longest_frame_ms = 0;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

void f11(World& w) {
    w.game.press(XK_F11);
    w.game.flush();
}

// Both presses reach the game while it is held, so its next frame finds
// both. They are a few milliseconds apart, as a player's are: X clients take
// a release and a press of the same moment for the key repeating.
bool stopped(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string id, name, state;
    stat >> id >> name >> state;
    return state == "T";
}

void f11_twice_in_one_frame(World& w) {
    ::kill(w.game_pid, SIGSTOP);
    ASSERT_TRUE(wait_until([&] { return stopped(w.game_pid); }, 10s, 1ms))
        << "the game did not stop";
    f11(w);
    std::this_thread::sleep_for(5ms);
    f11(w);
    ::kill(w.game_pid, SIGCONT);
}

// The second press as soon as the first has changed the window: it reaches
// the game in the frame after the change, with the change's own messages.
void f11_twice_in_consecutive_frames(World& w) {
    Box before = w.game.geometry();
    f11(w);
    ASSERT_TRUE(wait_until([&] { return w.game.geometry() != before; }, 10s, 1ms))
        << "the first F11 left the window at " << text(before);
    f11(w);
}

void f11_ten_times(World& w) {
    for (int i = 0; i < 10; ++i) {
        f11(w);
        std::this_thread::sleep_for(30ms);
    }
}

// F11 into full screen and back, `times` over, each change seen through
// before the next press.
std::function<void(World&)> f11_round_trips(int times) {
    return [=](World& w) {
        for (int i = 0; i < times; ++i) {
            Box before = w.game.geometry();
            f11(w);
            ASSERT_TRUE(wait_until([&] { return w.game.geometry() == w.game.root(); }, 10s, 5ms))
                << "F11 " << i + 1 << " left the window at " << text(w.game.geometry());
            f11(w);
            ASSERT_TRUE(wait_until([&] { return w.game.geometry() != w.game.root(); }, 10s, 5ms))
                << "F11 back " << i + 1 << " left the window at " << text(w.game.geometry())
                << ", from " << text(before);
        }
    };
}

std::function<void(World&)> f11_pairs_in_consecutive_frames(int times) {
    return [=](World& w) {
        for (int i = 0; i < times && !testing::Test::HasFatalFailure(); ++i) {
            f11_twice_in_consecutive_frames(w);
            std::this_thread::sleep_for(300ms);
        }
    };
}

void nothing(World&) {}

const Box whole_screen{0, 0, screen_width, screen_height};
constexpr int anywhere = -1;
// Where the window was once the row's first step had settled.
constexpr int at_start = -2;
const Box not_looked_at{};
// The 640 x 480 window, its picture filling it.
const Box small_window{anywhere, anywhere, 640, 480};
const Box small_picture{0, 0, 640, 480};
// Full screen on 1280 x 1024: scale 2, bars of 32 above and below.
const Box full_picture{0, 32, 1280, 960};
const Expect windowed_640{false, small_window, small_picture, 0, 640, 480};
// Made full screen by the window manager, or by the game itself.
const Expect full_from_640{true, whole_screen, full_picture, 1, 640, 480};
const Expect covered_from_640{false, whole_screen, full_picture, 1, 640, 480};
// openbox's frames: 1 px at the sides, a title bar of 20 px and a bottom edge
// of 5 around a window; the title bar alone, of 19 px, when it is maximised;
// none in full screen.
const std::vector<long> openbox_frame{1, 1, 20, 5};
const std::vector<long> maximised_frame{0, 0, 19, 0};
const std::vector<long> no_frame{0, 0, 0, 0};

Expect in_frame(Expect e, const std::vector<long>& frame) {
    e.frame = frame;
    return e;
}

Expect reaching_past_screen(Expect e) {
    e.reaches_past_screen = true;
    e.picture = not_looked_at;
    return e;
}

// i3's tiles: the whole screen but a border of 2 px, and half of it once a
// second window is beside the game's. The resize rule keeps the 4:3 sizes
// 1276 x 957 and 640 x 480; the picture is fitted into each tile.
const Expect whole_tile{false, {2, 2, 1276, 1020}, {0, 31, 1276, 957}, 0, 1276, 957};
const Expect half_tile{false, {2, 2, 636, 1020}, {0, 271, 636, 477}, 0, 640, 480};

// Ten F11 round trips, then five pairs of presses in consecutive frames: the
// window ends where it began.
std::vector<Step> f11_where_it_began() {
    const Expect where_it_began{false, {at_start, at_start, 640, 480}, small_picture, 0, 640, 480};
    return {{"start", nothing, 0, windowed_640},
            {"ten F11 round trips", f11_round_trips(10), 20, where_it_began},
            {"five pairs of F11 in consecutive frames", f11_pairs_in_consecutive_frames(5), 10,
             where_it_began}};
}

std::vector<Step> then(std::vector<Step> first, const std::vector<Step>& next) {
    first.insert(first.end(), next.begin(), next.end());
    return first;
}

const std::vector<Row>& rows() {
    static const std::vector<Row> table = {
        {"TwoF11PressesInOneFrame",
         nullptr,
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"F11 twice, both in one frame", f11_twice_in_one_frame, 2, windowed_640},
          {"F11 twice, in one frame again", f11_twice_in_one_frame, 2, windowed_640}}},
        {"TwoF11PressesInConsecutiveFrames",
         nullptr,
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"F11, and F11 in the next frame", f11_twice_in_consecutive_frames, 2, windowed_640},
          {"once more", f11_twice_in_consecutive_frames, 2, windowed_640}}},
        {"F11WithoutAWindowManager",
         nullptr,
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"F11", f11, 1, covered_from_640},
          {"F11", f11, 1, {false, {320, 272, 640, 480}, small_picture, 0, 640, 480}},
          {"F11 ten times, 30 ms apart", f11_ten_times, 10, windowed_640}}},
        {"F11UnderOpenbox",
         "openbox",
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"F11", f11, 1, full_from_640},
          {"F11", f11, 1, windowed_640},
          {"F11, and F11 in the next frame", f11_twice_in_consecutive_frames, 2, windowed_640},
          {"F11 ten times, 30 ms apart", f11_ten_times, 10, windowed_640}}},
        // openbox puts a maximised window back in two steps: framed again at
        // the maximised size, then at its place and size from before; a
        // size the game asks for on the way is carried out after both.
        {"AWindowManagersPassingSizeIsNoSizeOfThePlayers",
         nullptr,
         640,
         480,
         {{"start", [](World& w) { w.start_played_window_manager(); }, 0,
           in_frame(windowed_640, openbox_frame)},
          {"maximise",
           [](World& w) { w.played->maximise(); },
           0,
           {false, {0, 19, 1280, 1005}, {0, 22, 1280, 960}, 0, 1280, 960, maximised_frame}},
          {"put back as openbox does",
           [](World& w) { w.played->put_back_as_openbox_does(); },
           0,
           in_frame({false, {at_start, at_start, 640, 480}, small_picture, 0, 640, 480},
                    openbox_frame)}}},
        {"AMaximisedWindowShowsThePictureInTheMiddle",
         "openbox",
         640,
         480,
         // Each size is saved once the frame of the state entered is there.
         {{"start", nothing, 0, in_frame(windowed_640, openbox_frame)},
          // openbox's title bar takes 19 px of the 1024 when maximised: the
          // 1280 x 960 picture gets bars of 22 and 23 px.
          {"maximise",
           [](World& w) { w.game.maximise(true); },
           0,
           {false, {0, 19, 1280, 1005}, {0, 22, 1280, 960}, 0, 1280, 960, maximised_frame}},
          {"restore", [](World& w) { w.game.maximise(false); }, 0,
           in_frame(windowed_640, openbox_frame)},
          {"maximise again",
           [](World& w) { w.game.maximise(true); },
           0,
           {false, {0, 19, 1280, 1005}, {0, 22, 1280, 960}, 0, 1280, 960, maximised_frame}},
          // The size kept for the way back is the one the resize rule made
          // of the maximised one.
          {"F11 while maximised",
           f11,
           1,
           {true, whole_screen, full_picture, 1, 1280, 960, no_frame}},
          // openbox puts the window back as it was: maximised.
          {"F11 back",
           f11,
           1,
           {false, {0, 19, 1280, 1005}, {0, 22, 1280, 960}, 0, 1280, 960, maximised_frame}}}},
        {"AWindowManagerRestartedWhileTheGameRuns",
         "openbox",
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"F11 under openbox", f11, 1, full_from_640},
          {"openbox killed", [](World& w) { w.window_manager.stop(); }, 0, full_from_640},
          {"F11 with no window manager", f11, 1, windowed_640},
          {"F11: the game covers the screen itself", f11, 1, covered_from_640},
          {"openbox started again", [](World& w) { w.start_window_manager(); }, 0,
           covered_from_640},
          {"F11", f11, 1, windowed_640}}},
        // The window keeps its place; its size is fitted to the screen's.
        {"ASystemResizePastTheScreenIsFittedIntoIt",
         nullptr,
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"resized to 1600 x 1200", [](World& w) { w.game.resize(1600, 1200); }, 0,
           reaching_past_screen({false, {320, 272, 1280, 960}, {}, 0, 1280, 960})}}},
        {"AWindowThePlayerPutPartlyOffTheScreenKeepsItsPlace",
         nullptr,
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"moved partly off the screen", [](World& w) { w.game.move(900, 700); }, 0,
           reaching_past_screen({false, {900, 700, 640, 480}, {}, 0, 640, 480})},
          {"resized to 1000 x 750", [](World& w) { w.game.resize(1000, 750); }, 0,
           reaching_past_screen({false, {900, 700, 1000, 750}, {}, 0, 1000, 750})}}},
        {"AWindowAcrossTwoMonitorsKeepsItsSizeAndPlace",
         nullptr,
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"stretched across both monitors",
           [](World& w) { w.game.move_resize(600, 10, 1320, 990); },
           0,
           {false, {600, 10, 1320, 990}, {0, 0, 1320, 990}, 0, 1320, 990}}},
         true},
        {"UnderATilingWindowManagerTheGameNeverStops",
         "i3",
         640,
         480,
         {{"start", nothing, 0, whole_tile},
          {"a second window opens beside it", [](World& w) { w.game.open_other_window(); }, 0,
           half_tile},
          {"it closes", [](World& w) { w.game.close_other_window(); }, 0, whole_tile},
          {"F11", f11, 1, {true, whole_screen, full_picture, 1, 1276, 957}},
          {"F11", f11, 1, whole_tile}},
         false,
         100},
        {"UnderFluxboxF11LeavesTheWindowWhereItWas", "fluxbox", 640, 480, f11_where_it_began()},
        {"UnderIcewmAndAfterIt", "icewm", 640, 480,
         then(f11_where_it_began(),
              {// icewm leaves the window where its frame was, and the frame
               // extents it put on the window no longer count.
               {"icewm ended (kill, SIGTERM)",
                [](World& w) { w.window_manager.end(10s); },
                0,
                {false, {320, 272, 640, 480}, small_picture, 0, 640, 480}},
               {"F11: the game covers the screen itself", f11, 1, covered_from_640},
               {"F11", f11, 1, {false, {320, 272, 640, 480}, small_picture, 0, 640, 480}}})},
        {"UnderOpenboxTheFitLeavesRoomForTheFrame",
         "openbox",
         2400,
         1800,
         // openbox's frame leaves 1278 x 999 of the screen for the drawing
         // area.
         {{"start from a size kept from a larger screen",
           nothing,
           0,
           {false,
            {anywhere, anywhere, 1278, 958},
            {0, 0, 1278, 958},
            0,
            1278,
            958,
            openbox_frame}},
          {"resized to 1600 x 1200",
           [](World& w) { w.game.resize(1600, 1200); },
           0,
           {false,
            {anywhere, anywhere, 1278, 958},
            {0, 0, 1278, 958},
            0,
            1278,
            958,
            openbox_frame}}}},
        {"AStaleWindowManagerCheck",
         nullptr,
         640,
         480,
         {{"start", nothing, 0, windowed_640},
          {"a window manager's check left behind",
           [](World& w) { w.game.leave_stale_window_manager_check(); }, 0, windowed_640},
          {"F11: the game covers the screen itself", f11, 1, covered_from_640},
          {"F11", f11, 1, {false, {320, 272, 640, 480}, small_picture, 0, 640, 480}}}},
    };
    return table;
}

void write_settings(int width, int height) {
    game_version = 91;
    fullscreen = 0;
    config_window_size = {width, height};
    Config_Bytes b = encode_config();
    Scratch_Dir::write(config_file_name, std::vector<uint8_t>(b.begin(), b.end()));
}

// What the game writes on stderr, the log under MIREL_LOG=Debug.
std::string game_log() {
    std::vector<uint8_t> bytes = Scratch_Dir::read("mirel.txt");
    return {bytes.begin(), bytes.end()};
}

// The displays the game has made: it logs the scale and the screen size of
// each, the one it makes at start and one for each change of mode.
std::vector<std::string> displays_made(const std::string& log) {
    std::vector<std::string> made;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("[Debug] Scale = ", 0) == 0 &&
            line.find(", screen size: ") != std::string::npos)
            made.push_back(line);
    return made;
}

// What the server, the settings file and the game's log hold now.
struct Seen {
    bool found = false;
    bool full_screen_state = false;
    Box window, picture, root;
    std::vector<long> frame;
    std::vector<uint8_t> saved;
    std::vector<std::string> displays;

    int saved_int(size_t at) const {
        return saved.size() == 33 ? static_cast<int>(saved[at] | saved[at + 1] << 8 |
                                                     saved[at + 2] << 16 | saved[at + 3] << 24)
                                  : -1;
    }
};

// Where the row expects the window, with the place it had at the start
// put in.
Box expected_window(const Expect& e, const Box& start) {
    Box want = e.window;
    if (want.x == at_start) want.x = start.x;
    if (want.y == at_start) want.y = start.y;
    return want;
}

bool window_matches(const Seen& s, const Expect& e, const Box& start) {
    const Box want = expected_window(e, start);
    return s.window.w == want.w && s.window.h == want.h && (want.x < 0 || s.window.x == want.x) &&
           (want.y < 0 || s.window.y == want.y) && s.full_screen_state == e.full_screen_state &&
           (e.frame.empty() || s.frame == e.frame);
}

// The picture's edges, give or take what the frame counter and the
// smoothing of the scaled picture draw over the bars.
bool picture_matches(const Box& got, const Box& want) {
    constexpr int slack = 4;
    auto near = [](int a, int b) { return a - b <= slack && b - a <= slack; };
    return near(got.x, want.x) && near(got.y, want.y) && near(got.x + got.w, want.x + want.w) &&
           near(got.y + got.h, want.y + want.h);
}

// The saved size as it is: once the frame of the state entered is there, the
// fit of the size has seen it.
bool settings_match(const Seen& s, const Expect& e) {
    return s.saved.size() == 33 && s.saved[4] == e.saved_full_screen &&
           s.saved_int(5) == e.saved_width && s.saved_int(9) == e.saved_height;
}

bool on_screen(const Seen& s) {
    if (s.frame.size() != 4) return false;
    return s.window.x - s.frame[0] >= 0 && s.window.y - s.frame[2] >= 0 &&
           s.window.x + s.window.w + s.frame[1] <= s.root.w &&
           s.window.y + s.window.h + s.frame[3] <= s.root.h;
}

bool placed_as_expected(const Seen& s, const Expect& e) {
    return e.reaches_past_screen || on_screen(s);
}

bool picture_as_expected(const Seen& s, const Expect& e) {
    return e.picture == not_looked_at || picture_matches(s.picture, e.picture);
}

Seen look(Game_Window& game, bool with_picture) {
    Seen s;
    s.found = game.find();
    if (!s.found) return s;
    s.window = game.geometry();
    s.root = game.root();
    s.full_screen_state = game.full_screen_state();
    s.frame = game.frame();
    if (with_picture) s.picture = game.picture();
    s.saved = Scratch_Dir::read(config_file_name);
    s.displays = displays_made(game_log());
    return s;
}

bool all_match(const Seen& s, const Expect& e, const Box& start, size_t displays) {
    return s.found && window_matches(s, e, start) && placed_as_expected(s, e) &&
           picture_as_expected(s, e) && settings_match(s, e) && s.displays.size() == displays;
}

// Waits for the expected state and for it to stay a while: a wrong state
// that follows a right one a frame later is caught too, and so is a change
// of mode more than the step asked for.
Seen settle(Game_Window& game, const Expect& e, const Box& start, size_t displays) {
    Seen last;
    auto held_since = std::chrono::steady_clock::now();
    bool holding = false;
    wait_until(
        [&] {
            last = look(game, false);
            if (last.found && window_matches(last, e, start) && e.picture != not_looked_at)
                last = look(game, true);
            auto now = std::chrono::steady_clock::now();
            if (!all_match(last, e, start, displays)) {
                holding = false;
                return false;
            }
            if (!holding) held_since = now;
            holding = true;
            return now - held_since >= 400ms;
        },
        20s, 20ms);
    return last;
}

class Window_System : public testing::TestWithParam<Row> {};

// The longest stretch the game's log tells of between the end of one frame
// of the main menu and the input of the next: the frame's flip, the window
// system's messages, the wait for the next frame and the changes of display
// at its start.
double longest_frame_gap(const std::string& log) {
    double longest = 0;
    std::istringstream lines(log);
    const std::string drop = "[Performance] Pervormance drop of ", at = " at Menu input processed";
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(drop, 0) == 0 && line.size() > at.size() &&
            line.compare(line.size() - at.size(), at.size(), at) == 0)
            longest = std::max(longest, std::stod(line.substr(drop.size())));
    return longest;
}

std::unique_ptr<X_Server> server_for(const Row& row, const Scratch_Dir& dir) {
    if (row.two_monitors) return std::make_unique<X_Server>(X_Server::Two_Monitors{}, dir.path());
    return std::make_unique<X_Server>(screen_width, screen_height, dir.path());
}

TEST_P(Window_System, WhatTheServerHoldsAfterEachStep) {
    const Row& row = GetParam();
    Scratch_Dir dir;
    std::unique_ptr<X_Server> server = server_for(row, dir);
    if (!server->started()) GTEST_SKIP() << "no X server could be started: " << server->why_not();
    if (row.window_manager && !on_path(row.window_manager))
        GTEST_SKIP() << row.window_manager
                     << " is not installed (scripts/install-deps.sh installs it)";
    Game_Window game(server->display());
    World world{*server, game, dir, row.window_manager, {}, -1, {}, {}};
    if (row.window_manager) {
        world.start_window_manager();
        if (HasFatalFailure()) return;
    }
    write_settings(row.saved_width, row.saved_height);
    Background_Program mirel(built_program("mirel"), {},
                             environment_with({{"DISPLAY", server->name()},
                                               {"SDL_VIDEODRIVER", ""},
                                               {"WAYLAND_DISPLAY", ""},
                                               {"SDL_AUDIODRIVER", "dummy"},
                                               {"MIREL_LOG", "Debug,Performance"}}),
                             dir.path().string(), (dir.path() / "mirel.txt").string());
    world.game_pid = mirel.pid();
    ASSERT_TRUE(wait_until([&] { return game.find() || !mirel.running(); }, 60s))
        << "the game's window did not show";
    // The display made at start, then one for each F11 press.
    size_t displays = 1;
    bool first = true;
    for (const Step& step : row.steps) {
        SCOPED_TRACE(step.what);
        step.act(world);
        if (HasFatalFailure()) return;
        const Expect& e = step.expect;
        displays += static_cast<size_t>(step.mode_changes);
        Seen s = settle(game, e, world.start, displays);
        if (first) world.start = s.window;
        first = false;
        ASSERT_TRUE(mirel.running()) << "the game ended: " << game_log();
        ASSERT_TRUE(s.found) << "the game's window is gone";
        EXPECT_EQ(s.displays.size(), displays)
            << "the game has made " << s.displays.size() << " displays, not " << displays
            << " (one at start and one for each F11 press):\n"
            << testing::PrintToString(s.displays);
        EXPECT_EQ(s.full_screen_state, e.full_screen_state)
            << "_NET_WM_STATE_FULLSCREEN on the window";
        EXPECT_TRUE(window_matches(s, e, world.start))
            << "the window is " << text(s.window) << " in a frame of " << text(s.frame) << ", not "
            << text(expected_window(e, world.start))
            << (e.frame.empty() ? std::string() : " in a frame of " + text(e.frame));
        EXPECT_TRUE(placed_as_expected(s, e))
            << "the window and its frame reach past the screen: " << text(s.window);
        EXPECT_TRUE(picture_as_expected(s, e))
            << "the picture is " << text(s.picture) << " in the window, not " << text(e.picture);
        EXPECT_TRUE(settings_match(s, e))
            << "config.dat keeps full screen " << (s.saved.size() == 33 ? s.saved[4] : -1)
            << " and " << s.saved_int(5) << " x " << s.saved_int(9) << ", not "
            << int(e.saved_full_screen) << " and " << e.saved_width << " x " << e.saved_height;
        if (HasFailure()) return;
    }
    if (row.longest_frame_ms > 0) {
        // The sanitizers make a frame some times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        const int longest = row.longest_frame_ms * 5;
#else
        const int longest = row.longest_frame_ms;
#endif
        EXPECT_LE(longest_frame_gap(game_log()), longest)
            << "the longest stretch between two frames of the main menu, in ms; the game's log:\n"
            << game_log();
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Window_System, testing::ValuesIn(rows()),
                         [](const testing::TestParamInfo<Row>& info) { return info.param.name; });

}  // namespace
