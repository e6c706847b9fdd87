#include "world/pattern.h"
#include "world/registries.h"

void register_movements(const sdk::Rectf& rect) {
    register_bullet_behaviours(rect);
    register_enemy_paths(rect);
    register_effect_behaviours();
    if (active_patterns.capacity() < 2000) active_patterns.reserve(2000);
    player_shot_clock = 0.0f;
    pattern_id_counter = 0;
}
