// Sprite drawing against a plain SDL batch: 20000 bullets and 20000 effects a
// frame, each set up the way the appearances do it (frame, angle, alpha,
// alignment) and drawn through sdk::Sprite, compared with the same quads
// written straight into SDL_Vertex arrays and sent with SDL_RenderGeometry.
// Prints milliseconds per frame for both and their ratio, once for issuing
// the draws alone and once with the renderer's work and a flip included.
// Runs on whatever renderer SDL gives (the offscreen driver's OpenGL here).
#include <SDL.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sdk/canvas.h"
#include "sdk/display.h"
#include "sdk/message_pump.h"
#include "sdk/render_device.h"
#include "sdk/sprite.h"
#include "sdk/texture.h"
#include "sdk/window.h"

namespace {

constexpr int bullets = 20000, effects = 20000, frames = 60;

struct Object {
    float x, y, angle, alpha;
    int frame;
};

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

sdk::Pixel_Buffer sheet() {
    sdk::Pixel_Buffer p(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            int dx = x % 16 - 8, dy = y % 16 - 8;
            uint8_t a = dx * dx + dy * dy < 49 ? 255 : 0;
            p.set_pixel(x, y, sdk::Color(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 200, a));
        }
    return p;
}

void move(std::vector<Object>& objects, int frame) {
    for (size_t i = 0; i < objects.size(); ++i) {
        Object& o = objects[i];
        o.x = std::fmod(o.x + 1.3f, 640.0f);
        o.y = std::fmod(o.y + 0.7f + static_cast<float>(i % 5) * 0.1f, 480.0f);
        o.angle += 2.0f;
        o.frame = static_cast<int>((i + static_cast<size_t>(frame)) % 256);
    }
}

void draw_sdk(sdk::Canvas& canvas, sdk::Sprite& bullet, sdk::Sprite& effect,
              const std::vector<Object>& b, const std::vector<Object>& e) {
    for (const Object& o : b) {
        bullet.set_frame(o.frame);
        bullet.set_angle(sdk::Angle::from_degrees(o.angle));
        bullet.set_alpha(1.0f);
        bullet.set_alignment(sdk::Origin::center);
        bullet.draw(canvas, o.x, o.y);
    }
    for (const Object& o : e) {
        effect.set_frame(o.frame);
        effect.set_alpha(o.alpha);
        effect.set_scale(1.5f, 1.5f);
        effect.set_alignment(sdk::Origin::center);
        effect.draw(canvas, o.x, o.y);
    }
}

// The same quads, written by hand.
void draw_plain(SDL_Renderer* r, SDL_Texture* t, std::vector<SDL_Vertex>& v, std::vector<int>& idx,
                const std::vector<Object>& b, const std::vector<Object>& e) {
    v.clear();
    idx.clear();
    auto quad = [&](const Object& o, float size, float c, float s, Uint8 alpha) {
        float u0 = static_cast<float>(o.frame % 16) / 16.0f, v0 = static_cast<float>(o.frame / 16) / 16.0f;
        float u1 = u0 + 1.0f / 16.0f, v1 = v0 + 1.0f / 16.0f;
        float h = size / 2;
        const float cx[4] = {-h, h, h, -h}, cy[4] = {-h, -h, h, h};
        const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
        int first = static_cast<int>(v.size());
        for (int k = 0; k < 4; ++k)
            v.push_back(SDL_Vertex{{o.x + cx[k] * c - cy[k] * s, o.y + cx[k] * s + cy[k] * c},
                                   {255, 255, 255, alpha}, {us[k], vs[k]}});
        for (int k : {0, 1, 2, 2, 3, 0}) idx.push_back(first + k);
    };
    for (const Object& o : b) {
        float a = o.angle * 3.14159265f / 180.0f;
        quad(o, 16, std::cos(a), std::sin(a), 255);
    }
    for (const Object& o : e) quad(o, 24, 1, 0, static_cast<Uint8>(o.alpha * 255));
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    // In slices as large as the layer's batch, so both send the same calls.
    constexpr int slice = sdk::detail::Render_Device::max_vertices;
    for (int start = 0; start < static_cast<int>(v.size()); start += slice) {
        int n = std::min(slice, static_cast<int>(v.size()) - start);
        std::vector<int> local(idx.begin() + start / 4 * 6, idx.begin() + (start + n) / 4 * 6);
        for (int& k : local) k -= start;
        SDL_RenderGeometry(r, t, v.data() + start, n, local.data(), static_cast<int>(local.size()));
    }
}

}  // namespace

