// "levels.xml" as a run start reads it: every level of the document is
// loaded and, when it loads, played for a stretch with the real patterns,
// spell cards and player, so its events, enemies, bosses and phases run.
#include "fuzz_stage.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    fuzz::install_presentation();
    load_patterns(fuzz::stage_document("patterns.xml"));
    player.load(fuzz::stage_document("player.xml"), "player_kio");
    level_requires_appearances = true;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sdk::Resource_Document doc;
    try {
        doc = fuzz::document(data, size, "levels.xml");
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    sdk::Resource_Manager levels(doc);
    for (const std::string& name : doc.get_resource_names_of_type("level")) {
        try {
            fuzz::play_level(levels, name, 900);
        } catch (const sdk::Exception& e) {
            fuzz::rejected(e);
            fuzz::end_run();
        }
    }
    return 0;
}
