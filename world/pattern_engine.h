// The pattern engine: starting a pattern by its code, the per-frame pass
// over the running patterns with its dispatch to the enemy families and the
// player's shots, the bullet maker and muzzle flash that all families share,
// and the geometry helpers of the families and the boss (aiming, the angle
// of a direction, the eased move). See world/pattern.h for the record.
// Times in ms, speeds in pixels per ms, angles in degrees (y downwards, so
// 90 degrees points down the screen).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sdk/core/math.h"
#include "world/pattern.h"

// Starts the pattern of `code` for `owner` at (x, y) and answers it.
Pattern* start_pattern(int32_t code, Enemy* owner, float x, float y);
// Ends every running pattern (bullets in flight keep theirs readable).
void clear_patterns();
// The per-frame pass over the running patterns.
void update_patterns(float dt);
// Number of ended patterns still kept for their bullets.
std::size_t retired_pattern_count();

// The bullet maker of all families: the pattern's bullet type with its
// behaviour, speed, param1, param2 (= start_param1) and owner, at (x, y).
Bullet make_pattern_bullet(Pattern& p, float x, float y);
// The muzzle flash named `name` ("shot1", "quickshot2", "rimea_clouds", ...);
// a name that matches no flash spawns nothing.
void spawn_shot_flash(uint8_t colour, const std::string& name, sdk::Pointf position);
// The muzzle flashes: a descriptor's "effect" name and the effect look.
struct Shot_Flash_Row {
    const char* name;
    const char* look;
};
inline constexpr Shot_Flash_Row shot_flash_table[] = {
    {"shot1", "enemy_shot100"},
    {"shot2", "enemy_shot200"},
    {"shot5", "enemy_shot500"},
    {"quickshot1", "enemy_shot_other100"},
    {"quickshot2", "enemy_shot_other200"},
    {"quickshot5", "enemy_shot_other500"},
    {"rimea_clouds", "rimea_cloud"},
};
inline constexpr int shot_flash_count = 7;
// The row of the flash named exactly `name`, or -1.
int shot_flash_row(const std::string& name);
// The flash of row `row` (as `spawn_shot_flash`); nothing for -1.
void spawn_flash_row(int row, uint8_t colour, sdk::Pointf position);

// Unit vector from (x, y) to the player; the raw difference at distance 0.
sdk::Vec2f aim_at_player(float x, float y);
// Angle of `d` to the +x axis in [0, 360) degrees (y downwards).
sdk::Angle angle_from_direction(sdk::Vec2f d);
// Position at time t on a straight move from `from` to `to` that accelerates
// at `accel` up to `speed`, cruises and brakes symmetrically; `to` once the
// brake is over. Without acceleration it goes at the size of `speed`
// throughout.
sdk::Pointf ease_between(float t, sdk::Pointf from, sdk::Pointf to, float speed, float accel);
