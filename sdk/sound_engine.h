// The sound engine: what the game's sound code needs from a sound library, and
// the two engines that provide it, one over SDL2_mixer and a silent one for a
// machine without a sound device.
//
// Sources are what can be played: a whole sound file decoded from memory (a
// sample), or a file that is opened through the engine's file factories only
// when it plays and is then streamed (a track). WAV and OGG Vorbis files are
// understood. An engine owns the sources added to it; they live until it goes.
//
// Volumes are linear amplitude factors, 1 = as recorded. What is heard is the
// engine's master volume x the source's default volume (taken when the play
// starts) x the playing sound's own volume.
//
// Sound handles, file factories and file readers are reference counted: the
// one who creates them holds the first reference and gives it back with
// drop(); the last drop destroys the object. An engine grabs a reference of
// every factory added to it. A track plays while a handle of it lives: the
// last drop stops it. A sound of a source must not be started or changed
// once the source's engine is gone.
//
// Threads: each engine is used from one thread at a time; several engines may
// live at once (the game has one for effects and one for music). The
// SDL2_mixer engines share the process's one audio device, opened by the first
// engine and closed when the last engine and sound are gone. SDL2_mixer
// streams one track at a time: starting a track ends the one that was playing.
// Streamed files are read from the audio device's own thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace sdk {

class Ref_Counted {
public:
    Ref_Counted(const Ref_Counted&) = delete;
    Ref_Counted& operator=(const Ref_Counted&) = delete;

    void grab() { references_.fetch_add(1, std::memory_order_relaxed); }
    // Gives back one reference; answers true when it was the last and the
    // object is gone.
    bool drop();

protected:
    Ref_Counted() = default;
    virtual ~Ref_Counted() = default;

private:
    std::atomic<int> references_{1};
};

// A file an engine streams from, supplied by a file factory. Nothing may
// throw out of these: the engine calls them from C code.
class File_Reader : public Ref_Counted {
public:
    // Reads `size` bytes unless the file ends first; answers the bytes read,
    // -1 on failure.
    virtual int32_t read(void* buffer, int32_t size) = 0;
    // Moves to `position` bytes from the start, or from the current position
    // when `relative` is set. Answers false when that is outside the file.
    virtual bool seek(int32_t position, bool relative) = 0;
    virtual int32_t get_size() = 0;
    virtual int32_t get_pos() = 0;
    // The name the file was opened under.
    virtual const char* get_file_name() = 0;
};

class File_Factory : public Ref_Counted {
public:
    // Opens `name` for reading; null when it cannot be opened. The caller
    // holds the reader's one reference.
    virtual File_Reader* create_file_reader(const char* name) = 0;
};

class Sound_Source {
public:
    virtual ~Sound_Source() = default;
    // Volume of the next plays of this source.
    virtual void set_default_volume(float volume) = 0;
};

// A sound that plays or waits to play.
class Sound : public Ref_Counted {
public:
    virtual void set_volume(float volume) = 0;
    // false starts a sound that was started paused, or resumes it.
    virtual void set_is_paused(bool paused) = 0;
    // Ends the sound for good; the handle stays valid until it is dropped.
    virtual void stop() = 0;
};

class Sound_Engine {
public:
    virtual ~Sound_Engine() = default;

    // Master volume of everything this engine plays from now on.
    virtual void set_sound_volume(float volume) = 0;
    // A sample decoded from a whole sound file in memory; `data` stays the
    // caller's and must stay alive as long as the source. Null when the bytes
    // are no sound file the engine understands. `name` is for messages.
    virtual Sound_Source* add_sound_source_from_memory(const void* data, size_t size,
                                                       const std::string& name) = 0;
    // Files of add_sound_source_from_file are opened through the factories,
    // the one added last asked first. The engine grabs its own reference.
    virtual void add_file_factory(File_Factory* factory) = 0;
    // A track: the file is opened and decoded only when it plays.
    virtual Sound_Source* add_sound_source_from_file(const std::string& name) = 0;
    // Plays a source once or looped. When `start_paused` or `track` is set
    // the answer is a handle (its one reference is the caller's); otherwise
    // the sound plays out by itself and the answer is null. Null too when
    // the source's file cannot be opened or decoded.
    virtual Sound* play_2d(Sound_Source* source, bool looped, bool start_paused, bool track) = 0;
};

// An engine over SDL2_mixer. When the audio device cannot be opened (no sound
// card, no audio service) it logs one line under "SYSTEM" for the outage and
// answers a silent engine instead, so the game runs without sound. What the
// ALSA library itself has to say goes to the log under "Debug", not stderr.
std::unique_ptr<Sound_Engine> create_sound_engine();
// An engine that accepts everything and plays nothing.
std::unique_ptr<Sound_Engine> create_silent_engine();

}  // namespace sdk
