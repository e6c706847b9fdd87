// The arithmetic of the stage results screen: the bonus added once to the
// score when the results open. Single-precision and 32-bit integer rules as
// the results have always been computed, so totals above 2^24 round the way
// players' saved best scores did.
#pragma once

#include <cstdint>

struct Stage_Bonus {
    float ratio = 0.0f;         // bullets blown / bullets added; 0 with none added
    uint32_t points_bonus = 0;  // (graze + 20) x points x 500
    uint32_t new_score = 0;
};

Stage_Bonus compute_stage_bonus(uint32_t score, int32_t graze, int32_t points,
                                uint32_t bullets_blown, uint32_t bullets_total);
