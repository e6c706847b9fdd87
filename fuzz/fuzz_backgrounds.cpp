// The stage backgrounds as a run start reads them out of "mirel.xml": every
// "background" resource of the document is loaded into its layers and
// particle spawners, warmed as the shell warms it, faded, blown and drawn
// as it goes.
#include "fuzz_support.h"
#include "render/background.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    preload_sprites(fuzz::canvas(), sdk::Resource_Manager(fuzz::archive_document("sprites.xml")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sdk::Canvas& canvas = fuzz::canvas();
    sdk::Resource_Document doc;
    try {
        doc = fuzz::document(data, size, "mirel.xml");
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    sdk::Resource_Manager resources(doc);
    // One background object loads every background of the document in turn,
    // as the game's are loaded again at every run start. It lives for one
    // input only, so an input runs the same however many came before.
    Background background;
    fuzz::same_random_start();
    for (const std::string& id : doc.get_resource_names_of_type("background")) {
        try {
            background.load(canvas, id, resources, {32, 16, 416, 464});
        } catch (const sdk::Exception& e) {
            fuzz::rejected(e);
            continue;
        }
        // Drawn every few frames: a leaf, cloud or tree is drawn only while
        // it is inside the field, and where it spawns is drawn at random.
        for (int k = 0; k < 20; ++k) background.update(1000.0f);
        for (int k = 0; k < 60; ++k) {
            background.update(17.0f);
            if (k % 6 == 0) background.draw(canvas);
        }
        background.fade_in_spellcard_layer("layer1", 500);
        background.blow_leaves_up();
        background.blow_leaves_away({224, 240}, 80);
        for (int k = 0; k < 30; ++k) {
            background.update(17.0f);
            if (k % 6 == 0) background.draw(canvas);
        }
        background.draw(canvas);
    }
    fuzz::present();
    return 0;
}
