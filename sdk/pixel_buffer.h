// Pictures in memory: 8-bit RGBA pixels, row by row from the top, no padding.
// Images are read from the resource archive (PNG and whatever SDL2_image
// reads) and written as PNG files. A Pixel_Buffer is a plain value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/core/file_system.h"
#include "sdk/core/math.h"

namespace sdk {

class Pixel_Buffer {
public:
    Pixel_Buffer() = default;
    // A picture of the given size, every pixel transparent black.
    Pixel_Buffer(int width, int height);

    // Decodes a picture file of the file system; the type follows the file's
    // contents. Throws "Unable to open file: <name>" for a missing file and
    // "Unable to read image <name>: <reason>" for a file that does not decode.
    static Pixel_Buffer load(const File_System& fs, const std::string& name);
    // Decodes a picture held in memory; `name` is used in messages.
    static Pixel_Buffer decode(const std::vector<uint8_t>& bytes, const std::string& name);

    bool is_null() const { return width_ == 0 || height_ == 0; }
    int get_width() const { return width_; }
    int get_height() const { return height_; }
    Size get_size() const { return {width_, height_}; }

    Color get_pixel(int x, int y) const;
    void set_pixel(int x, int y, Color c);
    uint8_t* data() { return pixels_.data(); }
    const uint8_t* data() const { return pixels_.data(); }

    // Writes a PNG file on disk, whole or not at all (a temporary file beside
    // it is renamed over it). Throws "Unable to save image <path>: <reason>".
    void save_png(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

}  // namespace sdk
