// The boss's health bar and the running spell card's countdown and name, as
// the game frame draws them while a boss is active. Logical units of the
// 640 x 480 picture; the bar lies along the top of the play field.
#pragma once

#include "sdk/canvas.h"
#include "sdk/font.h"

struct EnemyBoss;

// The bar of the current phase (it grows in over the boss's first 1.7 s),
// then, while a spell card runs, its seconds left and its name effect (which
// is marked dead once its look is over).
void draw_boss_bar(sdk::Canvas& canvas, const sdk::Font& font, EnemyBoss& boss);
