// The one player, the global `player`: its collision block, this frame's
// input state, the tuning values of "player.xml" (fields named after their
// keys), the timers of bomb, wind, death and invincibility, the run's
// counters and an `Enemy` of its own, `emitter`, that owns the player's shot
// patterns and serves as the circle of its wind.
//
// The world keeps no sprites or input devices: the presentation holds the
// player's four sprites and sets `width` and `height` from the player
// sprite; the shell's input code writes the key states here.
// Times in ms, speeds in pixels per ms, distances in pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"
#include "world/enemy.h"
#include "world/moving_object.h"
#include "world/player_input.h"
#include "world/replay_frame.h"

struct Player : Moving_Object {
    Player() : emitter(std::make_shared<Enemy>()) {}
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // This frame's input direction: each component -1, 0 or 1, both x 0.8
    // on a diagonal.
    float dir_x = 0.0f;
    float dir_y = 0.0f;
    float normal_speed = 0.0f;
    float focused_speed = 0.0f;
    float spellcard_active_speed = 0.0f;  // while the bomb runs
    float wind_radius = 0.0f;  // at a gauge of 50
    float wind_size = 0.0f;    // radius of the wind blowing now
    float wind_speed = 0.0f;   // given to blown bullets
    float wind_accel = 0.0f;   // acceleration of blown bullets
    float bonus_collision = 0.0f;
    float bonus_attract_collision = 0.0f;
    float bonus_attract_focus_collision = 0.0f;
    float graze_size = 0.0f;
    uint8_t focus = 0;
    uint8_t wind_blowing = 0;
    uint8_t bombing = 0;
    float bomb_clock = 0.0f;
    uint8_t dying = 0;
    // The death sequence has taken its life: its first frame is done.
    uint8_t death_begun = 0;
    int32_t invincible = 0;  // ms left; 0 = vulnerable
    // Size of the player sprite's frame; the shots use height / 2.
    int32_t width = 0;
    int32_t height = 0;
    int32_t lives = 0;
    int32_t bombs = 0;
    uint32_t score = 0;
    int32_t power = 0;  // 0..128
    int32_t points = 0;
    int32_t spell_gauge = 0;  // gauge-item meter, ms
    int32_t graze = 0;
    int32_t spell_time = 0;   // ms
    int32_t bombed_in_spellcard = 0;
    int32_t graze_score = 0;
    float wind_gauge = 0.0f;  // 0..100
    float wind_gain_speed = 0.0f;
    float wind_shot_gain = 0.0f;
    float wind_kill_gain = 0.0f;
    float wind_graze_gain = 0.0f;
    float wind_time_left = 0.0f;
    float wind_clock = 0.0f;
    float wind_max_blow_time = 0.0f;
    int32_t spellcard_min_duration = 0;
    int32_t spellcard_max_duration = 0;
    int32_t start_power = 0;
    float bomb_duration = 0.0f;
    float bomb_damage = 0.0f;  // per ms to every enemy
    float life_clock = 0.0f;
    float death_timer = 0.0f;
    float death_time = 0.0f;
    int32_t invicible_time = 0;  // the key is spelled so
    int32_t focus_fade = 0;
    int32_t lean = 0;  // -1 left, 0 not sideways, 1 right
    int32_t prev_lean = 0;
    float lean_clock = 0.0f;
    uint8_t shot_key = 0;
    float shot_hold = 0.0f;
    float time_to_activate_wind = 0.0f;
    float time_wind_activation = 0.0f;
    uint8_t special_key = 0;
    uint8_t wind_armed = 0;
    uint8_t bomb_key = 0;
    float shooting_speed = 0.0f;
    sdk::Angle aim_angle;
    float shot_clock = 0.0f;
    float bullet_alpha = 0.0f;
    // Shot parameters.
    float shot1_interval = 0.0f;
    float shot1_speed = 0.0f;
    int32_t shot1_bullets = 0;
    int32_t shot1_damage = 0;
    int32_t shot1_focus_damage = 0;
    float shot2_interval = 0.0f;
    float shot2_speed = 0.0f;
    int32_t shot2_damage = 0;
    int32_t shot2_startpower = 0;
    int32_t shot2_steppower = 0;
    float shot3_interval = 0.0f;
    float shot3_speed = 0.0f;
    float shot3_angle_speed = 0.0f;
    float shot3_accel_time = 0.0f;
    float shot3_speed_delta = 0.0f;
    int32_t shot3_bullets = 0;
    int32_t shot3_damage = 0;
    float shot4_shooting_speed = 0.0f;
    float shot4_interval = 0.0f;
    float shot4_speed = 0.0f;
    float shot4_angle_speed = 0.0f;
    float shot4_change_angle = 0.0f;
    float shot4_speed_delta = 0.0f;
    float shot4_radius = 0.0f;
    int32_t shot4_bullets = 0;
    int32_t shot4_damage = 0;
    // Owner of the player's shot patterns and the circle of its wind.
    std::shared_ptr<Enemy> emitter;
    uint8_t joystick_present = 0;
    // Which arrow of each pair was pressed last (1 = that one).
    int32_t up_last = 0;
    int32_t down_last = 0;
    int32_t left_last = 0;
    int32_t right_last = 0;
    int32_t joystick_active = 0;
    // Resource ids of the player's four sprites in "player.xml", for the
    // presentation to build them.
    std::string player_sprite_name;
    std::string focus_sprite_name;
    std::string wind_sprite_name;
    std::string wind_font_sprite_name;

    // Reads the tuning values of the resource `id` ("player_kio") of
    // "player.xml"; an absent key reads as 0.
    void load(const sdk::Resource_Manager& resources, const std::string& id);
    // The player's part of a run start.
    void reset();
    // What a run leaves in the player that the next run must not inherit;
    // part of reset() and of the restart from the pause screen.
    void clear_run_leftovers();
    // The live frame, with the devices' state of this frame.
    void update(float dt, const Player_Input& input);
    // The same frame driven by a recorded replay frame (its own dt).
    void update_from_replay(const Replay_Frame& frame);
    // What the replay records for this frame after the update.
    Replay_Frame make_replay_frame(float dt) const;
    // An arrow key went down (virtual-key code): of two opposing arrows held
    // together the one pressed last wins.
    void on_key_down(int32_t key);
    // The joystick sent an event; only then is it read.
    void on_joystick_event();
    void read_keyboard(const Player_Input& input);
    void read_joystick(const Player_Input& input);
    // Starts the main shot.
    void fire();
    // Blows the wind of radius `size` around the player.
    void blow_wind(float size, float dt);
    // The hit test of one frame: enemy bullets, then contact with enemies.
    void check_hit();
    // Halves the power and drops the lost half as power items.
    void drop_power();

private:
    bool run_clocks(float dt);
    void clear_input();
    void hold_input_in_dialog();
    void update_lean(float dt);
    void update_focus_fade(float dt, bool was_bombing);
    void clamp_to_field();
    void run_weapons(float dt);
};

inline Player player;
