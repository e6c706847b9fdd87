#include "sdk/texture.h"

#include "sdk/canvas.h"
#include "sdk/core/exception.h"
#include "sdk/render_device.h"

namespace sdk {

namespace {

std::shared_ptr<detail::Render_Device> device_of(Canvas& canvas) {
    if (canvas.is_null() || !canvas.impl()->device || !canvas.impl()->device->is_alive())
        throw Exception("Unable to create a texture: the canvas has no window");
    return canvas.impl()->device;
}

std::shared_ptr<Texture::Impl> make(const std::shared_ptr<detail::Render_Device>& device,
                                    const Pixel_Buffer& pixels, const std::string& what) {
    SDL_Texture* t = SDL_CreateTexture(device->renderer(), SDL_PIXELFORMAT_RGBA32,
                                       SDL_TEXTUREACCESS_STATIC, pixels.get_width(),
                                       pixels.get_height());
    if (!t) throw Exception("Unable to create a texture for " + what + ": " + SDL_GetError());
    SDL_UpdateTexture(t, nullptr, pixels.data(), pixels.get_width() * 4);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    auto impl = std::make_shared<Texture::Impl>();
    impl->device = device;
    impl->texture = t;
    impl->width = impl->page_width = pixels.get_width();
    impl->height = impl->page_height = pixels.get_height();
    return impl;
}

}  // namespace

Texture::Texture(Canvas& canvas, const Pixel_Buffer& pixels) {
    if (pixels.is_null()) throw Exception("Unable to create a texture from an empty picture");
    impl_ = make(device_of(canvas), pixels, "a picture");
}

Texture::Texture(Canvas& canvas, int width, int height) {
    auto device = device_of(canvas);
    SDL_Texture* t = SDL_CreateTexture(device->renderer(), SDL_PIXELFORMAT_RGBA32,
                                       SDL_TEXTUREACCESS_TARGET, width, height);
    if (!t) throw Exception("Unable to create a render target texture: " + std::string(SDL_GetError()));
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    // Start transparent black rather than whatever the driver left there.
    device->flush();
    SDL_Texture* old = SDL_GetRenderTarget(device->renderer());
    SDL_SetRenderTarget(device->renderer(), t);
    SDL_SetRenderDrawColor(device->renderer(), 0, 0, 0, 0);
    SDL_RenderClear(device->renderer());
    SDL_SetRenderTarget(device->renderer(), old);
    device->activate(nullptr);
    impl_ = std::make_shared<Impl>();
    impl_->device = device;
    impl_->texture = t;
    impl_->width = impl_->page_width = width;
    impl_->height = impl_->page_height = height;
    impl_->render_target = true;
}

Texture Texture::load(Canvas& canvas, const File_System& fs, const std::string& name) {
    auto device = device_of(canvas);
    std::string key = fs.get_path() + "|" + name;
    if (auto cached = device->cached_texture(device, key)) return Texture(cached);
    Pixel_Buffer pixels = Pixel_Buffer::load(fs, name, device->max_texture_size());
    auto impl = device->pack(device, pixels);
    if (!impl) impl = make(device, pixels, name);
    device->cache_texture(key, impl);
    return Texture(impl);
}

int Texture::get_width() const { return impl_ ? impl_->width : 0; }
int Texture::get_height() const { return impl_ ? impl_->height : 0; }

void Texture::set_subimage(int x, int y, const Pixel_Buffer& pixels) {
    if (!impl_ || impl_->render_target || !impl_->device->is_alive() || pixels.is_null()) return;
    SDL_Rect r{impl_->x + x, impl_->y + y, pixels.get_width(), pixels.get_height()};
    impl_->device->texture_gone(impl_->texture);  // draws queued with the old pixels go first
    SDL_UpdateTexture(impl_->texture, &r, pixels.data(), pixels.get_width() * 4);
}

}  // namespace sdk
