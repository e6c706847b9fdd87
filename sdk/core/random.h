// The one shared pseudo-random generator of the program, seeded once at
// start-up. The world uses it for looks only (particles, sparks); nothing that
// decides a hit, a path or a score draws from it. Never take two values in one
// expression: the order of evaluation is unspecified.
#pragma once

#include <cstdint>

namespace sdk {

inline constexpr int random_max = 0x7fffffff;

void random_seed(uint32_t seed);
// Next value, 0 to random_max.
int rand();

}  // namespace sdk
