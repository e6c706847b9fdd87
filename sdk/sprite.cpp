#include "sdk/sprite.h"

#include <algorithm>
#include <cmath>

#include "sdk/canvas.h"
#include "sdk/core/exception.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/string_help.h"
#include "sdk/render_device.h"

namespace sdk {

namespace {

struct Origin_Row {
    const char* name;
    Origin origin;
    float fx, fy;
};

constexpr Origin_Row origin_rows[] = {
    {"top_left", Origin::top_left, 0.0f, 0.0f},
    {"top_center", Origin::top_center, 0.5f, 0.0f},
    {"top_right", Origin::top_right, 1.0f, 0.0f},
    {"center_left", Origin::center_left, 0.0f, 0.5f},
    {"center", Origin::center, 0.5f, 0.5f},
    {"center_right", Origin::center_right, 1.0f, 0.5f},
    {"bottom_left", Origin::bottom_left, 0.0f, 1.0f},
    {"bottom_center", Origin::bottom_center, 0.5f, 1.0f},
    {"bottom_right", Origin::bottom_right, 1.0f, 1.0f},
};

const Origin_Row& row_of(Origin o) { return origin_rows[static_cast<int>(o)]; }

}  // namespace

bool origin_from_name(const std::string& name, Origin& origin) {
    for (const Origin_Row& r : origin_rows)
        if (name == r.name) {
            origin = r.origin;
            return true;
        }
    return false;
}

struct Sprite::Impl {
    struct Frame {
        SDL_Texture* texture = nullptr;
        Rect rect;
        float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
        float w = 0, h = 0;
        int delay = 60;
    };

    std::shared_ptr<detail::Render_Device> device;
    std::vector<Texture> textures;  // keeps the frames' textures alive
    std::vector<Frame> frames;      // never empty

    int frame = 0;
    float clock = 0;
    int direction = 1;
    bool loop = true;
    bool pingpong = false;
    bool finished = false;

    Colorf color = Colorf::white();
    SDL_Color vertex_color{255, 255, 255, 255};
    // What the colour has above 1 in red, green or blue (up to 1 more), with
    // the colour's alpha, which a second, additive pass brings on top of the
    // first: a colour of 1.5 shows the picture half as bright again. Only an
    // over-bright sprite pays for the pass.
    SDL_Color excess_color{0, 0, 0, 255};
    bool has_excess = false;   // red, green or blue above 1 (in bytes)
    bool over_bright = false;  // has_excess, and not wholly transparent
    float scale_x = 1, scale_y = 1;
    Angle angle;
    float cos_a = 1, sin_a = 0;
    Angle yaw;
    float yaw_cos = 1;
    Origin origin = Origin::top_left;
    float offset_x = 0, offset_y = 0;
    float origin_fx = 0, origin_fy = 0;
    float rotation_fx = 0.5f, rotation_fy = 0.5f;
    float rotation_x = 0, rotation_y = 0;
    SDL_ScaleMode scale_mode = SDL_ScaleModeLinear;

    void add_frame(const Texture& t, const Rect& r, int delay) {
        if (textures.empty() || textures.back().impl() != t.impl()) textures.push_back(t);
        Frame f;
        const Texture::Impl& ti = *t.impl();
        f.texture = ti.texture;
        f.rect = r;
        f.u0 = ti.u_of_pixel(static_cast<float>(r.left));
        f.v0 = ti.v_of_pixel(static_cast<float>(r.top));
        f.u1 = ti.u_of_pixel(static_cast<float>(r.right));
        f.v1 = ti.v_of_pixel(static_cast<float>(r.bottom));
        f.w = static_cast<float>(r.get_width());
        f.h = static_cast<float>(r.get_height());
        f.delay = delay;
        frames.push_back(f);
    }

    void set_color(const Colorf& c) {
        color = c;
        vertex_color = detail::to_sdl(c);
        excess_color = SDL_Color{0, 0, 0, vertex_color.a};
        if (c.r > 1.0f || c.g > 1.0f || c.b > 1.0f) {
            auto above_one = [](float v) { return v > 1.0f ? v - 1.0f : 0.0f; };
            excess_color = detail::to_sdl(Colorf(above_one(c.r), above_one(c.g), above_one(c.b), c.a));
        }
        has_excess = excess_color.r > 0 || excess_color.g > 0 || excess_color.b > 0;
        over_bright = has_excess && vertex_color.a > 0;
    }

