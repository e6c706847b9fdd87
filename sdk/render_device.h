// Inside the display layer only (includes SDL): the renderer of one window,
// the draw batch all its canvases share, and the cache of textures loaded
// from picture files. Sprites, images, fonts and triangle batches append
// vertices here; the batch goes to SDL_RenderGeometry when the texture, the
// blend mode, the filtering, the canvas or its clip changes, and before a
// flip or a pixel read. Nothing here allocates once the arrays have grown.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sdk/canvas.h"
#include "sdk/texture.h"

namespace sdk {

// A texture is a rectangle of an SDL texture: the whole of its own one, or
// its place on a shared atlas page (which the device owns).
struct Texture::Impl {
    std::shared_ptr<detail::Render_Device> device;
    SDL_Texture* texture = nullptr;
    int x = 0, y = 0;  // where the picture sits in `texture`
    int width = 0;
    int height = 0;
    int page_width = 0;  // the size of `texture`
    int page_height = 0;
    bool render_target = false;
    bool owns_texture = true;
    ~Impl();

    // Texture coordinates of the picture's own (u, v) in 0..1.
    float u(float own) const { return (static_cast<float>(x) + own * static_cast<float>(width)) / static_cast<float>(page_width); }
    float v(float own) const { return (static_cast<float>(y) + own * static_cast<float>(height)) / static_cast<float>(page_height); }
    // Texture coordinates of a pixel position of the picture.
    float u_of_pixel(float px) const { return (static_cast<float>(x) + px) / static_cast<float>(page_width); }
    float v_of_pixel(float py) const { return (static_cast<float>(y) + py) / static_cast<float>(page_height); }
};

struct Canvas::Impl {
    std::shared_ptr<detail::Render_Device> device;
    Texture target;  // null: the window
    Transform transform;
    std::vector<Transform> transform_stack;
    std::vector<Rect> clip_stack;  // the top is the clip in effect
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
    ~Impl();
};

namespace detail {

// The six indices of a quad's two triangles, for four vertices reserved at
// `first` in the order top-left, top-right, bottom-right, bottom-left.
inline void quad_indices(int* i, int first) {
    i[0] = first;
    i[1] = first + 1;
    i[2] = first + 2;
    i[3] = first + 2;
    i[4] = first + 3;
    i[5] = first;
}

class Render_Device {
public:
    // Takes ownership of both; the renderer goes before the window.
    Render_Device(SDL_Window* window, SDL_Renderer* renderer, bool software);
    ~Render_Device();
    Render_Device(const Render_Device&) = delete;
    Render_Device& operator=(const Render_Device&) = delete;

    // Destroys the renderer and the window now; textures and canvases that
    // outlive them draw nothing. Runs when the window goes, and at shut-down.
    void retire();
    bool is_alive() const { return renderer_ != nullptr; }

    SDL_Renderer* renderer() const { return renderer_; }
    SDL_Window* window() const { return window_; }
    bool is_software() const { return software_; }
    // The largest texture the renderer takes, as it states it at creation;
    // default_max_picture_size where it states none (the software renderer).
    Size max_texture_size() const { return max_texture_size_; }

    // Makes `canvas` the target of the renderer (flushing the batch first).
    void activate(Canvas::Impl* canvas);
    // Re-applies the clip of `canvas` if it is the active one.
    void clip_changed(Canvas::Impl* canvas);
    void canvas_gone(Canvas::Impl* canvas);
    void texture_gone(SDL_Texture* texture);
    void flush();

    // Room for `vertex_count` vertices and `index_count` indices in the batch
    // of `canvas`, with this texture (null for plain colour) and filtering.
    // Answers the first index the new vertices get. Fills `v` and `i`.
    int reserve(Canvas::Impl* canvas, SDL_Texture* texture, SDL_ScaleMode scale, int vertex_count,
                int index_count, SDL_Vertex*& v, int*& i) {
        if (active_ != canvas) activate(canvas);
        if (texture != batch_texture_ || canvas->blend != batch_blend_ || scale != batch_scale_ ||
            vertex_count_ + vertex_count > max_vertices || index_count_ + index_count > max_indices) {
            flush();
            batch_texture_ = texture;
            batch_blend_ = canvas->blend;
            batch_scale_ = scale;
        }
        int first = vertex_count_;
        v = vertices_.get() + vertex_count_;
        i = indices_.get() + index_count_;
        vertex_count_ += vertex_count;
        index_count_ += index_count;
        return first;
    }

    // Textures of picture files, shared by every sprite and image cut from the
    // same file. Keyed by the file system's path and the file name.
    // A picture file that was packed once keeps its atlas place for the
    // device's life, so loading it again after all its textures went (every
    // run start loads the stage's backgrounds again) finds it where it was.
    std::shared_ptr<Texture::Impl> cached_texture(const std::shared_ptr<Render_Device>& self, const std::string& key);
    void cache_texture(const std::string& key, const std::shared_ptr<Texture::Impl>& t);

    // Places a picture on a shared atlas page, so that sprites of different
    // files still draw in one batch. Answers null for a picture too large to
    // share a page (it then gets a texture of its own). Places are never
    // given back: picture files are loaded once at start-up.
    std::shared_ptr<Texture::Impl> pack(const std::shared_ptr<Render_Device>& self,
                                        const Pixel_Buffer& pixels);
    static constexpr int atlas_page_size = 2048;
    static constexpr int atlas_largest = 1024;  // wider or taller: a texture of its own
    static constexpr int atlas_padding = 2;     // edge pixels repeated around each picture

    static constexpr int max_vertices = 65536;
    static constexpr int max_indices = max_vertices / 4 * 6;

    int vsync = -1;  // what the renderer was last told

private:
    SDL_Window* window_;
    SDL_Renderer* renderer_;
    bool software_;
    Size max_texture_size_;
    Canvas::Impl* active_ = nullptr;
    SDL_Texture* batch_texture_ = nullptr;
    SDL_BlendMode batch_blend_ = SDL_BLENDMODE_BLEND;
    SDL_ScaleMode batch_scale_ = SDL_ScaleModeLinear;
    std::unique_ptr<SDL_Vertex[]> vertices_;
    std::unique_ptr<int[]> indices_;
    int vertex_count_ = 0;
    int index_count_ = 0;
    std::map<std::string, std::weak_ptr<Texture::Impl>> texture_cache_;
    struct Atlas_Place {
        SDL_Texture* texture = nullptr;
        int x = 0, y = 0, width = 0, height = 0;
    };
    std::map<std::string, Atlas_Place> atlas_places_;  // by the cache's key
    struct Atlas_Page {
        SDL_Texture* texture = nullptr;
        int shelf_x = 0, shelf_y = 0, shelf_height = 0;
    };
    std::vector<Atlas_Page> atlas_;
};

// Every live device, so that shutting the display down can retire them.
void retire_all_devices();

// A channel of 0..1 as a byte; beyond the ends, the end.
inline Uint8 to_byte(float v) {
    v = v < 0 ? 0 : v > 1 ? 1 : v;
    return static_cast<Uint8>(v * 255.0f + 0.5f);
}

inline SDL_Color to_sdl(const Colorf& c) {
    return SDL_Color{to_byte(c.r), to_byte(c.g), to_byte(c.b), to_byte(c.a)};
}

}  // namespace detail
}  // namespace sdk
