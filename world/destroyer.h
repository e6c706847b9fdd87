// The shock wave of the player's death: a moving-object block built by the
// game frame for one call (position and previous position both the player's,
// a growing radius) and thrown away at once. Bullet cancelling and enemy
// killing test against its swept circle.
#pragma once

#include "world/moving_object.h"

struct Destroyer : Moving_Object {};
