#include "app/stage_results.h"

#include <cmath>

Stage_Bonus compute_stage_bonus(uint32_t score, int32_t graze, int32_t points, uint32_t blown,
                                uint32_t total) {
    Stage_Bonus b;
    // A run in which no bullet was added blew none away.
    b.ratio = total == 0 ? 0.0f : static_cast<float>(blown) / static_cast<float>(total);
    // 32-bit wrap-around as the bonus always had; unsigned keeps it defined.
    b.points_bonus = (static_cast<uint32_t>(graze) + 20u) * static_cast<uint32_t>(points) * 500u;
    float sum = b.ratio * 5000000.0f;
    sum += static_cast<float>(b.points_bonus);
    sum += static_cast<float>(score);
    // Truncated toward zero, low 32 bits kept.
    double t = std::trunc(static_cast<double>(sum));
    b.new_score = static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(t)));
    return b;
}
