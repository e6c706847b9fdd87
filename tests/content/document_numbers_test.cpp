// The numbers of the archive's documents as the real loaders read them: each
// row takes a shipped document, writes one value as a document would write
// it ("-1", "3000000000", "12abc"), loads the document and reads back what
// was loaded, or the refusal, which quotes the value as written. Numbers the
// game gives a meaning load as written (a negative count streams until its
// owner goes, any colour, drop or trigger loads, a number of 0 or less is
// off); numbers that size memory are held to their bounds or refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>
#include <string>

#include "render/background.h"
#include "render/sprite_cache.h"
#include "sdk/core/exception.h"
#include "sdk/core/string_help.h"
#include "tests/content/archive_stage_player.h"
#include "tests/sdk/display_fixture.h"
#include "world/level.h"
#include "world/registries.h"

namespace {

using namespace stage_test;

// `text` with the element or attribute at `path` set to `value`; with a
// `field`, only that entry of its ';'-separated list. A null `value`
// removes the element.
std::string with_value(const std::string& text, const char* path, int field, const char* value) {
    pugi::xml_document doc;
    if (!doc.load_string(text.c_str())) throw std::runtime_error("the document does not parse");
    pugi::xpath_node at = doc.select_node(path);
    if (!at) throw std::runtime_error(std::string("no node at ") + path);
    if (at.attribute()) {
        at.attribute().set_value(value);
    } else if (!value) {
        at.node().parent().remove_child(at.node());
    } else if (field < 0) {
        at.node().text().set(value);
    } else {
        std::vector<std::string> entries = sdk::split_text(at.node().text().get(), ";");
        entries.at(static_cast<size_t>(field)) = value;
        std::string joined;
        for (size_t i = 0; i < entries.size(); ++i) joined += (i ? ";" : "") + entries[i];
        at.node().text().set(joined.c_str());
    }
    std::ostringstream out;
    doc.save(out);
    return out.str();
}

std::string shown(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", value);
    return buf;
}

const sdk::Rect field_rect(32, 16, 416, 464);

// Loads `name` from `text` through the loader start-up and run start use
// for it, into the world's stores or, for "mirel.xml", into `background`
// (the stage's "stage_kio"). "levels.xml" loads over the archive's patterns
// and cards, and its first enemy is spawned.
void load(const std::string& name, const std::string& text, Background& background) {
    sdk::File_System fs(archive_path());
    sdk::Resource_Manager doc(sdk::Resource_Document::from_text(text, name, fs));
    install_named_looks();
    if (name == "patterns.xml") {
        load_patterns(doc);
    } else if (name == "player.xml") {
        player.load(doc, "player_kio");
    } else if (name == "levels.xml") {
        load_patterns(sdk::Resource_Manager(sdk::Resource_Document(fs, "patterns.xml")));
        load_level(doc, "testlevel");
        process_level_events(2001.0f);  // the first enemy comes at 2000 ms
    } else {
        // The backgrounds take their particles' sprites from "sprites.xml".
        static bool sprites_cached = false;
        if (!sprites_cached) {
            preload_sprites(test_display::display().canvas,
                            sdk::Resource_Manager(sdk::Resource_Document(fs, "sprites.xml")));
            sprites_cached = true;
        }
        background.load(test_display::display().canvas, "stage_kio", doc, field_rect);
    }
}

const Enemy& first_enemy() {
    if (enemy_lists.active_count == 0) throw std::runtime_error("no enemy spawned");
    return *enemy_lists.active[0];
}

const char* const stream = "/resources/pattern[@name='p300']/bullet_number";  // aimed streams
const char* const volley = "/resources/pattern[@name='p100']/bullet_number";  // rings at once
const char* const flash = "/resources/pattern[@name='p150']/effect_index";
const char* const accel = "/resources/spellcard[@name='rimea_attack1']/action[@name='accel']";
const char* const enemy = "/resources/level[@name='testlevel']/event[@name='enemy'][1]/params";
const char* const shots = "/resources/level[@name='testlevel']/event[@name='enemy'][1]/shots";
const char* const leaves =
    "/resources/background[@name='stage_kio']/effect[@name='happa'][1]/param[@name='number']";
const char* const trees = "/resources/background[@name='stage_kio']/effect[@name='trees']";
const char* const clouds = "/resources/background[@name='stage_kio']/effect[@name='clouds']";
const char* const ground_width =
    "/resources/background[@name='stage_kio']/layer[@name='ground']/tilemap/@width";
const char* const shot2_damage =
    "/resources/player[@name='player_kio']/param[@name='shot2_damage']";

std::string param(const char* effect, const char* key) {
    return std::string(effect) + "/param[@name='" + key + "']";
}

// The effects of "stage_kio", in the document's order.
enum { trees_effect, clouds_effect };

TEST(Document_Numbers, LoadAsWrittenOrHeldToTheirBounds) {
    using Read = std::string (*)(const Background&);
    Read stream_count = [](const Background&) {
        return std::to_string(pattern_types.at("p300").bullet_number);
    };
    Read volley_count = [](const Background&) {
        return std::to_string(pattern_types.at("p100").bullet_number);
    };
    Read flash_index = [](const Background&) {
        return std::to_string(pattern_types.at("p150").effect_index);
    };
    Read colour = [](const Background&) { return std::to_string(first_enemy().colour); };
    Read drop = [](const Background&) { return std::to_string(first_enemy().drop); };
    Read trigger = [](const Background&) { return std::to_string(first_enemy().shots[0].trigger); };
    Read effect_number = [](const Background& bg) {
        std::string numbers;
        for (const Background_Effect& e : bg.get_effects())
            numbers += (numbers.empty() ? "" : ",") + std::to_string(e.number);
        return numbers;
    };
    Read tree_size_max = [](const Background& bg) {
        return shown(bg.get_effects()[trees_effect].size_max);
    };
    Read cloud_size_min = [](const Background& bg) {
        return shown(bg.get_effects()[clouds_effect].size_min);
    };
    Read cloud_size_max = [](const Background& bg) {
        return shown(bg.get_effects()[clouds_effect].size_max);
    };
    Read cloud_zoom = [](const Background& bg) {
        return shown(bg.get_effects()[clouds_effect].zoom);
    };
    Read ground_map = [](const Background& bg) {
        const Background_Layer& g = bg.get_layers()[0];
        return std::to_string(g.width) + "x" + std::to_string(g.height);
    };
    Read damage = [](const Background&) { return std::to_string(player.shot2_damage); };
    Read nothing = [](const Background&) { return std::string("loaded"); };

    struct Row {
        const char* document;
        std::string path;
        int field;  // the entry of a ';' list, or -1 for the whole value
        const char* value;
        Read read;
        const char* expected;  // what was read, or the refusal
    };
    const Row rows[] = {
        // A count loads as written (a negative stream fires until its owner
        // goes), or held to the ends of an i32.
        {"patterns.xml", stream, -1, "-1", stream_count, "-1"},
        {"patterns.xml", stream, -1, "3000000000", stream_count, "2147483647"},
        {"patterns.xml", stream, -1, "-3000000000", stream_count, "-2147483648"},
        {"patterns.xml", volley, -1, "2147483647", volley_count, "2147483647"},
        // The flash takes the colour's low byte.
        {"patterns.xml", flash, -1, "256", flash_index, "256"},
        {"patterns.xml", flash, -1, "-1", flash_index, "-1"},
        // Written over two lines, the value is quoted on one.
        {"patterns.xml", accel, -1, "1e30\n\t2", nothing,
         "patterns.xml: spellcard 'rimea_attack1': 'accel' is 1e30\\n\\t2, not a number from "
         "-2147.483648 to 2147.483647"},
        // The looks clamp a colour to their frames; a drop outside 1 to 4 and
        // a trigger outside 1 to 3 are kept as 0, never as their low byte.
        {"levels.xml", enemy, 7, "300", colour, "300"},
        {"levels.xml", enemy, 7, "3000000000", colour, "2147483647"},
        {"levels.xml", enemy, 7, "-5", colour, "-5"},
        {"levels.xml", enemy, 10, "-1", drop, "0"},
        {"levels.xml", enemy, 10, "260", drop, "0"},
        {"levels.xml", shots, 0, "256", trigger, "0"},
        {"levels.xml", shots, 0, "257", trigger, "0"},
        // A number of 0 or less is off; leaves and clouds switch on any
        // larger one, held to 1000; the trees spawn theirs at once.
        {"mirel.xml", leaves, -1, "0", effect_number, "1,1,0,1"},
        {"mirel.xml", leaves, -1, "-5", effect_number, "1,1,0,1"},
        {"mirel.xml", leaves, -1, "6.66667e37", effect_number, "1,1,1000,1"},
        {"mirel.xml", param(clouds, "number"), -1, "-1", effect_number, "1,0,1,1"},
        {"mirel.xml", param(trees, "number"), -1, "-1", effect_number, "0,1,1,1"},
        {"mirel.xml", param(trees, "number"), -1, "3000000000", nothing,
         "mirel.xml: background 'stage_kio': effect 'trees': 'number' is 3000000000, not a count "
         "from 0 to the ceiling 1000"},
        // Particle sizes are held to -8..8, a cloud's zoom to 1/8..8; an
        // absent zoom leaves clouds as drawn.
        {"mirel.xml", param(trees, "size_max"), -1, "2147483648", tree_size_max, "8"},
        {"mirel.xml", param(clouds, "size_min"), -1, "4294967296", cloud_size_min, "8"},
        {"mirel.xml", param(clouds, "size_max"), -1, "-1e30", cloud_size_max, "-8"},
        {"mirel.xml", param(clouds, "zoom"), -1, "12abc", cloud_zoom, "8"},
        {"mirel.xml", param(clouds, "zoom"), -1, "-3", cloud_zoom, "0.125"},
        {"mirel.xml", param(clouds, "zoom"), -1, nullptr, cloud_zoom, "1"},
        // A negative side draws nothing.
        {"mirel.xml", ground_width, -1, "-1", ground_map, "0x0"},
        // Held as the largest i32; hits sum it in 64 bits.
        {"player.xml", shot2_damage, -1, "2147483648", damage, "2147483647"},
    };
    sdk::File_System fs(archive_path());
    Recording_Sound_Sink sink;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.document) + " " + row.path + " = " +
                     (row.value ? row.value : "(removed)"));
        reset_stage_globals();
        installed_sound_sink = &sink;
        std::vector<uint8_t> bytes = fs.read_file(row.document, sdk::Entry_Kind::document);
        std::string text = with_value(std::string(bytes.begin(), bytes.end()), row.path.c_str(),
                                      row.field, row.value);
        Background background;
        std::string outcome;
        try {
            load(row.document, text, background);
            outcome = row.read(background);
        } catch (const std::exception& e) {
            outcome = e.what();
        }
        EXPECT_EQ(outcome, row.expected);
    }
    installed_sound_sink = nullptr;
    reset_stage_globals();
}

