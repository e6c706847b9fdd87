// Pictures in memory: 8-bit RGBA pixels, row by row from the top, no padding.
// Images are read from the resource archive (PNG files, whose declared size
// is checked before they are decoded: sdk/core/picture_header.h) and written
// as PNG files. A Pixel_Buffer is a plain value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/core/file_system.h"
#include "sdk/core/math.h"
#include "sdk/core/picture_header.h"

namespace sdk {

class Pixel_Buffer {
public:
    Pixel_Buffer() = default;
    // A picture of the given size, every pixel transparent black.
    Pixel_Buffer(int width, int height);

    // Decodes a PNG file of the file system. Throws "Unable to open file:
    // <name>" for a missing file and "Unable to read image <name>: <reason>"
    // for one that does not decode. Its header is read first: a picture that
    // declares a side past `max_side` (the renderer's, from
    // Canvas::get_max_texture_size, for a picture bound for a texture) or
    // more than max_picture_pixels is refused before a pixel is decoded, with
    // the message of check_picture_size.
    static Pixel_Buffer load(const File_System& fs, const std::string& name,
                             Size max_side = default_max_picture_size);
    // Decodes a PNG file held in memory, as load does; `name` is used in messages.
    static Pixel_Buffer decode(const std::vector<uint8_t>& bytes, const std::string& name,
                               Size max_side = default_max_picture_size);

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
