#include "sdk/core/string_help.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace sdk {

int text_to_int(std::string_view text, int base) {
    std::string s(text);
    const char* p = s.c_str();
    char* end = nullptr;
    long long v = std::strtoll(p, &end, base);
    if (end == p) return 0;
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int>(v);
}

float text_to_float(std::string_view text) {
    std::string s(text);
    const char* p = s.c_str();
    char* end = nullptr;
    float v = std::strtof(p, &end);
    if (end == p || !std::isfinite(v)) return 0.0f;
    return v;
}

bool is_number(std::string_view text) {
    std::string s = trim(text);
    if (s.empty()) return false;
    char* end = nullptr;
    std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size();
}

std::string int_to_text(long long value) { return std::to_string(value); }

std::string float_to_text(float value) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "0";
    return std::string(buf, ptr);
}

std::vector<std::string> split_text(std::string_view text, std::string_view delimiters,
                                    bool skip_empty) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || delimiters.find(text[i]) != std::string_view::npos) {
            if (i > start || !skip_empty) out.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

std::string trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    return std::string(text.substr(b, e - b));
}

std::string escape_control(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c != 0x7f) {
            out += ch;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            const char* hex = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string format_text(std::string_view format, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(format.size() + 16);
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '%' && i + 1 < format.size() && format[i + 1] >= '1' && format[i + 1] <= '9') {
            size_t k = static_cast<size_t>(format[i + 1] - '1');
            if (k < args.size()) {
                out += args[k];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace sdk
