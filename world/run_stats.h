// Counters of one run, shown by the stage results: bullets added to the pool
// (children included), enemy bullets blown away by the wind or the bomb, and
// gauge items collected. Zeroed at every run start. Main thread only.
#pragma once

#include <cstdint>

inline uint32_t bullets_total = 0;
inline uint32_t bullets_blown = 0;
inline uint32_t spell_items_collected = 0;
