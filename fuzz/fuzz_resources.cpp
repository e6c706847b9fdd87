// The platform's resources as "mirel.xml" and "sprites.xml" hold them: every
// sprite, image and font of the document is built from the archive's
// pictures and font files and drawn once, every frame of a sprite shown;
// "ring1" is cut into the ring renderer's frames and drawn as a ring.
#include "fuzz_support.h"
#include "render/ring_sprite.h"
#include "sdk/font.h"
#include "sdk/image.h"
#include "sdk/sprite.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::quiet_log();
    fuzz::canvas();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sdk::Canvas& canvas = fuzz::canvas();
    sdk::Resource_Document doc;
    try {
        doc = fuzz::document(data, size, "sprites.xml");
    } catch (const sdk::Exception& e) {
        fuzz::rejected(e);
        return 0;
    }
    for (const std::string& id : doc.get_resource_names_of_type("sprite")) {
        try {
            sdk::Sprite sprite(canvas, id, doc);
            for (int f = 0; f < sprite.get_frame_count() && f < 64; ++f) {
                sprite.set_frame(f);
                sprite.draw(canvas, 100, 100);
            }
            sprite.update(1000);
            sprite.draw(canvas, {10, 10, 60, 60});
        } catch (const sdk::Exception& e) {
            fuzz::rejected(e);
        }
    }
    for (const std::string& id : doc.get_resource_names_of_type("image")) {
        try {
            sdk::Image image(canvas, id, doc);
            image.draw(canvas, 0, 0);
        } catch (const sdk::Exception& e) {
            fuzz::rejected(e);
        }
    }
    for (const std::string& id : doc.get_resource_names_of_type("font")) {
        try {
            sdk::Font font(canvas, id, doc);
            font.draw_text(canvas, 10, 30, "fps:60\nScore 0123456789");
            font.get_text_size(canvas, "Bullets blown  :");
        } catch (const sdk::Exception& e) {
            fuzz::rejected(e);
        }
    }
    if (doc.resource_exists("ring1")) {
        try {
            Ring_Sprite ring(canvas, "ring1", sdk::Resource_Manager(doc), fuzz::archive());
            ring.current_frame = 3;
            ring.draw_ring(canvas, 40, 16, 0, sdk::Colorf::white(), 200, 200);
        } catch (const sdk::Exception& e) {
            fuzz::rejected(e);
        }
    }
    fuzz::present();
    return 0;
}
