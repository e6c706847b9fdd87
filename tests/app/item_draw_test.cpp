#include "app/item_draw.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/render/render_fixture.h"
#include "world/geometry.h"
#include "world/item_pool.h"

namespace {

using namespace render_test;

// The item sheet of the stage art with an alignment of its own (centred), so
// a marker placed by it differs from one placed by the top-left corner or
// by whatever the centred, spinning items left in the shared sprite.
void load_item_sprite() {
    Stage_Art& a = art();
    std::ofstream(a.dir / "items.xml")
        << "<resources><sprite name=\"bonuses\"><image file=\"sheet.png\"><grid size=\"8,8\" "
           "array=\"16,17\"/></image><origin mode=\"center\"/></sprite></resources>\n";
    preload_sprites(canvas(), sdk::Resource_Manager(sdk::Resource_Document(a.fs, "items.xml")));
    init_item_drawing();
}

Item item(float x, float y, uint8_t kind, float speed, float age) {
    Item i;
    i.x = i.prev_x = x;
    i.y = i.prev_y = y;
    i.kind = kind;
    i.speed = speed;
    i.age = age;
    i.alive = 1;
    return i;
}

TEST(Item_Draw, MarkerKeepsTheSpritesOwnPlacementWhateverWasDrawnBefore) {
    load_item_sprite();
    struct Case {
        const char* before;
        std::vector<Item> items;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"a rising, turned item", {item(100, 200, 0, -0.2f, 45)}},
        {"a falling item", {item(100, 200, 3, 0.1f, 500)}},
    };
    // Point item marker: frame 9 centred on (200 - 8, top) = (192, 16).
    const sdk::Color marker = faded(frame_colour(9), 0.5f);
    for (const Case& c : cases) {
        clean_canvas();
        item_pool.reset();
        for (const Item& i : c.items) item_pool.add(i);
        item_pool.add(item(200, -20, 1, 0.1f, 0));
        draw_items(canvas());
        EXPECT_TRUE(test_display::color_near(pixel(189, 13), marker)) << c.before;
        EXPECT_TRUE(test_display::color_near(pixel(195, 19), marker)) << c.before;
        EXPECT_EQ(frame_of(pixel(198, 22)), -1) << c.before << ": drawn from its corner";
    }
    item_pool.reset();
}

}  // namespace
