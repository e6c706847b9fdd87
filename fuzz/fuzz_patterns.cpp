// "patterns.xml" as start-up reads it: bullet types, pattern descriptors and
// spell cards. A document that loads is then used by a stretch of the stage
// whose enemies fire every pattern family the stage uses.
#include "fuzz_stage.h"

namespace {
constexpr int frames = 600;
sdk::Resource_Manager levels;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    fuzz::install_presentation();
    levels = fuzz::pattern_showcase(frames);
    player.load(fuzz::stage_document("player.xml"), "player_kio");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        load_patterns(sdk::Resource_Manager(fuzz::document(data, size, "patterns.xml")));
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    try {
        fuzz::play_level(levels, "testlevel", frames);
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        // A level that names a pattern or a card this document lacks.
        fuzz::end_run();
    }
    return 0;
}
