// "config.dat" as start-up reads it: whatever the file holds, loading either
// leaves the settings alone (a file of another size or version) or brings
// every value into the range the menus produce, and saving what was loaded
// gives back a file that loads to the same values.
#include <cstdlib>
#include <fstream>

#include "app/config_file.h"
#include "fuzz_support.h"
#include "world/settings.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    fuzz::enter_scratch_folder("config");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::ofstream(config_file_name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    game_version = 91;
    hi_score = 1234;
    bool valid = config_valid();
    load_config();
    if (!valid) {
        check(hi_score == 1234);
        return 0;
    }
    check(start_lives >= 1 && start_lives <= 5);
    check(sound_volume_pct >= 0 && sound_volume_pct <= 100);
    check(music_volume_pct >= 0 && music_volume_pct <= 100);
    check(dead_zone >= 0.01f && dead_zone <= 1.0f);
    check(fullscreen <= 1 && spare_flag <= 1);
    check(special_focuses >= 0 && special_focuses <= 1);
    check(language >= 0 && language <= 1);
    check(config_window_size.width >= 640 && config_window_size.height >= 480);
    check(sound_volume == static_cast<float>(sound_volume_pct) / 100.0f);
    Config_Bytes once = encode_config();
    decode_config(once);
    check(encode_config() == once);
    return 0;
}
