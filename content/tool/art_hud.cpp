// The game screen around the play field and the labels of the score panel.
//
// "images/hud/game_screen.png": 640 x 480, transparent over the play field
// (32, 16)-(416, 464); a dark walnut panel with gilded edges, autumn leaves
// and the logo at the bottom right.
// "images/hud/game_stats.png": 96 x 24 frames, 4 x 3: 0 hi-score, 1 score,
// 2 lives, 3 bombs, 4 wind, 5 point items, 6 graze, 7 power (each the Russian
// word over the Japanese one), 8 the power-at-maximum picture, 9 one life
// icon, 10 one bomb icon (icons in the frame's left 22 pixels).
#include <array>
#include <cmath>

#include "art.h"
#include "art_text.h"
#include "content_output.h"

namespace {

void leaf(cairo_t* cr, double x, double y, double size, double angle, Rgb c, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, size, size);
    cairo_move_to(cr, 0, -1);
    cairo_curve_to(cr, 0.7, -0.5, 0.7, 0.5, 0, 1);
    cairo_curve_to(cr, -0.7, 0.5, -0.7, -0.5, 0, -1);
    cairo_restore(cr);
    set_rgb(cr, c, alpha);
    cairo_fill(cr);
}

void draw_game_screen(cairo_t* cr) {
    Art_Random rnd(404);
    // Walnut panel: a warm dark gradient with faint wood grain.
    cairo_rectangle(cr, 0, 0, 640, 480);
    cairo_rectangle(cr, 416, 464, -384, -448);  // the hole, counter-clockwise
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 640, 480);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.20, 0.09, 0.05);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.13, 0.05, 0.04);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.22, 0.10, 0.05);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_clip(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (int i = 0; i < 140; ++i) {
        double y = rnd.range(0, 480), x = rnd.range(0, 640), len = rnd.range(40, 200);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + len / 3, y + rnd.range(-3, 3), x + len * 2 / 3, y + rnd.range(-3, 3),
                       x + len, y + rnd.range(-2, 2));
        set_rgb(cr, rnd.unit() < 0.5 ? hex_rgb(0x3a1a0a) : hex_rgb(0x0a0402), 0.35);
        cairo_set_line_width(cr, rnd.range(0.5, 1.5));
        cairo_stroke(cr);
    }
    // Fallen leaves scattered over the panel.
    for (int i = 0; i < 26; ++i) {
        double x = rnd.range(420, 640), y = rnd.range(250, 480);
        leaf(cr, x, y, rnd.range(4, 9), rnd.range(0, 2 * pi),
             mix(hex_rgb(0xc8401a), hex_rgb(0xf0a030), rnd.unit()), rnd.range(0.25, 0.55));
    }
    // A soft light behind the score column.
    glow_ellipse(cr, 528, 120, 120, 130, hex_rgb(0xffa050), 0.08);
    cairo_reset_clip(cr);

    // Gilded frame around the play field.
    for (int k = 0; k < 2; ++k) {
        double inset = k == 0 ? -4 : -1.5;
        cairo_rectangle(cr, 32 + inset, 16 + inset, 384 - 2 * inset, 448 - 2 * inset);
        set_rgb(cr, k == 0 ? hex_rgb(0x6a3a10) : hex_rgb(0xf0c060), k == 0 ? 1 : 0.9);
        cairo_set_line_width(cr, k == 0 ? 4 : 1.4);
        cairo_stroke(cr);
    }
    // Corner ornaments.
    for (int cx : {32, 416}) {
        for (int cy : {16, 464}) {
            glow(cr, cx, cy, 9, hex_rgb(0xffc060), 0.5);
            star_path(cr, cx, cy, 4, 7, 2, 0);
            set_rgb(cr, hex_rgb(0xffe0a0));
            cairo_fill(cr);
        }
    }
    // Panel separators between the label groups. The game draws the panel's
    // rows at these heights; a label reaches 12 pixels above and below its
    // row and the numbers sit on it, so each line runs midway between the
    // last row of a group and the first of the next, and one closes the
    // panel below the last row.
    const int rows[] = {16, 40, 74, 98, 132, 156, 190, 214};
    for (int y : {(rows[1] + rows[2]) / 2, (rows[3] + rows[4]) / 2, (rows[5] + rows[6]) / 2,
                  rows[7] + 26}) {
        cairo_pattern_t* line = cairo_pattern_create_linear(430, 0, 630, 0);
        cairo_pattern_add_color_stop_rgba(line, 0, 0.94, 0.75, 0.38, 0);
        cairo_pattern_add_color_stop_rgba(line, 0.3, 0.94, 0.75, 0.38, 0.6);
        cairo_pattern_add_color_stop_rgba(line, 0.7, 0.94, 0.75, 0.38, 0.6);
        cairo_pattern_add_color_stop_rgba(line, 1, 0.94, 0.75, 0.38, 0);
        cairo_set_source(cr, line);
        cairo_rectangle(cr, 430, y, 200, 1);
        cairo_fill(cr);
        cairo_pattern_destroy(line);
    }
    // A maple branch reaching in from the right edge, between the numbers
    // and the logo.
    cairo_move_to(cr, 646, 262);
    cairo_curve_to(cr, 600, 270, 560, 300, 500, 300);
    cairo_curve_to(cr, 480, 300, 462, 310, 446, 326);
    set_rgb(cr, hex_rgb(0x1a0a04));
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke_preserve(cr);
    set_rgb(cr, hex_rgb(0x5a3018));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    for (const auto& twig : {std::array<double, 4>{590, 276, 572, 250}, {540, 296, 548, 326},
                             {500, 300, 488, 276}, {470, 308, 478, 338}}) {
        cairo_move_to(cr, twig[0], twig[1]);
        cairo_line_to(cr, twig[2], twig[3]);
        set_rgb(cr, hex_rgb(0x4a2612));
        cairo_set_line_width(cr, 1.8);
        cairo_stroke(cr);
        cairo_save(cr);
        cairo_translate(cr, twig[2], twig[3]);
        cairo_rotate(cr, rnd.range(-0.6, 0.6));
        cairo_scale(cr, 1.5, 1.5);
        // A maple leaf: five pointed lobes fanning up from the stem, and veins.
        const double lobes[5][2] = {{-1.6, 0.6}, {-0.85, 0.95}, {0, 1.0}, {0.85, 0.95}, {1.6, 0.6}};
        cairo_move_to(cr, 0, 3);
        for (int k = 0; k < 5; ++k) {
            double a = -pi / 2 + lobes[k][0], r = 12 * lobes[k][1];
            double va = -pi / 2 + (k < 4 ? (lobes[k][0] + lobes[k + 1][0]) / 2 : 2.2);
            cairo_line_to(cr, std::cos(a) * r, std::sin(a) * r);
            cairo_line_to(cr, std::cos(va) * 5, std::sin(va) * 5);
        }
        cairo_close_path(cr);
        fill_radial(cr, -2, -3, 13, mix(hex_rgb(0xffc050), hex_rgb(0xf08030), rnd.unit()),
                    hex_rgb(0xa8280c));
        set_rgb(cr, hex_rgb(0x3a0c04));
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        for (const auto& lobe : lobes) {
            double a = -pi / 2 + lobe[0];
            cairo_move_to(cr, 0, 2);
            cairo_line_to(cr, std::cos(a) * 9 * lobe[1], std::sin(a) * 9 * lobe[1]);
        }
        cairo_move_to(cr, 0, 2);
        cairo_line_to(cr, 0, 9);
        set_rgb(cr, hex_rgb(0x7a2008), 0.8);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_restore(cr);
    }

    // The logo at the bottom of the panel.
    Text_Style s;
    s.size = 46;
    s.top = hex_rgb(0xfff0d0);
    s.bottom = hex_rgb(0xe08020);
    s.outline = hex_rgb(0x200804);
    s.outline_width = 2.5;
    s.glow = hex_rgb(0xff8020);
    s.glow_alpha = 0.5;
    draw_text_centred(cr, Face::serif_bold, s, 528, 420, "Mirel");
    Text_Style sub = s;
    sub.size = 12;
    sub.glow_alpha = 0;
    sub.outline_width = 1.5;
    draw_text_centred(cr, Face::sans_bold, sub, 528, 440, "Осенний ветер");
    sub.embolden = 0.3;
    draw_text_centred(cr, Face::gothic, sub, 528, 456, "秋風のミレル");
}

