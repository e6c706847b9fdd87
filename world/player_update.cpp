// The player's frame: input, movement inside the play field, the main shot,
// the bomb and the wind, and the fly-in after a death or at a run start. The
// live update reads a `Player_Input` filled by the shell; the replay update
// takes the recorded position and flags of a `Replay_Frame` and runs the same
// timers, so a replay reproduces the run.
#include <cmath>

#include "sdk/core/number_convert.h"
#include "world/bullet_pool.h"
#include "world/enemy_damage.h"
#include "world/geometry.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/settings.h"

namespace {

int32_t whole_ms(float dt) { return static_cast<int32_t>(dt); }

}  // namespace

void Player::on_key_down(int32_t key) {
    switch (key) {
        case key_right:
            right_last = 1;
            left_last = 0;
            break;
        case key_left:
            right_last = 0;
            left_last = 1;
            break;
        case key_up:
            up_last = 1;
            down_last = 0;
            break;
        case key_down:
            up_last = 0;
            down_last = 1;
            break;
        default:
            break;
    }
}

void Player::on_joystick_event() { joystick_active = 1; }

void Player::read_keyboard(const Player_Input& in) {
    if (in.right) dir_x = 1.0f;
    if (in.left && (!in.right || left_last)) dir_x = -1.0f;
    if (in.up) dir_y = -1.0f;
    if (in.down && (!in.up || down_last)) dir_y = 1.0f;
    if (dir_x != 0.0f && dir_y != 0.0f) {
        dir_x *= 0.8f;
        dir_y *= 0.8f;
    }
    if (in.left_shift) focus = 1;
    if (in.z) shot_key = 1;
    if (in.c || in.left_control) {
        special_key = 1;
        if (special_focuses) focus = 1;
    }
    if (in.x && !bombing) bomb_key = 1;
}

namespace {

struct Hat_Row {
    int32_t value;
    float dx, dy;
};

constexpr Hat_Row hat_table[] = {
    {0, 0, -1},    {4500, 1, -1},  {9000, 1, 0},   {13500, 1, 1},
    {18000, 0, 1}, {22500, -1, 1}, {27000, -1, 0}, {31500, -1, -1},
};

}  // namespace

void Player::read_joystick(const Player_Input& in) {
    if (!joystick_active) return;
    if (in.axis_x < -dead_zone) dir_x = -1.0f;
    if (in.axis_x > dead_zone) dir_x = 1.0f;
    if (in.axis_y < -dead_zone) dir_y = -1.0f;
    if (in.axis_y > dead_zone) dir_y = 1.0f;
    for (const Hat_Row& row : hat_table) {
        if (row.value != in.hat) continue;
        dir_x = row.dx;
        dir_y = row.dy;
    }
    if (dir_x != 0.0f && dir_y != 0.0f) {
        // Only a full diagonal is scaled once; the keyboard may have done it.
        dir_x = (dir_x > 0 ? 1.0f : -1.0f) * 0.8f;
        dir_y = (dir_y > 0 ? 1.0f : -1.0f) * 0.8f;
    }
    if (in.button(button_focus)) focus = 1;
    if (in.button(button_shoot)) shot_key = 1;
    if (in.button(button_bomb) && !bombing) bomb_key = 1;
    if (in.button(button_special)) {
        special_key = 1;
        if (special_focuses) focus = 1;
    }
}

// Steps 1 to 4: clocks, invincibility, the fly-in and the dying hold. True
// when the update ends there.
bool Player::run_clocks(float dt) {
    life_clock += dt;
    wind_gauge += wind_gain_speed * dt;
    if (wind_gauge > 100.0f) wind_gauge = 100.0f;
    if (invincible != 0) {
        invincible -= whole_ms(dt);
        if (invincible < 0) invincible = 0;
    }
    if (life_clock < 2.0f * death_time) {
        death_timer += dt;
        float bottom = play_field.bottom, top = play_field.top;
        x = play_field.left + (play_field.right - play_field.left) * 0.5f;
        if (life_clock > death_time)
            y = (bottom + 48.0f) -
                ((life_clock - death_time) / death_time) * ((bottom - top) / 7.0f);
        else
            y = bottom + 48.0f;
        return true;
    }
    if (dying) {
        death_timer += dt;
        return true;
    }
    return false;
}

void Player::clear_input() {
    dir_x = dir_y = 0.0f;
    focus = shot_key = special_key = bomb_key = 0;
    lean = 0;
}

void Player::hold_input_in_dialog() {
    if (!dialog_active) return;
    shot_key = special_key = bomb_key = 0;
}

void Player::update_lean(float dt) {
    lean = static_cast<int32_t>(dir_x * 1.5f);
    if (lean != prev_lean) lean_clock = 0.0f;
    if (lean != 0) lean_clock += dt;
    prev_lean = lean;
}

