// Drawing the title screens: the fade, the language choice, the main menu,
// the cross-fade into the options, the options and the key configuration.
// Their rules are in title_menus.cpp; this reads `menu` and the settings.
// Logical units of the 640 x 480 picture; sprites are drawn from their
// top-left corner.
#include <cmath>
#include <cstdio>

#include "app/application.h"
#include "app/screen_state.h"
#include "render/background.h"
#include "sdk/core/math.h"
#include "world/settings.h"

namespace {

const sdk::Colorf white(1, 1, 1, 1);
const sdk::Colorf dim(0.5f, 0.5f, 0.5f, 0.75f);

float sin_deg(float d) { return std::sin(d * sdk::pi / 180.0f); }
float cos_deg(float d) { return std::cos(d * sdk::pi / 180.0f); }

void outline(sdk::Canvas& canvas, const sdk::Rectf& r, const sdk::Colorf& c) {
    canvas.draw_line(r.left, r.top, r.right, r.top, c);
    canvas.draw_line(r.right, r.top, r.right, r.bottom, c);
    canvas.draw_line(r.right, r.bottom, r.left, r.bottom, c);
    canvas.draw_line(r.left, r.bottom, r.left, r.top, c);
}

// Draws the current frame of `s` scaled by `scale` about its centre, whose
// unscaled top-left corner is (x, y).
void draw_scaled(sdk::Canvas& canvas, sdk::Sprite& s, float x, float y, float scale) {
    float w = static_cast<float>(s.get_width()), h = static_cast<float>(s.get_height());
    s.set_scale(scale, scale);
    s.draw(canvas, x + w * (1.0f - scale) * 0.5f, y + h * (1.0f - scale) * 0.5f);
    s.set_scale(1.0f, 1.0f);
}

// Centred on (cx, cy) whatever the sprite's own origin.
void draw_centred(sdk::Canvas& canvas, sdk::Sprite& s, int frame, float cx, float cy, float alpha) {
    s.set_frame(frame);
    s.set_color(sdk::Colorf(1, 1, 1, alpha));
    s.set_scale(1.0f, 1.0f);
    s.set_alignment(sdk::Origin::center);
    s.draw(canvas, cx, cy);
}

// "05" for 5, "100" for 100: at least two characters.
void two_digits(char (&buf)[16], int v, const char* suffix) {
    std::snprintf(buf, sizeof buf, "%02d%s", v, suffix);
}

}  // namespace

void Application::capture_picture() {
    sdk::Canvas saved = canvas;
    canvas = capture_canvas;
    canvas.set_transform(sdk::Transform{});
    canvas.reset_cliprect();
    // dt 0: the picture is drawn again as it stands, nothing moves.
    draw_screen(0.0f);
    capture_canvas.flush();
    canvas = saved;
}

void Application::draw_screen(float dt) {
    switch (app_state) {
        case state_language:
            draw_language(dt);
            break;
        case state_main_menu:
            draw_main_menu(dt);
            break;
        case state_options:
            draw_options(dt);
            break;
        case state_key_config:
            draw_key_config(dt);
            break;
        default:
            break;
    }
}

void Application::draw_fade() {
    canvas.clear(sdk::Colorf::black());
    capture_image.draw(canvas, sdk::Rectf(0, 0, 640, 480));
    screen_mask.set_frame(transition_frame);
    screen_mask.set_alpha(state_timer / fade_length);
    screen_mask.draw(canvas, 0, 0);
}

void Application::draw_language(float) {
    canvas.clear(sdk::Colorf::black());
    language_select.set_color(white);
    language_select.set_scale(1.0f, 1.0f);
    float w = static_cast<float>(language_select.get_width());
    float h = static_cast<float>(language_select.get_height());
    float x = 320.0f - w / 2;
    float tops[2] = {240.0f - 1.2f * h, 240.0f + 0.2f * h};
    for (int i = 0; i < 2; ++i) {
        language_select.set_frame(i);
        language_select.draw(canvas, x, tops[i]);
    }
    float top = tops[menu.cursor];
    if (menu.slide_timer)
        top += (tops[1 - menu.cursor] - tops[menu.cursor]) * std::min(state_timer / 100.0f, 1.0f);
    sdk::Rectf r(x, top, x + w, top + h);
    outline(canvas, r, sdk::Colorf(0.9f, 0.9f, 1.0f, 1.0f));
    outline(canvas, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
            sdk::Colorf(0.9f, 0.9f, 1.0f, 0.7f));
    outline(canvas, {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1},
            sdk::Colorf(0.9f, 0.9f, 1.0f, 0.7f));
}

