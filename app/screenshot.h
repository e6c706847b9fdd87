// Numbered screenshots "screenshot/mirel000001.png" in the working
// directory: each new file takes one more than the highest number already
// there, so deleting old ones never overwrites a newer one. A screenshot that
// cannot be saved is skipped with one line on stderr; the game goes on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sdk/pixel_buffer.h"

inline const std::string screenshot_folder = "screenshot";

// n in decimal, "0" added in front up to six characters (longer stays whole).
std::string zero_pad(long long n);
// The number after the highest "mirel" + digits among the folder's entries
// (all the digits, however many); entries of other names are ignored. None
// when the highest is already the largest number a long long holds.
std::optional<long long> next_screenshot_number(const std::vector<std::string>& entries);
// "screenshot/mirel" + zero_pad(n) + ".png".
std::string screenshot_file_name(long long n);
// Scans the folder (creating it when missing) and answers the next file's
// name. Throws "Unable to make folder: screenshot (<reason>)" when there is
// no folder and none can be made, "Unable to read folder: ..." when it
// cannot be read, "Unable to number a screenshot: ..." when no number is
// left.
std::string next_screenshot_file();
// Saves the picture as the next numbered file, or reports why it cannot.
void save_screenshot(const sdk::Pixel_Buffer& picture);
