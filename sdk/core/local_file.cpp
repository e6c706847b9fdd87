#include "sdk/core/local_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "sdk/core/exception.h"

namespace sdk {

std::string local_path(const std::string& name) {
    std::string p = name;
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

namespace {

class Local_Read_Device : public IO_Device {
public:
    Local_Read_Device(std::FILE* f, std::string name) : IO_Device(std::move(name)), file_(f) {
        std::fseek(file_, 0, SEEK_END);
        size_ = std::ftell(file_);
        std::fseek(file_, 0, SEEK_SET);
    }
    ~Local_Read_Device() override { std::fclose(file_); }

    size_t read(void* data, size_t size) override { return std::fread(data, 1, size, file_); }
    bool seek(int64_t position, Seek_Mode mode) override {
        int64_t base = mode == Seek_Mode::set ? 0 : mode == Seek_Mode::cur ? get_position() : size_;
        int64_t p = base + position;
        if (p < 0 || p > size_) return false;
        return std::fseek(file_, static_cast<long>(p), SEEK_SET) == 0;
    }
    int64_t get_size() const override { return size_; }
    int64_t get_position() const override { return std::ftell(file_); }

private:
    std::FILE* file_;
    int64_t size_ = 0;
};

// Whether a process with the id in these digits may still run, its save of
// the file under way. An id that no process can have (0, or longer than any
// id the kernel hands out) answers false; any doubt answers true: a running
// process that is not the saver (the id reused) or another user's process
// keeps its file, which the next save after it ends removes.
bool saver_may_run(const std::string& digits) {
    if (digits.size() > 9) return false;
    long id = std::stol(digits);
    if (id <= 0) return false;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno != ESRCH;
}

// Removes "<target>.tmp<pid>" beside the target when no process <pid> runs:
// what a save killed between writing its temporary file and renaming it left
// behind. Another copy of the game saving the same file meanwhile keeps its
// temporary file.
void remove_leftover_temporaries(const std::string& target) {
    std::filesystem::path path(target);
    std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const std::string prefix = path.filename().string() + ".tmp";
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
        if (saver_may_run(name.substr(prefix.size()))) continue;
        ::unlink(entry.path().c_str());
    }
}

}  // namespace

std::unique_ptr<IO_Device> open_local_file(const std::string& name) {
    std::string p = local_path(name);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw Exception("Unable to open file: " + name);
    std::FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) throw Exception("Unable to open file: " + name + " (" + std::strerror(errno) + ")");
    return std::make_unique<Local_Read_Device>(f, name);
}

bool local_file_exists(const std::string& name) {
    struct stat st;
    return ::stat(local_path(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int64_t local_file_size(const std::string& name) {
    struct stat st;
    if (::stat(local_path(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<int64_t>(st.st_size);
}

void save_file_safely(const std::string& name, const void* data, size_t size) {
    std::string target = local_path(name);
    std::string temp = target + ".tmp" + std::to_string(::getpid());
    auto fail = [&](const std::string& why) {
        ::unlink(temp.c_str());
        throw Exception("Unable to save file: " + name + " (" + why + ")");
    };
    remove_leftover_temporaries(target);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw Exception("Unable to save file: " + name + " (" + std::strerror(errno) + ")");
    const auto* p = static_cast<const uint8_t*>(data);
    size_t left = size;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            std::string why = std::strerror(errno);
            ::close(fd);
            fail(why);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) {
        std::string why = std::strerror(errno);
        ::close(fd);
        fail(why);
    }
    if (::close(fd) != 0) fail(std::strerror(errno));
    if (::rename(temp.c_str(), target.c_str()) != 0) fail(std::strerror(errno));
}

void save_file_safely(const std::string& name, const std::vector<uint8_t>& bytes) {
    save_file_safely(name, bytes.data(), bytes.size());
}

void report_failed_save(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
}

Local_File_Writer::Local_File_Writer(std::string name) : Memory_Device({}, std::move(name)) {}

void Local_File_Writer::commit() { save_file_safely(get_name(), bytes()); }

namespace Directory {

namespace {

// 0 when the folder is there afterwards, else the errno that says why not.
int make_folder(const std::string& path) {
    if (::mkdir(local_path(path).c_str(), 0755) == 0) return 0;
    int why = errno;
    return exists(path) ? 0 : why;
}

}  // namespace

bool create(const std::string& path) { return make_folder(path) == 0; }

void make(const std::string& path) {
    if (int why = make_folder(path))
        throw Exception("Unable to make folder: " + path + " (" + std::strerror(why) + ")");
}

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(local_path(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool scan(const std::string& path, std::vector<std::string>& names, std::string* why) {
    names.clear();
    std::error_code ec;
    std::filesystem::directory_iterator it(local_path(path), ec);
    if (ec) {
        if (why) *why = ec.message();
        return false;
    }
    for (const auto& entry : it) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return true;
}

}  // namespace Directory

}  // namespace sdk
