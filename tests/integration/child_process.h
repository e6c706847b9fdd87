// Running the game's programs as child processes in the integration tests:
// start one with a chosen environment, working directory and a standard
// input that never ends (a pipe the parent holds open), collect what it
// writes on stderr and wait for it with a deadline, so a program that would
// wait for a key shows up as a time-out instead of hanging the suite. The
// program and whatever it starts are ended together when the run is over.
// The run also tells the program's peak resident memory.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace integration_test {

struct Child_Result {
    bool finished = false;  // false: still running at the deadline (then killed)
    int exit_code = -1;     // the low 8 bits, as the shell sees them
    std::string error_output;
    // The program's largest resident set in KiB, the kernel's count at its end
    // (ru_maxrss), which also takes in what this process held when it forked
    // the program; 0 when it was not reaped.
    long peak_resident_kib = 0;
};

// The path of a program built beside the tests: in MIREL_BINARY_DIR when it
// is set (as CTest does), else in the build folder this test program was
// configured for, so the program also runs by itself.
inline std::string built_program(const std::string& name) {
    const char* dir = std::getenv("MIREL_BINARY_DIR");
    return std::string(dir ? dir : MIREL_BUILD_DIR) + "/" + name;
}

// The environment of this process with `changes` applied; an empty value
// removes the variable.
inline std::vector<std::string> environment_with(
    const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        size_t eq = entry.find('=');
        if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [key, value] : changes) {
        if (value.empty())
            env.erase(key);
        else
            env[key] = value;
    }
    std::vector<std::string> out;
    for (const auto& [key, value] : env) out.push_back(key + "=" + value);
    return out;
}

// Whether the child has ended, without reaping it: while it is a zombie its
// id stays taken, so its process group can still be ended safely.
inline bool child_has_ended(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == pid;
}

// In a forked child: goes to the folder and becomes the program (looked up on
// PATH when it has no folder of its own), with exactly the given environment.
[[noreturn]] inline void exec_in(const std::string& work_dir, const std::string& program,
                                 const std::vector<std::string>& args,
                                 const std::vector<std::string>& env) {
    if (::chdir(work_dir.c_str()) != 0) ::_exit(126);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    ::execvpe(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
}

// Runs the program in a process group of its own and ends the whole group
// when the program ends or the deadline passes, so nothing it started (a
// message box that SDL forks, say) outlives the test or holds its stderr
// open.
inline Child_Result run_child(const std::string& program, const std::vector<std::string>& args,
                              const std::vector<std::string>& env, const std::string& work_dir,
                              std::chrono::milliseconds deadline) {
    int err_pipe[2], in_pipe[2];
    if (::pipe(err_pipe) != 0 || ::pipe(in_pipe) != 0) return {};
    pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::dup2(in_pipe[0], 0);
        ::dup2(err_pipe[1], 2);
        ::close(in_pipe[1]);
        ::close(err_pipe[0]);
        exec_in(work_dir, program, args, env);
    }
    // Both sides set the group, so it is there before either goes on.
    ::setpgid(pid, pid);
    ::close(in_pipe[0]);
    ::close(err_pipe[1]);
    Child_Result result;
    auto end = std::chrono::steady_clock::now() + deadline;
    char buf[4096];
    // Reads stderr until every writer has closed it; once the program has
    // ended, its group is ended too, so what it left behind closes it.
    bool open = true;
    while (open) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        if (!result.finished && child_has_ended(pid)) {
            result.finished = true;
            ::kill(-pid, SIGKILL);
        }
        pollfd p{err_pipe[0], POLLIN, 0};
        int wait_ms = result.finished ? static_cast<int>(left.count())
                                      : static_cast<int>(std::min<int64_t>(left.count(), 50));
        if (::poll(&p, 1, wait_ms) <= 0) continue;
        ssize_t n = ::read(err_pipe[0], buf, sizeof buf);
        if (n <= 0)
            open = false;
        else
            result.error_output.append(buf, static_cast<size_t>(n));
    }
    while (!result.finished && std::chrono::steady_clock::now() < end) {
        result.finished = child_has_ended(pid);
        if (!result.finished) ::usleep(5000);
    }
    ::kill(-pid, SIGKILL);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) == pid) result.peak_resident_kib = usage.ru_maxrss;
    if (result.finished)
        result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ::close(err_pipe[0]);
    ::close(in_pipe[1]);
    return result;
}

}  // namespace integration_test
