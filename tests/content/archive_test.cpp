// Opens the built archive "mirel.res" the way start-up does and follows every name one
// document gives to another: sample and track files, the player's keys and sprites, bullet
// looks, behaviours, pattern codes, spell cards, paths, enemy looks, dialogs and the frames
// they pick. A name that does not resolve is reported with its file, resource and value.
//
// The names the program registers in code are taken from its own registries, built as start-up
// builds them (movements, muzzle flashes, and the looks over the archive's sprites); the samples
// and tracks the code plays by name are listed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "render/appearance.h"
#include "render/player_sprites.h"
#include "render/ring_sprite.h"
#include "render/sprite_cache.h"
#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/core/string_help.h"
#include "sdk/pixel_buffer.h"
#include "tests/sdk/display_fixture.h"
#include "world/geometry.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/registries.h"

namespace {

using Names = std::set<std::string>;

// Names the program registers, filled once from its registries.
Names bullet_behaviours, enemy_paths, enemy_looks, enemy_bullet_looks, flash_names;

const Names samples_played = {
    "menu_select", "menu_ok",     "menu_cancel", "item00",      "item01",      "powerup",
    "se_damage00", "graze",       "enemy_dead1", "enemy_dead2", "se_nodamage", "player_dead",
    "enemy_shot1", "enemy_shot2", "enemy_shot3", "player_shot", "game_paused"};
const Names tracks_played = {"00_title_theme", "02_glass_winter"};
const Names dialog_actions = {"new_line",        "line2",     "line3",   "wait",
                              "feed_char_left",  "feed_char_right", "show_pic", "hide_pic",
                              "set_char_face",   "level_end"};
const std::vector<std::string> player_keys = {
    "normal_speed", "focused_speed", "spellcard_active_speed", "hitbox", "bonus_collision",
    "bonus_attract_collision", "bonus_attract_focus_collision", "graze_size", "shooting_speed",
    "bullet_alpha", "death_time", "invicible_time", "graze_score", "wind_radius", "wind_speed",
    "wind_accel", "wind_gain_speed", "wind_shot_gain", "wind_kill_gain", "wind_graze_gain",
    "time_to_activate_wind", "time_wind_activation", "wind_max_blow_time",
    "spellcard_min_duration", "spellcard_max_duration", "start_power", "bomb_duration",
    "bomb_damage", "shot1_interval", "shot1_speed", "shot1_bullets", "shot1_damage",
    "shot1_focus_damage", "shot2_interval", "shot2_speed", "shot2_damage", "shot2_startpower",
    "shot2_steppower", "shot3_interval", "shot3_speed", "shot3_angle_speed", "shot3_accel_time",
    "shot3_speed_delta", "shot3_bullets", "shot3_damage", "shot4_shooting_speed",
    "shot4_interval", "shot4_speed", "shot4_angle_speed", "shot4_change_angle",
    "shot4_speed_delta", "shot4_radius", "shot4_bullets", "shot4_damage"};
const std::vector<std::string> player_sprite_keys = {"player_sprite", "focus_sprite", "wind_sprite",
                                                     "wind_font_sprite"};
const std::map<std::string, std::string> portraits = {{"kio", "char_sprite_kio1"},
                                                      {"rimea", "char_sprite_rimea1"}};

std::string archive_path() {
    const char* dir = std::getenv("MIREL_BINARY_DIR");
    return std::string(dir ? dir : ".") + "/mirel.res";
}

bool contains(const Names& names, const std::string& name) { return names.count(name) != 0; }

// Frames of a sprite resource: every <image> adds its grid's cells, or one frame.
int sprite_frames(const sdk::Dom_Element& sprite) {
    int frames = 0;
    for (const auto& image : sprite.children("image")) {
        auto grid = image.first_child("grid");
        if (grid.is_null()) {
            ++frames;
            continue;
        }
        auto array = sdk::split_text(grid.get_attribute("array", "1,1"), ",");
        frames += sdk::text_to_int(array.at(0)) * sdk::text_to_int(array.size() > 1 ? array[1] : "1");
    }
    return frames;
}

bool is_sound_file(const std::vector<uint8_t>& bytes) {
    auto starts = [&bytes](const char* magic, size_t at) {
        for (size_t i = 0; magic[i]; ++i)
            if (at + i >= bytes.size() || bytes[at + i] != static_cast<uint8_t>(magic[i])) return false;
        return true;
    };
    return (starts("OggS", 0) && bytes.size() > 1000) || (starts("RIFF", 0) && starts("WAVE", 8));
}

// One running pattern code, split the way the pattern engine splits it.
struct Code {
    int family, type, colour;
};
Code split_code(int code) { return {code / 1000, (code % 1000) / 20, code % 20}; }

// The fifteen enemy families by the first family number of each range.
int family_group(int family) {
    static const int starts[] = {0, 30, 100, 150, 200, 300, 350, 400, 450, 500, 550, 600, 10200, 20100, 20200};
    int group = -1;
    for (int s : starts)
        if (family >= s) group = s;
    return family >= 20300 ? -1 : group;
}

class Archive : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string path = archive_path();
        ASSERT_TRUE(std::filesystem::exists(path)) << "no archive at " << path;
        fs = new sdk::File_System(path);
        for (const char* name : {"sounds.xml", "music.xml", "player.xml", "patterns.xml", "levels.xml",
                                 "text.xml", "sprites.xml", "mirel.xml"}) {
            if (fs->has_file(name)) docs[name] = sdk::Resource_Document(*fs, name);
        }
        collect_registered_names();
    }

    // Start-up's order: sprites, the player and its sprites, the looks, the movements.
    static void collect_registered_names() {
        sdk::Canvas& canvas = test_display::display().canvas;
        preload_sprites(canvas, sdk::Resource_Manager(doc("sprites.xml")));
        sdk::Resource_Manager player_doc(doc("player.xml"));
        player.load(player_doc, "player_kio");
        load_player_sprites(canvas, player_doc);
        load_appearances(canvas, sdk::Resource_Manager(doc("mirel.xml")));
        register_movements(play_field);
        for (const auto& [name, look] : bullet_appearances)
            if (look && !name.starts_with("player_") && name != "bullet_lazor1") enemy_bullet_looks.insert(name);
        for (const auto& [name, look] : enemy_appearances)
            if (look) enemy_looks.insert(name);
        for (const auto& [name, b] : behaviour_registry)
            if (b) bullet_behaviours.insert(name);
        for (const auto& [name, path] : enemy_path_registry)
            if (path) enemy_paths.insert(name);
        for (const auto& row : shot_flash_table) flash_names.insert(row.name);
        destroy_appearance_maps();
    }
    static void TearDownTestSuite() {
        docs.clear();
        delete fs;
        fs = nullptr;
    }

    static const sdk::Resource_Document& doc(const std::string& name) {
        auto it = docs.find(name);
        if (it == docs.end()) throw std::runtime_error("the archive has no " + name);
        return it->second;
    }
    static bool has_doc(const std::string& name) { return docs.count(name) != 0; }
    static Names names_of(const std::string& document, const std::string& type) {
        auto v = doc(document).get_resource_names_of_type(type);
        return Names(v.begin(), v.end());
    }
    static bool has_archive_file(const sdk::Resource_Document& d, const std::string& file) {
        return fs->has_file(d.resolve_path(file));
    }
    // Frame count of a sprite of "sprites.xml", or -1 when there is none of that name.
    static int cached_sprite_frames(const std::string& name) {
        const auto& sprites = doc("sprites.xml");
        if (!sprites.resource_exists(name)) return -1;
        return sprite_frames(sprites.get_resource(name).element);
    }

    // Every pattern code a document uses, with where it came from.
    static std::vector<std::pair<int, std::string>> all_codes();

    static sdk::File_System* fs;
    static std::map<std::string, sdk::Resource_Document> docs;
};

