// Items and the small score digits.
//
// "images/items/bonuses.png": 16 x 16 frames, 8 x 4. Frames 0 small power (red,
// "P"), 1 point (blue gem), 2 gauge (green wind leaf), 3 big power; 8-11 the
// markers shown at the top edge for those items when they are above the play
// field; 16 the small score star of cancelled bullets (24 its unused marker).
// "images/items/score_digits.png": 8 x 12 frames, the digits 0-9 of floating
// scores, white so the game can tint them.
#include <cmath>

#include "art.h"
#include "art_text.h"
#include "content_output.h"

namespace {

const Rgb item_colours[4] = {hex_rgb(0xff3a3a), hex_rgb(0x3a7aff), hex_rgb(0x3ad060),
                             hex_rgb(0xff3a3a)};

void rounded_box(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

void draw_item(cairo_t* cr, int kind) {
    Rgb c = item_colours[kind];
    double half = kind == 3 ? 7.5 : 6;
    glow(cr, 8, 8, 8, c, 0.5);
    rounded_box(cr, 8 - half, 8 - half, half * 2, half * 2, 2.5);
    set_rgb(cr, darker(c, 0.6));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    fill_vertical(cr, 8 - half, 8 + half, lighter(c, 0.45), c);
    cairo_new_path(cr);
    Text_Style s;
    s.outline = darker(c, 0.6);
    s.outline_width = 1.0;
    switch (kind) {
        case 0:
        case 3:
            s.size = kind == 3 ? 13 : 10;
            draw_text_centred(cr, Face::sans_bold, s, 8, kind == 3 ? 12.6 : 11.6, "P");
            break;
        case 1:
            cairo_move_to(cr, 8, 3.5);
            cairo_line_to(cr, 11.5, 8);
            cairo_line_to(cr, 8, 12.5);
            cairo_line_to(cr, 4.5, 8);
            cairo_close_path(cr);
            set_rgb(cr, {1, 1, 1});
            cairo_fill(cr);
            break;
        default: {
            // A wind swirl.
            cairo_new_path(cr);
            for (int i = 0; i <= 30; ++i) {
                double t = i / 30.0, a = t * 3 * pi, r = 1 + t * 3.8;
                double x = 8 + std::cos(a) * r, y = 8 + std::sin(a) * r;
                if (i == 0)
                    cairo_move_to(cr, x, y);
                else
                    cairo_line_to(cr, x, y);
            }
            set_rgb(cr, {1, 1, 1});
            cairo_set_line_width(cr, 1.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
            break;
        }
    }
}

void draw_marker(cairo_t* cr, Rgb c) {
    cairo_move_to(cr, 8, 1);
    cairo_line_to(cr, 14, 10);
    cairo_line_to(cr, 2, 10);
    cairo_close_path(cr);
    set_rgb(cr, darker(c, 0.5));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    fill_vertical(cr, 1, 10, lighter(c, 0.6), c);
    cairo_new_path(cr);
}

void draw_score_star(cairo_t* cr) {
    glow(cr, 8, 8, 7, hex_rgb(0xffe070), 0.6);
    star_path(cr, 8, 8.3, 5, 5.5, 2.4, 0);
    set_rgb(cr, hex_rgb(0x8a5a00));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke_preserve(cr);
    set_rgb(cr, hex_rgb(0xfff0a0));
    cairo_fill(cr);
}

void make_items(Content_Output& out) {
    Sheet items(16, 16, 8, 4);
    for (int kind = 0; kind < 4; ++kind) {
        draw_item(items.frame(kind), kind);
        items.end_frame();
        draw_marker(items.frame(8 + kind), item_colours[kind]);
        items.end_frame();
    }
    draw_score_star(items.frame(16));
    items.end_frame();
    draw_marker(items.frame(24), hex_rgb(0xffe070));
    items.end_frame();
    items.save(out, "images/items/bonuses.png");

    Sheet digits(8, 12, 10, 1);
    Text_Style s;
    s.size = 12;
    s.top = {1, 1, 1};
    s.bottom = hex_rgb(0xd8d8d8);
    s.outline = hex_rgb(0x202020);
    s.outline_width = 1.2;
    for (int d = 0; d < 10; ++d) {
        draw_text_centred(digits.frame(d), Face::sans_bold, s, 4, 10.5, std::string(1, char('0' + d)));
        digits.end_frame();
    }
    digits.save(out, "images/items/score_digits.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_items", make_items);
