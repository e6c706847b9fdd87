// The effect pool: 20000 effects whose live records fill the front densely
// in the order they were added (see world/object_pool.h). Each update moves
// every effect by its behaviour and removes those whose alive flag is 0.
//
// Drawing belongs to the presentation: it walks slots 0 .. size() - 1, draws
// each effect through its look and clears the effect's alive flag when the
// look answers false; the next update then removes it.
#pragma once

#include <cstdint>

#include "world/effect.h"
#include "world/object_pool.h"

struct Bullet;

class Effect_Pool : public Object_Pool<Effect, 20000> {
public:
    // Appends a copy with alive 1 and age 0; false (dropped) when full.
    bool add(const Effect& e);
    void update(float dt);
    void reset() { empty("Effect"); }
};

inline Effect_Pool effect_pool;

// The spark of a player bullet that hit: kind 54 the "player_bullet_hit7"
// flash, kind 3 a small particle flying back from the bullet at a random
// speed and spread.
void spawn_shot_hit_particles(const Bullet& b, int32_t kind);
