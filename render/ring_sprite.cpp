#include "render/ring_sprite.h"

#include <algorithm>
#include <cmath>

#include "sdk/canvas.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/string_help.h"
#include "sdk/pixel_buffer.h"
#include "sdk/sprite.h"

namespace {

// The first two numbers of "a,b"; a part that is missing gives 0.
void read_pair(const std::vector<std::string>& parts, int& a, int& b) {
    a = parts.size() > 0 ? sdk::text_to_int(parts[0]) : 0;
    b = parts.size() > 1 ? sdk::text_to_int(parts[1]) : 0;
}

}  // namespace

std::vector<sdk::Rect> cut_ring_frames(const std::string& resource_name,
                                       const sdk::Dom_Element& resource, sdk::Size image_size) {
    sdk::Rect whole(0, 0, image_size.width, image_size.height);
    sdk::Dom_Element grid = resource.first_child("grid");
    if (grid.is_null()) return {whole};

    int w = 0, h = 0;
    read_pair(sdk::split_text(grid.get_attribute("size"), ","), w, h);
    int columns = 1, rows = 1;
    std::vector<std::string> parts;
    if (grid.has_attribute("array")) {
        parts = sdk::split_text(grid.get_attribute("array"), ",");
        if (parts.size() != 2)
            throw sdk::Exception(sdk::string_format(
                "Resource '%1' has incorrect array attribute, must be \"X,Y\"!", resource_name));
        read_pair(parts, columns, rows);
    }
    // As many frames as a sprite's grid at most; neither side below 0.
    const std::string place = resource.describe();
    sdk::checked_count(columns, sdk::max_grid_frames, place, "array (columns)",
                       parts.empty() ? std::string() : parts[0]);
    sdk::checked_count(rows, sdk::max_grid_frames, place, "array (rows)",
                       parts.empty() ? std::string() : parts[1]);
    sdk::checked_count(static_cast<double>(columns) * rows, sdk::max_grid_frames, place,
                       "array (columns x rows)");

    std::vector<sdk::Rect> frames;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            // In 64 bits, so that any sizes a document holds place a frame
            // without overflow; one that leaves the picture is reported.
            int64_t left = int64_t{c} * w, top = int64_t{r} * h;
            if (left < 0 || top < 0 || left + w > image_size.width || top + h > image_size.height) {
                sdk::log_event("Debug",
                               "ring sprite '%1': frame %2 (%3, %4, %5 x %6) is outside the "
                               "%7 x %8 picture",
                               resource_name, frames.size(), left, top, w, h, image_size.width,
                               image_size.height);
                throw sdk::Exception("loading ring sprite : Outside pixelbuffer bounds");
            }
            sdk::Rect f(static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + w),
                        static_cast<int>(top + h));
            frames.push_back(f);
            sdk::log_event("Debug", "Ring frame added : %1 %2 %3 %4", f.left, f.top, w, h);
        }
    }
    return frames;
}

Ring_Sprite::Ring_Sprite(sdk::Canvas& canvas, const std::string& name,
                         const sdk::Resource_Manager& resources, const sdk::File_System& fs) {
    const sdk::Resource_Document& doc = resources.get_doc();
    const sdk::Resource_Node& node = doc.get_resource(name);
    sdk::Dom_Element image = node.element.first_child("image");
    if (image.is_null() || !image.has_attribute("file"))
        throw sdk::Exception(
            sdk::string_format("Resource '%1' has no image file specified!", name));
    sdk::Pixel_Buffer pixels;
    try {
        pixels = sdk::Pixel_Buffer::load(fs, doc.resolve_path(image.get_attribute("file")),
                                         canvas.get_max_texture_size());
    } catch (const sdk::Exception& e) {
        // Named as every other sprite names a picture it cannot read.
        throw sdk::Exception(doc.get_name() + ": sprite '" + name + "': " + e.get_message());
    }
    image_rect = sdk::Rect(0, 0, pixels.get_width(), pixels.get_height());
    texture = sdk::Texture(canvas, pixels);
    frames = cut_ring_frames(name, node.element, pixels.get_size());
}

