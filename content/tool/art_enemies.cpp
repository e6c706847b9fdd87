// The stage's small enemies and their effects.
//
// "images/enemies/fairy1.png": 40 x 40 frames, 12 per row, one row per colour
// index (16 rows): 0-3 front view wing cycle, 4-8 turning to the side, 8-11
// side view (facing right; the game mirrors it for the left).
// "images/enemies/fairy2.png": the autumn fairy with leaf wings and a hat, 48 x 48,
// the same layout.
// "images/enemies/kedama.png": 32 x 32, 8 frames of a fluff ball bobbing and
// blinking. "images/enemies/splash.png" 64 x 64, "circle.png" 64 x 64 and
// "big_circle.png" 96 x 96: one frame per colour index.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "content_output.h"

namespace {

// Dress colours of the fairy rows follow the bullet colours, a little softer.
Rgb dress_colour(int colour) {
    if (colour == 15) return hex_rgb(0x3a3050);
    if (colour == 13) return hex_rgb(0xe8ecf8);
    return mix(bullet_colours[colour], hex_rgb(0xffffff), 0.12);
}

const Rgb hair_colours[4] = {hex_rgb(0xf5d36a), hex_rgb(0x8fd0ff), hex_rgb(0x9a5a2a),
                             hex_rgb(0x7ad67a)};
const Rgb skin = hex_rgb(0xfbe0c8);

struct Fairy_Style {
    double size;   // frame size in pixels
    bool leaf;     // leaf wings and a pointed hat (the autumn fairy)
};

void wing(cairo_t* cr, double x, double y, double len, double width, double angle, Rgb tint,
          bool leaf) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    if (leaf) {
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, len * 0.3, -width, len * 0.8, -width * 0.8, len, 0);
        cairo_curve_to(cr, len * 0.8, width * 0.8, len * 0.3, width, 0, 0);
    } else {
        ellipse_path(cr, len * 0.5, 0, len * 0.5, width);
    }
    Rgb fill = leaf ? tint : hex_rgb(0xe8fbff);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, len, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, fill.r, fill.g, fill.b, leaf ? 0.95 : 0.9);
    cairo_pattern_add_color_stop_rgba(p, 1, fill.r, fill.g, fill.b, leaf ? 0.8 : 0.55);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    set_rgb(cr, leaf ? darker(tint, 0.5) : hex_rgb(0x4a88c8), 0.9);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    if (leaf) {
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, len * 0.9, 0);
        set_rgb(cr, darker(tint, 0.5), 0.8);
        cairo_set_line_width(cr, 0.6);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// A fairy. turn: 0 front .. 1 side (facing right); flap: 0..3 wing frame.
