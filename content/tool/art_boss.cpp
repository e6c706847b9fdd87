// Rimea, the winter spirit who ends the stage, and the strips of her magic
// rings.
//
// "images/boss/rimea.png": 72 x 88 frames, 4 x 3: 0-3 idle (hair and sleeves
// drifting), 4-7 moving to the right (4-6 leaning in, 7 full flight; the game
// mirrors them for the left), 8-11 acting (8, 9 raising her hands, 10-11
// holding a frost orb up, flickering).
// "images/boss/rings.png" ("ring1" of "mirel.xml"): 32 x 64 strips, 8 x 1. A strip's
// columns run across the ring (inner edge at the left), its rows along it,
// repeating every 64 rows.
#include <cmath>

#include "art.h"
#include "content_output.h"

namespace {

const Rgb hair_light = hex_rgb(0xf4f8ff);
const Rgb hair_dark = hex_rgb(0x8aa6e0);
const Rgb dress_light = hex_rgb(0xfafcff);
const Rgb dress_mid = hex_rgb(0xb8c8f4);
const Rgb dress_dark = hex_rgb(0x5a4aa8);
const Rgb ice = hex_rgb(0x9fe8ff);
const Rgb skin = hex_rgb(0xfbe8de);
const Rgb outline = hex_rgb(0x2a2258);

// lean: 0..1 to the right; raise: 0..1 arms lifted; phase 0..1 drift; orb 0..1.
void draw_rimea(cairo_t* cr, double lean, double raise, double phase, double orb) {
    double w = std::sin(phase * 2 * pi), w2 = std::cos(phase * 2 * pi);
    double cx = 36, top = 10;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    glow(cr, cx, 46, 40, hex_rgb(0xbfe0ff), 0.3);

    cairo_save(cr);
    // Leaning: the whole figure tilts into the flight.
    cairo_translate(cr, cx, 50);
    cairo_rotate(cr, lean * 0.28);
    cairo_translate(cr, -cx, -50);

    // Long hair behind her, streaming back against the flight.
    double trail = -lean * 10;
    cairo_move_to(cr, cx - 10, top + 8);
    cairo_curve_to(cr, cx - 17 + trail, top + 25, cx - 15 + trail + w * 2, top + 45,
                   cx - 12 + trail * 1.5 + w * 3, top + 64);
    cairo_curve_to(cr, cx - 4 + trail, top + 58, cx + 4 + trail, top + 58,
                   cx + 12 + trail * 1.2 - w2 * 3, top + 63);
    cairo_curve_to(cr, cx + 15 + trail, top + 45, cx + 17 + trail, top + 25, cx + 10, top + 8);
    cairo_close_path(cr);
    set_rgb(cr, outline);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    fill_vertical(cr, top, top + 64, hair_light, hair_dark);
    cairo_new_path(cr);

    // The dress: a long bell of white fading to violet, with frost trim.
    double hem = 80;
    cairo_move_to(cr, cx - 6, top + 20);
    cairo_curve_to(cr, cx - 10, top + 36, cx - 18 + trail * 0.4, top + 55,
                   cx - 20 + trail * 0.6 + w, hem);
    for (int i = 0; i < 6; ++i) {
        double x0 = cx - 20 + trail * 0.6 + i * (40.0 / 6);
        cairo_curve_to(cr, x0 + 2, hem + 3 + (i % 2) * 1.5, x0 + 5, hem + 3, x0 + 40.0 / 6,
                       hem + (i == 5 ? -w2 : 0));
    }
    cairo_curve_to(cr, cx + 18 + trail * 0.4, top + 55, cx + 10, top + 36, cx + 6, top + 20);
    cairo_close_path(cr);
    set_rgb(cr, outline);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top + 20, 0, hem + 3);
    cairo_pattern_add_color_stop_rgb(p, 0, dress_light.r, dress_light.g, dress_light.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, dress_mid.r, dress_mid.g, dress_mid.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dress_dark.r, dress_dark.g, dress_dark.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Frost pattern on the skirt.
    for (int i = 0; i < 5; ++i) {
        double x = cx - 12 + i * 6 + trail * 0.4, y = hem - 8 + (i % 2) * 3;
        for (int k = 0; k < 3; ++k) {
            double a = k * pi / 3;
            cairo_move_to(cr, x - std::cos(a) * 2.5, y - std::sin(a) * 2.5);
            cairo_line_to(cr, x + std::cos(a) * 2.5, y + std::sin(a) * 2.5);
        }
    }
    set_rgb(cr, {1, 1, 1}, 0.85);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // A violet sash at the waist, its two ribbons streaming behind her.
    cairo_move_to(cr, cx - 8.5, top + 29);
    cairo_curve_to(cr, cx - 3, top + 31.5, cx + 3, top + 31.5, cx + 8.5, top + 29);
    set_rgb(cr, hex_rgb(0x7a4ad0));
    cairo_set_line_width(cr, 2.6);
    cairo_stroke(cr);
    for (int side : {-1, 1}) {
        double sx = cx + side * 7, sy = top + 30;
        cairo_move_to(cr, sx, sy);
        cairo_curve_to(cr, sx + side * 6 + trail * 0.4, sy + 6 + w * side, sx + side * 9 + trail * 0.8,
                       sy + 14, sx + side * 11 + trail + w2 * 2, sy + 22);
        set_rgb(cr, hex_rgb(0x9a6ae8), 0.9);
        cairo_set_line_width(cr, 1.8);
        cairo_stroke(cr);
    }
    // An icy shawl over the shoulders.
    cairo_move_to(cr, cx - 11, top + 20);
    cairo_curve_to(cr, cx - 6, top + 27, cx + 6, top + 27, cx + 11, top + 20);
    cairo_curve_to(cr, cx + 6, top + 23, cx - 6, top + 23, cx - 11, top + 20);
    cairo_close_path(cr);
    set_rgb(cr, ice, 0.7);
    cairo_fill(cr);

    // Arms and wide sleeves. raise 0: hanging beside her; 1: both hands up.
    for (int side : {-1, 1}) {
        double sx = cx + side * 6, sy = top + 22;
        double hx = cx + side * (13 - raise * 4) + (side > 0 ? lean * 4 : 0);
        double hy = top + 40 - raise * 34 + w * 0.8 * side;
        cairo_move_to(cr, sx, sy);
        cairo_curve_to(cr, sx + side * 6, sy + 4 - raise * 8, hx + side * 5, hy + 6, hx, hy);
        cairo_curve_to(cr, hx - side * 3, hy + 5, sx + side * 1, sy + 8, sx - side * 1, sy + 5);
        cairo_close_path(cr);
        set_rgb(cr, outline);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke_preserve(cr);
        fill_vertical(cr, std::min(sy, hy) - 2, std::max(sy, hy) + 8, dress_light, dress_mid);
        cairo_new_path(cr);
        cairo_arc(cr, hx, hy, 1.9, 0, 2 * pi);
        set_rgb(cr, skin);
        cairo_fill(cr);
    }
    if (orb > 0) {
        double oy = top + 6 - raise * 6;
        glow(cr, cx, oy, 18 * orb, ice, 0.8);
        star_path(cr, cx, oy, 6, 9 * orb, 3 * orb, phase * pi / 3);
        set_rgb(cr, {1, 1, 1}, 0.9);
        cairo_fill(cr);
        glow(cr, cx, oy, 5 * orb, {1, 1, 1}, 1.0);
    }

    // Head: face, side locks, a crystal tiara.
    double hx = cx + lean * 1.5, hy = top + 11;
    ellipse_path(cr, hx, hy, 7.2, 7.8);
    set_rgb(cr, outline);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke_preserve(cr);
    set_rgb(cr, skin);
    cairo_fill(cr);
    // Bangs.
    cairo_move_to(cr, hx - 8, hy + 2);
    cairo_curve_to(cr, hx - 9, hy - 9, hx + 9, hy - 9, hx + 8, hy + 2);
    cairo_curve_to(cr, hx + 5, hy - 2, hx + 3, hy - 3, hx + 1, hy);
    cairo_curve_to(cr, hx - 1, hy - 3, hx - 4, hy - 3, hx - 8, hy + 2);
    cairo_close_path(cr);
    set_rgb(cr, outline);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke_preserve(cr);
    fill_vertical(cr, hy - 9, hy + 2, hair_light, lighter(hair_dark, 0.4));
    cairo_new_path(cr);
    for (int side : {-1, 1}) {
        cairo_move_to(cr, hx + side * 7.5, hy);
        cairo_curve_to(cr, hx + side * 9, hy + 6, hx + side * 8.5 + w, hy + 12, hx + side * 8, hy + 16);
        set_rgb(cr, hair_light);
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
    }
    // Eyes: pale blue, half closed while she acts.
    for (int side : {-1, 1}) {
        double ex = hx + side * 2.8 + lean * 1.2, ey = hy + 2;
        ellipse_path(cr, ex, ey, 1.3, raise > 0.5 ? 0.7 : 1.8);
        set_rgb(cr, hex_rgb(0x3a6ad8));
        cairo_fill(cr);
        cairo_arc(cr, ex + 0.4, ey - 0.6, 0.5, 0, 2 * pi);
        set_rgb(cr, {1, 1, 1});
        cairo_fill(cr);
    }
    cairo_move_to(cr, hx - 1 + lean, hy + 5.5);
    cairo_line_to(cr, hx + 1 + lean, hy + 5.5);
    set_rgb(cr, hex_rgb(0xc06a7a));
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // Tiara of ice crystals.
    for (int i = -2; i <= 2; ++i) {
        double tx = hx + i * 3, ty = hy - 7.5 + std::fabs(i) * 0.8;
        double h = i == 0 ? 6 : 3.5;
        cairo_move_to(cr, tx, ty - h);
        cairo_line_to(cr, tx + 1.4, ty);
        cairo_line_to(cr, tx, ty + 1.2);
        cairo_line_to(cr, tx - 1.4, ty);
        cairo_close_path(cr);
        set_rgb(cr, ice);
        cairo_fill_preserve(cr);
        set_rgb(cr, hex_rgb(0x3a7ab8));
        cairo_set_line_width(cr, 0.6);
        cairo_stroke(cr);
    }
    glow(cr, hx, hy - 10, 5, {1, 1, 1}, 0.6);
    cairo_restore(cr);
}

// Ring strips: eight designs of 32 x 64; column 0 is the ring's inner edge.
void draw_ring_strip(cairo_t* cr, int design) {
    const Rgb tones[8] = {hex_rgb(0x9fe8ff), hex_rgb(0xc8a0ff), hex_rgb(0xffffff),
                          hex_rgb(0x7ab8ff), hex_rgb(0xa0fff0), hex_rgb(0xffa0e0),
                          hex_rgb(0xe0e8ff), hex_rgb(0x80a0ff)};
    Rgb c = tones[design];
    // Edges: two bright rails, soft between them.
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 32, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0.0);
    cairo_pattern_add_color_stop_rgba(p, 0.1, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 0.2, c.r, c.g, c.b, 0.35);
    cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, 0.15);
    cairo_pattern_add_color_stop_rgba(p, 0.8, c.r, c.g, c.b, 0.35);
    cairo_pattern_add_color_stop_rgba(p, 0.9, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0.0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, 32, 64);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Glyphs between the rails, different per design.
    for (int g = 0; g < 2; ++g) {
        double y = 16 + g * 32;
        cairo_save(cr);
        cairo_translate(cr, 16, y);
        switch (design % 4) {
            case 0:  // a snowflake glyph
                for (int k = 0; k < 3; ++k) {
                    double a = k * pi / 3;
                    cairo_move_to(cr, -std::cos(a) * 8, -std::sin(a) * 8);
                    cairo_line_to(cr, std::cos(a) * 8, std::sin(a) * 8);
                }
                break;
            case 1:  // a diamond with a dot
                cairo_move_to(cr, 0, -10);
                cairo_line_to(cr, 7, 0);
                cairo_line_to(cr, 0, 10);
                cairo_line_to(cr, -7, 0);
                cairo_close_path(cr);
                cairo_new_sub_path(cr);
                cairo_arc(cr, 0, 0, 1.5, 0, 2 * pi);
                break;
            case 2:  // runic strokes
                cairo_move_to(cr, -6, -9);
                cairo_line_to(cr, -6, 9);
                cairo_move_to(cr, -6, -3);
                cairo_line_to(cr, 6, -9);
                cairo_move_to(cr, -6, 3);
                cairo_line_to(cr, 6, 9);
                cairo_move_to(cr, 3, -2);
                cairo_line_to(cr, 3, 4);
                break;
            default:  // a crescent and a star point
                cairo_arc(cr, 0, 0, 7, pi * 0.2, pi * 1.8);
                cairo_move_to(cr, 4, -2);
                cairo_line_to(cr, 8, 0);
                cairo_line_to(cr, 4, 2);
                break;
        }
        stroke_glow(cr, design >= 4 ? lighter(c, 0.5) : c, 1.6, 0.95);
        cairo_new_path(cr);
        cairo_restore(cr);
    }
}

void make_boss(Content_Output& out) {
    Sheet rimea(72, 88, 4, 3);
    for (int f = 0; f < 4; ++f) {
        draw_rimea(rimea.frame(f), 0, 0, f / 4.0, 0);
        rimea.end_frame();
        draw_rimea(rimea.frame(4 + f), 0.3 + f * 0.233, 0, f / 4.0, 0);
        rimea.end_frame();
    }
    const double raise[4] = {0.45, 0.85, 1.0, 1.0};
    const double orb[4] = {0.3, 0.6, 1.0, 0.85};
    for (int f = 0; f < 4; ++f) {
        draw_rimea(rimea.frame(8 + f), 0, raise[f], f / 4.0, orb[f]);
        rimea.end_frame();
    }
    rimea.save(out, "images/boss/rimea.png");

    Sheet rings(32, 64, 8, 1);
    for (int d = 0; d < 8; ++d) {
        draw_ring_strip(rings.frame(d), d);
        rings.end_frame();
    }
    rings.save(out, "images/boss/rings.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_boss", make_boss);
