// The bullet sheets: "bullets" (16 x 16 frames, one row per look, one column
// per colour index), "bullets2" (big bullets, 48 x 48, rows of 8 colours) and
// "magic_flash" (32 x 32 sparkles, four per colour). Every bullet has a bright
// core and a dark rim (white for the black colour) so it reads against both
// the amber forest and the icy boss backdrop. Elongated bullets point up:
// they are turned to their heading when drawn.
#include <cmath>

#include "art.h"
#include "content_output.h"

namespace {

struct Bullet_Tones {
    Rgb body, core, rim;
};

Bullet_Tones tones(int colour) {
    Rgb c = bullet_colours[colour];
    if (colour == 15) return {hex_rgb(0x2a2238), hex_rgb(0x6a5a8a), {1, 1, 1}};
    if (colour == 13) return {hex_rgb(0xdce6ff), {1, 1, 1}, hex_rgb(0x4a5a90)};
    return {c, lighter(c, 0.85), rim_colour(colour)};
}

// A filled shape with a dark rim, the body colour and a bright core drawn by
// `shape` at two sizes.
template <typename Shape>
void rimmed(cairo_t* cr, const Bullet_Tones& t, Shape shape, double core_scale) {
    shape(cr, 1.0);
    set_rgb(cr, t.rim, 0.95);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke_preserve(cr);
    set_rgb(cr, t.body);
    cairo_fill(cr);
    cairo_save(cr);
    shape(cr, core_scale);
    set_rgb(cr, t.core, 0.95);
    cairo_fill(cr);
    cairo_restore(cr);
}

void ball(cairo_t* cr, const Bullet_Tones& t, double r, double core) {
    glow(cr, 8, 8, 8, t.body, 0.45);
    cairo_arc(cr, 8, 8, r, 0, 2 * pi);
    set_rgb(cr, t.rim);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    fill_radial(cr, 8, 8, r, lighter(t.body, 0.3), t.body);
    cairo_new_path(cr);
    cairo_arc(cr, 8, 8, r * core, 0, 2 * pi);
    fill_radial(cr, 8, 8, r * core, {1, 1, 1}, t.core);
    cairo_new_path(cr);
}

// Shapes centred on (8, 8), pointing up, scaled by s about the centre.
void rice(cairo_t* cr, double s) { ellipse_path(cr, 8, 8, 3.2 * s, 6.6 * s); }
void needle(cairo_t* cr, double s) {
    cairo_move_to(cr, 8, 8 - 7.5 * s);
    cairo_line_to(cr, 8 + 2.2 * s, 8);
    cairo_line_to(cr, 8, 8 + 7.5 * s);
    cairo_line_to(cr, 8 - 2.2 * s, 8);
    cairo_close_path(cr);
}
void arrowhead(cairo_t* cr, double s) {
    cairo_move_to(cr, 8, 8 - 7 * s);
    cairo_line_to(cr, 8 + 5.5 * s, 8 + 5.5 * s);
    cairo_line_to(cr, 8, 8 + 3 * s);
    cairo_line_to(cr, 8 - 5.5 * s, 8 + 5.5 * s);
    cairo_close_path(cr);
}
void kunai(cairo_t* cr, double s) {
    cairo_move_to(cr, 8, 8 - 7.5 * s);
    cairo_curve_to(cr, 8 + 4 * s, 8 - 2 * s, 8 + 3 * s, 8 + 1 * s, 8 + 1.2 * s, 8 + 2 * s);
    cairo_line_to(cr, 8 + 1.2 * s, 8 + 6 * s);
    cairo_line_to(cr, 8 - 1.2 * s, 8 + 6 * s);
    cairo_line_to(cr, 8 - 1.2 * s, 8 + 2 * s);
    cairo_curve_to(cr, 8 - 3 * s, 8 + 1 * s, 8 - 4 * s, 8 - 2 * s, 8, 8 - 7.5 * s);
    cairo_close_path(cr);
}
void shard(cairo_t* cr, double s) {
    cairo_move_to(cr, 8, 8 - 7.5 * s);
    cairo_line_to(cr, 8 + 3.6 * s, 8 - 2.5 * s);
    cairo_line_to(cr, 8 + 2.6 * s, 8 + 5 * s);
    cairo_line_to(cr, 8, 8 + 7.2 * s);
    cairo_line_to(cr, 8 - 2.6 * s, 8 + 5 * s);
    cairo_line_to(cr, 8 - 3.6 * s, 8 - 2.5 * s);
    cairo_close_path(cr);
}
void bean(cairo_t* cr, double s) { ellipse_path(cr, 8, 8, 4.6 * s, 6.2 * s); }
void knife(cairo_t* cr, double s) {
    cairo_move_to(cr, 8, 8 - 7.8 * s);
    cairo_curve_to(cr, 8 + 2.8 * s, 8 - 4 * s, 8 + 2.6 * s, 8 + 1 * s, 8 + 2 * s, 8 + 3 * s);
    cairo_line_to(cr, 8 + 3.6 * s, 8 + 3.6 * s);
    cairo_line_to(cr, 8 + 1 * s, 8 + 4.6 * s);
    cairo_line_to(cr, 8 + 1 * s, 8 + 7.6 * s);
    cairo_line_to(cr, 8 - 1 * s, 8 + 7.6 * s);
    cairo_line_to(cr, 8 - 1 * s, 8 + 4.6 * s);
    cairo_line_to(cr, 8 - 3.6 * s, 8 + 3.6 * s);
    cairo_line_to(cr, 8 - 2 * s, 8 + 3 * s);
    cairo_curve_to(cr, 8 - 2.6 * s, 8 + 1 * s, 8 - 2.8 * s, 8 - 4 * s, 8, 8 - 7.8 * s);
    cairo_close_path(cr);
}
void droplet(cairo_t* cr, double s) {
    cairo_move_to(cr, 8, 8 - 7.5 * s);
    cairo_curve_to(cr, 8 + 2 * s, 8 - 3 * s, 8 + 5 * s, 8 + 0.5 * s, 8 + 5 * s, 8 + 3 * s);
    cairo_arc(cr, 8, 8 + 3 * s, 5 * s, 0, pi);
    cairo_curve_to(cr, 8 - 5 * s, 8 + 0.5 * s, 8 - 2 * s, 8 - 3 * s, 8, 8 - 7.5 * s);
    cairo_close_path(cr);
}

void draw_laser_body(cairo_t* cr, const Bullet_Tones& t) {
    // The body is stretched 50 times vertically, so every row carries the
    // same cross-section: a white core inside the colour, fading to the edges.
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 16, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.0, t.body.r, t.body.g, t.body.b, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.15, t.body.r, t.body.g, t.body.b, 0.35);
    cairo_pattern_add_color_stop_rgba(p, 0.3, t.body.r, t.body.g, t.body.b, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 0.42, t.core.r, t.core.g, t.core.b, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.58, t.core.r, t.core.g, t.core.b, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.7, t.body.r, t.body.g, t.body.b, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 0.85, t.body.r, t.body.g, t.body.b, 0.35);
    cairo_pattern_add_color_stop_rgba(p, 1.0, t.body.r, t.body.g, t.body.b, 0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, 16, 16);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void draw_bullet(cairo_t* cr, int row, int colour) {
    Bullet_Tones t = tones(colour);
    switch (row) {
        case 0: draw_laser_body(cr, t); break;
        case 1:
            glow_ellipse(cr, 8, 8, 5, 8, t.body, 0.5);
            rimmed(cr, t, rice, 0.5);
            break;
        case 2: ball(cr, t, 6.3, 0.62); break;
        case 3: ball(cr, t, 4.6, 0.5); break;
        case 4:
            // Also the graze spark: a bright needle in a soft halo.
            glow_ellipse(cr, 8, 8, 4, 8, t.body, 0.6);
            rimmed(cr, t, needle, 0.5);
            break;
        case 5:
            glow(cr, 8, 9, 7, t.body, 0.4);
            rimmed(cr, t, arrowhead, 0.45);
            break;
        case 6:
            glow_ellipse(cr, 8, 8, 5, 8, t.body, 0.4);
            rimmed(cr, t, kunai, 0.5);
            cairo_arc(cr, 8, 13.6, 1.6, 0, 2 * pi);
            set_rgb(cr, t.rim);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
            break;
        case 7:
            glow_ellipse(cr, 8, 8, 5.5, 8, t.body, 0.5);
            rimmed(cr, t, shard, 0.45);
            cairo_move_to(cr, 8, 1);
            cairo_line_to(cr, 8, 15);
            set_rgb(cr, {1, 1, 1}, 0.6);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
            break;
        case 8:
            glow(cr, 8, 8, 8, t.body, 0.4);
            rimmed(cr, t, bean, 0.55);
            break;
        case 9:
            glow_ellipse(cr, 8, 8, 5, 8, t.body, 0.4);
            rimmed(cr, t, knife, 0.45);
            break;
        case 10:
            glow(cr, 8, 10, 7, t.body, 0.45);
            rimmed(cr, t, droplet, 0.5);
            break;
        case 11: ball(cr, t, 3.4, 0.55); break;
        case 12:
            glow(cr, 8, 8, 8, t.body, 0.45);
            rimmed(cr, t, [](cairo_t* c, double s) { star_path(c, 8, 8.4, 5, 7.2 * s, 3.2 * s, 0); },
                   0.5);
            break;
        case 13:
            // A ring bullet: hollow, with a bright inner edge.
            glow(cr, 8, 8, 8, t.body, 0.5);
            cairo_arc(cr, 8, 8, 5.6, 0, 2 * pi);
            set_rgb(cr, t.rim);
            cairo_set_line_width(cr, 3.6);
            cairo_stroke_preserve(cr);
            set_rgb(cr, t.body);
            cairo_set_line_width(cr, 2.4);
            cairo_stroke_preserve(cr);
            set_rgb(cr, t.core);
            cairo_set_line_width(cr, 0.9);
            cairo_stroke(cr);
            break;
        case 14:
            // A soft orb: also the muzzle flash and the cancelled-bullet flash.
            glow(cr, 8, 8, 8, t.body, 0.9);
            glow(cr, 8, 8, 4.5, t.core, 1.0);
            glow(cr, 8, 8, 2.5, {1, 1, 1}, 1.0);
            break;
        case 15:
            // A sparkling orb: also the first frame of a bullet's hit burst.
            glow(cr, 8, 8, 8, t.body, 0.8);
            star_path(cr, 8, 8, 4, 7.5, 1.6, 0);
            set_rgb(cr, t.core, 0.9);
            cairo_fill(cr);
            glow(cr, 8, 8, 3.5, {1, 1, 1}, 1.0);
            break;
        case 16:
            // Second hit frame: the burst thinning into a ring.
            cairo_arc(cr, 8, 8, 5.8, 0, 2 * pi);
            set_rgb(cr, t.body, 0.7);
            cairo_set_line_width(cr, 2.2);
            cairo_stroke(cr);
            cairo_arc(cr, 8, 8, 5.8, 0, 2 * pi);
            set_rgb(cr, t.core, 0.8);
            cairo_set_line_width(cr, 0.8);
            cairo_stroke(cr);
            glow(cr, 8, 8, 4, t.core, 0.4);
            break;
    }
}

// Big bullets: colours of each row of 8.
const int big_colours[5][8] = {
    {0, 1, 3, 5, 7, 9, 11, 13},
    {0, 1, 3, 5, 7, 9, 11, 13},
    {0, 1, 3, 5, 7, 9, 11, 13},
    {0, 1, 3, 5, 7, 9, 11, 13},
    {2, 4, 6, 8, 10, 12, 14, 15},
};

void draw_big(cairo_t* cr, int kind, int colour) {
    Bullet_Tones t = tones(colour);
    const double c = 24;
    switch (kind) {
        case 0:
            glow(cr, c, c, 22, t.body, 0.55);
            cairo_arc(cr, c, c, 13, 0, 2 * pi);
            set_rgb(cr, t.rim);
            cairo_set_line_width(cr, 2);
            cairo_stroke_preserve(cr);
            fill_radial(cr, c, c, 13, lighter(t.body, 0.4), t.body);
            cairo_new_path(cr);
            glow(cr, c, c, 9, {1, 1, 1}, 1.0);
            break;
        case 1:
            // A bubble: translucent body, bright edge and a highlight.
            glow(cr, c, c, 23, t.body, 0.35);
            cairo_arc(cr, c, c, 19, 0, 2 * pi);
            fill_radial(cr, c, c, 19, lighter(t.body, 0.2), t.body, 0.45);
            set_rgb(cr, t.rim);
            cairo_set_line_width(cr, 2.6);
            cairo_stroke_preserve(cr);
            set_rgb(cr, t.core);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
            glow_ellipse(cr, c - 7, c - 8, 6, 4, {1, 1, 1}, 0.85);
            break;
        case 2: {
            // A snow crystal.
            glow(cr, c, c, 22, t.body, 0.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            for (int pass = 0; pass < 2; ++pass) {
                for (int i = 0; i < 6; ++i) {
                    double a = i * pi / 3;
                    double dx = std::cos(a), dy = std::sin(a);
                    cairo_move_to(cr, c, c);
                    cairo_line_to(cr, c + dx * 17, c + dy * 17);
                    for (double d : {8.0, 12.5}) {
                        double bx = c + dx * d, by = c + dy * d;
                        for (double side : {-1.0, 1.0}) {
                            double b = a + side * pi / 4;
                            cairo_move_to(cr, bx, by);
                            cairo_line_to(cr, bx + std::cos(b) * 5, by + std::sin(b) * 5);
                        }
                    }
                }
                set_rgb(cr, pass == 0 ? t.rim : t.core);
                cairo_set_line_width(cr, pass == 0 ? 4.2 : 2.0);
                cairo_stroke(cr);
            }
            glow(cr, c, c, 7, {1, 1, 1}, 1.0);
            break;
        }
        default:
            // A huge soft orb with a hard bright core.
            glow(cr, c, c, 24, t.body, 0.85);
            cairo_arc(cr, c, c, 15, 0, 2 * pi);
            fill_radial(cr, c, c, 15, {1, 1, 1}, t.body, 0.9);
            cairo_new_path(cr);
            cairo_arc(cr, c, c, 15, 0, 2 * pi);
            set_rgb(cr, t.rim, 0.8);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            break;
    }
}

void draw_flash(cairo_t* cr, int colour, int step) {
    Bullet_Tones t = tones(colour);
    double s = 0.7 + 0.1 * step;
    double turn = step * pi / 8;
    glow(cr, 16, 16, 15 * s, t.body, 0.8);
    star_path(cr, 16, 16, 4, 15 * s, 2.2 * s, turn);
    set_rgb(cr, lighter(t.body, 0.5), 0.85);
    cairo_fill(cr);
    star_path(cr, 16, 16, 4, 8 * s, 1.5 * s, turn + pi / 4);
    set_rgb(cr, t.core, 0.7);
    cairo_fill(cr);
    glow(cr, 16, 16, 5 * s, {1, 1, 1}, 1.0);
}

void make_bullets(Content_Output& out) {
    Sheet sheet(16, 16, 16, 17);
    for (int row = 0; row < 17; ++row) {
        for (int colour = 0; colour < 16; ++colour) {
            draw_bullet(sheet.frame(row * 16 + colour), row, colour);
            sheet.end_frame();
        }
    }
    sheet.save(out, "images/bullets.png");

    Sheet big(48, 48, 8, 5);
    for (int row = 0; row < 5; ++row) {
        for (int i = 0; i < 8; ++i) {
            draw_big(big.frame(row * 8 + i), row == 4 ? 3 : row, big_colours[row][i]);
            big.end_frame();
        }
    }
    big.save(out, "images/bullets2.png");

    Sheet flash(32, 32, 4, 16);
    for (int colour = 0; colour < 16; ++colour) {
        for (int step = 0; step < 4; ++step) {
            draw_flash(flash.frame(colour * 4 + step), colour, step);
            flash.end_frame();
        }
    }
    flash.save(out, "images/magic_flash.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_bullets", make_bullets);
