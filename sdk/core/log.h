// Diagnostics: one line per event on stderr, "[category] text". Categories in
// use are "SYSTEM", "Debug", "Performance", "Enemies" and "Game Event". Texts
// take "%1", "%2" placeholders. Tests may install a sink to see the lines.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "sdk/core/string_help.h"

namespace sdk {

using Log_Sink = std::function<void(const std::string& category, const std::string& text)>;

// Replaces where log lines go; an empty sink restores stderr. Answers the old sink.
Log_Sink set_log_sink(Log_Sink sink);

void log_text(std::string_view category, const std::string& text);

template <typename... Args>
void log_event(std::string_view category, std::string_view format, const Args&... args) {
    log_text(category, string_format(format, args...));
}

}  // namespace sdk
