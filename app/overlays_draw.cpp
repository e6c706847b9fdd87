// The pause screen (1001) and the stage results (1500) of the Application:
// their rules run in title_menus.cpp; here they are drawn over the captured
// picture of the run, and the results keep the stage's background, the
// player and the effects moving.
#include "app/overlays_draw.h"

#include <cstdio>

#include "app/application.h"
#include "app/item_draw.h"
#include "app/screen_state.h"
#include "render/background.h"
#include "render/dialog.h"
#include "render/player_draw.h"
#include "render/stage_draw.h"
#include "world/effect_pool.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/run_flags.h"

namespace {

const sdk::Colorf white(1, 1, 1, 1);
const sdk::Colorf grey(128 / 255.0f, 128 / 255.0f, 128 / 255.0f, 1);
constexpr float centre_x = 224.0f;

}  // namespace

void draw_pause_texts(sdk::Canvas& canvas, const sdk::Font& font, const Menu_State& menu) {
    auto centred = [&](const char* text, float y, const sdk::Colorf& colour, float shift = 0.0f) {
        int w = font.get_text_size(canvas, text).width;
        font.draw_text(canvas, centre_x - static_cast<float>(w / 2) + shift, y, text, colour);
    };
    if (menu.confirm || menu.title_chosen) {
        centred(menu.choice == 1 ? "Really exit?" : "Really restart?", 240, white);
        centred("Yes", 270, menu.cursor == 0 ? white : grey, -30.0f);
        centred("No", 270, menu.cursor == 1 ? white : grey, 30.0f);
    } else {
        centred("GAME PAUSED", 240, white);
        const char* entries[] = {"Continue", "Title", "Restart"};
        for (int i = 0; i < 3; ++i)
            centred(entries[i], 270.0f + 30.0f * i, menu.cursor == i ? white : grey);
    }
}

void draw_results_texts(sdk::Canvas& canvas, const sdk::Font& font, const Menu_State& menu) {
    char value[32];
    auto line = [&](const char* label, float y, long long v) {
        font.draw_text(canvas, 70, y, label, white);
        std::snprintf(value, sizeof value, "%lld", v);
        font.draw_text(canvas, 280, y, value, white);
    };
    line("Points         :", 100, static_cast<uint32_t>(player.points) * 10000u);
    line("Graze * Points :", 120,
         static_cast<uint32_t>(player.graze) * static_cast<uint32_t>(player.points) * 500u);
    line("Bullets blown  :", 140, static_cast<int32_t>(menu.blown_ratio * 5000000.0f));
    font.draw_text(canvas, 270, 160, "+", white);
    line("Stage score    :", 180, menu.previous_score);
    line("Total score    :", 220, player.score);
}

void Application::run_pause(float dt) {
    Screen_Context c{menu, counters, *this};
    bool was_paused = pause_requested != 0;
    run_pause_logic(c, dt);
    if (was_paused) draw_pause();
    draw_letterbox();
}

void Application::draw_pause() {
    canvas.clear(sdk::Colorf::black());
    canvas.set_blend_mode(sdk::Blend_Mode::none);
    capture_image.draw(canvas, sdk::Rectf(0, 0, 640, 480));
    canvas.set_blend_mode(sdk::Blend_Mode::normal);
    draw_pause_texts(canvas, system_font, menu);
}

void Application::run_results(float dt) {
    Screen_Context c{menu, counters, *this};
    run_results_logic(c, dt);
    stage_background.update(dt);
    effect_pool.update(dt);
    Player_Input input = read_play_input();
    player.update(dt, input);
    draw_results();
    draw_letterbox();
}

void Application::draw_results() {
    canvas.clear(sdk::Colorf::black());
    game_screen.set_frame(0);
    game_screen.draw(canvas, 0, 0);
    canvas.set_cliprect(screen_field);
    stage_background.draw(canvas);
    draw_player_bomb_and_wind(canvas);
    draw_player(canvas);
    draw_effects(canvas);
    canvas.reset_cliprect();
    draw_hud();
    if (dialog_active) dialog.draw(canvas);
    canvas.fill_rect({48, 50, 400, 430}, sdk::Colorf(0, 0, 0, 0.3f));
    draw_results_texts(canvas, system_font, menu);
}
