// Enemies and bosses. Every enemy of a stage is an `Enemy` created on the
// heap and held by shared pointers (the enemy lists, the patterns it fired);
// a boss is an `EnemyBoss`, held the same way as an `Enemy`. Enemies carry a
// table of up to 64 timed shots that start bullet patterns, a shared
// movement strategy (`Enemy_Path`) and a shared look of the presentation
// (`Enemy_Appearance`, or for bosses a `Boss_Appearance`).
// Positions in logical pixels (y downwards), speeds in pixels per ms, times
// in ms.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdk/core/math.h"
#include "world/effect.h"
#include "world/enemy_path.h"
#include "world/moving_object.h"
#include "world/spellcard.h"

class Enemy_Appearance;

struct Enemy_Shot {
    // 0 spent or empty; 1 fires when age >= threshold; 2 when
    // distance >= threshold; 3 when path_state == threshold; others never.
    uint8_t trigger = 0;
    int32_t code = 0;       // pattern code for start_pattern
    int32_t threshold = 0;  // ms, px or path state, by trigger
};

inline constexpr int enemy_shot_capacity = 64;

struct Enemy : Moving_Object, std::enable_shared_from_this<Enemy> {
    float dir_x = 0.0f;  // unit heading
    float dir_y = 0.0f;
    sdk::Angle angle;    // the heading as an angle
    // Box of the box removal test; zero for every enemy the stage script
    // makes, so the test acts on the point.
    int32_t width = 0;
    int32_t height = 0;
    float base_speed = 0.0f;  // cruising speed
    float speed = 0.0f;       // current speed
    int32_t hp = 0;
    // Active list: still alive; dead stack: the dying animation runs.
    uint8_t alive = 0;
    uint8_t dying = 0;   // destroyed; its patterns stop
    uint8_t is_boss = 0; // the record is an EnemyBoss
    uint8_t drop = 0;    // item drop code, 0 none, 1..4
    int32_t price = 0;   // score when destroyed
    uint32_t id = 0;     // serial number, from 0 per stage
    int32_t colour = 0;  // colour index for the look
    int32_t anim_frame = 0;  // owned by the look
    float anim_time = 0.0f;  // advanced by dt, read and rewound by the look
    float age = 0.0f;        // ms since creation (dead stack: since death)
    float distance = 0.0f;   // path length travelled
    uint8_t path_state = 0;  // step of the path's state machine
    uint8_t shot_count = 0;  // used entries of `shots` (a boss: its phases)
    Enemy_Shot shots[enemy_shot_capacity];
    // The event's "f1": stop depth (then the stop time) or sine phase.
    float f1 = 0.0f;
    // A boss: the length of its current move to a phase start or start wait.
    float phase_offset = 0.0f;
    std::string name;  // the boss's name; empty for ordinary enemies
    Enemy_Appearance* appearance = nullptr;  // shared, not owned
    Enemy_Path* path = nullptr;              // shared, not owned

    // Fires every due entry of the shot table once.
    void fire_scheduled_shots();
};

inline constexpr int boss_ring_capacity = 8;

struct EnemyBoss : Enemy {
    EnemyBoss() : name_effect(std::make_shared<Effect>()) { is_boss = 1; }

    int32_t phase = 0;   // index into `phases`
    int32_t action = 0;  // current action of the running card
    int32_t boss_hp = 0; // hit points of the current half
    int32_t half = 0;    // 0 normal attack, 1 spell card
    float time_limit = 0.0f;  // ms left of the running card
    // Script state.
    float action_clock = 0.0f;  // ms in the current wait or move
    int32_t moving = 0;         // a move action runs (read by the look)
    int32_t acting = 0;         // between "acting" start and stop
    float hover_time = 0.0f;    // zeroed by the look when it moves or acts
    float move_time = 0.0f;     // ms since the current move began
    float acting_time = 0.0f;   // ms since acting was set
    float accel = 0.0f;         // px/ms^2 of move actions
    int32_t has_dialog = 0;
    std::string dialog_name;
    float move_start_x = 0.0f;
    float move_start_y = 0.0f;
    float move_target_x = 0.0f;
    float move_target_y = 0.0f;
    std::vector<Spellcard_Entry> phases;
    int32_t effects_done = 0;  // this half's ring entries have been applied
    // Magic rings: `ring_count` in use fill the front.
    int32_t ring_count = 0;
    int32_t ring_frame[boss_ring_capacity] = {};
    int32_t ring_state[boss_ring_capacity] = {};
    float ring_radius[boss_ring_capacity] = {};
    float ring_width[boss_ring_capacity] = {};
    float ring_angle[boss_ring_capacity] = {};  // degrees
    float ring_spin[boss_ring_capacity] = {};   // degrees per ms
    float ring_alpha[boss_ring_capacity] = {};
    float ring_target[boss_ring_capacity] = {};
    float ring_x = 0.0f;  // where the rings are drawn
    float ring_y = 0.0f;
    // Shows the running spell card's name; made fresh and zeroed.
    std::shared_ptr<Effect> name_effect;
};
