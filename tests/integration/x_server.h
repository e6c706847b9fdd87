// A real X server for the integration tests: an Xvfb (or, for two monitors,
// Xorg with its dummy driver) started for one test on a display number it
// chooses itself, and the programs that test runs
// against it (a window manager, the game), each in a process group of its
// own that ends with the test. The server is asked to end, so it removes its
// lock file and socket; the others are killed.
#pragma once

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"

namespace integration_test {

// The Unix sockets of the machine, as /proc/net/unix lists them.
inline std::string unix_sockets() {
    std::ifstream f("/proc/net/unix");
    std::stringstream listing;
    listing << f.rdbuf();
    return listing.str();
}

// Whether a server listens on the abstract socket of that path's name.
inline bool listening_on(const std::string& socket) {
    return unix_sockets().find("@" + socket + "\n") != std::string::npos;
}

// A display number with no X server behind it, from `first` up: no socket in
// /tmp/.X11-unix, no abstract socket of that name and no lock file of a
// server starting up.
inline std::string display_with_no_server(int first = 97) {
    const std::string sockets = unix_sockets();
    for (int n = first;; ++n) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        if (std::filesystem::exists(socket) ||
            std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock") ||
            sockets.find("@" + socket + "\n") != std::string::npos)
            continue;
        return ":" + std::to_string(n);
    }
}

// Whether `program` is found on PATH.
inline bool on_path(const std::string& program) {
    std::stringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    std::string dir;
    while (std::getline(path, dir, ':'))
        if (!dir.empty() && ::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    return false;
}

// Polls `done` every `step` until it holds or `deadline` has passed.
template <class F>
bool wait_until(F done, std::chrono::milliseconds deadline,
                std::chrono::milliseconds step = std::chrono::milliseconds(10)) {
    auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(step);
    }
}

// A program running beside the test, its stderr in a file; killed (with all
// it started) when it goes. `inherited_fd`, when given, stays open in the
// program under the same number.
class Background_Program {
public:
    Background_Program() = default;
    Background_Program(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& env, const std::string& work_dir,
                       const std::string& error_file, int inherited_fd = -1) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setpgid(0, 0);
            if (inherited_fd >= 0) ::fcntl(inherited_fd, F_SETFD, 0);
            FILE* err = std::fopen(error_file.c_str(), "w");
            if (err) ::dup2(::fileno(err), 2);
            FILE* in = std::fopen("/dev/null", "r");
            if (in) ::dup2(::fileno(in), 0);
            exec_in(work_dir, program, args, env);
        }
        ::setpgid(pid_, pid_);
    }
    Background_Program(const Background_Program&) = delete;
    Background_Program& operator=(const Background_Program&) = delete;
    Background_Program(Background_Program&& o) noexcept : pid_(o.pid_) { o.pid_ = -1; }
    Background_Program& operator=(Background_Program&& o) noexcept {
        if (this != &o) {
            stop();
            pid_ = o.pid_;
            o.pid_ = -1;
        }
        return *this;
    }
    ~Background_Program() { stop(); }

    bool running() const { return pid_ > 0 && !child_has_ended(pid_); }
    pid_t pid() const { return pid_; }
    // Killed at once, as a crash or `kill -9` would end it.
    void stop() {
        if (pid_ <= 0) return;
        ::kill(-pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    // Asked to end with SIGTERM, as a system shutting down asks, and killed
    // if it has not within `grace`; what it started goes with it. Whether it
    // ended by itself.
    bool end(std::chrono::milliseconds grace) {
        if (pid_ <= 0) return true;
        ::kill(pid_, SIGTERM);
        const pid_t pid = pid_;
        bool ended = wait_until([&] { return child_has_ended(pid); }, grace);
        stop();
        return ended;
    }

private:
    pid_t pid_ = -1;
};

// The first line written on `fd` within `deadline`, without its newline;
// empty when the writer closes it or the time runs out first.
inline std::string first_line(int fd, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    std::string line;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char c = 0;
        if (::read(fd, &c, 1) != 1) return {};
        if (c == '\n') return line;
        line += c;
    }
}

// An X server for one test, on a display of its own. `why_not`
// tells why none could be started.
class X_Server {
public:
    // An Xvfb of one screen of `width` x `height`.
    X_Server(int width, int height, const std::filesystem::path& dir)
        : program_("Xvfb"), error_file_(dir / "xvfb.txt") {
        if (!on_path("Xvfb")) {
            why_not_ = "Xvfb is not installed (scripts/install-deps.sh installs it)";
            return;
        }
        start({"-screen", "0", std::to_string(width) + "x" + std::to_string(height) + "x24",
               "-nolisten", "tcp", "-noreset"},
              dir);
    }

