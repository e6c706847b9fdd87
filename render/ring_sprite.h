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
#include <string>
#include <vector>

#include "sdk/core/file_system.h"
#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"
#include "sdk/texture.h"

namespace sdk {
class Canvas;
}

// The frame rectangles of a ring resource's <grid> on a picture of
// `image_size`: row by row from the top, left to right, no spacing; the whole
// picture without a grid. Throws sdk::Exception on a malformed "array" or a
// frame outside the picture; each frame cut is logged under "Debug".
std::vector<sdk::Rect> cut_ring_frames(const std::string& resource_name,
                                       const sdk::Dom_Element& resource, sdk::Size image_size);

class Ring_Sprite {
public:
    static constexpr int max_vertices = 24576;  // 4096 segments of 6 vertices
    static constexpr int max_ring_segments = 65536;

    // Reads resource `name` of the document of `resources` and loads its
    // picture out of `fs`. Throws sdk::Exception naming the resource when it
    // has no image file, a bad array or a frame outside the picture.
    Ring_Sprite(sdk::Canvas& canvas, const std::string& name,
                const sdk::Resource_Manager& resources, const sdk::File_System& fs);

    // One full ring with frame `current_frame`: inner radius `radius`,
    // `width` outward, the first segment at `start_angle`, tinted `colour`.
    // A ring with no positive radius, width or frame size draws nothing.
    void draw_ring(sdk::Canvas& canvas, float radius, float width, float start_angle,
                   const sdk::Colorf& colour, float centre_x, float centre_y);

    std::vector<sdk::Rect> frames;
    sdk::Rect image_rect;
    sdk::Texture texture;
    // Set by the caller before draw_ring; taken modulo the number of frames.
    int current_frame = 0;

    // Figures of the last ring drawn, for tests and the performance log.
    int last_segments = 0;
    int last_batches = 0;

private:
    void flush(sdk::Canvas& canvas, const sdk::Colorf& colour);

    std::array<sdk::Vec2f, max_vertices> positions_;
    std::array<sdk::Vec2f, max_vertices> tex_coords_;
    int vertex_count_ = 0;
};
