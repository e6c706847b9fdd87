// Timing checkpoints of the main menu's frame: a stretch of more than 20 ms
// between two checkpoints is logged under "Performance" with its length and
// the label of the checkpoint that ends it. Times are SDK clock ms.
#pragma once

#include <string_view>

class Perf_Checkpoints {
public:
    // Starts timing from `now` (the main menu is entered).
    void reset(float now) { last = now; }
    // Logs a slow stretch ending at `now`; answers whether it did.
    bool checkpoint(std::string_view label, float now);

private:
    float last = 0.0f;
};