// The focus fade counts whole ms up while focused and, released, falls from
// at most 200 to 0.
void Player::update_focus_fade(float dt, bool was_bombing) {
    if (was_bombing) return;
    if (focus) {
        focus_fade += whole_ms(dt);
        return;
    }
    if (focus_fade == 0) return;
    if (focus_fade > 200) focus_fade = 200;
    focus_fade -= whole_ms(dt);
    if (focus_fade < 0) focus_fade = 0;
}

void Player::clamp_to_field() {
    if (x + 10.0f > play_field.right) x = play_field.right - 10.0f;
    if (x - 10.0f < play_field.left) x = play_field.left + 10.0f;
    if (y + 12.0f > play_field.bottom) y = play_field.bottom - 12.0f;
    if (y - 24.0f < play_field.top) y = play_field.top + 24.0f;
}

// Steps 11 to 17: bomb, shot and wind, shared by the live and replay updates.
void Player::run_weapons(float dt) {
    if (bomb_key && !bombing && bombs > 0) {
        bombs -= 1;
        bombing = 1;
        bomb_clock = 0.0f;
        invincible = sdk::saturate_integer<int32_t>(bomb_duration * 1.5f);
        if (spellcard_running) bombed_in_spellcard = 1;
    }
    if (bombing) {
        bomb_clock += dt;
        shot_key = special_key = 0;
        if (bomb_clock > bomb_duration) {
            bombing = 0;
        } else {
            apply_bomb_damage(dt);
            bullet_pool.blow_away_all(dt);
        }
    }
    shot_clock += dt;
    bool fire_wanted = false;
    if (shot_key) {
        shot_hold += dt;
        if (!wind_armed) {
            if (shot_hold < time_to_activate_wind)
                fire_wanted = true;
            else if (shot_hold > time_to_activate_wind + time_wind_activation &&
                     wind_gauge >= 30.0f)
                wind_armed = 1;
        }
    } else {
        if (wind_armed) {
            wind_armed = 0;
            wind_blowing = 1;
            wind_clock = 0.0f;
            wind_size = wind_gauge / 50.0f * wind_radius;
            wind_time_left = wind_gauge / 100.0f * wind_max_blow_time;
            wind_gauge = 0.0f;
        }
        fire_wanted = special_key != 0;
        shot_hold = 0.0f;
    }
    if (wind_blowing) {
        wind_clock += dt;
        wind_time_left -= dt;
        if (wind_time_left > 0.0f)
            blow_wind(wind_size, dt);
        else
            wind_blowing = 0;
    }
    if (fire_wanted && shot_clock > shooting_speed) {
        fire();
        shot_clock = 0.0f;
    }
}

void Player::update(float dt, const Player_Input& input) {
    if (run_clocks(dt)) return;
    clear_input();
    read_keyboard(input);
    if (joystick_present) read_joystick(input);
    hold_input_in_dialog();
    update_lean(dt);
    prev_x = x;
    prev_y = y;
    bool was_bombing = bombing != 0;
    float speed = was_bombing ? spellcard_active_speed : focus ? focused_speed : normal_speed;
    update_focus_fade(dt, was_bombing);
    x += dir_x * speed * dt;
    y += dir_y * speed * dt;
    clamp_to_field();
    run_weapons(dt);
}

void Player::update_from_replay(const Replay_Frame& frame) {
    float dt = frame.dt;
    if (run_clocks(dt)) return;
    clear_input();
    focus = frame.focus ? 1 : 0;
    shot_key = frame.shoot ? 1 : 0;
    special_key = frame.special ? 1 : 0;
    bomb_key = frame.bomb ? 1 : 0;
    aim_angle = sdk::Angle::from_radians(frame.angle);
    hold_input_in_dialog();
    prev_x = x;
    prev_y = y;
    x = frame.x;
    y = frame.y;
    sdk::Vec2f moved{x - prev_x, y - prev_y};
    moved.normalize();
    dir_x = moved.x;
    dir_y = moved.y;
    update_lean(dt);
    update_focus_fade(dt, bombing != 0);
    clamp_to_field();
    run_weapons(dt);
}

Replay_Frame Player::make_replay_frame(float dt) const {
    Replay_Frame f;
    f.dt = dt;
    f.x = x;
    f.y = y;
    f.angle = aim_angle.to_radians();
    f.focus = focus ? 1 : 0;
    f.shoot = shot_key ? 1 : 0;
    f.special = special_key ? 1 : 0;
    f.bomb = bomb_key ? 1 : 0;
    return f;
}

void Player::fire() { start_pattern(100000001, emitter.get(), x, y); }

void Player::blow_wind(float size, float dt) {
    emitter->x = emitter->prev_x = x;
    emitter->y = emitter->prev_y = y;
    emitter->radius = size;
    bullet_pool.blow_away_in_wind(*emitter, dt);
}
