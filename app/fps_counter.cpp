#include "app/fps_counter.h"

#include <cstdio>

#include "sdk/canvas.h"
#include "sdk/font.h"

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

void Fps_Counter::draw(sdk::Canvas& canvas, const sdk::Font& font) const {
    // Formatted into a fixed buffer: this runs every frame.
    char text[24];
    std::snprintf(text, sizeof text, "fps:%d", static_cast<int>(rate));
    font.draw_text(canvas, 640 - 56, 480 - 1, text, sdk::Colorf::white());
}
