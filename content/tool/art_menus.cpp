// The title side: the splash, the menu backdrop (an autumn forest at dusk
// under a rising moon), the title logo, the main-menu entries, the options
// and key-configuration entries and the tips under them.
//
// Entries whose frame layout has one frame for both languages carry both: the
// Russian word large, the Japanese one under it. Tips have one frame per
// language (frame 2 x entry + language). Options and key pictures are drawn
// near white, since the game tints the entries that are not selected grey.
#include <cmath>
#include <string>

#include "art.h"
#include "art_text.h"
#include "content_output.h"

namespace {

struct Words {
    const char* rus;
    const char* jap;
};

// --- the backdrop ---------------------------------------------------------

void tree_crown(cairo_t* cr, Art_Random& rnd, double x, double y, double r, Rgb base) {
    // A rounded mass of foliage, lit from the moon side (left), edged with
    // small leaves so it does not read as a ball.
    for (int i = 0; i < 7; ++i) {
        double a = rnd.range(0, 2 * pi), d = rnd.range(0, r * 0.5);
        double rr = r * rnd.range(0.45, 0.65);
        cairo_arc(cr, x + std::cos(a) * d, y + std::sin(a) * d * 0.8, rr, 0, 2 * pi);
        set_rgb(cr, darker(base, 0.45));
        cairo_fill(cr);
    }
    int leaves = static_cast<int>(r * r * 0.1) + 12;
    for (int i = 0; i < leaves; ++i) {
        double a = rnd.range(0, 2 * pi), d = std::sqrt(rnd.unit()) * r;
        double px = x + std::cos(a) * d, py = y + std::sin(a) * d * 0.85;
        double light = 0.5 - std::cos(a) * 0.3 * d / r - std::sin(a) * 0.2 * d / r;
        Rgb c = mix(base, hex_rgb(0xffb040), rnd.range(0, 0.3));
        c = light > 0.5 ? lighter(c, (light - 0.5) * 0.4) : darker(c, (0.5 - light) * 0.9);
        double size = rnd.range(2.0, 3.6) * (1 + r / 60);
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, rnd.range(0, 2 * pi));
        cairo_scale(cr, size, size);
        cairo_move_to(cr, 0, -1);
        cairo_curve_to(cr, 0.6, -0.5, 0.6, 0.5, 0, 1);
        cairo_curve_to(cr, -0.6, 0.5, -0.6, -0.5, 0, -1);
        cairo_restore(cr);
        set_rgb(cr, c, 0.95);
        cairo_fill(cr);
    }
}

