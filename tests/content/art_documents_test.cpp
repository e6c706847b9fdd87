// The pictures of the built archive against the documents that cut them:
// every sprite of "sprites.xml" and "mirel.xml" names pictures that exist,
// its grid lies inside them, the sprites the game takes by name exist with at
// least the frames their users index, and the backgrounds' tile maps and
// particle sprites resolve.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/core/string_help.h"

namespace {

struct Png_Size {
    int width = 0, height = 0;
};

// Reads the size from a PNG's header chunk.
Png_Size png_size(const std::vector<uint8_t>& bytes) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (bytes.size() < 24 || !std::equal(signature, signature + 8, bytes.begin())) return {};
    auto be32 = [&](size_t at) {
        return int(bytes[at]) << 24 | int(bytes[at + 1]) << 16 | int(bytes[at + 2]) << 8 |
               int(bytes[at + 3]);
    };
    return {be32(16), be32(20)};
}

bool read_pair(const std::string& text, int& a, int& b) {
    auto parts = sdk::split_text(text, ",");
    if (parts.size() != 2) return false;
    a = sdk::text_to_int(parts[0]);
    b = sdk::text_to_int(parts[1]);
    return true;
}

class Art_Documents : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* dir = std::getenv("MIREL_BINARY_DIR");
        std::string archive = std::string(dir ? dir : ".") + "/mirel.res";
        fs_ = new sdk::File_System(archive);
    }
    static void TearDownTestSuite() {
        delete fs_;
        fs_ = nullptr;
    }

    sdk::Resource_Document document(const std::string& name) { return {*fs_, name}; }

    // Frame count of a sprite, checking each picture and grid on the way.
    int frames_of(const sdk::Resource_Document& doc, const std::string& id) {
        const sdk::Resource_Node& node = doc.get_resource(id);
        int frames = 0;
        for (const sdk::Dom_Element& image : node.element.children("image")) {
            std::string file = doc.resolve_path(image.get_attribute("file"));
            if (!fs_->has_file(file)) {
                ADD_FAILURE() << doc.get_name() << ": sprite " << id << " names " << file
                              << ", which the archive does not hold";
                continue;
            }
            Png_Size size = png_size(fs_->read_file(file, sdk::Entry_Kind::picture));
            EXPECT_GT(size.width, 0) << file << " is not a PNG picture";
            sdk::Dom_Element grid = image.first_child("grid");
            if (!grid) {
                ++frames;
                continue;
            }
            int x = 0, y = 0, w = 0, h = 0, cols = 1, rows = 1;
            if (grid.has_attribute("pos")) read_pair(grid.get_attribute("pos"), x, y);
            EXPECT_TRUE(read_pair(grid.get_attribute("size"), w, h)) << id;
            if (grid.has_attribute("array")) read_pair(grid.get_attribute("array"), cols, rows);
            EXPECT_LE(x + cols * w, size.width) << doc.get_name() << ": sprite " << id << " is wider than " << file;
            EXPECT_LE(y + rows * h, size.height) << doc.get_name() << ": sprite " << id << " is taller than " << file;
            frames += cols * rows;
        }
        return frames;
    }

    static sdk::File_System* fs_;
};

sdk::File_System* Art_Documents::fs_ = nullptr;

TEST_F(Art_Documents, EverySpriteCutsPicturesThatExist) {
    for (const char* name : {"sprites.xml", "mirel.xml"}) {
        sdk::Resource_Document doc = document(name);
        for (const std::string& id : doc.get_resource_names_of_type("sprite"))
            EXPECT_GT(frames_of(doc, id), 0) << name << ": sprite " << id << " has no frame";
    }
}

// The sprites the stage takes from the cache, with the frames their users index.
TEST_F(Art_Documents, StageSpritesHaveTheFramesTheirUsersIndex) {
    const std::map<std::string, int> needed = {
        {"bullets", 17 * 16},          // rows 0-15 and the second hit frames 256-271
        {"bullets2", 32},              // big bullets from 0, 8, 16, 24
        {"magic_flash", 64},           // four per colour
        {"effects", 2},                // leaf, snowflake
        {"smoke", 4},
        {"enemy_fairy1", 12 * 16},     // twelve per colour
        {"enemy_fairy2", 12 * 16},
        {"kedama", 2},
        {"fairy_splash", 16},
        {"fairy_circle", 16},
        {"fairy_big_circle", 16},
        {"enemy_boss_rimea", 12},      // idle, moving, acting
        {"bonuses", 17},               // kinds 0-3, markers 8-11, kind 16
        {"font_bonus_score", 10},
        {"font_spellcard", 2},
        {"boss_names", 1},
        {"spellcard_names", 8},        // four cards in two languages
        {"wind_gust", 1},
        {"screen_mask", 12},
        {"dialog_frame", 1},
        {"char_sprite_kio1", 4},
        {"char_sprite_rimea1", 4},
    };
    sdk::Resource_Document doc = document("sprites.xml");
    for (const auto& [id, frames] : needed) {
        ASSERT_TRUE(doc.resource_exists(id)) << "sprites.xml has no sprite " << id;
        EXPECT_GE(frames_of(doc, id), frames) << "sprites.xml: sprite " << id;
    }
}

