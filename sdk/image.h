// An image: a rectangle of a texture drawn whole at a position or stretched
// over a rectangle, tinted by a colour. A value type that shares its texture.
// The "image" resource format is described in content/README.md.
#pragma once

#include <string>

#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"
#include "sdk/texture.h"

namespace sdk {

class Canvas;

class Image {
public:
    Image() = default;
    // The whole texture, or the part `rect` of it (pixels).
    explicit Image(const Texture& texture);
    Image(const Texture& texture, const Rect& rect);
    Image(Canvas& canvas, const Pixel_Buffer& pixels);
    Image(Canvas& canvas, const File_System& fs, const std::string& file_name);
    // The "image" resource `id`; throws "Resource not found: <id>" or names
    // the document and the file it could not read.
    Image(Canvas& canvas, const std::string& id, const Resource_Document& doc);
    static Image resource(Canvas& canvas, const std::string& id, const Resource_Manager& resources) {
        return Image(canvas, id, resources.get_doc());
    }

    bool is_null() const { return texture_.is_null(); }
    int get_width() const { return rect_.get_width(); }
    int get_height() const { return rect_.get_height(); }
    const Texture& get_texture() const { return texture_; }

    void set_color(const Colorf& c) { color_ = c; }
    void set_alpha(float a) { color_.a = a; }
    const Colorf& get_color() const { return color_; }
    void set_linear_filter(bool linear) { linear_ = linear; }

    void draw(Canvas& canvas, float x, float y) const;
    void draw(Canvas& canvas, const Rectf& dest) const;

private:
    Texture texture_;
    Rect rect_;
    Colorf color_ = Colorf::white();
    bool linear_ = true;
};

}  // namespace sdk
