// The stage's draw load through the appearances: 20000 bullets of mixed
// looks (round, pike, zoomed, big) and 20000 effects of mixed looks (flashes,
// muzzle flashes, graze sparks, particles, hit rings) per frame, drawn by the
// registered look classes on the shared cached sprites, against a plain SDL
// batch of the same quads in the same run: the same three sheets ("bullets",
// "bullets2", "magic_flash" as separate textures, as the content has them),
// the same frames, colours, scales and angles, written straight into
// SDL_Vertex arrays and sent with SDL_RenderGeometry at every change of
// texture. Objects come in runs of one look, as patterns fire volleys.
//
// A frame is timed from the first draw to the renderer's flush (the GPU work
// included, the present excluded); the figures are medians over the frames.
// Before timing, both pictures are compared pixel by pixel.
//
//   scene=draw bullets=20000 effects=20000 renderer=opengl frames=120
//     median_ms=<ours> baseline_ms=<plain> ratio=<ours/plain> ...
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "render/bullet_appearances.h"
#include "render/effect_appearances.h"
#include "render/sprite_cache.h"
#include "sdk/canvas.h"
#include "sdk/display.h"
#include "sdk/message_pump.h"
#include "sdk/render_device.h"
#include "sdk/sprite.h"
#include "sdk/texture.h"
#include "sdk/window.h"
#include "world/bullet.h"
#include "world/effect.h"
#include "world/player.h"

