// The resource archive as start-up mounts it and as the documents, the
// pictures and the music engine read from it: the input is mounted as a zip
// file system, every name of the real archive is looked up, read whole, read
// piecewise with seeks through the platform's device and through the music
// engine's file bridge, and "mirel.xml" is parsed when it is there.
#include <fstream>

#include "audio/archive_file_bridge.h"
#include "fuzz_support.h"

namespace {

std::string zip_path;
using Kind = sdk::Entry_Kind;
// Each name with the kind its reader opens it as.
const struct {
    const char* name;
    Kind kind;
} names[] = {
    {"mirel.xml", Kind::document},    {"sprites.xml", Kind::document},
    {"player.xml", Kind::document},   {"sounds.xml", Kind::document},
    {"music.xml", Kind::document},    {"patterns.xml", Kind::document},
    {"levels.xml", Kind::document},   {"text.xml", Kind::document},
    {"Resources/rf.ttf", Kind::font}, {"images/bullets.png", Kind::picture},
    {"music/01_amber_wind.ogg", Kind::track}, {"sounds/graze.ogg", Kind::sound},
    {"./mirel.xml", Kind::document},  {"", Kind::document},
    {"/", Kind::document},            {"..", Kind::document},
    {"a/../mirel.xml", Kind::document},
};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    zip_path = (fuzz::scratch_root() / ("mirel_fuzz_archive_" + std::to_string(::getpid()) + ".res")).string();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(zip_path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    sdk::File_System fs;
    try {
        fs = sdk::File_System(zip_path);
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    uint8_t buffer[512];
    for (const auto& [name, kind] : names) {
        try {
            if (!fs.has_file(name)) continue;
            std::vector<uint8_t> whole = fs.read_file(name, kind);
            auto device = fs.open_file(name, kind);
            device->seek(device->get_size() / 2, sdk::Seek_Mode::set);
            device->read(buffer, sizeof buffer);
            device->seek(-16, sdk::Seek_Mode::end);
            device->read(buffer, sizeof buffer);
            device->seek(0, sdk::Seek_Mode::set);
            if (device->read_all().size() != whole.size()) std::abort();
        } catch (const sdk::Exception& e) {
            fuzz::rejected(e);
        }
    }
    auto* factory = new FileFactory(fs);
    for (const auto& entry : names) {
        sdk::File_Reader* reader = factory->create_file_reader(entry.name);
        if (!reader) continue;
        reader->read(buffer, sizeof buffer);
        reader->seek(reader->get_size() - 3, false);
        reader->read(buffer, 64);
        reader->seek(-100, true);
        reader->get_pos();
        reader->drop();
    }
    factory->drop();
    try {
        if (fs.has_file("mirel.xml")) sdk::Resource_Document doc(fs, "mirel.xml");
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
    }
    return 0;
}
