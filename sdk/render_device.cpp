#include "sdk/render_device.h"

#include <algorithm>
#include <mutex>

namespace sdk {
namespace detail {

namespace {
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

std::shared_ptr<Texture::Impl> Render_Device::cached_texture(const std::string& key) {
    auto it = texture_cache_.find(key);
    if (it == texture_cache_.end()) return nullptr;
    auto t = it->second.lock();
    if (!t) texture_cache_.erase(it);
    return t;
}

void Render_Device::cache_texture(const std::string& key, const std::shared_ptr<Texture::Impl>& t) {
    texture_cache_[key] = t;
}

}  // namespace detail

Texture::Impl::~Impl() {
    if (device && device->is_alive() && texture) {
        device->texture_gone(texture);
        SDL_DestroyTexture(texture);
    }
}

Canvas::Impl::~Impl() {
    if (device) device->canvas_gone(this);
}

}  // namespace sdk