namespace {

constexpr int bullet_count = 20000, effect_count = 20000, timed_frames = 120;
constexpr float to_radians = 3.14159265358979f / 180.0f;

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// A sheet of round, soft-edged cells, each cell its own colour.
sdk::Pixel_Buffer sheet(int columns, int rows, int cell) {
    sdk::Pixel_Buffer p(columns * cell, rows * cell);
    for (int y = 0; y < p.get_height(); ++y)
        for (int x = 0; x < p.get_width(); ++x) {
            float dx = static_cast<float>(x % cell) - cell / 2.0f + 0.5f;
            float dy = static_cast<float>(y % cell) - cell / 2.0f + 0.5f;
            float r = std::sqrt(dx * dx + dy * dy) / (cell / 2.0f);
            uint8_t a = r < 1.0f ? static_cast<uint8_t>(255 * (1.0f - r * r)) : 0;
            p.set_pixel(x, y,
                        sdk::Color(static_cast<uint8_t>(x * 255 / p.get_width()),
                                   static_cast<uint8_t>(y * 255 / p.get_height()), 180, a));
        }
    return p;
}

struct Sheet {
    sdk::Texture texture;
    int columns, cell;
};

sdk::Sprite make_sprite(sdk::Canvas& canvas, Sheet& s, int columns, int rows, int cell) {
    s.texture = sdk::Texture(canvas, sheet(columns, rows, cell));
    s.columns = columns;
    s.cell = cell;
    std::vector<sdk::Rect> cells;
    for (int i = 0; i < columns * rows; ++i)
        cells.push_back(sdk::Rect(i % columns * cell, i / columns * cell, i % columns * cell + cell,
                                  i / columns * cell + cell));
    return sdk::Sprite(canvas, s.texture, cells);
}

// How the plain batch draws one look: the sheet, the frame, and the quad's
// scale, angle and alpha, by the look's own rules.
enum class Kind { simple, pike, zoomed, big, flash, shot, graze, small, hit };

struct Look {
    const char* name;
    Kind kind;
    int first;
};

const Look bullet_looks[] = {
    {"bullet0", Kind::simple, 32},      {"bullet_pike1", Kind::pike, 16},
    {"bullet3", Kind::simple, 192},     {"bullet_pike4", Kind::pike, 96},
    {"bullet_zoom0", Kind::zoomed, 32}, {"bullet_big1", Kind::big, 8},
    {"bullet6", Kind::simple, 240},     {"bullet_pike7", Kind::pike, 144},
};
const Look effect_looks[] = {
    {"magic_flash", Kind::flash, 0},       {"enemy_shot200", Kind::shot, 224},
    {"graze_particle", Kind::graze, 64},   {"particle_small", Kind::small, 0},
    {"enemy_bullet_hit1", Kind::hit, 240},
};

struct Quad {
    const Sheet* sheet;
    int frame;
    float sx, sy, angle_degrees, alpha;
};

Quad bullet_quad(const Look& l, const Bullet& b, const Sheet& bullets, const Sheet& big) {
    int colour = static_cast<int8_t>(b.colour) % 16;
    switch (l.kind) {
        case Kind::pike:
            return {&bullets, l.first + colour, 1, 1, b.angle.to_degrees() + 90.0f, 1};
        case Kind::zoomed:
            return {&bullets, l.first + colour, 2, 2, 0, 1};
        case Kind::big:
            return {&big, l.first + colour, 1, 1, 0, 1};
        default:
            return {&bullets, l.first + colour, 1, 1, 0, 1};
    }
}

Quad effect_quad(const Look& l, const Effect& e, const Sheet& bullets, const Sheet& flash) {
    int kind = static_cast<int8_t>(e.kind);
    switch (l.kind) {
        case Kind::flash:
            return {
                &flash, 4 * (kind % 4) + std::min(static_cast<int>((200.0f - e.age) / 50.0f), 3),
                1,      1,
                0,      (400.0f - e.age) / 400.0f};
        case Kind::shot: {
            float s = 1.5f - e.age / 200.0f;
            return {&bullets, 224 + kind % 16, s, s, 0, (200.0f + e.age) / 400.0f};
        }
        case Kind::graze: {
            float life = static_cast<float>(e.value), half = life / 2;
            return {&bullets,
                    64 + kind,
                    e.scale,
                    e.scale,
                    e.angle.to_degrees() + 90.0f,
                    e.age <= half ? 0.8f : (life - e.age) / half};
        }
        case Kind::small:
            return {&flash,  4 * kind + static_cast<int>(e.age / 50.0f),
                    e.scale, e.scale,
                    0,       (500.0f - e.age) / 500.0f};
        default: {
            float s = (e.age + 150.0f) / 150.0f;
            return {&bullets, (e.age < 50.0f ? 240 : 256) + kind % 16,
                    s,        s,
                    0,        (300.0f - e.age) / 350.0f};
        }
    }
}

// The plain batch: quads of one texture go out together.
class Plain_Batch {
public:
    explicit Plain_Batch(SDL_Renderer* r) : renderer_(r) {
        vertices_.reserve(max_vertices);
        indices_.reserve(max_vertices / 4 * 6);
    }
    void add(const Quad& q, float x, float y) {
        SDL_Texture* t = q.sheet->texture.impl()->texture;
        if (t != texture_ || static_cast<int>(vertices_.size()) + 4 > max_vertices) flush(t);
        int cell = q.sheet->cell;
        float tw = static_cast<float>(q.sheet->texture.get_width()),
              th = static_cast<float>(q.sheet->texture.get_height());
        float u0 = static_cast<float>(q.frame % q.sheet->columns * cell) / tw;
        float v0 = static_cast<float>(q.frame / q.sheet->columns * cell) / th;
        float u1 = u0 + cell / tw, v1 = v0 + cell / th;
        float hx = cell * q.sx / 2, hy = cell * q.sy / 2;
        float c = 1, s = 0;
        if (q.angle_degrees != 0.0f) {
            c = std::cos(q.angle_degrees * to_radians);
            s = std::sin(q.angle_degrees * to_radians);
        }
        SDL_Color colour{255, 255, 255,
                         static_cast<Uint8>(std::clamp(q.alpha, 0.0f, 1.0f) * 255.0f + 0.5f)};
        const float cx[4] = {-hx, hx, hx, -hx}, cy[4] = {-hy, -hy, hy, hy};
        const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
        int first = static_cast<int>(vertices_.size());
        for (int k = 0; k < 4; ++k)
            vertices_.push_back(SDL_Vertex{
                {x + cx[k] * c - cy[k] * s, y + cx[k] * s + cy[k] * c}, colour, {us[k], vs[k]}});
        for (int k : {0, 1, 2, 2, 3, 0}) indices_.push_back(first + k);
    }
    void flush(SDL_Texture* next = nullptr) {
        if (!vertices_.empty()) {
            SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_BLEND);
            SDL_RenderGeometry(renderer_, texture_, vertices_.data(),
                               static_cast<int>(vertices_.size()), indices_.data(),
                               static_cast<int>(indices_.size()));
        }
        vertices_.clear();
        indices_.clear();
        texture_ = next;
    }

private:
    static constexpr int max_vertices = sdk::detail::Render_Device::max_vertices;
    SDL_Renderer* renderer_;
    SDL_Texture* texture_ = nullptr;
    std::vector<SDL_Vertex> vertices_;
    std::vector<int> indices_;
};