sdk::File_System* Archive::fs = nullptr;
std::map<std::string, sdk::Resource_Document> Archive::docs;

std::vector<std::pair<int, std::string>> Archive::all_codes() {
    std::vector<std::pair<int, std::string>> codes;
    const auto& patterns = doc("patterns.xml");
    for (const auto& card : patterns.get_resource_names_of_type("spellcard"))
        for (const auto& action : patterns.get_resource(card).element.children("action"))
            if (action.get_attribute("name") == "pattern")
                codes.emplace_back(sdk::text_to_int(action.get_text()), "spell card " + card);
    const auto& level = doc("levels.xml").get_resource("testlevel").element;
    for (const auto& event : level.children("event")) {
        if (event.get_attribute("name") != "enemy") continue;
        for (const auto& entry : sdk::split_text(sdk::trim(event.first_child("shots").get_text()), ",")) {
            auto parts = sdk::split_text(entry, ";");
            codes.emplace_back(parts.size() == 3 ? sdk::text_to_int(parts[2]) : -1,
                               "enemy event at " + event.get_attribute("time"));
        }
    }
    return codes;
}

TEST_F(Archive, SoundsNameEverySampleTheGamePlays) {
    const auto& sounds = doc("sounds.xml");
    Names samples = names_of("sounds.xml", "sample");
    for (const auto& name : samples_played) {
        EXPECT_TRUE(contains(samples, name)) << "sounds.xml lacks " << name;
    }
    for (const auto& name : samples) {
        const auto& e = sounds.get_resource(name).element;
        std::string file = e.get_attribute("file");
        ASSERT_TRUE(has_archive_file(sounds, file)) << "sounds.xml: sample '" << name << "' file " << file;
        EXPECT_TRUE(is_sound_file(fs->read_file(sounds.resolve_path(file), sdk::Entry_Kind::sound))) << file;
        // A missing or zero volume would make the sample silent.
        float volume = e.get_attribute_float("volume");
        EXPECT_GT(volume, 0.0f) << "sounds.xml: sample '" << name << "' volume";
        EXPECT_LE(volume, 1.0f) << "sounds.xml: sample '" << name << "' volume";
    }
}

