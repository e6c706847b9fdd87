// The boss's path "enemy_boss0": the whole boss fight as one movement
// strategy. The boss flies in and brakes to its stop line, runs its dialog
// and music, then works through its phases: for each half (normal attack,
// then spell card) it moves to the phase's start position, waits there, and
// runs the half's card until its hit points or its time are gone; between
// halves it clears the enemy bullets and scores the spell-card bonus. After
// the last phase it dies, or, as the nameless boss "noname" whose last card
// timed out, flies away. All state lives in the `EnemyBoss`; `path_state`
// holds the script state (0, 1, 10, 11, 30, 31, 20, 40).
#pragma once

#include <span>
#include <string>

#include "sdk/core/math.h"
#include "world/enemy.h"

class Spellcard;
struct Level_Event;
struct Spellcard_Entry;
namespace sdk {
class Dom_Element;
}

// What the boss's clocks and places can hold. Its moves and waits are timed
// by float clocks of milliseconds, which stop counting steps of 1 ms (the
// shortest frame) at 2^24 ms, about 4 h 40 min: a move or wait as long as
// that might never end. Every place the boss is sent to lies within
// `boss_position_limit` px of the picture's corner on either axis, far
// beyond every field; the loaders refuse what passes either bound.
inline constexpr float boss_longest_time = 16777216.0f;
inline constexpr float boss_position_limit = 65536.0f;

// The entry's brake: within `entry_brake_depth` px above its stop line, a
// boss faster than `entry_brake_speed` px/ms has its speed multiplied by
// 1 / dt + `entry_brake_keep` each frame. That brakes only in steps over
// 10 ms; shorter steps speed the boss up.
inline constexpr float entry_brake_depth = 50.0f;
inline constexpr float entry_brake_speed = 0.05f;
inline constexpr float entry_brake_keep = 0.9f;

class Enemy_Path_Boss : public Enemy_Path {
public:
    // `stop_depth` below the top of the removal bounds is where the entry
    // ends (170 for the registered 200).
    Enemy_Path_Boss(const sdk::Rectf& rect, float stop_depth);
    bool update(Enemy& e, float dt) override;

    float stop_line() const;
    // Whether the boss's entry is over: it stands on its stop line.
    static bool entry_over(const Enemy& e);

    // Why the boss of `ev`, an event of "levels.xml" read from `node`, and
    // its `phases` could never bring it where it is sent, in any steps the
    // game or a replay takes, or only in more time than its clocks count;
    // empty when they can. The refusal quotes the values as written.
    std::string refusal(const Level_Event& ev, const sdk::Dom_Element& node,
                        std::span<const Spellcard_Entry> phases) const;
};

// Applies the ring entries of `card` to the boss's rings: relocates the
// rings that the card names again, adds the new ones (never more than 8) and
// sends away the rings that the card does not name.
void apply_boss_rings(EnemyBoss& boss, const Spellcard& card);
