#include "sdk/core/io_device.h"

#include <algorithm>
#include <cstring>

#include "sdk/core/exception.h"

namespace sdk {

void IO_Device::write(const void*, size_t) {
    throw Exception("Stream is not writable: " + name_);
}

void IO_Device::read_exact(void* data, size_t size) {
    if (read(data, size) != size) throw Exception("Unexpected end of file: " + name_);
}

// The size a device states (a zip entry's header) is not trusted with memory:
// the bytes are read in steps of at most 1 MiB and the buffer grows only with
// what really arrives.
std::vector<uint8_t> IO_Device::read_all() {
    constexpr int64_t step = int64_t{1} << 20;
    int64_t left = get_size() - get_position();
    std::vector<uint8_t> bytes;
    while (left > 0) {
        size_t want = static_cast<size_t>(std::min(left, step));
        size_t old = bytes.size();
        bytes.resize(old + want);
        size_t got = read(bytes.data() + old, want);
        bytes.resize(old + got);
        if (got < want) break;
        left -= static_cast<int64_t>(got);
    }
    return bytes;
}

uint8_t IO_Device::read_uint8() {
    uint8_t v;
    read_exact(&v, 1);
    return v;
}

uint32_t IO_Device::read_uint32() {
    uint8_t b[4];
    read_exact(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

int32_t IO_Device::read_int32() { return static_cast<int32_t>(read_uint32()); }

int8_t IO_Device::read_int8() { return static_cast<int8_t>(read_uint8()); }

uint64_t IO_Device::read_uint64() {
    uint8_t b[8];
    read_exact(b, 8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
    return v;
}

int64_t IO_Device::read_int64() { return static_cast<int64_t>(read_uint64()); }

float IO_Device::read_float() {
    uint32_t bits = read_uint32();
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

void IO_Device::write_uint8(uint8_t v) { write(&v, 1); }

void IO_Device::write_uint32(uint32_t v) {
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                    static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    write(b, 4);
}

void IO_Device::write_int32(int32_t v) { write_uint32(static_cast<uint32_t>(v)); }

void IO_Device::write_int8(int8_t v) { write_uint8(static_cast<uint8_t>(v)); }

void IO_Device::write_uint64(uint64_t v) {
    uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
    write(b, 8);
}

void IO_Device::write_int64(int64_t v) { write_uint64(static_cast<uint64_t>(v)); }

void IO_Device::write_float(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    write_uint32(bits);
}

Memory_Device::Memory_Device(std::vector<uint8_t> bytes, std::string name)
    : IO_Device(std::move(name)), bytes_(std::move(bytes)) {}

size_t Memory_Device::read(void* data, size_t size) {
    int64_t left = get_size() - position_;
    size_t n = left <= 0 ? 0 : std::min(size, static_cast<size_t>(left));
    if (n) std::memcpy(data, bytes_.data() + position_, n);
    position_ += static_cast<int64_t>(n);
    return n;
}

void Memory_Device::write(const void* data, size_t size) {
    size_t end = static_cast<size_t>(position_) + size;
    if (end > bytes_.size()) bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, data, size);
    position_ = static_cast<int64_t>(end);
}

bool Memory_Device::seek(int64_t position, Seek_Mode mode) {
    int64_t base = mode == Seek_Mode::set ? 0 : mode == Seek_Mode::cur ? position_ : get_size();
    int64_t p = base + position;
    if (p < 0 || p > get_size()) return false;
    position_ = p;
    return true;
}

}  // namespace sdk
