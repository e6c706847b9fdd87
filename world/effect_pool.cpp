#include "world/effect_pool.h"

#include "sdk/core/random.h"
#include "world/appearances.h"
#include "world/bullet.h"
#include "world/pattern_engine.h"
#include "world/registries.h"

bool Effect_Pool::add(const Effect& e) {
    Effect* o = append(e);
    if (!o) return false;
    o->alive = 1;
    o->age = 0.0f;
    return true;
}

void Effect_Pool::update(float dt) {
    uint32_t kept = 0;
    for (uint32_t i = 0; i < count_; ++i) {
        Effect& e = objects_[i];
        if (e.behaviour) e.behaviour->update(e, dt);
        if (e.alive) {
            if (i != kept) move_down(i, kept);
            ++kept;
        } else {
            free_id(e.id);
        }
    }
    count_ = kept;
}

void spawn_shot_hit_particles(const Bullet& b, int32_t kind) {
    if (kind != 54 && kind != 3) return;
    Effect e;
    e.x = b.x;
    e.y = b.y;
    e.dir_x = b.dir_x;
    e.dir_y = b.dir_y;
    e.speed = b.speed;
    e.kind = b.colour;
    if (kind == 54) {
        e.appearance = world_looks.player_bullet_hit[6];
        e.behaviour = world_effect_behaviours.stay_still;
    } else {
        e.appearance = world_looks.particle_small;
        e.behaviour = world_effect_behaviours.flyoff;
        e.kind = 3;
        // Three fresh values, drawn in this order: speed, heading, scale.
        int r = sdk::rand();
        e.speed = static_cast<float>(r % 100) / 200.0f * b.speed;
        float heading = angle_from_direction({b.dir_x, b.dir_y}).to_degrees() + 180.0f;
        r = sdk::rand();
        heading += static_cast<float>(r % 100 - 50);
        sdk::Angle h = sdk::Angle::from_degrees(heading);
        e.dir_x = std::cos(h.to_radians());
        e.dir_y = std::sin(h.to_radians());
        r = sdk::rand();
        e.scale = static_cast<float>(r % 100) / 200.0f + 0.5f;
    }
    effect_pool.add(e);
}
