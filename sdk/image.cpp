#include "sdk/image.h"

#include "sdk/canvas.h"
#include "sdk/core/exception.h"

namespace sdk {

Image::Image(const Texture& texture)
    : texture_(texture), rect_(0, 0, texture.get_width(), texture.get_height()) {}

Image::Image(const Texture& texture, const Rect& rect) : texture_(texture), rect_(rect) {}

Image::Image(Canvas& canvas, const Pixel_Buffer& pixels) : Image(Texture(canvas, pixels)) {}

Image::Image(Canvas& canvas, const File_System& fs, const std::string& file_name)
    : Image(Texture::load(canvas, fs, file_name)) {}

Image::Image(Canvas& canvas, const std::string& id, const Resource_Document& doc) {
    const Resource_Node& node = doc.get_resource(id);
    std::string file = node.element.get_attribute("file");
    if (file.empty()) throw Exception(doc.get_name() + ": image '" + id + "' has no file");
    try {
        *this = Image(Texture::load(canvas, doc.get_file_system(), doc.resolve_path(file)));
    } catch (const Exception& e) {
        throw Exception(doc.get_name() + ": image '" + id + "': " + e.what());
    }
}

void Image::draw(Canvas& canvas, float x, float y) const {
    draw(canvas, Rectf(x, y, x + static_cast<float>(get_width()), y + static_cast<float>(get_height())));
}

void Image::draw(Canvas& canvas, const Rectf& dest) const {
    Rectf src(static_cast<float>(rect_.left), static_cast<float>(rect_.top),
              static_cast<float>(rect_.right), static_cast<float>(rect_.bottom));
    canvas.draw_texture(texture_, src, dest, color_, linear_);
}

}  // namespace sdk
