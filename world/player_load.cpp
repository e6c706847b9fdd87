// Loading the player's tuning values from "player.xml" and the resets at the
// start of a run.
#include <map>
#include <string>

#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/string_help.h"
#include "world/pattern_families.h"
#include "world/player.h"

namespace {

// One key of "player.xml": read as a float or an integer into its field. A
// count (of volleys, of bullets in a ring) is refused below 0, where the shot
// patterns would read it as billions, and past what the bullet pool holds.
struct Param_Row {
    const char* key;
    float Player::*f;
    int32_t Player::*i;
    bool count = false;
};

constexpr Param_Row param_table[] = {
    {"normal_speed", &Player::normal_speed, nullptr},
    {"focused_speed", &Player::focused_speed, nullptr},
    {"spellcard_active_speed", &Player::spellcard_active_speed, nullptr},
    {"hitbox", &Player::radius, nullptr},
    {"bonus_collision", &Player::bonus_collision, nullptr},
    {"bonus_attract_collision", &Player::bonus_attract_collision, nullptr},
    {"bonus_attract_focus_collision", &Player::bonus_attract_focus_collision, nullptr},
    {"graze_size", &Player::graze_size, nullptr},
    {"shooting_speed", &Player::shooting_speed, nullptr},
    {"bullet_alpha", &Player::bullet_alpha, nullptr},
    {"death_time", &Player::death_time, nullptr},
    {"invicible_time", nullptr, &Player::invicible_time},
    {"graze_score", nullptr, &Player::graze_score},
    {"wind_radius", &Player::wind_radius, nullptr},
    {"wind_speed", &Player::wind_speed, nullptr},
    {"wind_accel", &Player::wind_accel, nullptr},
    {"wind_gain_speed", &Player::wind_gain_speed, nullptr},
    {"wind_shot_gain", &Player::wind_shot_gain, nullptr},
    {"wind_kill_gain", &Player::wind_kill_gain, nullptr},
    {"wind_graze_gain", &Player::wind_graze_gain, nullptr},
    {"time_to_activate_wind", &Player::time_to_activate_wind, nullptr},
    {"time_wind_activation", &Player::time_wind_activation, nullptr},
    {"wind_max_blow_time", &Player::wind_max_blow_time, nullptr},
    {"spellcard_min_duration", nullptr, &Player::spellcard_min_duration},
    {"spellcard_max_duration", nullptr, &Player::spellcard_max_duration},
    {"start_power", nullptr, &Player::start_power},
    {"bomb_duration", &Player::bomb_duration, nullptr},
    {"bomb_damage", &Player::bomb_damage, nullptr},
    {"shot1_interval", &Player::shot1_interval, nullptr},
    {"shot1_speed", &Player::shot1_speed, nullptr},
    {"shot1_bullets", nullptr, &Player::shot1_bullets, true},
    {"shot1_damage", nullptr, &Player::shot1_damage},
    {"shot1_focus_damage", nullptr, &Player::shot1_focus_damage},
    {"shot2_interval", &Player::shot2_interval, nullptr},
    {"shot2_speed", &Player::shot2_speed, nullptr},
    {"shot2_damage", nullptr, &Player::shot2_damage},
    {"shot2_startpower", nullptr, &Player::shot2_startpower},
    {"shot2_steppower", nullptr, &Player::shot2_steppower},
    {"shot3_interval", &Player::shot3_interval, nullptr},
    {"shot3_speed", &Player::shot3_speed, nullptr},
    {"shot3_angle_speed", &Player::shot3_angle_speed, nullptr},
    {"shot3_accel_time", &Player::shot3_accel_time, nullptr},
    {"shot3_speed_delta", &Player::shot3_speed_delta, nullptr},
    {"shot3_bullets", nullptr, &Player::shot3_bullets, true},
    {"shot3_damage", nullptr, &Player::shot3_damage},
    {"shot4_shooting_speed", &Player::shot4_shooting_speed, nullptr},
    {"shot4_interval", &Player::shot4_interval, nullptr},
    {"shot4_speed", &Player::shot4_speed, nullptr},
    {"shot4_angle_speed", &Player::shot4_angle_speed, nullptr},
    {"shot4_change_angle", &Player::shot4_change_angle, nullptr},
    {"shot4_speed_delta", &Player::shot4_speed_delta, nullptr},
    {"shot4_radius", &Player::shot4_radius, nullptr},
    {"shot4_bullets", nullptr, &Player::shot4_bullets, true},
    {"shot4_damage", nullptr, &Player::shot4_damage},
};

struct Sprite_Row {
    const char* key;
    std::string Player::*name;
};

constexpr Sprite_Row sprite_table[] = {
    {"player_sprite", &Player::player_sprite_name},
    {"focus_sprite", &Player::focus_sprite_name},
    {"wind_sprite", &Player::wind_sprite_name},
    {"wind_font_sprite", &Player::wind_font_sprite_name},
};

}  // namespace

void Player::load(const sdk::Resource_Manager& resources, const std::string& id) {
    dir_x = dir_y = 0.0f;
    focus = 0;
    shot_hold = 0.0f;
    dying = 0;
    invincible = 0;
    life_clock = 0.0f;
    focus_fade = 0;
    lean_clock = 0.0f;
    shot_clock = 0.0f;
    score = 0;
    points = 0;
    graze = 0;
    power = 10;
    lives = 3;
    bombs = 2;
    joystick_active = 0;
    lean = 0;
    prev_lean = 0;
    bombing = 0;
    wind_blowing = 0;
    bomb_clock = 0.0f;
    wind_gauge = 100.0f;

    sdk::Dom_Element element = resources.get_doc().get_resource(id).get_element();
    // A later "param" of the same name replaces the earlier one; an absent
    // key reads as empty text, so as 0.
    std::map<std::string, std::string> values;
    for (const sdk::Dom_Element& p : element.select_nodes("param"))
        values[p.get_attribute("name")] = p.get_text();
    auto text_of = [&](const char* key) {
        auto found = values.find(key);
        return found == values.end() ? std::string() : found->second;
    };
    const std::string place = resources.get_doc().get_name() + ": player '" + id + "'";
    for (const Param_Row& row : param_table) {
        std::string text = text_of(row.key);
        if (row.f)
            this->*row.f = sdk::text_to_float(text);
        else if (row.count)
            this->*row.i = sdk::checked_count(sdk::text_to_int(text),
                                              static_cast<int32_t>(max_shots_per_update), place,
                                              row.key, text);
        else
            this->*row.i = sdk::text_to_int(text);
    }
    for (const Sprite_Row& row : sprite_table) this->*row.name = sdk::trim(text_of(row.key));
    spell_gauge = spellcard_min_duration;
    spell_time = spellcard_min_duration;
}

void Player::reset() {
    score = 0;
    points = 0;
    graze = 0;
    power = start_power;
    bombs = 2;
    dying = 0;
    death_begun = 0;
    life_clock = 0.0f;
    death_timer = 0.0f;
    bombing = 0;
    bomb_clock = 0.0f;
    wind_blowing = 0;
    clear_run_leftovers();
}

// A replay starts from a freshly reset player, so nothing a run leaves
// behind may reach the next one: the shot and wind clocks, the focus fade,
// the lean and the gauge-item meters start over as after the load.
void Player::clear_run_leftovers() {
    shot_clock = 0.0f;
    shot_hold = 0.0f;
    wind_clock = 0.0f;
    wind_time_left = 0.0f;
    wind_size = 0.0f;
    focus_fade = 0;
    lean = 0;
    prev_lean = 0;
    spell_gauge = spellcard_min_duration;
    spell_time = spellcard_min_duration;
}
