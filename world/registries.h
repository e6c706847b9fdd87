// The named stores of the pattern machinery, filled once at start-up:
// the movement strategies of bullets, enemies and effects (by
// `register_movements`), and the bullet types, pattern descriptors and spell
// cards of "patterns.xml" (by `load_patterns`). The stores own what they
// hold for the life of the program. A name that was never registered
// answers null.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"
#include "world/behaviour.h"
#include "world/bullet.h"
#include "world/effect.h"
#include "world/enemy_path.h"
#include "world/pattern.h"
#include "world/pattern_engine.h"
#include "world/spellcard.h"

inline std::map<std::string, std::unique_ptr<Behaviour>> behaviour_registry;
inline std::map<std::string, std::unique_ptr<Enemy_Path>> enemy_path_registry;
inline std::map<std::string, std::unique_ptr<Effect_Behaviour>> effect_behaviour_registry;
inline std::map<std::string, Bullet> bullet_types;
inline std::map<std::string, Pattern> pattern_types;
inline std::map<std::string, std::unique_ptr<Spellcard>> spellcards;

// Builds every bullet behaviour and enemy path with `rect` (the play field)
// and every effect behaviour, and enters them under their names. Reads the
// player's "shot3_*" and "shot4_*" values, so it runs after "player.xml" is
// loaded. Also reserves room for 2000 running patterns and zeroes the
// pattern clocks.
void register_movements(const sdk::Rectf& rect);
// The enemy paths' own table (with the enemy path classes).
void register_enemy_paths(const sdk::Rectf& rect);

Behaviour* get_behaviour(const std::string& name);
Effect_Behaviour* get_effect_behaviour(const std::string& name);
Enemy_Path* get_enemy_path(const std::string& name);
Spellcard* get_spellcard(const std::string& name);

// Reads every "bullet", "pattern" and "spellcard" resource of the document
// of `resources` ("patterns.xml"). Looks and behaviours are resolved by name, so it runs
// after the presentation has installed its appearance lookups and after
// `register_movements`. An absent or empty "render" or "behaviour" leaves
// the look or the behaviour null; one that names nothing registered throws
// an `sdk::Exception` naming the file, the resource and the name.
void load_patterns(const sdk::Resource_Manager& resources);

// A copy of the bullet type `name`, or a default bullet when there is none.
Bullet create_bullet(const std::string& name);

// The lookups of the per-frame paths, resolved when the stores are filled:
// the bullet type "bullet" + n (a default bullet when there is none), the
// behaviour of a spawned child's kind (0 "bullet_simple", 1 "bullet_simple2",
// 2 "bullet_simple2_1", 3 "bullet_simple3", any other "bullet_simple"), and
// the descriptor "p" + family (null when there is none).
const Bullet& bullet_type_by_number(int n);
Behaviour* spawn_behaviour(int kind);
const Pattern* find_family_descriptor(int32_t family);

// Re-resolves the numbered lookups above after the stores change.
void index_pattern_stores();

// The effect behaviours that the simulation's code names, resolved once.
struct World_Effect_Behaviours {
    Effect_Behaviour* stay_still = nullptr;
    Effect_Behaviour* score_float = nullptr;
    Effect_Behaviour* flyoff = nullptr;
};
inline World_Effect_Behaviours world_effect_behaviours;

// The bullet behaviours that the simulation's code names, resolved once.
struct World_Bullet_Behaviours {
    Behaviour* simple = nullptr;
    Behaviour* spinning = nullptr;
    Behaviour* arc_polar_player1 = nullptr;
};
inline World_Bullet_Behaviours world_bullet_behaviours;

// The two halves of `register_movements` that need no enemy path code.
void register_bullet_behaviours(const sdk::Rectf& rect);
void register_effect_behaviours();
// The "bullet" and "pattern" halves of `load_patterns`.
void load_bullet_types(const sdk::Resource_Document& doc);
void load_pattern_descriptors(const sdk::Resource_Document& doc);
