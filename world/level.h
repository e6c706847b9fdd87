// The stage script: the timed events of one level of "levels.xml" and the
// per-frame runner that makes them happen. Times are ms on the stage clock
// `event_clock`, which the game frame advances only while no dialog, boss
// fight or stage clear holds it. Positions are logical
// pixels (x already includes the play field's left edge), speeds px/ms,
// angles degrees.
//
// A level names its paths, appearances and spell cards by name; the loader
// resolves them once and rejects a level whose data cannot run (too few
// "params", too many shots, unknown names) with an error that names the
// file, the level, the event and the bad value.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdk/core/resource_document.h"
#include "world/enemy.h"
#include "world/spellcard.h"

enum Level_Event_Kind : int32_t {
    event_enemy = 0,
    event_boss = 1,
    event_dialog = 10,
    event_effect = 20,
    event_music_start = 31,
    event_music_stop = 32,
    event_level_end = 100,
    event_wait = 500,
};

struct Level_Event {
    int32_t type = 0;
    float time = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    float heading = 0.0f;
    float angle = 0.0f;
    float base_speed = 0.0f;
    float speed = 0.0f;
    int32_t colour = 0;
    int32_t hp = 0;
    int32_t price = 0;
    std::string path;
    std::string render;
    float radius = 0.0f;
    int32_t drop = 0;
    // Enemy: used entries of `shots`; boss: number of phases.
    int32_t shot_count = 0;
    int32_t has_dialog = 0;
    Enemy_Shot shots[enemy_shot_capacity] = {};
    // Boss: its name; dialog, effect: their names; music_start: the track.
    std::string name;
    std::string dialog;
    // Enemy and boss: the path parameter; wait: the length in ms.
    float f1 = 0.0f;
    // Resolved by the loader from `path` and `render`.
    Enemy_Path* path_strategy = nullptr;
    Enemy_Appearance* appearance = nullptr;
};

inline std::vector<Level_Event> level_events;
inline float event_clock = 0.0f;
inline uint32_t next_event = 0;
inline uint8_t event_waiting = 0;
inline float event_wait_left = 0.0f;
// The phases of each boss of the level, by boss name.
inline std::map<std::string, std::vector<Spellcard_Entry>> boss_spellcards;
// Set by the shell once the presentation has installed its appearance
// lookups: from then on a "render" that names no enemy appearance rejects
// the level. Headless runs load levels without looks.
inline bool level_requires_appearances = false;

// Loads the level `name` of the "levels.xml" document. Throws sdk::Exception
// for a missing level and for data that cannot run; the script is then
// empty.
void load_level(const sdk::Resource_Manager& levels, const std::string& name);

// One frame of the stage script.
void process_level_events(float dt);
