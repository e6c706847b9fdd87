#include "sdk/pixel_buffer.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>

#include "sdk/core/exception.h"
#include "sdk/core/local_file.h"

namespace sdk {

Pixel_Buffer::Pixel_Buffer(int width, int height)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4, 0) {}

Pixel_Buffer Pixel_Buffer::load(const File_System& fs, const std::string& name, Size max_side) {
    return decode(fs.read_file(name, Entry_Kind::picture), name, max_side);
}

Pixel_Buffer Pixel_Buffer::decode(const std::vector<uint8_t>& bytes, const std::string& name,
                                  Size max_side) {
    checked_picture_header(bytes.data(), bytes.size(), name, max_side);
    // The PNG decoder only: the header just checked is the one it reads.
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* loaded = rw ? IMG_LoadPNG_RW(rw) : nullptr;
    if (rw) SDL_RWclose(rw);
    if (!loaded) throw Exception("Unable to read image " + name + ": " + IMG_GetError());
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(loaded);
    if (!rgba) throw Exception("Unable to read image " + name + ": " + SDL_GetError());
    Pixel_Buffer p(rgba->w, rgba->h);
    SDL_LockSurface(rgba);
    for (int y = 0; y < rgba->h; ++y)
        std::memcpy(p.pixels_.data() + static_cast<size_t>(y) * p.width_ * 4,
                    static_cast<const uint8_t*>(rgba->pixels) + static_cast<size_t>(y) * rgba->pitch,
                    static_cast<size_t>(p.width_) * 4);
    SDL_UnlockSurface(rgba);
    SDL_FreeSurface(rgba);
    return p;
}

Color Pixel_Buffer::get_pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Color(0, 0, 0, 0);
    const uint8_t* p = pixels_.data() + (static_cast<size_t>(y) * width_ + x) * 4;
    return Color(p[0], p[1], p[2], p[3]);
}

void Pixel_Buffer::set_pixel(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* p = pixels_.data() + (static_cast<size_t>(y) * width_ + x) * 4;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
}

void Pixel_Buffer::save_png(const std::string& path) const {
    if (is_null()) throw Exception("Unable to save image " + path + ": the picture is empty");
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(pixels_.data()), width_,
                                                        height_, 32, width_ * 4,
                                                        SDL_PIXELFORMAT_RGBA32);
    if (!s) throw Exception("Unable to save image " + path + ": " + SDL_GetError());
    // Encoded in memory first, so the file on disk is written whole or not at all.
    std::vector<uint8_t> png;
    SDL_RWops* rw = SDL_AllocRW();
    struct Sink {
        static size_t write(SDL_RWops* ctx, const void* data, size_t size, size_t n) {
            auto* out = static_cast<std::vector<uint8_t>*>(ctx->hidden.unknown.data1);
            const auto* b = static_cast<const uint8_t*>(data);
            out->insert(out->end(), b, b + size * n);
            return n;
        }
        static Sint64 size(SDL_RWops*) { return -1; }
        static Sint64 seek(SDL_RWops*, Sint64, int) { return -1; }
        static size_t read(SDL_RWops*, void*, size_t, size_t) { return 0; }
        static int close(SDL_RWops* ctx) {
            SDL_FreeRW(ctx);
            return 0;
        }
    };
    rw->size = Sink::size;
    rw->seek = Sink::seek;
    rw->read = Sink::read;
    rw->write = Sink::write;
    rw->close = Sink::close;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = &png;
    int r = IMG_SavePNG_RW(s, rw, 1);
    SDL_FreeSurface(s);
    if (r != 0 || png.empty()) throw Exception("Unable to save image " + path + ": " + IMG_GetError());
    save_file_safely(path, png.data(), png.size());
}

}  // namespace sdk
