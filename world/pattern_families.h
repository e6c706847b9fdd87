// What the pattern engine hands each running pattern to once per frame: the
// fifteen enemy families (by code / 1000) and the player's shot codes
// (100000000 and above), with the small helpers they share. Internal to the
// pattern engine and its families.
#pragma once

#include <cstdint>

#include "world/bullet.h"
#include "world/pattern.h"

// No update fires more shots than the bullet pool holds: a zero interval
// with a huge count would otherwise loop for minutes.
inline constexpr uint32_t max_shots_per_update = 20000;

void run_enemy_family(Pattern& p, float dt);
void run_player_shot(Pattern& p, float dt);

// Points the bullet along heading `degrees` (angle and direction).
void set_heading(Bullet& b, float degrees);
// Points the bullet at the player from its position.
void aim_bullet(Bullet& b);
