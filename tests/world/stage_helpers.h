// Shared pieces of the stage tests: the fixture documents, a sound sink and
// a presentation that remember what was asked of them, a log catcher, and a
// reset of every global of the stage so each test starts clean.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/resource_document.h"
#include "world/appearances.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/enemy_lists.h"
#include "world/geometry.h"
#include "world/item_pool.h"
#include "world/level.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/registries.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/sound_sink.h"
#include "world/stage_presentation.h"

namespace stage_test {

inline std::string fixture_dir() {
    if (const char* src = std::getenv("MIREL_SOURCE_DIR"))
        return std::string(src) + "/tests/world/fixtures";
    std::string here = __FILE__;
    return here.substr(0, here.find_last_of('/')) + "/fixtures";
}

inline sdk::Resource_Manager fixture_document(const std::string& file) {
    return sdk::Resource_Manager(sdk::Resource_Document(sdk::File_System(fixture_dir()), file));
}

inline sdk::Resource_Manager document_from_text(const std::string& text, const std::string& name) {
    return sdk::Resource_Manager(sdk::Resource_Document::from_text(text, name));
}

struct Recording_Sound_Sink : Sound_Sink {
    std::vector<std::string> sounds;
    std::vector<std::string> music;  // "play NAME" and "stop"
    void play_sound_scaled(std::string_view name, float) override { sounds.emplace_back(name); }
    void play_music(std::string_view name) override {
        music.push_back("play " + std::string(name));
    }
    void stop_music() override { music.emplace_back("stop"); }
    int count(const std::string& name) const {
        int n = 0;
        for (const std::string& s : sounds) n += s == name;
        return n;
    }
};

// A dialog that ends after `presses_to_end` advance presses.
struct Fake_Presentation : Stage_Presentation {
    int presses_to_end = 3;
    int presses = 0;
    std::vector<std::string> dialogs;
    std::vector<std::string> fades;
    int background_steps = 0;
    void start_dialog(const std::string& name) override {
        dialogs.push_back(name);
        presses = 0;
    }
    void update_dialog(float, int advances) override {
        presses += advances;
        if (presses >= presses_to_end) dialog_active = 0;
    }
    void update_background(float) override { ++background_steps; }
    void fade_in_spellcard_layer(const std::string& layer, float) override {
        fades.push_back("in " + layer);
    }
    void fade_out_spellcard_layer(const std::string& layer, float) override {
        fades.push_back("out " + layer);
    }
};

// Collects log lines while it lives.
struct Log_Catcher {
    std::vector<std::string> lines;
    sdk::Log_Sink old;
    Log_Catcher() {
        old = sdk::set_log_sink([this](const std::string& cat, const std::string& text) {
            lines.push_back("[" + cat + "] " + text);
        });
    }
    ~Log_Catcher() { sdk::set_log_sink(old); }
    bool has(const std::string& line) const {
        for (const std::string& l : lines)
            if (l == line) return true;
        return false;
    }
    bool contains(const std::string& part) const {
        for (const std::string& l : lines)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }
};

// Looks as the presentation installs them: a distinct address per name,
// which the world only stores and compares.
inline void install_named_looks() {
    static std::map<std::string, std::unique_ptr<char>> looks;
    auto look = [](const std::string& name) {
        std::unique_ptr<char>& p = looks[name];
        if (!p) p = std::make_unique<char>();
        return p.get();
    };
    set_appearance_lookups({
        [look](const std::string& n) { return reinterpret_cast<Appearance*>(look(n)); },
        [look](const std::string& n) { return reinterpret_cast<Effect_Appearance*>(look(n)); },
        [look](const std::string& n) { return reinterpret_cast<Enemy_Appearance*>(look(n)); },
    });
}

// Every global of the stage back to a fresh start; the registries built with
// the play field, the fixture's player loaded.
inline void reset_stage_globals() {
    clear_run_flags();
    clear_patterns();
    bullet_pool.reset();
    effect_pool.reset();
    item_pool.reset();
    clear_enemies();
    enemy_lists.dead.clear();
    level_events.clear();
    boss_spellcards.clear();
    event_clock = 0.0f;
    next_event = 0;
    event_waiting = 0;
    event_wait_left = 0.0f;
    stage_presentation = nullptr;
    installed_sound_sink = nullptr;
    level_requires_appearances = false;
    player.load(fixture_document("player.xml"), "player_kio");
    player.reset();
    register_movements(play_field);
    item_pool.init(120.0f, 100, 1000, 0.0002f, 0.15f, 800.0f);
}

// An ordinary enemy template on a registered path.
inline Enemy enemy_at(float x, float y, const char* path = "enemy_straight") {
    Enemy e;
    e.x = e.prev_x = x;
    e.y = e.prev_y = y;
    e.alive = 1;
    e.radius = 10.0f;
    e.hp = 10;
    e.path = get_enemy_path(path);
    return e;
}

}  // namespace stage_test
