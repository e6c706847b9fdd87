#include "sdk/window.h"

#include <algorithm>

#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/display.h"
#include "sdk/display_internal.h"
#include "sdk/render_device.h"

namespace sdk {

struct Window::Impl {
    std::shared_ptr<detail::Render_Device> device;
    Window_Description description;
    Uint32 id = 0;
    Signal<void()> close;
    Signal<void(int, int)> resize;
    Input_Context ic;

    ~Impl() {
        std::erase(detail::live_windows(), this);
        if (device) device->retire();
    }
};

namespace detail {

// Never destroyed, like the device list: windows may outlive other statics.
std::vector<Window::Impl*>& live_windows() {
    static auto* windows = new std::vector<Window::Impl*>();
    return *windows;
}

Window::Impl* window_of_id(Uint32 id) {
    for (Window::Impl* w : live_windows())
        if (w->id == id) return w;
    return nullptr;
}

void raise_close(Window::Impl* w) { w->close.invoke(); }

void raise_resize(Window::Impl* w) {
    if (!w->device->is_alive()) return;
    int width = 0, height = 0;
    SDL_GetWindowSizeInPixels(w->device->window(), &width, &height);
    w->resize.invoke(width, height);
}

}  // namespace detail

namespace {

int software_driver_index() {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::string(info.name) == "software") return i;
    }
    return -1;
}

// The usable area (without panels and docks) of the display that holds the
// window; false when SDL cannot tell.
bool usable_bounds(SDL_Window* w, SDL_Rect& usable) {
    int index = SDL_GetWindowDisplayIndex(w);
    return index >= 0 && SDL_GetDisplayUsableBounds(index, &usable) == 0;
}

// What of that area the drawing area may take: the frame that the window
// manager puts around the window needs room too (none known: no frame).
bool usable_drawing_area(SDL_Window* w, SDL_Rect& usable) {
    if (!usable_bounds(w, usable)) return false;
    int top = 0, left = 0, bottom = 0, right = 0;
    if (detail::frame_size(w, top, left, bottom, right)) {
        usable = {usable.x + left, usable.y + top, std::max(0, usable.w - left - right),
                  std::max(0, usable.h - top - bottom)};
    }
    return true;
}

// A window that reaches past the display's usable area (a size kept from a
// larger monitor, say) is centred on it, and so is one that covered the
// display by itself: nobody else puts it back.
void place_on_display(SDL_Window* w, bool covered_display) {
    SDL_Rect usable;
    if (!usable_drawing_area(w, usable)) return;
    int index = SDL_GetWindowDisplayIndex(w);
    SDL_Rect r = detail::real_geometry(w);
    SDL_Rect inside;
    if (!covered_display && SDL_IntersectRect(&r, &usable, &inside) && SDL_RectEquals(&inside, &r))
        return;
    SDL_SetWindowPosition(w, SDL_WINDOWPOS_CENTERED_DISPLAY(index),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(index));
}

}  // namespace

