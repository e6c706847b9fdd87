// Pictures of names and short phrases shown in the stage: the boss's name
// banner, the spell-card names (Japanese first, then Russian: for Rimea's four
// cards frames 0-3 are Japanese and 4-7 Russian, each its own picture sized to
// its text), the spell-card result labels and the language choice.
// Pictures that have one frame for both languages carry both lines.
#include <string>
#include <vector>

#include "art.h"
#include "art_text.h"
#include "content_output.h"

namespace {

const char* const spellcard_names_jap[4] = {
    "霜符「硝子の落ち葉」",
    "氷符「オーロラヴェール」",
    "雪符「ホワイトアウト・ワルツ」",
    "冬符「グラスウィンター」",
};
const char* const spellcard_names_rus[4] = {
    "Иней «Стеклянная листва»",
    "Лёд «Вуаль северного сияния»",
    "Снег «Вальс белой мглы»",
    "Зима «Стеклянная зима»",
};

Text_Style spell_style(int language) {
    Text_Style s;
    s.size = language == 1 ? 19 : 17;
    s.top = {1, 1, 1};
    s.bottom = hex_rgb(0xc8d8ff);
    s.outline = hex_rgb(0x241a5a);
    s.outline_width = 2.4;
    s.glow = hex_rgb(0x9a7aff);
    s.glow_alpha = 0.7;
    s.embolden = language == 1 ? 0.6 : 0;
    return s;
}

void spellcard_picture(Content_Output& out, int index, int language, const std::string& text) {
    Text_Style s = spell_style(language);
    Face face = face_for_language(language);
    double w = measure_text(face, s.size, text).width;
    int width = static_cast<int>(w + 24), height = 34;
    Sheet pic(width, height, 1, 1);
    cairo_t* cr = pic.context();
    // An underline that fades out to the left, as a card's name plate.
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, width, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.6, 0.5, 1, 0);
    cairo_pattern_add_color_stop_rgba(p, 0.6, 0.7, 0.6, 1, 0.8);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0.9);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, height - 5, width, 1.6);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    draw_text_right(cr, face, s, width - 8, height - 10, text);
    pic.save(out, "images/names/spellcard_" + std::to_string(index) + ".png");
}

void two_line_picture(Content_Output& out, const std::string& path, const std::string& rus,
                      const std::string& jap, Text_Style top, Text_Style bottom) {
    double w1 = measure_text(Face::sans_bold, top.size, rus).width;
    double w2 = measure_text(Face::gothic, bottom.size, jap).width;
    int width = static_cast<int>(std::max(w1, w2) + 16);
    int height = static_cast<int>(top.size + bottom.size + 14);
    Sheet pic(width, height, 1, 1);
    draw_text_centred(pic.context(), Face::sans_bold, top, width / 2.0, top.size + 3, rus);
    draw_text_centred(pic.context(), Face::gothic, bottom, width / 2.0, top.size + bottom.size + 8,
                      jap);
    pic.save(out, path);
}

