// "text.xml" as the dialog reads it: the document is checked at start-up
// against the sprite cache, then every scene it holds runs to its end with
// the advance key pressed now and then, drawn as it goes.
#include "fuzz_support.h"
#include "render/dialog.h"
#include "sdk/font.h"
#include "world/run_flags.h"

namespace {
sdk::Font* font_one = nullptr;
sdk::Font* font_two = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    sdk::Canvas& canvas = fuzz::canvas();
    preload_sprites(canvas, sdk::Resource_Manager(fuzz::archive_document("sprites.xml")));
    font_one = new sdk::Font(canvas, fuzz::archive(), "Resources/rf.ttf", 20);
    font_two = new sdk::Font(canvas, fuzz::archive(), "Resources/jf.ttf", 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sdk::Canvas& canvas = fuzz::canvas();
    sdk::Resource_Document doc;
    Dialog dialog;
    try {
        doc = fuzz::document(data, size, "text.xml");
        dialog.init(font_one, font_two, doc, 300.0f, 40.0f);
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    for (const std::string& scene : doc.get_resource_names()) {
        dialog_active = 1;
        dialog.start(scene);
        // Drawn in the first frame of every state and action: what changes
        // between two such frames is where the pictures stand, not which
        // drawing runs.
        int32_t drawn_state = -1;
        uint32_t drawn_action = 0;
        for (int f = 0; f < 2000 && dialog_active; ++f) {
            dialog.update(f % 7 == 0, 17.0f);
            if (dialog.get_state() == drawn_state && dialog.get_action_index() == drawn_action) continue;
            drawn_state = dialog.get_state();
            drawn_action = dialog.get_action_index();
            dialog.draw(canvas);
        }
        dialog_active = 0;
    }
    fuzz::present();
    return 0;
}
