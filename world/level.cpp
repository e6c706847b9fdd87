#include "world/level.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/string_help.h"
#include "world/appearances.h"
#include "world/boss_path.h"
#include "world/enemy_lists.h"
#include "world/enemy_paths.h"
#include "world/geometry.h"
#include "world/registries.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/sound_sink.h"
#include "world/stage_presentation.h"

namespace {

// Names the place of a problem: "levels.xml: level 'testlevel', event 3
// (time 1200)". Events count from 0 in document order.
struct Event_Place {
    std::string document;
    std::string level;
    size_t index = 0;
    float time = 0.0f;

    std::string name() const {
        return document + ": level '" + level + "', event " + std::to_string(index) + " (time " +
               sdk::float_to_text(time) + ")";
    }
    [[noreturn]] void fail(const std::string& what) const {
        throw sdk::Exception(name() + ": " + what);
    }
};

// A missing child reads as empty text.
std::string child_text(const sdk::Dom_Element& e, const std::string& tag) {
    sdk::Dom_Element c = e.first_child(tag);
    return c ? c.get_text() : std::string();
}

void read_params(const sdk::Dom_Element& node, Level_Event& ev, const Event_Place& at) {
    std::string text = child_text(node, "params");
    std::vector<std::string> p = sdk::split_text(text, ";");
    if (p.size() < 11)
        at.fail("'params' has " + std::to_string(p.size()) + " values, 11 needed: '" +
                sdk::trim(text) + "'");
    ev.x = sdk::text_to_float(p[0]) + play_field.left;
    ev.y = sdk::text_to_float(p[1]);
    ev.heading = sdk::text_to_float(p[2]);
    ev.angle = sdk::text_to_float(p[3]);
    ev.base_speed = sdk::text_to_float(p[4]) / 1000.0f;
    ev.speed = sdk::text_to_float(p[5]) / 1000.0f;
    ev.radius = sdk::text_to_float(p[6]);
    // Any colour and drop load: the looks clamp the colour to their sheet's
    // frames, and a drop outside 1 to 4 leaves no item.
    ev.colour = sdk::text_to_int(p[7]);
    ev.hp = sdk::text_to_int(p[8]);
    ev.price = sdk::text_to_int(p[9]);
    ev.drop = sdk::text_to_int(p[10]);
}

void read_enemy_shots(const std::string& text, Level_Event& ev, const Event_Place& at) {
    std::vector<std::string> entries = sdk::split_text(sdk::trim(text), ",");
    if (entries.size() > static_cast<size_t>(enemy_shot_capacity))
        at.fail("'shots' has " + std::to_string(entries.size()) + " entries, at most " +
                std::to_string(enemy_shot_capacity) + " fit");
    for (const std::string& entry : entries) {
        std::vector<std::string> v = sdk::split_text(entry, ";");
        if (v.size() < 3) at.fail("shot '" + sdk::trim(entry) + "' needs trigger;threshold;code");
        Enemy_Shot& shot = ev.shots[ev.shot_count++];
        // Triggers 1 to 3 fire; any other never does, and is kept as 0
        // (spent) rather than as its low byte.
        int32_t trigger = sdk::text_to_int(v[0]);
        shot.trigger = trigger >= 1 && trigger <= 3 ? static_cast<uint8_t>(trigger) : 0;
        shot.threshold = sdk::text_to_int(v[1]);
        shot.code = sdk::text_to_int(v[2]);
    }
}

Spellcard* known_card(const std::string& name, const char* key, const std::string& phase,
                      const Event_Place& at) {
    Spellcard* card = name.empty() ? nullptr : get_spellcard(name);
    if (!card)
        at.fail(phase + ": '" + key + "' names the spell card '" + name + "', which is not loaded");
    return card;
}

void read_boss_phases(const sdk::Dom_Element& node, Level_Event& ev, const Event_Place& at,
                      std::map<std::string, std::vector<Spellcard_Entry>>& bosses) {
    std::string written = sdk::trim(child_text(node, "shots"));
    int32_t count = sdk::text_to_int(written);
    // The fight is its phases: a boss without one could never begin.
    if (count < 1) at.fail("a boss needs at least one phase in 'shots'");
    if (count > 127) at.fail("a boss has at most 127 phases, 'shots' asks for " + written);
    ev.shot_count = count;
    ev.name = child_text(node, "name");
    ev.dialog = child_text(node, "dialog");
    ev.has_dialog = ev.dialog.empty() ? 0 : 1;
    std::vector<Spellcard_Entry>& phases = bosses[ev.name];
    for (int32_t i = 1; i <= count; ++i) {
        std::string tag = "spellcard" + std::to_string(i);
        sdk::Dom_Element ph;
        try {
            ph = node.select_node(tag);
        } catch (const sdk::Exception& e) {
            at.fail(e.what());
        }
        Spellcard_Entry entry;
        entry.spell = child_text(ph, "spell");
        entry.nonspell = child_text(ph, "nonspell");
        entry.hp_nonspell = sdk::text_to_int(child_text(ph, "hp_nonspell"));
        entry.hp_spell = sdk::text_to_int(child_text(ph, "hp_spell"));
        entry.price = sdk::text_to_int(child_text(ph, "price"));
        std::vector<std::string> pos = sdk::split_text(child_text(ph, "start_position"), ";");
        entry.start_x = (pos.size() > 0 ? sdk::text_to_float(pos[0]) : 0.0f) + play_field.left;
        entry.start_y = pos.size() > 1 ? sdk::text_to_float(pos[1]) : 0.0f;
        entry.start_speed = sdk::text_to_float(child_text(ph, "start_speed")) / 1000.0f;
        entry.start_wait = sdk::text_to_float(child_text(ph, "start_wait"));
        entry.spell_card = known_card(entry.spell, "spell", tag, at);
        entry.nonspell_card = known_card(entry.nonspell, "nonspell", tag, at);
        phases.push_back(entry);
    }
}

void resolve_strategies(Level_Event& ev, const Event_Place& at) {
    ev.path_strategy = ev.path.empty() ? nullptr : get_enemy_path(ev.path);
    if (!ev.path_strategy)
        at.fail("'path' names '" + ev.path + "', which is no registered enemy path");
    ev.appearance = find_enemy_appearance(ev.render);
    if (!ev.appearance && level_requires_appearances)
        at.fail("'render' names '" + ev.render + "', which is no registered enemy appearance");
}

Enemy make_template(const Level_Event& ev) {
    Enemy t;
    t.x = t.prev_x = ev.x;
    t.y = t.prev_y = ev.y;
    float h = ev.heading * (sdk::pi / 180.0f);
    t.dir_x = std::cos(h);
    t.dir_y = std::sin(h);
    t.angle = sdk::Angle::from_degrees(ev.angle);
    t.base_speed = ev.base_speed;
    t.speed = ev.speed;
    t.colour = ev.colour;
    t.hp = ev.hp;
    t.price = ev.price;
    t.radius = ev.radius;
    // The enemy keeps a drop code as a byte: one outside 1 to 4 leaves no
    // item, so it is kept as 0 rather than as its low byte.
    t.drop = ev.drop >= 1 && ev.drop <= 4 ? static_cast<uint8_t>(ev.drop) : 0;
    t.f1 = ev.f1;
    t.shot_count = static_cast<uint8_t>(ev.shot_count);
    std::copy(std::begin(ev.shots), std::end(ev.shots), std::begin(t.shots));
    t.path = ev.path_strategy;
    t.appearance = ev.appearance;
    t.anim_frame = 0;
    t.anim_time = 0.0f;
    t.age = 0.0f;
    t.path_state = 0;
    t.dying = 0;
    t.is_boss = 0;
    t.alive = 1;
    return t;
}

// The stopping paths write the time of the stop into "f1". An enemy whose
// lateness advance already reached its stop keeps that step (its wait
// starting at its creation): back in the first step, it would read the time
// as its stop depth and be pulled back up the field.
bool stopping_path(const Enemy_Path* path) {
    return dynamic_cast<const Enemy_Path_Go_Wait_Go*>(path) != nullptr ||
           dynamic_cast<const Enemy_Path_Stop_Wait_Move*>(path) != nullptr;
}

void run_event(const Level_Event& ev) {
    float lateness = event_clock - ev.time;
    switch (ev.type) {
        case event_enemy: {
            Enemy t = make_template(ev);
            // A late enemy starts where it would have been by now.
            t.path->update(t, lateness);
            create_enemy(t);
            if (t.path_state != 0 && stopping_path(t.path))
                enemy_lists.active.back()->path_state = t.path_state;
            sdk::log_event("Game Event", "Create Enemy at  %1 , %2", ev.x, ev.y);
            break;
        }
        case event_boss: {
            EnemyBoss t;
            static_cast<Enemy&>(t) = make_template(ev);
            t.shot_count = static_cast<uint8_t>(ev.shot_count);
            t.is_boss = 1;
            t.name = ev.name;
            t.has_dialog = ev.has_dialog;
            t.dialog_name = ev.dialog;
            t.action = 0;
            t.boss_hp = 0;
            t.time_limit = 0.0f;
            t.ring_count = 0;
            auto found = boss_spellcards.find(ev.name);
            if (found != boss_spellcards.end()) t.phases = found->second;
            t.path->update(t, lateness);
            create_boss(t);
            // A boss whose lateness advance already brought it to its stop
            // line has spent its speed there: back at the start of its
            // entry, it would wait on the line for ever. It goes on from
            // there, as a boss created in time does.
            if (Enemy_Path_Boss::entry_over(t)) enemy_lists.active.back()->path_state = t.path_state;
            sdk::log_event("Game Event", "Create Boss Enemy at  %1 , %2", ev.x, ev.y);
            boss_active = 1;
            sound_sink().stop_music();
            break;
        }
        case event_dialog: {
            std::string name = ev.name + (language == 0 ? "_rus" : "_jap");
            // Without a presentation there is no one to end the dialog.
            if (stage_presentation) {
                dialog_active = 1;
                stage_presentation->start_dialog(name);
            }
            sdk::log_event("Game Event", "Start Dialog %1", name);
            break;
        }
        case event_music_start:
            sound_sink().stop_music();
            sound_sink().play_music(ev.name);
            sdk::log_event("Game Event", "Start Music %1", ev.name);
            break;
        case event_music_stop:
            sound_sink().stop_music();
            break;
        case event_level_end:
            stage_clear = 1;
            break;
        case event_wait:
            event_waiting = 1;
            event_wait_left = ev.f1 - lateness;
            event_clock = ev.time;
            break;
        default:
            break;
    }
}

}  // namespace

