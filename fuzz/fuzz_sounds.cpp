// "sounds.xml" and "music.xml" as the sound manager reads them at start-up:
// the input serves as both documents, so its "sample" resources are read
// whole and decoded and its "track" resources named; then every sample and
// track is played once and the music thread is ended. The files the seeds
// name exist as short WAV and OGG tones in a folder made at start.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "audio/sound_manager.h"
#include "fuzz_support.h"
#include "tests/audio/sound_files.h"

namespace {
sdk::File_System* sounds_folder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("mirel_fuzz_sounds_" + std::to_string(::getpid()));
    std::set<std::string> names{"a.wav", "b.ogg"};
    std::regex file_attribute("file=\"([^\"]+)\"");
    for (const auto& seed : std::filesystem::directory_iterator(std::string(MIREL_SOURCE_DIR) + "/fuzz/corpus/sounds")) {
        std::ifstream in(seed.path());
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator m(text.begin(), text.end(), file_attribute), end; m != end; ++m)
            names.insert((*m)[1]);
    }
    sound_files::Bytes wav = sound_files::make_wav(30), ogg = sound_files::make_ogg(60);
    for (const std::string& name : names) {
        std::filesystem::path file = dir / name;
        std::filesystem::create_directories(file.parent_path());
        sound_files::write_file(file, file.extension() == ".ogg" ? ogg : wav);
    }
    sounds_folder = new sdk::File_System(dir.string());
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