void Application::draw_main_menu(float dt) {
    float t = state_timer;
    canvas.clear(sdk::Colorf::black());
    mm_background.set_frame(0);
    mm_background.set_alpha(menu.backdrop_alpha);
    mm_background.draw(canvas, 0, 0);
    perf_checkpoint("Menu background drawn");
    stage_background.update(dt);
    canvas.reset_cliprect();
    stage_background.draw(canvas);
    perf_checkpoint("Menu background effects drawn");

    float x = t < 600.0f ? 740.0f - 280.0f * sin_deg(0.15f * t) : 460.0f;
    for (int i = 0; i < 4; ++i) {
        bool selected = i == menu.cursor;
        int frame = selected ? 2 * i : 2 * i + 1;
        if (selected && menu.action_timer && (menu.action_timer / 50) % 2 == 1) frame = 2 * i + 1;
        mm_menu.set_frame(frame);
        mm_menu.set_alpha(selected ? 1.0f : 0.8f);
        float scale = selected && menu.slide_timer
                          ? (600.0f - static_cast<float>(menu.slide_timer)) / 500.0f
                          : 1.0f;
        draw_scaled(canvas, mm_menu, x, 270.0f + 50.0f * i, scale);
    }
    mm_title1.set_frame(0);
    mm_title1.set_alpha(1.0f);
    mm_title1.draw(canvas, t < 300.0f ? 300.0f * sin_deg(0.3f * t) - 300.0f : 0.0f, 0);
    draw_centred(canvas, mm_menu_tips, 2 * menu.cursor + language, 320, 470, 1.0f);
    if (menu.mask_fade) {
        if (t <= 200.0f) {
            screen_mask.set_frame(transition_frame);
            screen_mask.set_alpha((200.0f - t) / 200.0f);
            screen_mask.draw(canvas, 0, 0);
        } else {
            menu.mask_fade = 0;
        }
    }
    perf_checkpoint("Menu drawn");
    perf_checkpoint("Menu ready");
}

void Application::draw_options_fade() {
    float t = state_timer;
    canvas.clear(sdk::Colorf::black());
    mm_background.set_frame(0);
    mm_background.set_alpha(1.0f - 0.3f * t / 300.0f);
    mm_background.draw(canvas, 0, 0);
    mm_title1.set_alpha((300.0f - t) / 300.0f);
    mm_title1.draw(canvas, 0, 0);
    for (int i = 0; i < 5; ++i) {
        bool selected = i == menu.cursor;
        mm_menu.set_frame(selected ? 2 * i : 2 * i + 1);
        mm_menu.set_alpha(selected ? 1.0f : 0.8f);
        mm_menu.set_scale(1.0f, 1.0f);
        mm_menu.draw(canvas, 900.0f - 280.0f * cos_deg(0.15f * t), 340.0f + 50.0f * i);
    }
}

// The entries of the options or the key configuration: frame = entry, the
// selected one white (blinking while its action runs), the others dimmed;
// the whole column fades in and pulses over its first 300 ms.
void Application::draw_option_column(int entries, float top, sdk::Sprite& frames) {
    float t = state_timer;
    float alpha = t < 300.0f ? t / 300.0f : 1.0f;
    float pulse = t < 300.0f ? 1.0f + 0.3f * sin_deg(0.6f * t) : 1.0f;
    for (int i = 0; i < entries; ++i) {
        bool selected = i == menu.cursor;
        sdk::Colorf c = selected ? white : dim;
        if (selected && menu.action_timer && (menu.action_timer / 50) % 2 == 1)
            c = sdk::Colorf(0.5f, 0.5f, 0.5f, 1);
        c.a *= alpha;
        frames.set_frame(i);
        frames.set_color(c);
        float scale = pulse;
        if (selected && menu.slide_timer)
            scale *= (600.0f - static_cast<float>(menu.slide_timer)) / 500.0f;
        draw_scaled(canvas, frames, 60, top + 45.0f * i, scale);
    }
    frames.set_color(white);
}