TEST_F(Archive, MusicHoldsTheTracksThatAreRequested) {
    const auto& music = doc("music.xml");
    Names tracks = names_of("music.xml", "track");
    Names wanted = tracks_played;
    for (const auto& event : doc("levels.xml").get_resource("testlevel").element.children("event"))
        if (event.get_attribute("name") == "music_start") wanted.insert(sdk::trim(event.first_child("title").get_text()));
    EXPECT_EQ(wanted.size(), 3u) << "the title, stage and boss tracks";
    for (const auto& name : wanted) {
        EXPECT_TRUE(contains(tracks, name)) << "music.xml lacks " << name;
    }
    for (const auto& name : tracks) {
        std::string file = music.get_resource(name).element.get_attribute("file");
        ASSERT_TRUE(has_archive_file(music, file)) << "music.xml: track '" << name << "' file " << file;
        auto bytes = fs->read_file(music.resolve_path(file), sdk::Entry_Kind::track);
        EXPECT_TRUE(is_sound_file(bytes)) << file;
        EXPECT_GT(bytes.size(), 200000u) << file << " is too short for a track";
    }
}

TEST_F(Archive, PlayerHasEveryKeyAndItsSpritesResolve) {
    const auto& player = doc("player.xml");
    const auto& e = player.get_resource("player_kio").element;
    std::map<std::string, std::string> params;
    for (const auto& p : e.select_nodes("param")) params[p.get_attribute("name")] = p.get_text();
    for (const auto& key : player_keys) {
        ASSERT_TRUE(params.count(key)) << "player.xml: player_kio lacks '" << key << "'";
        EXPECT_TRUE(sdk::is_number(params[key])) << "player.xml: player_kio '" << key << "' = " << params[key];
    }
    // Values whose zero or wrong sign the game cannot live with.
    EXPECT_GT(sdk::text_to_int(params["shot3_bullets"]), 0);
    EXPECT_GT(sdk::text_to_int(params["shot2_steppower"]), 0);
    EXPECT_LT(sdk::text_to_float(params["hitbox"]), sdk::text_to_float(params["graze_size"]));
    EXPECT_GE(sdk::text_to_int(params["spellcard_max_duration"]), sdk::text_to_int(params["spellcard_min_duration"]));

    for (const auto& key : player_sprite_keys) {
        ASSERT_TRUE(params.count(key)) << "player.xml: player_kio lacks '" << key << "'";
        std::string sprite = sdk::trim(params[key]);
        ASSERT_TRUE(player.resource_exists(sprite)) << "player.xml: sprite '" << sprite << "' for " << key;
        const auto& s = player.get_resource(sprite);
        EXPECT_EQ(s.type, "sprite") << sprite;
        if (!has_doc("sprites.xml")) continue;  // the pictures are not in this archive yet
        for (const auto& image : s.element.children("image")) {
            EXPECT_TRUE(has_archive_file(player, image.get_attribute("file")))
                << "player.xml: sprite '" << sprite << "' image " << image.get_attribute("file");
        }
    }
    EXPECT_EQ(sprite_frames(player.get_resource(sdk::trim(params["player_sprite"])).element), 36)
        << "the player sprite's idle, lean, shot and spark frames";
    EXPECT_EQ(sprite_frames(player.get_resource(sdk::trim(params["wind_font_sprite"])).element), 11)
        << "ten digits and the sign";
}