    // Red, green and blue stay, so only the alpha bytes change: the looks set
    // the alpha of their shared sprite before every draw.
    void set_alpha(float a) {
        color.a = a;
        vertex_color.a = excess_color.a = detail::to_byte(a);
        over_bright = has_excess && vertex_color.a > 0;
    }

    // Room for the quad of frame `f` in the batch of `c`, with its indices:
    // the caller writes its four vertices (top-left, top-right, bottom-right,
    // bottom-left, already on the canvas) in vertex_color, then adds the
    // excess on top.
    SDL_Vertex* reserve_quad(Canvas::Impl* c, const Frame& f) const {
        SDL_Vertex* v;
        int* i;
        int first = device->reserve(c, f.texture, scale_mode, 4, 6, v, i);
        detail::quad_indices(i, first);
        return v;
    }

    // When the sprite is over-bright, the quad just written at `written`
    // again, in the excess colour, added on top.
    void add_excess(Canvas::Impl* c, const Frame& f, const SDL_Vertex* written) const {
        if (over_bright) [[unlikely]]
            add_excess_pass(c, f, written);
    }
    // The quad is copied first: reserving may send the batch that holds it
    // and place the new one where it was.
    void add_excess_pass(Canvas::Impl* c, const Frame& f, const SDL_Vertex* written) const {
        SDL_Vertex quad[4];
        std::copy(written, written + 4, quad);
        SDL_BlendMode blend = c->blend;
        c->blend = SDL_BLENDMODE_ADD;
        SDL_Vertex* v = reserve_quad(c, f);
        for (int k = 0; k < 4; ++k)
            v[k] = SDL_Vertex{quad[k].position, excess_color, quad[k].tex_coord};
        c->blend = blend;
    }

