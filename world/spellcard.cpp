// Spell cards: the loader of the "spellcard" resources of "patterns.xml" and
// one step of a running card for its boss.
#include "world/spellcard.h"

#include <cmath>

#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/string_help.h"
#include "world/boss_path.h"
#include "world/enemy.h"
#include "world/pattern_engine.h"

namespace {

std::string where(const sdk::Resource_Document& doc, const std::string& card) {
    return doc.get_name() + ": spellcard '" + card + "'";
}

// Appends the actions of the card's element; "spell" includes another card's
// actions where `allow_spell` is set. Names outside the table are skipped
// with a log line, so they add nothing.
void read_actions(Spellcard& card, const sdk::Resource_Manager& resources, const std::string& name,
                  bool allow_spell) {
    const sdk::Resource_Document& doc = resources.get_doc();
    sdk::Dom_Element element = doc.get_resource(name).get_element();
    for (const sdk::Dom_Element& node : element.select_nodes("action")) {
        std::string kind = node.get_attribute("name");
        std::string text = node.get_text();
        Spell_Action action;
        if (kind == "move") {
            std::vector<std::string> parts = sdk::split_text(text, ";");
            if (parts.size() < 2)
                throw sdk::Exception(where(doc, name) + ": action 'move' needs x;y, not '" + text +
                                     "'");
            action.kind = 0;
            action.a = sdk::text_to_int(parts[0]);
            action.b = sdk::text_to_int(parts[1]);
            // The boss comes back from the target to each phase's start.
            if (!(std::abs(static_cast<float>(action.a)) < boss_position_limit) ||
                !(std::abs(static_cast<float>(action.b)) < boss_position_limit))
                throw sdk::Exception(where(doc, name) + ": 'move' is '" + sdk::trim(text) +
                                     "', not a place from -" +
                                     sdk::float_to_text(boss_position_limit) + " to " +
                                     sdk::float_to_text(boss_position_limit) + " px");
        } else if (kind == "wait") {
            action.kind = 1;
            action.a = sdk::text_to_int(text);
        } else if (kind == "pattern") {
            action.kind = 2;
            action.a = sdk::text_to_int(text);
        } else if (kind == "speed") {
            action.kind = 3;
            action.a = sdk::text_to_int(text);
        } else if (kind == "accel") {
            action.kind = 4;
            // Kept in millionths.
            action.a = sdk::checked_scaled<int32_t>(sdk::text_to_float(text) * 1000000.0f,
                                                    1000000.0, where(doc, name), "accel", text);
        } else if (kind == "acting") {
            action.kind = text == "start" ? 5 : 6;
        } else if (kind == "spell" && allow_spell) {
            read_actions(card, resources, sdk::trim(text), false);
            continue;
        } else {
            sdk::log_event("Debug", "%1: skipping unknown action '%2'", where(doc, name), kind);
            continue;
        }
        card.actions.push_back(action);
    }
}

}  // namespace

void Spellcard::load(const sdk::Resource_Manager& resources, const std::string& name) {
    actions.clear();
    effects.clear();
    const sdk::Resource_Document& doc = resources.get_doc();
    sdk::Dom_Element element = doc.get_resource(name).get_element();
    // Seconds, kept in milliseconds.
    std::string time_text = element.get_attribute("time");
    time = sdk::checked_scaled<int32_t>(static_cast<double>(sdk::text_to_int(time_text)) * 1000.0,
                                        1000.0, where(doc, name), "time", time_text);
    read_actions(*this, resources, name, true);
    // A card runs its actions in a loop; without one it could not run.
    if (actions.empty()) throw sdk::Exception(where(doc, name) + ": the card has no action");

    for (const sdk::Dom_Element& node : element.select_nodes("effect")) {
        std::string kind = node.get_attribute("name");
        std::string text = node.get_text();
        Spell_Effect fx;
        if (kind == "ring") {
            std::vector<std::string> parts = sdk::split_text(text, ";");
            if (parts.size() < 4)
                throw sdk::Exception(where(doc, name) +
                                     ": effect 'ring' needs id;target;width;spin, not '" + text +
                                     "'");
            fx.kind = 0;
            fx.id = sdk::text_to_int(parts[0]);
            fx.target = sdk::text_to_float(parts[1]);
            fx.width = sdk::text_to_float(parts[2]);
            fx.spin = sdk::text_to_float(parts[3]);
        } else if (kind == "background") {
            fx.kind = 1;
            fx.id = sdk::trim(text) == "rimea_back_1" ? 1 : 0;
        } else {
            sdk::log_event("Debug", "%1: skipping unknown effect '%2'", where(doc, name), kind);
            continue;
        }
        effects.push_back(fx);
    }
}

void Spellcard::load_actions(const sdk::Resource_Manager& resources, const std::string& name) {
    read_actions(*this, resources, name, false);
}

int32_t Spellcard::run_action(EnemyBoss& b, float dt) const {
    if (b.boss_hp < 1) return 1;
    b.time_limit -= dt;
    if (b.time_limit < 0.0f) return 2;

    const int32_t count = static_cast<int32_t>(actions.size());
    const Spell_Action& act = actions[static_cast<size_t>(((b.action % count) + count) % count)];
    bool next = true;
    switch (act.kind) {
        case 0: {
            sdk::Vec2f target{static_cast<float>(act.a), static_cast<float>(act.b)};
            if (b.action_clock == 0.0f) {
                b.move_start_x = b.x;
                b.move_start_y = b.y;
                b.move_target_x = target.x;
                b.move_target_y = target.y;
                sdk::Vec2f d = target - sdk::Vec2f(b.x, b.y);
                if (d.length() > 0.0f) d.normalize();
                b.dir_x = d.x;
                b.dir_y = d.y;
                b.angle = angle_from_direction(d);
                b.moving = 1;
                b.move_time = 0.0f;
            }
            b.action_clock += dt;
            sdk::Vec2f to{b.move_target_x, b.move_target_y};
            if (sdk::Vec2f(b.x, b.y).distance(to) < 1.0f) {
                b.x = to.x;
                b.y = to.y;
                b.action_clock = 0.0f;
                b.moving = 0;
            } else {
                sdk::Vec2f p = ease_between(b.action_clock, {b.move_start_x, b.move_start_y}, to,
                                            b.speed, b.accel);
                b.x = p.x;
                b.y = p.y;
                b.move_time += dt;
                next = false;
            }
            break;
        }
        case 1:
            b.action_clock += dt;
            b.dir_x = 0.0f;
            b.dir_y = 1.0f;
            b.angle = sdk::Angle::from_degrees(90.0f);
            if (b.action_clock > static_cast<float>(act.a))
                b.action_clock = 0.0f;
            else
                next = false;
            break;
        case 2:
            start_pattern(act.a, &b, b.x, b.y);
            break;
        case 3:
            b.speed = static_cast<float>(act.a) / 1000.0f;
            break;
        case 4:
            b.accel = static_cast<float>(act.a) / 1000000.0f;
            break;
        case 5:
            b.acting = 1;
            break;
        default:
            b.acting = 0;
            b.acting_time = 0.0f;
            break;
    }
    if (next) b.action = (b.action + 1) % count;
    return 0;
}
