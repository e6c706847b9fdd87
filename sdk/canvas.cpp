#include "sdk/canvas.h"

#include <algorithm>

#include "sdk/core/exception.h"
#include "sdk/render_device.h"
#include "sdk/window.h"

namespace sdk {

Transform Transform::rotate(Angle angle) {
    float c = std::cos(angle.to_radians()), s = std::sin(angle.to_radians());
    return {c, s, -s, c, 0, 0};
}

Canvas::Canvas(Window& window) {
    if (window.is_null()) throw Exception("Unable to create a canvas: no window");
    impl_ = std::make_shared<Impl>();
    impl_->device = window.device();
}

Canvas::Canvas(Window& window, const Texture& target) {
    if (window.is_null()) throw Exception("Unable to create a canvas: no window");
    if (target.is_null() || !target.impl()->render_target)
        throw Exception("Unable to create a canvas: the texture is not a render target");
    if (target.impl()->device != window.device())
        throw Exception("Unable to create a canvas: the texture belongs to another window");
    impl_ = std::make_shared<Impl>();
    impl_->device = window.device();
    impl_->target = target;
}

Size Canvas::get_max_texture_size() const {
    return impl_ ? impl_->device->max_texture_size() : default_max_picture_size;
}

int Canvas::get_width() const { return get_size_impl().width; }
int Canvas::get_height() const { return get_size_impl().height; }

Size Canvas::get_size_impl() const {
    if (!impl_) return {};
    if (!impl_->target.is_null()) return impl_->target.get_size();
    Size s;
    if (impl_->device->is_alive())
        SDL_GetRendererOutputSize(impl_->device->renderer(), &s.width, &s.height);
    return s;
}

void Canvas::set_transform(const Transform& t) {
    if (impl_) impl_->transform = t;
}

const Transform& Canvas::get_transform() const {
    static const Transform identity;
    return impl_ ? impl_->transform : identity;
}

void Canvas::mult_transform(const Transform& t) {
    if (impl_) impl_->transform = impl_->transform * t;
}
void Canvas::mult_translate(float x, float y) { mult_transform(Transform::translate(x, y)); }
void Canvas::mult_scale(float sx, float sy) { mult_transform(Transform::scale(sx, sy)); }
void Canvas::mult_rotate(Angle angle) { mult_transform(Transform::rotate(angle)); }

void Canvas::push_modelview() {
    if (impl_) impl_->transform_stack.push_back(impl_->transform);
}

void Canvas::pop_modelview() {
    if (!impl_) return;
    if (impl_->transform_stack.empty()) {
        impl_->transform = Transform();
        return;
    }
    impl_->transform = impl_->transform_stack.back();
    impl_->transform_stack.pop_back();
}

static Rect intersect(const Rect& a, const Rect& b) {
    Rect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom));
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

void Canvas::set_cliprect(const Rect& rect) {
    if (!impl_) return;
    impl_->clip_stack.clear();
    impl_->clip_stack.push_back(rect);
    impl_->device->clip_changed(impl_.get());
}

void Canvas::push_cliprect(const Rect& rect) {
    if (!impl_) return;
    Rect r = impl_->clip_stack.empty() ? rect : intersect(impl_->clip_stack.back(), rect);
    impl_->clip_stack.push_back(r);
    impl_->device->clip_changed(impl_.get());
}

void Canvas::pop_cliprect() {
    if (!impl_ || impl_->clip_stack.empty()) return;
    impl_->clip_stack.pop_back();
    impl_->device->clip_changed(impl_.get());
}

void Canvas::reset_cliprect() {
    if (!impl_ || impl_->clip_stack.empty()) return;
    impl_->clip_stack.clear();
    impl_->device->clip_changed(impl_.get());
}

Rect Canvas::get_cliprect() const {
    if (!impl_) return {};
    if (!impl_->clip_stack.empty()) return impl_->clip_stack.back();
    Size s = get_size_impl();
    return Rect(0, 0, s.width, s.height);
}

void Canvas::set_blend_mode(Blend_Mode mode) {
    if (!impl_) return;
    switch (mode) {
        case Blend_Mode::none: impl_->blend = SDL_BLENDMODE_NONE; break;
        case Blend_Mode::normal: impl_->blend = SDL_BLENDMODE_BLEND; break;
        case Blend_Mode::additive: impl_->blend = SDL_BLENDMODE_ADD; break;
    }
}

Blend_Mode Canvas::get_blend_mode() const {
    if (!impl_) return Blend_Mode::normal;
    switch (impl_->blend) {
        case SDL_BLENDMODE_NONE: return Blend_Mode::none;
        case SDL_BLENDMODE_ADD: return Blend_Mode::additive;
        default: return Blend_Mode::normal;
    }
}

void Canvas::clear(const Colorf& color) {
    if (!impl_ || !impl_->device->is_alive()) return;
    detail::Render_Device& d = *impl_->device;
    d.activate(impl_.get());
    SDL_Color c = detail::to_sdl(color);
    SDL_SetRenderDrawColor(d.renderer(), c.r, c.g, c.b, c.a);
    SDL_RenderClear(d.renderer());
}

namespace {

inline SDL_Vertex vertex(const Transform& t, float x, float y, SDL_Color c, float u, float v) {
    return SDL_Vertex{{t.a * x + t.c * y + t.tx, t.b * x + t.d * y + t.ty}, c, {u, v}};
}

}  // namespace

