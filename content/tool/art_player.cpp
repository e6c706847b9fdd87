// The player character Kio, a young wind mage seen from behind as she flies up
// the screen, and the pictures of her shots, focus marker, wind and gauge.
//
// "images/player/kio.png": 32 x 48 frames, 8 x 5: 0-7 idle (cape and hair
// flutter), 8-15 leaning left (8-12 turning in, 12-15 held), 16-23 leaning
// right, 24 main shot, 25-27 its hit spark, 28 focused shot, 29-31 its spark,
// 32 side shot, 33-35 its spark. Shots and sparks point along +x: they are
// turned to their heading when drawn.
// "images/player/focus.png" 64 x 64 marker, "images/player/wind.png" 160 x 160
// (radius 80 at scale 1), "images/player/wind_digits.png" 14 x 20 frames
// (0-9, 10 the percent sign), "images/player/wind_gust.png" 32 x 128 (the
// bomb's rising gust).
#include <cmath>

#include "art.h"
#include "art_text.h"
#include "content_output.h"

namespace {

const Rgb cape_light = hex_rgb(0x2fb39a);
const Rgb cape_dark = hex_rgb(0x0d4a4e);
const Rgb hair_light = hex_rgb(0xd9863a);
const Rgb hair_dark = hex_rgb(0x7a3510);
const Rgb hat_light = hex_rgb(0x3c7a3a);
const Rgb hat_dark = hex_rgb(0x173a1c);
const Rgb gold = hex_rgb(0xf2c14a);

// Kio from behind. lean: -1 (left) .. 1 (right); phase: 0..1 of the flutter.
void draw_kio(cairo_t* cr, double lean, double phase) {
    double w = std::sin(phase * 2 * pi);
    double w2 = std::sin(phase * 2 * pi + 1.3);
    double cx = 16 + lean * 1.5;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);

    // A faint wind swirl under her, so she reads on the dark forest.
    glow_ellipse(cr, 16, 30, 13, 17, hex_rgb(0x9ff5e0), 0.25);

    // Legs below the cape.
    for (int side : {-1, 1}) {
        double lx = cx + side * 3 - lean * 1.5;
        cairo_move_to(cr, lx - 1.6, 36);
        cairo_line_to(cr, lx + 1.6, 36);
        cairo_line_to(cr, lx + 1.2 + side * 0.5, 45 + side * w * 0.6);
        cairo_line_to(cr, lx - 1.2 + side * 0.5, 45 + side * w * 0.6);
        cairo_close_path(cr);
        set_rgb(cr, hex_rgb(0x2a1a22));
        cairo_fill(cr);
        ellipse_path(cr, lx + side * 0.5, 45.5 + side * w * 0.6, 2, 1.3);
        set_rgb(cr, hex_rgb(0x5a2a14));
        cairo_fill(cr);
    }

