// How a window goes between windowed and full screen without the main loop
// ever waiting on the window system. A change sends its requests and
// returns; each frame `advance` looks at what the window system has made of
// them and takes the next step: a window manager asked for full screen that
// has not made the window cover its display within a moment has the request
// taken back, and the window covers the display itself; one asked to take
// full screen away that does not is left out, and the state is written off
// the window. Sizes are of the drawing area, in pixels.
//
// A window keeps its place: full screen remembers where the window was and
// puts it back there (a window manager that carried full screen out puts it
// back itself). Only the game's own sizes (the saved size at start, the
// size after full screen) are kept on the display; a size the player gives
// the window stays where the player put it.
#pragma once

#include <SDL.h>

#include "sdk/display_internal.h"
#include "sdk/window.h"

namespace sdk::detail {

class Window_Mode {
public:
    Window_Mode(SDL_Window* window, Window_Port& port) : w_(window), port_(port) {}

    // Starts the change to the mode, size, decorations, size limits and
    // visibility of `d`, from wherever the last change has got to.
    void apply(const Window_Description& d);
    // A new windowed size. The window keeps its place; with
    // `keep_on_display` it is moved just far enough for its frame to stay
    // on the usable area. In full screen the size waits for the way back.
    void set_size(Size size, bool keep_on_display);
    // The next step of a change, once the window system has answered the
    // last one or a moment has passed without; true when a change has just
    // ended (the window's size is then the one it keeps).
    bool advance();
    // Whether a change between windowed and full screen is under way.
    bool changing() const;

private:
    enum class Phase {
        windowed,
        asking_full_screen,  // the window manager was asked for it
        full_screen,         // the window manager carried it out
        covering_display,    // the window covers its display itself
        asking_windowed,     // the window manager was asked to take it away
        placing,             // back to windowed, until the window has its place
    };

    void enter_full_screen();
    void cover_display();
    void leave_covered_display();
    void ask_windowed();
    // Back to the windowed size, where the window was before full screen;
    // a window manager that took full screen away has put it there itself.
    void restore_windowed(bool by_window_manager);
    bool patience_over() const;

    SDL_Window* w_;
    Window_Port& port_;
    Window_Description target_;
    Phase phase_ = Phase::windowed;
    Uint32 asked_at_ = 0;
    bool full_seen_ = false;  // the window manager has put the window in full screen
    bool place_known_ = false;
    SDL_Rect windowed_place_{0, 0, 0, 0};
    Frame windowed_frame_;
};

}  // namespace sdk::detail
