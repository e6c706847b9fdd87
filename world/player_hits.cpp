// The player's hit test and the power it loses at a death.
#include "world/bullet_pool.h"
#include "world/enemy_damage.h"
#include "world/item_pool.h"
#include "world/player.h"
#include "world/sound_sink.h"

void Player::check_hit() {
    if (invincible != 0) {
        if (bullet_pool.check_player_hit() != 0) sound_sink().play_sound("se_nodamage");
        // An invincible player rams ordinary enemies with a wider circle.
        float own = radius;
        radius = 20.0f;
        collide_enemies_with_player();
        radius = own;
        return;
    }
    int32_t damage = bullet_pool.check_player_hit();
    if (damage == 0) damage = collide_enemies_with_player();
    if (damage == 0) return;
    dying = 1;
    death_begun = 0;
    death_timer = 0.0f;
    life_clock = 0.0f;
    sound_sink().play_sound("player_dead");
}

namespace {

struct Drop_Row {
    float dx, dy, speed, vx, vy;
};

constexpr Drop_Row big_drops[] = {
    {0, -20, -0.115f, 0, -0.115f},         {20, -15, -0.115f, 0.015f, -0.112f},
    {-20, -15, -0.115f, -0.015f, -0.112f}, {40, 0, -0.11f, 0.02f, -0.11f},
    {-40, 0, -0.11f, -0.02f, -0.11f},
};

constexpr Drop_Row small_drops[] = {
    {10, -17, -0.12f, 0.012f, -0.12f},
    {-10, -17, -0.12f, -0.012f, -0.12f},
    {30, -5, -0.115f, 0.017f, -0.115f},
    {-30, -5, -0.115f, -0.017f, -0.115f},
};

void drop_item(const Player& p, const Drop_Row& row, uint8_t kind) {
    Item it;
    it.x = it.prev_x = p.x + row.dx;
    it.y = it.prev_y = p.y + row.dy;
    it.radius = 9.0f;
    it.speed = row.speed;
    it.vx = row.vx;
    it.vy = row.vy;
    it.age = 0.0f;
    it.alive = 1;
    it.kind = kind;
    it.mode = 0;
    item_pool.add(it);
}

}  // namespace

void Player::drop_power() {
    int32_t lost = power / 2;
    power -= lost;
    int32_t big = 0;
    while (lost >= 8 && big < 5) {
        lost -= 8;
        drop_item(*this, big_drops[big++], 3);
    }
    for (int32_t i = 0; i < lost && i < 4; ++i) drop_item(*this, small_drops[i], 0);
}
