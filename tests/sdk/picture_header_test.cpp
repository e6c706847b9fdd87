// A picture's declared size, read from its PNG header and held to the
// texture side and the pixel count before a pixel of it is decoded: the
// header reader, the check, and the decoder and texture loader that apply
// them.
#include "sdk/core/picture_header.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "display_fixture.h"
#include "sdk/core/exception.h"
#include "sdk/pixel_buffer.h"
#include "sdk/texture.h"
#include "tests/common/refusal.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The PNG signature and a header chunk declaring width x height (8-bit
// RGBA), with no pixel data after it: what the reader reads, and all that a
// refused picture needs.
Bytes png_header(uint32_t width, uint32_t height) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(v >> shift));
    b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});  // depth, colour type, methods, a CRC
    return b;
}

TEST(Picture_Header, ReadsTheDeclaredSizeOrRefusesWhatIsNoPngHeader) {
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0,
                       0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0};
    Bytes signature_only = png_header(1, 1);
    signature_only.resize(8);
    Bytes cut_in_the_height = png_header(1, 1);
    cut_in_the_height.resize(22);
    Bytes data_first = png_header(1, 1);
    std::copy_n("IDAT", 4, data_first.begin() + 12);
    Bytes long_header = png_header(1, 1);
    long_header[11] = 14;
    const std::string not_png = "Unable to read image p.png: not a PNG picture";
    const std::string cut = "Unable to read image p.png: its PNG header is missing or cut short";
    const struct {
        const char* what;
        Bytes bytes;
        int64_t width, height;
        std::string refused;  // empty: read
    } rows[] = {
        {"one pixel", png_header(1, 1), 1, 1, ""},
        {"the largest shipped picture", png_header(576, 768), 576, 768, ""},
        {"sides past an int", png_header(0xFFFFFFFFu, 0x80000000u), 4294967295, 2147483648, ""},
        {"nothing", {}, 0, 0, not_png},
        {"a GIF", gif, 0, 0, not_png},
        {"the signature alone", signature_only, 0, 0, cut},
        {"a header cut in the height", cut_in_the_height, 0, 0, cut},
        {"a data chunk first", data_first, 0, 0, cut},
        {"a header chunk of 14 bytes", long_header, 0, 0, cut},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        auto read = [&] {
            return sdk::read_picture_header(row.bytes.data(), row.bytes.size(), "p.png");
        };
        if (!row.refused.empty()) {
            EXPECT_EQ(refusal(read), row.refused);
            continue;
        }
        sdk::Picture_Header header = read();
        EXPECT_EQ(header.width, row.width);
        EXPECT_EQ(header.height, row.height);
    }
}

TEST(Picture_Header, HoldsTheDeclaredSizeToTheTextureSideAndThePixelCount) {
    const sdk::Size renderer = sdk::default_max_picture_size;
    const std::string texture = " a texture may have";
    const struct {
        int64_t width, height;
        sdk::Size max_side;
        std::string refused;  // empty: may be decoded
    } rows[] = {
        {1, 1, renderer, ""},
        {16384, 256, renderer, ""},  // at the side and at the pixel count
        {256, 16384, renderer, ""},
        {2048, 2048, renderer, ""},
        {16385, 1, renderer,
         "p.png declares 16385 x 1 pixels, more than the 16384 x 16384" + texture},
        {1, 16385, renderer,
         "p.png declares 1 x 16385 pixels, more than the 16384 x 16384" + texture},
        // The side is told first: it is the renderer's own limit.
        {20000, 20000, renderer,
         "p.png declares 20000 x 20000 pixels, more than the 16384 x 16384" + texture},
        {4294967295, 4294967295, renderer,
         "p.png declares 4294967295 x 4294967295 pixels, more than the 16384 x 16384" + texture},
        // A renderer of smaller textures is held to its own limit.
        {600,
         400,
         {512, 4096},
         "p.png declares 600 x 400 pixels, more than the 512 x 4096" + texture},
        {400,
         600,
         {4096, 512},
         "p.png declares 400 x 600 pixels, more than the 4096 x 512" + texture},
        {2049, 2048, renderer,
         "p.png declares 2049 x 2048 pixels, 4196352 in all, more than the 4194304 a picture may "
         "have"},
        {16384, 16384, renderer,
         "p.png declares 16384 x 16384 pixels, 268435456 in all, more than the 4194304 a picture "
         "may have"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.width) + " x " + std::to_string(row.height));
        EXPECT_EQ(refusal([&] {
                      sdk::check_picture_size({row.width, row.height}, "p.png", row.max_side);
                  }),
                  row.refused);
    }
}

