// Files and folders on the local disk: the settings file "config.dat", the
// replays in "replay" and the screenshots in "screenshot", all relative to
// the working directory. Names may use "/" or "\" as the separator.
//
// Saving: save_file_safely writes the new contents to a temporary file beside
// the target, flushes it to the disk and renames it over the target, so a
// crash or a full disk leaves either the old file or the new one, never half
// of either. Local_File opened for writing does the same when it is committed.
// A temporary file that an interrupted save left behind ("<name>.tmp<pid>")
// is removed by the next save of the same file once no process of that id
// runs, so two copies of the game saving in one folder never delete each
// other's save in progress.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdk/core/io_device.h"

namespace sdk {

// "screenshot\mirel000001.png" -> "screenshot/mirel000001.png".
std::string local_path(const std::string& name);

// A file on disk read through the IO_Device interface (little-endian typed
// reads, seek, size). Throws "Unable to open file: <name>" when it cannot.
std::unique_ptr<IO_Device> open_local_file(const std::string& name);
bool local_file_exists(const std::string& name);
// The size in bytes, or -1 when there is no such file.
int64_t local_file_size(const std::string& name);

// Writes `size` bytes as the whole new contents of `name`, safely (above).
// Throws "Unable to save file: <name> (<reason>)"; the old file is then intact.
void save_file_safely(const std::string& name, const void* data, size_t size);
void save_file_safely(const std::string& name, const std::vector<uint8_t>& bytes);

// One line on stderr for a save that failed; the caller goes on without the
// file. The settings, the replay and the screenshots are the player's, and
// losing one of them never ends the game.
void report_failed_save(const std::string& message);

// A file being written: typed writes go to memory; commit() saves them with
// save_file_safely. Dropping it without commit() leaves the disk untouched.
class Local_File_Writer : public Memory_Device {
public:
    explicit Local_File_Writer(std::string name);
    void commit();
};

namespace Directory {
// Creates one folder (not its parents). Answers true when it exists afterwards.
bool create(const std::string& path);
// The same, for a caller that reports the failure: throws
// "Unable to make folder: <path> (<reason>)", e.g. "(File exists)" for a
// file in its place.
void make(const std::string& path);
bool exists(const std::string& path);
// Names of the entries of the folder (files and folders, no "." or ".."),
// sorted. Answers false when the folder cannot be read, and then says why in
// `why` when it is given.
bool scan(const std::string& path, std::vector<std::string>& names, std::string* why = nullptr);
}  // namespace Directory

}  // namespace sdk
