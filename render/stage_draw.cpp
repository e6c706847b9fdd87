#include "render/stage_draw.h"

#include <algorithm>

#include "render/appearance.h"
#include "render/ring_sprite.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/enemy_lists.h"

void draw_bullets(sdk::Canvas& canvas, uint8_t layer) {
    Bullet* end = bullet_pool.end();
    for (Bullet* b = bullet_pool.begin(); b != end; ++b)
        if (b->layer == layer && b->alive != 0 && b->appearance) b->appearance->draw(canvas, *b);
}

void draw_effects(sdk::Canvas& canvas) {
    for (Effect& e : effect_pool) {
        if (e.appearance && !e.appearance->draw(canvas, e)) e.alive = 0;
    }
}

void draw_enemies(sdk::Canvas& canvas) {
    for (uint32_t i = 0; i < enemy_lists.active_count; ++i) {
        Enemy& e = *enemy_lists.active[i];
        if (e.appearance) e.appearance->draw(canvas, e);
    }
}

void draw_dead_enemies(sdk::Canvas& canvas) {
    for (const std::shared_ptr<Enemy>& e : enemy_lists.dead)
        if (e->appearance) e->alive = e->appearance->draw_dead(canvas, *e) ? 1 : 0;
}

void update_and_draw_boss_rings(sdk::Canvas& canvas, Ring_Sprite& rings, float dt) {
    EnemyBoss* boss = active_boss();
    if (!boss) return;
    // Bosses carry a boss look; anything else has no rings to animate.
    if (auto* look = dynamic_cast<Boss_Appearance*>(boss->appearance))
        look->update(canvas, *boss, dt);
    int frames = static_cast<int>(rings.frames.size());
    if (frames == 0) return;
    int count = std::min(boss->ring_count, boss_ring_capacity);
    if (count <= 0) return;
    // The rings share one frame's ceiling of segments (eight hair-thin rings
    // would each reach a ring's own): each ring that needs no more than an
    // even share of what is left is drawn whole, the rest split the rest.
    int need[boss_ring_capacity] = {};
    int ceiling[boss_ring_capacity] = {};
    for (int i = 0; i < count; ++i) {
        rings.current_frame = boss->ring_frame[i] % frames;
        need[i] = rings.segments_needed(boss->ring_radius[i], boss->ring_width[i]);
        ceiling[i] = -1;
    }
    int left = Ring_Sprite::max_frame_segments, waiting = count;
    for (bool settled = true; waiting > 0; settled = true) {
        int share = left / waiting;
        for (int i = 0; i < count; ++i) {
            if (ceiling[i] >= 0 || need[i] > share) continue;
            ceiling[i] = need[i];
            left -= need[i];
            --waiting;
            settled = false;
        }
        if (settled) {
            for (int i = 0; i < count; ++i)
                if (ceiling[i] < 0) ceiling[i] = share;
            waiting = 0;
        }
    }
    for (int i = 0; i < count; ++i) {
        rings.current_frame = boss->ring_frame[i] % frames;
        rings.draw_ring(canvas, boss->ring_radius[i], boss->ring_width[i], boss->ring_angle[i],
                        sdk::Colorf(1.0f, 1.0f, 1.0f, boss->ring_alpha[i]), boss->ring_x,
                        boss->ring_y, std::max(ceiling[i], 1));
    }
}
