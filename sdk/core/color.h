// Colours written as text in the resource documents: a name ("white",
// "darkred", any of the CSS colour names, case ignored) or a hex text
// "#RRGGBB" / "#RRGGBBAA" (alpha 255 when not given).
#pragma once

#include <string_view>

#include "sdk/core/math.h"

namespace sdk {

// Reads a hex colour, with or without the leading "#". Throws
// "Bad hex color string: <text>" unless it is 6 or 8 hex digits.
Color color_from_hex(std::string_view text);
// A colour name, or a hex colour when the text starts with "#" (throwing as
// color_from_hex does). Answers false for a name it does not know.
bool find_color(std::string_view text, Color& color);

}  // namespace sdk
