// Text conversions used by the loaders of the resource documents and by the
// log. The number readers are lenient the way the documents expect: they read
// the leading number of the text and answer 0 when there is none, so an empty
// or unparsable value means zero rather than an error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sdk {

// Leading integer of `text` in `base` (white space first is skipped); 0 when
// the text starts with no number.
int text_to_int(std::string_view text, int base = 10);
// Leading float of `text` ("1.5", "-2", ".25", "1e3"); 0 when there is none.
float text_to_float(std::string_view text);
// True when the whole text (trimmed) is one number; for loaders that report.
bool is_number(std::string_view text);

std::string int_to_text(long long value);
// Shortest text that reads back as the same float.
std::string float_to_text(float value);

// Splits at any of the characters of `delimiters`; empty pieces are dropped
// unless `skip_empty` is false.
std::vector<std::string> split_text(std::string_view text, std::string_view delimiters,
                                    bool skip_empty = true);
std::string trim(std::string_view text);
// `text` with its control characters written out ("\n", "\r", "\t", else
// "\x1b"), for messages that quote what a document wrote: a message stays
// one line, and a document cannot write lines of its own into the log.
std::string escape_control(std::string_view text);

// Replaces "%1", "%2", ... "%9" in `format` with the arguments, in order.
std::string format_text(std::string_view format, const std::vector<std::string>& args);

inline std::string to_text(const std::string& v) { return v; }
inline std::string to_text(std::string_view v) { return std::string(v); }
inline std::string to_text(const char* v) { return v ? std::string(v) : std::string(); }
inline std::string to_text(char v) { return std::string(1, v); }
inline std::string to_text(bool v) { return v ? "true" : "false"; }
inline std::string to_text(float v) { return float_to_text(v); }
inline std::string to_text(double v) { return float_to_text(static_cast<float>(v)); }
template <typename T>
    requires std::is_integral_v<T>
std::string to_text(T v) { return int_to_text(static_cast<long long>(v)); }

// string_format("Load %1 size = %2", name, size)
template <typename... Args>
std::string string_format(std::string_view format, const Args&... args) {
    return format_text(format, {to_text(args)...});
}

}  // namespace sdk
