// A message box for the one error that ends the program, shown on a desktop
// display only: with the offscreen or dummy video drivers (tests, CI) or
// without any display nothing is shown, so no script ever waits on it.
#pragma once

#include <string>

namespace sdk {

// Shows `text` in a box titled `title` that the player closes; answers
// whether it was shown.
bool show_error_box(const std::string& title, const std::string& text);

}  // namespace sdk