struct Scene {
    std::vector<Bullet> bullets;
    std::vector<Effect> effects;
    std::vector<const Look*> bullet_look, effect_look;
    std::vector<Appearance*> bullet_appearance;
    std::vector<Effect_Appearance*> effect_appearance;
};

void advance(Scene& s, int frame) {
    for (size_t i = 0; i < s.bullets.size(); ++i) {
        Bullet& b = s.bullets[i];
        b.x = std::fmod(b.x + 1.3f, 640.0f);
        b.y = std::fmod(b.y + 0.7f + static_cast<float>(i % 5) * 0.1f, 480.0f);
        b.angle += sdk::Angle::from_degrees(2.0f);
    }
    for (size_t i = 0; i < s.effects.size(); ++i) {
        Effect& e = s.effects[i];
        e.age = static_cast<float>((i * 7 + static_cast<size_t>(frame) * 17) % 190);
        e.x = std::fmod(e.x + 0.5f, 640.0f);
    }
}

void draw_ours(sdk::Canvas& canvas, Scene& s) {
    for (size_t i = 0; i < s.bullets.size(); ++i)
        s.bullet_appearance[i]->draw(canvas, s.bullets[i]);
    for (size_t i = 0; i < s.effects.size(); ++i)
        s.effect_appearance[i]->draw(canvas, s.effects[i]);
}

