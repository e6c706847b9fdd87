// The bullet pool: 20000 bullets whose live records fill the front densely,
// in the order they were added (see world/object_pool.h), with every pass
// that tests bullets against something else: the player's shots against one
// enemy, enemy bullets against the player, graze, the death shock wave, the
// cancel at a boss phase end, the wind and the bomb. The passes that remove
// bullets leave one effect per removed bullet.
//
// Drawing belongs to the presentation: it walks slots 0 .. size() - 1 and
// draws the bullets of the layer it wants through their looks.
//
// `sweep_player_hits` runs once per enemy each frame. To keep that cheap it
// remembers, between its calls, which slots hold player-side or dead bullets
// and leaves the removed ones as holes; the holes are closed (with the same
// slots, ids and order a pass-by-pass compaction gives) by the next other
// operation of the pool or access to its records. Code that changes a
// bullet's layer or alive flag must do so through the accessors here.
#pragma once

#include <cstdint>
#include <vector>

#include "world/bullet.h"
#include "world/object_pool.h"

class Effect_Appearance;

class Bullet_Pool : public Object_Pool<Bullet, 20000> {
public:
    using Base = Object_Pool<Bullet, 20000>;

    Bullet_Pool() { sweep_slots_.reserve(capacity); }

    // Milliseconds of bullet-pool time since the hit sound last played:
    // advanced by every update, never zeroed by reset.
    float bullet_clock = 0.0f;

    // Appends a copy with the bullet's start values; false (and the bullet
    // dropped) when the pool is full.
    bool add(const Bullet& b);
    // True when an add would drop its bullet: the holes the hit sweep left
    // are free slots.
    bool full() const { return count_ - holes_ >= capacity; }
    // One step of every live bullet, then removal of the dead. Bullets added
    // during the pass (children) are stepped in the same pass.
    void update(float dt);
    void reset();

    // Player bullets (layer 0) hitting `enemy` this frame die; answers their
    // damage sum. Hit bullets leave their hit spark, a particle and, at most
    // once per 50 ms, the sound "se_damage00".
    int32_t sweep_player_hits(const Moving_Object& enemy);
    // Enemy bullets hitting the player: answers their damage sum and removes
    // them unless the player is invincible.
    int32_t check_player_hit();
    // Graze: each enemy bullet once, a kept-previous beam every 60 ms.
    void check_graze(float dt);
    // Enemy bullets inside the shock wave die.
    void cancel_by_destroyer(const Moving_Object& destroyer);
    // Every enemy bullet dies; `scoring` 1 turns each into score, a floating
    // number and a small score item.
    void cancel_all(int32_t scoring);
    // The wind: pushes player bullets on, blows enemy bullets away.
    void blow_away_in_wind(const Moving_Object& circle, float dt);
    // The bomb: as the wind, for every bullet, straight up.
    void blow_away_all(float dt);

    // Access to the live records (closes pending holes first).
    uint32_t size() {
        settle();
        return count_;
    }
    Bullet& operator[](uint32_t slot) {
        settle();
        invalidate_sweep();
        return objects_[slot];
    }
    Bullet* begin() {
        settle();
        invalidate_sweep();
        return objects_.get();
    }
    Bullet* end() {
        settle();
        return objects_.get() + count_;
    }
    uint32_t slot_of(uint32_t id) {
        settle();
        return ids_[id];
    }

private:
    // Lets go of a dead bullet: its pattern's spawner and in-flight counts
    // and its id; the record itself is not moved.
    void release(Bullet& b);
    void add_removal_effect(const Bullet& b, Effect_Appearance* look);
    // Keeps the bullet at slot i by moving it to slot `kept`.
    void keep(uint32_t i, uint32_t& kept) {
        if (i != kept) move_down(i, kept);
        if (objects_[kept].layer == 0) sweep_slots_.push_back(kept);
        ++kept;
    }
    // Closes the holes left by the hit sweeps.
    void settle();
    void invalidate_sweep() { sweep_valid_ = false; }
    void build_sweep_list();

    // Slots of layer-0 or dead bullets, in slot order, while sweep_valid_.
    std::vector<uint32_t> sweep_slots_;
    bool sweep_valid_ = false;
    // Removed records still in place (marked by an id of `hole_id`).
    uint32_t holes_ = 0;
    uint32_t first_hole_ = 0;
};

inline Bullet_Pool bullet_pool;
