#include "world/stage_frame.h"

#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/enemy_damage.h"
#include "world/enemy_lists.h"
#include "world/geometry.h"
#include "world/item_pool.h"
#include "world/level.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/run_stats.h"
#include "world/settings.h"
#include "world/stage_presentation.h"

namespace {

constexpr float field_height = 448.0f;

Moving_Object destroyer_on_player(float radius) {
    Moving_Object d;
    d.x = d.prev_x = player.x;
    d.y = d.prev_y = player.y;
    d.radius = radius;
    return d;
}

void place_player_for_run(int32_t lives) {
    player.lives = lives - 1;
    player.invincible = player.invicible_time;
    player.wind_gauge = 100.0f;
    player.bombing = 0;
    player.wind_armed = 0;
    player.wind_blowing = 0;
    player.x = player.prev_x = 255.0f;
    player.y = player.prev_y = 550.0f;
    // The input of the last frame of an earlier run would otherwise stay
    // set through the fly-in (the update reads no input then), be recorded
    // and steer item attraction and the shot's look, so a replay started
    // after another run would not repeat the recorded one.
    player.dir_x = player.dir_y = 0.0f;
    player.focus = player.shot_key = player.special_key = player.bomb_key = 0;
    player.shot_hold = 0.0f;
    player.wind_size = 0.0f;
    player.wind_time_left = 0.0f;
    player.bombed_in_spellcard = 0;
}

}  // namespace

void run_death_sequence() {
    if (!player.dying) return;
    // The first frame of the sequence, once: a frame of step 0 (a replay may
    // hold one) leaves death_timer at 0 and must not take a second life.
    if (!player.death_begun) {
        player.death_begun = 1;
        player.lives -= 1;
        player.invincible = player.invicible_time;
        if (player.bombs < 2) player.bombs = 2;
        player.wind_gauge = 100.0f;
        player.drop_power();
    }
    if (!(player.death_timer > player.death_time)) return;
    if (player.lives < 0) {
        player.lives = 0;
        game_over = 1;
    } else if (player.death_timer > 2.0f * player.death_time) {
        player.dying = 0;
        collide_enemies_with_destroyer(destroyer_on_player(2.0f * field_height));
    } else {
        float r = (player.death_timer - player.death_time) / player.death_time * field_height;
        bullet_pool.cancel_by_destroyer(destroyer_on_player(r));
    }
}

Replay_Frame run_stage_frame(float dt, const Stage_Input& input) {
    if (input.recorded) dt = input.recorded->dt;
    uint8_t advanced = 0;
    if (dialog_active) {
        int32_t advances = input.recorded ? input.recorded->advance : input.advances;
        if (stage_presentation) stage_presentation->update_dialog(dt, advances);
        advanced = advances != 0 ? 1 : 0;
    }
    // Only what the world itself sets holds the stage clock, so a replay holds
    // it on the same frames: the shell's flags (Escape's pause, a game over
    // it sets at the end of a recording or from a test) are not in the
    // replay, and the frame they are set on is simulated in full.
    if (!dialog_active && !stage_clear && !boss_active) process_level_events(dt);
    if (player.dying) run_death_sequence();

    if (stage_presentation) stage_presentation->update_background(dt);
    update_enemies(dt);
    if (input.recorded)
        player.update_from_replay(*input.recorded);
    else
        player.update(dt, input.devices ? *input.devices : Player_Input{});
    Replay_Frame recorded = player.make_replay_frame(dt);
    recorded.advance = advanced;
    item_pool.update(dt);
    update_patterns(dt);
    bullet_pool.update(dt);
    bullet_pool.check_graze(dt);
    effect_pool.update(dt);

    if (!player.dying) {
        if (!dialog_active) player.check_hit();
        if (!player.dying) item_pool.collect();
    }
    if (!dialog_active) collide_enemies_with_player_bullets();
    delete_dead_enemies(dt);
    return recorded;
}

void start_stage_run(const sdk::Resource_Manager& levels, const std::string& level,
                     int32_t lives) {
    clear_run_flags();
    spell_items_collected = 0;
    bullets_total = 0;
    bullets_blown = 0;
    player.reset();
    place_player_for_run(lives);
    load_level(levels, level);
    clear_patterns();
    bullet_pool.reset();
    clear_enemies();
    effect_pool.reset();
    item_pool.reset();
}

void reset_world() {
    clear_patterns();
    bullet_pool.reset();
    clear_enemies();
    effect_pool.reset();
    item_pool.reset();
}

void reset_run() {
    player.power = player.start_power;
    clear_run_flags();
    player.score = 0;
    player.points = 0;
    player.graze = 0;
    player.bombs = 2;
    player.dying = 0;
    player.death_begun = 0;
    player.life_clock = 0.0f;
    player.death_timer = 0.0f;
    player.bomb_clock = 0.0f;
    player.clear_run_leftovers();
    place_player_for_run(start_lives);
}
