// The message a call refuses with: what it throws as an sdk::Exception, or ""
// when it throws nothing. Tests compare it with the one line a player or a
// content author would read.
#pragma once

#include <string>

#include "sdk/core/exception.h"

template <typename F>
std::string refusal(F f) {
    try {
        f();
    } catch (const sdk::Exception& e) {
        return e.what();
    }
    return "";
}
