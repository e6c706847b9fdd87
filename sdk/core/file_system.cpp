#include "sdk/core/file_system.h"

#include <physfs.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>

#include "sdk/core/exception.h"

namespace sdk {

namespace {

// File systems also live in globals of other files (the dialog's "text.xml",
// the sound manager's archive), which the program destroys after this file's
// statics. So the lock and the mount table below are made on first use and
// never destroyed: a File_System closed during exit still finds them.
std::mutex& physfs_mutex() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
int physfs_users = 0;
std::atomic<int> next_mount{0};

std::string physfs_error() {
    const char* e = PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
    return e ? e : "unknown error";
}

std::string clean_name(const std::string& name) {
    std::string n = name;
    for (char& c : n)
        if (c == '\\') c = '/';
    while (n.rfind("./", 0) == 0) n.erase(0, 2);
    while (!n.empty() && n[0] == '/') n.erase(0, 1);
    return n;
}

class Physfs_Device : public IO_Device {
public:
    Physfs_Device(PHYSFS_File* file, std::string name, std::shared_ptr<void> keep_mount)
        : IO_Device(std::move(name)), file_(file), keep_mount_(std::move(keep_mount)) {}
    ~Physfs_Device() override { PHYSFS_close(file_); }

    size_t read(void* data, size_t size) override {
        PHYSFS_sint64 n = PHYSFS_readBytes(file_, data, size);
        return n < 0 ? 0 : static_cast<size_t>(n);
    }
    bool seek(int64_t position, Seek_Mode mode) override {
        int64_t base = mode == Seek_Mode::set ? 0 : mode == Seek_Mode::cur ? get_position() : get_size();
        int64_t p = base + position;
        if (p < 0 || p > get_size()) return false;
        return PHYSFS_seek(file_, static_cast<PHYSFS_uint64>(p)) != 0;
    }
    int64_t get_size() const override { return PHYSFS_fileLength(file_); }
    int64_t get_position() const override { return PHYSFS_tell(file_); }

private:
    PHYSFS_File* file_;
    std::shared_ptr<void> keep_mount_;
};

}  // namespace

struct File_System::Impl {
    std::string path;
    std::string mount_point;