void Canvas::fill_rect(const Rectf& r, const Colorf& color) {
    if (!impl_ || !impl_->device->is_alive()) return;
    SDL_Vertex* v;
    int* i;
    int first = impl_->device->reserve(impl_.get(), nullptr, SDL_ScaleModeNearest, 4, 6, v, i);
    const Transform& t = impl_->transform;
    SDL_Color c = detail::to_sdl(color);
    v[0] = vertex(t, r.left, r.top, c, 0, 0);
    v[1] = vertex(t, r.right, r.top, c, 0, 0);
    v[2] = vertex(t, r.right, r.bottom, c, 0, 0);
    v[3] = vertex(t, r.left, r.bottom, c, 0, 0);
    detail::quad_indices(i, first);
}

void Canvas::draw_line(float x1, float y1, float x2, float y2, const Colorf& color) {
    if (!impl_ || !impl_->device->is_alive()) return;
    detail::Render_Device& d = *impl_->device;
    d.activate(impl_.get());
    Vec2f a = impl_->transform.apply({x1, y1}), b = impl_->transform.apply({x2, y2});
    SDL_Color c = detail::to_sdl(color);
    SDL_SetRenderDrawBlendMode(d.renderer(), impl_->blend);
    SDL_SetRenderDrawColor(d.renderer(), c.r, c.g, c.b, c.a);
    SDL_RenderDrawLineF(d.renderer(), a.x, a.y, b.x, b.y);
}

void Canvas::fill_triangles(const Vec2f* positions, const Vec2f* tex_coords, int count,
                            const Texture& texture, const Colorf& color) {
    if (!impl_ || !impl_->device->is_alive() || count < 3) return;
    count -= count % 3;
    const Texture::Impl* ti = texture.impl();
    SDL_Texture* tex = ti ? ti->texture : nullptr;
    if (tex && ti->device != impl_->device) return;
    SDL_Color c = detail::to_sdl(color);
    const Transform& t = impl_->transform;
    constexpr int chunk = detail::Render_Device::max_vertices / 4 * 3;  // whole triangles
    for (int start = 0; start < count; start += chunk) {
        int n = std::min(chunk, count - start);
        SDL_Vertex* v;
        int* idx;
        int first = impl_->device->reserve(impl_.get(), tex, SDL_ScaleModeLinear, n, n, v, idx);
        for (int k = 0; k < n; ++k) {
            const Vec2f& p = positions[start + k];
            Vec2f uv = tex_coords && ti ? Vec2f(ti->u(tex_coords[start + k].x), ti->v(tex_coords[start + k].y))
                                        : Vec2f();
            v[k] = vertex(t, p.x, p.y, c, uv.x, uv.y);
            idx[k] = first + k;
        }
    }
}

void Canvas::fill_triangles(const Vec2f* positions, int count, const Colorf& color) {
    fill_triangles(positions, nullptr, count, Texture(), color);
}

void Canvas::draw_texture(const Texture& texture, const Rectf& src, const Rectf& dest,
                          const Colorf& color, bool linear_filter) {
    if (!impl_ || texture.is_null() || !impl_->device->is_alive()) return;
    if (texture.impl()->device != impl_->device) return;
    const Texture::Impl* ti = texture.impl();
    SDL_Vertex* v;
    int* i;
    int first = impl_->device->reserve(impl_.get(), texture.impl()->texture,
                                       linear_filter ? SDL_ScaleModeLinear : SDL_ScaleModeNearest,
                                       4, 6, v, i);
    const Transform& t = impl_->transform;
    SDL_Color c = detail::to_sdl(color);
    float u0 = ti->u_of_pixel(src.left), v0 = ti->v_of_pixel(src.top);
    float u1 = ti->u_of_pixel(src.right), v1 = ti->v_of_pixel(src.bottom);
    v[0] = vertex(t, dest.left, dest.top, c, u0, v0);
    v[1] = vertex(t, dest.right, dest.top, c, u1, v0);
    v[2] = vertex(t, dest.right, dest.bottom, c, u1, v1);
    v[3] = vertex(t, dest.left, dest.bottom, c, u0, v1);
    detail::quad_indices(i, first);
}

void Canvas::flush() {
    if (impl_) impl_->device->flush();
}

Pixel_Buffer Canvas::get_pixeldata() const {
    Size s = get_size_impl();
    return get_pixeldata(Rect(0, 0, s.width, s.height));
}

Pixel_Buffer Canvas::get_pixeldata(const Rect& rect) const {
    if (!impl_ || !impl_->device->is_alive() || rect.get_width() <= 0 || rect.get_height() <= 0)
        return {};
    detail::Render_Device& d = *impl_->device;
    d.activate(impl_.get());
    Pixel_Buffer p(rect.get_width(), rect.get_height());
    SDL_Rect r{rect.left, rect.top, rect.get_width(), rect.get_height()};
    if (SDL_RenderReadPixels(d.renderer(), &r, SDL_PIXELFORMAT_RGBA32, p.data(), r.w * 4) != 0)
        throw Exception("Unable to read the picture: " + std::string(SDL_GetError()));
    // What a window shows is opaque, whatever blending left in its alpha.
    if (impl_->target.is_null())
        for (size_t k = 3; k < static_cast<size_t>(r.w) * r.h * 4; k += 4) p.data()[k] = 255;
    return p;
}

}  // namespace sdk