    // The cape: from the shoulders, flaring, its hem waving; leaning swings it
    // the other way.
    double hem = 41, swing = -lean * 5;
    cairo_move_to(cr, cx - 5, 17);
    cairo_curve_to(cr, cx - 9, 22, cx - 11 + swing, 32, cx - 12 + swing + w * 1.2, hem);
    cairo_curve_to(cr, cx - 6 + swing, hem + 2 + w2 * 1.5, cx - 2 + swing, hem - 1 - w * 1.2,
                   cx + swing, hem + 1);
    cairo_curve_to(cr, cx + 3 + swing, hem + 2 + w * 1.2, cx + 7 + swing, hem - 1 + w2,
                   cx + 12 + swing - w * 1.2, hem);
    cairo_curve_to(cr, cx + 11 + swing, 32, cx + 9, 22, cx + 5, 17);
    cairo_close_path(cr);
    set_rgb(cr, hex_rgb(0x06282a));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - 12, 0, cx + 12, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, cape_dark.r, cape_dark.g, cape_dark.b);
    cairo_pattern_add_color_stop_rgb(p, 0.45 - lean * 0.2, cape_light.r, cape_light.g, cape_light.b);
    cairo_pattern_add_color_stop_rgb(p, 1, cape_dark.r, cape_dark.g, cape_dark.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Folds and a golden clasp band at the hem.
    set_rgb(cr, hex_rgb(0x0a3a3c), 0.8);
    cairo_set_line_width(cr, 0.8);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, cx + i * 3, 20);
        cairo_curve_to(cr, cx + i * 4 + swing * 0.3, 28, cx + i * 5 + swing * 0.6, 34,
                       cx + i * 6 + swing, hem - 1);
    }
    cairo_stroke(cr);
    // A leaf emblem on her back.
    cairo_save(cr);
    cairo_translate(cr, cx + swing * 0.35, 28);
    cairo_rotate(cr, 0.6 + lean * 0.2);
    cairo_move_to(cr, 0, -4);
    cairo_curve_to(cr, 3, -2, 3, 2, 0, 4);
    cairo_curve_to(cr, -3, 2, -3, -2, 0, -4);
    set_rgb(cr, gold);
    cairo_fill(cr);
    cairo_restore(cr);

    // Sleeves: her arms held out a little for balance, more on the lean side.
    for (int side : {-1, 1}) {
        double reach = 1 + (side == (lean > 0 ? 1 : -1) ? std::fabs(lean) * 2 : 0);
        ellipse_path(cr, cx + side * (7.6 + reach), 21 + w * 0.3 * side, 2.3, 4.0);
        set_rgb(cr, hex_rgb(0x06282a));
        cairo_set_line_width(cr, 1);
        cairo_stroke_preserve(cr);
        fill_vertical(cr, 17, 25, lighter(cape_light, 0.3), cape_dark);
        cairo_new_path(cr);
        ellipse_path(cr, cx + side * (8.2 + reach), 24.2 + w * 0.3 * side, 1.9, 1.0);
        set_rgb(cr, hex_rgb(0xf4efe2));
        cairo_fill(cr);
        cairo_arc(cr, cx + side * (8.6 + reach), 25 + w * 0.3 * side, 1.6, 0, 2 * pi);
        set_rgb(cr, hex_rgb(0xf3c9a4));
        cairo_fill(cr);
    }

    // Hair: a chestnut mass with a ponytail that swings with the wind.
    double hx = cx + lean * 0.8, hy = 12;
    cairo_move_to(cr, hx + 1.5, hy + 4);
    cairo_curve_to(cr, hx + 2 + w * 1.5 - lean * 3, hy + 9, hx + w2 * 2 - lean * 4, hy + 12,
                   hx + w * 2.5 - lean * 5, hy + 16);
    cairo_curve_to(cr, hx - 2 + w * 1.5 - lean * 3, hy + 11, hx - 2, hy + 8, hx - 1.5, hy + 4);
    cairo_close_path(cr);
    set_rgb(cr, hair_dark);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    set_rgb(cr, hair_light);
    cairo_fill(cr);
    // The ribbon that ties it.
    for (int side : {-1, 1}) {
        cairo_move_to(cr, hx, hy + 5);
        cairo_line_to(cr, hx + side * 3, hy + 3.5);
        cairo_line_to(cr, hx + side * 3, hy + 6.5);
        cairo_close_path(cr);
        set_rgb(cr, hex_rgb(0xe0401a));
        cairo_fill(cr);
    }
    cairo_arc(cr, hx, hy, 6.4, 0, 2 * pi);
    set_rgb(cr, hair_dark);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    fill_radial(cr, hx - 1, hy - 2, 7, lighter(hair_light, 0.25), hair_dark);
    cairo_new_path(cr);

    // The hat: a wide brim seen from above and behind, a bent tip, a gold band.
    ellipse_path(cr, hx, hy - 2, 10.5, 3.6);
    set_rgb(cr, hat_dark);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    fill_radial(cr, hx, hy - 3, 10, hat_light, hat_dark);
    cairo_new_path(cr);
    double tip = -lean * 3 + w * 0.8;
    cairo_move_to(cr, hx - 5, hy - 3);
    cairo_curve_to(cr, hx - 4, hy - 8, hx - 1 + tip * 0.5, hy - 11, hx + 3 + tip, hy - 12);
    cairo_curve_to(cr, hx + 1 + tip * 0.5, hy - 9, hx + 3, hy - 7, hx + 5, hy - 3);
    cairo_close_path(cr);
    set_rgb(cr, hat_dark);
    cairo_stroke_preserve(cr);
    fill_vertical(cr, hy - 12, hy - 3, hat_light, hat_dark);
    cairo_new_path(cr);
    cairo_move_to(cr, hx - 4.8, hy - 4);
    cairo_curve_to(cr, hx - 2, hy - 5.4, hx + 2, hy - 5.4, hx + 4.8, hy - 4);
    set_rgb(cr, gold);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // A red maple leaf tucked in the band.
    star_path(cr, hx + 3.2, hy - 5.6, 5, 2.4, 1.1, 0.3);
    set_rgb(cr, hex_rgb(0xe0401a));
    cairo_fill(cr);
}

