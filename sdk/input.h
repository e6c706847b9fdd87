// Input devices: keyboard 0 and the joysticks, as the message pump sees them.
// Key codes are the Windows virtual-key codes the game's tables use (see
// key_codes below); joystick buttons are numbered from 0; joystick axes read
// -1..1, and the first hat is axis 32, in hundredths of degrees clockwise
// from up (0 up, 4500 up-right, 9000 right ... 31500 up-left) and
// hat_centred (-1) when released. Devices are shared handles that stay valid
// (and read as idle) after their hardware is gone. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sdk/signal.h"

namespace sdk {

namespace key_codes {
inline constexpr int backspace = 8, tab = 9, enter = 13, pause = 19, escape = 27, space = 32;
inline constexpr int page_up = 33, page_down = 34, end = 35, home = 36;
inline constexpr int left = 37, up = 38, right = 39, down = 40;
inline constexpr int insert = 45, delete_key = 46;
// Digits are '0'..'9' (48..57) and letters 'A'..'Z' (65..90).
inline constexpr int numpad_0 = 96;  // .. 105
inline constexpr int f1 = 112;       // .. f12 = 123
inline constexpr int f4 = 115, f11 = 122, f12 = 123;
inline constexpr int shift = 16, control = 17, alt = 18;
inline constexpr int left_shift = 160, right_shift = 161, left_control = 162,
                     right_control = 163, left_alt = 164, right_alt = 165;
}  // namespace key_codes

inline constexpr int hat_axis = 32;
inline constexpr float hat_centred = -1.0f;

class Input_Device;

struct Input_Event {
    enum class Type { none, pressed, released, axis_moved };
    Type type = Type::none;
    // The key code, the button number or the axis number.
    int id = 0;
    // For axis moves: the axis's new value (-1..1, or the hat's hundredths).
    float axis_pos = 0.0f;
    bool alt = false;
    bool shift = false;
    bool ctrl = false;
    // A key-down that the keyboard repeats while the key is held.
    bool repeat = false;
};

class Input_Device {
public:
    enum class Kind { none, keyboard, joystick };

    Input_Device() = default;

    bool is_null() const { return !impl_; }
    Kind get_kind() const;
    std::string get_name() const;

    // Whether the key (keyboard) or button (joystick) is held.
    bool get_keycode(int code) const;
    // A joystick axis, or the hat as axis 32; 0 for an axis that is not there.
    float get_axis(int axis) const;
    int get_axis_count() const;
    int get_button_count() const;

    Signal<void(const Input_Event&)>& sig_key_down();
    Signal<void(const Input_Event&)>& sig_key_up();
    Signal<void(const Input_Event&)>& sig_axis_move();

    struct Impl;
    explicit Input_Device(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}
    Impl* impl() const { return impl_.get(); }

private:
    std::shared_ptr<Impl> impl_;
};

// The devices of a window: keyboard 0 and the joysticks present.
class Input_Context {
public:
    Input_Device& get_keyboard();
    int get_joystick_count() const;
    // Joystick `index`, or an empty device.
    Input_Device get_joystick(int index = 0) const;
};

// Windows virtual-key code of an SDL key, 0 for keys without one. Exposed for tests.
int virtual_key_from_sdl(int sdl_keycode, int sdl_scancode);
// The hat value of an SDL hat position (hundredths of degrees, or hat_centred).
float hat_hundredths(int sdl_hat);

}  // namespace sdk