void draw_plain(Plain_Batch& batch, Scene& s, const Sheet& bullets, const Sheet& big,
                const Sheet& flash) {
    for (size_t i = 0; i < s.bullets.size(); ++i) {
        const Bullet& b = s.bullets[i];
        batch.add(bullet_quad(*s.bullet_look[i], b, bullets, big), b.x, b.y);
    }
    for (size_t i = 0; i < s.effects.size(); ++i) {
        const Effect& e = s.effects[i];
        batch.add(effect_quad(*s.effect_look[i], e, bullets, flash), e.x, e.y);
    }
    batch.flush();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    sdk::Display_Setup setup;
    sdk::Window_Description d;
    d.title = "draw bench";
    d.visible = false;
    sdk::Window window(d);
    sdk::Canvas canvas(window);
    SDL_Renderer* renderer = window.device()->renderer();

    Sheet bullets_sheet{}, big_sheet{}, flash_sheet{};
    sprite_cache["bullets"] = make_sprite(canvas, bullets_sheet, 16, 17, 16);
    sprite_cache["bullets2"] = make_sprite(canvas, big_sheet, 8, 5, 48);
    sprite_cache["magic_flash"] = make_sprite(canvas, flash_sheet, 4, 16, 32);

    // The registered classes with the values of the registry's tables.
    std::vector<std::unique_ptr<Appearance>> bullet_objects;
    for (const Look& l : bullet_looks) {
        switch (l.kind) {
            case Kind::pike:
                bullet_objects.emplace_back(new Appearance_Bullet_Pike(l.first, "bullets"));
                break;
            case Kind::zoomed:
                bullet_objects.emplace_back(new Appearance_Simple_Zoomed(l.first, "bullets", 2.0f));
                break;
            case Kind::big:
                bullet_objects.emplace_back(new Appearance_Simple(l.first, "bullets2"));
                break;
            default:
                bullet_objects.emplace_back(new Appearance_Simple(l.first, "bullets"));
                break;
        }
    }
    std::vector<std::unique_ptr<Effect_Appearance>> effect_objects;
    effect_objects.emplace_back(new Appearance_Effect_Magic_Flash());
    effect_objects.emplace_back(new Appearance_Effect_Enemy_Shot1(200.0f));
    effect_objects.emplace_back(new Appearance_Effect_Graze_Particle());
    effect_objects.emplace_back(new Appearance_Effect_Small_Particle());
    effect_objects.emplace_back(new Appearance_Effect_Enemy_Bullet_Hit1());

    Scene scene;
    constexpr int bullet_run = 40, effect_run = 20;
    constexpr int n_bullet_looks = sizeof(bullet_looks) / sizeof(bullet_looks[0]);
    constexpr int n_effect_looks = sizeof(effect_looks) / sizeof(effect_looks[0]);
    for (int i = 0; i < bullet_count; ++i) {
        int look = (i / bullet_run) % n_bullet_looks;
        Bullet b;
        b.x = static_cast<float>(i % 640);
        b.y = static_cast<float>(i * 13 % 480);
        b.angle = sdk::Angle::from_degrees(static_cast<float>(i % 360));
        b.colour = static_cast<uint8_t>(i % 20);
        b.layer = 1;
        b.alive = 1;
        scene.bullets.push_back(b);
        scene.bullet_look.push_back(&bullet_looks[look]);
        scene.bullet_appearance.push_back(bullet_objects[static_cast<size_t>(look)].get());
    }
    for (int i = 0; i < effect_count; ++i) {
        int look = (i / effect_run) % n_effect_looks;
        Effect e;
        e.x = static_cast<float>(i * 3 % 640);
        e.y = static_cast<float>(i * 7 % 480);
        e.kind = static_cast<uint8_t>(effect_looks[look].kind == Kind::graze ? 13 : i % 8);
        e.value = 300;
        e.scale = 1.0f + static_cast<float>(i % 3) * 0.25f;
        e.angle = sdk::Angle::from_degrees(static_cast<float>(i % 360));
        e.alive = 1;
        scene.effects.push_back(e);
        scene.effect_look.push_back(&effect_looks[look]);
        scene.effect_appearance.push_back(effect_objects[static_cast<size_t>(look)].get());
    }
    player.bullet_alpha = 1.0f;
    Plain_Batch batch(renderer);

    // Both ways must draw the same picture.
    advance(scene, 0);
    canvas.clear();
    draw_ours(canvas, scene);
    sdk::Pixel_Buffer ours = canvas.get_pixeldata();
    canvas.clear();
    canvas.flush();
    draw_plain(batch, scene, bullets_sheet, big_sheet, flash_sheet);
    sdk::Pixel_Buffer plain = canvas.get_pixeldata();
    int worst = 0;
    long differing = 0;
    for (int y = 0; y < ours.get_height(); ++y)
        for (int x = 0; x < ours.get_width(); ++x) {
            sdk::Color a = ours.get_pixel(x, y), b = plain.get_pixel(x, y);
            int diff = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
            worst = std::max(worst, diff);
            if (diff > 8) ++differing;
        }

    std::vector<double> ours_ms, plain_ms, ours_issue, plain_issue;
    for (int f = 0; f < timed_frames + 20; ++f) {  // the first 20 warm up
        advance(scene, f);
        canvas.clear();
        canvas.flush();
        SDL_RenderFlush(renderer);
        double t0 = now_ms();
        draw_ours(canvas, scene);
        double t1 = now_ms();
        canvas.flush();
        SDL_RenderFlush(renderer);
        double t2 = now_ms();

        canvas.clear();
        canvas.flush();
        SDL_RenderFlush(renderer);
        double t3 = now_ms();
        draw_plain(batch, scene, bullets_sheet, big_sheet, flash_sheet);
        double t4 = now_ms();
        SDL_RenderFlush(renderer);
        double t5 = now_ms();
        window.flip(0);
        sdk::Keep_Alive::process();
        if (f < 20) continue;
        ours_ms.push_back(t2 - t0);
        plain_ms.push_back(t5 - t3);
        ours_issue.push_back(t1 - t0);
        plain_issue.push_back(t4 - t3);
    }
    double m_ours = median(ours_ms), m_plain = median(plain_ms);
    double i_ours = median(ours_issue), i_plain = median(plain_issue);
    std::printf(
        "scene=draw bullets=%d effects=%d renderer=%s frames=%d median_ms=%.3f baseline_ms=%.3f "
        "ratio=%.3f "
        "issue_ms=%.3f issue_baseline_ms=%.3f issue_ratio=%.3f pixels_differing=%ld "
        "max_channel_diff=%d\n",
        bullet_count, effect_count, window.get_renderer_name().c_str(), timed_frames, m_ours,
        m_plain, m_ours / m_plain, i_ours, i_plain, i_ours / i_plain, differing, worst);
    sprite_cache.clear();
    return 0;
}
