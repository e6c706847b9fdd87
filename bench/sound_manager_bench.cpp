// The sound manager over the SDL2_mixer engine (SDL's dummy driver unless
// SDL_AUDIODRIVER says otherwise): the cost of one play_sound on the main
// thread, for a sample that plays and for one the repeat guard refuses; how
// long a music request takes to be heard (the music thread idles up to
// 500 ms between requests); and how long shutdown takes to end the thread.
#include <SDL_mixer.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "audio/sound_manager.h"

namespace {

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// A 100 ms, 16-bit mono tone at 22050 Hz.
std::vector<uint8_t> wav() {
    const uint32_t frames = 2205;
    std::vector<uint8_t> b;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto text = [&](const char* t) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(t[i]));
    };
    text("RIFF");
    put(36 + frames * 2, 4);
    text("WAVE");
    text("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(22050, 4);
    put(44100, 4);
    put(2, 2);
    put(16, 2);
    text("data");
    put(frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.125))), 2);
    return b;
}

}  // namespace

int main() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    auto dir = std::filesystem::temp_directory_path() /
               ("mirel_sound_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::vector<uint8_t> bytes = wav();
    for (const char* name : {"shot.wav", "track.wav"})
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    sdk::File_System fs(dir.string());
    uint64_t clock = 1000;
    Sound_Manager_Hooks hooks;
    hooks.clock = [&] { return clock; };
    _SoundManager manager;
    manager.init(sdk::Resource_Manager(sdk::Resource_Document::from_text(
                     R"(<resources><sample name="shot" file="shot.wav" volume="1"/></resources>)",
                     "sounds.xml", fs)),
                 sdk::Resource_Manager(sdk::Resource_Document::from_text(
                     R"(<resources><track name="track" file="track.wav"/></resources>)",
                     "music.xml", fs)),
                 fs, hooks);

    const int plays = 20000;
    double t0 = now_ms();
    for (int i = 0; i < plays; ++i) {
        clock += 71;
        manager.play_sound("shot");
    }
    double played = (now_ms() - t0) * 1e6 / plays;
    t0 = now_ms();
    for (int i = 0; i < plays; ++i) manager.play_sound("shot");
    double guarded = (now_ms() - t0) * 1e6 / plays;
    std::printf("play_sound, sample plays:       %8.0f ns\n", played);
    std::printf("play_sound, refused by guard:   %8.0f ns\n", guarded);

    const int requests = 6;
    double worst = 0, total = 0;
    for (int i = 0; i < requests; ++i) {
        manager.stop_music();
        std::this_thread::sleep_for(std::chrono::milliseconds(130 + 70 * i));
        double start = now_ms();
        manager.play_music("track");
        while (Mix_PlayingMusic() == 0 && now_ms() - start < 3000)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        double waited = now_ms() - start;
        total += waited;
        worst = std::max(worst, waited);
    }
    std::printf("music request until heard:      %8.1f ms mean, %.1f ms worst (%d requests)\n",
                total / requests, worst, requests);

    t0 = now_ms();
    manager.shutdown();
    std::printf("shutdown (joins the thread):    %8.1f ms\n", now_ms() - t0);
    std::filesystem::remove_all(dir);
    return 0;
}
