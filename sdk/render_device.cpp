#include "sdk/render_device.h"

#include <algorithm>
#include <mutex>

#include "sdk/core/picture_header.h"

namespace sdk {
namespace detail {

namespace {

Size stated_max_texture_size(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0) return default_max_picture_size;
    return {info.max_texture_width > 0 ? info.max_texture_width : default_max_picture_side,
            info.max_texture_height > 0 ? info.max_texture_height : default_max_picture_side};
}

// Never destroyed: sprites held by globals may go after every other static.
std::vector<Render_Device*>& live_devices() {
    static auto* devices = new std::vector<Render_Device*>();
    return *devices;
}
}  // namespace

Render_Device::Render_Device(SDL_Window* window, SDL_Renderer* renderer, bool software)
    : window_(window),
      renderer_(renderer),
      software_(software),
      max_texture_size_(stated_max_texture_size(renderer)),
      vertices_(new SDL_Vertex[max_vertices]),
      indices_(new int[max_indices]) {
    live_devices().push_back(this);
}

Render_Device::~Render_Device() {
    retire();
    std::erase(live_devices(), this);
}

void Render_Device::retire() {
    vertex_count_ = index_count_ = 0;
    active_ = nullptr;
    batch_texture_ = nullptr;
    atlas_.clear();  // the renderer takes its textures with it
    atlas_places_.clear();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    renderer_ = nullptr;
    window_ = nullptr;
}

void retire_all_devices() {
    for (Render_Device* d : live_devices()) d->retire();
}

void Render_Device::flush() {
    if (index_count_ == 0 || !renderer_) {
        vertex_count_ = index_count_ = 0;
        return;
    }
    if (batch_texture_) {
        SDL_SetTextureBlendMode(batch_texture_, batch_blend_);
        SDL_ScaleMode now = batch_scale_;
        SDL_GetTextureScaleMode(batch_texture_, &now);
        if (now != batch_scale_) {
            // The renderer reads a texture's filtering when it runs its queue:
            // draws queued with the old filtering must run first.
            SDL_RenderFlush(renderer_);
            SDL_SetTextureScaleMode(batch_texture_, batch_scale_);
        }
    } else {
        SDL_SetRenderDrawBlendMode(renderer_, batch_blend_);
    }
    SDL_RenderGeometry(renderer_, batch_texture_, vertices_.get(), vertex_count_, indices_.get(),
                       index_count_);
    vertex_count_ = index_count_ = 0;
}

static void apply_clip(SDL_Renderer* r, const Canvas::Impl* c) {
    if (c->clip_stack.empty()) {
        SDL_RenderSetClipRect(r, nullptr);
        return;
    }
    const Rect& k = c->clip_stack.back();
    SDL_Rect rect{k.left, k.top, std::max(0, k.get_width()), std::max(0, k.get_height())};
    if (rect.w == 0 || rect.h == 0) {
        // SDL treats an empty clip as no clip on some back ends: clip to a
        // pixel outside the target instead, so nothing is drawn.
        rect = SDL_Rect{-2, -2, 1, 1};
    }
    SDL_RenderSetClipRect(r, &rect);
}

void Render_Device::activate(Canvas::Impl* canvas) {
    flush();
    active_ = canvas;
    if (!renderer_ || !canvas) return;
    SDL_Texture* target = canvas->target.is_null() ? nullptr : canvas->target.impl()->texture;
    SDL_SetRenderTarget(renderer_, target);
    apply_clip(renderer_, canvas);
}

void Render_Device::clip_changed(Canvas::Impl* canvas) {
    if (active_ != canvas) return;
    flush();
    if (renderer_) apply_clip(renderer_, canvas);
}

void Render_Device::canvas_gone(Canvas::Impl* canvas) {
    if (active_ != canvas) return;
    flush();
    active_ = nullptr;
}

void Render_Device::texture_gone(SDL_Texture* texture) {
    if (batch_texture_ == texture) {
        flush();
        batch_texture_ = nullptr;
    }
    if (active_ && !active_->target.is_null() && active_->target.impl()->texture == texture)
        active_ = nullptr;
}

std::shared_ptr<Texture::Impl> Render_Device::cached_texture(const std::shared_ptr<Render_Device>& self,
                                                            const std::string& key) {
    auto it = texture_cache_.find(key);
    if (it != texture_cache_.end()) {
        if (auto t = it->second.lock()) return t;
        texture_cache_.erase(it);
    }
    auto placed = atlas_places_.find(key);
    if (placed == atlas_places_.end() || !renderer_) return nullptr;
    // The page still holds the picture: places are never given back.
    const Atlas_Place& p = placed->second;
    auto impl = std::make_shared<Texture::Impl>();
    impl->device = self;
    impl->texture = p.texture;
    impl->x = p.x;
    impl->y = p.y;
    impl->width = p.width;
    impl->height = p.height;
    impl->page_width = impl->page_height = atlas_page_size;
    impl->owns_texture = false;
    texture_cache_[key] = impl;
    return impl;
}

void Render_Device::cache_texture(const std::string& key, const std::shared_ptr<Texture::Impl>& t) {
    texture_cache_[key] = t;
    if (!t->owns_texture) atlas_places_[key] = {t->texture, t->x, t->y, t->width, t->height};
}

std::shared_ptr<Texture::Impl> Render_Device::pack(const std::shared_ptr<Render_Device>& self,
                                                   const Pixel_Buffer& pixels) {
    const int w = pixels.get_width(), h = pixels.get_height(), pad = atlas_padding;
    if (!renderer_ || w > atlas_largest || h > atlas_largest || w <= 0 || h <= 0) return nullptr;
    const int pw = w + 2 * pad, ph = h + 2 * pad;
    Atlas_Page* page = atlas_.empty() ? nullptr : &atlas_.back();
    if (page && page->shelf_x + pw > atlas_page_size) {
        page->shelf_x = 0;
        page->shelf_y += page->shelf_height;
        page->shelf_height = 0;
    }
    if (!page || page->shelf_y + ph > atlas_page_size) {
        SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC,
                                           atlas_page_size, atlas_page_size);
        if (!t) return nullptr;
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        Pixel_Buffer clear(atlas_page_size, atlas_page_size);
        SDL_UpdateTexture(t, nullptr, clear.data(), atlas_page_size * 4);
        atlas_.push_back(Atlas_Page{t});
        page = &atlas_.back();
    }
    // The picture with its edge pixels repeated around it, so that filtering
    // at its border samples its own edge as a texture of its own would.
    Pixel_Buffer padded(pw, ph);
    for (int y = 0; y < ph; ++y)
        for (int x = 0; x < pw; ++x)
            padded.set_pixel(x, y, pixels.get_pixel(std::clamp(x - pad, 0, w - 1), std::clamp(y - pad, 0, h - 1)));
    flush();
    SDL_Rect r{page->shelf_x, page->shelf_y, pw, ph};
    SDL_UpdateTexture(page->texture, &r, padded.data(), pw * 4);

    auto impl = std::make_shared<Texture::Impl>();
    impl->device = self;
    impl->texture = page->texture;
    impl->x = page->shelf_x + pad;
    impl->y = page->shelf_y + pad;
    impl->width = w;
    impl->height = h;
    impl->page_width = impl->page_height = atlas_page_size;
    impl->owns_texture = false;
    page->shelf_x += pw;
    page->shelf_height = std::max(page->shelf_height, ph);
    return impl;
}

}  // namespace detail

Texture::Impl::~Impl() {
    if (owns_texture && device && device->is_alive() && texture) {
        device->texture_gone(texture);
        SDL_DestroyTexture(texture);
    }
}

Canvas::Impl::~Impl() {
    if (device) device->canvas_gone(this);
}

}  // namespace sdk