void Ring_Sprite::flush(sdk::Canvas& canvas, const sdk::Colorf& colour) {
    if (vertex_count_ == 0) return;
    canvas.fill_triangles(positions_.data(), tex_coords_.data(), vertex_count_, texture, colour);
    vertex_count_ = 0;
    ++last_batches;
}

Ring_Sprite::Ring_Layout Ring_Sprite::layout(float radius, float width, double ceiling) const {
    if (frames.empty() || image_rect.get_width() <= 0 || image_rect.get_height() <= 0) return {};
    int count = static_cast<int>(frames.size());
    const sdk::Rect& frame = frames[static_cast<size_t>(((current_frame % count) + count) % count)];
    int fw = frame.get_width();
    // Without a positive radius, width and frame size the segment step is
    // zero or undefined and the ring would never close.
    if (!(radius > 0.0f) || !(width > 0.0f) || fw <= 0 || frame.get_height() <= 0 ||
        !std::isfinite(radius) || !std::isfinite(width))
        return {};
    // k pixels per texel; one segment covers k pixels of the inner circle.
    double k = static_cast<double>(width) / fw;
    return {&frame, std::min(2.0 * 3.14159265358979323846 * radius / k, ceiling)};
}

int Ring_Sprite::segments_needed(float radius, float width) const {
    Ring_Layout ring = layout(radius, width, max_ring_segments);
    return ring.frame ? sdk::saturate_integer<int>(std::ceil(ring.segments)) : 0;
}

void Ring_Sprite::draw_ring(sdk::Canvas& canvas, float radius, float width, float start_angle,
                            const sdk::Colorf& colour, float cx, float cy, int max_segments) {
    last_segments = 0;
    last_batches = 0;
    // A ring of more texel steps than its ceiling is drawn with that many
    // wider segments: a frame's work stays bounded however large or thin a
    // card makes it.
    Ring_Layout ring = layout(radius, width, std::clamp(max_segments, 1, max_ring_segments));
    if (!ring.frame) return;
    const sdk::Rect& frame = *ring.frame;
    int fh = frame.get_height();

    float tw = static_cast<float>(image_rect.get_width());
    float th = static_cast<float>(image_rect.get_height());
    float u0 = static_cast<float>(frame.left) / tw;
    float u1 = static_cast<float>(frame.right) / tw;
    double step = 360.0 / ring.segments;
    int segments = sdk::saturate_integer<int>(std::ceil(ring.segments));
    float outer = radius + width;
    constexpr double to_radians = 3.14159265358979323846 / 180.0;

    for (int i = 0; i < segments; ++i) {
        double a1 = (start_angle + i * step) * to_radians;
        double a2 = (start_angle + (i + 1) * step) * to_radians;
        float c1 = static_cast<float>(std::cos(a1)), s1 = static_cast<float>(std::sin(a1));
        float c2 = static_cast<float>(std::cos(a2)), s2 = static_cast<float>(std::sin(a2));
        sdk::Vec2f p0(cx + radius * c1, cy + radius * s1);
        sdk::Vec2f p1(cx + outer * c1, cy + outer * s1);
        sdk::Vec2f p2(cx + outer * c2, cy + outer * s2);
        sdk::Vec2f p3(cx + radius * c2, cy + radius * s2);
        int row = i % fh;
        float v0 = static_cast<float>(frame.top + row) / th;
        float v1 = static_cast<float>(frame.top + row + 1) / th;
        sdk::Vec2f* p = positions_.data() + vertex_count_;
        sdk::Vec2f* t = tex_coords_.data() + vertex_count_;
        p[0] = p0;
        t[0] = {u0, v0};
        p[1] = p1;
        t[1] = {u1, v0};
        p[2] = p2;
        t[2] = {u1, v1};
        p[3] = p3;
        t[3] = {u0, v1};
        p[4] = p2;
        t[4] = {u1, v1};
        p[5] = p0;
        t[5] = {u0, v0};
        vertex_count_ += 6;
        ++last_segments;
        ++segments_drawn;
        if (vertex_count_ == max_vertices) flush(canvas, colour);
    }
    flush(canvas, colour);
}
