#include <gtest/gtest.h>

#include "render/bullet_appearances.h"
#include "render/enemy_appearances.h"
#include "render_fixture.h"
#include "sdk/core/exception.h"

namespace {

using namespace render_test;

TEST(Sprite_Cache, OneSharedSpritePerName) {
    art();
    sdk::Sprite* a = get_sprite("bullets");
    sdk::Sprite* b = get_sprite("bullets");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    a->set_frame(42);
    EXPECT_EQ(b->get_current_frame(), 42);
    size_t before = sprite_cache.size();
    EXPECT_EQ(get_sprite("not_a_sprite"), nullptr);
    EXPECT_EQ(sprite_cache.size(), before);  // a lookup never inserts

    // A document without sprites adds nothing.
    preload_sprites(canvas(), sdk::Resource_Manager(sdk::Resource_Document::from_text(
                                  "<resources><image name='x' file='sheet.png'/></resources>",
                                  "empty.xml", art().fs)));
    EXPECT_EQ(sprite_cache.size(), before);
    EXPECT_EQ(get_sprite("bullets"), a);
}

TEST(Sprite_Cache, AMissingSpriteStopsStartUpNamingItAndItsUser) {
    art();
    struct Case {
        std::function<void()> build;
        const char* sprite;
        const char* user;
    };
    const Case cases[] = {
        {[] { Appearance_Simple look(0, "bullets9"); }, "bullets9", "bullet looks"},
        {[] { Enemy_Appearance_Boss1 look("nobody"); }, "enemy_boss_nobody", "enemy_boss1"},
        {[] { Enemy_Appearance_Fairy look(0, 0, "enemy_fairy7"); }, "enemy_fairy7", "enemy_fairy"},
    };
    for (const Case& c : cases) {
        try {
            c.build();
            ADD_FAILURE() << c.sprite;
        } catch (const sdk::Exception& e) {
            std::string m = e.what();
            EXPECT_NE(m.find(std::string("'") + c.sprite + "'"), std::string::npos) << m;
            EXPECT_NE(m.find(c.user), std::string::npos) << m;
            EXPECT_NE(m.find("sprites.xml"), std::string::npos) << m;
        }
    }
}

}  // namespace
