// A real X server for the integration tests: a display number nobody uses,
// an Xvfb started on it for one test, and the programs that test runs
// against it (a window manager, the game), each in a process group of its
// own that ends with the test.
#pragma once

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"

namespace integration_test {

// A display number with no X server behind it, from `first` up: no socket in
// /tmp/.X11-unix, no abstract socket of that name and no lock file of a
// server starting up.
inline std::string display_with_no_server(int first = 97) {
    std::ifstream unix_sockets("/proc/net/unix");
    std::stringstream listing;
    listing << unix_sockets.rdbuf();
    const std::string sockets = listing.str();
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

// A program running beside the test, its stderr in a file; ended (with all
// it started) when it goes.
class Background_Program {
public:
    Background_Program() = default;
    Background_Program(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& env, const std::string& work_dir,
                       const std::string& error_file) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setpgid(0, 0);
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

private:
    pid_t pid_ = -1;
};

// An Xvfb of one screen for one test, on a display of its own. `why_not`
// tells why none could be started.
class X_Server {
public:
    X_Server(int width, int height, const std::filesystem::path& dir) {
        if (!on_path("Xvfb")) {
            why_not_ = "Xvfb is not installed (scripts/install-deps.sh installs it)";
            return;
        }
        // Tests running side by side may pick the same free number: the
        // server that comes second fails, and the next number is tried.
        int first = 300;
        for (int attempt = 0; attempt < 20; ++attempt) {
            name_ = display_with_no_server(first);
            first = std::stoi(name_.substr(1)) + 1;
            server_ = Background_Program(
                "Xvfb",
                {name_, "-screen", "0", std::to_string(width) + "x" + std::to_string(height) + "x24",
                 "-nolisten", "tcp", "-noreset"},
                environment_with({}), dir.string(), (dir / ("xvfb" + name_.substr(1) + ".txt")).string());
            // Only a server whose lock file names it is this test's: another
            // one may be answering on that number while this one gives up.
            const std::string lock = "/tmp/.X" + name_.substr(1) + "-lock";
            if (wait_until(
                    [&] {
                        if (!server_.running()) return true;
                        std::ifstream f(lock);
                        pid_t owner = 0;
                        if (!(f >> owner) || owner != server_.pid()) return false;
                        display_ = XOpenDisplay(name_.c_str());
                        return display_ != nullptr;
                    },
                    std::chrono::seconds(10)) &&
                display_)
                return;
            server_.stop();
        }
        why_not_ = "Xvfb did not start on any free display";
    }
    ~X_Server() {
        if (display_) XCloseDisplay(display_);
    }
    X_Server(const X_Server&) = delete;
    X_Server& operator=(const X_Server&) = delete;

    bool started() const { return display_ != nullptr; }
    const std::string& why_not() const { return why_not_; }
    const std::string& name() const { return name_; }
    // The test's own connection.
    Display* display() const { return display_; }

private:
    std::string name_, why_not_;
    Background_Program server_;
    Display* display_ = nullptr;
};

}  // namespace integration_test