// A shot: a wind blade pointing along +x, centred in the frame.
void draw_shot(cairo_t* cr, Rgb colour, double length, double thickness) {
    double cx = 16, cy = 24;
    glow_ellipse(cr, cx, cy, length * 0.7, thickness * 1.6, colour, 0.5);
    cairo_move_to(cr, cx + length / 2, cy);
    cairo_curve_to(cr, cx + length * 0.1, cy - thickness, cx - length * 0.3, cy - thickness * 0.7,
                   cx - length / 2, cy);
    cairo_curve_to(cr, cx - length * 0.3, cy + thickness * 0.7, cx + length * 0.1, cy + thickness,
                   cx + length / 2, cy);
    cairo_close_path(cr);
    fill_radial(cr, cx + length * 0.15, cy, length * 0.6, {1, 1, 1}, colour, 1.0);
    cairo_new_path(cr);
    glow_ellipse(cr, cx + length * 0.12, cy, length * 0.25, thickness * 0.45, {1, 1, 1}, 1.0);
}

// A hit spark, growing and fading over steps 0..2; points along +x.
void draw_spark(cairo_t* cr, Rgb colour, int step) {
    double cx = 13, cy = 24, s = 0.55 + step * 0.25, a = 1.0 - step * 0.28;
    glow(cr, cx, cy, 9 * s, colour, 0.7 * a);
    for (int i = -2; i <= 2; ++i) {
        double ang = i * 0.45;
        double len = (i == 0 ? 12 : 8) * s;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + std::cos(ang) * len, cy + std::sin(ang) * len);
    }
    set_rgb(cr, lighter(colour, 0.6), a);
    cairo_set_line_width(cr, 1.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    glow(cr, cx, cy, 3 * s, {1, 1, 1}, a);
}