TEST_F(Archive, PatternsResolveTheirLooksBehavioursAndFlashes) {
    const auto& patterns = doc("patterns.xml");
    for (const auto& name : patterns.get_resource_names_of_type("bullet")) {
        const auto& e = patterns.get_resource(name).element;
        std::string look = sdk::trim(e.first_child("render").get_text());
        EXPECT_TRUE(contains(enemy_bullet_looks, look)) << "patterns.xml: bullet '" << name << "' render " << look;
        EXPECT_GT(sdk::text_to_float(e.first_child("collision").get_text()), 0.0f) << name;
        EXPECT_GT(sdk::text_to_int(e.first_child("damage").get_text()), 0) << name;
    }
    for (const auto& name : patterns.get_resource_names_of_type("pattern")) {
        const auto& e = patterns.get_resource(name).element;
        std::string behaviour = sdk::trim(e.first_child("behaviour").get_text());
        EXPECT_TRUE(contains(bullet_behaviours, behaviour)) << "patterns.xml: pattern '" << name << "' behaviour '"
                                                             << behaviour << "'";
        auto effect = e.first_child("effect");
        if (!effect.is_null()) {
            EXPECT_TRUE(contains(flash_names, effect.get_text())) << "patterns.xml: pattern '" << name << "' effect";
        }
        EXPECT_TRUE(name.size() > 1 && name[0] == 'p' && sdk::is_number(name.substr(1)))
            << "patterns.xml: pattern '" << name << "' cannot be reached by a code";
    }
}

TEST_F(Archive, EveryPatternCodeResolvesAndTheStageUsesEveryFamilyAndLook) {
    const auto& patterns = doc("patterns.xml");
    std::set<int> groups;
    Names looks;
    bool laser = false;
    for (const auto& [code, where] : all_codes()) {
        ASSERT_GE(code, 0) << where << ": a shot entry is not trigger;threshold;code";
        ASSERT_LT(code, 100000000) << where << ": player code in an enemy shot";
        Code c = split_code(code);
        std::string descriptor = std::string("p").append(std::to_string(c.family));
        ASSERT_TRUE(patterns.resource_exists(descriptor)) << where << ": code " << code << " needs " << descriptor;
        EXPECT_EQ(patterns.get_resource(descriptor).type, "pattern") << descriptor;
        int group = family_group(c.family);
        EXPECT_GE(group, 0) << where << ": code " << code << " fires nothing";
        groups.insert(group);
        if (group == 600) {  // lasers are drawn by their own look whatever the type
            laser = true;
            continue;
        }
        std::string type = std::string("bullet").append(std::to_string(c.type));
        ASSERT_TRUE(patterns.resource_exists(type)) << where << ": code " << code << " needs bullet type " << type;
        std::string look = sdk::trim(patterns.get_resource(type).element.first_child("render").get_text());
        looks.insert(look);
        EXPECT_LT(c.colour, 16) << where << ": code " << code << " colour";
        // The big-bullet sheet has eight colours to a look.
        if (look.starts_with("bullet_big")) {
            EXPECT_LT(c.colour, 8) << where << ": code " << code << " big colour";
        }
        // A spawner's children are bullet type 0.
        if (group == 10200) {
            EXPECT_TRUE(patterns.resource_exists("bullet0"));
        }
    }
    EXPECT_EQ(groups.size(), 15u) << "the stage uses every enemy pattern family";
    EXPECT_TRUE(laser) << "the stage fires a laser";
    for (const auto& look : enemy_bullet_looks) {
        EXPECT_TRUE(looks.count(look)) << "no shot uses the look " << look;
    }
}

