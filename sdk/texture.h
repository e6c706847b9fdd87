// A picture uploaded to the renderer of one window: made from a Pixel_Buffer,
// read from a picture file of the resource archive, or made empty as a render
// target that a Canvas draws into (the 640 x 480 capture picture). A shared
// handle: copies name the same texture. A texture belongs to the window whose
// canvas made it and draws nothing once that window is gone.
#pragma once

#include <memory>
#include <string>

#include "sdk/core/file_system.h"
#include "sdk/core/math.h"
#include "sdk/pixel_buffer.h"

namespace sdk {

class Canvas;
namespace detail {
class Render_Device;
}

class Texture {
public:
    Texture() = default;
    // Uploads a picture.
    Texture(Canvas& canvas, const Pixel_Buffer& pixels);
    // An empty picture (transparent black) that a Canvas can draw into.
    Texture(Canvas& canvas, int width, int height);
    // The picture file `name` of `fs`. Loading the same file twice on one
    // window answers the same texture. Pictures up to 1024 x 1024 share large
    // atlas textures, so sprites of different files still draw in one batch.
    static Texture load(Canvas& canvas, const File_System& fs, const std::string& name);

    bool is_null() const { return !impl_; }
    explicit operator bool() const { return impl_ != nullptr; }
    int get_width() const;
    int get_height() const;
    Size get_size() const { return {get_width(), get_height()}; }
    // Replaces pixels of the picture from (x, y); not for render targets.
    void set_subimage(int x, int y, const Pixel_Buffer& pixels);

    struct Impl;
    explicit Texture(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}
    Impl* impl() const { return impl_.get(); }

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace sdk
