// "player.xml" as start-up reads it: the tuning values of "player_kio" and
// the player's four sprites; a player that loads then flies, shoots, focuses,
// bombs and blows the wind through a stretch of the stage.
#include "fuzz_stage.h"
#include "render/player_sprites.h"

namespace {
constexpr int frames = 400;
sdk::Resource_Manager levels;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    fuzz::install_presentation();
    load_patterns(fuzz::stage_document("patterns.xml"));
    levels = fuzz::reachable_levels(frames);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        sdk::Resource_Manager doc(fuzz::document(data, size, "player.xml"));
        player.load(doc, "player_kio");
        load_player_sprites(fuzz::canvas(), doc);
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    try {
        fuzz::play_level(levels, "testlevel", frames);
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        fuzz::end_run();
    }
    return 0;
}