TEST_F(Archive, SpellCardsAreWellFormedAndTheirRingsExist) {
    const auto& patterns = doc("patterns.xml");
    const Names actions = {"move", "wait", "pattern", "speed", "accel", "acting", "spell"};
    int ring_frames = -1;
    if (has_doc("mirel.xml") && doc("mirel.xml").resource_exists("ring1")) {
        // Cut as the ring renderer cuts them.
        const sdk::Dom_Element& ring = doc("mirel.xml").get_resource("ring1").element;
        sdk::Pixel_Buffer strips = sdk::Pixel_Buffer::load(
            *fs, doc("mirel.xml").resolve_path(ring.first_child("image").get_attribute("file")));
        ring_frames = static_cast<int>(cut_ring_frames("ring1", ring, strips.get_size()).size());
    }
    Names cards = names_of("patterns.xml", "spellcard");
    for (const auto& name : cards) {
        const auto& e = patterns.get_resource(name).element;
        EXPECT_GT(e.get_attribute_int("time"), 0) << "patterns.xml: spell card '" << name << "' time";
        int count = 0, rings = 0;
        bool sets_speed = false;
        for (const auto& a : e.children("action")) {
            std::string kind = a.get_attribute("name");
            EXPECT_TRUE(contains(actions, kind)) << "patterns.xml: spell card '" << name << "' action " << kind;
            if (kind == "spell") {
                EXPECT_TRUE(contains(cards, a.get_text())) << name << " includes " << a.get_text();
            }
            if (kind == "speed") sets_speed = true;
            if (kind == "move") {
                auto xy = sdk::split_text(a.get_text(), ";");
                ASSERT_EQ(xy.size(), 2u) << name << " move " << a.get_text();
                int x = sdk::text_to_int(xy[0]), y = sdk::text_to_int(xy[1]);
                EXPECT_TRUE(x >= 56 && x <= 392 && y >= 40 && y <= 240) << name << " moves the boss to " << x << "," << y;
            }
            ++count;
        }
        EXPECT_GT(count, 0) << "patterns.xml: spell card '" << name << "' has no actions";
        EXPECT_TRUE(sets_speed) << "patterns.xml: spell card '" << name << "' never sets the boss's speed";
        for (const auto& fx : e.children("effect")) {
            std::string kind = fx.get_attribute("name");
            if (kind == "ring") {
                auto v = sdk::split_text(fx.get_text(), ";");
                ASSERT_EQ(v.size(), 4u) << name << " ring " << fx.get_text();
                int id = sdk::text_to_int(v[0]);
                ++rings;
                if (ring_frames >= 0) {
                    EXPECT_LT(id, ring_frames) << name << ": ring " << id << " has no strip in ring1";
                }
            } else {
                EXPECT_EQ(kind, "background") << name;
                EXPECT_EQ(fx.get_text(), "rimea_back_1") << name;
            }
        }
        EXPECT_LE(rings, 8) << name;
    }
}