void draw_dusk_forest(cairo_t* cr, int w, int h, uint32_t seed) {
    Art_Random rnd(seed);
    // Sky: deep violet to amber at the horizon.
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.10, 0.07, 0.20);
    cairo_pattern_add_color_stop_rgb(sky, 0.45, 0.42, 0.20, 0.28);
    cairo_pattern_add_color_stop_rgb(sky, 0.7, 0.95, 0.55, 0.25);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.35, 0.14, 0.06);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    // Stars in the upper sky.
    for (int i = 0; i < 70; ++i) {
        double x = rnd.range(0, w), y = rnd.range(0, h * 0.4);
        glow(cr, x, y, rnd.range(1, 2.5), {1, 0.95, 0.9}, rnd.range(0.3, 0.9) * (1 - y / (h * 0.4)));
    }
    // The moon, pale and cold: winter is coming.
    double mx = w * 0.74, my = h * 0.2;
    glow(cr, mx, my, 90, hex_rgb(0xc8d8ff), 0.35);
    cairo_arc(cr, mx, my, 30, 0, 2 * pi);
    fill_radial(cr, mx - 8, my - 8, 40, hex_rgb(0xffffff), hex_rgb(0xc8d0f0));
    cairo_new_path(cr);
    // Far hills.
    for (int layer = 0; layer < 3; ++layer) {
        double base = h * (0.62 + layer * 0.08);
        Rgb c = mix(hex_rgb(0x6a2a3a), hex_rgb(0x1e0c0a), layer / 2.0);
        cairo_move_to(cr, 0, h);
        for (int x = 0; x <= w; x += 8) {
            double y = base - 18 * std::sin(x * 0.01 + layer * 1.7 + seed) -
                       9 * std::sin(x * 0.031 + layer);
            cairo_line_to(cr, x, y);
        }
        cairo_line_to(cr, w, h);
        cairo_close_path(cr);
        set_rgb(cr, c, 0.95);
        cairo_fill(cr);
        // Tree crowns along the ridge.
        int trees = 26 + layer * 6;
        for (int i = 0; i < trees; ++i) {
            double x = rnd.range(-20, w + 20);
            double y = base - 12 * std::sin(x * 0.01 + layer * 1.7 + seed) + rnd.range(-4, 8);
            double r = 10 + layer * 7 + rnd.range(0, 8);
            Rgb leaves = mix(mix(hex_rgb(0xc8401a), hex_rgb(0xe89a2a), rnd.unit()), c, 0.55 - layer * 0.2);
            tree_crown(cr, rnd, x, y, r, leaves);
        }
    }
    // Evening mist.
    for (int i = 0; i < 8; ++i) {
        glow_ellipse(cr, rnd.range(0, w), h * rnd.range(0.7, 0.95), rnd.range(80, 160), 18,
                     hex_rgb(0xffc890), 0.18);
    }
    // The forest floor in front: dark earth under a carpet of leaves.
    cairo_move_to(cr, 0, h);
    for (int x = 0; x <= w; x += 10) cairo_line_to(cr, x, h * 0.9 - 10 * std::sin(x * 0.013 + 1));
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    fill_vertical(cr, h * 0.86, h, hex_rgb(0x2a1008), hex_rgb(0x100604));
    cairo_new_path(cr);
    for (int i = 0; i < 260; ++i) {
        double x = rnd.range(0, w), y = rnd.range(h * 0.88, h);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, rnd.range(0, 2 * pi));
        cairo_scale(cr, rnd.range(3, 6), rnd.range(1.5, 3));
        cairo_arc(cr, 0, 0, 1, 0, 2 * pi);
        cairo_restore(cr);
        set_rgb(cr, mix(hex_rgb(0x8a2a10), hex_rgb(0xd08a2a), rnd.unit()), rnd.range(0.5, 0.9));
        cairo_fill(cr);
    }
    // Big dark trunks and crowns framing the picture.
    for (int side = 0; side < 2; ++side) {
        double x = side == 0 ? 30 : w - 40;
        cairo_move_to(cr, x - 14, h);
        cairo_curve_to(cr, x - 8, h * 0.6, x - 10, h * 0.3, x - 4, 0);
        cairo_line_to(cr, x + 12, 0);
        cairo_curve_to(cr, x + 8, h * 0.3, x + 12, h * 0.6, x + 20, h);
        cairo_close_path(cr);
        set_rgb(cr, hex_rgb(0x140806));
        cairo_fill(cr);
        for (int i = 0; i < 5; ++i) {
            tree_crown(cr, rnd, x + rnd.range(-40, 40), rnd.range(-10, 70), rnd.range(30, 50),
                       mix(hex_rgb(0x8a2010), hex_rgb(0x3a0c06), 0.4));
        }
    }
}

// --- the logo ---------------------------------------------------------------

void draw_logo(cairo_t* cr, double x, double y) {
    Text_Style s;
    s.size = 92;
    s.top = hex_rgb(0xfff6e0);
    s.bottom = hex_rgb(0xf0902a);
    s.outline = hex_rgb(0x2a0c04);
    s.outline_width = 4;
    s.glow = hex_rgb(0xff8020);
    s.glow_alpha = 0.7;
    s.glow_width = 10;
    draw_text(cr, Face::serif_bold, s, x, y, "Mirel");
    // A leaf dotting the i.
    double iw = measure_text(Face::serif_bold, 92, "M").width;
    cairo_save(cr);
    cairo_translate(cr, x + iw + 24, y - 78);
    cairo_rotate(cr, 0.5);
    cairo_move_to(cr, 0, -11);
    cairo_curve_to(cr, 9, -5, 9, 5, 0, 11);
    cairo_curve_to(cr, -9, 5, -9, -5, 0, -11);
    set_rgb(cr, hex_rgb(0x3a0c04));
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    fill_radial(cr, 0, -3, 12, hex_rgb(0xffd060), hex_rgb(0xd03a10));
    cairo_restore(cr);
    Text_Style sub;
    sub.size = 20;
    sub.top = hex_rgb(0xfff0d8);
    sub.bottom = hex_rgb(0xffc070);
    sub.outline = hex_rgb(0x2a0c04);
    sub.outline_width = 2.2;
    sub.glow = hex_rgb(0xff8020);
    sub.glow_alpha = 0.4;
    draw_text(cr, Face::sans_bold, sub, x + 8, y + 32, "Осенний ветер");
    Text_Style jap = sub;
    jap.size = 19;
    jap.embolden = 0.8;
    draw_text(cr, Face::gothic, jap, x + 8, y + 58, "秋風のミレル");
}