void draw_focus(cairo_t* cr) {
    double c = 32;
    Rgb rune = hex_rgb(0xa0ffe8);
    cairo_arc(cr, c, c, 27, 0, 2 * pi);
    stroke_glow(cr, rune, 1.2, 0.8);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, 22, 0, 2 * pi);
    set_rgb(cr, rune, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // Little wind glyphs between the two circles.
    for (int i = 0; i < 8; ++i) {
        double a = i * pi / 4;
        cairo_save(cr);
        cairo_translate(cr, c + std::cos(a) * 24.5, c + std::sin(a) * 24.5);
        cairo_rotate(cr, a + pi / 2);
        cairo_move_to(cr, -2.5, 0.8);
        cairo_curve_to(cr, -1, -1.5, 1, -1.5, 2.5, 0.8);
        set_rgb(cr, rune, 0.9);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    star_path(cr, c, c, 4, 18, 4, 0);
    set_rgb(cr, rune, 0.35);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    // The hit point itself: white with a red rim, impossible to miss.
    glow(cr, c, c, 7, hex_rgb(0xff6060), 0.7);
    cairo_arc(cr, c, c, 3.2, 0, 2 * pi);
    set_rgb(cr, hex_rgb(0xd01020));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    set_rgb(cr, {1, 1, 1});
    cairo_fill(cr);
}

void draw_wind(cairo_t* cr) {
    double c = 80;
    glow(cr, c, c, 80, hex_rgb(0xb8fff0), 0.25);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int arm = 0; arm < 6; ++arm) {
        double a0 = arm * pi / 3;
        for (int k = 0; k < 2; ++k) {
            double r0 = 18 + k * 10;
            cairo_new_path(cr);
            for (int i = 0; i <= 40; ++i) {
                double t = i / 40.0;
                double a = a0 + t * 2.2 + k * 0.5;
                double r = r0 + t * (56 - k * 10);
                double x = c + std::cos(a) * r, y = c + std::sin(a) * r;
                if (i == 0)
                    cairo_move_to(cr, x, y);
                else
                    cairo_line_to(cr, x, y);
            }
            stroke_glow(cr, lighter(hex_rgb(0x7ff0d8), 0.4), 2.2 - k * 0.8, 0.7 - k * 0.2);
        }
    }
    cairo_new_path(cr);
    cairo_arc(cr, c, c, 76, 0, 2 * pi);
    set_rgb(cr, {1, 1, 1}, 0.35);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void draw_gust(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Art_Random rnd(77);
    // Each streak and its glow (up to 7 pixels around the line) stay
    // inside the sheet, so that the picture fades out before its edges and
    // the stretched column shows no box around it.
    for (int i = 0; i < 9; ++i) {
        double len = rnd.range(18, 40);
        double x = rnd.range(9, 23);
        double y = rnd.range(len / 2 + 8, 128 - len / 2 - 8);
        cairo_move_to(cr, x, y + len / 2);
        cairo_curve_to(cr, x - 4, y + len / 6, x + 4, y - len / 6, x, y - len / 2);
        stroke_glow(cr, hex_rgb(0xc8fff0), rnd.range(1.4, 2.4), rnd.range(0.5, 0.85));
        cairo_new_path(cr);
    }
    for (int i = 0; i < 6; ++i) {
        double x = rnd.range(6, 26), y = rnd.range(10, 118);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, rnd.range(0, 2 * pi));
        cairo_move_to(cr, 0, -3.5);
        cairo_curve_to(cr, 2.5, -1.5, 2.5, 1.5, 0, 3.5);
        cairo_curve_to(cr, -2.5, 1.5, -2.5, -1.5, 0, -3.5);
        set_rgb(cr, mix(hex_rgb(0xffb040), hex_rgb(0xff5a20), rnd.unit()), 0.85);
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

void make_player(Content_Output& out) {
    Sheet kio(32, 48, 8, 5);
    for (int f = 0; f < 8; ++f) {
        draw_kio(kio.frame(f), 0, f / 8.0);
        kio.end_frame();
    }
    // Turning in: 8..12 (lean growing), then 12..15 held while the cape flutters.
    for (int f = 0; f < 8; ++f) {
        double lean = f <= 4 ? 0.25 + f * 0.1875 : 1.0;
        draw_kio(kio.frame(8 + f), -lean, f / 4.0);
        kio.end_frame();
        draw_kio(kio.frame(16 + f), lean, f / 4.0);
        kio.end_frame();
    }
    const Rgb main_shot = hex_rgb(0x8fffd0), focus_shot = hex_rgb(0xfff08a),
              side_shot = hex_rgb(0xffa050);
    draw_shot(kio.frame(24), main_shot, 28, 4.6);
    kio.end_frame();
    draw_shot(kio.frame(28), focus_shot, 30, 4);
    kio.end_frame();
    draw_shot(kio.frame(32), side_shot, 16, 4.5);
    kio.end_frame();
    for (int step = 0; step < 3; ++step) {
        draw_spark(kio.frame(25 + step), main_shot, step);
        kio.end_frame();
        draw_spark(kio.frame(29 + step), focus_shot, step);
        kio.end_frame();
        draw_spark(kio.frame(33 + step), side_shot, step);
        kio.end_frame();
    }
    kio.save(out, "images/player/kio.png");

    Sheet focus(64, 64, 1, 1);
    draw_focus(focus.context());
    focus.save(out, "images/player/focus.png");

    Sheet wind(160, 160, 1, 1);
    draw_wind(wind.context());
    wind.save(out, "images/player/wind.png");

    Sheet gust(32, 128, 1, 1);
    draw_gust(gust.context());
    gust.save(out, "images/player/wind_gust.png");

    Sheet digits(14, 20, 11, 1);
    Text_Style style;
    style.size = 17;
    style.top = hex_rgb(0xffffff);
    style.bottom = hex_rgb(0x9ff5e0);
    style.outline = hex_rgb(0x06302c);
    style.outline_width = 1.6;
    for (int d = 0; d < 11; ++d) {
        std::string text = d < 10 ? std::string(1, char('0' + d)) : "%";
        draw_text_centred(digits.frame(d), Face::sans_bold, style, 7, 16, text);
        digits.end_frame();
    }
    digits.save(out, "images/player/wind_digits.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_player", make_player);