void draw_fairy(cairo_t* cr, const Fairy_Style& st, int colour, double turn, int flap) {
    double k = st.size / 40.0;
    cairo_save(cr);
    cairo_scale(cr, k, k);
    double cx = 20, cy = 20;
    Rgb dress = dress_colour(colour);
    Rgb hair = hair_colours[colour % 4];
    Rgb leaf_tint = mix(hex_rgb(0xe8741a), hex_rgb(0xc8281a), (colour % 3) / 2.0);
    const double flaps[4] = {1.0, 0.7, 0.35, 0.7};
    double f = flaps[flap];

    // Wings behind the body: spread on both sides in front view, swept back
    // in side view.
    double wl = st.leaf ? 15 : 14, ww = st.leaf ? 5 : 5.5;
    for (int side : {-1, 1}) {
        double spread = (1 - turn) * side + turn * -1;  // side view: both behind (left)
        double base_angle = side < 0 ? pi : 0;
        double a_side = pi * 0.85 + (side < 0 ? 0 : 0.5);
        for (int pair = 0; pair < 2; ++pair) {
            double lift = pair == 0 ? -0.45 : 0.35;
            double angle = base_angle - side * lift * f;
            double a = angle * (1 - turn) + (a_side + lift * f) * turn;
            wing(cr, cx + spread * 2, cy - 2, (pair == 0 ? wl : wl * 0.75) * (0.55 + 0.45 * f),
                 pair == 0 ? ww : ww * 0.8, a, leaf_tint, st.leaf);
        }
    }
    glow(cr, cx, cy, 18, lighter(dress, 0.4), 0.22);

    double face_shift = turn * 2.5;
    // Dress: a bell with a white apron trim.
    cairo_move_to(cr, cx - 3.5, cy - 1);
    cairo_curve_to(cr, cx - 6, cy + 4, cx - 8.5, cy + 9, cx - 8 + turn * 1.5, cy + 12);
    cairo_curve_to(cr, cx - 3, cy + 13.5, cx + 3, cy + 13.5, cx + 8 - turn * 0.5, cy + 12);
    cairo_curve_to(cr, cx + 8.5, cy + 9, cx + 6, cy + 4, cx + 3.5, cy - 1);
    cairo_close_path(cr);
    set_rgb(cr, darker(dress, 0.6));
    cairo_set_line_width(cr, 1.3);
    cairo_stroke_preserve(cr);
    fill_radial(cr, cx - 1, cy + 2, 13, lighter(dress, 0.35), darker(dress, 0.2));
    cairo_new_path(cr);
    cairo_move_to(cr, cx - 7.6 + turn * 1.5, cy + 11);
    cairo_curve_to(cr, cx - 3, cy + 12.8, cx + 3, cy + 12.8, cx + 7.6 - turn * 0.5, cy + 11);
    set_rgb(cr, {1, 1, 1}, 0.9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Legs.
    for (int side : {-1, 1}) {
        double lx = cx + side * 2.5 * (1 - turn * 0.6) + turn * 1.5;
        cairo_move_to(cr, lx, cy + 13);
        cairo_line_to(cr, lx + turn * 1.5, cy + 17);
        set_rgb(cr, skin);
        cairo_set_line_width(cr, 1.8);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
    // Arms: out to the sides in front view, one forward in side view.
    for (int side : {-1, 1}) {
        double ax = cx + side * 4 * (1 - turn) + turn * 2;
        cairo_move_to(cr, ax, cy + 1);
        cairo_line_to(cr, ax + side * 3.5 * (1 - turn) + turn * 4, cy + 5.5);
        set_rgb(cr, darker(dress, 0.1));
        cairo_set_line_width(cr, 2.4);
        cairo_stroke(cr);
        cairo_arc(cr, ax + side * 3.7 * (1 - turn) + turn * 4.3, cy + 6, 1.3, 0, 2 * pi);
        set_rgb(cr, skin);
        cairo_fill(cr);
    }
    // Head: big, as fairies are drawn, with a clear face under short bangs.
    double hx = cx + face_shift * 0.4, hy = cy - 8;
    cairo_arc(cr, hx, hy, 8, 0, 2 * pi);
    set_rgb(cr, darker(hair, 0.55));
    cairo_set_line_width(cr, 1.3);
    cairo_stroke_preserve(cr);
    fill_radial(cr, hx - 1.5, hy - 3, 9, lighter(hair, 0.4), hair);
    cairo_new_path(cr);
    ellipse_path(cr, hx + face_shift, hy + 2, 6 - turn * 2, 5.4);
    fill_radial(cr, hx + face_shift - 1, hy + 1, 7, lighter(skin, 0.3), skin);
    cairo_new_path(cr);
    // Bangs: three short locks over the forehead.
    cairo_move_to(cr, hx - 7 + face_shift * 0.5, hy - 0.5);
    cairo_curve_to(cr, hx - 6 + face_shift, hy - 6, hx + 6 + face_shift, hy - 6, hx + 7 + face_shift * 0.5, hy - 0.5);
    cairo_line_to(cr, hx + 4 + face_shift, hy - 2.2);
    cairo_line_to(cr, hx + 2 + face_shift, hy - 0.2);
    cairo_line_to(cr, hx + face_shift, hy - 2.6);
    cairo_line_to(cr, hx - 2 + face_shift, hy - 0.2);
    cairo_line_to(cr, hx - 4 + face_shift, hy - 2.2);
    cairo_close_path(cr);
    fill_radial(cr, hx, hy - 5, 8, lighter(hair, 0.3), hair);
    cairo_new_path(cr);
    // Eyes: two in front view, one in profile.
    Rgb eye = darker(bullet_colours[colour == 15 ? 11 : colour], 0.35);
    for (int side : {-1, 1}) {
        if (turn > 0.6 && side < 0) continue;
        double ex = hx + face_shift * 1.3 + side * 2.6 * (1 - turn * 0.5);
        ellipse_path(cr, ex, hy + 2.2, 1.25, 1.8);
        set_rgb(cr, eye);
        cairo_fill(cr);
        cairo_arc(cr, ex + 0.4, hy + 1.5, 0.5, 0, 2 * pi);
        set_rgb(cr, {1, 1, 1});
        cairo_fill(cr);
    }
    glow_ellipse(cr, hx + face_shift - 3.8 + turn * 2, hy + 4.5, 1.6, 1, hex_rgb(0xff7a8a), 0.6);
    glow_ellipse(cr, hx + face_shift + 3.8, hy + 4.5, 1.6, 1, hex_rgb(0xff7a8a), 0.6);
    if (st.leaf) {
        // A pointed autumn hat with a leaf on it.
        cairo_move_to(cr, hx - 8.5, hy - 4);
        cairo_curve_to(cr, hx - 3, hy - 7, hx + 3, hy - 7, hx + 8.5, hy - 4);
        cairo_line_to(cr, hx + 1 + turn * 3, hy - 15);
        cairo_close_path(cr);
        set_rgb(cr, hex_rgb(0x3a1a08));
        cairo_set_line_width(cr, 1.1);
        cairo_stroke_preserve(cr);
        fill_vertical(cr, hy - 15, hy - 4, hex_rgb(0xc0602a), hex_rgb(0x6a2a10));
        cairo_new_path(cr);
        wing(cr, hx + 2, hy - 5, 6, 2.4, -0.7, leaf_tint, true);
    } else {
        // A ribbon.
        for (int side : {-1, 1}) {
            cairo_move_to(cr, hx + 2 + turn, hy - 7);
            cairo_line_to(cr, hx + 2 + turn + side * 4, hy - 10);
            cairo_line_to(cr, hx + 2 + turn + side * 4, hy - 5);
            cairo_close_path(cr);
            set_rgb(cr, lighter(dress, 0.2));
            cairo_fill_preserve(cr);
            set_rgb(cr, darker(dress, 0.5));
            cairo_set_line_width(cr, 0.7);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

void make_fairy_sheet(Content_Output& out, const Fairy_Style& st, const std::string& path) {
    int s = static_cast<int>(st.size);
    Sheet sheet(s, s, 12, 16);
    for (int colour = 0; colour < 16; ++colour) {
        for (int f = 0; f < 12; ++f) {
            double turn = f < 4 ? 0 : f <= 8 ? (f - 4) / 4.0 : 1;
            int flap = f < 4 ? f : f >= 8 ? f - 8 : (f % 4);
            draw_fairy(sheet.frame(colour * 12 + f), st, colour, turn, flap);
            sheet.end_frame();
        }
    }
    sheet.save(out, path);
}

void draw_kedama(cairo_t* cr, int frame) {
    double phase = frame / 8.0 * 2 * pi;
    double cx = 16, cy = 16 + std::sin(phase) * 0.8;
    double squash = 1 + std::sin(phase * 2) * 0.04;
    Art_Random rnd(31);
    glow(cr, cx, cy, 16, hex_rgb(0xffd0a0), 0.35);
    // Fur: many short strokes radiating from the body, waving with the frame.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 90; ++i) {
        double a = rnd.range(0, 2 * pi);
        double len = rnd.range(3, 5.5);
        double wave = std::sin(phase + a * 3) * 0.25;
        double r0 = 8.5;
        double x0 = cx + std::cos(a) * r0 * squash, y0 = cy + std::sin(a) * r0 / squash;
        double x1 = cx + std::cos(a + wave * 0.3) * (r0 + len), y1 = cy + std::sin(a + wave * 0.3) * (r0 + len);
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        double shade = rnd.unit();
        set_rgb(cr, mix(hex_rgb(0xfff4e4), hex_rgb(0xe8b48a), shade), 0.9);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    ellipse_path(cr, cx, cy, 10 * squash, 10 / squash);
    fill_radial(cr, cx - 3, cy - 4, 13, hex_rgb(0xffffff), hex_rgb(0xf0c8a0));
    cairo_new_path(cr);
    // Eyes, closed on frame 6.
    for (int side : {-1, 1}) {
        double ex = cx + side * 3.4, ey = cy + 0.5;
        if (frame == 6) {
            cairo_move_to(cr, ex - 1.6, ey);
            cairo_line_to(cr, ex + 1.6, ey);
            set_rgb(cr, hex_rgb(0x3a1a10));
            cairo_set_line_width(cr, 1.1);
            cairo_stroke(cr);
        } else {
            ellipse_path(cr, ex, ey, 1.5, 2.1);
            set_rgb(cr, hex_rgb(0x2a1208));
            cairo_fill(cr);
            cairo_arc(cr, ex + 0.5, ey - 0.8, 0.6, 0, 2 * pi);
            set_rgb(cr, {1, 1, 1});
            cairo_fill(cr);
        }
        glow_ellipse(cr, cx + side * 6, cy + 3.5, 2.2, 1.4, hex_rgb(0xff7a8a), 0.6);
    }
}

void draw_splash(cairo_t* cr, int colour) {
    Rgb c = colour == 15 ? hex_rgb(0x9a80d0) : bullet_colours[colour];
    cairo_arc(cr, 32, 32, 24, 0, 2 * pi);
    cairo_set_line_width(cr, 6);
    cairo_pattern_t* p = cairo_pattern_create_radial(32, 32, 18, 32, 32, 28);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_stroke(cr);
    cairo_pattern_destroy(p);
    glow(cr, 32, 32, 30, c, 0.35);
}

void magic_circle(cairo_t* cr, double c, double r, Rgb colour, int points) {
    Rgb line = lighter(colour, 0.45);
    cairo_arc(cr, c, c, r, 0, 2 * pi);
    stroke_glow(cr, line, 1.3, 0.85);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, r * 0.82, 0, 2 * pi);
    set_rgb(cr, line, 0.7);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    // Tick marks like runes between the rings.
    for (int i = 0; i < points * 4; ++i) {
        double a = i * 2 * pi / (points * 4);
        double r1 = r * 0.85, r2 = r * (i % 2 ? 0.92 : 0.97);
        cairo_move_to(cr, c + std::cos(a) * r1, c + std::sin(a) * r1);
        cairo_line_to(cr, c + std::cos(a) * r2, c + std::sin(a) * r2);
    }
    set_rgb(cr, line, 0.8);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    // A star inscribed in the inner ring.
    for (int i = 0; i <= points; ++i) {
        double a = -pi / 2 + i * 2 * pi * 2 / points;
        double x = c + std::cos(a) * r * 0.8, y = c + std::sin(a) * r * 0.8;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    stroke_glow(cr, line, 0.9, 0.7);
    cairo_new_path(cr);
    glow(cr, c, c, r * 0.7, colour, 0.18);
}

void make_enemies(Content_Output& out) {
    make_fairy_sheet(out, {40, false}, "images/enemies/fairy1.png");
    make_fairy_sheet(out, {48, true}, "images/enemies/fairy2.png");

    Sheet kedama(32, 32, 8, 1);
    for (int f = 0; f < 8; ++f) {
        draw_kedama(kedama.frame(f), f);
        kedama.end_frame();
    }
    kedama.save(out, "images/enemies/kedama.png");

    Sheet splash(64, 64, 8, 2), circle(64, 64, 8, 2), big(96, 96, 8, 2);
    for (int colour = 0; colour < 16; ++colour) {
        Rgb c = colour == 15 ? hex_rgb(0x8a70c0) : bullet_colours[colour];
        draw_splash(splash.frame(colour), colour);
        splash.end_frame();
        magic_circle(circle.frame(colour), 32, 26, c, 5);
        circle.end_frame();
        magic_circle(big.frame(colour), 48, 42, c, 7);
        big.end_frame();
    }
    splash.save(out, "images/enemies/splash.png");
    circle.save(out, "images/enemies/circle.png");
    big.save(out, "images/enemies/big_circle.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_enemies", make_enemies);