// --- entries ----------------------------------------------------------------

// `baseline`: where the Russian line sits; the Japanese one follows under it.
// A word too long for the frame's width `w` is drawn smaller.
void entry_picture(cairo_t* cr, const Words& words, double w, double baseline, bool selected,
                   bool white, double rus_size, double jap_size) {
    while (measure_text(Face::sans_bold, rus_size, words.rus).width > w - 14) rus_size -= 0.5;
    while (measure_text(Face::gothic, jap_size, words.jap).width > w - 16) jap_size -= 0.5;
    Text_Style s;
    s.size = rus_size;
    if (white) {
        s.top = {1, 1, 1};
        s.bottom = hex_rgb(0xe8e4dc);
        s.outline = hex_rgb(0x2a1a10);
    } else if (selected) {
        s.top = hex_rgb(0xfffbe8);
        s.bottom = hex_rgb(0xffb030);
        s.outline = hex_rgb(0x3a1404);
        s.glow = hex_rgb(0xff9020);
        s.glow_alpha = 0.75;
    } else {
        s.top = hex_rgb(0xd8c8b8);
        s.bottom = hex_rgb(0x9a7a68);
        s.outline = hex_rgb(0x1a0e08);
    }
    s.outline_width = 2.2;
    Text_Style j = s;
    j.size = jap_size;
    j.outline_width = 1.8;
    j.embolden = 0.5;
    j.glow_alpha *= 0.5;
    draw_text(cr, Face::sans_bold, s, 6, baseline, words.rus);
    draw_text(cr, Face::gothic, j, 10, baseline + jap_size + 2, words.jap);
}

const Words main_entries[5] = {
    {"Начать игру", "ゲームスタート"},
    {"Повтор", "リプレイ"},
    {"Настройки", "オプション"},
    {"Выход", "終了"},
    {"Мирель", "ミレル"},
};

const Words main_tips[4] = {
    {"Начать новую игру с первого уровня", "最初のステージからゲームを始めます"},
    {"Посмотреть запись последней игры", "最後のプレイのリプレイを再生します"},
    {"Жизни, громкость, экран, язык и кнопки", "残機・音量・画面・言語・ボタンの設定"},
    {"Закрыть игру", "ゲームを終了します"},
};

const Words option_entries[12] = {
    {"Жизни", "残機"},
    {"Музыка", "音楽の音量"},
    {"Звуки", "効果音の音量"},
    {"Экран", "画面モード"},
    {"Язык", "言語"},
    {"Кнопки", "パッドのボタン"},
    {"Сброс", "初期設定に戻す"},
    {"Назад", "戻る"},
    {"Весь экран", "フルスクリーン"},
    {"Окно", "ウィンドウ"},
    {"Японский", "日本語"},
    {"Русский", "ロシア語"},
};

const Words key_entries[11] = {
    {"Выстрел", "ショット"},
    {"Бомба", "ボム"},
    {"Фокус", "低速移動"},
    {"Особое", "スペシャル"},
    {"Пауза", "ポーズ"},
    {"Мёртвая зона", "スティックの遊び"},
    {"Особое и фокус", "スペシャルで低速"},
    {"Сброс", "初期設定に戻す"},
    {"Назад", "戻る"},
    {"Нет", "いいえ"},
    {"Да", "はい"},
};

