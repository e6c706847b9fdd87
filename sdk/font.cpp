#include "sdk/font.h"

#include <SDL_ttf.h>

#include <array>
#include <cstring>
#include <unordered_map>

#include "sdk/canvas.h"
#include "sdk/core/exception.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/string_help.h"
#include "sdk/display.h"
#include "sdk/display_internal.h"
#include "sdk/render_device.h"

namespace sdk {

namespace {

constexpr int atlas_size = 512;
// Glyphs are kept on atlas pages: letters taller than a page could never be
// drawn, and a font opened at millions of pixels would only eat memory.
constexpr int max_font_height = atlas_size;

// The next code point of UTF-8 text; malformed bytes read as U+FFFD.
uint32_t next_code_point(std::string_view s, size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xf0 ? 3 : b >= 0xe0 ? 2 : b >= 0xc0 ? 1 : -1;
    if (extra < 0) return 0xfffd;
    uint32_t cp = b & (0x3f >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xc0) != 0x80) return 0xfffd;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3f);
    }
    return cp;
}

}  // namespace

struct Font::Impl {
    struct Glyph {
        bool ready = false;
        int page = -1;  // -1: nothing to draw (a space)
        Rect rect;      // in the page
        float advance = 0;
        float offset_y = 0;  // top of the glyph picture relative to the baseline
    };
    struct Page {
        Texture texture;
        int x = 0, y = 0, row_height = 0;
    };

    std::vector<uint8_t> file_bytes;  // SDL_ttf reads from them as it goes
    TTF_Font* font = nullptr;
    std::string name;
    std::shared_ptr<detail::Render_Device> device;
    Canvas canvas;  // to make atlas pages on
    std::vector<Page> pages;
    std::array<Glyph, 128> ascii{};
    std::unordered_map<uint32_t, Glyph> others;
    Font_Metrics metrics;

    Impl() { live_fonts().push_back(this); }
    ~Impl() {
        std::erase(live_fonts(), this);
        close();
    }
    void close() {
        if (font && TTF_WasInit()) TTF_CloseFont(font);
        font = nullptr;
    }
    // Never destroyed: fonts kept by globals may go after every other static.
    static std::vector<Impl*>& live_fonts() {
        static auto* fonts = new std::vector<Impl*>();
        return *fonts;
    }

    const Glyph& glyph(uint32_t cp) {
        Glyph& g = cp < 128 ? ascii[cp] : others[cp];
        if (!g.ready) render(cp, g);
        return g;
    }

    void render(uint32_t cp, Glyph& g) {
        g.ready = true;
        if (!font) return;
        int minx, maxx, miny, maxy, advance;
        if (TTF_GlyphMetrics32(font, cp, &minx, &maxx, &miny, &maxy, &advance) != 0) return;
        g.advance = static_cast<float>(advance);
        SDL_Surface* s = TTF_RenderGlyph32_Blended(font, cp, SDL_Color{255, 255, 255, 255});
        if (!s) return;
        SDL_Surface* rgba = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(s);
        if (!rgba) return;
        int w = rgba->w, h = rgba->h;
        if (w > 0 && h > 0 && w <= atlas_size && h <= atlas_size && !canvas.is_null() &&
            device->is_alive()) {
            Page* p = pages.empty() ? nullptr : &pages.back();
            if (p && p->x + w > atlas_size) {
                p->x = 0;
                p->y += p->row_height + 1;
                p->row_height = 0;
            }
            if (!p || p->y + h > atlas_size) {
                pages.push_back(Page{Texture(canvas, Pixel_Buffer(atlas_size, atlas_size))});
                p = &pages.back();
            }
            Pixel_Buffer pixels(w, h);
            SDL_LockSurface(rgba);
            for (int y = 0; y < h; ++y)
                std::memcpy(pixels.data() + static_cast<size_t>(y) * w * 4,
                            static_cast<const uint8_t*>(rgba->pixels) + static_cast<size_t>(y) * rgba->pitch,
                            static_cast<size_t>(w) * 4);
            SDL_UnlockSurface(rgba);
            p->texture.set_subimage(p->x, p->y, pixels);
            g.page = static_cast<int>(pages.size()) - 1;
            g.rect = Rect(p->x, p->y, p->x + w, p->y + h);
            // The glyph picture is a line high, its top on the ascent line.
            g.offset_y = -metrics.ascent;
            p->x += w + 1;
            p->row_height = std::max(p->row_height, h);
        }
        SDL_FreeSurface(rgba);
    }
};

