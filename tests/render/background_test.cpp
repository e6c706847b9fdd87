#include "render/background.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "render_fixture.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/random.h"
#include "sdk/pixel_buffer.h"
#include "sdk/render_device.h"
#include "sdk/sprite.h"
#include "world/geometry.h"

namespace {

using namespace render_test;
using test_display::color_near;

const sdk::Rect field(32, 16, 416, 464);

// A document in the art folder: its tile, cloud and tree sprites cut the
// shared sheet.
sdk::Resource_Manager document(const std::string& backgrounds) {
    std::string text =
        "<resources>"
        "<sprite name='tiles'><image file='sheet.png'><grid size='8,8' "
        "array='16,17'/></image></sprite>"
        "<sprite name='big'><image file='sheet.png'><grid size='32,32' "
        "array='4,4'/></image></sprite>" +
        backgrounds + "</resources>";
    return sdk::Resource_Manager(sdk::Resource_Document::from_text(text, "test.xml", art().fs));
}

std::string layer(const std::string& name, const std::string& params, int w = 2, int h = 2,
                  const std::string& tiles = "0,1,2,3", const std::string& sprite = "tiles") {
    std::ostringstream s;
    s << "<layer name='" << name << "'>" << params << "<tilemap resource='" << sprite << "' width='"
      << w << "' height='" << h << "'>" << tiles << "</tilemap></layer>";
    return s.str();
}

std::string param(const std::string& name, const std::string& value) {
    return "<param name='" + name + "'>" + value + "</param>";
}

TEST(Background_Load, ReadsEveryParameterWithItsDefault) {
    Background bg;
    bg.load(canvas(), "bg",
            document("<background name='bg' background_color='#102030'>" + layer("plain", "") +
                     layer("moved", param("offset_y", "5") + param("zoom_x", "1") +
                                        param("zoom_y", "2") + param("alpha", "0.25") +
                                        param("speed_y", "0.05") + param("rand_x", "0.1")) +
                     layer("shifted", param("offset_x", "3") + param("offset_y", "4")) +
                     layer("moved", "") +
                     "<effect name='snow'/>"
                     "<effect name='trees' resource='tiles'>" +
                     param("number", "2.9") + param("follow_layer", "moved") +
                     param("fill_center", "1") +
                     "</effect>"
                     "<effect name='clouds' resource='tiles'>" +
                     param("follow_layer", "nowhere") + "</effect></background>"),
            field);
    EXPECT_EQ(bg.get_clear(), 1);
    EXPECT_TRUE(color_near(sdk::Color(bg.get_clear_colour()), sdk::Color(0x10, 0x20, 0x30), 1));
    const auto& layers = bg.get_layers();
    ASSERT_EQ(layers.size(), 4u);
    EXPECT_FLOAT_EQ(layers[0].alpha, 1.0f);
    EXPECT_FLOAT_EQ(layers[0].zoom_x, 0.0f);    // invisible without a zoom
    EXPECT_FLOAT_EQ(layers[1].offset_y, 0.0f);  // offset_y alone is ignored
    EXPECT_FLOAT_EQ(layers[1].zoom_y, 2.0f);
    EXPECT_FLOAT_EQ(layers[1].alpha, 0.25f);
    EXPECT_FLOAT_EQ(layers[1].rand_x, 0.1f);
    EXPECT_FLOAT_EQ(layers[2].offset_x, 3.0f);
    EXPECT_FLOAT_EQ(layers[2].offset_y, 4.0f);
    EXPECT_EQ(layers[0].tile_width, 8);
    EXPECT_EQ(layers[0].map_height, 16);
    // The map's last row starts level with the bottom of the clip rectangle.
    EXPECT_FLOAT_EQ(layers[0].scroll_y, 448.0f - 16.0f);
    EXPECT_EQ(layers[0].tiles, (std::vector<int32_t>{0, 1, 2, 3}));

    const auto& effects = bg.get_effects();
    ASSERT_EQ(effects.size(), 2u);  // "snow" is skipped, later effects still load
    EXPECT_EQ(effects[0].kind, background_trees);
    EXPECT_EQ(effects[0].number, 2u);
    EXPECT_EQ(effects[0].follow_layer, 3);  // the later of the two "moved"
    EXPECT_EQ(effects[1].follow_layer, -1);
    EXPECT_EQ(bg.sprite_count(), 6u);
}

TEST(Background_Load, AnEffectFollowsTheLastLayerOfThatNameAboveIt) {
    auto follower = [](const char* kind, const char* layer_name) {
        return std::string("<effect name='") + kind + "' resource='tiles'>" +
               param("follow_layer", layer_name) + "</effect>";
    };
    Background bg;
    bg.load(canvas(), "bg",
            document("<background name='bg'>" + layer("sky", "") + layer("ground", "") +
                     follower("trees", "sky") + follower("clouds", "top") + layer("top", "") +
                     layer("sky", "") + follower("clouds", "sky") + follower("trees", "top") +
                     "</background>"),
            field);
    const auto& effects = bg.get_effects();
    const int32_t followed[] = {0, -1, 3, 2};
    ASSERT_EQ(effects.size(), std::size(followed));
    for (size_t i = 0; i < effects.size(); ++i)
        EXPECT_EQ(effects[i].follow_layer, followed[i]) << i;
}

TEST(Background_Load, ClearAttributeAndASecondLoad) {
    Background bg;
    auto doc = document("<background name='a'>" + layer("one", "") + layer("two", "") +
                        "</background><background name='b' clear='0'>" + layer("three", "") +
                        "</background>");
    bg.load(canvas(), "a", doc, field);
    EXPECT_EQ(bg.get_clear(), 1);
    bg.load(canvas(), "b", doc, field);
    EXPECT_EQ(bg.get_clear(), 0);
    ASSERT_EQ(bg.get_layers().size(), 1u);
    EXPECT_EQ(bg.get_layers()[0].name, "three");
    EXPECT_EQ(bg.sprite_count(), 1u);
}

// Found by fuzzing: every run start loads the stage's backgrounds again, and
// their pictures, held by nothing once the old content was cleared, were
// placed anew in the renderer's atlas (places are never given back), so the
// game's memory grew with every run. Loading again keeps each picture where
// it was.
TEST(Background_Load, LoadingAgainKeepsItsPicturesWhereTheyWere) {
    sdk::Pixel_Buffer own(24, 24);  // a picture that no other sprite uses
    own.save_png((art().dir / "own_tiles.png").string());
    auto doc = sdk::Resource_Manager(sdk::Resource_Document::from_text(
        "<resources><sprite name='own'><image file='own_tiles.png'><grid size='8,8' array='3,3'/></image>"
        "</sprite><background name='a'>" +
            layer("one", "", 2, 2, "0,1,2,3", "own") + "</background></resources>",
        "test.xml", art().fs));
    Background bg;
    bg.load(canvas(), "a", doc, field);
    const sdk::Texture::Impl* first = bg.get_layers().at(0).sprite->get_texture().impl();
    const SDL_Texture* page = first->texture;
    const int x = first->x, y = first->y;
    for (int k = 0; k < 3; ++k) bg.load(canvas(), "a", doc, field);
    const sdk::Texture::Impl* again = bg.get_layers().at(0).sprite->get_texture().impl();
    EXPECT_EQ(again->texture, page);
    EXPECT_EQ(again->x, x);
    EXPECT_EQ(again->y, y);
}

TEST(Background_Load, BrokenResourcesThrowNamingWhatIsMissing) {
    Background bg;
    auto doc = document(
        "<background name='no_tilemap'><layer name='x'/></background>"
        "<background name='bad_colour'><effect name='happa'>" +
        param("color", "#12345") + "</effect></background>" + "<background name='no_sprite'>" +
        layer("x", "", 2, 2, "0,1,2,3", "nothing") + "</background>");
    struct Case {
        const char* id;
        const char* message;
    };
    const Case cases[] = {{"missing", "missing"},
                          {"no_tilemap", "Xpath did not match any node: tilemap"},
                          {"bad_colour", "Bad hex color string: #12345"},
                          {"no_sprite", "nothing"}};
    for (const Case& c : cases) {
        try {
            bg.load(canvas(), c.id, doc, field);
            ADD_FAILURE() << c.id;
        } catch (const sdk::Exception& e) {
            std::string m = e.what();
            EXPECT_NE(m.find(c.message), std::string::npos) << m;
            EXPECT_NE(m.find("test.xml"), std::string::npos) << m;
            if (std::string(c.id) != "missing") {
                EXPECT_NE(m.find(std::string("background '") + c.id + "'"), std::string::npos) << m;
            }
        }
    }
}

// Found by fuzzing: a "number" of 6.7e37 was cast to u32 (undefined
// behaviour). Numbers no count can hold, and counts past their ceiling, stop
// the load naming the file, the background, the effect or layer and the key.
TEST(Background_Load, CountsOutOfRangeStopTheLoadNamingTheKey) {
    struct Case {
        std::string background;
        const char* message;
    };
    const Case cases[] = {
        {"<effect name='trees' resource='tiles'>" + param("number", "1001") + "</effect>",
         "test.xml: background 'bg': effect 'trees': 'number' is 1001, not a count from 0 to the "
         "ceiling 1000"},
        {"<effect name='trees' resource='tiles'>" + param("number", "3000000000") + "</effect>",
         "test.xml: background 'bg': effect 'trees': 'number' is 3000000000, not a count from 0 "
         "to the ceiling 1000"},
        {layer("wide", "", 2000000000, 2, "0"),
         "test.xml: background 'bg': layer 'wide': tilemap: 'width' is 2000000000, not a count "
         "from 0 to the ceiling 1024"},
        {layer("a", "", 1024, 1024, "0") + layer("b", "", 1, 1, "0"),
         "test.xml: background 'bg': layer 'b': tilemap: the tile maps up to this one hold "
         "1048577 tiles, more than the 1048576 of a background"},
        {layer("tall", "", 2, 1025, "0"),
         "test.xml: background 'bg': layer 'tall': tilemap: 'height' is 1025, not a count from 0 "
         "to the ceiling 1024"},
    };
    for (const Case& c : cases) {
        Background bg;
        try {
            bg.load(canvas(), "bg",
                    document("<background name='bg'>" + c.background + "</background>"), field);
            ADD_FAILURE() << c.background;
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(Background_Load, AShortTileListShowsFrameZeroAndIsReportedOnce) {
    std::vector<std::string> logged;
    sdk::Log_Sink old = sdk::set_log_sink(
        [&](const std::string&, const std::string& text) { logged.push_back(text); });
    Background bg;
    bg.load(canvas(), "bg",
            document("<background name='bg'>" +
                     layer("short", param("zoom_x", "1") + param("zoom_y", "1"), 3, 2, "5,6") +
                     "</background>"),
            field);
    sdk::set_log_sink(old);
    EXPECT_EQ(bg.get_layers()[0].tiles, (std::vector<int32_t>{5, 6, 0, 0, 0, 0}));
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("'short'"), std::string::npos) << logged[0];
    EXPECT_NE(logged[0].find("2 of 3 x 2"), std::string::npos) << logged[0];
    clean_canvas();
    bg.draw(canvas());  // reads only tiles that exist
}

TEST(Background_Load, MoreThanTwoHundredSpriteBearingLayersAllLoad) {
    std::string layers;
    for (int i = 0; i < 250; ++i) layers += layer("l" + std::to_string(i), "");
    Background bg;
    bg.load(canvas(), "bg", document("<background name='bg'>" + layers + "</background>"), field);
    EXPECT_EQ(bg.get_layers().size(), 250u);
    EXPECT_EQ(bg.sprite_count(), 250u);
    for (const Background_Layer& l : bg.get_layers()) EXPECT_NE(l.sprite, nullptr);
}

// Backgrounds built in code, without sprites: the animation alone.
class Background_Update : public ::testing::Test {
protected:
    void SetUp() override {
        sdk::random_seed(7);
        bg.set_clip(field);
    }
    Background_Layer plain_layer(const std::string& name = "layer") {
        Background_Layer l;
        l.name = name;
        l.width = l.height = 4;
        l.tile_width = l.tile_height = 240;
        l.map_width = l.map_height = 960;
        return l;
    }
    Background_Effect happa() {
        Background_Effect e;
        e.kind = background_happa;
        e.number = 1;
        e.spawn_time = 10;
        e.life_min = 100;
        e.life_max = 200;
        e.fade = 20;
        e.speed_min = e.speed_max = 0.1f;
        e.size_min = e.size_max = 1;
        return e;
    }
    // One cloud, following a sky layer that scrolls down, spawned on the
    // first update of 10 ms.
    void add_sky_with_one_cloud(float zoom, float size = 1) {
        Background_Layer l = plain_layer("sky");
        l.speed_y = 0.1f;
        bg.add_layer(l);
        Background_Effect clouds;
        clouds.kind = background_clouds;
        clouds.number = 1;
        clouds.spawn_time = 1e9f;  // one cloud only
        clouds.speed = 2;
        clouds.zoom = zoom;
        clouds.size_min = clouds.size_max = size;
        clouds.follow_layer = 0;
        bg.add_effect(clouds);
        bg.update(10);
    }
    Background bg;
};

TEST_F(Background_Update, VerticalScrollWrapsByTheMapHeight) {
    Background_Layer l = plain_layer();
    l.speed_y = 0.05f;
    bg.add_layer(l);
    float before = 0;
    for (int i = 0; i < 1200; ++i) {
        before = bg.get_layers()[0].scroll_y;
        bg.update(17);
        float now = bg.get_layers()[0].scroll_y;
        ASSERT_GE(now, 0.0f);
        ASSERT_LE(now, 960.0f);
        if (now < before) {
            // Passed 960 and went back by exactly one map height.
            EXPECT_NEAR(now, before + 0.85f - 960.0f, 1e-3);
            return;
        }
    }
    ADD_FAILURE() << "never wrapped";
}

TEST_F(Background_Update, WobbleOnlyWithAnAmplitude) {
    Background_Layer still = plain_layer();
    Background_Layer wobbly = plain_layer();
    wobbly.rand_x = 0.02f;
    Background_Layer frozen = plain_layer();
    frozen.rand_y = 0.02f;  // rand_speed 0: draws its first target and stays
    wobbly.rand_speed = 0.001f;
    bg.add_layer(still);
    bg.add_layer(wobbly);
    bg.add_layer(frozen);
    for (int i = 0; i < 100; ++i) bg.update(16);
    EXPECT_EQ(bg.get_layers()[0].wobble_x, 0.0f);
    EXPECT_EQ(bg.get_layers()[0].scroll_x, 0.0f);
    EXPECT_NE(bg.get_layers()[1].scroll_x, 0.0f);
    EXPECT_LE(std::fabs(bg.get_layers()[1].wobble_x), 0.02f + 0.016f);
    EXPECT_EQ(bg.get_layers()[2].wobble_y, 0.0f);
}

TEST_F(Background_Update, FadesReachTheirTargetExactlyAndOnlyTheLastLayerOfAName) {
    bg.add_layer(plain_layer("back"));
    bg.add_layer(plain_layer("back"));
    bg.fade_out_spellcard_layer("back", 1000);
    bg.fade_in_spellcard_layer("nothing", 1000);
    for (int i = 0; i < 100; ++i) bg.update(10);
    EXPECT_EQ(bg.get_layers()[1].alpha, 0.0f);
    EXPECT_EQ(bg.get_layers()[1].fading, 0);
    EXPECT_EQ(bg.get_layers()[0].alpha, 1.0f);

    bg.fade_layer("back", 0.5f, 0);  // duration 0: the target at the next update
    bg.update(1);
    EXPECT_EQ(bg.get_layers()[1].alpha, 0.5f);
}

TEST_F(Background_Update, LeavesSpawnFadeAndDieByAge) {
    Background_Effect none = happa();
    none.number = 0;
    Background_Effect unfaded = happa();
    unfaded.fade = 0;
    bg.add_effect(happa());
    bg.add_effect(none);
    bg.add_effect(unfaded);
    for (int i = 0; i < 5; ++i) bg.update(10);
    const auto& leaves = bg.get_effects()[0].particles;
    ASSERT_EQ(leaves.size(), 5u);
    EXPECT_TRUE(bg.get_effects()[1].particles.empty());
    for (const Background_Particle& p : bg.get_effects()[2].particles) EXPECT_EQ(p.alpha, 0.0f);
    // The first leaf, 50 ms old, has faded in; the newest, 10 ms, is half there.
    EXPECT_FLOAT_EQ(leaves.front().alpha, 1.0f);
    EXPECT_FLOAT_EQ(leaves.back().alpha, 0.5f);
    for (const Background_Particle& p : leaves) {
        EXPECT_GE(p.life, 100u);
        EXPECT_LT(p.life, 200u);
    }
    // A leaf is removed on the update in which its age first exceeds its life.
    uint32_t first_life = leaves.front().life;
    Background_Particle first = leaves.front();
    while (bg.get_effects()[0].particles.front().age + 10 <= first_life) bg.update(10);
    EXPECT_EQ(bg.get_effects()[0].particles.front().life, first.life);
    bg.update(10);
    EXPECT_NE(bg.get_effects()[0].particles.front().x, first.x);
}

TEST_F(Background_Update, AWarmUpStartsThePictureFullAndThenAtItsRate) {
    Background_Effect e = happa();
    e.spawn_time = 110;
    e.life_min = 3500;
    e.life_max = 7500;
    bg.add_effect(e);
    for (int i = 0; i < 100; ++i) bg.update(1000);  // as a run start warms it
    size_t warmed = bg.get_effects()[0].particles.size();
    EXPECT_GT(warmed, 20u);
    uint32_t spawned = 0;
    for (int i = 0; i < 60; ++i) {
        size_t before = bg.get_effects()[0].particles.size();
        bg.update(17);
        size_t after = bg.get_effects()[0].particles.size();
        if (after > before) spawned += static_cast<uint32_t>(after - before);
    }
    // A second of play spawns about 1000 / 110 leaves, not one every frame.
    EXPECT_LE(spawned, 12u);
    EXPECT_GE(spawned, 7u);
}

TEST_F(Background_Update, LeavesWithoutALifeRangeLiveTheMinimum) {
    for (float life_max : {100.0f, 100.5f, 50.0f}) {
        Background b;
        b.set_clip(field);
        Background_Effect e = happa();
        e.life_max = life_max;
        b.add_effect(e);
        b.update(10);  // a remainder by zero would end the program here
        ASSERT_EQ(b.get_effects()[0].particles.size(), 1u);
        EXPECT_EQ(b.get_effects()[0].particles[0].life, 100u) << life_max;
    }
}

// A life past what the age counter holds lives as long as it can count,
// rather than a cast no integer can hold deciding it.
TEST_F(Background_Update, LeavesWithAHugeLifeOutliveTheirSteps) {
    Background_Effect e = happa();
    e.life_min = 1e30f;
    e.life_max = 2e30f;
    bg.add_effect(e);
    for (int i = 0; i < 3; ++i) bg.update(10);
    const auto& leaves = bg.get_effects()[0].particles;
    ASSERT_EQ(leaves.size(), 3u);
    for (const Background_Particle& p : leaves) EXPECT_EQ(p.life, UINT32_MAX);
}

TEST_F(Background_Update, TreesFillOnlyTheirLanes) {
    Background_Effect trees;
    trees.kind = background_trees;
    trees.number = 3;
    trees.spawn_time = 100;
    trees.size_min = trees.size_max = 1;
    Background_Effect none = trees;
    trees.fill_center = 1;
    bg.add_effect(trees);
    bg.add_effect(none);
    for (int i = 0; i < 10; ++i) bg.update(100);
    EXPECT_TRUE(bg.get_effects()[1].particles.empty());
    ASSERT_EQ(bg.get_effects()[0].particles.size(), 30u);
    for (const Background_Particle& p : bg.get_effects()[0].particles) {
        EXPECT_GE(p.x, 32.0f + 128.0f);
        EXPECT_LT(p.x, 32.0f + 256.0f);
    }
}

TEST_F(Background_Update, CloudsDriftWithTheirLayerAndGrowTowardTheBottom) {
    add_sky_with_one_cloud(2);
    const auto& p = bg.get_effects()[0].particles;
    ASSERT_EQ(p.size(), 1u);
    EXPECT_GT(p[0].y, -130.0f - 1);
    EXPECT_GT(p[0].dy, 0.19f);  // about twice the layer's speed, nearly straight down
    float zoom = p[0].zoom;
    for (int i = 0; i < 100; ++i) bg.update(17);
    EXPECT_GT(p[0].zoom, zoom);
    EXPECT_LE(p[0].zoom, 2.0f + 1e-3);
    for (int i = 0; i < 400 && !bg.get_effects()[0].particles.empty(); ++i) bg.update(17);
    EXPECT_TRUE(bg.get_effects()[0].particles.empty());  // gone below the clip
}

// Every cloud leaves, whatever its zoom (held to 1/8..8) and size (held to
// -8..8): its zoom stays between 1 and the effect's, so it falls at least
// an eighth as fast as its layer takes it. A large cloud starts growing
// above the top of the field, where a zoom read on upwards fell below 0 and
// sent it up for ever. The zoom stops at the effect's at the bottom edge,
// which bounds the scale the cloud is drawn at while it leaves.
TEST_F(Background_Update, EveryCloudLeavesTheFieldDrawnAtMostAtTheEffectsZoom) {
    struct Row {
        float zoom, size;
    };
    const Row rows[] = {
        {8, 8}, {5, 3}, {8, 1}, {8, -8}, {1.0f / 8, 8}, {1.0f / 8, -8}, {1, 1}, {1.5f, 1.6f},
    };
    // From 65 x 8 above the top to 65 x 8 below the bottom at an eighth of
    // 0.2 pixels per millisecond: under 3600 frames of 17 ms.
    constexpr int max_frames = 3600;
    for (const Row& row : rows) {
        std::ostringstream what;
        what << "zoom " << row.zoom << ", size " << row.size;
        SCOPED_TRACE(what.str());
        bg.clear();
        add_sky_with_one_cloud(row.zoom, row.size);
        const std::vector<Background_Particle>& clouds = bg.get_effects()[0].particles;
        ASSERT_EQ(clouds.size(), 1u);
        float least = clouds[0].zoom, most = clouds[0].zoom;
        int frames = 0;
        for (; frames < max_frames && !clouds.empty(); ++frames) {
            bg.update(17);
            if (clouds.empty()) break;
            least = std::min(least, clouds[0].zoom);
            most = std::max(most, clouds[0].zoom);
        }
        EXPECT_TRUE(clouds.empty()) << "still at y " << clouds[0].y << " after " << frames
                                    << " frames";
        EXPECT_GE(least, std::min(1.0f, row.zoom) - 1e-6f);
        EXPECT_LE(most, std::max(1.0f, row.zoom) + 1e-6f);
    }
}

// Particles that never leave stop at the newest 4096 of an effect.
TEST_F(Background_Update, ParticlesThatNeverLeaveStopAtACeiling) {
    Background_Effect still;
    still.kind = background_clouds;
    still.number = 1;
    still.spawn_time = 0;  // one a step
    still.zoom = 1;
    still.size_min = still.size_max = 1;
    Background_Effect trees = still;
    trees.kind = background_trees;
    trees.number = 10;
    trees.fill_center = 1;
    bg.add_effect(still);
    bg.add_effect(trees);
    for (int i = 0; i < 5000; ++i) bg.update(17);
    EXPECT_EQ(bg.get_effects()[0].particles.size(), 4096u);
    EXPECT_EQ(bg.get_effects()[1].particles.size(), 4096u);
}

TEST_F(Background_Update, BombAndWindPushOnlyLeaves) {
    Background_Effect clouds;
    clouds.kind = background_clouds;
    clouds.number = 1;
    clouds.spawn_time = 10;
    clouds.zoom = 1;
    clouds.size_min = clouds.size_max = 1;
    bg.add_effect(happa());
    bg.add_effect(clouds);
    for (int i = 0; i < 5; ++i) bg.update(10);
    ASSERT_FALSE(bg.get_effects()[1].particles.empty());
    float cloud_dy = bg.get_effects()[1].particles[0].dy;
    bg.blow_leaves_up();
    for (const Background_Particle& p : bg.get_effects()[0].particles) {
        EXPECT_EQ(p.dx, 0.0f);
        EXPECT_EQ(p.dy, -1.0f);
    }
    EXPECT_EQ(bg.get_effects()[1].particles[0].dy, cloud_dy);

    Background_Particle& leaf = bg.get_effects()[0].particles[0];
    bg.blow_leaves_away(sdk::Vec2f(leaf.x - 3, leaf.y - 4), 10);
    EXPECT_FLOAT_EQ(leaf.dx, 0.6f);
    EXPECT_FLOAT_EQ(leaf.dy, 0.8f);
    bg.blow_leaves_away(sdk::Vec2f(leaf.x, leaf.y), 10);  // exactly on the centre
    EXPECT_EQ(leaf.dx, 0.0f);
    EXPECT_EQ(leaf.dy, 0.0f);
}

// Drawing: a 2 x 2 map of 32-pixel tiles (frames 0..3 of the "big" sheet,
// whose top-left 8 x 8 corners hold frames 0, 1, 16, 17 of the small one).
class Background_Draw : public ::testing::Test {
protected:
    void SetUp() override {
        clean_canvas();
        bg.load(canvas(), "bg",
                document("<background name='bg' background_color='#00ff00'>" +
                         layer("tiles", param("zoom_x", "1") + param("zoom_y", "1"), 2, 2,
                               "0,1,2,3", "big") +
                         "</background>"),
                field);
    }
    Background bg;
};

TEST_F(Background_Draw, TilesRepeatAroundTheOriginWithoutASeam) {
    Background_Layer& l = bg.get_layers()[0];
    l.scroll_y = 0;
    bg.draw(canvas());
    // Column 0, row 0 is anchored 10 pixels up and left of the clip; the
    // corners of the big frames 0..3 show the small frames 0, 4, 8 and 12.
    EXPECT_EQ(frame_of(pixel(22, 6)), 0);
    EXPECT_EQ(frame_of(pixel(22 + 32, 6)), 4);
    EXPECT_EQ(frame_of(pixel(22, 6 + 32)), 8);
    EXPECT_EQ(frame_of(pixel(22 + 32, 6 + 32)), 12);
    // The map repeats once more beyond its end; tiles wholly left of the
    // clip rectangle are skipped.
    l.scroll_x = 64;
    clean_canvas();
    bg.draw(canvas());
    EXPECT_EQ(frame_of(pixel(22 + 64, 6)), 0);
    EXPECT_EQ(frame_of(pixel(22 + 64 + 32, 6 + 32)), 12);
    EXPECT_EQ(frame_of(pixel(22 + 32, 6)), 4);
    EXPECT_EQ(frame_of(pixel(22 + 128, 6)), -1);
    // A whole map height further down the picture is the same.
    l.scroll_x = 0;
    clean_canvas();
    bg.draw(canvas());
    sdk::Color before = pixel(60, 50);
    clean_canvas();
    l.scroll_y = 64;
    bg.draw(canvas());
    EXPECT_TRUE(color_near(pixel(60, 50), before, 0));
}

TEST_F(Background_Draw, ClearColourAndLayerAlpha) {
    Background_Layer& l = bg.get_layers()[0];
    l.scroll_y = 0;
    l.alpha = 0.0f;
    bg.draw(canvas());
    EXPECT_TRUE(color_near(pixel(100, 100), sdk::Color(0, 255, 0)));
    l.alpha = 0.5f;
    bg.draw(canvas());
    sdk::Color c = pixel(22, 6);
    EXPECT_TRUE(color_near(c, sdk::Color(4, 132, 100), 10))
        << int(c.r) << " " << int(c.g) << " " << int(c.b);
}

TEST_F(Background_Draw, ClearingKeepsToTheClipRectangle) {
    canvas().clear(sdk::Colorf(1, 0, 0, 1));  // the panel around the field
    canvas().set_cliprect(screen_field);
    bg.draw(canvas());
    EXPECT_TRUE(color_near(pixel(100, 200), sdk::Color(0, 255, 0)));
    EXPECT_TRUE(color_near(pixel(500, 200), sdk::Color(255, 0, 0)));
    EXPECT_TRUE(color_near(pixel(10, 10), sdk::Color(255, 0, 0)));
    canvas().reset_cliprect();
}

}  // namespace
