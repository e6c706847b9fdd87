// The message pump: takes the window system's pending events and runs the
// window and input signal handlers for them, on the calling (main) thread.
// The main loop calls it once per frame, after the flip.
#pragma once

namespace sdk {

namespace Keep_Alive {
// Handles every pending event; waits up to `timeout_ms` for the first one
// when none is pending (0: do not wait).
void process(int timeout_ms = 0);
}  // namespace Keep_Alive

}  // namespace sdk
