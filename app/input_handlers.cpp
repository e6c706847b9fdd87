// The window's signals: closing, resizing, the keyboard and the first
// joystick, turned into the input counters of the screens and the arrow
// presses of the player; and the devices' state read for the player's own
// steering each play frame.
#include "app/application.h"
#include "app/screen_state.h"
#include "sdk/core/clock.h"
#include "sdk/input.h"
#include "world/player.h"

void Application::connect_input() {
    slots.clear();
    slots.push_back(window.sig_window_close().connect([this] { quit = true; }));
    // The size a resize reports is not kept: the rule reads the window's own.
    slots.push_back(window.sig_resize().connect([this](int, int) { ++counters.count_resize; }));
    sdk::Input_Device& keyboard = window.get_ic().get_keyboard();
    slots.push_back(keyboard.sig_key_up().connect([this](const sdk::Input_Event& e) {
        if (e.id == shell_keys::f4 && e.alt) quit = true;
    }));
    slots.push_back(keyboard.sig_key_down().connect([this](const sdk::Input_Event& e) {
        if (e.id >= sdk::key_codes::left && e.id <= sdk::key_codes::down) player.on_key_down(e.id);
        counters.on_key_down(app_state, e.id, e.repeat);
    }));
    if (window.get_ic().get_joystick_count() > 0) {
        sdk::Input_Device joystick = window.get_ic().get_joystick(0);
        slots.push_back(
            joystick.sig_axis_move().connect([this, joystick](const sdk::Input_Event& e) {
                player.on_joystick_event();
                if (e.id == 0 || e.id == 1)
                    counters.on_stick(app_state, joystick.get_axis(0), joystick.get_axis(1),
                                      static_cast<float>(sdk::get_time()));
                else if (e.id == sdk::hat_axis)
                    counters.on_hat(app_state, joystick.get_axis(sdk::hat_axis));
            }));
        slots.push_back(joystick.sig_key_down().connect([this](const sdk::Input_Event& e) {
            player.on_joystick_event();
            counters.on_joystick_button(app_state, e.id);
        }));
    }
}

Player_Input Application::read_play_input() {
    namespace k = sdk::key_codes;
    Player_Input in;
    sdk::Input_Device& kb = window.get_ic().get_keyboard();
    in.right = kb.get_keycode(k::right);
    in.left = kb.get_keycode(k::left);
    in.up = kb.get_keycode(k::up);
    in.down = kb.get_keycode(k::down);
    in.left_shift = kb.get_keycode(k::left_shift);
    in.z = kb.get_keycode('Z');
    in.c = kb.get_keycode('C');
    in.left_control = kb.get_keycode(k::left_control);
    in.x = kb.get_keycode('X');
    player.joystick_present = window.get_ic().get_joystick_count() > 0 ? 1 : 0;
    if (player.joystick_present) {
        sdk::Input_Device js = window.get_ic().get_joystick(0);
        in.axis_x = js.get_axis(0);
        in.axis_y = js.get_axis(1);
        float hat = js.get_axis(sdk::hat_axis);
        in.hat = hat == sdk::hat_centred ? hat_centred : static_cast<int32_t>(hat);
        for (int b = 0; b < joystick_button_count; ++b) in.buttons[b] = js.get_keycode(b);
    }
    return in;
}
