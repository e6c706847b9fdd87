#include "art.h"

#include <algorithm>
#include <cmath>

#include "content_output.h"

Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb lighter(Rgb c, double t) { return mix(c, {1, 1, 1}, t); }
Rgb darker(Rgb c, double t) { return mix(c, {0, 0, 0}, t); }
Rgb hex_rgb(uint32_t rgb) {
    return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}
void set_rgb(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

const Rgb bullet_colours[16] = {
    hex_rgb(0xff2a2a),  // 0 red
    hex_rgb(0xff7a1a),  // 1 orange
    hex_rgb(0xffc21a),  // 2 gold
    hex_rgb(0xf6f03a),  // 3 yellow
    hex_rgb(0x9cf23a),  // 4 lime
    hex_rgb(0x2ed84a),  // 5 green
    hex_rgb(0x1fd6a8),  // 6 teal
    hex_rgb(0x2ee6f0),  // 7 cyan
    hex_rgb(0x46a8ff),  // 8 sky
    hex_rgb(0x2a52ff),  // 9 blue
    hex_rgb(0x6a3aff),  // 10 indigo
    hex_rgb(0xb040ff),  // 11 violet
    hex_rgb(0xff3ad8),  // 12 magenta
    hex_rgb(0xf4f4ff),  // 13 white
    hex_rgb(0xff8ab8),  // 14 pink
    hex_rgb(0x303040),  // 15 black
};

Rgb rim_colour(int colour) {
    if (colour == 13) return hex_rgb(0x5a6a9a);
    if (colour == 15) return {1, 1, 1};
    return darker(bullet_colours[colour], 0.55);
}

uint32_t Art_Random::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}
double Art_Random::unit() { return (next() >> 8) / 16777216.0; }
double Art_Random::range(double lo, double hi) { return lo + (hi - lo) * unit(); }

Sheet::Sheet(int frame_w, int frame_h, int cols, int rows)
    : fw_(frame_w), fh_(frame_h), cols_(cols), rows_(rows) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width(), height());
    cr_ = cairo_create(surface_);
}

Sheet::~Sheet() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

cairo_t* Sheet::frame(int index) {
    cairo_save(cr_);
    int col = index % cols_, row = index / cols_;
    cairo_translate(cr_, col * fw_, row * fh_);
    cairo_rectangle(cr_, 0, 0, fw_, fh_);
    cairo_clip(cr_);
    cairo_new_path(cr_);
    return cr_;
}

void Sheet::end_frame() { cairo_restore(cr_); }

namespace {
cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}
}  // namespace

std::vector<uint8_t> encode_png(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    std::vector<uint8_t> bytes;
    if (cairo_surface_write_to_png_stream(surface, append_bytes, &bytes) != CAIRO_STATUS_SUCCESS)
        content_fail("cannot encode a picture as PNG");
    return bytes;
}

void Sheet::save(Content_Output& out, const std::string& archive_path) {
    out.add(archive_path, encode_png(surface_));
}

void glow(cairo_t* cr, double x, double y, double radius, Rgb c, double alpha) {
    glow_ellipse(cr, x, y, radius, radius, c, alpha);
}

void glow_ellipse(cairo_t* cr, double x, double y, double rx, double ry, Rgb c, double alpha) {
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.35, c.r, c.g, c.b, alpha * 0.55);
    cairo_pattern_add_color_stop_rgba(p, 0.7, c.r, c.g, c.b, alpha * 0.15);
    cairo_pattern_add_color_stop_rgba(p, 1.0, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void ellipse_path(cairo_t* cr, double x, double y, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
    cairo_restore(cr);
}

void star_path(cairo_t* cr, double x, double y, int points, double outer, double inner,
               double turn) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        double r = (i % 2 == 0) ? outer : inner;
        double a = turn - pi / 2 + i * pi / points;
        double px = x + r * std::cos(a), py = y + r * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, px, py);
        else
            cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
}

void fill_radial(cairo_t* cr, double x, double y, double radius, Rgb inner, Rgb outer,
                 double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(p, 0, inner.r, inner.g, inner.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, outer.r, outer.g, outer.b, alpha);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

void fill_vertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

void stroke_glow(cairo_t* cr, Rgb c, double width, double alpha) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int i = 4; i >= 1; --i) {
        cairo_set_line_width(cr, width * (1 + i * 0.9));
        set_rgb(cr, c, alpha * 0.12);
        cairo_stroke_preserve(cr);
    }
    cairo_set_line_width(cr, width);
    set_rgb(cr, c, alpha);
    cairo_stroke_preserve(cr);
    cairo_restore(cr);
}
