// Wall-clock time for frame pacing, the sound repeat guard and seeding. The
// simulation never reads it: game timing comes from the frame step.
#pragma once

#include <cstdint>

namespace sdk {

// Milliseconds since an arbitrary fixed point (monotonic).
uint64_t get_time();
void sleep_ms(int milliseconds);

}  // namespace sdk
