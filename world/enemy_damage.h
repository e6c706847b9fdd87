// The four passes that damage or destroy the active enemies (the player's
// shots, the death shock wave, the bomb, contact with the player), the common
// death step that drops an enemy's item, plays its death sound and moves it to
// the dead stack, and the nearest-enemy search of the homing shot. Bosses
// take damage into `boss_hp` and die only by their script, through the same
// death step. Damage and price go to the player's score.
#pragma once

#include <cstdint>

#include "sdk/core/math.h"
#include "world/enemy.h"

// Once per frame, outside dialogs.
void collide_enemies_with_player_bullets();
// The death shock wave destroys every ordinary enemy it touches.
void collide_enemies_with_destroyer(const Moving_Object& destroyer);
// Bomb damage of "bomb_damage" x dt to every enemy.
void apply_bomb_damage(float dt);
// The summed hp of the enemies the player touched this frame (bosses too);
// the ordinary ones among them die and score.
int32_t collide_enemies_with_player();
// Position of the active enemy nearest to the player; (0, 0) with none.
sdk::Vec2f nearest_enemy_to_player();
// Adds the enemy's drop to the item pool (nothing for drop 0 or above 4, or
// when the pool is full).
void spawn_item(const Enemy& e);
