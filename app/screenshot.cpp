#include "app/screenshot.h"

#include "sdk/core/exception.h"
#include "sdk/core/local_file.h"
#include "sdk/core/log.h"

std::string zero_pad(long long n) {
    std::string s = std::to_string(n);
    while (s.size() < 6) s.insert(s.begin(), '0');
    return s;
}

long long next_screenshot_number(const std::vector<std::string>& entries) {
    const std::string prefix = "mirel";
    long long next = 1;
    for (const std::string& e : entries) {
        if (e.compare(0, prefix.size(), prefix) != 0) continue;
        // Six characters after the prefix, up to the first non-digit.
        long long n = 0;
        for (size_t i = prefix.size(); i < e.size() && i < prefix.size() + 6; ++i) {
            if (e[i] < '0' || e[i] > '9') break;
            n = n * 10 + (e[i] - '0');
        }
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
    return screenshot_file_name(next_screenshot_number(entries));
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
