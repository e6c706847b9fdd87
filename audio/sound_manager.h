// The sound manager: every sound of the game goes through the one global
// `sound_manager`. Samples named in "sounds.xml" are read whole into memory at
// start-up and played on the effects engine from the main thread. Tracks
// named in "music.xml" are streamed out of the resource archive (through the
// archive file bridge) by the music engine, which only the manager's music
// thread touches: the main thread posts a stop or a change of track, and the
// thread serves a pending stop first, then a pending change, and otherwise
// idles for 500 ms.
//
// Volumes are linear factors: both engines play at engine_volume (0.2); a
// sample at its own "volume" attribute x `sound_volume` (x the caller's
// factor), a track at `music_volume` (world/settings.h). Times are the SDK
// clock's milliseconds, low 32 bits.
//
// Threads: the main thread calls everything but the music thread's body.
// The request flags are atomics; `change_lock` guards the requested track's
// name, `stop_lock` the stop, and `music_lock` the playing track's handle and
// the music volume, which the main thread reaches through apply_music_volume.
// No code holds two locks at once.
//
// At exit shutdown() (also run by the destructor) ends the music thread
// first and only then releases the sounds, the engines and the buffers.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sdk/core/clock.h"
#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/sound_engine.h"

// What the manager takes from its surroundings. The defaults are the game's;
// tests put fakes in.
struct Sound_Manager_Hooks {
    // Makes each of the two engines (effects first, then music).
    std::function<std::unique_ptr<sdk::Sound_Engine>()> make_engine = sdk::create_sound_engine;
    // The clock of the repeat guard, in milliseconds.
    std::function<uint64_t()> clock = sdk::get_time;
    // How the music thread idles when nothing is pending, for the given
    // milliseconds. Empty: a wait that shutdown cuts short.
    std::function<void(int milliseconds)> idle_wait;
};

class _SoundManager {
public:
    static constexpr float engine_volume = 0.2f;
    static constexpr uint32_t default_repeat_guard = 70;
    static constexpr int idle_milliseconds = 500;

    _SoundManager() = default;
    _SoundManager(const _SoundManager&) = delete;
    _SoundManager& operator=(const _SoundManager&) = delete;
    ~_SoundManager();

    // Once, at start-up: loads every "sample" of the sounds document and names
    // every "track" of the music document, then starts the music thread.
    // A sample file missing from the archive throws, naming the document, the
    // resource and the file.
    void init(const sdk::Resource_Manager& sounds, const sdk::Resource_Manager& music,
              const sdk::File_System& file_system, Sound_Manager_Hooks hooks = {});

    // Plays a sample once, unless it played within the repeat guard. An
    // unknown name does nothing.
    void play_sound(std::string_view name);
    // The same with the volume multiplied by `factor`.
    void play_sound_scaled(std::string_view name, float factor);
    // Asks the music thread to change to a track; an unknown name is ignored.
    void play_music(std::string_view name);
    // Asks the music thread to stop the playing track.
    void stop_music();
    // Takes `music_volume` anew and gives it to the playing track at once.
    void apply_music_volume();

    // Ends the music thread, then stops the track and releases the engines
    // and the buffers. Safe to call more than once; call it before the
    // platform's audio is shut down.
    void shutdown();

    bool is_initialized() const { return initialized; }

private:
    // One sample: the file's bytes (kept for the run: the engine may read
    // them as long as the source lives), its source on `effects`, its own
    // volume and when it last played.
    struct Sample {
        std::vector<uint8_t> buffer;
        sdk::Sound_Source* source = nullptr;
        float volume = 0.0f;
        uint32_t last_play = 0;
    };

    void load_samples(const sdk::Resource_Document& doc, const sdk::File_System& fs);
    void load_tracks(const sdk::Resource_Document& doc, const sdk::File_System& fs);
    void play_sample(std::string_view name, float factor);
    uint32_t now() const { return static_cast<uint32_t>(hooks.clock()); }

    void music_thread();
    // Serves one pending request; answers false when there was none.
    bool serve_music_request();
    void stop_current_music();
    void idle();

    Sound_Manager_Hooks hooks;
    std::unique_ptr<sdk::Sound_Engine> effects;
    std::unique_ptr<sdk::Sound_Engine> music;
    std::map<std::string, Sample, std::less<>> samples;
    // Written only by init: both threads read it afterwards.
    std::map<std::string, sdk::Sound_Source*, std::less<>> tracks;
    sdk::File_System file_system;
    uint32_t repeat_guard = default_repeat_guard;
    bool initialized = false;

    // Only the music thread writes these; music_lock guards them against
    // apply_music_volume.
    std::mutex music_lock;
    sdk::Sound_Source* current_source = nullptr;
    sdk::Sound* current_music = nullptr;
    float music_level = 1.0f;

    std::thread thread;
    std::mutex change_lock;
    std::mutex stop_lock;
    std::atomic<bool> change_requested{false};
    std::atomic<bool> stop_requested{false};
    std::atomic<bool> running{true};
    std::string requested_track;

    std::mutex idle_lock;
    std::condition_variable idle_wake;
};

extern _SoundManager sound_manager;
