#include "sdk/message_pump.h"

#include <SDL.h>

#include "sdk/display.h"
#include "sdk/display_internal.h"

namespace sdk {

namespace {

Input_Event key_event(const SDL_KeyboardEvent& k, Input_Event::Type type, int vk) {
    Input_Event e;
    e.type = type;
    e.id = vk;
    e.alt = (k.keysym.mod & KMOD_ALT) != 0;
    e.shift = (k.keysym.mod & KMOD_SHIFT) != 0;
    e.ctrl = (k.keysym.mod & KMOD_CTRL) != 0;
    e.repeat = k.repeat != 0;
    return e;
}

int generic_of(int vk) {
    switch (vk) {
        case 160: case 161: return 16;
        case 162: case 163: return 17;
        case 164: case 165: return 18;
        default: return 0;
    }
}

void on_key(const SDL_KeyboardEvent& k, bool down) {
    int vk = virtual_key_from_sdl(k.keysym.sym, k.keysym.scancode);
    if (vk <= 0) return;
    auto& kb = *detail::keyboard_device();
    kb.held[vk] = down;
    if (int g = generic_of(vk)) kb.held[g] = kb.held[g == 16 ? 160 : g == 17 ? 162 : 164] ||
                                             kb.held[g == 16 ? 161 : g == 17 ? 163 : 165];
    Input_Event e = key_event(k, down ? Input_Event::Type::pressed : Input_Event::Type::released, vk);
    (down ? kb.key_down : kb.key_up).invoke(e);
}

std::shared_ptr<Input_Device::Impl> joystick_of(SDL_JoystickID id) {
    for (auto& j : detail::joystick_devices())
        if (j->instance == id) return j;
    return nullptr;
}

void on_axis(SDL_JoystickID id, int axis, float value) {
    auto j = joystick_of(id);
    if (!j) return;
    size_t slot = axis >= hat_axis ? static_cast<size_t>(j->axis_count + axis - hat_axis)
                                   : static_cast<size_t>(axis);
    if (slot >= j->axes.size()) return;
    j->axes[slot] = value;
    Input_Event e;
    e.type = Input_Event::Type::axis_moved;
    e.id = axis;
    e.axis_pos = value;
    j->axis_move.invoke(e);
}

void on_button(SDL_JoystickID id, int button, bool down) {
    auto j = joystick_of(id);
    if (!j || button < 0 || button >= static_cast<int>(j->held.size())) return;
    j->held[button] = down;
    Input_Event e;
    e.type = down ? Input_Event::Type::pressed : Input_Event::Type::released;
    e.id = button;
    (down ? j->key_down : j->key_up).invoke(e);
}

void handle(const SDL_Event& ev) {
    switch (ev.type) {
        case SDL_QUIT:
            for (Window::Impl* w : std::vector<Window::Impl*>(detail::live_windows())) detail::raise_close(w);
            break;
        case SDL_WINDOWEVENT: {
            Window::Impl* w = detail::window_of_id(ev.window.windowID);
            if (!w) break;
            if (ev.window.event == SDL_WINDOWEVENT_CLOSE) detail::raise_close(w);
            else if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) detail::raise_resize(w);
            else if (ev.window.event == SDL_WINDOWEVENT_FOCUS_LOST) detail::release_all_keys();
            break;
        }
        case SDL_SYSWMEVENT: detail::on_window_system_message(ev.syswm.msg); break;
        case SDL_KEYDOWN: on_key(ev.key, true); break;
        case SDL_KEYUP: on_key(ev.key, false); break;
        case SDL_JOYAXISMOTION: {
            float v = ev.jaxis.value / 32767.0f;
            on_axis(ev.jaxis.which, ev.jaxis.axis, v < -1.0f ? -1.0f : v);
            break;
        }
        case SDL_JOYHATMOTION: on_axis(ev.jhat.which, hat_axis + ev.jhat.hat, hat_hundredths(ev.jhat.value)); break;
        case SDL_JOYBUTTONDOWN: on_button(ev.jbutton.which, ev.jbutton.button, true); break;
        case SDL_JOYBUTTONUP: on_button(ev.jbutton.which, ev.jbutton.button, false); break;
        case SDL_JOYDEVICEADDED: detail::open_joystick(ev.jdevice.which); break;
        case SDL_JOYDEVICEREMOVED: detail::close_joystick(ev.jdevice.which); break;
        default: break;
    }
}

}  // namespace

void Keep_Alive::process(int timeout_ms) {
    if (!Display_Setup::is_active()) return;
    SDL_Event ev;
    if (timeout_ms > 0 && SDL_WaitEventTimeout(&ev, timeout_ms)) handle(ev);
    while (SDL_PollEvent(&ev)) handle(ev);
    detail::advance_window_modes();
}

}  // namespace sdk
