#include "sdk/window_mode.h"

#include <algorithm>

namespace sdk::detail {

namespace {

// How long a window manager has to carry a request out before the window
// acts by itself. Frames go on meanwhile.
constexpr Uint32 patience_ms = 1000;

bool shown(SDL_Window* w) { return (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN) != 0; }

SDL_Rect centred(const SDL_Rect& on, Size size) {
    return {on.x + (on.w - size.width) / 2, on.y + (on.h - size.height) / 2, size.width,
            size.height};
}

// The top-left corner that keeps `outer` on `usable`, moved as little as
// can be; one too large for it starts at the usable area's corner.
int kept_inside(int at, int length, int start, int room) {
    return std::max(start, std::min(at, start + room - length));
}

}  // namespace

void Window_Mode::apply(const Window_Description& d) {
    target_ = d;
    if (d.fullscreen) {
        switch (phase_) {
            case Phase::windowed:
                if (shown(w_)) {
                    windowed_place_ = port_.geometry();
                    windowed_frame_ = port_.frame();
                    place_known_ = true;
                }
                // Size limits would keep a window manager from letting the
                // window cover the display; full screen has no frame to
                // resize it by anyway.
                port_.set_size_limits(false, d.size);
                // Shown first: a window manager carries full screen out on a
                // mapped window.
                if (d.visible) SDL_ShowWindow(w_);
                enter_full_screen();
                break;
            case Phase::asking_windowed:  // back before full screen was taken away
            case Phase::placing:          // back before the window got its place
                enter_full_screen();
                break;
            case Phase::asking_full_screen:
            case Phase::full_screen:
            case Phase::covering_display:
                break;
        }
    } else {
        switch (phase_) {
            case Phase::asking_full_screen:
            case Phase::full_screen:
                ask_windowed();
                break;
            case Phase::covering_display:
                leave_covered_display();
                break;
            case Phase::asking_windowed:
                break;
            case Phase::placing:
            case Phase::windowed: {
                port_.set_decorations(d.decorations);
                port_.set_size_limits(!d.resizable, d.size);
                SDL_Rect now = port_.geometry();
                if (now.w != d.size.width || now.h != d.size.height) {
                    // A window that was never shown is centred at its size,
                    // as it was made; a shown one keeps its place.
                    if (shown(w_))
                        port_.resize(d.size);
                    else
                        port_.place(centred(display_bounds(w_), d.size), {});
                }
                if (d.visible) SDL_ShowWindow(w_);
                break;
            }
        }
    }
    if (!d.visible) SDL_HideWindow(w_);
    advance();
}

void Window_Mode::set_size(Size size, bool keep_on_display) {
    target_.size = size;
    if (target_.fullscreen) return;
    if (phase_ == Phase::placing) {
        port_.resize(size);
        return;
    }
    if (phase_ != Phase::windowed) return;
    SDL_Rect now = port_.geometry();
    SDL_Rect area{now.x, now.y, size.width, size.height};
    Frame f = port_.frame();
    SDL_Rect outer = with_frame(area, f);
    SDL_Rect usable;
    if (keep_on_display && usable_area(w_, outer, usable)) {
        int x = kept_inside(outer.x, outer.w, usable.x, usable.w) + f.left;
        int y = kept_inside(outer.y, outer.h, usable.y, usable.h) + f.top;
        if (x != area.x || y != area.y) {
            port_.place({x, y, size.width, size.height}, f);
            return;
        }
    }
    port_.resize(size);
}

bool Window_Mode::advance() {
    switch (phase_) {
        case Phase::asking_full_screen: {
            SDL_Rect got = port_.geometry(), want = display_bounds(w_);
            if (SDL_RectEquals(&got, &want)) {
                phase_ = Phase::full_screen;
                return true;
            }
            if (!patience_over()) return false;
            // Nobody made the window cover its display: the request is taken
            // back, and the window covers it itself.
            port_.ask_full_screen(false);
            cover_display();
            return true;
        }
        case Phase::asking_windowed: {
            // A window manager asked for full screen and then to take it
            // away carries out both in turn: the change is over once the
            // state has come and gone.
            bool still_full = port_.full_screen_state();
            if (still_full) full_seen_ = true;
            bool waited = patience_over() || !port_.window_manager_running();
            if ((still_full || !full_seen_) && !waited) return false;
            if (still_full) port_.drop_full_screen_state();
            restore_windowed(!still_full && full_seen_);
            // The window may be back at its place already.
            return phase_ == Phase::placing ? advance() : true;
        }
        case Phase::placing: {
            // The window is back once the server and SDL, whose size the
            // renderer and the resize signal take, both have the size it was
            // given. On the way the full-screen state may be gone while the
            // window still covers the display, and the window manager may
            // frame it again at sizes of its own first (openbox: framed at
            // the full size, then put back); none of those is a windowed
            // size. One that puts the window back at a size of its own
            // (maximised) has it after a moment.
            SDL_Rect got = port_.geometry();
            int w = 0, h = 0;
            SDL_GetWindowSize(w_, &w, &h);
            bool back = got.w == target_.size.width && got.h == target_.size.height && w == got.w &&
                        h == got.h;
            if (!back && !patience_over()) return false;
            phase_ = Phase::windowed;
            return true;
        }
        case Phase::windowed:
        case Phase::full_screen:
        case Phase::covering_display:
            return false;
    }
    return false;
}

bool Window_Mode::changing() const {
    return phase_ == Phase::asking_full_screen || phase_ == Phase::asking_windowed ||
           phase_ == Phase::placing;
}

void Window_Mode::enter_full_screen() {
    if (port_.ask_full_screen(true)) {
        phase_ = Phase::asking_full_screen;
        asked_at_ = SDL_GetTicks();
    } else {
        cover_display();
    }
}

void Window_Mode::cover_display() {
    port_.set_decorations(false);
    // Borderless, the window has no frame: the drawing area is the display.
    port_.place(display_bounds(w_), {});
    phase_ = Phase::covering_display;
}

void Window_Mode::leave_covered_display() {
    // A state another window manager left on the window goes too, so that
    // none started later makes the window full screen again.
    if (port_.full_screen_state()) {
        if (port_.ask_full_screen(false)) {
            phase_ = Phase::asking_windowed;
            asked_at_ = SDL_GetTicks();
            full_seen_ = true;
            return;
        }
        port_.drop_full_screen_state();
    }
    restore_windowed(false);
}

void Window_Mode::ask_windowed() {
    full_seen_ = phase_ == Phase::full_screen;
    if (port_.ask_full_screen(false)) {
        phase_ = Phase::asking_windowed;
        asked_at_ = SDL_GetTicks();
        return;
    }
    // No window manager any more: nobody but the window takes it away.
    if (port_.full_screen_state()) port_.drop_full_screen_state();
    restore_windowed(false);
}

void Window_Mode::restore_windowed(bool by_window_manager) {
    phase_ = Phase::windowed;
    port_.set_decorations(target_.decorations);
    port_.set_size_limits(!target_.resizable, target_.size);
    if (by_window_manager && port_.restores_after_full_screen()) {
        phase_ = Phase::placing;
        asked_at_ = SDL_GetTicks();
    } else {
        // Where it was, with the frame it had, as long as a window manager
        // still draws one.
        bool framed = port_.window_manager_running();
        SDL_Rect place = place_known_ ? SDL_Rect{windowed_place_.x, windowed_place_.y,
                                                 target_.size.width, target_.size.height}
                                      : centred(display_bounds(w_), target_.size);
        port_.place(place, place_known_ && framed ? windowed_frame_ : Frame{});
        if (framed) {
            phase_ = Phase::placing;
            asked_at_ = SDL_GetTicks();
        }
    }
    if (target_.visible) SDL_ShowWindow(w_);
}

bool Window_Mode::patience_over() const { return SDL_GetTicks() - asked_at_ >= patience_ms; }

}  // namespace sdk::detail