    // Steps to the next frame of the animation; false when it stops.
    void advance() {
        int n = static_cast<int>(frames.size());
        int next = frame + direction;
        if (next >= n || next < 0) {
            if (pingpong && n > 1) {
                direction = -direction;
                next = frame + direction;
                if (!loop && direction > 0) {
                    finished = true;
                    return;
                }
            } else if (loop) {
                next = direction > 0 ? 0 : n - 1;
            } else {
                finished = true;
                return;
            }
        }
        frame = next;
    }
};

Sprite::Sprite(Canvas&, const Texture& texture) {
    if (texture.is_null()) throw Exception("Unable to create a sprite: no texture");
    impl_ = std::make_shared<Impl>();
    impl_->device = texture.impl()->device;
    impl_->add_frame(texture, Rect(0, 0, texture.get_width(), texture.get_height()), 60);
}

Sprite::Sprite(Canvas&, const Texture& texture, const std::vector<Rect>& frames, int delay_ms) {
    if (texture.is_null()) throw Exception("Unable to create a sprite: no texture");
    impl_ = std::make_shared<Impl>();
    impl_->device = texture.impl()->device;
    for (const Rect& r : frames) impl_->add_frame(texture, r, delay_ms);
    if (impl_->frames.empty())
        impl_->add_frame(texture, Rect(0, 0, texture.get_width(), texture.get_height()), delay_ms);
}

namespace {

bool read_pair(const Dom_Element& e, const char* attribute, int& a, int& b) {
    if (!e.has_attribute(attribute)) return false;
    std::vector<std::string> parts = split_text(e.get_attribute(attribute), ",");
    if (parts.size() != 2) return false;
    a = text_to_int(parts[0]);
    b = text_to_int(parts[1]);
    return true;
}

}  // namespace

Sprite::Sprite(Canvas& canvas, const std::string& id, const Resource_Document& doc) {
    const Resource_Node& node = doc.get_resource(id);
    const Dom_Element& e = node.element;
    auto fail = [&](const std::string& problem) -> Exception {
        return Exception(doc.get_name() + ": sprite '" + id + "': " + problem);
    };
    if (node.type != "sprite") throw fail("the resource is a <" + node.type + ">, not a <sprite>");

    auto impl = std::make_shared<Impl>();
    int delay = 60;
    if (Dom_Element a = e.first_child("animation")) {
        delay = a.get_attribute_int("speed", 60);
        impl->loop = a.get_attribute_bool("loop", true);
        impl->pingpong = a.get_attribute_bool("pingpong", false);
    }
    if (delay <= 0)
        throw fail("animation speed must be above 0, not " +
                   escape_control(e.first_child("animation").get_attribute("speed")));

    File_System fs = doc.get_file_system();
    for (const Dom_Element& image : e.children("image")) {
        std::string file = image.get_attribute("file");
        if (file.empty()) throw fail("an <image> has no file");
        Texture texture;
        try {
            texture = Texture::load(canvas, fs, doc.resolve_path(file));
        } catch (const Exception& ex) {
            throw fail(ex.what());
        }
        if (!impl->device) impl->device = texture.impl()->device;
        Dom_Element grid = image.first_child("grid");
        if (!grid) {
            impl->add_frame(texture, Rect(0, 0, texture.get_width(), texture.get_height()), delay);
            continue;
        }
        int x = 0, y = 0, w = 0, h = 0, columns = 1, rows = 1, sx = 0, sy = 0;
        if (grid.has_attribute("pos") && !read_pair(grid, "pos", x, y))
            throw fail("grid pos must be \"x,y\", not \"" + grid.get_attribute("pos") + "\"");
        if (!read_pair(grid, "size", w, h) || w <= 0 || h <= 0)
            throw fail("grid size must be \"width,height\" above 0, not \"" + grid.get_attribute("size") + "\"");
        if (grid.has_attribute("array") && (!read_pair(grid, "array", columns, rows) || columns <= 0 || rows <= 0))
            throw fail("grid array must be \"columns,rows\" above 0, not \"" + grid.get_attribute("array") + "\"");
        checked_count(static_cast<double>(columns) * rows, max_grid_frames,
                      doc.get_name() + ": sprite '" + id + "'", "array (columns x rows)");
        if (grid.has_attribute("spacing") && !read_pair(grid, "spacing", sx, sy))
            throw fail("grid spacing must be \"x,y\", not \"" + grid.get_attribute("spacing") + "\"");
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                // In 64 bits: any numbers a document holds place a frame
                // without overflow, and one outside the picture is reported.
                int64_t left = int64_t{x} + int64_t{c} * (int64_t{w} + sx);
                int64_t top = int64_t{y} + int64_t{r} * (int64_t{h} + sy);
                if (left < 0 || top < 0 || left + w > texture.get_width() || top + h > texture.get_height())
                    throw fail("grid frame " + std::to_string(int64_t{r} * columns + c) + " (" +
                               std::to_string(left) + "," + std::to_string(top) + " " +
                               std::to_string(w) + "x" + std::to_string(h) + ") lies outside " + file +
                               " (" + std::to_string(texture.get_width()) + "x" +
                               std::to_string(texture.get_height()) + ")");
                Rect rect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + w),
                          static_cast<int>(top + h));
                impl->add_frame(texture, rect, delay);
            }
    }
    if (impl->frames.empty()) throw fail("no <image> gives it a frame");

    for (const Dom_Element& f : e.children("frame")) {
        int nr = f.get_attribute_int("nr", -1);
        if (nr < 0 || nr >= static_cast<int>(impl->frames.size()))
            throw fail("<frame nr=\"" + f.get_attribute("nr") + "\"> names no frame (it has " +
                       std::to_string(impl->frames.size()) + ")");
        int speed = f.get_attribute_int("speed", delay);
        if (speed <= 0) throw fail("<frame nr=\"" + f.get_attribute("nr") + "\"> speed must be above 0");
        impl->frames[nr].delay = speed;
    }
    impl_ = impl;
    if (Dom_Element o = e.first_child("origin")) {
        Origin origin = Origin::top_left;
        std::string mode = o.get_attribute("mode", "top_left");
        if (!origin_from_name(mode, origin)) throw fail("unknown origin mode \"" + mode + "\"");
        set_alignment(origin, o.get_attribute_float("x"), o.get_attribute_float("y"));
    }
}

