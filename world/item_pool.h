// The item pool: 4000 items whose live records fill the front densely in the
// order they were added (see world/object_pool.h). Items rise, fall, fly to
// the player when it is near, above the collect line or bombing, and on
// contact raise the player's power, points, gauge, bombs and score, each with
// a floating score number and a sound. Creators set an item's start values
// (radius 9, age 0, alive 1, previous position = position, kind, mode, speeds).
//
// Drawing belongs to the presentation (with the sprite "bonuses").
#pragma once

#include <cstdint>

#include "world/item.h"
#include "world/object_pool.h"

class Item_Pool : public Object_Pool<Item, 4000> {
public:
    // Stores the item tuning of "mirel.xml" (world/item.h).
    void init(float collect_line, int32_t min_value, int32_t max_value, float accel,
              float max_speed, float score_time);
    // Appends a copy as the creator set it; false (dropped) when full.
    bool add(const Item& i);
    void update(float dt);
    // Attraction, then collection of the items the player touches.
    void collect();
    void reset() { empty("Item"); }
};

inline Item_Pool item_pool;
