// Frame times of the whole stage, drawn: the real archive's "testlevel"
// played from start to end by the careful dodging player of the stage tests,
// each frame simulated and then drawn as the game draws it (the stage
// background, the boss's rings, then the field's objects in the game's own
// order) through the real looks into the game's hidden window under the
// offscreen video driver, and flipped without vsync.
// Prints the distribution of the whole frame's time (median, p99, longest)
// over the stage and over its busiest stretch, the 600 frames with the most
// bullets, and how many frames went over the 16 ms budget.
// Run from the build folder (the archive "mirel.res" beside the program).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/field_draw.h"
#include "app/item_draw.h"
#include "render/appearance.h"
#include "render/background.h"
#include "render/player_sprites.h"
#include "render/ring_sprite.h"
#include "render/sprite_cache.h"
#include "render/stage_draw.h"
#include "sdk/canvas.h"
#include "sdk/core/exception.h"
#include "sdk/display.h"
#include "sdk/window.h"
#include "tests/content/archive_stage_player.h"
#include "world/effect_pool.h"
#include "world/enemy_lists.h"
#include "world/level.h"
#include "world/stage_frame.h"

namespace {

using namespace stage_test;

struct Figures {
    double median = 0, p99 = 0, longest = 0;
};

Figures figures_of(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)], v.back()};
}

}  // namespace

int main() {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    try {
        sdk::set_log_sink([](const std::string&, const std::string&) {});
        sdk::Display_Setup display;
        sdk::Window_Description d;
        d.title = "Mirel";
        d.size = {640, 480};
        d.visible = false;
        sdk::Window window(d);
        sdk::Canvas canvas(window);

        Archive_Stage stage;
        const sdk::Resource_Manager mirel_doc(stage.mirel);
        preload_sprites(canvas, sdk::Resource_Manager(sdk::Resource_Document(stage.fs, "sprites.xml")));
        Ring_Sprite rings(canvas, "ring1", mirel_doc, stage.fs);
        stage.load_world([&] {
            load_player_sprites(canvas, stage.player_doc);
            load_appearances(canvas, mirel_doc);
            init_item_drawing();
        });
        stage_background.load(canvas, "stage_kio", mirel_doc, {32, 16, 416, 464});
        for (int k = 0; k < 100; ++k) stage_background.update(1000.0f);

        stage.start_run(5);
        level_requires_appearances = true;

        Dodging_Player careful;
        std::vector<double> frame_ms;
        std::vector<uint32_t> bullets;
        struct Moment {
            float clock;
            uint32_t effects;
            bool dialog, boss;
        };
        std::vector<Moment> states;
        uint32_t most = 0;
        for (int f = 0; f < 10 * 60 * 60 && !stage_clear && !game_over; ++f) {
            float dt = f % 3 == 0 ? 17.0f : 16.0f;
            Stage_Input in;
            Player_Input devices = careful.next(in.advances);
            in.devices = &devices;
            auto t0 = std::chrono::steady_clock::now();
            run_stage_frame(dt, in);
            stage_background.update(dt);
            canvas.clear(sdk::Colorf::black());
            canvas.push_cliprect(screen_field);
            stage_background.draw(canvas);
            update_and_draw_boss_rings(canvas, rings, dt);
            draw_field_objects(canvas);
            canvas.pop_cliprect();
            canvas.flush();
            window.flip(0);
            frame_ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
            bullets.push_back(bullet_pool.size());
            states.push_back({event_clock, static_cast<uint32_t>(effect_pool.size()), dialog_active != 0,
                              active_boss() != nullptr});
            most = std::max(most, bullet_pool.size());
        }
        stage_presentation = nullptr;
        installed_sound_sink = nullptr;

        // The busiest stretch: the 600 frames with the most bullets in all.
        size_t window_frames = std::min<size_t>(600, frame_ms.size()), best_at = 0;
        uint64_t sum = 0, best = 0;
        for (size_t i = 0; i < bullets.size(); ++i) {
            sum += bullets[i];
            if (i >= window_frames) sum -= bullets[i - window_frames];
            if (i + 1 >= window_frames && sum > best) {
                best = sum;
                best_at = i + 1 - window_frames;
            }
        }
        std::vector<double> busiest(frame_ms.begin() + static_cast<std::ptrdiff_t>(best_at),
                                    frame_ms.begin() + static_cast<std::ptrdiff_t>(best_at + window_frames));
        Figures all = figures_of(frame_ms), busy = figures_of(busiest);
        long over = std::count_if(frame_ms.begin(), frame_ms.end(), [](double ms) { return ms > 16.0; });
        const char* driver = std::getenv("SDL_RENDER_DRIVER");
        std::printf("busy stage pacing: %zu frames (%s), peak %u bullets, renderer %s\n", frame_ms.size(),
                    stage_clear ? "stage cleared" : "run lost", most, driver ? driver : "default (OpenGL)");
        std::printf("  whole stage: median %.2f ms, p99 %.2f ms, longest %.2f ms, over 16 ms: %ld\n", all.median,
                    all.p99, all.longest, over);
        std::printf("  busiest 600 frames (from frame %zu, %.0f bullets on average): median %.2f ms, p99 %.2f ms, "
                    "longest %.2f ms\n",
                    best_at, static_cast<double>(best) / static_cast<double>(window_frames ? window_frames : 1),
                    busy.median, busy.p99, busy.longest);
        // The five longest frames and what the stage was doing.
        std::vector<size_t> order(frame_ms.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::partial_sort(order.begin(), order.begin() + std::min<size_t>(5, order.size()), order.end(),
                          [&](size_t a, size_t b) { return frame_ms[a] > frame_ms[b]; });
        for (size_t k = 0; k < std::min<size_t>(5, order.size()); ++k) {
            size_t i = order[k];
            std::printf("  frame %zu: %.2f ms at stage clock %.0f ms, %u bullets, %u effects%s%s\n", i, frame_ms[i],
                        states[i].clock, bullets[i], states[i].effects, states[i].dialog ? ", dialog" : "",
                        states[i].boss ? ", boss" : "");
        }
        return 0;
    } catch (const sdk::Exception& e) {
        std::fprintf(stderr, "busy stage pacing: %s\n", e.what());
        return 1;
    }
}