    ~Impl();
};

namespace {

// PhysFS mounts one archive path once: mounting it again does nothing and unmounting it
// removes it for everyone. So every File_System open on a path shares one mount, kept here
// (guarded by physfs_mutex) by the mount that owns it.
struct Shared_Mount {
    const void* owner;  // the File_System::Impl that unmounts it
    std::weak_ptr<void> handle;
    std::string mount_point;
};
std::map<std::string, Shared_Mount>& mounts_by_path() {
    static auto* mounts = new std::map<std::string, Shared_Mount>;
    return *mounts;
}

// PhysicsFS's own memory (its directory of the archive, its inflate buffers,
// the target of a link entry) comes from here. A request larger than any
// entry the game may read is refused, so a damaged archive that claims an
// entry of gigabytes fails with "out of memory" instead of being served.
constexpr PHYSFS_uint64 physfs_largest_request = PHYSFS_uint64{128} << 20;

void* physfs_malloc(PHYSFS_uint64 bytes) {
    return bytes > physfs_largest_request ? nullptr : std::malloc(static_cast<size_t>(bytes));
}

void* physfs_realloc(void* block, PHYSFS_uint64 bytes) {
    return bytes > physfs_largest_request ? nullptr
                                          : std::realloc(block, static_cast<size_t>(bytes));
}

void physfs_free(void* block) { std::free(block); }

bool start_physfs() {
    static const PHYSFS_Allocator bounded{nullptr, nullptr, physfs_malloc, physfs_realloc,
                                          physfs_free};
    return PHYSFS_setAllocator(&bounded) && PHYSFS_init(nullptr);
}

}  // namespace

File_System::Impl::~Impl() {
    std::lock_guard lock(physfs_mutex());
    auto it = mounts_by_path().find(path);
    // A mount handed over to a newer File_System while this one was going stays mounted.
    if (it != mounts_by_path().end() && it->second.owner == this) {
        PHYSFS_unmount(path.c_str());
        mounts_by_path().erase(it);
    }
    if (--physfs_users == 0) PHYSFS_deinit();
}

File_System::File_System(const std::string& archive_or_folder) {
    std::lock_guard lock(physfs_mutex());
    auto shared = mounts_by_path().find(archive_or_folder);
    if (shared != mounts_by_path().end()) {
        if (auto live = shared->second.handle.lock()) {
            impl_ = std::static_pointer_cast<Impl>(live);
            return;
        }
        // Its last handle is going right now: take the mount over before it unmounts.
        auto impl = std::make_shared<Impl>();
        impl->path = archive_or_folder;
        impl->mount_point = shared->second.mount_point;
        shared->second = {impl.get(), impl, impl->mount_point};
        ++physfs_users;
        impl_ = std::move(impl);
        return;
    }
    if (physfs_users == 0 && !PHYSFS_isInit()) {
        if (!start_physfs())
            throw Exception("Unable to start the archive file system: " + physfs_error());
    }
    std::string mount = "/m" + std::to_string(next_mount++);
    if (!PHYSFS_mount(archive_or_folder.c_str(), mount.c_str(), 1)) {
        std::string why = physfs_error();
        if (physfs_users == 0) PHYSFS_deinit();
        throw Exception("Unable to open archive: " + archive_or_folder + " (" + why + ")");
    }
    ++physfs_users;
    auto impl = std::make_shared<Impl>();
    impl->path = archive_or_folder;
    impl->mount_point = mount;
    mounts_by_path()[archive_or_folder] = {impl.get(), impl, mount};
    impl_ = std::move(impl);
}

int64_t max_entry_size(Entry_Kind kind) {
    constexpr int64_t mib = int64_t{1} << 20;
    switch (kind) {
    case Entry_Kind::document: return 4 * mib;
    case Entry_Kind::picture: return 16 * mib;
    case Entry_Kind::sound: return 4 * mib;
    case Entry_Kind::track: return 64 * mib;
    case Entry_Kind::font: return 32 * mib;
    }
    return 0;
}

const char* entry_kind_name(Entry_Kind kind) {
    switch (kind) {
    case Entry_Kind::document: return "document";
    case Entry_Kind::picture: return "picture";
    case Entry_Kind::sound: return "sound";
    case Entry_Kind::track: return "track";
    case Entry_Kind::font: return "font";
    }
    return "file";
}

std::unique_ptr<IO_Device> File_System::open_file(const std::string& name, Entry_Kind kind) const {
    if (!impl_) throw Exception("Unable to open file: " + name + " (no file system)");
    std::string full = impl_->mount_point + "/" + clean_name(name);
    PHYSFS_File* f = PHYSFS_openRead(full.c_str());
    if (!f) throw Exception("Unable to open file: " + name);
    auto device = std::make_unique<Physfs_Device>(f, name, impl_);
    // The size a zip entry states is what reading it can give at most.
    int64_t size = device->get_size();
    int64_t bound = max_entry_size(kind);
    if (size < 0)
        throw Exception(name + " is of unknown size, and a " + entry_kind_name(kind) +
                        " may be at most " + std::to_string(bound) + " bytes");
    if (size > bound)
        throw Exception(name + " is " + std::to_string(size) + " bytes, more than the " +
                        std::to_string(bound) + " a " + entry_kind_name(kind) + " may be");
    return device;
}

bool File_System::has_file(const std::string& name) const {
    if (!impl_) return false;
    std::string full = impl_->mount_point + "/" + clean_name(name);
    PHYSFS_Stat st;
    return PHYSFS_stat(full.c_str(), &st) && st.filetype == PHYSFS_FILETYPE_REGULAR;
}

std::vector<uint8_t> File_System::read_file(const std::string& name, Entry_Kind kind) const {
    return open_file(name, kind)->read_all();
}

const std::string& File_System::get_path() const {
    static const std::string none;
    return impl_ ? impl_->path : none;
}

}  // namespace sdk
