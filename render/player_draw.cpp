#include "render/player_draw.h"

#include <cmath>

#include "render/background.h"
#include "render/look_helpers.h"
#include "render/player_sprites.h"
#include "render/sprite_cache.h"
#include "sdk/canvas.h"
#include "sdk/core/exception.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/random.h"
#include "sdk/core/string_help.h"
#include "world/geometry.h"
#include "world/player.h"

Player_Sprites player_sprites;

namespace {

// The death explosion's five bursts. The fifth points between the others at
// 163.5 degrees, the heading of (cos 170, sin 17) made a unit vector.
const sdk::Vec2f burst_directions[5] = {
    sdk::Vec2f(std::cos(-30.0f * sdk::pi / 180.0f), std::sin(-30.0f * sdk::pi / 180.0f)),
    sdk::Vec2f(std::cos(222.0f * sdk::pi / 180.0f), std::sin(222.0f * sdk::pi / 180.0f)),
    sdk::Vec2f(std::cos(310.0f * sdk::pi / 180.0f), std::sin(310.0f * sdk::pi / 180.0f)),
    sdk::Vec2f(std::cos(99.0f * sdk::pi / 180.0f), std::sin(99.0f * sdk::pi / 180.0f)),
    sdk::Vec2f(std::cos(170.0f * sdk::pi / 180.0f), std::sin(17.0f * sdk::pi / 180.0f))
        .normalized(),
};

// The bomb's gusts: columns that scroll upwards and wrap.
struct Gust_Column {
    float x;
    float offset;
    float factor;
    int modulus;
};

const Gust_Column gust_columns[] = {
    {50, 0, 1.0f, 600},    {120, 55, 1.0f, 622},  {130, 500, 1.2f, 870}, {321, 0, 1.0f, 610},
    {250, 115, 1.0f, 721}, {400, 240, 1.0f, 670}, {80, 260, 1.0f, 690},  {190, 300, 1.1f, 870},
};

void draw_death(sdk::Canvas& canvas, const Player_Sprites& ps) {
    float death_time = player.death_time > 0.0f ? player.death_time : 1.0f;
    float t = player.death_timer / death_time;
    float s = t * 5.0f + 1.0f;
    float f = (death_time - player.death_timer) / death_time;
    if (player.death_timer < death_time * 0.5f)
        ps.player_sprite.draw(canvas, player.prev_x, player.prev_y);
    if (sdk::Sprite* flash = ps.flash_sprite) {
        flash->set_alpha(f + 0.5f);
        flash->set_scale(4.0f - s * 0.5f, 4.0f - s * 0.5f);
        centre(*flash);
        for (const sdk::Vec2f& d : burst_directions) {
            flash->set_frame(sdk::rand() % 4);
            flash->draw(canvas, player.prev_x + d.x * 100.0f * t, player.prev_y + d.y * 100.0f * t);
        }
    }
    if (sdk::Sprite* splash = ps.splash_sprite) {
        splash->set_frame(0);
        splash->set_alpha(f);
        splash->set_scale(s, s);
        centre(*splash);
        splash->draw(canvas, player.prev_x, player.prev_y);
    }
}

int character_frame() {
    int k = static_cast<int>(player.life_clock / 100.0f);
    int turning = static_cast<int>(player.lean_clock / 100.0f);
    switch (player.lean) {
        case -1:
            return player.lean_clock <= 400.0f ? 8 + turning : 12 + k % 4;
        case 1:
            return player.lean_clock <= 400.0f ? 16 + turning : 20 + k % 4;
        default:
            player.lean_clock = 0.0f;
            return k % 8;
    }
}

void draw_gauge(sdk::Canvas& canvas, sdk::Sprite& digits) {
    if (player.wind_gauge > 100.0f) player.wind_gauge = 100.0f;
    float gauge = player.wind_gauge;
    float g = gauge >= 30.0f ? 0.7f : 0.5f;
    float dy = -28.0f - g * 9.0f;
    float dx = gauge == 100.0f ? g * 29.5f : gauge > 9.0f ? g * 22.5f : g * 15.5f;
    centre(digits);
    digits.set_scale(g, g);
    digits.set_alpha(0.6f);
    digits.set_angle(sdk::Angle());
    digits.set_frame(10);
    digits.draw(canvas, player.x + dx, player.y + dy);
    dx -= 14.0f;
    for (int n = sdk::saturate_integer<int>(gauge); n > 0; n /= 10) {
        digits.set_frame(n % 10);
        digits.draw(canvas, player.x + dx, player.y + dy);
        dx -= g * 14.0f;
    }
}

}  // namespace

