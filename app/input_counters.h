// The application-level input: window key presses, gamepad buttons and
// stick or hat moves turned into counters that the screens read, act on
// once when above zero and clear. Which key counts depends on the screen
// state. The player's steering and shooting read the devices themselves;
// this is only menus, pause, results and the few keys of play (Esc, Z/Enter,
// F11, Home). Key codes are the Windows virtual-key codes of sdk/input.h.
// Main thread only: the handlers run inside the message pump.
#pragma once

#include <cstdint>

// The keys the screens count, as the window reports them.
namespace shell_keys {
inline constexpr int enter = 13, escape = 27, home = 36, left = 37, up = 38, right = 39, down = 40;
inline constexpr int x = 88, z = 90, f4 = 115, f11 = 122;
}  // namespace shell_keys

struct Input_Counters {
    int32_t count_up = 0;
    int32_t count_down = 0;
    int32_t count_left = 0;
    int32_t count_right = 0;
    int32_t count_ok = 0;
    int32_t count_cancel = 0;
    int32_t count_escape = 0;
    int32_t count_fullscreen = 0;
    int32_t count_resize = 0;
    // In the key configuration: the last gamepad button pressed, plus 1.
    int32_t pressed_button = 0;
    int32_t count_screenshot = 0;

    // Stick navigation state: -1, 0 or 1 per axis; survives window changes.
    int32_t stick_x = 0;
    int32_t stick_y = 0;
    float last_hat = -1.0f;
    // SDK clock ms of the last counted stick move.
    float last_stick_move = 0.0f;

    // The screens' counters. F11, resizes and Home are the main loop's own,
    // consumed by it at the start and the end of the frame: a screen that
    // clears its presses every frame (the pause) must not swallow them.
    void clear() {
        count_up = count_down = count_left = count_right = count_ok = count_cancel = 0;
        count_escape = pressed_button = 0;
    }

    // A key-down of keyboard 0 in screen state `state`.
    // A held key repeats in the menus, but F11 and Home act once per press:
    // their repeats (`repeat` true) count nothing.
    void on_key_down(int32_t state, int key, bool repeat = false);
    // A button of joystick 0.
    void on_joystick_button(int32_t state, int button);
    // A stick move (x, y of axes 0 and 1 at time `now_ms`).
    void on_stick(int32_t state, float x, float y, float now_ms);
    // A move of the hat, in hundredths of degrees (or the centred value).
    void on_hat(int32_t state, float value);
};
