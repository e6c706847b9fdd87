// The platform layer's one exception type. Failures of the platform (a missing
// resource, an unreadable file, a document that does not parse) throw it; the
// entry catches it, reports the message and ends the program. The game's own
// code falls back to defaults where it can instead of throwing.
#pragma once

#include <stdexcept>
#include <string>

namespace sdk {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}

    std::string get_message() const { return what(); }
    // What the entry prints before it exits. There is no stack trace on this
    // platform; the message names the file and the resource instead.
    std::string get_message_and_stack_trace() const { return what(); }
};

}  // namespace sdk
