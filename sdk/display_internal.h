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
// The SDL window of a live window; null once its device has gone.
SDL_Window* window_of(Window::Impl* w);
std::shared_ptr<Input_Device::Impl>& keyboard_device();
std::vector<std::shared_ptr<Input_Device::Impl>>& joystick_devices();
void open_joystick(int device_index);
void close_joystick(SDL_JoystickID instance);
void close_all_joysticks();
void raise_close(Window::Impl* w);
void raise_resize(Window::Impl* w);
// A message of the window system itself: a new frame from the window
// manager raises the window's resize signal, since the room the drawing
// area has on the display has changed with it.
void on_window_system_message(const SDL_SysWMmsg* message);
// Takes the next step of every window's change of mode that the window
// system has answered (once a frame, after its messages); a change that
// ends raises the window's resize signal.
void advance_window_modes();
// Forgets held keys (the window lost the focus, so their releases go elsewhere).
void release_all_keys();
// Closes every open font before SDL_ttf stops; they draw nothing afterwards.
void close_all_fonts();

// The window's place, size and mode as the window system holds them, and
// the requests that change them (window_system.cpp). Every call returns at
// once: a request is sent and what the window system made of it is read in
// a later frame. Under X the port talks to the server itself: SDL's own
// calls wait up to 100 ms each for the window manager, move the window by a
// frame they remember from before (one that may have gone with its window
// manager), and take the size they asked for as the size the window has,
// so that the renderer draws for an area the window may not have. Elsewhere
// the port goes through SDL.

// The frame a window manager draws around the drawing area, in pixels; 0 on
// every side where none runs.
struct Frame {
    int left = 0, right = 0, top = 0, bottom = 0;
    bool operator==(const Frame&) const = default;
};

// The drawing area `area` with the frame around it.
inline SDL_Rect with_frame(const SDL_Rect& area, const Frame& f) {
    return {area.x - f.left, area.y - f.top, area.w + f.left + f.right, area.h + f.top + f.bottom};
}

class Window_Port {
public:
    virtual ~Window_Port() = default;
    // The drawing area's place on the screen and its size.
    virtual SDL_Rect geometry() = 0;
    virtual Frame frame() = 0;
    // Whether a window manager answers requests now (under X: its check
    // window is alive, not merely named by a property it left behind).
    virtual bool window_manager_running() = 0;
    // Whether the window carries the full-screen state.
    virtual bool full_screen_state() = 0;
    // Asks the window manager to put the window in or out of full screen;
    // false where there is none to ask, or none that would carry it out.
    virtual bool ask_full_screen(bool on) = 0;
    // Whether a window manager that takes full screen away puts the window
    // back as it was before (under X, all of them do); elsewhere the window
    // asks for its size again.
    virtual bool restores_after_full_screen() = 0;
    // Writes the full-screen state off the window, where no window manager
    // takes it off.
    virtual void drop_full_screen_state() = 0;
    virtual void set_decorations(bool on) = 0;
    // A fixed window keeps `size`; otherwise any size may be given it.
    virtual void set_size_limits(bool fixed, Size size) = 0;
    // Puts the drawing area at (area.x, area.y) with the size of `area`;
    // `frame` is the frame it will have around it.
    virtual void place(const SDL_Rect& area, const Frame& frame) = 0;
    // A new size for the drawing area; its top-left corner stays.
    virtual void resize(Size size) = 0;
};

std::unique_ptr<Window_Port> make_window_port(SDL_Window* window);

// The bounds of the display that holds most of the window.
SDL_Rect display_bounds(SDL_Window* window);
// The usable parts (without panels and docks) of every display that the
// rectangle `around` touches, joined into the rectangle that holds them;
// false when none can be known.
bool usable_area(SDL_Window* window, const SDL_Rect& around, SDL_Rect& usable);

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
