// A read-only file system over a zip archive or a folder, through PhysicsFS.
// Each File_System is its own mount, so a test's fixture folder and the
// game's archive can be open at once. Handles are shared: copies name the same
// mount, which stays until the last copy goes. Reads may come from the music
// thread and the main thread at once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sdk/core/io_device.h"

namespace sdk {

class File_System {
public:
    File_System() = default;
    // Mounts a zip archive or a folder. Throws "Unable to open archive: <path>"
    // (with the PhysicsFS reason) when it cannot.
    explicit File_System(const std::string& archive_or_folder);

    bool is_null() const { return !impl_; }
    // Opens a file of the mount for reading; names use "/" and may start with
    // "./". Throws "Unable to open file: <name>" when there is no such file.
    std::unique_ptr<IO_Device> open_file(const std::string& name) const;
    bool has_file(const std::string& name) const;
    // The whole file, or throws like open_file.
    std::vector<uint8_t> read_file(const std::string& name) const;
    // What was mounted, for messages.
    const std::string& get_path() const;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace sdk