Font::Font(Canvas& canvas, const File_System& fs, const std::string& file_name, int height) {
    if (!Display_Setup::is_active())
        throw Exception("Unable to read font " + file_name + ": the display is not set up");
    auto impl = std::make_shared<Impl>();
    impl->file_bytes = fs.read_file(file_name, Entry_Kind::font);
    impl->name = file_name;
    SDL_RWops* rw = SDL_RWFromConstMem(impl->file_bytes.data(), static_cast<int>(impl->file_bytes.size()));
    impl->font = rw ? TTF_OpenFontRW(rw, 1, height > 0 ? height : 1) : nullptr;
    if (!impl->font) throw Exception("Unable to read font " + file_name + ": " + TTF_GetError());
    impl->metrics.ascent = static_cast<float>(TTF_FontAscent(impl->font));
    impl->metrics.descent = static_cast<float>(-TTF_FontDescent(impl->font));
    impl->metrics.height = static_cast<float>(TTF_FontHeight(impl->font));
    impl->metrics.line_spacing = static_cast<float>(TTF_FontLineSkip(impl->font));
    impl->canvas = canvas;
    impl->device = canvas.is_null() ? nullptr : canvas.impl()->device;
    impl_ = impl;
}

Font::Font(Canvas& canvas, const std::string& id, const Resource_Document& doc) {
    const Resource_Node& node = doc.get_resource(id);
    std::string file = node.element.get_attribute("file");
    if (file.empty()) throw Exception(doc.get_name() + ": font '" + id + "' has no file");
    int height = checked_count(node.element.get_attribute_float("height", 0.0f), max_font_height,
                               doc.get_name() + ": font '" + id + "'", "height",
                               node.element.get_attribute("height"));
    if (height == 0)
        throw Exception(doc.get_name() + ": font '" + id + "' needs a height above 0, not \"" +
                        escape_control(node.element.get_attribute("height")) + "\"");
    try {
        *this = Font(canvas, doc.get_file_system(), doc.resolve_path(file), height);
    } catch (const Exception& e) {
        throw Exception(doc.get_name() + ": font '" + id + "': " + e.what());
    }
}

namespace detail {
void close_all_fonts() {
    for (Font::Impl* f : Font::Impl::live_fonts()) f->close();
}
}  // namespace detail

Font_Metrics Font::get_font_metrics() const { return impl_ ? impl_->metrics : Font_Metrics(); }

Size Font::get_text_size(Canvas&, std::string_view text) const { return get_text_size(text); }

Size Font::get_text_size(std::string_view text) const {
    if (!impl_) return {};
    float widest = 0, line = 0;
    int lines = 1;
    uint32_t previous = 0;
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = next_code_point(text, i);
        if (cp == '\n') {
            widest = std::max(widest, line);
            line = 0;
            ++lines;
            previous = 0;
            continue;
        }
        if (previous && impl_->font)
            line += static_cast<float>(TTF_GetFontKerningSizeGlyphs32(impl_->font, previous, cp));
        line += impl_->glyph(cp).advance;
        previous = cp;
    }
    widest = std::max(widest, line);
    float h = impl_->metrics.height + (lines - 1) * impl_->metrics.line_spacing;
    return {static_cast<int>(std::lround(widest)), static_cast<int>(std::lround(h))};
}

void Font::draw_text(Canvas& canvas, float x, float y, std::string_view text, const Colorf& color) const {
    Impl* f = impl_.get();
    Canvas::Impl* c = canvas.impl();
    if (!f || !f->font || !c || c->device != f->device || !f->device->is_alive()) return;
    const Transform& t = c->transform;
    SDL_Color col = detail::to_sdl(color);
    float pen_x = x, pen_y = y;
    uint32_t previous = 0;
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = next_code_point(text, i);
        if (cp == '\n') {
            pen_x = x;
            pen_y += f->metrics.line_spacing;
            previous = 0;
            continue;
        }
        if (previous) pen_x += static_cast<float>(TTF_GetFontKerningSizeGlyphs32(f->font, previous, cp));
        previous = cp;
        const Impl::Glyph& g = f->glyph(cp);
        if (g.page >= 0) {
            const Texture& tex = f->pages[g.page].texture;
            float u0 = g.rect.left / float(atlas_size), v0 = g.rect.top / float(atlas_size);
            float u1 = g.rect.right / float(atlas_size), v1 = g.rect.bottom / float(atlas_size);
            float l = pen_x, r = pen_x + g.rect.get_width();
            float top = pen_y + g.offset_y, bottom = top + g.rect.get_height();
            SDL_Vertex* v;
            int* idx;
            int first = f->device->reserve(c, tex.impl()->texture, SDL_ScaleModeLinear, 4, 6, v, idx);
            auto at = [&](float px, float py, float u, float vv) {
                return SDL_Vertex{{t.a * px + t.c * py + t.tx, t.b * px + t.d * py + t.ty}, col, {u, vv}};
            };
            v[0] = at(l, top, u0, v0);
            v[1] = at(r, top, u1, v0);
            v[2] = at(r, bottom, u1, v1);
            v[3] = at(l, bottom, u0, v1);
            detail::quad_indices(idx, first);
        }
        pen_x += g.advance;
    }
}

}  // namespace sdk