    // Two monitors of 1280 x 1024 side by side on one screen of 2560 x 1024,
    // as RandR (and so SDL) sees them: Xorg's dummy driver, whose second
    // output is switched on.
    struct Two_Monitors {};
    X_Server(Two_Monitors, const std::filesystem::path& dir)
        : program_("Xorg"), error_file_(dir / "xorg.txt") {
        if (!on_path("Xorg") ||
            !std::filesystem::exists("/usr/lib/xorg/modules/drivers/dummy_drv.so")) {
            why_not_ =
                "Xorg with its dummy driver is not installed (scripts/install-deps.sh "
                "installs them)";
            return;
        }
        const std::filesystem::path config = dir / "xorg.conf";
        std::ofstream(config) << two_monitors_config;
        start({"-config", config.string(), "-logfile", (dir / "xorg.log").string(), "-noreset",
               "-nolisten", "tcp", "+extension", "RANDR"},
              dir);
    }
    ~X_Server() {
        if (display_) XCloseDisplay(display_);
        if (name_.empty()) {
            server_.stop();
            return;
        }
        // Ended by SIGTERM, the server removes its socket (and its lock
        // file, where it makes one); killed, it leaves them behind, to be
        // removed here while no other server has taken the number.
        const std::string socket = "/tmp/.X11-unix/X" + name_.substr(1);
        const std::string lock = "/tmp/.X" + name_.substr(1) + "-lock";
        const pid_t pid = server_.pid();
        if (server_.end(std::chrono::seconds(10))) return;
        std::fprintf(stderr, "%s %s did not end within 10 s of SIGTERM and was killed\n",
                     program_.c_str(), name_.c_str());
        std::error_code ec;
        if (!listening_on(socket)) std::filesystem::remove(socket, ec);
        std::ifstream f(lock);
        pid_t owner = 0;
        if (f >> owner && owner == pid) std::filesystem::remove(lock, ec);
    }
    X_Server(const X_Server&) = delete;
    X_Server& operator=(const X_Server&) = delete;

    bool started() const { return display_ != nullptr; }
    const std::string& why_not() const { return why_not_; }
    const std::string& name() const { return name_; }
    // The test's own connection.
    Display* display() const { return display_; }

private:
    static constexpr const char* two_monitors_config = R"(Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "AutoBindGPU" "false"
    Option "DontVTSwitch" "true"
    Option "AllowMouseOpenFail" "true"
    Option "PciForceNone" "true"
    Option "Xinerama" "false"
EndSection
Section "Monitor"
    Identifier "Left"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1280x1024" 109.00 1280 1368 1496 1712 1024 1027 1034 1063 -hsync +vsync
    Option "PreferredMode" "1280x1024"
    Option "Primary" "true"
    Option "Position" "0 0"
EndSection
Section "Monitor"
    Identifier "Right"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1280x1024" 109.00 1280 1368 1496 1712 1024 1027 1034 1063 -hsync +vsync
    Option "PreferredMode" "1280x1024"
    Option "Enable" "true"
    Option "Position" "1280 0"
EndSection
Section "Device"
    Identifier "Card"
    Driver "dummy"
    VideoRam 65536
    Option "Monitor-DUMMY0" "Left"
    Option "Monitor-DUMMY1" "Right"
EndSection
Section "Screen"
    Identifier "Screen"
    Device "Card"
    Monitor "Left"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 2560 1024
    EndSubSection
EndSection
Section "ServerLayout"
    Identifier "Layout"
    Screen "Screen"
EndSection
)";

    // The server takes the first number whose socket no server holds and
    // writes it on the descriptor once it takes connections: servers
    // started side by side never pick the same one, and none is kept from a
    // number by what a server killed there left behind.
    void start(std::vector<std::string> args, const std::filesystem::path& dir) {
        int number_pipe[2];
        if (::pipe2(number_pipe, O_CLOEXEC) != 0) {
            why_not_ = "no pipe for the X server's display number";
            return;
        }
        args.insert(args.begin(), {"-displayfd", std::to_string(number_pipe[1])});
        server_ = Background_Program(program_, args, environment_with({}), dir.string(),
                                     error_file_.string(), number_pipe[1]);
        ::close(number_pipe[1]);
        const std::string number = first_line(number_pipe[0], std::chrono::seconds(20));
        ::close(number_pipe[0]);
        if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
            why_not_ = program_ + " gave no display number (" + number + "): " + errors();
            return;
        }
        name_ = ":" + number;
        display_ = XOpenDisplay(name_.c_str());
        if (!display_) why_not_ = program_ + " on " + name_ + " takes no connection: " + errors();
    }

    std::string errors() const {
        std::ifstream f(error_file_);
        std::stringstream text;
        text << f.rdbuf();
        return text.str();
    }

    std::string program_;
    std::filesystem::path error_file_;
    std::string name_, why_not_;
    Background_Program server_;
    Display* display_ = nullptr;
};

}  // namespace integration_test