float Application::draw_settings_backdrop(float dt, int entries, float top,
                                          sdk::Sprite& frames) {
    canvas.clear(sdk::Colorf::black());
    mm_background.set_frame(0);
    mm_background.set_alpha(0.7f);
    mm_background.draw(canvas, 0, 0);
    stage_background.update(dt);
    canvas.reset_cliprect();
    stage_background.draw(canvas);
    draw_option_column(entries, top, frames);
    return state_timer < 300.0f ? state_timer / 300.0f : 1.0f;
}

void Application::draw_options(float dt) {
    float alpha = draw_settings_backdrop(dt, 8, 50, om_options);
    auto colour = [alpha](bool on) {
        sdk::Colorf c = on ? white : dim;
        c.a *= alpha;
        return c;
    };
    auto baseline = [](int entry) { return 50.0f + 45.0f * entry + 30.0f; };
    char buf[16];
    for (int k = 0; k < 5; ++k) {
        std::snprintf(buf, sizeof buf, "%d", k + 1);
        float w = static_cast<float>(font_options.get_text_size(canvas, buf).width);
        font_options.draw_text(canvas, 230.0f + 30.0f * k - w / 2, baseline(0), buf,
                               colour(start_lives == k + 1));
    }
    two_digits(buf, music_volume_pct, "%");
    font_options.draw_text(canvas, 230, baseline(1), buf, colour(true));
    two_digits(buf, sound_volume_pct, "%");
    font_options.draw_text(canvas, 230, baseline(2), buf, colour(true));

    // Window mode: frame 8 full screen, 9 windowed; language: 11 is
    // language 0, 10 language 1.
    struct Pair {
        int entry, first, second;
        bool first_on;
    };
    const Pair pairs[] = {{3, 8, 9, menu.pending_window_mode == 1}, {4, 11, 10, language == 0}};
    for (const Pair& p : pairs) {
        float y = 50.0f + 45.0f * p.entry;
        om_options.set_scale(1.0f, 1.0f);
        om_options.set_frame(p.first);
        om_options.set_color(colour(p.first_on));
        om_options.draw(canvas, 230, y);
        float x2 = 230.0f + static_cast<float>(om_options.get_width()) + 20.0f;
        om_options.set_frame(p.second);
        om_options.set_color(colour(!p.first_on));
        om_options.draw(canvas, x2, y);
    }
    om_options.set_color(white);
    draw_centred(canvas, om_tips, 2 * menu.cursor + language, 320, 470, alpha);
}

void Application::draw_key_config(float dt) {
    float alpha = draw_settings_backdrop(dt, 9, 20, om_keys);
    auto colour = [alpha](bool on) {
        sdk::Colorf c = on ? white : dim;
        c.a *= alpha;
        return c;
    };
    auto baseline = [](int entry) { return 20.0f + 45.0f * entry + 30.0f; };
    const int32_t buttons[] = {button_shoot, button_bomb, button_focus, button_special,
                               button_pause};
    char buf[16];
    for (int i = 0; i < 5; ++i) {
        two_digits(buf, buttons[i], "");
        font_options.draw_text(canvas, 330, baseline(i), buf, colour(menu.cursor == i));
    }
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(dead_zone * 100.0f));
    font_options.draw_text(canvas, 330, baseline(5), buf, colour(menu.cursor == 5));
    // "om_keys" frame 9 is "no", frame 10 "yes".
    om_keys.set_scale(1.0f, 1.0f);
    for (int k = 0; k < 2; ++k) {
        om_keys.set_frame(9 + k);
        om_keys.set_color(colour(special_focuses == k));
        om_keys.draw(canvas, 330.0f + k * (static_cast<float>(om_keys.get_width()) + 20.0f),
                     20.0f + 45.0f * 6);
    }
    om_keys.set_color(white);
    draw_centred(canvas, om_tips, 2 * menu.cursor + language, 320, 470, alpha);
}
