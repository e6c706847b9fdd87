#include "app/perf_log.h"

#include <string>

#include "sdk/core/log.h"

bool Perf_Checkpoints::checkpoint(std::string_view label, float now) {
    float elapsed = now - last;
    last = now;
    if (!(elapsed > 20.0f)) return false;
    // The message has always been spelled so; the elapsed time has six decimals.
    sdk::log_event("Performance", "Pervormance drop of %1 at %2", std::to_string(elapsed), label);
    return true;
}