void load_level(const sdk::Resource_Manager& levels, const std::string& name) {
    event_clock = 0.0f;
    next_event = 0;
    event_waiting = 0;
    event_wait_left = 0.0f;
    level_events.clear();
    boss_spellcards.clear();

    const sdk::Resource_Document& doc = levels.get_doc();
    sdk::Dom_Element level = doc.get_resource(name).get_element();
    std::vector<Level_Event> events;
    std::map<std::string, std::vector<Spellcard_Entry>> bosses;
    std::vector<sdk::Dom_Element> nodes = level.children("event");
    for (size_t i = 0; i < nodes.size(); ++i) {
        const sdk::Dom_Element& node = nodes[i];
        Level_Event ev;
        ev.time = sdk::text_to_float(node.get_attribute("time"));
        std::string kind = node.get_attribute("name");
        Event_Place at{doc.get_name(), name, i, ev.time};
        if (kind == "enemy" || kind == "boss") {
            ev.type = kind == "enemy" ? event_enemy : event_boss;
            read_params(node, ev, at);
            ev.path = sdk::trim(child_text(node, "path"));
            ev.render = sdk::trim(child_text(node, "render"));
            ev.f1 = sdk::text_to_float(child_text(node, "f1"));
            if (ev.type == event_enemy)
                read_enemy_shots(child_text(node, "shots"), ev, at);
            else
                read_boss_phases(node, ev, at, bosses);
            resolve_strategies(ev, at);
            // The numbers of a boss on the boss path must bring it where it
            // is sent.
            const auto* boss_path = dynamic_cast<const Enemy_Path_Boss*>(ev.path_strategy);
            if (ev.type == event_boss && boss_path) {
                const std::vector<Spellcard_Entry>& phases = bosses[ev.name];
                size_t count = static_cast<size_t>(ev.shot_count);
                std::string why = boss_path->refusal(
                    ev, node, std::span(phases).subspan(phases.size() - count, count));
                if (!why.empty()) at.fail(why);
            }
        } else if (kind == "dialog") {
            ev.type = event_dialog;
            ev.name = sdk::trim(child_text(node, "title"));
        } else if (kind == "effect") {
            ev.type = event_effect;
            ev.name = sdk::trim(child_text(node, "effect"));
        } else if (kind == "music_start") {
            ev.type = event_music_start;
            ev.name = sdk::trim(child_text(node, "title"));
        } else if (kind == "music_stop") {
            ev.type = event_music_stop;
        } else if (kind == "level_end") {
            ev.type = event_level_end;
        } else if (kind == "wait") {
            ev.type = event_wait;
            ev.f1 = sdk::text_to_float(child_text(node, "time"));
        } else {
            sdk::log_event("Game Event",
                           "%1: level '%2', event %3 (time %4): skipping the unknown kind '%5'",
                           doc.get_name(), name, i, ev.time, kind);
            continue;
        }
        events.push_back(std::move(ev));
    }
    // By time; among events of the same time a wait comes first, so that the
    // others wait with it.
    std::stable_sort(events.begin(), events.end(), [](const Level_Event& a, const Level_Event& b) {
        if (a.time != b.time) return a.time < b.time;
        return a.type == event_wait && b.type != event_wait;
    });
    level_events = std::move(events);
    boss_spellcards = std::move(bosses);
}

void process_level_events(float dt) {
    if (next_event >= level_events.size()) return;
    if (event_waiting) {
        event_wait_left -= dt;
        if (event_wait_left >= 0.0f) return;
        event_waiting = 0;
    }
    event_clock += dt;
    while (next_event < level_events.size() && event_clock > level_events[next_event].time) {
        run_event(level_events[next_event]);
        ++next_event;
    }
}
