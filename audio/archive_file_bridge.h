// The archive file bridge: how the music engine reads tracks out of the
// resource archive. `FileFactory` opens the names the engine asks for in the
// archive's file system, and each open file is handed over as a `k_ReadFile`
// that forwards the engine's reads and seeks to the file's device. Both are
// reference counted (one reference at creation): the sound manager gives its
// factory to the music engine and drops its own reference, and the engine
// drops each reader when it has finished streaming.
//
// The engine calls these from the thread that plays music and from the audio
// device's thread; nothing here is shared between threads except the file
// system handle, which is only read. Nothing throws out of the bridge: a file
// the archive lacks, or an error while reading, answers null or -1.
#pragma once

#include <cstdint>
#include <memory>

#include "sdk/core/file_system.h"
#include "sdk/core/io_device.h"
#include "sdk/sound_engine.h"

class FileFactory : public sdk::File_Factory {
public:
    explicit FileFactory(sdk::File_System file_system);

    // A new reader (one reference, the caller's) over `name` in the archive;
    // null (and a "SYSTEM" log line) when the archive has no such file or one
    // larger than a track may be, or the name is longer than a reader can keep.
    sdk::File_Reader* create_file_reader(const char* name) override;

private:
    sdk::File_System file_system_;
};

class k_ReadFile : public sdk::File_Reader {
public:
    // The longest file name a reader keeps.
    static constexpr size_t max_name_length = 1027;

    // Keeps the device; copies at most max_name_length characters of `name`.
    k_ReadFile(std::unique_ptr<sdk::IO_Device> device, const char* name);

    int32_t read(void* buffer, int32_t size) override;
    bool seek(int32_t position, bool relative) override;
    int32_t get_size() override;
    int32_t get_pos() override;
    const char* get_file_name() override { return name; }

private:
    std::unique_ptr<sdk::IO_Device> device_;
    char name[max_name_length + 1];
};