TEST_F(Archive, StageEventsResolveAndCoverTheStage) {
    const auto& level = doc("levels.xml").get_resource("testlevel").element;
    Names cards = names_of("patterns.xml", "spellcard");
    const auto& text = doc("text.xml");
    const Names kinds = {"enemy", "boss", "dialog", "effect", "music_start", "music_stop", "level_end", "wait"};
    Names paths, looks;
    std::set<std::string> kinds_seen;
    float boss_time = -1.0f, last_time = 0.0f;
    bool ends_after_boss = false;
    for (const auto& event : level.children("event")) {
        std::string kind = event.get_attribute("name");
        std::string where = "levels.xml: event " + kind + " at " + event.get_attribute("time");
        float time = event.get_attribute_float("time");
        last_time = std::max(last_time, time);
        ASSERT_TRUE(contains(kinds, kind)) << where;
        kinds_seen.insert(kind);
        if (kind == "enemy" || kind == "boss") {
            auto params = sdk::split_text(event.first_child("params").get_text(), ";");
            ASSERT_EQ(params.size(), 11u) << where << ": params";
            float x = sdk::text_to_float(params[0]), y = sdk::text_to_float(params[1]);
            // Enemies enter from above the field or its edges, never inside the player's reach.
            EXPECT_TRUE(y <= 0.0f || x <= 0.0f || x >= 384.0f) << where << " starts inside the field";
            std::string path = sdk::trim(event.first_child("path").get_text());
            std::string look = sdk::trim(event.first_child("render").get_text());
            EXPECT_TRUE(contains(enemy_paths, path)) << where << ": path " << path;
            EXPECT_TRUE(contains(enemy_looks, look)) << where << ": render " << look;
            paths.insert(path);
            looks.insert(look);
            EXPECT_EQ(kind == "boss", path == "enemy_boss0") << where << ": only the boss takes the boss path";
        }
        if (kind == "enemy") {
            auto shots = sdk::split_text(sdk::trim(event.first_child("shots").get_text()), ",");
            EXPECT_LE(shots.size(), 64u) << where;
            for (const auto& s : shots) {
                auto v = sdk::split_text(s, ";");
                ASSERT_EQ(v.size(), 3u) << where << ": shot " << s;
                int trigger = sdk::text_to_int(v[0]);
                EXPECT_TRUE(trigger >= 1 && trigger <= 3) << where << ": shot " << s;
            }
        }
        if (kind == "boss") {
            boss_time = time;
            int phases = sdk::text_to_int(event.first_child("shots").get_text());
            EXPECT_GE(phases, 4) << where;
            EXPECT_EQ(event.first_child("name").get_text(), "rimea") << where;
            std::string dialog = event.first_child("dialog").get_text();
            for (const char* suffix : {"_rus", "_jap"}) {
                EXPECT_TRUE(text.resource_exists(dialog + suffix)) << where << ": dialog " << dialog << suffix;
            }
            for (int i = 1; i <= phases; ++i) {
                auto phase = event.select_node("spellcard" + std::to_string(i));
                for (const char* card : {"spell", "nonspell"}) {
                    EXPECT_TRUE(contains(cards, phase.first_child(card).get_text()))
                        << where << ": phase " << i << " " << card << " " << phase.first_child(card).get_text();
                }
                EXPECT_GT(sdk::text_to_int(phase.first_child("hp_nonspell").get_text()), 0) << where;
                EXPECT_GT(sdk::text_to_int(phase.first_child("hp_spell").get_text()), 0) << where;
                EXPECT_GT(sdk::text_to_float(phase.first_child("start_speed").get_text()), 0.0f) << where;
                EXPECT_EQ(sdk::split_text(phase.first_child("start_position").get_text(), ";").size(), 2u) << where;
            }
        }
        if (kind == "dialog") {
            std::string title = event.first_child("title").get_text();
            for (const char* suffix : {"_rus", "_jap"}) {
                EXPECT_TRUE(text.resource_exists(title + suffix)) << where << ": dialog " << title << suffix;
            }
            if (boss_time >= 0.0f && time > boss_time) {
                for (const auto& a : text.get_resource(title + "_rus").element.children("action"))
                    if (a.get_attribute("name") == "level_end") ends_after_boss = true;
            }
        }
        if (kind == "level_end" && boss_time >= 0.0f) ends_after_boss = true;
    }
    for (const auto& path : enemy_paths) {
        EXPECT_TRUE(paths.count(path)) << "no wave uses the path " << path;
    }
    for (const auto& look : enemy_looks) {
        EXPECT_TRUE(looks.count(look)) << "no wave uses the look " << look;
    }
    for (const char* k : {"music_start", "music_stop", "dialog", "boss", "wait"}) {
        EXPECT_TRUE(kinds_seen.count(k)) << k;
    }
    EXPECT_TRUE(ends_after_boss) << "the stage must end after the boss";
    // Four to six minutes with the dialogs and the fight: the script itself runs three or more.
    EXPECT_GE(boss_time, 180000.0f);
    EXPECT_LE(last_time, 260000.0f);
}

