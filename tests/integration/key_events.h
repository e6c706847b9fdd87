// Keys pressed on the running game's keyboard: events pushed into SDL's
// queue, which the game's message pump hands to its key handlers on the next
// frame, as the keyboard would.
#pragma once

#include <SDL.h>

namespace keys {

struct Key {
    SDL_Keycode sym;
    SDL_Scancode code;
};
inline constexpr Key z{SDLK_z, SDL_SCANCODE_Z};
inline constexpr Key x{SDLK_x, SDL_SCANCODE_X};
inline constexpr Key up{SDLK_UP, SDL_SCANCODE_UP};
inline constexpr Key down{SDLK_DOWN, SDL_SCANCODE_DOWN};
inline constexpr Key left{SDLK_LEFT, SDL_SCANCODE_LEFT};
inline constexpr Key right{SDLK_RIGHT, SDL_SCANCODE_RIGHT};
inline constexpr Key escape{SDLK_ESCAPE, SDL_SCANCODE_ESCAPE};
inline constexpr Key home{SDLK_HOME, SDL_SCANCODE_HOME};
inline constexpr Key f11{SDLK_F11, SDL_SCANCODE_F11};

inline void send_key(const Key& k, bool pressed) {
    SDL_Event e{};
    e.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = k.sym;
    e.key.keysym.scancode = k.code;
    SDL_PushEvent(&e);
}

// Pressed and let go within one frame.
inline void tap(const Key& k) {
    send_key(k, true);
    send_key(k, false);
}

}  // namespace keys
