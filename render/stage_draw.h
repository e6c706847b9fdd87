// Drawing the objects of the running stage through their looks: the bullets
// of one layer, the effects (ending those whose look is over), the active
// enemies and the dying ones. The caller sets the clip to the play field.
// Objects without a look are skipped. Nothing here allocates or looks up a
// name.
#pragma once

#include <cstdint>

namespace sdk {
class Canvas;
}
class Ring_Sprite;

// Layer 0: the player's shots and blown enemy bullets; 1: dangerous ones.
void draw_bullets(sdk::Canvas& canvas, uint8_t layer);
// Draws every effect of the pool, also one ended earlier in the frame (the
// next pool update removes it); an effect whose look answers false is ended.
void draw_effects(sdk::Canvas& canvas);
// The first `active_count` enemies of the active list, in order, alive or
// not (a defeated boss stays there until its death step).
void draw_enemies(sdk::Canvas& canvas);
// The dying animations; an enemy whose animation is finished is marked, and
// the world's next removal pass drops it.
void draw_dead_enemies(sdk::Canvas& canvas);
// The active boss's rings: animated by its look, then drawn with `rings` in
// white at each ring's alpha, with frame = the ring's frame mod the frames.
void update_and_draw_boss_rings(sdk::Canvas& canvas, Ring_Sprite& rings, float dt);
