// The game screen (200) and the replay screen (300): the run start, one
// frame of the stage in its fixed order, the draw of every layer, and how a
// run is left (pause, game over, stage clear, the end of a replay).
#include "app/application.h"
#include "app/display_rules.h"
#include "app/field_draw.h"
#include "app/replay.h"
#include "app/screen_state.h"
#include "render/background.h"
#include "render/dialog.h"
#include "world/geometry.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/stage_frame.h"

namespace {

const sdk::Rect logical_play_field{32, 16, 416, 464};

}  // namespace

void Application::start_run(bool is_replay) {
    stage_background.load(canvas, "stage_kio", resources[res_mirel], logical_play_field);
    spell_background.load(canvas, "boss_effects", resources[res_mirel], logical_play_field);
    // Only the stage background is run ahead, 100 s.
    if (is_replay) {
        stage_background.set_speed(1.0f);
        spell_background.set_speed(1.0f);
    }
    for (int i = 0; i < 100; ++i) stage_background.update(1000.0f);
    if (!is_replay) {
        stage_background.set_speed(1.0f);
        spell_background.set_speed(1.0f);
    }
    state_timer = 1.0f;
    start_stage_run(resources[res_levels], "testlevel",
                    is_replay ? replay_start_lives() : start_lives);
    clear_input_counts();
    if (is_replay)
        replay.rewind();
    else
        replay.start_recording();
}

void Application::run_game_frame(float dt) {
    if (state_timer == 0.0f) start_run(false);
    if (counters.count_escape > 0) {
        counters.count_escape = 0;
        pause_requested = 1;
    }
    int32_t advances = 0;
    if (dialog_active) {
        advances = counters.count_ok;
        if (counters.count_ok > 0) replay.mark_dialog_advance();
    } else {
        state_timer += dt;
    }
    counters.count_ok = 0;

    Player_Input input = read_play_input();
    Stage_Input stage_input;
    stage_input.devices = &input;
    stage_input.advances = advances;
    replay.record_frame(run_stage_frame(dt, stage_input));

    if (game_over || pause_requested || stage_clear) begin_capture();
    draw_stage(dt);

    if (game_over || pause_requested) {
        end_capture();
        app_state = state_pause;
        next_state = state_game;
        overlay_timer = 0.0f;
        clear_input_counts();
    }
    if (stage_clear) {
        end_capture();
        app_state = state_results;
        overlay_timer = 0.0f;
        clear_input_counts();
        replay.save("mirel");
    }
    draw_letterbox();
}

void Application::run_replay_frame() {
    if (state_timer == 0.0f) start_run(true);
    Replay_Frame frame = replay.current_frame(player.make_replay_frame(0.0f));
    float dt = frame.dt;
    if (counters.count_escape > 0) {
        counters.count_escape = 0;
        pause_requested = 1;
    }
    if (!dialog_active) state_timer += dt;

    Stage_Input stage_input;
    stage_input.recorded = &frame;
    run_stage_frame(dt, stage_input);

    if (game_over || pause_requested || stage_clear) begin_capture();
    draw_stage(dt);
    if (!replay.advance()) game_over = 1;

    if (pause_requested) {
        end_capture();
        app_state = state_pause;
        next_state = state_replay;
        overlay_timer = 0.0f;
        clear_input_counts();
    }
    if (game_over || stage_clear) {
        stop_music();
        reset_world();
        menu.cursor = 0;
        end_capture();
        app_state = next_state = state_main_menu;
        overlay_timer = 0.0f;
        clear_input_counts();
    }
    draw_letterbox();
}

void Application::draw_stage(float dt) {
    canvas.clear(sdk::Colorf::black());
    game_screen.set_frame(0);
    game_screen.set_alpha(1.0f);
    game_screen.draw(canvas, 0, 0);
    canvas.set_cliprect(screen_field);
    stage_background.draw(canvas);
    if (boss_active) draw_boss_background(dt);
    draw_field_objects(canvas);
    canvas.reset_cliprect();
    if (boss_active) draw_boss_hud();
    draw_hud();
    if (dialog_active) dialog.draw(canvas);
}