class Picture_Decode : public ::testing::Test {
protected:
    test_display::Temp_Folder dir{"mirel_picture_decode"};

    // A real 3 x 2 picture as a PNG file's bytes.
    Bytes small_png() {
        sdk::Pixel_Buffer p(3, 2);
        p.set_pixel(2, 1, sdk::Color(10, 20, 30, 255));
        p.save_png(dir.file("small.png"));
        return sdk::File_System(dir.path.string()).read_file("small.png", sdk::Entry_Kind::picture);
    }
};

TEST_F(Picture_Decode, ReadsTheHeaderBeforeAnyPixel) {
    Bytes small = small_png();
    sdk::Pixel_Buffer p = sdk::Pixel_Buffer::decode(small, "small.png");
    EXPECT_EQ(p.get_size(), sdk::Size(3, 2));
    EXPECT_EQ(p.get_pixel(2, 1), sdk::Color(10, 20, 30, 255));
    // Refused from the header alone: these files hold no pixels to decode.
    EXPECT_EQ(
        refusal([&] { sdk::Pixel_Buffer::decode(png_header(20000, 20000), "huge.png"); }),
        "huge.png declares 20000 x 20000 pixels, more than the 16384 x 16384 a texture may have");
    EXPECT_EQ(
        refusal([&] { sdk::Pixel_Buffer::decode(png_header(4096, 4096), "many.png"); }),
        "many.png declares 4096 x 4096 pixels, 16777216 in all, more than the 4194304 a picture "
        "may have");
    // The side given is the one held to.
    EXPECT_EQ(refusal([&] {
                  sdk::Pixel_Buffer::decode(small, "small.png", {2, 2});
              }),
              "small.png declares 3 x 2 pixels, more than the 2 x 2 a texture may have");
}

TEST_F(Picture_Decode, DecodesPngFilesOnly) {
    // A BMP decodes in SDL_image but has no PNG header to check first.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 2, 2, 32, SDL_PIXELFORMAT_RGBA32);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(SDL_SaveBMP(s, dir.file("p.bmp").c_str()), 0);
    SDL_FreeSurface(s);
    sdk::File_System fs(dir.path.string());
    EXPECT_EQ(refusal([&] { sdk::Pixel_Buffer::load(fs, "p.bmp"); }),
              "Unable to read image p.bmp: not a PNG picture");
}

TEST_F(Picture_Decode, TexturesAreHeldToTheRenderersSide) {
    test_display::Display& d = test_display::display();
    // The software renderer states no limit of its own, nor does an empty canvas.
    EXPECT_EQ(d.canvas.get_max_texture_size(), sdk::default_max_picture_size);
    EXPECT_EQ(sdk::Canvas().get_max_texture_size(), sdk::default_max_picture_size);
    Bytes wide = png_header(16385, 1);
    std::ofstream(dir.file("wide.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(wide.data()),
               static_cast<std::streamsize>(wide.size()));
    sdk::File_System fs(dir.path.string());
    EXPECT_EQ(refusal([&] { sdk::Texture::load(d.canvas, fs, "wide.png"); }),
              "wide.png declares 16385 x 1 pixels, more than the 16384 x 16384 a texture may have");
}

}  // namespace
