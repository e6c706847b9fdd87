// A read-only file system over a zip archive or a folder, through PhysicsFS.
// Each File_System is its own mount, so a test's fixture folder and the
// game's archive can be open at once. Handles are shared: copies name the same
// mount, which stays until the last copy goes. Reads may come from the music
// thread and the main thread at once.
//
// A zip entry of a few megabytes can inflate to gigabytes, so every file is
// opened as one kind of entry, and one larger than its kind may be is refused
// before a byte of it is read. The bounds stand well above the largest entry
// of each kind in "mirel.res":
//
//   kind       bound    largest shipped
//   document    4 MiB     65865 bytes (levels.xml)
//   picture    16 MiB    305512 bytes (images/enemies/fairy2.png)
//   sound       4 MiB     39076 bytes (sounds/enemy_dead2.ogg)
//   track      64 MiB   1516046 bytes (music/02_glass_winter.ogg)
//   font       32 MiB   4088728 bytes (Resources/jf.ttf)
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sdk/core/io_device.h"

namespace sdk {

// What a file of the archive holds: a resource document, a picture (PNG), a
// sound effect read whole, a music track streamed, or a TrueType font.
enum class Entry_Kind { document, picture, sound, track, font };

// The largest file of the kind that is read, in bytes.
int64_t max_entry_size(Entry_Kind kind);
// "document", "picture", ... for messages.
const char* entry_kind_name(Entry_Kind kind);

class File_System {
public:
    File_System() = default;
    // Mounts a zip archive or a folder. Throws "Unable to open archive: <path>"
    // (with the PhysicsFS reason) when it cannot.
    explicit File_System(const std::string& archive_or_folder);

    bool is_null() const { return !impl_; }
    // Opens a file of the mount for reading; names use "/" and may start with
    // "./". Throws "Unable to open file: <name>" when there is no such file,
    // and "<name> is <size> bytes, more than the <bound> a <kind> may be"
    // when it is larger than max_entry_size of its kind.
    std::unique_ptr<IO_Device> open_file(const std::string& name, Entry_Kind kind) const;
    bool has_file(const std::string& name) const;
    // The whole file, or throws like open_file.
    std::vector<uint8_t> read_file(const std::string& name, Entry_Kind kind) const;
    // What was mounted, for messages.
    const std::string& get_path() const;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace sdk