Sprite Sprite::clone() const {
    Sprite s;
    if (impl_) s.impl_ = std::make_shared<Impl>(*impl_);
    return s;
}

int Sprite::get_frame_count() const { return impl_ ? static_cast<int>(impl_->frames.size()) : 0; }
int Sprite::get_current_frame() const { return impl_ ? impl_->frame : 0; }

void Sprite::set_frame(int frame) {
    if (!impl_) return;
    int n = static_cast<int>(impl_->frames.size());
    impl_->frame = (frame < 0 || frame >= n) ? n - 1 : frame;
    impl_->clock = 0;
}

int Sprite::get_width() const { return impl_ ? impl_->frames[impl_->frame].rect.get_width() : 0; }
int Sprite::get_height() const { return impl_ ? impl_->frames[impl_->frame].rect.get_height() : 0; }

Rect Sprite::get_frame_rect(int frame) const {
    if (!impl_ || frame < 0 || frame >= get_frame_count()) return {};
    return impl_->frames[frame].rect;
}

int Sprite::get_frame_delay(int frame) const {
    if (!impl_ || frame < 0 || frame >= get_frame_count()) return 0;
    return impl_->frames[frame].delay;
}

Texture Sprite::get_texture() const {
    return impl_ && !impl_->textures.empty() ? impl_->textures.front() : Texture();
}

void Sprite::set_color(const Colorf& color) {
    if (impl_) impl_->set_color(color);
}
Colorf Sprite::get_color() const { return impl_ ? impl_->color : Colorf::white(); }

void Sprite::set_alpha(float alpha) {
    if (impl_) impl_->set_alpha(alpha);
}
float Sprite::get_alpha() const { return impl_ ? impl_->color.a : 1.0f; }

void Sprite::set_scale(float x, float y) {
    if (!impl_) return;
    impl_->scale_x = x;
    impl_->scale_y = y;
}
float Sprite::get_scale_x() const { return impl_ ? impl_->scale_x : 1.0f; }
float Sprite::get_scale_y() const { return impl_ ? impl_->scale_y : 1.0f; }

void Sprite::set_angle(Angle angle) {
    if (!impl_) return;
    impl_->angle = angle;
    impl_->cos_a = std::cos(angle.to_radians());
    impl_->sin_a = std::sin(angle.to_radians());
}
Angle Sprite::get_angle() const { return impl_ ? impl_->angle : Angle(); }

void Sprite::set_angle_yaw(Angle yaw) {
    if (!impl_) return;
    impl_->yaw = yaw;
    impl_->yaw_cos = std::cos(yaw.to_radians());
}
Angle Sprite::get_angle_yaw() const { return impl_ ? impl_->yaw : Angle(); }

void Sprite::set_alignment(Origin origin, float offset_x, float offset_y) {
    if (!impl_) return;
    impl_->origin = origin;
    impl_->origin_fx = row_of(origin).fx;
    impl_->origin_fy = row_of(origin).fy;
    impl_->offset_x = offset_x;
    impl_->offset_y = offset_y;
}
Origin Sprite::get_alignment() const { return impl_ ? impl_->origin : Origin::top_left; }
Vec2f Sprite::get_alignment_offset() const {
    return impl_ ? Vec2f(impl_->offset_x, impl_->offset_y) : Vec2f();
}

void Sprite::set_rotation_hotspot(Origin origin, float offset_x, float offset_y) {
    if (!impl_) return;
    impl_->rotation_fx = row_of(origin).fx;
    impl_->rotation_fy = row_of(origin).fy;
    impl_->rotation_x = offset_x;
    impl_->rotation_y = offset_y;
}

void Sprite::set_linear_filter(bool linear) {
    if (impl_) impl_->scale_mode = linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest;
}
bool Sprite::get_linear_filter() const { return !impl_ || impl_->scale_mode == SDL_ScaleModeLinear; }

