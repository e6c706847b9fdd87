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
// `register_movements`. A "render" or "behaviour" that names nothing
// registered throws an `sdk::Exception` naming the file, the resource and
// the name.
void load_patterns(const sdk::Resource_Manager& resources);

// A copy of the bullet type `name`, or a default bullet when there is none.
Bullet create_bullet(const std::string& name);
