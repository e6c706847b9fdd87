#include "sdk/core/number_convert.h"

#include <cstdio>
#include <string>

#include "sdk/core/exception.h"

namespace sdk::number_detail {

namespace {

// Six significant digits, as the documents write numbers: "6.66667e+37",
// "nan", "-inf", "256".
std::string number_text(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return buf;
}

}  // namespace

void refuse_number(double value, const std::string& low, const std::string& high,
                   std::string_view place, std::string_view key) {
    throw Exception(std::string(place) + ": '" + std::string(key) + "' is " + number_text(value) +
                    ", not a number from " + low + " to " + high);
}

void refuse_count(double value, const std::string& ceiling, std::string_view place,
                  std::string_view key) {
    throw Exception(std::string(place) + ": '" + std::string(key) + "' is " + number_text(value) +
                    ", not a count from 0 to the ceiling " + ceiling);
}

}  // namespace sdk::number_detail
