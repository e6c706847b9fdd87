#include "world/bullet.h"

#include <cmath>

#include "sdk/core/log.h"
#include "world/behaviour.h"
#include "world/bullet_pool.h"
#include "world/pattern.h"
#include "world/registries.h"

void Bullet::update_direction() {
    dir_x = std::cos(angle.to_radians());
    dir_y = std::sin(angle.to_radians());
}

void Bullet::update(float dt) {
    if (spawner && owner && trigger_seen != static_cast<uint32_t>(owner->trigger)) spawn_children();
    if (!keep_prev) {
        prev_x = x;
        prev_y = y;
    }
    // A bullet without a behaviour cannot move; it ends instead of crashing.
    if (!behaviour || !behaviour->update(*this, dt)) alive = 0;
}

void Bullet::spawn_children() {
    if (die_after_spawn) alive = 0;
    const float* t = spawn_table.get();
    if (t) {
        int i = 0;
        if (spawn_speed) speed = t[i++];
        if (spawn_heading) {
            float h = t[i++] * (sdk::pi / 180.0f);
            dir_x = std::cos(h);
            dir_y = std::sin(h);
        }
        if (spawn_turn) {
            angle += sdk::Angle::from_degrees(t[i++]);
            update_direction();
        }
        if (spawn_offset) {
            aux_x += t[i++];
            aux_y += t[i++];
        }
        if (child_count != 0)
            sdk::log_event("Debug", "Spawn %1 bullets", static_cast<int>(child_count));
        for (int k = 0; k < child_count; ++k) {
            const float* r = t + i + 7 * k;
            Bullet c = bullet_type_by_number(static_cast<int>(r[5]));
            c.x = c.prev_x = x;
            c.y = c.prev_y = y;
            c.speed = r[0];
            c.angle = sdk::Angle::from_degrees(r[1]);
            c.update_direction();
            c.param1 = r[2];
            c.param2 = r[3];
            c.aux_x = aux_x;
            c.aux_y = aux_y;
            c.colour = static_cast<uint8_t>(static_cast<int>(r[6]));
            c.behaviour = spawn_behaviour(static_cast<int>(r[4]));
            c.layer = layer;
            c.spawner = 0;
            c.graze_mark = 0;
            c.keep_prev = 0;
            c.blown = 0;
            c.trigger_seen = 0;
            bullet_pool.add(c);
        }
    } else if (child_count != 0) {
        sdk::log_event("Debug", "Spawn %1 bullets", static_cast<int>(child_count));
    }
    if (owner) trigger_seen = static_cast<uint32_t>(owner->trigger);
}
