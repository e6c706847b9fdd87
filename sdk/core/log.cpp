#include "sdk/core/log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace sdk {

namespace {

std::mutex log_mutex;
std::atomic<bool> sink_installed{false};

// Never destroyed, so that destructors of other statics may still log.
Log_Sink& current_sink() {
    static auto* sink = new Log_Sink();
    return *sink;
}

// What MIREL_LOG asks for, read once.
struct Stderr_Choice {
    bool all = false;
    std::vector<std::string> categories;

    Stderr_Choice() {
        const char* env = std::getenv("MIREL_LOG");
        if (!env) return;
        for (const std::string& c : split_text(env, ",")) {
            std::string t = trim(c);
            if (t == "all" || t == "1") all = true;
            else if (!t.empty()) categories.push_back(t);
        }
    }
    bool wants(std::string_view category) const {
        if (all) return true;
        for (const std::string& c : categories)
            if (c == category) return true;
        return false;
    }
};

const Stderr_Choice& stderr_choice() {
    static const auto* choice = new Stderr_Choice();
    return *choice;
}

}  // namespace

Log_Sink set_log_sink(Log_Sink sink) {
    std::lock_guard lock(log_mutex);
    Log_Sink old = std::move(current_sink());
    current_sink() = std::move(sink);
    sink_installed = static_cast<bool>(current_sink());
    return old;
}

bool log_enabled(std::string_view category) {
    return sink_installed.load(std::memory_order_relaxed) || stderr_choice().wants(category);
}

void log_text(std::string_view category, const std::string& text) {
    std::lock_guard lock(log_mutex);
    if (current_sink()) {
        current_sink()(std::string(category), text);
        return;
    }
    if (!stderr_choice().wants(category)) return;
    std::fprintf(stderr, "[%.*s] %s\n", static_cast<int>(category.size()), category.data(),
                 text.c_str());
}

}  // namespace sdk
