#include "audio/sound_manager.h"

#include <chrono>

#include "audio/archive_file_bridge.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "world/settings.h"

_SoundManager sound_manager;

_SoundManager::~_SoundManager() { shutdown(); }

void _SoundManager::init(const sdk::Resource_Manager& sounds, const sdk::Resource_Manager& music_doc,
                         const sdk::File_System& archive, Sound_Manager_Hooks new_hooks) {
    if (initialized || thread.joinable())
        throw sdk::Exception("The sound manager was started twice");
    hooks = std::move(new_hooks);
    if (!hooks.make_engine) hooks.make_engine = sdk::create_sound_engine;
    if (!hooks.clock) hooks.clock = sdk::get_time;

    effects = hooks.make_engine();
    music = hooks.make_engine();
    effects->set_sound_volume(engine_volume);
    music->set_sound_volume(engine_volume);

    if (!sounds.is_null()) load_samples(sounds.get_doc(), archive);
    file_system = archive;
    if (!music_doc.is_null()) load_tracks(music_doc.get_doc(), archive);

    {
        std::lock_guard lock(music_lock);
        current_source = nullptr;
        current_music = nullptr;
        music_level = music_volume;
    }
    repeat_guard = default_repeat_guard;
    running = true;
    thread = std::thread(&_SoundManager::music_thread, this);
    initialized = true;
}

void _SoundManager::load_samples(const sdk::Resource_Document& doc, const sdk::File_System& fs) {
    for (const std::string& name : doc.get_resource_names_of_type("sample")) {
        const sdk::Dom_Element& element = doc.get_resource(name).element;
        if (!element.has_attribute("file"))
            throw sdk::Exception(doc.get_name() + ": sample '" + name + "' has no \"file\"");
        std::string file = doc.resolve_path(element.get_attribute("file"));
        Sample sample;
        try {
            std::unique_ptr<sdk::IO_Device> device = fs.open_file(file, sdk::Entry_Kind::sound);
            int64_t size = device->get_size();
            sdk::log_event("Debug", "Load %1 size = %2", file, size);
            sample.buffer = device->read_all();
        } catch (const sdk::Exception& e) {
            throw sdk::Exception(doc.get_name() + ": sample '" + name + "': " + e.get_message());
        }
        sample.source = effects->add_sound_source_from_memory(sample.buffer.data(),
                                                              sample.buffer.size(), name);
        if (!sample.source) {
            sdk::log_event("SYSTEM", "%1: sample '%2': %3 is no sound file that can be played; "
                           "it stays silent", doc.get_name(), name, file);
            continue;
        }
        if (!element.has_attribute("volume"))
            sdk::log_event("Debug", "%1: sample '%2' has no \"volume\"; it plays silently",
                           doc.get_name(), name);
        sample.volume = element.get_attribute_float("volume", 0.0f);
        sample.last_play = now();
        samples.insert_or_assign(name, std::move(sample));
    }
}

void _SoundManager::load_tracks(const sdk::Resource_Document& doc, const sdk::File_System& fs) {
    // The engine grabs the factory; the manager's own reference goes at once.
    auto* factory = new FileFactory(fs);
    music->add_file_factory(factory);
    for (const std::string& name : doc.get_resource_names_of_type("track")) {
        const sdk::Dom_Element& element = doc.get_resource(name).element;
        if (!element.has_attribute("file")) {
            factory->drop();
            throw sdk::Exception(doc.get_name() + ": track '" + name + "' has no \"file\"");
        }
        std::string file = doc.resolve_path(element.get_attribute("file"));
        // Tracks are opened only when they play, on the music thread, where a
        // refusal can only leave them silent: one larger than a track may be
        // stops start-up here, named.
        if (fs.has_file(file)) {
            try {
                fs.open_file(file, sdk::Entry_Kind::track);
            } catch (const sdk::Exception& e) {
                factory->drop();
                throw sdk::Exception(doc.get_name() + ": track '" + name + "': " + e.get_message());
            }
        }
        if (sdk::Sound_Source* source = music->add_sound_source_from_file(file))
            tracks.insert_or_assign(name, source);
    }
    factory->drop();
}

void _SoundManager::play_sound(std::string_view name) { play_sample(name, 1.0f); }

void _SoundManager::play_sound_scaled(std::string_view name, float factor) {
    play_sample(name, factor);
}

void _SoundManager::play_sample(std::string_view name, float factor) {
    auto it = samples.find(name);
    if (it == samples.end()) return;
    Sample& sample = it->second;
    uint32_t t = now();
    // Unsigned difference: right across the wrap of the 32-bit clock too.
    if (t - sample.last_play <= repeat_guard) return;
    sample.source->set_default_volume(sample.volume * sound_volume * factor);
    effects->play_2d(sample.source, false, false, false);
    sample.last_play = t;
}

void _SoundManager::play_music(std::string_view name) {
    if (tracks.find(name) == tracks.end()) return;
    std::lock_guard lock(change_lock);
    requested_track.assign(name);
    change_requested = true;
}

void _SoundManager::stop_music() {
    std::lock_guard lock(stop_lock);
    stop_requested = true;
}

void _SoundManager::apply_music_volume() {
    std::lock_guard lock(music_lock);
    music_level = music_volume;
    if (current_music) current_music->set_volume(music_level);
}

void _SoundManager::music_thread() {
    sdk::log_event("Debug", "Music player initialized");
    while (running) {
        if (!serve_music_request()) idle();
    }
}

bool _SoundManager::serve_music_request() {
    if (stop_requested) {
        {
            std::lock_guard lock(stop_lock);
            stop_requested = false;
        }
        stop_current_music();
        return true;
    }
    if (!change_requested) return false;
    std::string name;
    {
        std::lock_guard lock(change_lock);
        change_requested = false;
        name = requested_track;
    }
    // The engine streams one track at a time: the one playing gives way
    // rather than going on without a handle that could stop it.
    stop_current_music();
    auto it = tracks.find(name);
    if (it == tracks.end()) return true;
    sdk::Sound_Source* source = it->second;
    source->set_default_volume(1.0f);
    sdk::Sound* sound = music->play_2d(source, true, true, false);
    if (!sound) {
        sdk::log_event("Debug", "Music track '%1' could not be played", name);
        return true;
    }
    std::lock_guard lock(music_lock);
    current_source = source;
    current_music = sound;
    current_music->set_volume(music_level);
    current_music->set_is_paused(false);
    return true;
}

void _SoundManager::stop_current_music() {
    sdk::Sound* sound;
    {
        std::lock_guard lock(music_lock);
        sound = current_music;
        current_music = nullptr;
        current_source = nullptr;
    }
    if (!sound) return;
    sound->stop();
    sound->drop();
}

void _SoundManager::idle() {
    if (hooks.idle_wait) {
        hooks.idle_wait(idle_milliseconds);
        return;
    }
    std::unique_lock lock(idle_lock);
    idle_wake.wait_for(lock, std::chrono::milliseconds(idle_milliseconds),
                       [this] { return !running; });
}

void _SoundManager::shutdown() {
    {
        std::lock_guard lock(idle_lock);
        running = false;
    }
    idle_wake.notify_all();
    if (thread.joinable()) thread.join();
    // Nothing plays any more: what the thread used can go.
    stop_current_music();
    // The engines first: their sources may read the sample buffers.
    effects.reset();
    samples.clear();
    tracks.clear();
    music.reset();
    file_system = sdk::File_System();
    initialized = false;
}
