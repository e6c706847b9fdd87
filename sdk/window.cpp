#include "sdk/window.h"

#include <algorithm>

#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/display.h"
#include "sdk/display_internal.h"
#include "sdk/render_device.h"
#include "sdk/window_mode.h"

namespace sdk {

struct Window::Impl {
    std::shared_ptr<detail::Render_Device> device;
    Window_Description description;
    Uint32 id = 0;
    Signal<void()> close;
    Signal<void(int, int)> resize;
    Input_Context ic;
    std::unique_ptr<detail::Window_Port> port;
    std::unique_ptr<detail::Window_Mode> mode;

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

SDL_Window* window_of(Window::Impl* w) {
    return w->device->is_alive() ? w->device->window() : nullptr;
}

void advance_window_modes() {
    // By index: a resize handler may open a window; this runs every frame
    // and copies nothing.
    std::vector<Window::Impl*>& windows = live_windows();
    for (size_t i = 0; i < windows.size(); ++i)
        if (windows[i]->device->is_alive() && windows[i]->mode->advance()) raise_resize(windows[i]);
}

}  // namespace detail

namespace {

int software_driver_index() {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::string(info.name) == "software")
            return i;
    }
    return -1;
}

// What of the usable area around the window its drawing area may take: the
// frame that the window manager puts around it needs room too.
bool usable_drawing_area(SDL_Window* w, detail::Window_Port& port, SDL_Rect& usable) {
    detail::Frame f = port.frame();
    if (!detail::usable_area(w, detail::with_frame(port.geometry(), f), usable)) return false;
    usable = {usable.x + f.left, usable.y + f.top, std::max(0, usable.w - f.left - f.right),
              std::max(0, usable.h - f.top - f.bottom)};
    return true;
}

}  // namespace

Window::Window(const Window_Description& d) {
    if (!Display_Setup::is_active())
        throw Exception("Unable to create window: the display is not set up");
    // No high-DPI drawing area: the window and its picture keep one size in pixels.
    Uint32 flags = 0;
    if (!d.visible) flags |= SDL_WINDOW_HIDDEN;
    if (d.resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (!d.decorations) flags |= SDL_WINDOW_BORDERLESS;
    SDL_Window* w =
        SDL_CreateWindow(d.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         std::max(1, d.size.width), std::max(1, d.size.height), flags);
    if (!w) throw Exception("Unable to create window: " + std::string(SDL_GetError()));
    SDL_Renderer* r = nullptr;
    bool software = d.renderer == Renderer_Kind::software;
    if (!software) {
        r = SDL_CreateRenderer(w, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
        if (!r) {
            log_event("SYSTEM", "No accelerated renderer (%1); drawing in software",
                      SDL_GetError());
            software = true;
        }
    }
    if (!r)
        r = SDL_CreateRenderer(w, software_driver_index(),
                               SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
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
    impl_->port = detail::make_window_port(w);
    impl_->mode = std::make_unique<detail::Window_Mode>(w, *impl_->port);
    detail::live_windows().push_back(impl_.get());
    // Made windowed; full screen is a change like any other.
    if (d.fullscreen) impl_->mode->apply(d);
}

void Window::apply(const Window_Description& d) {
    if (!impl_ || !impl_->device->is_alive()) return;
    SDL_Window* w = impl_->device->window();
    impl_->device->flush();
    SDL_SetWindowTitle(w, d.title.c_str());
    impl_->mode->apply(d);
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
    // is the renderer's target, the renderer's output size is the texture's.
    if (!impl_ || !impl_->device->is_alive()) return {};
    SDL_Rect r = impl_->port->geometry();
    return {r.w, r.h};
}

void Window::set_size(int width, int height, bool keep_on_display) {
    if (!impl_ || !impl_->device->is_alive()) return;
    impl_->description.size = {width, height};
    impl_->mode->set_size({std::max(1, width), std::max(1, height)}, keep_on_display);
}

Size Window::usable_display_size() const {
    SDL_Rect usable{0, 0, 0, 0};
    if (!impl_ || !impl_->device->is_alive() ||
        !usable_drawing_area(impl_->device->window(), *impl_->port, usable))
        return {};
    return {usable.w, usable.h};
}

bool Window::is_changing_mode() const { return impl_ && impl_->mode->changing(); }

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
