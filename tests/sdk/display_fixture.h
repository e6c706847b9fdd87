// A hidden 640 x 480 window on the software renderer for the drawing tests,
// opened once per test program, and a folder of pictures and documents that
// a test writes for itself. Pixels are compared with a small tolerance, since
// filtering and blending may round differently between renderers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "sdk/canvas.h"
#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/display.h"
#include "sdk/pixel_buffer.h"
#include "sdk/window.h"

namespace test_display {

struct Display {
    sdk::Display_Setup setup;
    sdk::Window window;
    sdk::Canvas canvas;

    Display() {
        sdk::Window_Description d;
        d.title = "mirel test";
        d.size = {640, 480};
        d.visible = false;
        d.renderer = sdk::Renderer_Kind::software;
        window = sdk::Window(d);
        canvas = sdk::Canvas(window);
    }
};

// The one display of the test program; it stays until the program ends.
inline Display& display() {
    static Display* d = new Display();
    return *d;
}

inline ::testing::AssertionResult color_near(sdk::Color got, sdk::Color want, int tolerance = 8) {
    auto off = [&](int a, int b) { return a - b > tolerance || b - a > tolerance; };
    if (off(got.r, want.r) || off(got.g, want.g) || off(got.b, want.b) || off(got.a, want.a))
        return ::testing::AssertionFailure()
               << "got (" << int(got.r) << "," << int(got.g) << "," << int(got.b) << "," << int(got.a)
               << ") want (" << int(want.r) << "," << int(want.g) << "," << int(want.b) << ","
               << int(want.a) << ")";
    return ::testing::AssertionSuccess();
}

// A temporary folder that goes away with the test.
struct Temp_Folder {
    std::filesystem::path path;
    explicit Temp_Folder(const std::string& name) {
        path = std::filesystem::temp_directory_path() /
               (name + "_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~Temp_Folder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

}  // namespace test_display
