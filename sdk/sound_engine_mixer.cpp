// The sound engine over SDL2_mixer. Samples are decoded whole when they are
// added (Mix_LoadWAV_RW over the caller's memory) and played on the first
// free mixer channel, or on the one that has played longest when none is
// free. Tracks are opened through the file factories when they play and
// streamed by SDL2_mixer from an SDL_RWops over the factory's reader; the
// mixer reads them on its audio thread.
#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/sound_engine.h"

namespace sdk {

namespace {

constexpr int mixer_channels = 32;

class Mixer_Track;

// The process's one audio device. It is never destroyed, so engines that go
// during static destruction still find it.
struct Audio_Device {
    std::mutex mutex;
    // Engines and sounds that use the device; the last to go closes it.
    int users = 0;
    bool outage_reported = false;
    // The track that holds SDL2_mixer's one music stream, or null.
    Mixer_Track* stream_owner = nullptr;
};

Audio_Device& device() {
    static Audio_Device* d = new Audio_Device;
    return *d;
}

// The ALSA library writes each complaint of its own on stderr, a block of
// them for every device it fails to open. Its messages go to the log under
// "Debug" instead; the game's one line about a missing device says enough.
// SDL loads the same libasound.so.2 as the game, so this handler is the one
// its ALSA driver meets.
void log_alsa_message(const char* file, int line, const char* function, int err, const char* format,
                      ...) {
    char message[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    std::string text = std::string("ALSA lib ") + file + ":" + std::to_string(line) + ":(" +
                       function + ") " + message;
    if (err) text += std::string(": ") + snd_strerror(err);
    log_event("Debug", "%1", text);
}

// Opens the device for the first user, or counts one more user.
bool use_device() {
    Audio_Device& d = device();
    std::lock_guard lock(d.mutex);
    if (d.users > 0) {
        ++d.users;
        return true;
    }
    snd_lib_error_set_handler(log_alsa_message);
    std::string why;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
    } else {
        Mix_Init(MIX_INIT_OGG);
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0) {
            Mix_AllocateChannels(mixer_channels);
            d.users = 1;
            d.outage_reported = false;
            return true;
        }
        why = Mix_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (!d.outage_reported) {
        d.outage_reported = true;
        log_event("SYSTEM", "No sound device (%1): the game runs without sound", why);
    }
    return false;
}

void leave_device() {
    Audio_Device& d = device();
    std::lock_guard lock(d.mutex);
    if (--d.users > 0) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    d.stream_owner = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// SDL keeps error texts per thread and frees them for its own threads only.
// Every engine call that may leave one marks its thread, and the mark frees
// them when the thread (the music thread, say) ends.
struct Thread_Cleanup {
    ~Thread_Cleanup() { SDL_TLSCleanup(); }
    void mark() {}
};
thread_local Thread_Cleanup thread_cleanup;

// A linear volume as the mixer's 0 to 128. NaN passes std::clamp untouched
// and has no rounded integer: it is silence, like any volume at 0 or below.
int mixer_level(float volume) {
    return saturate_integer<int>(std::round(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME));
}

// --- Streams over a file reader ------------------------------------------------

File_Reader* reader_of(SDL_RWops* rw) { return static_cast<File_Reader*>(rw->hidden.unknown.data1); }

Sint64 SDLCALL reader_size(SDL_RWops* rw) {
    int32_t size = reader_of(rw)->get_size();
    return size < 0 ? -1 : size;
}

Sint64 SDLCALL reader_seek(SDL_RWops* rw, Sint64 offset, int whence) {
    File_Reader* r = reader_of(rw);
    bool ok = false;
    if (whence == RW_SEEK_CUR) {
        if (offset == 0) return r->get_pos();
        ok = offset >= INT32_MIN && offset <= INT32_MAX && r->seek(static_cast<int32_t>(offset), true);
    } else {
        Sint64 target = whence == RW_SEEK_END ? r->get_size() + offset : offset;
        ok = target >= 0 && target <= INT32_MAX && r->seek(static_cast<int32_t>(target), false);
    }
    if (!ok) return SDL_SetError("Cannot seek in %s", r->get_file_name());
    return r->get_pos();
}

size_t SDLCALL reader_read(SDL_RWops* rw, void* data, size_t size, size_t count) {
    if (size == 0 || count == 0) return 0;
    size_t want = std::min<size_t>(count, INT32_MAX / size) * size;
    int32_t got = reader_of(rw)->read(data, static_cast<int32_t>(want));
    return got <= 0 ? 0 : static_cast<size_t>(got) / size;
}

size_t SDLCALL reader_write(SDL_RWops*, const void*, size_t, size_t) {
    SDL_SetError("A sound file is read only");
    return 0;
}

int SDLCALL reader_close(SDL_RWops* rw) {
    reader_of(rw)->drop();
    SDL_FreeRW(rw);
    return 0;
}

// Takes over the reader's reference; closing the stream drops it.
SDL_RWops* stream_over(File_Reader* reader) {
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) {
        reader->drop();
        return nullptr;
    }
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->size = reader_size;
    rw->seek = reader_seek;
    rw->read = reader_read;
    rw->write = reader_write;
    rw->close = reader_close;
    rw->hidden.unknown.data1 = reader;
    return rw;
}

// --- Sources -------------------------------------------------------------------

class Mixer_Source : public Sound_Source {
public:
    void set_default_volume(float volume) override { default_volume = volume; }
    float default_volume = 1.0f;
};

class Mixer_Sample : public Mixer_Source {
public:
    explicit Mixer_Sample(Mix_Chunk* c) : chunk(c) {}
    // Mix_FreeChunk first halts every channel that plays the chunk.
    ~Mixer_Sample() override { Mix_FreeChunk(chunk); }
    Mix_Chunk* chunk;
};

class Mixer_Track_Source : public Mixer_Source {
public:
    explicit Mixer_Track_Source(std::string n) : name(std::move(n)) {}
    std::string name;
};

// --- Sounds --------------------------------------------------------------------

// Starts a chunk on a channel whose volume is set before the first sample
// is mixed; answers the channel or -1.
int start_chunk(Mix_Chunk* chunk, bool looped, int level) {
    int channel = Mix_GroupAvailable(-1);
    if (channel < 0) channel = Mix_GroupOldest(-1);
    if (channel < 0) return -1;
    Mix_HaltChannel(channel);
    Mix_Volume(channel, level);
    return Mix_PlayChannel(channel, chunk, looped ? -1 : 0);
}

// A sample played with a handle. The channel may be taken by another sound
// once this one ends; the handle then leaves it alone.
class Mixer_Channel_Sound : public Sound {
public:
    Mixer_Channel_Sound(Mix_Chunk* chunk, bool looped, float base)
        : chunk_(chunk), looped_(looped), base_(base) {
        use_device();
    }
    ~Mixer_Channel_Sound() override { leave_device(); }