const char* const boss = "/resources/level[@name='testlevel']/event[@name='boss']/params";
const char* const phase1 = "/resources/level[@name='testlevel']/event[@name='boss']/spellcard1/";
const char* const card_speed = "/resources/spellcard[@name='rimea_attack1']/action[@name='speed']";
const char* const card_move = "/resources/spellcard[@name='rimea_attack1']/action[@name='move'][1]";
const char* const card_accel = accel;

// The boss's moves: what cannot bring the boss where it is sent, or only in
// more time than its clocks count, stops the load naming the value; what
// arrives loads, however far or slow.
TEST(Document_Numbers, BossMovesThatCannotArriveAreRefusedNamingTheValue) {
    const std::string at = "levels.xml: level 'testlevel', event 233 (time 198000): ";
    const std::string line = "its stop line at y 170";
    const std::string reach = "-65536 to 65536 px";
    const std::string entry_bounds =
        "an entry must go down at least 0.015258789 px/s and take less than 16777216 ms";
    struct Row {
        const char* document;
        std::string path;
        int field;
        const char* value;
        std::string expected;  // the refusal, or "loaded"
    };
    const Row rows[] = {
        // Entry: x;y;heading;angle;base speed;speed;...
        {"levels.xml", boss, 2, "0", at + "'params' heading 0 does not take the boss down to " + line},
        {"levels.xml", boss, 2, "180", at + "'params' heading 180 does not take the boss down to " + line},
        {"levels.xml", boss, 2, "-90", at + "'params' heading -90 does not take the boss down to " + line},
        {"levels.xml", boss, 5, "0", at + "'params' speed '0' px/s does not take the boss down to " + line},
        {"levels.xml", boss, 5, "-130", at + "'params' speed '-130' px/s does not take the boss down to " + line},
        {"levels.xml", boss, 5, "fast", at + "'params' speed 'fast' px/s does not take the boss down to " + line},
        {"levels.xml", boss, 5, "1e-40",
         at + "'params' speed 1e-40 px/s at heading 90 brings the boss down at 9.9492e-41 px/s at "
              "its slowest, and to " + line + " in inf ms; " + entry_bounds},
        {"levels.xml", boss, 2, "1e-30",
         at + "'params' speed 130 px/s at heading 1e-30 brings the boss down at 7.853982e-31 px/s "
              "at its slowest, and to " + line + " in 2.673803e+35 ms; " + entry_bounds},
        {"levels.xml", boss, 5, "0.001",
         at + "'params' speed 0.001 px/s at heading 90 brings the boss down at 0.001 px/s at its "
              "slowest, and to " + line + " in 2.1e+08 ms; " + entry_bounds},
        {"levels.xml", boss, 1, "-65536",
         at + "'params' puts the boss at 224;-65536, outside the " + reach + " it may be sent to"},
        {"levels.xml", boss, 0, "65536",
         at + "'params' puts the boss at 65568;-40, outside the " + reach + " it may be sent to"},
        {"levels.xml", boss, 2, "0.01",
         at + "'params' speed 130 px/s at heading 0.01 brings the boss down at 0.007853981 px/s "
              "at its slowest, and to " + line + " in 26738030 ms; " + entry_bounds},
        {"levels.xml", boss, 5, "1e30",
         at + "'params' heading 90 and speed 1e30 px/s may take the boss 8.742278e+22 px aside on "
              "its way in, past the " + reach + " it may be sent to"},
        // Phases.
        {"levels.xml", std::string(phase1) + "start_position", -1, "65536;100",
         at + "spellcard1: 'start_position' puts the boss at 65568;100, outside the " + reach +
             " it may be sent to"},
        {"levels.xml", std::string(phase1) + "start_wait", -1, "2147483647",
         at + "spellcard1: 'start_wait' is 2147483647 ms; a wait must be shorter than 16777216 ms"},
        {"levels.xml", std::string(phase1) + "start_wait", -1, "16777216",
         at + "spellcard1: 'start_wait' is 16777216 ms; a wait must be shorter than 16777216 ms"},
        {"levels.xml", std::string(phase1) + "start_speed", -1, "1e-40",
         at + "spellcard1: 'start_speed' 1e-40 px/s takes up to inf ms to cross the 183.57559 px "
              "the boss moves in; a move must take less than 16777216 ms"},
        // Below its line, a boss that even the shortest first step carries
        // back over it, heading up.
        {"levels.xml", boss, -1, "192;200;270;90;130;30000;24;0;0;0;0",
         at + "'params' puts the boss at 224;200, below " + line + ", and speed 30000 px/s at "
              "heading 270 takes it at least 30 px up in its first step, back over the line and "
              "away from it"},
        // Cards.
        {"patterns.xml", card_move, -1, "65536;110",
         "patterns.xml: spellcard 'rimea_attack1': 'move' is '65536;110', not a place from "
         "-65536 to 65536 px"},
        {"patterns.xml", card_move, -1, "160;-70000",
         "patterns.xml: spellcard 'rimea_attack1': 'move' is '160;-70000', not a place from "
         "-65536 to 65536 px"},
        // What arrives loads: a boss below its line is placed on it by a
        // first step short enough to leave it there, which climbs next to
        // nothing, or its speed's worth of pixels where the brake (above
        // 0.05 px/ms) multiplies the speed by 1 / dt + 0.9; a start speed of
        // 0 places the boss at once; a card's speed below 0 still
        // brings its moves to their targets.
        {"levels.xml", boss, 1, "170", "loaded"},
        {"levels.xml", boss, 1, "400", "loaded"},
        {"levels.xml", boss, -1, "192;200;270;90;130;130;24;0;0;0;0", "loaded"},
        {"levels.xml", boss, -1, "192;200;270;90;130;29000;24;0;0;0;0", "loaded"},
        {"levels.xml", boss, -1, "192;200;90;90;130;-130;24;0;0;0;0", "loaded"},
        {"levels.xml", boss, -1, "192;171;270;90;40;40;24;0;0;0;0", "loaded"},
        {"levels.xml", boss, 5, "20001", "loaded"},
        {"levels.xml", boss, 5, "1", "loaded"},
        {"levels.xml", boss, 2, "1", "loaded"},
        {"levels.xml", boss, 2, "179", "loaded"},
        {"levels.xml", boss, 1, "-65000", "loaded"},
        {"levels.xml", std::string(phase1) + "start_position", -1, "65000;-65000", "loaded"},
        {"levels.xml", std::string(phase1) + "start_wait", -1, "16777215", "loaded"},
        {"levels.xml", std::string(phase1) + "start_wait", -1, "-5", "loaded"},
        {"levels.xml", std::string(phase1) + "start_speed", -1, "0", "loaded"},
        {"levels.xml", std::string(phase1) + "start_speed", -1, "-160", "loaded"},
        {"levels.xml", std::string(phase1) + "start_speed", -1, "0.5", "loaded"},
        {"patterns.xml", card_speed, -1, "0", "loaded"},
        {"patterns.xml", card_speed, -1, "-1", "loaded"},
        {"patterns.xml", card_speed, -1, "-1000", "loaded"},
        {"patterns.xml", card_accel, -1, "3", "loaded"},
        {"patterns.xml", card_move, -1, "65535;-65535", "loaded"},
    };
    sdk::File_System fs(archive_path());
    Recording_Sound_Sink sink;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.document) + " " + row.path + " = " + row.value);
        reset_stage_globals();
        installed_sound_sink = &sink;
        std::vector<uint8_t> bytes = fs.read_file(row.document, sdk::Entry_Kind::document);
        std::string text = with_value(std::string(bytes.begin(), bytes.end()), row.path.c_str(),
                                      row.field, row.value);
        Background background;
        std::string outcome = "loaded";
        try {
            load(row.document, text, background);
        } catch (const std::exception& e) {
            outcome = e.what();
        }
        EXPECT_EQ(outcome, row.expected);
    }
    installed_sound_sink = nullptr;
    reset_stage_globals();
}

}  // namespace
