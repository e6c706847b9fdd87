// The leading block of every object of a stage that moves and collides
// (bullets, items, enemies, the player and the death shock wave), the swept
// circle test that all collision code of the stage shares, and the stored
// rectangle that the movement strategies carry.
// Positions are logical pixels, x to the right and y downwards. Every swept
// test runs from the previous position (before the frame's move) to the
// current one, so fast objects cannot tunnel through each other.
#pragma once

struct Moving_Object {
    float x = 0.0f;
    float y = 0.0f;
    // Position before the last move: the start of every swept test.
    float prev_x = 0.0f;
    float prev_y = 0.0f;
    // Collision radius in pixels; the record that holds the block sets it.
    float radius = 0.0f;
};

// Whether A and B, each moving in a straight line from its previous to its
// current position during the frame, come closer than `r`. Objects that
// start closer than `r` meet even when they move apart; a path that only ends
// exactly at distance `r` does not meet. No square root: it runs for every
// bullet against the player and every enemy each frame.
inline bool swept_circles_meet(const Moving_Object& a, const Moving_Object& b, float r) {
    float fx = a.prev_x - b.prev_x;
    float fy = a.prev_y - b.prev_y;
    float dx = (a.x - a.prev_x) - (b.x - b.prev_x);
    float dy = (a.y - a.prev_y) - (b.y - b.prev_y);
    float qa = dx * dx + dy * dy;
    float qb = dx * fx + dy * fy;
    float qc = fx * fx + fy * fy - r * r;
    // Already closer than r; or approaching, the line crosses the circle, and
    // the crossing lies within the step or the end point is inside. The
    // comparisons are combined without short-circuit jumps: over thousands of
    // scattered bullets those jumps mispredict.
    return (qc < 0.0f) | ((qb < 0.0f) & (qb * qb - qa * qc > 0.0f) &
                          ((qa + qb > 0.0f) | (qa + 2.0f * qb + qc < 0.0f)));
}

// The rectangle stored in every movement strategy (bullet behaviours and
// enemy paths get the play field, effect behaviours all zero). Left and top
// inside, right and bottom outside.
struct Strategy_Rect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// Whether the strategy's rectangle and the box (l, t)-(r, b) overlap; boxes
// that only share an edge do not.
inline bool rects_overlap(const Strategy_Rect& s, float l, float t, float r, float b) {
    return s.right > l && r > s.left && s.bottom > t && b > s.top;
}
