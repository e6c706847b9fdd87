// A fresh empty working directory for one test: settings, replays and
// screenshots are written relative to the working directory, so each test
// that touches them runs in its own folder, removed afterwards.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class Scratch_Dir {
public:
    Scratch_Dir() {
        old_ = std::filesystem::current_path();
        std::string tmpl = (std::filesystem::temp_directory_path() / "mirel_app_XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        path_ = mkdtemp(buf.data());
        std::filesystem::current_path(path_);
    }
    ~Scratch_Dir() {
        std::filesystem::current_path(old_);
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

    static std::vector<uint8_t> read(const std::string& name) {
        std::ifstream f(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    static void write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream f(name, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path old_;
    std::filesystem::path path_;
};
