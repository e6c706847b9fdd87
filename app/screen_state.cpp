#include "app/screen_state.h"

#include <algorithm>

float frame_step(uint64_t now_ms, uint64_t previous_ms) {
    int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(now_ms - previous_ms));
    return static_cast<float>(std::min(elapsed, int32_t{17}));
}

bool advance_fade(float dt) {
    state_timer += dt;
    if (state_timer > fade_length) {
        app_state = next_state;
        state_timer = 0.0f;
        return true;
    }
    return false;
}
