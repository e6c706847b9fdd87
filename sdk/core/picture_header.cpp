#include "sdk/core/picture_header.h"

#include <algorithm>

#include "sdk/core/exception.h"

namespace sdk {

namespace {

constexpr uint8_t png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// Signature, then the header chunk: length (13), type "IHDR", width, height,
// and five one-byte fields that do not bear on the size.
constexpr size_t header_end = 8 + 4 + 4 + 4 + 4;

uint32_t big_endian_32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

}  // namespace

Picture_Header read_picture_header(const uint8_t* bytes, size_t size, const std::string& name) {
    if (size < sizeof png_signature || !std::equal(png_signature, png_signature + 8, bytes))
        throw Exception("Unable to read image " + name + ": not a PNG picture");
    if (size < header_end || big_endian_32(bytes + 8) != 13 ||
        !std::equal(bytes + 12, bytes + 16, "IHDR"))
        throw Exception("Unable to read image " + name +
                        ": its PNG header is missing or cut short");
    return {big_endian_32(bytes + 16), big_endian_32(bytes + 20)};
}

void check_picture_size(const Picture_Header& header, const std::string& name, Size max_side) {
    std::string declared = name + " declares " + std::to_string(header.width) + " x " +
                           std::to_string(header.height) + " pixels";
    if (header.width > max_side.width || header.height > max_side.height)
        throw Exception(declared + ", more than the " + std::to_string(max_side.width) + " x " +
                        std::to_string(max_side.height) + " a texture may have");
    // Both sides are within an int here, so their product fits.
    int64_t pixels = header.width * header.height;
    if (pixels > max_picture_pixels)
        throw Exception(declared + ", " + std::to_string(pixels) + " in all, more than the " +
                        std::to_string(max_picture_pixels) + " a picture may have");
}

Picture_Header checked_picture_header(const uint8_t* bytes, size_t size, const std::string& name,
                                      Size max_side) {
    Picture_Header header = read_picture_header(bytes, size, name);
    check_picture_size(header, name, max_side);
    return header;
}

}  // namespace sdk
