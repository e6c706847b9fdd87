#include "app/replay.h"

#include <cmath>
#include <cstring>

#include "sdk/core/exception.h"
#include "sdk/core/local_file.h"
#include "sdk/core/log.h"
#include "world/settings.h"

namespace {

const std::string replay_folder = "replay";

void put_bytes(std::vector<uint8_t>& out, uint64_t v, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xff));
}

void put_float(std::vector<uint8_t>& out, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    put_bytes(out, v, 4);
}

uint64_t get_bytes(const uint8_t* p, int count) {
    uint64_t v = 0;
    for (int i = 0; i < count; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return v;
}

float get_float(const uint8_t* p) {
    uint32_t v = static_cast<uint32_t>(get_bytes(p, 4));
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

}  // namespace

void Replay::record_frame(const Replay_Frame& frame) {
    Replay_Frame f = frame;
    f.advance = replay_advance_flag;
    replay_frames.push_back(f);
    replay_advance_flag = 0;
}

void Replay::clear() {
    replay_frames.clear();
    replay_advance_flag = 0;
}

void Replay::start_recording() {
    clear();
    replay_option_a = start_lives;
}

int32_t replay_start_lives() {
    return replay_option_a >= 1 && replay_option_a <= 5 ? replay_option_a : start_lives;
}

Replay_Frame Replay::current_frame(const Replay_Frame& start_state) {
    if (replay_frames.empty()) {
        Replay_Frame f = start_state;
        f.dt = 0.0f;
        record_frame(f);
    }
    return replay_frames[replay_cursor];
}

bool Replay::advance() {
    if (replay_cursor + 1 < replay_frames.size()) {
        ++replay_cursor;
        return true;
    }
    return false;
}

std::string Replay::file_name(const std::string& name) {
    return replay_folder + "/" + name + ".rpy";
}

std::vector<uint8_t> Replay::encode() const {
    std::vector<uint8_t> out;
    out.reserve(replay_header_bytes + replay_record_bytes * replay_frames.size());
    put_bytes(out, static_cast<uint32_t>(game_version), 4);
    put_bytes(out, static_cast<uint8_t>(replay_option_a), 1);
    put_bytes(out, static_cast<uint8_t>(language), 1);
    put_bytes(out, static_cast<uint8_t>(replay_option_b), 1);
    put_bytes(out, replay_frames.size(), 8);
    for (const Replay_Frame& f : replay_frames) {
        put_float(out, f.dt);
        put_float(out, f.x);
        put_float(out, f.y);
        put_float(out, f.angle);
        uint8_t flags =
            static_cast<uint8_t>((f.focus ? 1 : 0) | (f.shoot ? 2 : 0) | (f.bomb ? 4 : 0) |
                                 (f.special ? 8 : 0) | (f.advance ? 16 : 0));
        out.push_back(flags);
    }
    return out;
}

std::string Replay::refusal(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < replay_header_bytes)
        return "the file is " + std::to_string(bytes.size()) + " bytes, shorter than its header";
    uint32_t version = static_cast<uint32_t>(get_bytes(bytes.data(), 4));
    if (version != static_cast<uint32_t>(game_version))
        return "version " + std::to_string(version) + ", this game reads version " +
               std::to_string(game_version);
    uint64_t count = get_bytes(bytes.data() + 7, 8);
    // Checked by division so that no count, however large, overflows. Bytes
    // after the last record (a longer file written in place before) are not
    // read, as the count governs reading.
    uint64_t body = bytes.size() - replay_header_bytes;
    if (body / replay_record_bytes < count)
        return "it counts " + std::to_string(count) + " frames but holds " +
               std::to_string(body / replay_record_bytes);
    // A record with a number that is not finite, or a step longer than any
    // frame, was never recorded: such a step would overflow the world's
    // counters of whole milliseconds.
    const uint8_t* r = bytes.data() + replay_header_bytes;
    for (uint64_t k = 0; k < count; ++k, r += replay_record_bytes) {
        float dt = get_float(r);
        if (!(std::fabs(dt) <= longest_frame_step))
            return "frame " + std::to_string(k) + " has a step of " + sdk::float_to_text(dt) +
                   " ms";
        if (!std::isfinite(get_float(r + 4)) || !std::isfinite(get_float(r + 8)) ||
            !std::isfinite(get_float(r + 12)))
            return "frame " + std::to_string(k) + " holds a number that is not finite";
    }
    return {};
}

bool Replay::decode(const std::vector<uint8_t>& bytes) {
    if (!refusal(bytes).empty()) return false;
    const uint8_t* p = bytes.data();
    uint64_t count = get_bytes(p + 7, 8);

    std::vector<Replay_Frame> frames;
    frames.reserve(static_cast<size_t>(count));
    const uint8_t* r = p + replay_header_bytes;
    for (uint64_t k = 0; k < count; ++k, r += replay_record_bytes) {
        Replay_Frame f;
        f.dt = get_float(r);
        f.x = get_float(r + 4);
        f.y = get_float(r + 8);
        f.angle = get_float(r + 12);
        uint8_t flags = r[16];
        f.focus = flags & 1;
        f.shoot = (flags >> 1) & 1;
        f.bomb = (flags >> 2) & 1;
        f.special = (flags >> 3) & 1;
        f.advance = (flags >> 4) & 1;
        frames.push_back(f);
    }
    replay_option_a = static_cast<int8_t>(p[4]);
    language = p[5] == 1 ? 1 : 0;
    replay_option_b = static_cast<int8_t>(p[6]);
    replay_frames = std::move(frames);
    replay_cursor = 0;
    return true;
}

void Replay::save(const std::string& name) const {
    try {
        sdk::Directory::make(replay_folder);
        sdk::save_file_safely(file_name(name), encode());
    } catch (const sdk::Exception& e) {
        sdk::report_failed_save(e.what());
    }
}

bool Replay::load(const std::string& name) {
    std::string path = file_name(name);
    if (!sdk::local_file_exists(path)) {
        sdk::log_event("SYSTEM", "Replay %1 not loaded: there is no such file", path);
        return false;
    }
    std::vector<uint8_t> bytes;
    try {
        bytes = sdk::open_local_file(path)->read_all();
    } catch (const sdk::Exception& e) {
        sdk::log_event("SYSTEM", "Replay %1 not loaded: %2", path, e.what());
        return false;
    }
    std::string why = refusal(bytes);
    if (!why.empty()) {
        sdk::log_event("SYSTEM", "Replay %1 not loaded: %2", path, why);
        return false;
    }
    return decode(bytes);
}
