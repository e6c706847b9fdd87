// Frame pacing of the game screen under the offscreen renderer: the real
// archive, a scripted player who starts the game and then shoots and weaves
// through the stage for 30 s, kept alive. Prints the distribution of the time between
// frame starts (the loop aims at 16 ms, with the step capped at 17 ms).
// Run from the build folder (the archive "mirel.res" beside the program).
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/application.h"
#include "app/screen_state.h"
#include "sdk/core/exception.h"
#include "sdk/display.h"
#include "world/bullet_pool.h"
#include "world/player.h"

namespace {

void send_key(SDL_Keycode key, SDL_Scancode code, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = code;
    SDL_PushEvent(&e);
}

void tap(SDL_Keycode key, SDL_Scancode code) {
    send_key(key, code, true);
    send_key(key, code, false);
}

}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // A scratch folder, so that the settings and replays of a real game stay.
    std::filesystem::path work = std::filesystem::temp_directory_path() / "mirel_frame_pacing";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    std::filesystem::current_path(work);

    constexpr int measured_frames = 1800;
    using clock = std::chrono::steady_clock;
    std::vector<double> intervals;
    intervals.reserve(measured_frames);
    clock::time_point last{};
    int in_state = 0, game_frames = 0;
    int32_t last_state = -1;
    uint32_t peak_bullets = 0;
    try {
        sdk::Display_Setup display;
        Application app;
        app.frame_hook = [&](Application& a) {
            if (app_state != last_state) {
                last_state = app_state;
                in_state = 0;
            }
            ++in_state;
            if (app_state == state_language && in_state == 10) tap(SDLK_z, SDL_SCANCODE_Z);
            if (app_state == state_main_menu && in_state == 20) tap(SDLK_UP, SDL_SCANCODE_UP);
            if (app_state == state_main_menu && in_state == 40) tap(SDLK_z, SDL_SCANCODE_Z);
            if (app_state != state_game) return;
            clock::time_point now = clock::now();
            // The first frame loads the run (level, backgrounds): not paced.
            if (game_frames > 1)
                intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
            ++game_frames;
            peak_bullets = std::max(peak_bullets, bullet_pool.size());
            // Kept alive, so the whole measured stretch is play.
            player.invincible = 100000;
            if (game_frames == 1) send_key(SDLK_z, SDL_SCANCODE_Z, true);
            if (game_frames % 90 == 1) send_key(SDLK_LEFT, SDL_SCANCODE_LEFT, true);
            if (game_frames % 90 == 40) send_key(SDLK_LEFT, SDL_SCANCODE_LEFT, false);
            if (game_frames % 90 == 46) send_key(SDLK_RIGHT, SDL_SCANCODE_RIGHT, true);
            if (game_frames % 90 == 85) send_key(SDLK_RIGHT, SDL_SCANCODE_RIGHT, false);
            if (static_cast<int>(intervals.size()) >= measured_frames) a.quit = true;
        };
        app.start({});
    } catch (const sdk::Exception& e) {
        std::fprintf(stderr, "frame_pacing: %s\n", e.what());
        return 1;
    }
    if (intervals.empty()) {
        std::fprintf(stderr, "frame_pacing: the game screen was never reached\n");
        return 1;
    }
    std::sort(intervals.begin(), intervals.end());
    auto at = [&](double q) {
        return intervals[static_cast<size_t>(q * static_cast<double>(intervals.size() - 1))];
    };
    const char* driver = std::getenv("SDL_RENDER_DRIVER");
    std::printf("frame pacing, game screen, %zu frames, peak %u bullets, renderer %s\n",
                intervals.size(), peak_bullets, driver ? driver : "default");
    std::printf("  median %.2f ms, p99 %.2f ms, longest %.2f ms, shortest %.2f ms\n", at(0.5),
                at(0.99), intervals.back(), intervals.front());
    int over = static_cast<int>(
        std::count_if(intervals.begin(), intervals.end(), [](double d) { return d > 17.0; }));
    std::printf("  frames over 17 ms: %d\n", over);
    return 0;
}
