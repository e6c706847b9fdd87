// The scripted player of the headless stage runs (the stage test and the
// stage bench): it reads the stage as a player would see it and answers the
// input of the next frame.
#pragma once

#include "world/bullet_pool.h"
#include "world/enemy_damage.h"
#include "world/enemy_lists.h"
#include "world/player.h"
#include "world/player_input.h"
#include "world/run_flags.h"

namespace stage_test {

// Plays by looking at the stage: follows the nearest enemy sideways below
// it, shoots in bursts, focuses for a while, bombs once, blows the wind
// once, flies into an enemy once and presses on through dialogs.
struct Scripted_Player {
    float bomb_at = 1900;     // stage ms
    float wind_from = 11000;  // holds the shot from here until armed
    float ram_from = 5200;
    bool bombed = false;
    bool wind_done = false;
    int frame = 0;

    Player_Input next(float t, int32_t& advances) {
        ++frame;
        Player_Input in;
        advances = dialog_active && frame % 8 == 0 ? 1 : 0;
        sdk::Vec2f target = nearest_enemy_to_player();
        if (enemy_lists.active_count == 0) target = {224, 0};
        // Once, while vulnerable, it flies into an enemy instead.
        bool ram = t > ram_from && t < ram_from + 1500 && player.invincible == 0 &&
                   enemy_lists.active_count > 0;
        // Sidesteps, just enough to graze it, the nearest enemy bullet that
        // comes down on it.
        float threat = 1e9f, threat_x = 0;
        for (const Bullet& b : bullet_pool) {
            float dx = b.x - player.x, dy = player.y - b.y;
            if (ram || b.layer != 1 || dy < -10 || dy > 70 || dx * dx > 400) continue;
            if (dy < threat) {
                threat = dy;
                threat_x = b.x;
            }
        }
        if (threat < 1e9f) target.x = threat_x > player.x ? player.x - 30 : player.x + 30;
        if (target.x > player.x + 4) in.right = true;
        if (target.x < player.x - 4) in.left = true;
        float low = ram ? target.y - 4 : 390, high = ram ? target.y + 4 : 410;
        if (player.y < low) in.down = true;
        if (player.y > high) in.up = true;
        in.left_shift = t > 4000 && t < 6000;
        if (!wind_done && t >= wind_from) {
            in.z = true;  // held: stops firing, charges, arms
            if (player.wind_armed) {
                in.z = false;
                wind_done = true;
            }
        } else {
            in.z = frame % 16 != 0;  // let go now and then so the wind never charges
        }
        if (ram) in.z = false;
        if (!bombed && t >= bomb_at && enemy_lists.active_count > 0) {
            in.x = true;
            bombed = true;
        }
        return in;
    }
};

}  // namespace stage_test
