// Inside the display layer only: the live windows and input devices that the
// message pump hands events to, and what the shut-down of the display closes.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "sdk/input.h"
#include "sdk/window.h"

namespace sdk {

struct Input_Device::Impl {
    Kind kind = Kind::none;
    std::string name;
    std::vector<bool> held;   // keys by virtual-key code, or buttons
    std::vector<float> axes;  // joystick axes, then the hats (read as axis 32 on)
    int axis_count = 0;
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID instance = -1;
    Signal<void(const Input_Event&)> key_down, key_up, axis_move;
};

namespace detail {

std::vector<Window::Impl*>& live_windows();
Window::Impl* window_of_id(Uint32 id);
std::shared_ptr<Input_Device::Impl>& keyboard_device();
std::vector<std::shared_ptr<Input_Device::Impl>>& joystick_devices();
void open_joystick(int device_index);
void close_joystick(SDL_JoystickID instance);
void close_all_joysticks();
void raise_close(Window::Impl* w);
void raise_resize(Window::Impl* w);
// Forgets held keys (the window lost the focus, so their releases go elsewhere).
void release_all_keys();
// Closes every open font before SDL_ttf stops; they draw nothing afterwards.
void close_all_fonts();

// Whether the window system would make `window` cover the desktop when asked
// (window_system.cpp). Where it would not, SDL must not be asked: it would
// take the desktop size for granted all the same. A test stands in for a
// window system that refuses.
enum class Full_Screen_Support { ask_the_system, refused };
Full_Screen_Support& full_screen_support();
bool full_screen_carried_out(SDL_Window* window);

}  // namespace detail
}  // namespace sdk
