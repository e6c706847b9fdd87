// The replay file as the main menu's replay entry reads it: a file that is
// short, foreign or counts more records than it holds is refused and changes
// nothing; a file that is taken plays exactly its records and saves back to
// the same records.
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "app/replay.h"
#include "fuzz_support.h"
#include "sdk/core/local_file.h"
#include "world/settings.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool same(const Replay_Frame& a, const Replay_Frame& b) {
    return std::memcmp(&a.dt, &b.dt, 4) == 0 && std::memcmp(&a.x, &b.x, 4) == 0 &&
           std::memcmp(&a.y, &b.y, 4) == 0 && std::memcmp(&a.angle, &b.angle, 4) == 0 && a.focus == b.focus &&
           a.shoot == b.shoot && a.special == b.special && a.bomb == b.bomb && a.advance == b.advance;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    fuzz::enter_scratch_folder("replay");
    sdk::Directory::create("replay");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Replay kept;  // reserves its room once, as the game's does
    std::ofstream(Replay::file_name("mirel"), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    game_version = 91;
    language = 0;
    replay_option_a = 7;
    kept.clear();
    Replay_Frame marker;
    marker.x = 12345;
    kept.record_frame(marker);

    if (!kept.load("mirel")) {
        check(kept.replay_frames.size() == 1 && kept.replay_frames[0].x == 12345);
        check(language == 0 && replay_option_a == 7);
        return 0;
    }
    size_t n = kept.replay_frames.size();
    check(replay_header_bytes + replay_record_bytes * n <= size);
    check(language == 0 || language == 1);

    kept.rewind();
    size_t played = 0;
    Replay_Frame start;
    do {
        kept.current_frame(start);
        ++played;
    } while (kept.advance());
    check(played == (n == 0 ? 1 : n));

    std::vector<uint8_t> again = kept.encode();
    static Replay copy;
    check(copy.decode(again));
    check(copy.replay_frames.size() == kept.replay_frames.size());
    for (size_t k = 0; k < copy.replay_frames.size(); ++k) check(same(copy.replay_frames[k], kept.replay_frames[k]));
    return 0;
}
