// Particles and overlays: "images/effects/particles.png" (32 x 32: frame 0 an
// autumn leaf in its own colours, frame 1 a white snowflake that takes a tint),
// "images/effects/smoke.png" (48 x 48, four frames of a frosty cloud puff
// billowing out) and "images/effects/screen_mask.png" (1 x 1 frames stretched over
// the whole screen: 0 black for the bomb and plain fades, 1 the dusk amber of
// the fade into a game, 11 the night blue of the fade into a replay; the
// others are spare tints).
#include <cmath>

#include "art.h"
#include "content_output.h"

namespace {

void draw_leaf(cairo_t* cr) {
    // A maple-like leaf: five lobes, veins, a short stem.
    double cx = 16, cy = 15;
    cairo_new_path(cr);
    const int lobes = 5;
    for (int i = 0; i <= lobes * 2; ++i) {
        double a = -pi / 2 + (i - lobes) * pi * 0.85 / lobes;
        double r = (i % 2 == 0) ? 13 : 6;
        if (i == 0 || i == lobes * 2) r = 9;
        double x = cx + std::cos(a) * r, y = cy + std::sin(a) * r;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, cx, cy + 4);
    cairo_close_path(cr);
    set_rgb(cr, hex_rgb(0x5a1a08));
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    fill_radial(cr, cx, cy - 2, 14, hex_rgb(0xffd060), hex_rgb(0xe0501a));
    cairo_new_path(cr);
    for (int i = 0; i < 5; ++i) {
        double a = -pi / 2 + (i * 2 - 4) * pi * 0.85 / 5;
        cairo_move_to(cr, cx, cy + 2);
        cairo_line_to(cr, cx + std::cos(a) * 10, cy + std::sin(a) * 10);
    }
    cairo_move_to(cr, cx, cy + 2);
    cairo_line_to(cr, cx, cy + 13);
    set_rgb(cr, hex_rgb(0x8a2a0a), 0.8);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
}

void draw_snowflake(cairo_t* cr) {
    double c = 16;
    glow(cr, c, c, 14, {1, 1, 1}, 0.45);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 6; ++i) {
        double a = i * pi / 3, dx = std::cos(a), dy = std::sin(a);
        cairo_move_to(cr, c, c);
        cairo_line_to(cr, c + dx * 11, c + dy * 11);
        for (double d : {5.0, 8.0}) {
            for (double side : {-1.0, 1.0}) {
                double b = a + side * 0.8;
                cairo_move_to(cr, c + dx * d, c + dy * d);
                cairo_line_to(cr, c + dx * d + std::cos(b) * 3, c + dy * d + std::sin(b) * 3);
            }
        }
    }
    set_rgb(cr, {1, 1, 1});
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    glow(cr, c, c, 3, {1, 1, 1}, 1);
}

void draw_puff(cairo_t* cr, int step) {
    Art_Random rnd(500 + step);
    double c = 24, spread = 7 + step * 2.5;
    for (int i = 0; i < 7; ++i) {
        double a = rnd.range(0, 2 * pi), d = rnd.range(0, spread);
        double r = rnd.range(8, 13) + step;
        glow(cr, c + std::cos(a) * d, c + std::sin(a) * d, r,
             mix(hex_rgb(0xe8f4ff), hex_rgb(0xb0c8f0), rnd.unit()), 0.55 - step * 0.05);
    }
    glow(cr, c, c, 10 + step * 2, {1, 1, 1}, 0.5);
}

void make_effects(Content_Output& out) {
    Sheet particles(32, 32, 2, 1);
    draw_leaf(particles.frame(0));
    particles.end_frame();
    draw_snowflake(particles.frame(1));
    particles.end_frame();
    particles.save(out, "images/effects/particles.png");

    Sheet smoke(48, 48, 4, 1);
    for (int f = 0; f < 4; ++f) {
        draw_puff(smoke.frame(f), f);
        smoke.end_frame();
    }
    smoke.save(out, "images/effects/smoke.png");

    const uint32_t masks[12] = {0x000000, 0x1a0c04, 0xffffff, 0x3a1808, 0x08101a, 0x200818,
                                0xfff0d8, 0x081810, 0x180808, 0x101010, 0xd8e8ff, 0x060a20};
    Sheet mask(1, 1, 12, 1);
    for (int f = 0; f < 12; ++f) {
        cairo_t* cr = mask.frame(f);
        set_rgb(cr, hex_rgb(masks[f]));
        cairo_paint(cr);
        mask.end_frame();
    }
    mask.save(out, "images/effects/screen_mask.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_effects", make_effects);
