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

// The window system's side of full screen (window_system.cpp). Under X, full
// screen is a request to the window manager: with none running, or one that
// leaves the window as it is, nobody acts on it, while SDL would take the
// desktop size for granted and draw for an area the window does not have.
//
// Asks the window manager, where one really runs, to make `window` cover its
// display, and reads back whether it did. Where it did not, the request is
// taken back and the answer is false.
bool full_screen_by_window_manager(SDL_Window* window);
// Makes `window` cover its display by itself: borderless, at the display's
// bounds (without a window manager X applies them directly). SDL is then
// told the size the window really got.
void cover_display(SDL_Window* window);

// The drawing area's place on the screen and its size as the window system
// holds them (under X, as the server has them), whatever SDL believes.
SDL_Rect real_geometry(SDL_Window* window);
Size real_size(SDL_Window* window);
// The frame a window manager puts around the window, as it stands now (as
// SDL_GetWindowBordersSize tells, without waiting for SDL to read the
// window's messages); false when none is known.
bool frame_size(SDL_Window* window, int& top, int& left, int& bottom, int& right);
// Tells SDL, and so the renderer, the size the window really has, where it
// believes another (the size it asked for, say, which a window manager
// refused).
void follow_real_size(SDL_Window* window);
// Waits, up to a moment, for the window to get the size `asked`, unless a
// window manager holds it at a size of its own (maximised or full screen),
// and then follows the size it really has.
void settle_size(SDL_Window* window, Size asked);
// Takes the full-screen state off the window: a window manager is asked to,
// and where none runs (or it does not), the state is written off the window,
// so that no window manager started later finds it there.
void leave_full_screen_state(SDL_Window* window);

// A test stands in for a window system of another kind; the offscreen
// driver itself carries every request out at once.
enum class Window_System {
    as_it_is,
    no_window_manager,    // nothing answers full screen; place and size apply directly
    ignores_full_screen,  // a window manager that is asked and leaves the window as it is
    keeps_window_size,    // nor does it let the window move or resize itself
};
Window_System& window_system_stand_in();

}  // namespace detail
}  // namespace sdk