int main() {
    sdk::Display_Setup setup;
    sdk::Window_Description d;
    d.title = "sprite bench";
    d.visible = false;
    sdk::Window window(d);
    sdk::Canvas canvas(window);
    sdk::Texture texture(canvas, sheet());
    std::vector<sdk::Rect> cells;
    for (int i = 0; i < 256; ++i) cells.push_back(sdk::Rect(i % 16 * 16, i / 16 * 16, i % 16 * 16 + 16, i / 16 * 16 + 16));
    sdk::Sprite bullet(canvas, texture, cells), effect(canvas, texture, cells);

    std::vector<Object> b(bullets), e(effects);
    for (int i = 0; i < bullets; ++i) b[i] = {static_cast<float>(i % 640), static_cast<float>(i % 480), static_cast<float>(i), 1.0f, 0};
    for (int i = 0; i < effects; ++i) e[i] = {static_cast<float>(i * 3 % 640), static_cast<float>(i * 7 % 480), 0, (i % 10) / 10.0f, 0};

    SDL_Renderer* r = window.device()->renderer();
    SDL_Texture* t = texture.impl()->texture;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    vertices.reserve((bullets + effects) * 4);
    indices.reserve((bullets + effects) * 6);

    std::printf("renderer: %s, %d bullets + %d effects per frame, %d frames\n",
                window.get_renderer_name().c_str(), bullets, effects, frames);
    double sdk_issue = 0, plain_issue = 0, sdk_total = 0, plain_total = 0;
    for (int round = 0; round < 2; ++round) {  // the first round warms up
        double si = 0, pi = 0, st = 0, pt = 0;
        for (int f = 0; f < frames; ++f) {
            move(b, f);
            move(e, f);
            canvas.clear();
            double t0 = now_ms();
            draw_sdk(canvas, bullet, effect, b, e);
            canvas.flush();
            double t1 = now_ms();
            window.flip(0);
            double t2 = now_ms();
            si += t1 - t0;
            st += t2 - t0;

            canvas.clear();
            canvas.flush();
            double t3 = now_ms();
            draw_plain(r, t, vertices, indices, b, e);
            double t4 = now_ms();
            window.flip(0);
            double t5 = now_ms();
            pi += t4 - t3;
            pt += t5 - t3;
            sdk::Keep_Alive::process();
        }
        sdk_issue = si / frames;
        plain_issue = pi / frames;
        sdk_total = st / frames;
        plain_total = pt / frames;
    }
    // Bullets of two picture files in turn. Files share an atlas texture, so
    // the draws still batch; two textures of their own would not.
    std::string folder = "/tmp/mirel_sprite_bench_" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    sheet().save_png(folder + "/a.png");
    sheet().save_png(folder + "/b.png");
    sdk::File_System files(folder);
    sdk::Sprite first(canvas, sdk::Texture::load(canvas, files, "a.png"), cells);
    sdk::Sprite other(canvas, sdk::Texture::load(canvas, files, "b.png"), cells);
    std::filesystem::remove_all(folder);
    double mixed = 0, mixed_total = 0, single_total = 0;
    for (int f = 0; f < frames; ++f) {
        canvas.clear();
        double t0 = now_ms();
        for (size_t i = 0; i < b.size(); ++i) {
            sdk::Sprite& s = i % 2 ? other : first;
            s.set_frame(b[i].frame);
            s.set_angle(sdk::Angle::from_degrees(b[i].angle));
            s.draw(canvas, b[i].x, b[i].y);
        }
        canvas.flush();
        mixed += now_ms() - t0;
        window.flip(0);
        mixed_total += now_ms() - t0;
        canvas.clear();
        double t1 = now_ms();
        for (size_t i = 0; i < b.size(); ++i) {
            bullet.set_frame(b[i].frame);
            bullet.set_angle(sdk::Angle::from_degrees(b[i].angle));
            bullet.draw(canvas, b[i].x, b[i].y);
        }
        window.flip(0);
        single_total += now_ms() - t1;
    }
    std::printf("%d bullets from two files in turn: %.3f ms to issue, %.3f ms with flip (one texture: %.3f ms)\n",
                bullets, mixed / frames, mixed_total / frames, single_total / frames);
    std::printf("issue draws: sdk %.3f ms, plain SDL %.3f ms, ratio %.2f\n", sdk_issue, plain_issue,
                sdk_issue / plain_issue);
    std::printf("with flip:   sdk %.3f ms, plain SDL %.3f ms, ratio %.2f\n", sdk_total, plain_total,
                sdk_total / plain_total);
    return 0;
}
