// The sound manager as the world's sound sink. The shell installs
// `sound_manager_sink` in `installed_sound_sink` (world/sound_sink.h) once
// `sound_manager.init` has run, and takes it out again before
// `sound_manager.shutdown`. Main thread only, like the requests it forwards.
#pragma once

#include <string_view>

#include "audio/sound_manager.h"
#include "world/sound_sink.h"

class Sound_Manager_Sink : public Sound_Sink {
public:
    explicit Sound_Manager_Sink(_SoundManager& manager) : manager_(manager) {}

    void play_sound_scaled(std::string_view name, float volume_factor) override {
        manager_.play_sound_scaled(name, volume_factor);
    }
    void play_music(std::string_view name) override { manager_.play_music(name); }
    void stop_music() override { manager_.stop_music(); }

private:
    _SoundManager& manager_;
};

// Serves the global `sound_manager`.
extern Sound_Manager_Sink sound_manager_sink;