struct Label {
    const char* rus;
    const char* jap;
};

const Label labels[8] = {
    {"Рекорд", "ハイスコア"}, {"Счёт", "スコア"},   {"Жизни", "プレイヤー"}, {"Бомбы", "ボム"},
    {"Ветер", "風"},         {"Очки", "得点アイテム"}, {"Касания", "グレイズ"}, {"Сила", "パワー"},
};

void draw_label(cairo_t* cr, const Label& l) {
    Text_Style s;
    s.size = 13;
    s.top = hex_rgb(0xfff4dc);
    s.bottom = hex_rgb(0xf0b050);
    s.outline = hex_rgb(0x1a0804);
    s.outline_width = 1.8;
    draw_text(cr, Face::sans_bold, s, 2, 12, l.rus);
    Text_Style j = s;
    j.size = 9;
    j.outline_width = 1.4;
    j.top = hex_rgb(0xf0e0c8);
    j.bottom = hex_rgb(0xd8a060);
    draw_text(cr, Face::gothic, j, 3, 22, l.jap);
}

void draw_life_icon(cairo_t* cr) {
    glow(cr, 11, 12, 10, hex_rgb(0x60ffc8), 0.5);
    star_path(cr, 11, 12.5, 5, 9, 4, 0);
    set_rgb(cr, hex_rgb(0x0a3a30));
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    fill_radial(cr, 10, 10, 10, hex_rgb(0xe0fff4), hex_rgb(0x2fb39a));
    cairo_new_path(cr);
}