    void set_volume(float volume) override {
        volume_ = volume;
        if (holds_channel()) Mix_Volume(channel_, mixer_level(base_ * volume_));
    }
    void set_is_paused(bool paused) override {
        if (!started_) {
            if (!paused) {
                started_ = true;
                channel_ = start_chunk(chunk_, looped_, mixer_level(base_ * volume_));
            }
            return;
        }
        if (!holds_channel()) return;
        if (paused)
            Mix_Pause(channel_);
        else
            Mix_Resume(channel_);
    }
    void stop() override {
        started_ = true;
        if (holds_channel()) Mix_HaltChannel(channel_);
        channel_ = -1;
    }
    void start() { set_is_paused(false); }

private:
    bool holds_channel() const {
        return channel_ >= 0 && Mix_Playing(channel_) && Mix_GetChunk(channel_) == chunk_;
    }
    Mix_Chunk* chunk_;
    bool looped_;
    float base_;
    float volume_ = 1.0f;
    bool started_ = false;
    int channel_ = -1;
};

// A streamed track. It keeps the decoder (and through it the file reader)
// until it is stopped or its last handle goes.
class Mixer_Track : public Sound {
public:
    Mixer_Track(Mix_Music* music, bool looped, float base)
        : music_(music), looped_(looped), base_(base) {
        use_device();
    }
    ~Mixer_Track() override {
        stop();
        leave_device();
    }

