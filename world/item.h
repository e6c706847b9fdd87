// A bonus item: dropped by destroyed enemies, lost by the player on death,
// left by cancelled enemy bullets. Items live by value in the item pool.
// Positions in logical pixels, speeds in pixels per ms, times in ms.
#pragma once

#include <cstdint>

#include "world/moving_object.h"

struct Item : Moving_Object {
    uint32_t id = 0;
    // Fall speed in mode 0 (negative while rising), approach speed in modes
    // 1 and 2.
    float speed = 0.0f;
    float vx = 0.0f;  // sideways drift while rising
    float vy = 0.0f;  // vertical velocity in mode 0
    float age = 0.0f;
    uint8_t alive = 0;
    // 0 small power, 1 point, 2 gauge, 3 big power, 16 small score; also the
    // frame of the item sprite.
    uint8_t kind = 0;
    // 0 falling, 1 collected automatically, 2 attracted.
    uint8_t mode = 0;
};

// Item tuning from the options of "mirel.xml", set by `Item_Pool::init`.
inline float item_accel = 0.0f;         // "bonus_accel", px/ms^2
inline float item_max_speed = 0.0f;     // "bonus_max_speed", px/ms
inline float item_collect_line = 0.0f;  // "point_scrore_line", y
inline int32_t item_min_value = 0;      // "bonus_point_score_min"
inline int32_t item_max_value = 0;      // "bonus_point_score_max"
inline float score_float_time = 0.0f;   // "bonus_score_time", ms
