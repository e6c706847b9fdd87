// The stage as the world targets run it: the stage documents of the archive
// (or, while the archive has none, the world tests' fixture documents), and a
// short run of a level with an input that moves, shoots, focuses, bombs and
// blows the wind, so what a document loaded is also used.
#pragma once

#include <pugixml.hpp>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "world/enemy_lists.h"
#include "world/level.h"
#include "world/player.h"
#include "world/player_input.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/stage_frame.h"

namespace fuzz {

constexpr float frame_ms = 17.0f;

// The folder of the stage documents: the archive, or the world tests'
// fixtures while the archive has none.
inline sdk::File_System stage_folder(const std::string& name) {
    if (archive().has_file(name)) return archive();
    return sdk::File_System(std::string(MIREL_SOURCE_DIR) + "/tests/world/fixtures");
}

inline sdk::Resource_Manager stage_document(const std::string& name) {
    return sdk::Resource_Manager(sdk::Resource_Document(stage_folder(name), name));
}

// A stage document read whole into `xml`, to be rewritten before it loads.
inline void parse_stage_document(const std::string& name, pugi::xml_document& xml) {
    std::vector<uint8_t> bytes = stage_folder(name).read_file(name, sdk::Entry_Kind::document);
    xml.load_buffer(bytes.data(), bytes.size());
}

// The rewritten "levels.xml", loaded as the game would load it.
inline sdk::Resource_Manager levels_from(const pugi::xml_document& xml) {
    std::ostringstream text;
    xml.save(text);
    return sdk::Resource_Manager(
        sdk::Resource_Document::from_text(text.str(), "levels.xml", stage_folder("levels.xml")));
}

// "levels.xml" for the targets that fuzz another document: without the
// enemies later than a run of `frames` frames reaches, which every input
// would load again and never meet. The few events of other kinds stay, so
// the loader still reads every kind, and the bosses name the spell cards it
// looks up.
inline sdk::Resource_Manager reachable_levels(int frames) {
    pugi::xml_document xml;
    parse_stage_document("levels.xml", xml);
    for (pugi::xml_node level : xml.child("resources").children("level")) {
        std::vector<pugi::xml_node> late;
        for (pugi::xml_node event : level.children("event")) {
            if (event.attribute("time").as_float() > static_cast<float>(frames) * frame_ms &&
                std::string(event.attribute("name").value()) == "enemy")
                late.push_back(event);
        }
        for (pugi::xml_node event : late) level.remove_child(event);
    }
    return levels_from(xml);
}

// "levels.xml" for the patterns target: every pattern family the stage fires,
// from its enemies and from its boss's spell cards, each from an enemy of its
// own within a run of `frames` frames, so that every descriptor the stage uses
// is also fired, not only loaded (the boss comes long after a run's end). Each
// family's first code in the stage, or else in the cards of the stage's
// "patterns.xml", stands for it; the first enemy of the stage is the template
// of all, firing its code once it is 300 ms old. They come after the bomb of
// play_frames (frames 100 to about 280), which would clear them, and before
// the run's end. The boss and the other events stay as they are.
inline sdk::Resource_Manager pattern_showcase(int frames) {
    pugi::xml_document xml, cards;
    parse_stage_document("levels.xml", xml);
    parse_stage_document("patterns.xml", cards);
    for (pugi::xml_node level : xml.child("resources").children("level")) {
        std::vector<pugi::xml_node> enemies;
        std::vector<std::string> codes;
        std::vector<int> families;
        auto add = [&](const std::string& code) {
            int family = std::atoi(code.c_str()) / 1000;
            if (std::find(families.begin(), families.end(), family) != families.end()) return;
            families.push_back(family);
            codes.push_back(code);
        };
        for (pugi::xml_node event : level.children("event")) {
            if (std::string(event.attribute("name").value()) != "enemy") continue;
            enemies.push_back(event);
            std::stringstream shots(event.child_value("shots"));
            for (std::string entry; std::getline(shots, entry, ',');)
                if (entry.find(';') != std::string::npos) add(entry.substr(entry.rfind(';') + 1));
        }
        if (enemies.empty()) continue;
        for (pugi::xml_node card : cards.child("resources").children("spellcard"))
            for (pugi::xml_node action : card.children("action"))
                if (std::string(action.attribute("name").value()) == "pattern")
                    add(action.child_value());
        pugi::xml_node first = level.first_child();
        const float run = static_cast<float>(frames) * frame_ms;
        const float from = 300.0f * frame_ms;
        const float spacing = (run * 0.93f - from) / static_cast<float>(codes.size());
        for (size_t k = 0; k < codes.size(); ++k) {
            pugi::xml_node event = level.insert_copy_before(enemies.front(), first);
            event.attribute("time").set_value(
                static_cast<double>(from + spacing * static_cast<float>(k)));
            event.child("shots").text().set(("1;300;" + codes[k]).c_str());
        }
        for (pugi::xml_node event : enemies) level.remove_child(event);
    }
    return levels_from(xml);
}

// An update of the stage that takes over 100 ms in the release build is a
// finding, as a crash is: the documents' numbers must not buy seconds of
// work in one frame. The targets run under the sanitizers, which make this
// code several times slower, so the limit here is five times 100 ms (the
// slowest frame of all the corpora takes under 20 ms); and it is the time
// the frame took of this thread's processor, which other programs running
// beside it (CI fuzzes five targets at once) do not lengthen.
constexpr double slow_update_ms = 5 * 100.0;

inline double thread_cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One frame of the stage; a slow one ends the target with a report.
inline void timed_stage_frame(int frame, const Stage_Input& input) {
    double start = thread_cpu_ms();
    run_stage_frame(frame_ms, input);
    double took = thread_cpu_ms() - start;
    if (took > slow_update_ms) {
        std::fprintf(stderr,
                     "==%d== ERROR: slow update: frame %d of the stage took %.0f ms of processor "
                     "time (the limit under the sanitizers: %.0f ms)\n",
                     static_cast<int>(::getpid()), frame, took, slow_update_ms);
        std::abort();
    }
}

// Plays `frames` frames of frame_ms of the level that start_stage_run set up.
inline void play_frames(int frames) {
    for (int f = 0; f < frames && !stage_clear && !game_over; ++f) {
        Player_Input in;
        in.z = f % 40 < 30;
        in.left = f % 90 < 30;
        in.right = f % 90 >= 60;
        in.up = f % 120 < 10;
        in.left_shift = f % 200 > 150;
        in.x = f == 100;
        in.c = f == 170;
        Stage_Input input;
        input.devices = &in;
        input.advances = f % 10 == 0;
        timed_stage_frame(f, input);
    }
}

// Leaves the world as the target found it. Nothing draws here, so the dying
// animations that end the dead stack's enemies never run; the stack is
// emptied by hand, or it would grow with every input.
inline void end_run() {
    reset_world();
    enemy_lists.dead.clear();
    clear_run_flags();
    // The level's script goes too, so that every input frees what it took:
    // one that loads a level after one that did not would leave more blocks
    // than it freed, and libFuzzer would run it again to look for a leak.
    std::vector<Level_Event>().swap(level_events);
    boss_spellcards.clear();
}

inline void play_level(const sdk::Resource_Manager& levels, const std::string& name, int frames) {
    same_random_start();
    start_lives = 3;
    start_stage_run(levels, name);
    play_frames(frames);
    end_run();
}

}  // namespace fuzz
