// The game window and its renderer. One window serves the whole run: every
// texture, sprite and font made through its canvases belongs to its renderer,
// so a change of display mode (windowed or full screen, size, resizable) is
// made in place with apply() rather than by opening another window; a window
// made hidden can load everything and be shown afterwards.
//
// Full screen covers the display at its own resolution: the window manager
// is asked where one runs, and where none makes the window cover the display
// (under X without a window manager, or with one that leaves the window as
// it is) the window covers it itself, borderless at the display's bounds.
// Leaving full screen takes the full-screen state off the window, so that no
// window manager started later makes it full screen again, and puts the
// window back where it was. None of this waits for the window system: a
// change is sent at once and carried on over the next frames
// (window_mode.h), and the drawing area is always the size the window
// really has, which the resize signal announces. Sizes are of the
// drawing area (client area) in pixels. The renderer is SDL's OpenGL one,
// falling back to the software renderer where no OpenGL context can be had;
// tests ask for the software renderer. Signals run inside the message pump
// (message_pump.h), on the main thread.
#pragma once

#include <memory>
#include <string>

#include "sdk/core/math.h"
#include "sdk/input.h"
#include "sdk/signal.h"

namespace sdk {

class Canvas;
namespace detail {
class Render_Device;
}

enum class Renderer_Kind {
    accelerated,  // OpenGL, or software when that fails
    software,
};

struct Window_Description {
    std::string title = "Mirel";
    Size size{640, 480};      // drawing area, when windowed
    bool fullscreen = false;  // on the desktop resolution
    bool decorations = true;  // a caption and borders, when windowed
    bool resizable = false;
    bool visible = true;
    Renderer_Kind renderer = Renderer_Kind::accelerated;
};

class Window {
public:
    Window() = default;
    // Opens the window. Throws "Unable to create window: <reason>".
    explicit Window(const Window_Description& description);

    bool is_null() const { return !impl_; }
    explicit operator bool() const { return impl_ != nullptr; }

    // Changes mode, size, title, decorations, the resizable flag and the
    // visibility to those of `description`, keeping the renderer and every
    // texture. The renderer kind of a window never changes.
    void apply(const Window_Description& description);
    const Window_Description& get_description() const;

    // The drawing area in pixels, as the window system holds it.
    Size get_size() const;
    // Asks for a drawing area when windowed; the window keeps its place,
    // or with `keep_on_display` moves just far enough for its frame to stay
    // on the displays' usable area. A window manager may hold the window at
    // another size (maximised, tiled): get_size() tells what it got, and the
    // resize signal when it has got it.
    void set_size(int width, int height, bool keep_on_display = false);
    // The largest drawing area that fits, with the window manager's frame,
    // in the part of the displays the window is on that windows may use
    // (without panels and docks), all of them together; 0 x 0 when it
    // cannot be known.
    Size usable_display_size() const;
    // Whether a change between windowed and full screen is still under
    // way: the window's size then belongs to neither mode.
    bool is_changing_mode() const;
    bool is_visible() const;
    bool is_fullscreen() const;
    void show();
    void hide();
    void set_title(const std::string& title);
    void show_cursor();
    void hide_cursor();

    // Presents the picture. `interval` 1 waits for vertical sync, 0 does not.
    void flip(int interval = 1);

    // Raised when the player closes the window (or the system asks to quit).
    Signal<void()>& sig_window_close();
    // Raised with the new drawing area size in pixels, and when a change
    // between windowed and full screen has ended.
    Signal<void(int, int)>& sig_resize();

    Input_Context& get_ic();

    // "opengl", "software", ...: what the renderer turned out to be.
    std::string get_renderer_name() const;

    struct Impl;
    Impl* impl() const { return impl_.get(); }
    std::shared_ptr<detail::Render_Device> device() const;

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace sdk
