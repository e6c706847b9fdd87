// Where the stage simulation asks for sounds: a small interface that the
// sound manager implements and the shell installs in `installed_sound_sink`
// at start-up. Null means a silent game (no sound device, the simulation's
// tests); `sound_sink()` then answers a sink that does nothing. Requests are
// by name, as "sounds.xml" and "music.xml" name the samples and tracks; the
// sound manager keeps its own repeat guard. Main thread only.
#pragma once

#include <string_view>

class Sound_Sink {
public:
    virtual ~Sound_Sink() = default;
    // Plays a sample once, its volume multiplied by `volume_factor`.
    virtual void play_sound_scaled(std::string_view name, float volume_factor) = 0;
    // Asks for a change to a music track; an unknown name is ignored.
    virtual void play_music(std::string_view name) = 0;
    // Asks for the playing track to stop.
    virtual void stop_music() = 0;

    void play_sound(std::string_view name) { play_sound_scaled(name, 1.0f); }
};

inline Sound_Sink* installed_sound_sink = nullptr;

// The installed sink, or a silent one.
inline Sound_Sink& sound_sink() {
    class Silent_Sink : public Sound_Sink {
    public:
        void play_sound_scaled(std::string_view, float) override {}
        void play_music(std::string_view) override {}
        void stop_music() override {}
    };
    static Silent_Sink silent;
    return installed_sound_sink ? *installed_sound_sink : silent;
}
