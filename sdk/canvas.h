// Drawing on a window or into a texture. A Canvas is a shared handle: copies
// draw to the same target with the same transform and clip. Coordinates pass
// through the model-view transform (logical units of the 640 x 480 picture in
// the game) into target pixels, y downwards; clip rectangles are in target
// pixels and are not transformed. Draw calls are batched (render_device.h):
// call flush() only before reading the target some other way.
//
// A default-constructed canvas is empty: every draw on it does nothing, so
// the world and its appearances run without a window.
#pragma once

#include <memory>
#include <string>

#include "sdk/core/math.h"
#include "sdk/pixel_buffer.h"
#include "sdk/texture.h"

namespace sdk {

class Window;

// A 2-D affine transform: x' = a x + c y + tx, y' = b x + d y + ty.
struct Transform {
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static Transform translate(float x, float y) { return {1, 0, 0, 1, x, y}; }
    static Transform scale(float sx, float sy) { return {sx, 0, 0, sy, 0, 0}; }
    // Positive turns clockwise on screen (y grows downwards).
    static Transform rotate(Angle angle);

    // The transform that applies `o` first and then this one.
    Transform operator*(const Transform& o) const {
        return {a * o.a + c * o.b, b * o.a + d * o.b, a * o.c + c * o.d,
                b * o.c + d * o.d, a * o.tx + c * o.ty + tx, b * o.tx + d * o.ty + ty};
    }
    Vec2f apply(Vec2f p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    constexpr bool operator==(const Transform&) const = default;
};

enum class Blend_Mode {
    none,      // the source replaces the target, alpha included
    normal,    // alpha blending (the default)
    additive,  // source times its alpha added to the target
};

class Canvas {
public:
    Canvas() = default;
    // Draws on the window.
    explicit Canvas(Window& window);
    // Draws into `target`, a texture made as a render target on this window.
    Canvas(Window& window, const Texture& target);

    bool is_null() const { return !impl_; }
    explicit operator bool() const { return impl_ != nullptr; }

    // Size of the target in pixels (the window's drawing area or the texture).
    int get_width() const;
    int get_height() const;
    Size get_size() const { return {get_width(), get_height()}; }
    // The largest texture the window's renderer takes, in pixels: a picture
    // with a longer side is refused before it is decoded. The fixed
    // default_max_picture_size where the renderer states none (software) and
    // on an empty canvas.
    Size get_max_texture_size() const;

    // Model-view. The mult_ operations apply their step before the current
    // transform: set translate(offset) then mult_scale(s) maps p to offset + s p.
    void set_transform(const Transform& t);
    const Transform& get_transform() const;
    void mult_transform(const Transform& t);
    void mult_translate(float x, float y);
    void mult_scale(float sx, float sy);
    void mult_rotate(Angle angle);
    void set_translate(float x, float y) { set_transform(Transform::translate(x, y)); }
    void push_modelview();
    // Restores the transform of the matching push; without one, the identity.
    void pop_modelview();

    // Clipping, in target pixels. set_cliprect replaces every clip with one;
    // push_cliprect adds one that is the intersection with the current clip;
    // pop_cliprect drops the newest (the previous one, or none, is in effect
    // again); reset_cliprect drops them all. Popping with none left does nothing.
    void set_cliprect(const Rect& rect);
    void push_cliprect(const Rect& rect);
    void pop_cliprect();
    void reset_cliprect();
    // The clip in effect, or the whole target when there is none.
    Rect get_cliprect() const;

    void set_blend_mode(Blend_Mode mode);
    Blend_Mode get_blend_mode() const;

    // Fills the whole target, ignoring the clip.
    void clear(const Colorf& color = Colorf::black());
    void fill_rect(const Rectf& rect, const Colorf& color);
    void draw_line(float x1, float y1, float x2, float y2, const Colorf& color);
    // Triangles (three positions each, `count` positions in all) with texture
    // coordinates 0..1 of `texture` (null: plain colour), tinted by `color`.
    void fill_triangles(const Vec2f* positions, const Vec2f* tex_coords, int count,
                        const Texture& texture, const Colorf& color = Colorf::white());
    void fill_triangles(const Vec2f* positions, int count, const Colorf& color);
    // Part `src` (texture pixels) of a texture stretched over `dest`.
    void draw_texture(const Texture& texture, const Rectf& src, const Rectf& dest,
                      const Colorf& color = Colorf::white(), bool linear_filter = true);

    // Sends the batched draws to the target.
    void flush();
    // The pixels of `rect` of the target (the whole target by default) as
    // drawn so far. Pixels read from a window are opaque (alpha 255).
    Pixel_Buffer get_pixeldata() const;
    Pixel_Buffer get_pixeldata(const Rect& rect) const;

    struct Impl;
    Impl* impl() const { return impl_.get(); }

private:
    Size get_size_impl() const;
    std::shared_ptr<Impl> impl_;
};

}  // namespace sdk
