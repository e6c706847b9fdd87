// The state of the input devices as the player reads it each frame: which
// play keys are held and where the first joystick's axes, hat and buttons
// stand. The shell fills one of these from its devices before the game frame
// (and calls `Player::on_key_down` for arrow presses as they arrive); the
// world never touches a device, so the stage runs headless with a scripted
// input record in tests.
#pragma once

#include <cstdint>

// Windows virtual-key codes of the play keys; the shell maps its own key
// codes onto these, and `Player::on_key_down` takes them.
enum Play_Key : int32_t {
    key_left = 37,
    key_up = 38,
    key_right = 39,
    key_down = 40,
    key_c = 67,
    key_x = 88,
    key_z = 90,
    key_left_shift = 160,
    key_left_control = 162,
};

// A hat that is centred (or absent) reports this value, which matches none of
// the eight directions.
inline constexpr int32_t hat_centred = -1;
inline constexpr int32_t joystick_button_count = 32;

struct Player_Input {
    // Keyboard keys held this frame.
    bool right = false;
    bool left = false;
    bool up = false;
    bool down = false;
    bool left_shift = false;
    bool z = false;
    bool c = false;
    bool left_control = false;
    bool x = false;

    // Joystick 0: axes -1..1, the hat in hundredths of a degree (0 up,
    // clockwise) or `hat_centred`, and the buttons held by number.
    float axis_x = 0.0f;
    float axis_y = 0.0f;
    int32_t hat = hat_centred;
    bool buttons[joystick_button_count] = {};

    bool button(int32_t number) const {
        return number >= 0 && number < joystick_button_count && buttons[number];
    }
};