// "player.xml" names the player's four sprites in its own document.
TEST_F(Art_Documents, PlayerSpritesHaveTheirFrames) {
    const std::map<std::string, int> needed = {
        {"player_sprite", 36},    // idle, leaning, shots and sparks
        {"focus_sprite", 1},
        {"wind_sprite", 1},
        {"wind_font_sprite", 11}, // digits and the sign
    };
    sdk::Resource_Document doc = document("player.xml");
    std::map<std::string, std::string> keys;
    for (const sdk::Dom_Element& p : doc.get_resource("player_kio").element.children("param"))
        keys[p.get_attribute("name")] = sdk::trim(p.get_text());
    for (const auto& [key, frames] : needed) {
        const std::string& id = keys[key];
        ASSERT_TRUE(doc.resource_exists(id)) << "player.xml: " << key << " names no sprite (\"" << id << "\")";
        EXPECT_GE(frames_of(doc, id), frames) << "player.xml: sprite " << id;
    }
}

TEST_F(Art_Documents, MainDocumentHasTheScreenSpritesFontsAndOptions) {
    const std::map<std::string, int> needed = {
        {"mirel_splash", 1}, {"screen_mask", 12}, {"language_select", 2}, {"mm_background", 1},
        {"mm_title1", 1},    {"mm_menu", 10},     {"mm_menu_tips", 8},    {"om_options", 12},
        {"om_keys", 11},     {"om_tips", 18},     {"game_screen", 1},     {"game_stats", 11},
        {"ring1", 1},
    };
    sdk::Resource_Document doc = document("mirel.xml");
    for (const auto& [id, frames] : needed) {
        ASSERT_TRUE(doc.resource_exists(id)) << "mirel.xml has no sprite " << id;
        EXPECT_GE(frames_of(doc, id), frames) << "mirel.xml: sprite " << id;
    }
    for (const char* font : {"font_small", "font_score", "font_options", "font_spell_score"}) {
        ASSERT_TRUE(doc.resource_exists(font)) << "mirel.xml has no font " << font;
        std::string file = doc.resolve_path(doc.get_resource(font).element.get_attribute("file"));
        EXPECT_TRUE(fs_->has_file(file)) << font << " names " << file;
    }
    std::map<std::string, int> options;
    for (const sdk::Dom_Element& o : doc.get_resource("options").element.children("option"))
        ++options[o.get_attribute("name")];
    for (const char* name : {"dialog_char_appear_time", "dialog_starting_time", "bonus_point_score_max",
                             "bonus_point_score_min", "point_scrore_line", "bonus_score_time",
                             "bonus_max_speed", "bonus_accel"})
        EXPECT_EQ(options[name], 1) << "option " << name;
    EXPECT_EQ(options.size(), 8u);
}

TEST_F(Art_Documents, BackgroundsResolveTheirTilesAndParticleSprites) {
    sdk::Resource_Document doc = document("mirel.xml");
    bool spell_layer = false;
    for (const char* id : {"background_effects", "stage_kio", "boss_effects"}) {
        ASSERT_TRUE(doc.resource_exists(id)) << "mirel.xml has no background " << id;
        const sdk::Dom_Element& bg = doc.get_resource(id).element;
        for (const sdk::Dom_Element& layer : bg.children("layer")) {
            sdk::Dom_Element map = layer.first_child("tilemap");
            ASSERT_TRUE(map) << id << ": layer " << layer.get_attribute("name") << " has no tilemap";
            std::string sprite = map.get_attribute("resource");
            ASSERT_TRUE(doc.resource_exists(sprite)) << id << ": no tile sprite " << sprite;
            int frames = frames_of(doc, sprite);
            auto tiles = sdk::split_text(map.get_text(), ",");
            EXPECT_EQ(int(tiles.size()), map.get_attribute_int("width") * map.get_attribute_int("height"))
                << id << ": layer " << layer.get_attribute("name");
            for (const std::string& t : tiles) EXPECT_LT(sdk::text_to_int(t), frames) << sprite;
            std::map<std::string, std::string> params;
            for (const sdk::Dom_Element& p : layer.children("param")) params[p.get_attribute("name")] = p.get_text();
            EXPECT_TRUE(params.count("zoom_x") && params.count("zoom_y")) << id << ": a layer without zoom is invisible";
            if (std::string(id) == "boss_effects" && layer.get_attribute("name") == "rimea_back_1") {
                spell_layer = true;
                EXPECT_EQ(params["alpha"], "0") << "the spell-card layer waits hidden";
            }
        }
        for (const sdk::Dom_Element& effect : bg.children("effect")) {
            std::string kind = effect.get_attribute("name");
            if (kind == "clouds" || kind == "trees") {
                std::string sprite = effect.get_attribute("resource");
                ASSERT_TRUE(doc.resource_exists(sprite)) << id << ": no " << kind << " sprite " << sprite;
                EXPECT_GE(frames_of(doc, sprite), 3) << kind << " use frames up to 2";
            }
        }
    }
    EXPECT_TRUE(spell_layer) << "boss_effects has no layer rimea_back_1";
}

}  // namespace
