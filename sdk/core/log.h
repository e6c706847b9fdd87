// Diagnostics: log_event(category, text) with "%1", "%2" placeholders.
// Categories in use are "SYSTEM", "Debug", "Performance", "Enemies" and
// "Game Event". By default nothing listens and a line costs only the check.
// The environment variable MIREL_LOG chooses what goes to stderr as
// "[category] text": "all", or a comma list of categories ("Debug,SYSTEM").
// Tests may install a sink instead to see every line.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "sdk/core/string_help.h"

namespace sdk {

using Log_Sink = std::function<void(const std::string& category, const std::string& text)>;

// Replaces where log lines go (every category); an empty sink restores the
// MIREL_LOG choice. Answers the old sink.
Log_Sink set_log_sink(Log_Sink sink);

// Whether a line of the category would go anywhere.
bool log_enabled(std::string_view category);
void log_text(std::string_view category, const std::string& text);

template <typename... Args>
void log_event(std::string_view category, std::string_view format, const Args&... args) {
    if (log_enabled(category)) log_text(category, string_format(format, args...));
}

}  // namespace sdk
