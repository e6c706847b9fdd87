// Boss attacks. A `Spellcard` is a "spellcard" resource of "patterns.xml": a
// time limit, a loop of actions (move, wait, start a pattern, set speed or
// acceleration, start or stop acting) and effect entries (the boss's magic
// rings and the background layer it fades in). A `Spellcard_Entry` is one
// boss phase from "levels.xml": hit points, price and the names of its two
// cards (normal attack and spell card) with the start position.
// Times in ms, positions in logical pixels, speeds in pixels per ms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/core/resource_document.h"

struct EnemyBoss;

struct Spell_Action {
    // 0 move, 1 wait, 2 pattern, 3 speed, 4 accel, 5 acting start,
    // 6 acting stop.
    int32_t kind = 0;
    // move: target x; wait: ms; pattern: code; speed: px per second;
    // accel: px/ms^2 x 1000000.
    int32_t a = 0;
    int32_t b = 0;  // move: target y
};

struct Spell_Effect {
    int32_t kind = 0;  // 0 ring, 1 background
    // Ring: its id, also its frame of the ring sprite; background: 1 when it
    // names the layer "rimea_back_1", else 0.
    int32_t id = 0;
    float target = 0.0f;  // ring target radius, px
    float width = 0.0f;   // ring width, px
    float spin = 0.0f;    // ring turning speed, degrees per ms
};

struct Spellcard {
    int32_t time = 0;  // time limit, ms
    std::vector<Spell_Action> actions;
    std::vector<Spell_Effect> effects;

    // Fills the card from the "spellcard" resource `name` of the document of
    // `resources` ("patterns.xml").
    void load(const sdk::Resource_Manager& resources, const std::string& name);
    // Appends the actions of another "spellcard" resource (the "spell" action).
    void load_actions(const sdk::Resource_Manager& resources, const std::string& name);
    // One step of the card for the boss: 0 goes on, 1 the boss's hit points
    // for the card are gone, 2 the time limit ran out.
    int32_t run_action(EnemyBoss& boss, float dt) const;
};

struct Spellcard_Entry {
    int32_t hp_nonspell = 0;  // hit points of the normal attack
    int32_t hp_spell = 0;     // hit points of the spell card
    int32_t price = 0;        // bonus for beating the spell card without a bomb
    std::string nonspell;     // card of the normal attack
    std::string spell;        // the spell card
    float start_x = 0.0f;     // where the boss stands for both halves
    float start_y = 0.0f;
    float start_speed = 0.0f; // speed of the move there, px/ms
    float start_wait = 0.0f;  // wait there before each half, ms
    // The two cards, resolved by the level loader (which rejects unknown
    // names), so the boss looks up no name while it fights.
    const Spellcard* nonspell_card = nullptr;
    const Spellcard* spell_card = nullptr;
};
