// Picture files as the game opens them from the archive: the input is a
// picture's bytes, whose PNG header is read and held to the texture side and
// the pixel count before the decoder runs. A picture that passes decodes to
// the size its header declared; a header that slipped past the bounds would
// ask for more than the fuzz runs' allocation limit, a finding too.
#include <cstdlib>
#include <vector>

#include "fuzz_support.h"
#include "sdk/core/picture_header.h"
#include "sdk/pixel_buffer.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    sdk::Pixel_Buffer pixels;
    try {
        pixels = sdk::Pixel_Buffer::decode(bytes, "images/fuzz.png");
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    sdk::Picture_Header header =
        sdk::read_picture_header(bytes.data(), bytes.size(), "images/fuzz.png");
    if (pixels.get_width() != header.width || pixels.get_height() != header.height) std::abort();
    return 0;
}
