// The frame-rate counter drawn in the bottom-right corner of every frame:
// the frames of the last window of at least 501 ms, per second. Times are
// SDK clock milliseconds; 0 as the window start means not started.
#pragma once

#include <cstdint>

namespace sdk {
class Canvas;
class Font;
}  // namespace sdk

class Fps_Counter {
public:
    // Once per frame, after the flip.
    void tick(int32_t now_ms);
    // "fps:<rate>" at (584, 479) in logical units, white.
    void draw(sdk::Canvas& canvas, const sdk::Font& font) const;
    int32_t get_rate() const { return rate; }

private:
    int32_t rate = 0;
    int32_t window_start = 0;
    int32_t frame_count = 0;
};
