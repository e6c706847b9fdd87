// Turning numbers read from documents and files into integers, counts and
// indices. Casting a floating-point value that the integer type cannot hold
// is undefined behaviour, and a document can say anything ("6.7e37", or a
// speed that drives a position to infinity), so no such value is cast
// directly; everything goes through one of the two conversions here.
//
// - checked_integer and checked_count, for loaders. A NaN, an infinity or a
//   value outside the target type (a count: outside 0 to its ceiling) is
//   refused with an sdk::Exception that names the place (the file and the
//   resource, as the loader words it), the key and the value:
//       "<place>: '<key>' is <value>, not a number from <low> to <high>"
//       "<place>: '<key>' is <value>, not a count from 0 to the ceiling <ceiling>"
//   A count that sizes memory (particles, tiles, entries) always has a
//   ceiling, so a document cannot ask for gigabytes. Fractions are dropped
//   towards zero, as a cast drops them. A loader passes the text the
//   document wrote as `written`, and the message quotes it as written
//   ("3000000000", not the clamp or float it read as, control characters
//   escaped as "\\n" so that the message stays one line); without it the
//   message shows the value with six significant digits. checked_scaled
//   converts a value given in a larger unit and names its range in that unit.
// - saturate_integer, for per-frame code that turns a value a document set
//   (a position, an angle, an age) into a frame, a pixel or an index. NaN
//   reads as 0 and values past the type's ends are clamped to them. It never
//   throws and costs two compares, so it can sit in drawing loops: the middle
//   of a frame is no place to stop the game, and a clamped value only picks a
//   wrong frame of a look whose numbers the content already broke, where a
//   cast would be undefined behaviour.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace sdk {

namespace number_detail {

// The bounds of T as doubles: the low one exactly, the high one as the first
// value past the top (a power of two, so exact for 64-bit types too).
template <std::integral T>
constexpr double low_bound() {
    return static_cast<double>(std::numeric_limits<T>::min());
}
template <std::integral T>
constexpr double high_bound_past() {
    double past = 1.0;
    for (int i = 0; i < std::numeric_limits<T>::digits; ++i) past *= 2.0;
    return past;
}

// A bound in a document's unit, with the digits an int32 bound needs.
std::string unit_text(double value);

[[noreturn]] void refuse_number(double value, const std::string& low, const std::string& high,
                                std::string_view place, std::string_view key,
                                std::string_view written);
[[noreturn]] void refuse_count(double value, const std::string& ceiling, std::string_view place,
                               std::string_view key, std::string_view written);

}  // namespace number_detail

// `value` as a T, dropping the fraction; throws sdk::Exception naming the
// place, the key and the value when T cannot hold it.
template <std::integral T>
T checked_integer(double value, std::string_view place, std::string_view key,
                  std::string_view written = {}) {
    double whole = std::trunc(value);
    if (!(whole >= number_detail::low_bound<T>() && whole < number_detail::high_bound_past<T>()))
        number_detail::refuse_number(value, std::to_string(std::numeric_limits<T>::min()),
                                     std::to_string(std::numeric_limits<T>::max()), place, key,
                                     written);
    return static_cast<T>(whole);
}

// `scaled`, a document's value already multiplied by `scale` (seconds as
// milliseconds, say, in the precision the reader multiplies in), as a T,
// dropping the fraction; the refusal names the value and the range in the
// document's own unit.
template <std::integral T>
T checked_scaled(double scaled, double scale, std::string_view place, std::string_view key,
                 std::string_view written = {}) {
    double whole = std::trunc(scaled);
    if (!(whole >= number_detail::low_bound<T>() && whole < number_detail::high_bound_past<T>()))
        number_detail::refuse_number(
            scaled / scale,
            number_detail::unit_text(static_cast<double>(std::numeric_limits<T>::min()) / scale),
            number_detail::unit_text(static_cast<double>(std::numeric_limits<T>::max()) / scale),
            place, key, written);
    return static_cast<T>(whole);
}

// `value` as a count of at most `ceiling`, dropping the fraction; throws
// sdk::Exception naming the place, the key, the value and the ceiling when
// it is negative, not a number or over the ceiling.
template <std::integral T>
T checked_count(double value, T ceiling, std::string_view place, std::string_view key,
                std::string_view written = {}) {
    double whole = std::trunc(value);
    if (!(whole >= 0.0 && whole <= static_cast<double>(ceiling)))
        number_detail::refuse_count(value, std::to_string(ceiling), place, key, written);
    return static_cast<T>(whole);
}

// `value` as a T for per-frame use: NaN is 0, values past T's ends are its
// ends, fractions are dropped towards zero. Never throws.
template <std::integral T>
constexpr T saturate_integer(double value) noexcept {
    if (!(value == value)) return 0;
    if (value <= number_detail::low_bound<T>()) return std::numeric_limits<T>::min();
    if (value >= number_detail::high_bound_past<T>()) return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

}  // namespace sdk
