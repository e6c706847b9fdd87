// The dialog scene's pictures: the text box "dialog_frame" (360 x 100, drawn
// at (44, 355) under three lines of text starting at x 60) and the portraits
// of Kio (left side, facing right) and Rimea (right side, facing left),
// 224 x 340, four faces each: 0 calm, 1 smiling, 2 surprised, 3 determined.
#include <cmath>

#include "art.h"
#include "content_output.h"

namespace {

struct Look {
    Rgb hair_light, hair_dark, eye, skin, cloth_light, cloth_dark, trim, outline;
    bool hat;     // Kio's wind-mage hat
    bool tiara;   // Rimea's crystal tiara
    bool long_hair;
};

const Look kio_look = {hex_rgb(0xe09040), hex_rgb(0x7a3510), hex_rgb(0x1f9a6a),
                       hex_rgb(0xfde3cc), hex_rgb(0x2fb39a), hex_rgb(0x0d4a4e),
                       hex_rgb(0xf2c14a), hex_rgb(0x2a1208), true, false, false};
const Look rimea_look = {hex_rgb(0xf6f9ff), hex_rgb(0x8aa6e0), hex_rgb(0x3a6ad8),
                         hex_rgb(0xfcece6), hex_rgb(0xf4f6ff), hex_rgb(0x6a5ac0),
                         hex_rgb(0x9fe8ff), hex_rgb(0x22204e), false, true, true};

void outlined(cairo_t* cr, Rgb outline, double width) {
    set_rgb(cr, outline);
    cairo_set_line_width(cr, width);
    cairo_stroke_preserve(cr);
}

void draw_eye(cairo_t* cr, const Look& l, double x, double y, int face, double side) {
    if (face == 1) {
        // Smiling: a closed, curved lid.
        cairo_move_to(cr, x - 11, y + 2);
        cairo_curve_to(cr, x - 5, y - 7, x + 5, y - 7, x + 11, y + 2);
        set_rgb(cr, l.outline);
        cairo_set_line_width(cr, 2.6);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        return;
    }
    double open = face == 2 ? 1.2 : face == 3 ? 0.75 : 1.0;
    ellipse_path(cr, x, y, 10, 12 * open);
    set_rgb(cr, {1, 1, 1});
    cairo_fill_preserve(cr);
    outlined(cr, l.outline, 1.2);
    cairo_new_path(cr);
    double ir = face == 2 ? 6 : 7.5;
    ellipse_path(cr, x + side * 1.5, y + 1, ir, ir * 1.3 * std::min(open, 1.0));
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y - 10, 0, y + 10);
    Rgb dark = darker(l.eye, 0.55), light = lighter(l.eye, 0.35);
    cairo_pattern_add_color_stop_rgb(p, 0, dark.r, dark.g, dark.b);
    cairo_pattern_add_color_stop_rgb(p, 1, light.r, light.g, light.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    ellipse_path(cr, x + side * 1.5, y + 1, ir * 0.45, ir * 0.6);
    set_rgb(cr, darker(l.eye, 0.8));
    cairo_fill(cr);
    cairo_arc(cr, x + side * 1.5 + 3, y - 4, 2.6, 0, 2 * pi);
    set_rgb(cr, {1, 1, 1});
    cairo_fill(cr);
    cairo_arc(cr, x + side * 1.5 - 2.5, y + 5, 1.2, 0, 2 * pi);
    cairo_fill(cr);
    // Upper lash line.
    cairo_move_to(cr, x - 11, y - 6 * open);
    cairo_curve_to(cr, x - 5, y - 14 * open, x + 6, y - 14 * open, x + 12, y - 5 * open);
    set_rgb(cr, l.outline);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void draw_brow(cairo_t* cr, const Look& l, double x, double y, int face, double side) {
    double tilt = face == 3 ? 5 : face == 2 ? -4 : 0;
    cairo_move_to(cr, x - 10, y - tilt * side * -0.0 - (side < 0 ? -tilt : 0) * 0);
    // Inner end is toward the centre of the face: lower it for a determined look.
    double inner = side < 0 ? x + 9 : x - 9, outer = side < 0 ? x - 10 : x + 10;
    cairo_new_path(cr);
    cairo_move_to(cr, outer, y - 1);
    cairo_curve_to(cr, (outer + inner) / 2, y - 4 - (face == 2 ? 3 : 0), inner, y - 2, inner,
                   y + tilt * 0.6);
    set_rgb(cr, darker(l.hair_dark, 0.3));
    cairo_set_line_width(cr, 2.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void draw_mouth(cairo_t* cr, const Look& l, double x, double y, int face) {
    cairo_new_path(cr);
    switch (face) {
        case 1:
            cairo_move_to(cr, x - 8, y - 1);
            cairo_curve_to(cr, x - 3, y + 5, x + 3, y + 5, x + 8, y - 1);
            cairo_close_path(cr);
            set_rgb(cr, hex_rgb(0xc04050));
            cairo_fill_preserve(cr);
            outlined(cr, l.outline, 1.2);
            break;
        case 2:
            ellipse_path(cr, x, y + 1, 4, 5);
            set_rgb(cr, hex_rgb(0xa03040));
            cairo_fill_preserve(cr);
            outlined(cr, l.outline, 1.2);
            break;
        case 3:
            cairo_move_to(cr, x - 6, y + 1);
            cairo_line_to(cr, x + 6, y);
            set_rgb(cr, l.outline);
            cairo_set_line_width(cr, 1.8);
            cairo_stroke(cr);
            break;
        default:
            cairo_move_to(cr, x - 5, y);
            cairo_curve_to(cr, x - 2, y + 2.5, x + 2, y + 2.5, x + 5, y);
            set_rgb(cr, l.outline);
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
            break;
    }
    cairo_new_path(cr);
}

// A bust facing right (three-quarter view); the caller mirrors it for the left.
void draw_portrait(cairo_t* cr, const Look& l, int face) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double hx = 112, hy = 112;

    // Hair behind the head and shoulders.
    cairo_move_to(cr, hx - 50, hy - 20);
    if (l.long_hair) {
        cairo_curve_to(cr, hx - 70, hy + 60, hx - 72, hy + 160, hx - 62, hy + 228);
        cairo_curve_to(cr, hx - 10, hy + 236, hx + 40, hy + 236, hx + 78, hy + 226);
        cairo_curve_to(cr, hx + 80, hy + 150, hx + 74, hy + 60, hx + 50, hy - 20);
    } else {
        cairo_curve_to(cr, hx - 64, hy + 30, hx - 60, hy + 70, hx - 44, hy + 92);
        cairo_curve_to(cr, hx - 20, hy + 100, hx + 30, hy + 100, hx + 52, hy + 88);
        cairo_curve_to(cr, hx + 64, hy + 60, hx + 62, hy + 20, hx + 50, hy - 20);
    }
    cairo_close_path(cr);
    outlined(cr, l.outline, 2.4);
    fill_vertical(cr, hy - 40, hy + 230, l.hair_light, l.hair_dark);
    cairo_new_path(cr);
    // Strands.
    for (int i = 0; i < 6; ++i) {
        double x0 = hx - 48 + i * 4, len = l.long_hair ? 200 : 80;
        cairo_move_to(cr, x0, hy);
        cairo_curve_to(cr, x0 - 12, hy + len * 0.3, x0 - 10, hy + len * 0.7, x0 - 4, hy + len);
        double x1 = hx + 50 - i * 4;
        cairo_move_to(cr, x1, hy);
        cairo_curve_to(cr, x1 + 12, hy + len * 0.3, x1 + 10, hy + len * 0.7, x1 + 4, hy + len);
    }
    set_rgb(cr, darker(l.hair_dark, 0.25), 0.45);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    // Shoulders and clothes.
    double ny = hy + 58;
    cairo_move_to(cr, hx - 12, ny - 4);
    cairo_line_to(cr, hx - 12, ny + 14);
    cairo_curve_to(cr, hx - 50, ny + 24, hx - 82, ny + 40, hx - 92, ny + 170);
    cairo_line_to(cr, hx + 100, ny + 170);
    cairo_curve_to(cr, hx + 92, ny + 40, hx + 60, ny + 24, hx + 18, ny + 14);
    cairo_line_to(cr, hx + 18, ny - 4);
    cairo_close_path(cr);
    outlined(cr, l.outline, 2.4);
    fill_vertical(cr, ny, ny + 170, l.cloth_light, l.cloth_dark);
    cairo_new_path(cr);
    // Neck.
    cairo_rectangle(cr, hx - 11, ny - 12, 28, 26);
    set_rgb(cr, darker(l.skin, 0.08));
    cairo_fill(cr);
    // Collar and trim.
    cairo_move_to(cr, hx - 30, ny + 18);
    cairo_curve_to(cr, hx - 10, ny + 40, hx + 20, ny + 40, hx + 44, ny + 18);
    cairo_line_to(cr, hx + 30, ny + 12);
    cairo_curve_to(cr, hx + 14, ny + 26, hx - 6, ny + 26, hx - 18, ny + 12);
    cairo_close_path(cr);
    set_rgb(cr, l.hat ? hex_rgb(0xf4efe2) : lighter(l.trim, 0.5));
    cairo_fill_preserve(cr);
    outlined(cr, l.outline, 1.6);
    cairo_new_path(cr);
    cairo_move_to(cr, hx + 7, ny + 32);
    cairo_line_to(cr, hx + 7, ny + 170);
    set_rgb(cr, l.trim, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Shading where the arms meet the body.
    for (int side : {-1, 1}) {
        double x = hx + 4 + side * 58;
        cairo_move_to(cr, x, ny + 50);
        cairo_curve_to(cr, x + side * 6, ny + 90, x + side * 10, ny + 130, x + side * 14, ny + 170);
        set_rgb(cr, darker(l.cloth_dark, 0.4), 0.5);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
    }
    // Motifs along the shoulders, above the text box that hides the rest.
    for (int i = 0; i < 9; ++i) {
        double x = hx - 72 + i * 19, y = ny + 36 + std::fabs(x - hx - 6) * 0.35;
        if (std::fabs(x - hx - 6) < 20) continue;  // the collar and brooch
        cairo_new_sub_path(cr);
        if (l.hat) {
            // Wind swirls in gold thread.
            cairo_arc(cr, x, y, 5, pi, 2.6 * pi);
        } else {
            star_path(cr, x, y, 6, 5, 1.5, 0);
        }
    }
    set_rgb(cr, l.hat ? l.trim : lighter(l.trim, 0.6), 0.85);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    if (l.hat) {
        // A golden leaf brooch on the cape.
        cairo_save(cr);
        cairo_translate(cr, hx + 7, ny + 40);
        cairo_rotate(cr, 0.5);
        cairo_move_to(cr, 0, -9);
        cairo_curve_to(cr, 7, -4, 7, 4, 0, 9);
        cairo_curve_to(cr, -7, 4, -7, -4, 0, -9);
        cairo_restore(cr);
        fill_radial(cr, hx + 5, ny + 37, 10, hex_rgb(0xfff0b0), l.trim);
        outlined(cr, l.outline, 1.4);
        cairo_new_path(cr);
    } else {
        // Frost crystals along the trim.
        for (int i = 0; i < 4; ++i) {
            double x = hx + 7, y = ny + 60 + i * 26;
            for (int k = 0; k < 3; ++k) {
                double a = k * pi / 3;
                cairo_move_to(cr, x - std::cos(a) * 6, y - std::sin(a) * 6);
                cairo_line_to(cr, x + std::cos(a) * 6, y + std::sin(a) * 6);
            }
        }
        set_rgb(cr, {1, 1, 1}, 0.9);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }

    // Head.
    cairo_move_to(cr, hx - 42, hy - 14);
    cairo_curve_to(cr, hx - 44, hy + 26, hx - 24, hy + 56, hx + 4, hy + 62);
    cairo_curve_to(cr, hx + 30, hy + 56, hx + 48, hy + 26, hx + 46, hy - 14);
    cairo_curve_to(cr, hx + 40, hy - 60, hx - 36, hy - 60, hx - 42, hy - 14);
    cairo_close_path(cr);
    outlined(cr, l.outline, 2.4);
    fill_radial(cr, hx + 6, hy + 6, 70, l.skin, darker(l.skin, 0.06));
    cairo_new_path(cr);
    // Blush.
    glow_ellipse(cr, hx - 20, hy + 30, 10, 5, hex_rgb(0xff8a8a), face == 1 ? 0.55 : 0.35);
    glow_ellipse(cr, hx + 30, hy + 30, 9, 5, hex_rgb(0xff8a8a), face == 1 ? 0.55 : 0.35);

    // Face: eyes shifted toward the facing side.
    double ey = hy + 14;
    draw_eye(cr, l, hx - 14, ey, face, 1);
    draw_eye(cr, l, hx + 24, ey, face, 1);
    draw_brow(cr, l, hx - 14, ey - 20, face, -1);
    draw_brow(cr, l, hx + 24, ey - 20, face, 1);
    cairo_move_to(cr, hx + 8, ey + 14);
    cairo_line_to(cr, hx + 10, ey + 20);
    set_rgb(cr, darker(l.skin, 0.3));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    draw_mouth(cr, l, hx + 8, hy + 44, face);

    // Bangs: pointed locks over the forehead.
    cairo_move_to(cr, hx - 48, hy - 2);
    const double locks[7][2] = {{-36, 10}, {-24, -6}, {-12, 12}, {2, -4}, {16, 14}, {30, -2}, {44, 8}};
    double prev_x = hx - 48;
    for (const auto& lk : locks) {
        double x = hx + lk[0], y = hy + lk[1];
        cairo_curve_to(cr, prev_x + 4, hy - 20, x - 4, y - 14, x, y);
        prev_x = x;
    }
    cairo_curve_to(cr, hx + 52, hy - 10, hx + 52, hy - 30, hx + 44, hy - 44);
    cairo_curve_to(cr, hx + 20, hy - 66, hx - 30, hy - 66, hx - 46, hy - 40);
    cairo_close_path(cr);
    outlined(cr, l.outline, 2.2);
    fill_vertical(cr, hy - 66, hy + 14, lighter(l.hair_light, 0.2), l.hair_dark);
    cairo_new_path(cr);
    // A shine across the hair.
    cairo_move_to(cr, hx - 30, hy - 34);
    cairo_curve_to(cr, hx - 10, hy - 42, hx + 14, hy - 42, hx + 32, hy - 34);
    set_rgb(cr, {1, 1, 1}, 0.45);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    // Side locks framing the face.
    for (int side : {-1, 1}) {
        double x = side < 0 ? hx - 46 : hx + 48;
        cairo_move_to(cr, x, hy - 10);
        cairo_curve_to(cr, x + side * 6, hy + 30, x - side * 2, hy + 60, x + side * 4,
                       hy + (l.long_hair ? 110 : 76));
        cairo_curve_to(cr, x - side * 10, hy + 60, x - side * 6, hy + 30, x - side * 8, hy - 4);
        cairo_close_path(cr);
        outlined(cr, l.outline, 1.8);
        fill_vertical(cr, hy - 10, hy + 110, l.hair_light, l.hair_dark);
        cairo_new_path(cr);
    }

    if (l.hat) {
        // The wind mage's hat: a wide brim and a bent tip with a gold band.
        cairo_move_to(cr, hx - 86, hy - 28);
        cairo_curve_to(cr, hx - 50, hy - 62, hx + 60, hy - 62, hx + 96, hy - 30);
        cairo_curve_to(cr, hx + 60, hy - 40, hx - 50, hy - 42, hx - 86, hy - 28);
        cairo_close_path(cr);
        outlined(cr, l.outline, 2.4);
        fill_vertical(cr, hy - 62, hy - 28, hex_rgb(0x4a8a44), hex_rgb(0x173a1c));
        cairo_new_path(cr);
        cairo_move_to(cr, hx - 40, hy - 50);
        cairo_curve_to(cr, hx - 30, hy - 100, hx + 10, hy - 120, hx + 70, hy - 108);
        cairo_curve_to(cr, hx + 30, hy - 96, hx + 40, hy - 70, hx + 46, hy - 52);
        cairo_close_path(cr);
        outlined(cr, l.outline, 2.4);
        fill_vertical(cr, hy - 120, hy - 50, hex_rgb(0x5aa050), hex_rgb(0x1f4a24));
        cairo_new_path(cr);
        cairo_move_to(cr, hx - 42, hy - 54);
        cairo_curve_to(cr, hx - 10, hy - 62, hx + 20, hy - 62, hx + 47, hy - 56);
        set_rgb(cr, l.trim);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        // A red maple leaf tucked in the band.
        cairo_save(cr);
        cairo_translate(cr, hx + 34, hy - 66);
        cairo_rotate(cr, 0.4);
        star_path(cr, 0, 0, 5, 12, 5, 0);
        cairo_restore(cr);
        fill_radial(cr, hx + 34, hy - 68, 14, hex_rgb(0xffb040), hex_rgb(0xc8281a));
        outlined(cr, l.outline, 1.4);
        cairo_new_path(cr);
    }
    if (l.tiara) {
        for (int i = -3; i <= 3; ++i) {
            double tx = hx + 2 + i * 11, ty = hy - 50 + std::fabs(i) * 3;
            double h = i == 0 ? 26 : 16 - std::fabs(i) * 2;
            cairo_move_to(cr, tx, ty - h);
            cairo_line_to(cr, tx + 4.5, ty);
            cairo_line_to(cr, tx, ty + 4);
            cairo_line_to(cr, tx - 4.5, ty);
            cairo_close_path(cr);
            fill_vertical(cr, ty - h, ty + 4, {1, 1, 1}, l.trim);
            outlined(cr, hex_rgb(0x2a4a8a), 1.2);
            cairo_new_path(cr);
        }
        glow(cr, hx + 2, hy - 62, 16, {1, 1, 1}, 0.6);
    }
}

void draw_dialog_frame(cairo_t* cr) {
    // A dark, translucent box with a warm gilded edge and icy corner glints,
    // so it belongs to both halves of the stage.
    double x = 2, y = 2, w = 356, h = 96, r = 10;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr);
    fill_vertical(cr, y, y + h, hex_rgb(0x2a140c), hex_rgb(0x0c0608), 0.82);
    set_rgb(cr, hex_rgb(0x6a3a10));
    cairo_set_line_width(cr, 3.5);
    cairo_stroke_preserve(cr);
    set_rgb(cr, hex_rgb(0xf0c060), 0.9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 360, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.8, 0.5, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 0.8, 0.5, 0.25);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.8, 0.5, 0);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 14, 8, 332, 1);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (double cx : {12.0, 348.0}) {
        for (double cy : {12.0, 88.0}) {
            glow(cr, cx, cy, 7, hex_rgb(0xffd890), 0.6);
            star_path(cr, cx, cy, 4, 5, 1.5, 0);
            set_rgb(cr, hex_rgb(0xfff4d0));
            cairo_fill(cr);
        }
    }
}

void make_dialog(Content_Output& out) {
    Sheet frame(360, 100, 1, 1);
    draw_dialog_frame(frame.context());
    frame.save(out, "images/dialog/frame.png");

    Sheet kio(224, 340, 4, 1);
    Sheet rimea(224, 340, 4, 1);
    for (int face = 0; face < 4; ++face) {
        draw_portrait(kio.frame(face), kio_look, face);
        kio.end_frame();
        cairo_t* cr = rimea.frame(face);
        cairo_translate(cr, 224, 0);
        cairo_scale(cr, -1, 1);
        draw_portrait(cr, rimea_look, face);
        rimea.end_frame();
    }
    kio.save(out, "images/dialog/kio.png");
    rimea.save(out, "images/dialog/rimea.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_dialog", make_dialog);
