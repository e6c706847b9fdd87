#include "sdk/core/number_convert.h"

#include <cstdio>
#include <string>

#include "sdk/core/exception.h"
#include "sdk/core/string_help.h"

namespace sdk::number_detail {

namespace {

// Six significant digits, as the documents write numbers: "6.66667e+37",
// "nan", "-inf", "256".
std::string number_text(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return buf;
}

// The value as the document wrote it, when the loader passed that text, with
// its control characters escaped so that the message stays one line.
std::string shown(double value, std::string_view written) {
    std::string text = trim(written);
    return text.empty() ? number_text(value) : escape_control(text);
}

}  // namespace

std::string unit_text(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", value);
    return buf;
}

void refuse_number(double value, const std::string& low, const std::string& high,
                   std::string_view place, std::string_view key, std::string_view written) {
    throw Exception(std::string(place) + ": '" + std::string(key) + "' is " +
                    shown(value, written) + ", not a number from " + low + " to " + high);
}

void refuse_count(double value, const std::string& ceiling, std::string_view place,
                  std::string_view key, std::string_view written) {
    throw Exception(std::string(place) + ": '" + std::string(key) + "' is " +
                    shown(value, written) + ", not a count from 0 to the ceiling " + ceiling);
}

}  // namespace sdk::number_detail
