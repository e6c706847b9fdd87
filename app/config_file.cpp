#include "app/config_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "app/display_rules.h"
#include "sdk/core/exception.h"
#include "sdk/core/local_file.h"
#include "world/geometry.h"
#include "world/settings.h"

namespace {

// The range of a window side: the resize rule never gives less than the
// logical picture; more than this no display shows.
constexpr int min_window_width = 640;
constexpr int min_window_height = 480;
constexpr int max_window_side = 16384;

void put_u8(Config_Bytes& b, size_t at, int32_t v) { b[at] = static_cast<uint8_t>(v & 0xff); }

void put_u32(Config_Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xff);
}

uint32_t get_u32(const Config_Bytes& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
    return v;
}

int32_t get_i8(const Config_Bytes& b, size_t at) { return static_cast<int8_t>(b[at]); }

}  // namespace

Config_Bytes encode_config() {
    Config_Bytes b{};
    put_u32(b, 0, static_cast<uint32_t>(game_version));
    put_u8(b, 4, fullscreen ? 1 : 0);
    put_u32(b, 5, static_cast<uint32_t>(config_window_size.width));
    put_u32(b, 9, static_cast<uint32_t>(config_window_size.height));
    put_u32(b, 13, hi_score);
    put_u8(b, 17, start_lives);
    put_u8(b, 18, spare_flag ? 1 : 0);
    put_u8(b, 19, sound_volume_pct);
    put_u8(b, 20, music_volume_pct);
    uint32_t dz;
    std::memcpy(&dz, &dead_zone, 4);
    put_u32(b, 21, dz);
    put_u8(b, 25, button_shoot);
    put_u8(b, 26, button_bomb);
    put_u8(b, 27, button_focus);
    put_u8(b, 28, button_special);
    put_u8(b, 29, button_pause);
    put_u8(b, 30, button_spare);
    put_u8(b, 31, special_focuses);
    put_u8(b, 32, language);
    return b;
}

void decode_config(const Config_Bytes& b) {
    fullscreen = b[4] != 0 ? 1 : 0;
    int32_t w = static_cast<int32_t>(get_u32(b, 5));
    int32_t h = static_cast<int32_t>(get_u32(b, 9));
    config_window_size = {std::clamp(w, min_window_width, max_window_side),
                          std::clamp(h, min_window_height, max_window_side)};
    hi_score = get_u32(b, 13);
    start_lives = std::clamp(get_i8(b, 17), 1, 5);
    spare_flag = b[18] != 0 ? 1 : 0;
    sound_volume_pct = std::clamp(get_i8(b, 19), 0, 100);
    music_volume_pct = std::clamp(get_i8(b, 20), 0, 100);
    uint32_t dz = get_u32(b, 21);
    float zone;
    std::memcpy(&zone, &dz, 4);
    // NaN fails every comparison, so it is caught before the clamp.
    dead_zone = std::isfinite(zone) ? std::clamp(zone, 0.01f, 1.0f) : 0.5f;
    button_shoot = get_i8(b, 25);
    button_bomb = get_i8(b, 26);
    button_focus = get_i8(b, 27);
    button_special = get_i8(b, 28);
    button_pause = get_i8(b, 29);
    button_spare = get_i8(b, 30);
    special_focuses = std::clamp(get_i8(b, 31), 0, 1);
    language = b[32] == 1 ? 1 : 0;
    recompute_volumes();
}

namespace {

// The file's bytes when it holds this version's settings. A file that is
// there but cannot be read (another user's file, say) is not damaged: it may
// hold someone's best score, so the game starts from the defaults, says so
// on stderr and from then on saves nothing over it.
std::optional<Config_Bytes> read_config_file() {
    if (!sdk::local_file_exists(config_file_name)) return std::nullopt;
    Config_Bytes bytes{};
    try {
        auto file = sdk::open_local_file(config_file_name);
        if (file->get_size() != static_cast<int64_t>(config_file_bytes)) return std::nullopt;
        if (file->read(bytes.data(), bytes.size()) != bytes.size())
            throw sdk::Exception("Unable to read file: " + config_file_name);
    } catch (const sdk::Exception& e) {
        if (!config_file_unreadable)
            std::fprintf(stderr,
                         "%s; the settings start from the defaults and are not saved over it\n",
                         e.what());
        config_file_unreadable = true;
        return std::nullopt;
    }
    if (static_cast<int32_t>(get_u32(bytes, 0)) != game_version) return std::nullopt;
    return bytes;
}

}  // namespace

bool config_valid() { return read_config_file().has_value(); }

void load_config() {
    std::optional<Config_Bytes> bytes = read_config_file();
    if (!bytes) return;
    decode_config(*bytes);
    saved_hi_score = hi_score;
}

void save_config() {
    recompute_volumes();
    if (config_file_unreadable) return;
    Config_Bytes bytes = encode_config();
    try {
        sdk::save_file_safely(config_file_name, bytes.data(), bytes.size());
        saved_hi_score = hi_score;
    } catch (const sdk::Exception& e) {
        sdk::report_failed_save(e.what());
    }
}

bool hi_score_unsaved() { return hi_score > saved_hi_score; }

void reset_config_defaults() {
    fullscreen = 0;
    config_window_size = {static_cast<int>(static_cast<float>(screen_size.width) + 0.5f),
                          static_cast<int>(static_cast<float>(screen_size.height) + 0.5f)};
    window_size = config_window_size;
    hi_score = 9999;
    start_lives = 3;
    spare_flag = 1;
    sound_volume_pct = 80;
    music_volume_pct = 90;
    dead_zone = 0.5f;
    button_shoot = 1;
    button_bomb = 0;
    button_focus = 5;
    button_special = 3;
    button_pause = 7;
    button_spare = 2;
    special_focuses = 0;
    language = 0;
    save_config();
    recompute_volumes();
}