TEST_F(Archive, DialogsComeInBothLanguagesAndNameKnownCharacters) {
    const auto& text = doc("text.xml");
    Names dialogs = names_of("text.xml", "dialog");
    int faces = -1;
    if (has_doc("sprites.xml")) faces = cached_sprite_frames("char_sprite_kio1");
    for (const auto& name : dialogs) {
        std::string base = name.substr(0, name.size() - 4), suffix = name.substr(name.size() - 4);
        ASSERT_TRUE(suffix == "_rus" || suffix == "_jap") << "text.xml: dialog '" << name << "'";
        EXPECT_TRUE(contains(dialogs, base + (suffix == "_rus" ? "_jap" : "_rus"))) << name << " has no twin";
        for (const auto& a : text.get_resource(name).element.children("action")) {
            std::string kind = a.get_attribute("name");
            ASSERT_TRUE(contains(dialog_actions, kind)) << "text.xml: dialog '" << name << "' action " << kind;
            if (kind == "feed_char_left") {
                EXPECT_EQ(a.get_text(), "kio") << name;
            }
            if (kind == "feed_char_right") {
                EXPECT_TRUE(portraits.count(a.get_text())) << name << " " << a.get_text();
            }
            if (kind == "set_char_face") {
                std::string who = a.get_attribute("char");
                ASSERT_TRUE(portraits.count(who)) << name << " face of " << who;
                int frame = sdk::text_to_int(a.get_text());
                EXPECT_GE(frame, 0) << name;
                if (faces >= 0) {
                    int frames = cached_sprite_frames(portraits.at(who));
                    EXPECT_LT(frame, frames) << name << ": " << who << " has no face " << frame;
                }
            }
            if (kind == "show_pic" && has_doc("sprites.xml")) {
                EXPECT_GE(cached_sprite_frames(a.get_text()), 1) << name << " shows " << a.get_text();
            }
        }
    }
}

TEST_F(Archive, SpriteDocumentsHoldWhatTheStageDocumentsName) {
    if (!has_doc("sprites.xml")) GTEST_SKIP() << "the archive has no sprites.xml yet";
    for (const auto& [who, sprite] : portraits) {
        EXPECT_GE(cached_sprite_frames(sprite), 1) << sprite;
    }
    EXPECT_GE(cached_sprite_frames("dialog_frame"), 1);
    // Two name pictures per spell card: Japanese by phase, then Russian.
    const auto& level = doc("levels.xml").get_resource("testlevel").element;
    for (const auto& event : level.children("event")) {
        if (event.get_attribute("name") != "boss") continue;
        int phases = sdk::text_to_int(event.first_child("shots").get_text());
        EXPECT_EQ(cached_sprite_frames("spellcard_names"), 2 * phases);
    }
    for (const char* sprite : {"bullets", "bullets2", "magic_flash", "enemy_fairy1", "enemy_fairy2", "kedama",
                               "enemy_boss_rimea", "fairy_splash"})
        EXPECT_GE(cached_sprite_frames(sprite), 1) << sprite;
    // Each fairy's colour picks a row of twelve frames of its sheet, and a
    // frame of its small circle (the big circle is drawn with the frame it has).
    const std::map<std::string, std::vector<std::pair<std::string, int>>> fairy_sheets = {
        {"enemy_fairy1", {{"enemy_fairy1", 12}}},
        {"enemy_fairy2", {{"enemy_fairy1", 12}, {"fairy_circle", 1}}},
        {"enemy_fairy3", {{"enemy_fairy1", 12}}},
        {"enemy_fairy10", {{"enemy_fairy2", 12}}},
    };
    for (const auto& event : level.children("event")) {
        if (event.get_attribute("name") != "enemy") continue;
        auto look = fairy_sheets.find(sdk::trim(event.first_child("render").get_text()));
        if (look == fairy_sheets.end()) continue;
        int colour = sdk::text_to_int(sdk::split_text(event.first_child("params").get_text(), ";").at(7));
        for (const auto& [sprite, per_colour] : look->second) {
            EXPECT_LT(colour * per_colour, cached_sprite_frames(sprite))
                << "levels.xml: event at " << event.get_attribute("time") << ": " << sprite << " has no colour " << colour;
        }
    }
    EXPECT_GE(cached_sprite_frames("bullets"), 17 * 16) << "seventeen rows of sixteen colours";
    EXPECT_GE(cached_sprite_frames("bullets2"), 32) << "four big looks of eight colours";
}

}  // namespace