void Sprite::update(float elapsed_ms) {
    if (!impl_ || impl_->finished || elapsed_ms <= 0) return;
    Impl& s = *impl_;
    int n = static_cast<int>(s.frames.size());
    if (n < 2) return;
    s.clock += elapsed_ms;
    if (s.loop) {
        // Whole cycles change nothing: skip them, so a long step costs no more
        // than a short one.
        float cycle = 0;
        for (const Impl::Frame& f : s.frames) cycle += static_cast<float>(f.delay);
        if (s.pingpong) cycle += cycle - s.frames.front().delay - s.frames.back().delay;
        if (s.clock >= cycle && cycle > 0) s.clock = std::fmod(s.clock, cycle);
    }
    while (!s.finished && s.clock >= static_cast<float>(s.frames[s.frame].delay)) {
        s.clock -= static_cast<float>(s.frames[s.frame].delay);
        s.advance();
    }
}

bool Sprite::is_finished() const { return impl_ && impl_->finished; }

void Sprite::restart() {
    if (!impl_) return;
    impl_->frame = 0;
    impl_->clock = 0;
    impl_->direction = 1;
    impl_->finished = false;
}

void Sprite::draw(Canvas& canvas, float x, float y) const {
    const Impl* s = impl_.get();
    Canvas::Impl* c = canvas.impl();
    if (!s || !c || c->device != s->device || !s->device->is_alive()) return;
    const Impl::Frame& f = s->frames[s->frame];

    float sx = s->scale_x * s->yaw_cos;
    float w = f.w * std::fabs(sx), h = f.h * s->scale_y;
    float u0 = f.u0, u1 = f.u1;
    if (sx < 0) std::swap(u0, u1);

    // Corners relative to the rotation point, then one matrix for the
    // rotation about it and the canvas transform.
    float left = x + s->offset_x - s->origin_fx * w;
    float top = y + s->offset_y - s->origin_fy * h;
    float px = left + s->rotation_fx * w + s->rotation_x;
    float py = top + s->rotation_fy * h + s->rotation_y;
    float ax = left - px, ay = top - py, bx = ax + w, by = ay + h;

    const Transform& t = c->transform;
    float ca = s->cos_a, sa = s->sin_a;
    float ma = t.a * ca + t.c * sa, mb = t.b * ca + t.d * sa;
    float mc = t.c * ca - t.a * sa, md = t.d * ca - t.b * sa;
    float mx = t.a * px + t.c * py + t.tx, my = t.b * px + t.d * py + t.ty;

    SDL_Vertex* v = s->reserve_quad(c, f);
    const SDL_Color col = s->vertex_color;
    v[0] = SDL_Vertex{{ma * ax + mc * ay + mx, mb * ax + md * ay + my}, col, {u0, f.v0}};
    v[1] = SDL_Vertex{{ma * bx + mc * ay + mx, mb * bx + md * ay + my}, col, {u1, f.v0}};
    v[2] = SDL_Vertex{{ma * bx + mc * by + mx, mb * bx + md * by + my}, col, {u1, f.v1}};
    v[3] = SDL_Vertex{{ma * ax + mc * by + mx, mb * ax + md * by + my}, col, {u0, f.v1}};
    s->add_excess(c, f, v);
}

void Sprite::draw(Canvas& canvas, const Rectf& dest) const {
    const Impl* s = impl_.get();
    Canvas::Impl* c = canvas.impl();
    if (!s || !c || c->device != s->device || !s->device->is_alive()) return;
    const Impl::Frame& f = s->frames[s->frame];
    const Transform& t = c->transform;
    SDL_Vertex* v = s->reserve_quad(c, f);
    const SDL_Color col = s->vertex_color;
    auto at = [&](float px, float py) { return t.apply({px, py}); };
    Vec2f p0 = at(dest.left, dest.top), p1 = at(dest.right, dest.top), p2 = at(dest.right, dest.bottom),
          p3 = at(dest.left, dest.bottom);
    v[0] = SDL_Vertex{{p0.x, p0.y}, col, {f.u0, f.v0}};
    v[1] = SDL_Vertex{{p1.x, p1.y}, col, {f.u1, f.v0}};
    v[2] = SDL_Vertex{{p2.x, p2.y}, col, {f.u1, f.v1}};
    v[3] = SDL_Vertex{{p3.x, p3.y}, col, {f.u0, f.v1}};
    s->add_excess(c, f, v);
}

}  // namespace sdk
