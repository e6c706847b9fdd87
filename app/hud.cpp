// The score panel right of the play field, the boss's health bar with the
// spell card's countdown, and the boss backdrop (the spell-card background
// with the boss's magic rings). Logical units of the 640 x 480 picture; the
// panel's texts are formatted into fixed buffers, as this runs every frame.
#include "app/hud.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/application.h"
#include "app/screen_state.h"
#include "render/appearance.h"
#include "render/background.h"
#include "render/ring_sprite.h"
#include "render/stage_draw.h"
#include "world/effect.h"
#include "world/enemy.h"
#include "world/enemy_lists.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/spellcard.h"

namespace {

const sdk::Colorf white(1, 1, 1, 1);
const sdk::Colorf red(0.941f, 0.502f, 0.502f, 1), red_edge(0.980f, 0.502f, 0.447f, 1);
const sdk::Colorf light(0.8f, 0.8f, 0.8f, 1), dark(0.5f, 0.5f, 0.5f, 1);

EnemyBoss* find_boss() {
    for (const auto& e : enemy_lists.active)
        if (e && e->is_boss) return static_cast<EnemyBoss*>(e.get());
    return nullptr;
}

// "%010u": left-padded with "0" to ten characters, a longer number whole.
void format_score(char (&buf)[24], uint32_t v) { std::snprintf(buf, sizeof buf, "%010u", v); }

}  // namespace

void Application::draw_hud() {
    struct Label {
        int frame;
        float y;
    };
    const Label labels[] = {{0, 16},  {1, 40},  {2, 74},  {3, 98},
                            {7, 132}, {4, 156}, {5, 190}, {6, 214}};
    game_stats.set_alpha(1.0f);
    game_stats.set_scale(1.0f, 1.0f);
    for (const Label& l : labels) {
        game_stats.set_frame(l.frame);
        game_stats.draw(canvas, 434, l.y);
    }
    // A replay is a film, maybe another player's or a damaged one: its score
    // shows above the best score it passes but never becomes the best score.
    if (app_state != state_replay && hi_score < player.score) hi_score = player.score;

    char buf[24];
    format_score(buf, std::max(hi_score, player.score));
    font_score.draw_text(canvas, 518, 16, buf, white);
    format_score(buf, player.score);
    font_score.draw_text(canvas, 518, 40, buf, white);

    game_stats.set_frame(9);
    for (int i = 0; i < player.lives; ++i) game_stats.draw(canvas, 518.0f + 25.0f * i, 74);
    game_stats.set_frame(10);
    for (int i = 0; i < player.bombs; ++i) game_stats.draw(canvas, 518.0f + 25.0f * i, 98);

    if (player.power >= 128) {
        game_stats.set_frame(8);
        game_stats.draw(canvas, 518, 132);
    } else {
        std::snprintf(buf, sizeof buf, "%d/128", static_cast<int>(player.power));
        font_score.draw_text(canvas, 518, 132, buf, white);
    }
    std::snprintf(buf, sizeof buf, "%d%%", static_cast<int>(player.wind_gauge));
    font_score.draw_text(canvas, 580, 156, buf, white);
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(player.points));
    font_score.draw_text(canvas, 518, 190, buf, white);
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(player.graze));
    font_score.draw_text(canvas, 518, 216, buf, white);
}

void draw_boss_bar(sdk::Canvas& canvas, const sdk::Font& font, EnemyBoss& boss) {
    if (boss.phases.empty()) return;
    size_t phase = static_cast<size_t>(std::max(0, boss.phase));
    const Spellcard_Entry& e = boss.phases[std::min(phase, boss.phases.size() - 1)];
    float n = static_cast<float>(e.hp_nonspell), s = static_cast<float>(e.hp_spell);
    float v = spellcard_running ? static_cast<float>(boss.boss_hp) : (boss.half == 0 ? n : s);
    if (v < 0) v = 0;
    float length = boss.age <= 1700.0f ? boss.age / 1700.0f * 340.0f : 340.0f;
    float s10 = s / 10.0f;
    float whole = s10 + n;
    // A phase without hit points has no bar to divide; its countdown and
    // name are still shown.
    if (whole > 0) {
        float red_fraction, grey_length = 0.0f;
        if (boss.half == 0) {
            red_fraction = s10 / whole;
            grey_length = v / whole * length;
        } else {
            red_fraction = (v / 10.0f) / whole;
        }
        float xr = 40.0f + red_fraction * length;
        for (float y : {25.0f, 26.0f, 27.0f}) canvas.draw_line(40, y, xr, y, red);
        canvas.draw_line(40, 28, xr, 28, red_edge);
        if (boss.half == 0) {
            for (float y : {25.0f, 26.0f, 27.0f})
                canvas.draw_line(xr, y, xr + grey_length, y, light);
            canvas.draw_line(xr, 28, xr + grey_length, 28, dark);
        }
    }
    if (spellcard_running) {
        int seconds = static_cast<int>(boss.time_limit) / 1000 + 1;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d", seconds);
        font.draw_text(canvas, 385, 16, buf, seconds < 6 ? red : light);
        Effect& name = *boss.name_effect;
        if (name.appearance && !name.appearance->draw(canvas, name)) name.alive = 0;
    }
}

void Application::draw_boss_hud() {
    if (EnemyBoss* boss = find_boss()) draw_boss_bar(canvas, font_score, *boss);
}

void Application::draw_boss_background(float dt) {
    spell_background.update(dt);
    spell_background.draw(canvas);
    // `screen_field` is already in whole window pixels (rounded half up).
    canvas.set_cliprect(screen_field);
    update_and_draw_boss_rings(canvas, *ring_sprite, dt);
}
