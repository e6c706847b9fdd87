#include "app/screenshot.h"

#include <limits>

#include "sdk/core/exception.h"
#include "sdk/core/local_file.h"
#include "sdk/core/log.h"

std::string zero_pad(long long n) {
    std::string s = std::to_string(n);
    while (s.size() < 6) s.insert(s.begin(), '0');
    return s;
}

std::optional<long long> next_screenshot_number(const std::vector<std::string>& entries) {
    const std::string prefix = "mirel";
    constexpr long long highest = std::numeric_limits<long long>::max();
    long long next = 1;
    for (const std::string& e : entries) {
        if (e.compare(0, prefix.size(), prefix) != 0) continue;
        // Every digit after the prefix, up to the first non-digit: numbers
        // past six digits are written whole and so must be read whole. A
        // number too large to count stands for the highest.
        long long n = 0;
        for (size_t i = prefix.size(); i < e.size() && e[i] >= '0' && e[i] <= '9'; ++i) {
            int digit = e[i] - '0';
            n = n > (highest - digit) / 10 ? highest : n * 10 + digit;
        }
        if (n == highest) return std::nullopt;
        if (n >= next) next = n + 1;
    }
    return next;
}

std::string screenshot_file_name(long long n) {
    return screenshot_folder + "/mirel" + zero_pad(n) + ".png";
}

std::string next_screenshot_file() {
    std::vector<std::string> entries;
    if (!sdk::Directory::scan(screenshot_folder, entries)) {
        sdk::Directory::make(screenshot_folder);
        std::string why;
        if (!sdk::Directory::scan(screenshot_folder, entries, &why))
            throw sdk::Exception("Unable to read folder: " + screenshot_folder + " (" + why + ")");
    }
    std::optional<long long> next = next_screenshot_number(entries);
    if (!next)
        throw sdk::Exception("Unable to number a screenshot: " + screenshot_folder +
                             " already holds the highest number there is");
    return screenshot_file_name(*next);
}

void save_screenshot(const sdk::Pixel_Buffer& picture) {
    std::string name;
    try {
        name = next_screenshot_file();
    } catch (const sdk::Exception& e) {
        sdk::log_event("Debug", "Failed to save screenshot");
        sdk::report_failed_save(e.what());
        return;
    }
    try {
        picture.save_png(name);
    } catch (const sdk::Exception& e) {
        sdk::report_failed_save(e.what());
        return;
    }
    sdk::log_event("Debug", "Screenshot saved");
}
