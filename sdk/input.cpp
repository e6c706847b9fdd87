#include "sdk/input.h"

#include <SDL.h>

#include <algorithm>

#include "sdk/display_internal.h"

namespace sdk {

namespace {

constexpr int key_count = 256;

struct Key_Row {
    SDL_Keycode sdl;
    int vk;
};

// Keys whose virtual-key code does not follow from a letter or digit.
constexpr Key_Row key_rows[] = {
    {SDLK_BACKSPACE, 8},     {SDLK_TAB, 9},           {SDLK_RETURN, 13},     {SDLK_KP_ENTER, 13},
    {SDLK_PAUSE, 19},        {SDLK_CAPSLOCK, 20},     {SDLK_ESCAPE, 27},     {SDLK_SPACE, 32},
    {SDLK_PAGEUP, 33},       {SDLK_PAGEDOWN, 34},     {SDLK_END, 35},        {SDLK_HOME, 36},
    {SDLK_LEFT, 37},         {SDLK_UP, 38},           {SDLK_RIGHT, 39},      {SDLK_DOWN, 40},
    {SDLK_PRINTSCREEN, 44},  {SDLK_INSERT, 45},       {SDLK_DELETE, 46},
    {SDLK_KP_0, 96},         {SDLK_KP_1, 97},         {SDLK_KP_2, 98},       {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},        {SDLK_KP_5, 101},        {SDLK_KP_6, 102},      {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},        {SDLK_KP_9, 105},        {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},    {SDLK_KP_PERIOD, 110},   {SDLK_KP_DIVIDE, 111},
    {SDLK_F1, 112},          {SDLK_F2, 113},          {SDLK_F3, 114},        {SDLK_F4, 115},
    {SDLK_F5, 116},          {SDLK_F6, 117},          {SDLK_F7, 118},        {SDLK_F8, 119},
    {SDLK_F9, 120},          {SDLK_F10, 121},         {SDLK_F11, 122},       {SDLK_F12, 123},
    {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145},
    {SDLK_LSHIFT, 160},      {SDLK_RSHIFT, 161},      {SDLK_LCTRL, 162},     {SDLK_RCTRL, 163},
    {SDLK_LALT, 164},        {SDLK_RALT, 165},
    {SDLK_SEMICOLON, 186},   {SDLK_EQUALS, 187},      {SDLK_COMMA, 188},     {SDLK_MINUS, 189},
    {SDLK_PERIOD, 190},      {SDLK_SLASH, 191},       {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},   {SDLK_RIGHTBRACKET, 221}, {SDLK_QUOTE, 222},
};


}  // namespace

int virtual_key_from_sdl(int sdl_keycode, int sdl_scancode) {
    if (sdl_keycode >= SDLK_a && sdl_keycode <= SDLK_z) return 'A' + (sdl_keycode - SDLK_a);
    if (sdl_keycode >= SDLK_0 && sdl_keycode <= SDLK_9) return '0' + (sdl_keycode - SDLK_0);
    for (const Key_Row& r : key_rows)
        if (r.sdl == sdl_keycode) return r.vk;
    // Layouts whose letter keys give no Latin letter: the key's place decides,
    // as virtual-key codes do.
    if (sdl_scancode >= SDL_SCANCODE_A && sdl_scancode <= SDL_SCANCODE_Z)
        return 'A' + (sdl_scancode - SDL_SCANCODE_A);
    if (sdl_scancode >= SDL_SCANCODE_1 && sdl_scancode <= SDL_SCANCODE_9)
        return '1' + (sdl_scancode - SDL_SCANCODE_1);
    if (sdl_scancode == SDL_SCANCODE_0) return '0';
    return 0;
}

float hat_hundredths(int hat) {
    switch (hat) {
        case SDL_HAT_UP: return 0.0f;
        case SDL_HAT_RIGHTUP: return 4500.0f;
        case SDL_HAT_RIGHT: return 9000.0f;
        case SDL_HAT_RIGHTDOWN: return 13500.0f;
        case SDL_HAT_DOWN: return 18000.0f;
        case SDL_HAT_LEFTDOWN: return 22500.0f;
        case SDL_HAT_LEFT: return 27000.0f;
        case SDL_HAT_LEFTUP: return 31500.0f;
        default: return hat_centred;
    }
}

Input_Device::Kind Input_Device::get_kind() const { return impl_ ? impl_->kind : Kind::none; }
std::string Input_Device::get_name() const { return impl_ ? impl_->name : ""; }

bool Input_Device::get_keycode(int code) const {
    return impl_ && code >= 0 && code < static_cast<int>(impl_->held.size()) && impl_->held[code];
}

float Input_Device::get_axis(int axis) const {
    if (axis >= hat_axis) {
        // A hat that is not there reads as released, never as "up" (0).
        if (!impl_) return hat_centred;
        size_t i = static_cast<size_t>(impl_->axis_count + (axis - hat_axis));
        return i < impl_->axes.size() ? impl_->axes[i] : hat_centred;
    }
    if (!impl_ || axis < 0 || axis >= impl_->axis_count) return 0.0f;
    return impl_->axes[axis];
}

int Input_Device::get_axis_count() const { return impl_ ? impl_->axis_count : 0; }

int Input_Device::get_button_count() const {
    return impl_ && impl_->joystick ? SDL_JoystickNumButtons(impl_->joystick) : 0;
}

Signal<void(const Input_Event&)>& Input_Device::sig_key_down() {
    static Signal<void(const Input_Event&)> none;
    return impl_ ? impl_->key_down : none;
}
Signal<void(const Input_Event&)>& Input_Device::sig_key_up() {
    static Signal<void(const Input_Event&)> none;
    return impl_ ? impl_->key_up : none;
}
Signal<void(const Input_Event&)>& Input_Device::sig_axis_move() {
    static Signal<void(const Input_Event&)> none;
    return impl_ ? impl_->axis_move : none;
}

Input_Device& Input_Context::get_keyboard() {
    static auto* keyboard = new Input_Device(detail::keyboard_device());
    return *keyboard;
}

int Input_Context::get_joystick_count() const {
    return static_cast<int>(detail::joystick_devices().size());
}

Input_Device Input_Context::get_joystick(int index) const {
    auto& list = detail::joystick_devices();
    if (index < 0 || index >= static_cast<int>(list.size())) return {};
    return Input_Device(list[index]);
}

namespace detail {

// The device tables are never destroyed: handles kept in globals (the
// player's) may be released after every other static.
std::shared_ptr<Input_Device::Impl>& keyboard_device() {
    static auto* k = new std::shared_ptr<Input_Device::Impl>([] {
        auto d = std::make_shared<Input_Device::Impl>();
        d->kind = Input_Device::Kind::keyboard;
        d->name = "keyboard";
        d->held.assign(key_count, false);
        return d;
    }());
    return *k;
}

std::vector<std::shared_ptr<Input_Device::Impl>>& joystick_devices() {
    static auto* list = new std::vector<std::shared_ptr<Input_Device::Impl>>();
    return *list;
}

void open_joystick(int device_index) {
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
    for (auto& j : joystick_devices())
        if (j->instance == id) return;
    SDL_Joystick* js = SDL_JoystickOpen(device_index);
    if (!js) return;
    auto d = std::make_shared<Input_Device::Impl>();
    d->kind = Input_Device::Kind::joystick;
    const char* name = SDL_JoystickName(js);
    d->name = name ? name : "joystick";
    d->joystick = js;
    d->instance = SDL_JoystickInstanceID(js);
    d->held.assign(std::max(0, SDL_JoystickNumButtons(js)), false);
    d->axis_count = std::max(0, SDL_JoystickNumAxes(js));
    d->axes.assign(d->axis_count, 0.0f);
    d->axes.resize(d->axes.size() + std::max(0, SDL_JoystickNumHats(js)), hat_centred);
    joystick_devices().push_back(d);
}

static void forget(Input_Device::Impl& d) {
    if (d.joystick) SDL_JoystickClose(d.joystick);
    d.joystick = nullptr;
    std::fill(d.held.begin(), d.held.end(), false);
    for (size_t i = 0; i < d.axes.size(); ++i)
        d.axes[i] = static_cast<int>(i) < d.axis_count ? 0.0f : hat_centred;
}

void close_joystick(SDL_JoystickID instance) {
    auto& list = joystick_devices();
    for (auto it = list.begin(); it != list.end(); ++it)
        if ((*it)->instance == instance) {
            forget(**it);
            list.erase(it);
            return;
        }
}

void close_all_joysticks() {
    for (auto& j : joystick_devices()) forget(*j);
    joystick_devices().clear();
}

void release_all_keys() {
    auto& held = keyboard_device()->held;
    std::fill(held.begin(), held.end(), false);
}

}  // namespace detail
}  // namespace sdk
