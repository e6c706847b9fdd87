// Sprites: frames cut from pictures of the resource archive, with the state
// they are drawn with (frame, colour and alpha, scale, angle, yaw, alignment,
// filtering, animation clock). A Sprite is a shared handle: every copy is the
// same sprite object, so a cached sprite's state persists between its users
// and each user sets what it relies on right before drawing. clone() makes an
// independent sprite on the same frames.
//
// Drawing: the frame, scaled, is placed with its alignment point (one of the
// nine origins of the frame, plus the offset in pixels) at the position
// given; it turns about its rotation point (the frame's centre by default)
// by the angle, clockwise on screen; a yaw of 180 degrees mirrors it left to
// right (the horizontal size is multiplied by cos(yaw)). An empty sprite draws
// nothing and measures 0 x 0. Draws append to the canvas's batch and allocate
// nothing.
//
// The "sprite" resource format is described in content/README.md.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"
#include "sdk/texture.h"

namespace sdk {

class Canvas;

enum class Origin {
    top_left, top_center, top_right,
    center_left, center, center_right,
    bottom_left, bottom_center, bottom_right,
};
// "top_left", "center", ...: the names of the resource format; false when unknown.
bool origin_from_name(const std::string& name, Origin& origin);

// The most frames one grid cuts from a picture: a sheet of tiny cells would
// otherwise ask for millions of frame records.
constexpr int max_grid_frames = 4096;

class Sprite {
public:
    Sprite() = default;
    // A sprite of one frame: the whole texture.
    Sprite(Canvas& canvas, const Texture& texture);
    // Frames are rectangles of `texture` in pixels, all with the same delay.
    Sprite(Canvas& canvas, const Texture& texture, const std::vector<Rect>& frames,
           int delay_ms = 60);
    // Builds the "sprite" resource `id` of the document: throws "Resource not
    // found: <id>", or "<document>: sprite '<id>': <problem>" for a resource
    // that cannot be built (no image, a grid outside the picture, a bad origin).
    Sprite(Canvas& canvas, const std::string& id, const Resource_Document& doc);
    static Sprite resource(Canvas& canvas, const std::string& id, const Resource_Manager& resources) {
        return Sprite(canvas, id, resources.get_doc());
    }

    bool is_null() const { return !impl_; }
    explicit operator bool() const { return impl_ != nullptr; }
    // An independent sprite with the same frames and the current state.
    Sprite clone() const;

    int get_frame_count() const;
    int get_current_frame() const;
    // A frame outside 0..count-1 (negative ones included) selects the last frame.
    void set_frame(int frame);
    // Width and height of the current frame in pixels, unscaled.
    int get_width() const;
    int get_height() const;
    Size get_size() const { return {get_width(), get_height()}; }
    Rect get_frame_rect(int frame) const;
    int get_frame_delay(int frame) const;
    Texture get_texture() const;

    // The colour multiplies the picture; set_color sets the alpha too. Red,
    // green or blue above 1 brighten it: the part above 1 is added on top in
    // a second, additive pass (1.5 shows the picture half as bright again,
    // 2 and above twice as bright).
    void set_color(const Colorf& color);
    Colorf get_color() const;
    void set_alpha(float alpha);
    float get_alpha() const;
    void set_scale(float x, float y);
    float get_scale_x() const;
    float get_scale_y() const;
    void set_angle(Angle angle);
    Angle get_angle() const;
    void rotate(Angle delta) { set_angle(get_angle() + delta); }
    void set_angle_yaw(Angle yaw);
    Angle get_angle_yaw() const;
    void set_alignment(Origin origin, float offset_x = 0, float offset_y = 0);
    Origin get_alignment() const;
    Vec2f get_alignment_offset() const;
    void set_rotation_hotspot(Origin origin, float offset_x = 0, float offset_y = 0);
    // Linear filtering (the default) or nearest pixel when scaled.
    void set_linear_filter(bool linear);
    bool get_linear_filter() const;

    // Animation: advances the clock by `elapsed_ms`, moving through the frames
    // by their delays (looping, stopping on the last frame, or back and forth,
    // as the resource says).
    void update(float elapsed_ms);
    // A sprite that does not loop has reached its last frame.
    bool is_finished() const;
    void restart();

    void draw(Canvas& canvas, float x, float y) const;
    // The current frame stretched over `dest`, with colour and alpha (no
    // rotation, yaw or alignment).
    void draw(Canvas& canvas, const Rectf& dest) const;

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace sdk