    void set_volume(float volume) override {
        std::lock_guard lock(device().mutex);
        volume_ = volume;
        if (device().stream_owner == this) Mix_VolumeMusic(mixer_level(base_ * volume_));
    }
    void set_is_paused(bool paused) override {
        Audio_Device& d = device();
        std::lock_guard lock(d.mutex);
        if (!music_) return;
        if (!started_) {
            if (paused) return;
            started_ = true;
            // The stream's volume is the one music volume of SDL2_mixer: set
            // it before the stream starts so the first buffer is right.
            Mix_VolumeMusic(mixer_level(base_ * volume_));
            if (Mix_PlayMusic(music_, looped_ ? -1 : 1) == 0) d.stream_owner = this;
            return;
        }
        if (d.stream_owner != this) return;
        if (paused)
            Mix_PauseMusic();
        else
            Mix_ResumeMusic();
    }
    void stop() override {
        Audio_Device& d = device();
        std::lock_guard lock(d.mutex);
        started_ = true;
        if (d.stream_owner == this) {
            Mix_HaltMusic();
            d.stream_owner = nullptr;
        }
        if (music_) Mix_FreeMusic(music_);
        music_ = nullptr;
    }

private:
    Mix_Music* music_;
    bool looped_;
    float base_;
    float volume_ = 1.0f;
    bool started_ = false;
};

// --- The engine ----------------------------------------------------------------

class Mixer_Engine : public Sound_Engine {
public:
    // Takes over the device use that create_sound_engine made.
    Mixer_Engine() = default;
    ~Mixer_Engine() override {
        if (unhandled_track_) unhandled_track_->drop();
        sources_.clear();
        for (File_Factory* f : factories_) f->drop();
        leave_device();
    }

    void set_sound_volume(float volume) override { master_ = volume; }

    Sound_Source* add_sound_source_from_memory(const void* data, size_t size,
                                               const std::string&) override {
        thread_cleanup.mark();
        if (!data || size == 0 || size > INT_MAX) return nullptr;
        SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
        if (!rw) return nullptr;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
        if (!chunk) return nullptr;
        sources_.push_back(std::make_unique<Mixer_Sample>(chunk));
        return sources_.back().get();
    }

    void add_file_factory(File_Factory* factory) override {
        if (!factory) return;
        factory->grab();
        factories_.push_back(factory);
    }

    Sound_Source* add_sound_source_from_file(const std::string& name) override {
        sources_.push_back(std::make_unique<Mixer_Track_Source>(name));
        return sources_.back().get();
    }

    Sound* play_2d(Sound_Source* source, bool looped, bool start_paused, bool track) override {
        thread_cleanup.mark();
        bool handle = start_paused || track;
        if (auto* sample = dynamic_cast<Mixer_Sample*>(source)) {
            float base = master_ * sample->default_volume;
            if (!handle) {
                start_chunk(sample->chunk, looped, mixer_level(base));
                return nullptr;
            }
            auto* sound = new Mixer_Channel_Sound(sample->chunk, looped, base);
            if (!start_paused) sound->start();
            return sound;
        }
        auto* file = dynamic_cast<Mixer_Track_Source*>(source);
        if (!file) return nullptr;
        Mix_Music* music = open_track(file->name);
        if (!music) return nullptr;
        auto* sound = new Mixer_Track(music, looped, master_ * file->default_volume);
        if (!start_paused) sound->set_is_paused(false);
        if (handle) return sound;
        // Nobody holds this one: it plays until the next track takes the
        // stream or the engine goes.
        if (unhandled_track_) unhandled_track_->drop();
        unhandled_track_ = sound;
        return nullptr;
    }

private:
    Mix_Music* open_track(const std::string& name) {
        for (auto f = factories_.rbegin(); f != factories_.rend(); ++f) {
            File_Reader* reader = (*f)->create_file_reader(name.c_str());
            if (!reader) continue;
            SDL_RWops* rw = stream_over(reader);
            // Closes the stream (and drops the reader) when it fails, too.
            return rw ? Mix_LoadMUS_RW(rw, 1) : nullptr;
        }
        return nullptr;
    }

    float master_ = 1.0f;
    std::vector<std::unique_ptr<Mixer_Source>> sources_;
    std::vector<File_Factory*> factories_;
    Sound* unhandled_track_ = nullptr;
};

}  // namespace

std::unique_ptr<Sound_Engine> create_sound_engine() {
    thread_cleanup.mark();
    if (!use_device()) return create_silent_engine();
    return std::make_unique<Mixer_Engine>();
}

}  // namespace sdk
