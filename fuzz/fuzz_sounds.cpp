// "sounds.xml" and "music.xml" as the sound manager reads them at start-up:
// the input serves as both documents, so its "sample" resources are read
// whole and decoded and its "track" resources named; then every sample and
// track is played once and the music thread is ended. The files the seeds
// name exist in a folder made at start, each a short WAV tone whatever its
// extension: the mixer goes by the content, and a WAV decodes at a fraction
// of an OGG's cost. "b.ogg" is an OGG tone.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "audio/sound_manager.h"
#include "fuzz_support.h"
#include "tests/audio/sound_files.h"

namespace {
sdk::File_System* sounds_folder = nullptr;
sdk::Sound_Engine* device_keeper = nullptr;

// The folder of sound files made at start goes when the run ends.
std::filesystem::path sounds_dir;
void remove_sounds_dir() {
    std::error_code ec;
    std::filesystem::remove_all(sounds_dir, ec);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("mirel_fuzz_sounds_" + std::to_string(::getpid()));
    sounds_dir = dir;
    std::atexit(remove_sounds_dir);
    std::set<std::string> names{"a.wav", "b.ogg"};
    std::regex file_attribute("file=\"([^\"]+)\"");
    // Only the two seeds: the corpus also holds the inputs runs found, whose
    // file names may climb out of the folder.
    for (const char* seed : {"sounds.xml", "music.xml"}) {
        std::ifstream in(std::string(MIREL_SOURCE_DIR) + "/fuzz/corpus/sounds/" + seed);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator m(text.begin(), text.end(), file_attribute), end; m != end; ++m)
            names.insert((*m)[1]);
    }
    sound_files::Bytes wav = sound_files::make_wav(30), ogg = sound_files::make_ogg(60);
    for (const std::string& name : names) {
        std::filesystem::path file = dir / name;
        std::filesystem::create_directories(file.parent_path());
        sound_files::write_file(file, name == "b.ogg" ? ogg : wav);
    }
    sounds_folder = new sdk::File_System(dir.string());
    // The audio device stays open for the whole run, as it does for the
    // game's: an engine that keeps it opens it once, and the manager's
    // engines of every input only join it.
    device_keeper = sdk::create_sound_engine().release();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sdk::Resource_Document doc;
    try {
        doc = fuzz::document(data, size, "sounds.xml", *sounds_folder);
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    sdk::Resource_Manager documents(doc);
    _SoundManager manager;
    try {
        manager.init(documents, documents, *sounds_folder);
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    for (const std::string& name : doc.get_resource_names_of_type("sample")) manager.play_sound(name);
    for (const std::string& name : doc.get_resource_names_of_type("track")) manager.play_music(name);
    manager.stop_music();
    manager.shutdown();
    return 0;
}