void draw_bomb_icon(cairo_t* cr) {
    glow(cr, 11, 12, 10, hex_rgb(0xffb040), 0.5);
    cairo_save(cr);
    cairo_translate(cr, 11, 12);
    cairo_rotate(cr, 0.6);
    cairo_move_to(cr, 0, -9);
    cairo_curve_to(cr, 7, -4, 7, 4, 0, 9);
    cairo_curve_to(cr, -7, 4, -7, -4, 0, -9);
    cairo_restore(cr);
    set_rgb(cr, hex_rgb(0x4a1404));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke_preserve(cr);
    fill_radial(cr, 9, 9, 11, hex_rgb(0xfff0a0), hex_rgb(0xe05a1a));
    cairo_new_path(cr);
    cairo_move_to(cr, 6, 17);
    cairo_line_to(cr, 16, 7);
    set_rgb(cr, hex_rgb(0x7a2a08));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void make_hud(Content_Output& out) {
    Sheet screen(640, 480, 1, 1);
    draw_game_screen(screen.context());
    screen.save(out, "images/hud/game_screen.png");

    Sheet stats(96, 24, 4, 3);
    for (int i = 0; i < 8; ++i) {
        draw_label(stats.frame(i), labels[i]);
        stats.end_frame();
    }
    {
        cairo_t* cr = stats.frame(8);
        Text_Style s;
        s.size = 15;
        s.top = {1, 1, 1};
        s.bottom = hex_rgb(0xff7050);
        s.outline = hex_rgb(0x3a0808);
        s.outline_width = 2;
        s.glow = hex_rgb(0xff4020);
        s.glow_alpha = 0.7;
        draw_text(cr, Face::sans_bold, s, 2, 13, "МАКС");
        Text_Style j = s;
        j.size = 13;
        j.embolden = 0.6;
        draw_text(cr, Face::gothic, j, 56, 13, "最大");
        stats.end_frame();
    }
    draw_life_icon(stats.frame(9));
    stats.end_frame();
    draw_bomb_icon(stats.frame(10));
    stats.end_frame();
    stats.save(out, "images/hud/game_stats.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_hud", make_hud);
