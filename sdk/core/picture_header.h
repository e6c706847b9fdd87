// What a picture file declares before a pixel of it is decoded, and the
// bounds that declaration is held to. The archive's pictures are PNG files:
// the header chunk (IHDR) that follows the signature gives the width and
// height a decoder allocates for, whatever the file then holds, so a PNG of
// a megabyte or two whose rows are all zero can declare 20000 x 20000 and ask
// for 1.6 GB of RGBA pixels (more again while they are converted). Reading
// the header first lets start-up refuse such a picture, naming it and its
// size, before anything is allocated for it. Sizes are in pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sdk/core/math.h"

namespace sdk {

// The most pixels one decoded picture may hold: 4 Mi, nine times the largest
// shipped picture (images/enemies/fairy2.png, 576 x 768 = 442368), and as
// many RGBA bytes (16 MiB) as a picture entry of the archive may hold. A
// decode holds at most two copies of the pixels at a time (the decoder's own
// and the RGBA one it becomes), so no picture takes more than 32 MiB.
constexpr int64_t max_picture_pixels = int64_t{4} << 20;

// The longest side of a texture where no renderer states its own limit (the
// software renderer, the content tool): that of the OpenGL renderers the
// game runs on.
constexpr int default_max_picture_side = 16384;
constexpr Size default_max_picture_size{default_max_picture_side, default_max_picture_side};

// 64 bits: a header may declare up to 2^32 - 1 on a side, and the product
// of two such sides is still reported as it stands.
struct Picture_Header {
    int64_t width = 0;
    int64_t height = 0;
};

// The width and height the PNG file's header declares. Throws "Unable to
// read image <name>: not a PNG picture" when the bytes do not start with the
// PNG signature, and "...: its PNG header is missing or cut short" when the
// header chunk does not follow it whole.
Picture_Header read_picture_header(const uint8_t* bytes, size_t size, const std::string& name);

// Refuses a declared size that no texture of `max_side` may have, or one of
// more than max_picture_pixels: throws "<name> declares <w> x <h> pixels,
// more than the <W> x <H> a texture may have" or "<name> declares <w> x <h>
// pixels, <n> in all, more than the 4194304 a picture may have".
void check_picture_size(const Picture_Header& header, const std::string& name, Size max_side);

// Both in one: the header of a picture that may be decoded.
Picture_Header checked_picture_header(const uint8_t* bytes, size_t size, const std::string& name,
                                      Size max_side);

}  // namespace sdk
