// A bullet pattern: one record shape serves as the descriptor loaded from
// "patterns.xml" and as a running pattern started by a code. Running
// patterns are held by shared pointers in `active_patterns`, in start order,
// and advanced once per frame by `update_patterns`, which dispatches on the
// code: below 100000000 an enemy family (code / 1000; the bullet type is
// "bullet" + (code mod 1000) / 20 and the colour code mod 20), 100000000 and
// above the player's shots.
//
// Firing moments: a stream fires shot k at k x interval after its start; a
// shot fired late by `over` ms is advanced by one `Bullet::update` of `over`
// before it is added, so streams stay evenly spaced at any frame rate.
//
// Lifetime: bullets point to their pattern without owning it; a pattern that
// has ended is kept (outside the active list) until the last bullet that
// points to it has left the pool, so beams, spawners and held bullets never
// read a freed pattern. A pattern also keeps a share of its owning enemy, so
// the owner's flags stay readable after the enemy has left the lists.
//
// Units: times in ms, speeds in pixels per ms, angles in degrees.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdk/core/math.h"

class Behaviour;
class Effect_Appearance;
struct Bullet;
struct Enemy;

struct Pattern {
    uint8_t active = 0;  // 0 ends it: removed at the end of the pass
    int32_t code = 0;
    uint32_t shot_count = 0;   // shots or volleys fired so far
    float timer = 0.0f;        // ms since the start
    float sound_timer = 0.0f;  // ms since the last shot sound; 70 at the start
    // Spawner bullets (and the player's polar bullets) still alive.
    int32_t live_spawners = 0;
    // 0, then 1 when the spawner bullets are to release their children.
    int32_t trigger = 0;
    // Values of the descriptor ("speed", "bullet_number", ...).
    float speed = 0.0f;
    int32_t bullet_number = 0;
    Behaviour* behaviour = nullptr;
    float time1 = 0.0f;
    float time2 = 0.0f;
    float param1 = 0.0f;
    float start_param1 = 0.0f;
    float pattern_speed = 0.0f;
    float pattern_param1 = 0.0f;
    float pattern_param2 = 0.0f;
    float pattern_param3 = 0.0f;
    float pattern_param4 = 0.0f;
    float pattern_param5 = 0.0f;
    std::string effect;  // muzzle-flash name
    int32_t effect_index = 0;
    // Working values of the rotating half-circle family.
    float run_value1 = 0.0f;
    float run_value2 = 0.0f;
    float run_value3 = 0.0f;
    float run_value4 = 0.0f;
    float origin_x = 0.0f;  // firing point given at the start
    float origin_y = 0.0f;
    Enemy* owner = nullptr;  // the enemy that fired it (the player's emitter)
    uint32_t id = 0;

    // Row of the muzzle-flash table named by `effect`, or -1 (set at start).
    int8_t flash = -1;
    // Bullets in the pool that point to this pattern.
    int32_t bullets_in_flight = 0;
    // Keeps the owner readable while the pattern runs (empty for owners not
    // held by a shared pointer, such as a test's local enemy).
    std::shared_ptr<Enemy> owner_share;
};

// Running patterns, in start order; room for 2000 reserved at registration.
inline std::vector<std::shared_ptr<Pattern>> active_patterns;
// Id of the last pattern started.
inline uint32_t pattern_id_counter = 0;
// Sound clock of the player's main shot, shared by all its patterns.
inline float player_shot_clock = 0.0f;
