#include "app/fps_counter.h"


void Fps_Counter::tick(int32_t now) {
    ++frame_count;
    if (window_start == 0) {
        window_start = now;
        return;
    }
    int32_t elapsed = now - window_start;
    if (elapsed >= 0 && elapsed <= 500) return;
    if (elapsed > 0) rate = frame_count * 1000 / elapsed;
    frame_count = 0;
    window_start = now;
}

