// A readable, seekable and (for disk files) writable stream of bytes: a file
// in the resource archive, a file on disk or a block of memory. Typed reads
// and writes are little-endian, field by field, as the program's own files are
// laid out. A short read or a failed write throws sdk::Exception naming the
// stream, so a truncated file never yields half-filled values silently.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sdk {

enum class Seek_Mode { set, cur, end };

class IO_Device {
public:
    virtual ~IO_Device() = default;

    // Reads up to `size` bytes; answers how many were read (0 at the end).
    virtual size_t read(void* data, size_t size) = 0;
    // Writes all bytes or throws.
    virtual void write(const void* data, size_t size);
    // Answers false when the position would leave the stream.
    virtual bool seek(int64_t position, Seek_Mode mode) = 0;
    virtual int64_t get_size() const = 0;
    virtual int64_t get_position() const = 0;
    // The name the stream was opened with, for messages.
    const std::string& get_name() const { return name_; }

    // Everything from the current position to the end.
    std::vector<uint8_t> read_all();

    int8_t read_int8();
    uint8_t read_uint8();
    int32_t read_int32();
    uint32_t read_uint32();
    uint64_t read_uint64();
    int64_t read_int64();
    float read_float();
    void write_int8(int8_t v);
    void write_uint8(uint8_t v);
    void write_int32(int32_t v);
    void write_uint32(uint32_t v);
    void write_uint64(uint64_t v);
    void write_int64(int64_t v);
    void write_float(float v);

protected:
    explicit IO_Device(std::string name) : name_(std::move(name)) {}
    // Reads exactly `size` bytes or throws "Unexpected end of file: <name>".
    void read_exact(void* data, size_t size);

private:
    std::string name_;
};

// A stream over bytes held in memory; writes append at the position.
class Memory_Device : public IO_Device {
public:
    explicit Memory_Device(std::vector<uint8_t> bytes = {}, std::string name = "memory");

    size_t read(void* data, size_t size) override;
    void write(const void* data, size_t size) override;
    bool seek(int64_t position, Seek_Mode mode) override;
    int64_t get_size() const override { return static_cast<int64_t>(bytes_.size()); }
    int64_t get_position() const override { return position_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    int64_t position_ = 0;
};

}  // namespace sdk
