// The ring renderer: the boss's magic rings are textured annuli, a strip of
// texture wrapped around a circle so that its texels stay square whatever
// the radius. The strip's frames come from a sprite-like resource ("ring1"
// of "mirel.xml") whose picture this class loads itself:
//
//   <sprite name="ring1">
//     <image file="images/rings.png"/>
//     <grid size="32,32" array="3,2"/>   (optional; array defaults to 1,1)
//   </sprite>
//
// Across the ring runs the frame's width (inner edge on its left column),
// along it the frame's rows, one row per segment of one texel's arc at the
// inner radius, repeating every frame height. Lengths in pixels, angles in
// degrees (clockwise on screen). A ring is drawn in batches of at most 4096
// segments out of arrays kept inside the object: no allocation per ring.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sdk/core/file_system.h"
#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"
#include "sdk/texture.h"

namespace sdk {
class Canvas;
}

// The frame rectangles of the <grid> child of `resource` itself (not one
// inside its <image>) on a picture of `image_size`: row by row from the top,
// left to right, no spacing; the whole picture without a grid. Throws
// sdk::Exception on a malformed "array" or one with a side below 0 or more
// frames than a sprite's grid (sdk::max_grid_frames), and "loading ring
// sprite : Outside pixelbuffer bounds" for a frame outside the picture, after
// logging which frame under "Debug"; each frame cut is logged under "Debug" too.
std::vector<sdk::Rect> cut_ring_frames(const std::string& resource_name,
                                       const sdk::Dom_Element& resource, sdk::Size image_size);

class Ring_Sprite {
public:
    static constexpr int max_vertices = 24576;  // 4096 segments of 6 vertices
    static constexpr int max_ring_segments = 65536;
    // All the rings of one frame together: the boss backdrop shares it out.
    static constexpr int max_frame_segments = 65536;

    // Reads resource `name` of the document of `resources` and loads its
    // picture out of `fs`. Throws sdk::Exception naming the resource when it
    // has no image file or a bad array, and as cut_ring_frames does for a
    // frame outside the picture.
    Ring_Sprite(sdk::Canvas& canvas, const std::string& name,
                const sdk::Resource_Manager& resources, const sdk::File_System& fs);

    // The segments draw_ring would draw for this ring with frame
    // `current_frame` and no ceiling but a ring's own; 0 for a ring that
    // draws nothing.
    int segments_needed(float radius, float width) const;

    // One full ring with frame `current_frame`: inner radius `radius`,
    // `width` outward, the first segment at `start_angle`, tinted `colour`.
    // A ring with no positive radius, width or frame size draws nothing; one
    // that needs more than `max_segments` is drawn with that many, wider.
    void draw_ring(sdk::Canvas& canvas, float radius, float width, float start_angle,
                   const sdk::Colorf& colour, float centre_x, float centre_y,
                   int max_segments = max_ring_segments);

    std::vector<sdk::Rect> frames;
    sdk::Rect image_rect;
    sdk::Texture texture;
    // Set by the caller before draw_ring; taken modulo the number of frames.
    int current_frame = 0;

    // Figures of the last ring drawn, for tests and the performance log,
    // and the segments of every ring drawn so far.
    int last_segments = 0;
    int last_batches = 0;
    int64_t segments_drawn = 0;

private:
    // The frame a ring is drawn from and how many segments of one texel's
    // arc its inner circle holds, fractional, at most `ceiling`; no frame
    // for a ring that draws nothing.
    struct Ring_Layout {
        const sdk::Rect* frame = nullptr;
        double segments = 0.0;
    };
    Ring_Layout layout(float radius, float width, double ceiling) const;
    void flush(sdk::Canvas& canvas, const sdk::Colorf& colour);

    std::array<sdk::Vec2f, max_vertices> positions_;
    std::array<sdk::Vec2f, max_vertices> tex_coords_;
    int vertex_count_ = 0;
};
