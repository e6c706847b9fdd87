#include "sdk/core/random.h"

namespace sdk {

namespace {
// xorshift32: small, fast and the same on every platform.
uint32_t state = 0x2545f491u;
}

void random_seed(uint32_t seed) { state = seed ? seed : 0x2545f491u; }

int rand() {
    uint32_t x = state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state = x;
    return static_cast<int>(x & static_cast<uint32_t>(random_max));
}

}  // namespace sdk