void make_names(Content_Output& out) {
    for (int i = 0; i < 4; ++i) {
        spellcard_picture(out, i, 1, spellcard_names_jap[i]);
        spellcard_picture(out, 4 + i, 0, spellcard_names_rus[i]);
    }

    // The boss banner: her name in both languages with an icy title line.
    {
        Sheet pic(200, 46, 1, 1);
        cairo_t* cr = pic.context();
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 200, 0);
        cairo_pattern_add_color_stop_rgba(p, 0, 0.1, 0.1, 0.3, 0.75);
        cairo_pattern_add_color_stop_rgba(p, 0.7, 0.1, 0.1, 0.3, 0.4);
        cairo_pattern_add_color_stop_rgba(p, 1, 0.1, 0.1, 0.3, 0);
        cairo_set_source(cr, p);
        cairo_rectangle(cr, 0, 4, 200, 38);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        Text_Style name;
        name.size = 22;
        name.top = {1, 1, 1};
        name.bottom = hex_rgb(0xa8d0ff);
        name.outline = hex_rgb(0x1a1a48);
        name.outline_width = 2.2;
        name.glow = hex_rgb(0x80c0ff);
        name.glow_alpha = 0.6;
        draw_text(cr, Face::serif_bold, name, 8, 27, "Римея");
        Text_Style sub = name;
        sub.size = 12;
        sub.glow_alpha = 0;
        sub.outline_width = 1.6;
        sub.embolden = 0.4;
        double x = 8 + measure_text(Face::serif_bold, 22, "Римея").width + 10;
        draw_text(cr, Face::gothic, sub, x, 27, "リメア");
        Text_Style title = sub;
        title.size = 10;
        title.bottom = hex_rgb(0xd0e0ff);
        title.embolden = 0;
        draw_text(cr, Face::sans_bold, title, 9, 39, "дух зимы ·");
        draw_text(cr, Face::gothic, title, 12 + measure_text(Face::sans_bold, 10, "дух зимы ·").width, 39,
                  "冬の精");
        pic.save(out, "images/names/boss_rimea.png");
    }

    // Spell-card results: the failure and the bonus label, both languages.
    Text_Style bad;
    bad.size = 14;
    bad.top = hex_rgb(0xffffff);
    bad.bottom = hex_rgb(0xffd0c0);
    bad.outline = hex_rgb(0x3a1010);
    bad.outline_width = 2;
    Text_Style bad_jap = bad;
    bad_jap.size = 13;
    bad_jap.embolden = 0.5;
    two_line_picture(out, "images/names/spell_failed.png", "Бонус не получен", "ボーナス失敗……",
                     bad, bad_jap);
    Text_Style good = bad;
    good.top = hex_rgb(0xffffff);
    good.bottom = hex_rgb(0xffe070);
    good.outline = hex_rgb(0x4a2a00);
    good.glow = hex_rgb(0xffc040);
    good.glow_alpha = 0.6;
    Text_Style good_jap = good;
    good_jap.size = 13;
    good_jap.embolden = 0.5;
    two_line_picture(out, "images/names/spell_bonus.png", "Бонус за карту!", "スペルカードボーナス！",
                     good, good_jap);

    // The language choice: two large plates, each with its word, a line in
    // its own language and a leaf at each end.
    Sheet lang(240, 64, 1, 2);
    const char* words[2] = {"Русский", "日本語"};
    const char* captions[2] = {"играть на русском языке", "日本語でプレイする"};
    for (int i = 0; i < 2; ++i) {
        cairo_t* cr = lang.frame(i);
        cairo_rectangle(cr, 4, 4, 232, 56);
        fill_vertical(cr, 4, 60, hex_rgb(0x4a2a14), hex_rgb(0x1e0e06), 0.9);
        set_rgb(cr, hex_rgb(0xe0a050), 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        for (double x : {22.0, 218.0}) {
            cairo_save(cr);
            cairo_translate(cr, x, 32);
            cairo_rotate(cr, x < 100 ? -0.5 : 0.5);
            star_path(cr, 0, 0, 5, 11, 5, 0);
            cairo_restore(cr);
            fill_radial(cr, x, 30, 12, hex_rgb(0xffd060), hex_rgb(0xc83a14));
            set_rgb(cr, hex_rgb(0x3a1004));
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);
        }
        Text_Style s;
        s.size = 28;
        s.top = hex_rgb(0xfff4d8);
        s.bottom = hex_rgb(0xf0a040);
        s.outline = hex_rgb(0x2a1204);
        s.outline_width = 2.5;
        s.glow = hex_rgb(0xff9020);
        s.glow_alpha = 0.5;
        s.embolden = i == 1 ? 1.0 : 0;
        draw_text_centred(cr, face_for_language(i), s, 120, 36, words[i]);
        Text_Style c;
        c.size = 11;
        c.top = hex_rgb(0xf0e0c8);
        c.bottom = hex_rgb(0xd8b080);
        c.outline = hex_rgb(0x1a0804);
        c.outline_width = 1.4;
        c.embolden = i == 1 ? 0.3 : 0;
        draw_text_centred(cr, face_for_language(i), c, 120, 53, captions[i]);
        lang.end_frame();
    }
    lang.save(out, "images/menus/language_select.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_names", make_names);
