// One bullet in flight, the player's or an enemy's; also the record of a
// bullet type from "patterns.xml" (a prototype that new bullets copy).
// Bullets live by value in the bullet pool, move by a shared `Behaviour`, are
// drawn by a shared `Appearance` of the presentation and point to the running
// `Pattern` that fired them.
//
// Units: positions in logical pixels (y downwards); speeds in pixels per ms,
// except for the two polar behaviours (pixels per second); ages in ms; angles
// in `sdk::Angle` (radians inside, degrees in data).
//
// A spawner bullet releases children when its pattern's `trigger` changes;
// its spawn table is laid out as: the leading values its set spawn flags
// consume, in the order speed (1), heading (1), turn (1), offset (2); then
// `child_count` records of 7 values: speed, heading in degrees, param1,
// param2, behaviour kind (0 "bullet_simple", 1 "bullet_simple2",
// 2 "bullet_simple2_1", 3 "bullet_simple3", else "bullet_simple"), bullet type
// number, colour. The table is shared between copies by reference count.
#pragma once

#include <cstdint>
#include <memory>

#include "sdk/core/math.h"
#include "world/moving_object.h"

class Appearance;
class Behaviour;
struct Pattern;

struct Bullet : Moving_Object {
    float dir_x = 0.0f;  // unit direction of motion
    float dir_y = 0.0f;
    // Second vector: the later direction of a held bullet, the centre of the
    // player's arc bullet; children inherit it.
    float aux_x = 0.0f;
    float aux_y = 0.0f;
    sdk::Angle angle;  // sprite angle; several behaviours steer by it
    float speed = 0.0f;
    float age = 0.0f;  // ms since added, where the behaviour advances it
    float param1 = 0.0f;
    float param2 = 0.0f;
    uint32_t id = 0;  // pool id
    // 0 dead; non-zero alive (the player's arc bullet: 1 arc, 2 straight).
    uint8_t alive = 0;
    uint8_t colour = 0;  // colour index for the look
    // 1: enemy bullet (hits and grazes the player, can be cancelled or
    // blown); 0: the player's bullet or a blown enemy bullet (hurts enemies).
    uint8_t layer = 0;
    // Non-zero: releases children on a trigger change and is counted in its
    // pattern's live_spawners; 2 marks a released held bullet.
    uint8_t spawner = 0;
    uint8_t graze_mark = 0;  // graze bookkeeping (60 at add with keep_prev)
    // Non-zero: the previous position is never refreshed (long-lived beams
    // whose swept tests start from a fixed point).
    uint8_t keep_prev = 0;
    uint8_t blown = 0;  // turned by the wind or the bomb
    int32_t damage = 0;
    // The pattern's trigger at the last spawn; the turning behaviour's flag.
    uint32_t trigger_seen = 0;
    uint8_t die_after_spawn = 0;
    uint8_t spawn_speed = 0;
    uint8_t spawn_heading = 0;
    uint8_t spawn_turn = 0;
    uint8_t spawn_offset = 0;
    int8_t child_count = 0;  // 0 or below spawns none
    std::shared_ptr<float[]> spawn_table;
    Appearance* appearance = nullptr;  // shared, not owned
    Behaviour* behaviour = nullptr;    // shared, not owned
    // The running pattern that fired it; not owned, but the pattern stays
    // valid while any bullet in the pool points to it.
    Pattern* owner = nullptr;

    // One step: spawn on a trigger change, refresh the previous position
    // (unless keep_prev), run the behaviour; a false answer kills it.
    void update(float dt);
    // Applies the leading spawn values and adds the children to the pool.
    void spawn_children();
    // dir = (cos angle, sin angle).
    void update_direction();
};