// Tips shared by the options (entries 0-7) and the key configuration (0-8).
const Words option_tips[9] = {
    {"←→ — изменить  ·  в раскладке: нажмите кнопку геймпада", "←→：変更　ボタン設定：パッドのボタンを押す"},
    {"←→ — изменить  ·  в раскладке: нажмите кнопку геймпада", "←→：変更　ボタン設定：パッドのボタンを押す"},
    {"←→ — изменить  ·  в раскладке: нажмите кнопку геймпада", "←→：変更　ボタン設定：パッドのボタンを押す"},
    {"←→ — выбрать, Z — применить  ·  в раскладке: нажмите кнопку", "←→：選択　Z：決定　ボタン設定：ボタンを押す"},
    {"←→ — выбрать  ·  в раскладке: нажмите кнопку геймпада", "←→：選択　ボタン設定：パッドのボタンを押す"},
    {"Z — открыть  ·  ←→ — настроить", "Z：決定　←→：調整"},
    {"Z — сбросить  ·  ←→ — выбрать", "Z：初期設定に戻す　←→：選択"},
    {"Z — подтвердить  ·  Esc — назад", "Z：決定　Esc：戻る"},
    {"Z — вернуться к настройкам", "Z：オプションに戻る"},
};

void tip_frames(Sheet& sheet, const Words* tips, int count) {
    for (int i = 0; i < count; ++i) {
        for (int language = 0; language < 2; ++language) {
            cairo_t* cr = sheet.frame(i * 2 + language);
            Text_Style s;
            s.size = language == 1 ? 14 : 13;
            s.top = hex_rgb(0xfff4e0);
            s.bottom = hex_rgb(0xf0c890);
            s.outline = hex_rgb(0x1a0a04);
            s.outline_width = 2;
            s.embolden = language == 1 ? 0.4 : 0;
            draw_text_centred(cr, face_for_language(language), s, sheet.frame_w() / 2.0, 16,
                              language == 1 ? tips[i].jap : tips[i].rus);
            sheet.end_frame();
        }
    }
}

void make_menus(Content_Output& out) {
    {
        Sheet bg(640, 480, 1, 1);
        draw_dusk_forest(bg.context(), 640, 480, 11);
        bg.save(out, "images/menus/background.png");
    }
    {
        Sheet splash(640, 480, 1, 1);
        cairo_t* cr = splash.context();
        draw_dusk_forest(cr, 640, 480, 23);
        cairo_rectangle(cr, 0, 0, 640, 480);
        set_rgb(cr, {0, 0, 0}, 0.35);
        cairo_fill(cr);
        draw_logo(cr, 190, 230);
        Text_Style s;
        s.size = 14;
        s.outline_width = 1.8;
        s.top = {1, 1, 1};
        s.bottom = hex_rgb(0xffd8a0);
        draw_text_centred(cr, Face::sans_bold, s, 320, 440, "Загрузка…");
        s.embolden = 0.4;
        draw_text_centred(cr, Face::gothic, s, 320, 460, "読み込み中…");
        splash.save(out, "images/menus/splash.png");
    }
    {
        Sheet title(640, 260, 1, 1);
        draw_logo(title.context(), 64, 130);
        title.save(out, "images/menus/title.png");
    }
    {
        Sheet menu(176, 46, 2, 5);
        for (int i = 0; i < 5; ++i) {
            for (int selected = 1; selected >= 0; --selected) {
                entry_picture(menu.frame(i * 2 + (1 - selected)), main_entries[i], 176, 24, selected,
                              false, 21, 13);
                menu.end_frame();
            }
        }
        menu.save(out, "images/menus/main_entries.png");
    }
    {
        Sheet tips(520, 22, 2, 4);
        tip_frames(tips, main_tips, 4);
        tips.save(out, "images/menus/main_tips.png");
    }
    {
        // The numbers beside the entries sit 30 pixels below an entry's top:
        // so does each entry's first line.
        Sheet options(160, 44, 4, 3);
        for (int i = 0; i < 12; ++i) {
            entry_picture(options.frame(i), option_entries[i], 160, 28, true, true, 18, 12);
            options.end_frame();
        }
        options.save(out, "images/menus/options.png");
    }
    {
        Sheet keys(160, 44, 4, 3);
        for (int i = 0; i < 11; ++i) {
            entry_picture(keys.frame(i), key_entries[i], 160, 28, true, true, 18, 12);
            keys.end_frame();
        }
        keys.save(out, "images/menus/keys.png");
    }
    {
        Sheet tips(560, 22, 2, 9);
        tip_frames(tips, option_tips, 9);
        tips.save(out, "images/menus/option_tips.png");
    }
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_menus", make_menus);