void load_player_sprites(sdk::Canvas& canvas, const sdk::Resource_Manager& resources) {
    const sdk::Resource_Document& doc = resources.get_doc();
    auto build = [&](const std::string& name, const char* key) {
        if (name.empty())
            throw sdk::Exception(sdk::string_format("%1: the player names no sprite under \"%2\"",
                                                    doc.get_name(), key));
        return sdk::Sprite(canvas, name, doc);
    };
    player_sprites.player_sprite = build(player.player_sprite_name, "player_sprite");
    player_sprites.focus_sprite = build(player.focus_sprite_name, "focus_sprite");
    player_sprites.wind_sprite = build(player.wind_sprite_name, "wind_sprite");
    player_sprites.wind_font_sprite = build(player.wind_font_sprite_name, "wind_font_sprite");
    player_sprites.splash_sprite = require_sprite("fairy_splash", "the player's death");
    player_sprites.flash_sprite = require_sprite("magic_flash", "the player's death");
    player.width = player_sprites.player_sprite.get_width();
    player.height = player_sprites.player_sprite.get_height();
}

void draw_player(sdk::Canvas& canvas) {
    Player_Sprites& ps = player_sprites;
    canvas.push_cliprect(screen_field);
    if (player.dying != 0) draw_death(canvas, ps);

    if (player.life_clock > player.death_time) {
        sdk::Sprite& s = ps.player_sprite;
        s.set_alpha(player.invincible == 0
                        ? 1.0f
                        : static_cast<float>(player.invincible % 100 + 100) / 200.0f);
        s.set_frame(character_frame());
        s.set_angle(sdk::Angle());
        centre(s);
        s.draw(canvas, player.x, player.y);
    }

    if (player.focus != 0 || player.focus_fade != 0) {
        sdk::Sprite& f = ps.focus_sprite;
        f.set_frame(0);
        f.set_alpha(player.focus != 0 && player.focus_fade >= 200
                        ? 1.0f
                        : static_cast<float>(player.focus_fade) / 200.0f);
        int turn = (static_cast<int>(player.life_clock) % 3600) / 10;
        f.set_angle(sdk::Angle::from_degrees(static_cast<float>(turn)));
        centre(f);
        f.draw(canvas, player.x, player.y);
    }

    draw_gauge(canvas, ps.wind_font_sprite);
    canvas.pop_cliprect();
}

void draw_player_bomb_and_wind(sdk::Canvas& canvas) {
    Player_Sprites& ps = player_sprites;
    canvas.push_cliprect(screen_field);

    if (player.bombing != 0) {
        float left = player.bomb_duration - player.bomb_clock;
        float b = 0.3f;
        if (player.bomb_clock < 100.0f) b = player.bomb_clock / 300.0f;
        if (left < 100.0f) b = left / 300.0f;
        if (sdk::Sprite* mask = get_sprite("screen_mask")) {
            mask->set_frame(0);
            mask->set_alpha(b);
            mask->set_scale(640.0f, 480.0f);
            mask->set_angle(sdk::Angle());
            mask->set_linear_filter(false);
            mask->set_alignment(sdk::Origin::top_left, 0.0f, 0.0f);
            mask->draw(canvas, 0.0f, 0.0f);
        }
        if (sdk::Sprite* gust = get_sprite("wind_gust")) {
            gust->set_alpha(0.9f);
            gust->set_scale(2.0f, 2.5f);
            gust->set_angle(sdk::Angle());
            gust->set_alignment(sdk::Origin::top_left, 0.0f, 0.0f);
            for (const Gust_Column& c : gust_columns) {
                int travelled = sdk::saturate_integer<int>(
                    (player.bomb_duration + c.offset - player.bomb_clock) * c.factor);
                gust->draw(canvas, c.x, static_cast<float>(travelled % c.modulus - 128));
            }
        }
        stage_background.blow_leaves_up();
    }

    sdk::Sprite& w = ps.wind_sprite;
    if (player.wind_blowing != 0) {
        float growth = player.wind_clock < 50.0f ? player.wind_clock / 71.4f + 0.3f : 1.0f;
        float alpha = player.wind_time_left < 50.0f ? player.wind_time_left / 50.0f : 1.0f;
        float scale =
            player.wind_radius > 0.0f ? player.wind_size * growth / player.wind_radius : 0.0f;
        w.set_scale(scale, scale);
        w.set_alpha(alpha);
        centre(w);
        w.set_angle(sdk::Angle::from_degrees(player.wind_clock));
        w.draw(canvas, player.prev_x, player.prev_y);
        stage_background.blow_leaves_away(sdk::Vec2f(player.x, player.y), player.wind_size);
        canvas.pop_cliprect();
        return;
    }

    if (player.shot_hold > player.time_to_activate_wind) {
        float held = player.shot_hold - player.time_to_activate_wind;
        float charge_time = player.time_wind_activation;
        bool charging = player.shot_hold < player.time_to_activate_wind + charge_time;
        w.set_alpha(charging ? held / charge_time : 1.0f);
        w.set_scale(0.5f, 0.5f);
        centre(w);
        w.set_angle(sdk::Angle::from_degrees(player.shot_hold * 2.0f));
        w.draw(canvas, player.prev_x, player.prev_y);
        if (charging) {
            float right = player.x - 16.0f + held * 32.0f / charge_time;
            for (int i = 24; i <= 27; ++i) {
                float y = player.y + static_cast<float>(i);
                canvas.draw_line(player.x - 16.0f, y, right, y,
                                 sdk::Colorf(1.0f, 1.0f, 0.7f, 0.7f));
            }
        }
    }
    canvas.pop_cliprect();
}