Window::Window(const Window_Description& d) {
    if (!Display_Setup::is_active())
        throw Exception("Unable to create window: the display is not set up");
    // No high-DPI drawing area: the window and its picture keep one size in pixels.
    Uint32 flags = 0;
    if (!d.visible) flags |= SDL_WINDOW_HIDDEN;
    if (d.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (d.resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (!d.decorations) flags |= SDL_WINDOW_BORDERLESS;
    SDL_Window* w = SDL_CreateWindow(d.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                     std::max(1, d.size.width), std::max(1, d.size.height), flags);
    if (!w) throw Exception("Unable to create window: " + std::string(SDL_GetError()));
    SDL_Renderer* r = nullptr;
    bool software = d.renderer == Renderer_Kind::software;
    if (!software) {
        r = SDL_CreateRenderer(w, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
        if (!r) {
            log_event("SYSTEM", "No accelerated renderer (%1); drawing in software", SDL_GetError());
            software = true;
        }
    }
    if (!r) r = SDL_CreateRenderer(w, software_driver_index(), SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    if (!r) {
        std::string why = SDL_GetError();
        SDL_DestroyWindow(w);
        throw Exception("Unable to create window: " + why);
    }
    SDL_RendererInfo info;
    SDL_GetRendererInfo(r, &info);
    software = std::string(info.name) == "software";
    impl_ = std::make_shared<Impl>();
    impl_->device = std::make_shared<detail::Render_Device>(w, r, software);
    impl_->description = d;
    impl_->id = SDL_GetWindowID(w);
    detail::live_windows().push_back(impl_.get());
}

void Window::apply(const Window_Description& d) {
    if (!impl_ || !impl_->device->is_alive()) return;
    SDL_Window* w = impl_->device->window();
    impl_->device->flush();
    SDL_SetWindowTitle(w, d.title.c_str());
    bool covered_display =
        impl_->description.fullscreen && (SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN) == 0;
    if (!d.fullscreen) {
        SDL_SetWindowFullscreen(w, 0);
        detail::leave_full_screen_state(w);
        SDL_SetWindowBordered(w, d.decorations ? SDL_TRUE : SDL_FALSE);
        SDL_SetWindowResizable(w, d.resizable ? SDL_TRUE : SDL_FALSE);
        Size size{std::max(1, d.size.width), std::max(1, d.size.height)};
        SDL_SetWindowSize(w, size.width, size.height);
        if (d.visible) SDL_ShowWindow(w);
        detail::settle_size(w, size);
        place_on_display(w, covered_display);
    } else {
        SDL_SetWindowResizable(w, SDL_FALSE);
        // Shown first: a window manager carries full screen out on a mapped
        // window, and only then can what the window got be read back.
        if (d.visible) SDL_ShowWindow(w);
        if (!detail::full_screen_by_window_manager(w)) detail::cover_display(w);
    }
    if (!d.visible) SDL_HideWindow(w);
    Renderer_Kind kind = impl_->description.renderer;
    impl_->description = d;
    impl_->description.renderer = kind;
}

const Window_Description& Window::get_description() const {
    static const Window_Description none;
    return impl_ ? impl_->description : none;
}

Size Window::get_size() const {
    // Of the window itself, as the window system holds it: while a texture
    // is the renderer's target, the renderer's output size is the texture's,
    // and SDL's own idea may be a size that was asked for and refused.
    if (!impl_ || !impl_->device->is_alive()) return {};
    return detail::real_size(impl_->device->window());
}

void Window::set_size(int width, int height) {
    if (!impl_ || !impl_->device->is_alive()) return;
    impl_->description.size = {width, height};
    if (impl_->description.fullscreen) return;
    SDL_Window* w = impl_->device->window();
    Size size{std::max(1, width), std::max(1, height)};
    SDL_SetWindowSize(w, size.width, size.height);
    detail::settle_size(w, size);
    place_on_display(w, false);
}

Size Window::usable_display_size() const {
    SDL_Rect usable{0, 0, 0, 0};
    if (!impl_ || !impl_->device->is_alive() ||
        !usable_drawing_area(impl_->device->window(), usable))
        return {};
    return {usable.w, usable.h};
}

bool Window::is_visible() const {
    return impl_ && impl_->device->is_alive() &&
           (SDL_GetWindowFlags(impl_->device->window()) & SDL_WINDOW_SHOWN) != 0;
}

bool Window::is_fullscreen() const { return impl_ && impl_->description.fullscreen; }

void Window::show() {
    if (!impl_ || !impl_->device->is_alive()) return;
    impl_->description.visible = true;
    SDL_ShowWindow(impl_->device->window());
}

void Window::hide() {
    if (!impl_ || !impl_->device->is_alive()) return;
    impl_->description.visible = false;
    SDL_HideWindow(impl_->device->window());
}

void Window::set_title(const std::string& title) {
    if (!impl_ || !impl_->device->is_alive()) return;
    impl_->description.title = title;
    SDL_SetWindowTitle(impl_->device->window(), title.c_str());
}

void Window::show_cursor() { SDL_ShowCursor(SDL_ENABLE); }
void Window::hide_cursor() { SDL_ShowCursor(SDL_DISABLE); }

void Window::flip(int interval) {
    if (!impl_ || !impl_->device->is_alive()) return;
    detail::Render_Device& d = *impl_->device;
    d.flush();
    int vsync = interval > 0 ? 1 : 0;
    if (d.vsync != vsync) {
        SDL_RenderSetVSync(d.renderer(), vsync);  // the software renderer cannot; it just presents
        d.vsync = vsync;
    }
    // Present shows the window's picture: the window must be the target.
    d.activate(nullptr);
    SDL_SetRenderTarget(d.renderer(), nullptr);
    SDL_RenderPresent(d.renderer());
}

Signal<void()>& Window::sig_window_close() {
    static Signal<void()> none;
    return impl_ ? impl_->close : none;
}

Signal<void(int, int)>& Window::sig_resize() {
    static Signal<void(int, int)> none;
    return impl_ ? impl_->resize : none;
}

Input_Context& Window::get_ic() {
    static Input_Context none;
    return impl_ ? impl_->ic : none;
}

std::string Window::get_renderer_name() const {
    if (!impl_ || !impl_->device->is_alive()) return "";
    SDL_RendererInfo info;
    SDL_GetRendererInfo(impl_->device->renderer(), &info);
    return info.name;
}

std::shared_ptr<detail::Render_Device> Window::device() const {
    return impl_ ? impl_->device : nullptr;
}

}  // namespace sdk
