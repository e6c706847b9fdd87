#include "audio/archive_file_bridge.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "sdk/core/log.h"

FileFactory::FileFactory(sdk::File_System file_system) : file_system_(std::move(file_system)) {}

sdk::File_Reader* FileFactory::create_file_reader(const char* name) {
    if (!name || std::strlen(name) > k_ReadFile::max_name_length) return nullptr;
    std::unique_ptr<sdk::IO_Device> device;
    try {
        // The archive throws for a name it does not hold and for a file
        // larger than a track may be; the engine only understands null.
        device = file_system_.open_file(name, sdk::Entry_Kind::track);
    } catch (const std::exception& e) {
        sdk::log_event("SYSTEM", "The music engine cannot open %1: %2", name, e.what());
        return nullptr;
    }
    if (!device) return nullptr;
    return new k_ReadFile(std::move(device), name);
}

k_ReadFile::k_ReadFile(std::unique_ptr<sdk::IO_Device> device, const char* file_name)
    : device_(std::move(device)) {
    size_t length = file_name ? std::min(std::strlen(file_name), max_name_length) : 0;
    std::memcpy(name, file_name ? file_name : "", length);
    name[length] = '\0';
}

int32_t k_ReadFile::read(void* buffer, int32_t size) {
    if (!device_ || size < 0) return -1;
    auto* out = static_cast<uint8_t*>(buffer);
    size_t total = 0;
    try {
        // A device may answer less than asked before its end: read on until
        // the whole amount is there or nothing more comes.
        while (total < static_cast<size_t>(size)) {
            size_t got = device_->read(out + total, static_cast<size_t>(size) - total);
            if (got == 0) break;
            total += got;
        }
    } catch (const std::exception&) {
        return total > 0 ? static_cast<int32_t>(total) : -1;
    }
    return static_cast<int32_t>(total);
}

bool k_ReadFile::seek(int32_t position, bool relative) {
    if (!device_) return false;
    try {
        return device_->seek(position, relative ? sdk::Seek_Mode::cur : sdk::Seek_Mode::set);
    } catch (const std::exception&) {
        return false;
    }
}

int32_t k_ReadFile::get_size() {
    if (!device_) return -1;
    int64_t size = device_->get_size();
    return size < 0 || size > INT32_MAX ? -1 : static_cast<int32_t>(size);
}

int32_t k_ReadFile::get_pos() {
    if (!device_) return -1;
    int64_t pos = device_->get_position();
    return pos < 0 || pos > INT32_MAX ? -1 : static_cast<int32_t>(pos);
}
