// The enemies of the running stage: the active list (living enemies and the
// boss, in creation order) and the dead stack (destroyed enemies whose dying
// animation still runs). Both hold shared pointers; `active_count` mirrors the
// active list's size and is what the per-frame passes walk. Ids count from 0
// per stage. Times are ms.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "world/enemy.h"

struct Enemy_Lists {
    std::vector<std::shared_ptr<Enemy>> active;
    std::vector<std::shared_ptr<Enemy>> dead;
    uint32_t active_count = 0;
    uint32_t next_id = 0;

    Enemy_Lists() {
        active.reserve(200);
        dead.reserve(200);
    }
};

inline Enemy_Lists enemy_lists;

// Copies the template into a new living enemy with fresh clocks and the next
// id, appends it to the active list and answers its id.
uint32_t create_enemy(const Enemy& tmpl);
uint32_t create_boss(const EnemyBoss& tmpl);

// Ages, moves and fires every active enemy, then drops (silently) those
// whose path ended; a defeated boss stays for the next death step.
void update_enemies(float dt);

// Ages the dead stack and removes the enemies whose dying animation ended.
// An enemy without an appearance has no animation and goes at once.
void delete_dead_enemies(float dt);

// Empties the active list and restarts the ids; the dead stack finishes.
void clear_enemies();

// The first active enemy that is a boss, or null.
EnemyBoss* active_boss();
