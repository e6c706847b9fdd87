// Sound and archive files made on the spot for the sound tests: a short sine
// tone as WAV or OGG Vorbis, a zip archive of named files, and a temporary
// folder that removes itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace sound_files {

using Bytes = std::vector<uint8_t>;

// 16-bit mono PCM at 22050 Hz.
Bytes make_wav(int milliseconds);
// Mono Vorbis at 44100 Hz in an Ogg stream.
Bytes make_ogg(int milliseconds);
// A zip archive holding each (name, bytes) as a file.
void write_zip(const std::filesystem::path& path,
               const std::vector<std::pair<std::string, Bytes>>& files);
void write_file(const std::filesystem::path& path, const Bytes& bytes);

class Temp_Dir {
public:
    explicit Temp_Dir(const std::string& tag);
    ~Temp_Dir();
    Temp_Dir(const Temp_Dir&) = delete;
    Temp_Dir& operator=(const Temp_Dir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace sound_files
