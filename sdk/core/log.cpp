#include "sdk/core/log.h"

#include <cstdio>
#include <mutex>

namespace sdk {

namespace {
std::mutex log_mutex;
Log_Sink& current_sink() {
    static Log_Sink sink;
    return sink;
}
}  // namespace

Log_Sink set_log_sink(Log_Sink sink) {
    std::lock_guard lock(log_mutex);
    Log_Sink old = std::move(current_sink());
    current_sink() = std::move(sink);
    return old;
}

void log_text(std::string_view category, const std::string& text) {
    std::lock_guard lock(log_mutex);
    if (current_sink()) {
        current_sink()(std::string(category), text);
        return;
    }
    std::fprintf(stderr, "[%.*s] %s\n", static_cast<int>(category.size()), category.data(),
                 text.c_str());
}

}  // namespace sdk
