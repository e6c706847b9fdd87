// Loading "patterns.xml": bullet types, pattern descriptors and spell cards.
// Values are read as written (no unit conversion); a missing value reads as
// 0 or empty. An absent or empty "render" or "behaviour" gives no look or no
// behaviour (the player's shot descriptor needs none); a name that nothing
// registered answers to is a content error: the loader stops with the file,
// the resource and the name.
#include <string>

#include "sdk/core/exception.h"
#include "sdk/core/string_help.h"
#include "world/appearances.h"
#include "world/pattern_families.h"
#include "world/registries.h"

namespace {

std::string child_text(const sdk::Dom_Element& e, const char* key) {
    sdk::Dom_Element c = e.first_child(key);
    return c ? c.get_text() : std::string();
}

float child_float(const sdk::Dom_Element& e, const char* key) {
    return sdk::text_to_float(child_text(e, key));
}
int child_int(const sdk::Dom_Element& e, const char* key) {
    return sdk::text_to_int(child_text(e, key), 10);
}

[[noreturn]] void unknown_name(const sdk::Resource_Document& doc, const std::string& type,
                               const std::string& id, const char* key, const std::string& name) {
    throw sdk::Exception(
        sdk::string_format("%1: %2 '%3': \"%4\" names '%5', which is not registered",
                           doc.get_name(), type, id, key, name));
}

}  // namespace

void load_bullet_types(const sdk::Resource_Document& doc) {
    for (const std::string& id : doc.get_resource_names_of_type("bullet")) {
        const sdk::Dom_Element& e = doc.get_resource(id).get_element();
        Bullet b;
        std::string look = child_text(e, "render");
        if (!look.empty()) {
            b.appearance = find_bullet_appearance(look);
            if (!b.appearance) unknown_name(doc, "bullet", id, "render", look);
        }
        b.radius = child_float(e, "collision");
        b.damage = child_int(e, "damage");
        bullet_types[id] = b;
    }
    index_pattern_stores();
}

void load_pattern_descriptors(const sdk::Resource_Document& doc) {
    for (const std::string& id : doc.get_resource_names_of_type("pattern")) {
        const sdk::Dom_Element& e = doc.get_resource(id).get_element();
        Pattern p;
        std::string behaviour = child_text(e, "behaviour");
        if (!behaviour.empty()) {
            p.behaviour = get_behaviour(behaviour);
            if (!p.behaviour) unknown_name(doc, "pattern", id, "behaviour", behaviour);
        }
        // Any count loads: the families fire at most one update's shots at
        // once, and a stream compares its count unsigned, so a negative one
        // fires until its owner goes.
        p.bullet_number = child_int(e, "bullet_number");
        p.speed = child_float(e, "speed");
        p.time1 = child_float(e, "time1");
        p.time2 = child_float(e, "time2");
        p.param1 = child_float(e, "param1");
        p.start_param1 = child_float(e, "start_param1");
        p.pattern_speed = child_float(e, "pattern_speed");
        p.pattern_param1 = child_float(e, "pattern_param1");
        p.pattern_param2 = child_float(e, "pattern_param2");
        p.pattern_param3 = child_float(e, "pattern_param3");
        p.pattern_param4 = child_float(e, "pattern_param4");
        p.pattern_param5 = child_float(e, "pattern_param5");
        p.effect = child_text(e, "effect");
        // The flash takes the colour's low byte.
        p.effect_index = child_int(e, "effect_index");
        pattern_types[id] = p;
    }
    index_pattern_stores();
}

void load_patterns(const sdk::Resource_Manager& resources) {
    const sdk::Resource_Document& doc = resources.get_doc();
    load_bullet_types(doc);
    load_pattern_descriptors(doc);
    for (const std::string& id : doc.get_resource_names_of_type("spellcard")) {
        auto card = std::make_unique<Spellcard>();
        card->load(resources, id);
        spellcards[id] = std::move(card);
    }
}
