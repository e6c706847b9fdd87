#include "app/title_menus.h"

#include <algorithm>

#include "app/config_file.h"
#include "app/screen_state.h"
#include "app/stage_results.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/run_stats.h"
#include "world/settings.h"

namespace {

constexpr int32_t slide_ms = 100;
constexpr int32_t blink_ms = 500;

// Consumes a counter: true once when it was raised.
bool take(int32_t& counter) {
    if (counter <= 0) return false;
    counter = 0;
    return true;
}

// Advances whichever animation runs; true while one does (input waits).
bool animating(Menu_State& m, float dt) {
    if (m.slide_timer) {
        m.slide_timer += static_cast<int32_t>(dt);
        if (m.slide_timer > slide_ms) m.slide_timer = 0;
        return true;
    }
    if (m.action_timer) {
        m.action_timer += static_cast<int32_t>(dt);
        return true;
    }
    return false;
}

void move_cursor(Screen_Context& c, int32_t delta, int32_t count) {
    c.menu.cursor = (c.menu.cursor + delta + count) % count;
    c.menu.slide_timer = 1;
    c.services.play_sound("menu_select");
}

// Up and down with wrap-around over `count` entries.
void handle_up_down(Screen_Context& c, int32_t count) {
    if (take(c.in.count_up)) move_cursor(c, -1, count);
    if (take(c.in.count_down)) move_cursor(c, 1, count);
}

// Escape: off the back entry it moves there; on it, it leaves for `target`.
void handle_escape_to_back(Screen_Context& c, int32_t back, int32_t target) {
    if (!take(c.in.count_escape)) return;
    c.services.play_sound("menu_cancel");
    if (c.menu.cursor != back) {
        c.menu.cursor = back;
        c.menu.slide_timer = 1;
    } else {
        c.menu.action_timer = 1;
        next_state = target;
    }
}

// Steps a percentage by 5 within 0..100; true when it changed.
bool step_percent(int32_t& pct, int32_t delta) {
    int32_t v = std::clamp(pct + delta, 0, 100);
    if (v == pct) return false;
    pct = v;
    return true;
}

bool set_value(int32_t& value, int32_t to) {
    if (value == to) return false;
    value = to;
    return true;
}

void apply_pending_window_mode(Screen_Context& c) {
    if (c.menu.pending_window_mode != fullscreen) {
        fullscreen = static_cast<uint8_t>(c.menu.pending_window_mode);
        c.services.apply_window_mode();
    }
}

void leave_run_for_menu(Screen_Context& c) {
    c.services.stop_music();
    c.services.reset_world();
    c.menu.cursor = 0;
}

void resume_run(Screen_Context& c) {
    pause_requested = 0;
    app_state = next_state;
    c.services.play_sound("game_paused");
}

}  // namespace

void rebind_button(int32_t pressed, int32_t old) {
    int32_t* order[] = {&button_shoot, &button_focus, &button_pause, &button_spare,
                        &button_special};
    for (int32_t* b : order) {
        if (*b == pressed) {
            *b = old;
            return;
        }
    }
}

void run_language_logic(Screen_Context& c, float dt) {
    Menu_State& m = c.menu;
    // Ok counts even while the cursor moves: the language it is leaving.
    if (take(c.in.count_ok)) {
        // The fade starts from the picture as the player saw it, cursor and all.
        c.services.capture_picture();
        language = m.cursor;
        m.cursor = 1;
        m.mask_fade = 1;
        m.slide_timer = 0;
        state_timer = 0.0f;
        app_state = state_fade;
        next_state = state_main_menu;
        transition_frame = 0;
        fade_length = 300.0f;
        return;
    }
    if (m.slide_timer) {
        state_timer += dt;
        if (state_timer > static_cast<float>(slide_ms)) {
            m.slide_timer = 0;
            state_timer = 0.0f;
            m.cursor = 1 - m.cursor;
        }
        return;
    }
    if (c.in.count_up > 0 || c.in.count_down > 0) {
        c.in.count_up = c.in.count_down = 0;
        m.slide_timer = 1;
        state_timer = 0.0f;
    }
}

void run_main_menu_logic(Screen_Context& c, float dt) {
    Menu_State& m = c.menu;
    if (state_timer == 0.0f) {
        c.in.clear();
        c.services.start_perf_checkpoints();
        c.services.perf_checkpoint("Start point");
        c.services.load_menu_backdrop();
        c.services.perf_checkpoint("Before sound");
        c.services.play_music("00_title_theme");
        c.services.perf_checkpoint("After sound");
    }
    state_timer += dt;
    if (!animating(m, dt)) {
        if (take(c.in.count_ok)) {
            switch (m.cursor) {
                case 0:
                    c.services.play_sound("menu_ok");
                    next_state = state_game;
                    m.action_timer = 1;
                    break;
                case 1:
                    if (c.services.load_replay()) {
                        c.services.play_sound("menu_ok");
                        next_state = state_replay;
                        m.action_timer = 1;
                    }
                    break;
                case 2:
                    c.services.play_sound("menu_ok");
                    next_state = state_options_fade;
                    m.action_timer = 1;
                    break;
                default:
                    c.services.request_quit();
                    break;
            }
        }
        // A chosen entry blinks from this frame on: other presses wait.
        if (!m.action_timer) {
            handle_up_down(c, 4);
            if (take(c.in.count_escape) && m.cursor != 3) {
                m.cursor = 3;
                m.slide_timer = 1;
                c.services.play_sound("menu_cancel");
            }
        }
    }
    if (m.action_timer > blink_ms) {
        m.action_timer = 0;
        m.action_due = 1;
    }
    c.services.perf_checkpoint("Menu input processed");
}

void finish_main_menu_action(Screen_Context& c) {
    Menu_State& m = c.menu;
    if (!m.action_due) return;
    m.action_due = 0;
    if (m.cursor == 0 || m.cursor == 1) {
        c.services.capture_picture();
        c.services.stop_music();
        app_state = state_fade;
        next_state = m.cursor == 0 ? state_game : state_replay;
        transition_frame = m.cursor == 0 ? 1 : 11;
        state_timer = 0.0f;
        fade_length = 300.0f;
    } else if (m.cursor == 2) {
        app_state = state_options_fade;
        next_state = state_options;
        state_timer = 0.0f;
        fade_length = 300.0f;
    }
}

void run_options_fade_logic(Screen_Context& c, float dt) {
    state_timer += dt;
    if (state_timer > fade_length) {
        app_state = state_options;
        state_timer = 0.0f;
        c.menu.cursor = 0;
        c.menu.pending_window_mode = fullscreen;
    }
}

void run_options_logic(Screen_Context& c, float dt) {
    Menu_State& m = c.menu;
    if (state_timer == 0.0f) c.in.clear();
    state_timer += dt;
    if (!animating(m, dt)) {
        bool left = take(c.in.count_left), right = take(c.in.count_right);
        bool changed = false;
        switch (m.cursor) {
            case 0:
                if (left) changed |= set_value(start_lives, std::max(1, start_lives - 1));
                if (right) changed |= set_value(start_lives, std::min(5, start_lives + 1));
                break;
            case 1:
                if (left) changed |= step_percent(music_volume_pct, -5);
                if (right) changed |= step_percent(music_volume_pct, 5);
                if (changed) {
                    recompute_volumes();
                    c.services.apply_music_volume();
                }
                break;
            case 2:
                if (left) changed |= step_percent(sound_volume_pct, -5);
                if (right) changed |= step_percent(sound_volume_pct, 5);
                if (changed) recompute_volumes();
                break;
            case 3:
                if (left) changed |= set_value(m.pending_window_mode, 1);
                if (right) changed |= set_value(m.pending_window_mode, 0);
                break;
            case 4:
                if (left) changed |= set_value(language, 0);
                if (right) changed |= set_value(language, 1);
                break;
            default:
                break;
        }
        if (changed) c.services.play_sound("menu_select");

        if (take(c.in.count_ok)) {
            switch (m.cursor) {
                case 3:
                    apply_pending_window_mode(c);
                    c.services.save_settings();
                    break;
                case 5:
                case 6:
                    c.services.play_sound("menu_ok");
                    m.action_timer = 1;
                    break;
                case 7:
                    c.services.play_sound("menu_cancel");
                    m.action_timer = 1;
                    next_state = state_main_menu;
                    break;
                default:
                    break;
            }
        }
        if (!m.action_timer) {
            handle_up_down(c, 8);
            handle_escape_to_back(c, 7, state_main_menu);
        }
    }
    if (m.action_timer > blink_ms) {
        m.action_timer = 0;
        if (m.cursor == 6) {
            m.pending_window_mode = 0;
            start_lives = 3;
            music_volume_pct = 90;
            sound_volume_pct = 80;
            recompute_volumes();
            c.services.apply_music_volume();
        } else {
            m.action_due = 1;
        }
    }
    if (m.action_due) {
        m.action_due = 0;
        apply_pending_window_mode(c);
        c.services.save_settings();
        if (m.cursor == 5) {
            app_state = state_key_config;
            state_timer = 0.0f;
            m.cursor = 0;
        } else {
            app_state = state_main_menu;
            state_timer = 1.0f;
            m.cursor = 2;
            m.mask_fade = 0;
            m.backdrop_alpha = 1.0f;
            c.in.clear();
        }
    }
}

void run_key_config_logic(Screen_Context& c, float dt) {
    Menu_State& m = c.menu;
    if (state_timer == 0.0f) c.in.clear();
    state_timer += dt;

    int32_t* actions[] = {&button_shoot, &button_bomb, &button_focus, &button_special,
                          &button_pause};
    if (c.in.pressed_button > 0) {
        int32_t b = c.in.pressed_button - 1;
        c.in.pressed_button = 0;
        if (m.cursor >= 0 && m.cursor <= 4) {
            c.in.clear();
            int32_t& selected = *actions[m.cursor];
            if (selected != b) {
                int32_t old = selected;
                if (m.cursor != 1 && button_bomb == b)
                    button_bomb = old;
                else
                    rebind_button(b, old);
                selected = b;
            }
        }
    }

    if (!animating(m, dt)) {
        bool left = take(c.in.count_left), right = take(c.in.count_right);
        if (m.cursor == 5) {
            if (right) dead_zone = std::min(1.0f, dead_zone + 0.01f);
            if (left) dead_zone = std::max(0.01f, dead_zone - 0.01f);
        } else if (m.cursor == 6) {
            bool changed = false;
            if (right) changed |= set_value(special_focuses, 1);
            if (left) changed |= set_value(special_focuses, 0);
            if (changed) c.services.play_sound("menu_select");
        }
        if (take(c.in.count_ok)) {
            if (m.cursor == 7) {
                c.services.play_sound("menu_ok");
                m.action_timer = 1;
            } else if (m.cursor == 8) {
                c.services.play_sound("menu_cancel");
                m.action_timer = 1;
                next_state = state_options;
            }
        }
        if (!m.action_timer) {
            handle_up_down(c, 9);
            handle_escape_to_back(c, 8, state_options);
        }
    }
    if (m.action_timer > blink_ms) {
        m.action_timer = 0;
        if (m.cursor == 7) {
            dead_zone = 0.5f;
            button_shoot = 1;
            button_bomb = 0;
            button_focus = 5;
            button_special = 2;
            button_pause = 7;
            special_focuses = 0;
        } else {
            c.services.save_settings();
            app_state = state_options;
            state_timer = 0.0f;
            m.cursor = 0;
        }
    }
}

void run_pause_logic(Screen_Context& c, float dt) {
    Menu_State& m = c.menu;
    if (pause_requested) {
        if (overlay_timer == 0.0f) {
            c.services.play_sound("game_paused");
            m.cursor = m.choice = m.confirm = m.title_chosen = 0;
        }
        overlay_timer += dt;
        if (c.in.count_escape > 0 || c.in.count_cancel > 0) {
            if (m.confirm) {
                m.confirm = 0;
                m.cursor = m.choice;
            } else {
                resume_run(c);
            }
            c.in.clear();
        }
        if (take(c.in.count_ok)) {
            if (m.confirm) {
                if (m.cursor != 0) {
                    m.confirm = 0;
                    m.cursor = m.choice;
                } else if (m.choice == 1) {
                    leave_run_for_menu(c);
                    m.confirm = 0;
                    m.title_chosen = 1;
                    pause_requested = 0;
                    app_state = next_state = state_main_menu;
                    state_timer = 0.0f;
                    m.backdrop_alpha = 1.0f;
                    m.mask_fade = 0;
                    c.in.clear();
                } else {
                    c.services.stop_music();
                    pause_requested = 0;
                    app_state = next_state;
                    state_timer = 0.0f;
                    c.services.reset_run();
                    c.in.clear();
                }
            } else if (m.cursor == 0) {
                resume_run(c);
                c.in.clear();
            } else {
                m.confirm = 1;
                m.cursor = 0;
            }
        }
        if (m.confirm) {
            if (take(c.in.count_left) | take(c.in.count_right)) m.cursor = 1 - m.cursor;
        } else {
            // The entry moved to is the one a confirmation will be for.
            if (take(c.in.count_up)) m.choice = m.cursor = m.cursor == 0 ? 2 : m.cursor - 1;
            if (take(c.in.count_down)) m.choice = m.cursor = m.cursor == 2 ? 0 : m.cursor + 1;
        }
        c.in.clear();
    }
    if (game_over) {
        leave_run_for_menu(c);
        app_state = state_main_menu;
        overlay_timer = 0.0f;
        c.in.clear();
        c.services.save_replay();
        if (hi_score_unsaved()) c.services.save_settings();
    }
}

void run_results_logic(Screen_Context& c, float dt) {
    Menu_State& m = c.menu;
    if (overlay_timer == 0.0f) {
        m.previous_score = player.score;
        Stage_Bonus b = compute_stage_bonus(player.score, player.graze, player.points,
                                            bullets_blown, bullets_total);
        m.blown_ratio = b.ratio;
        player.score = b.new_score;
        if (player.score > hi_score) hi_score = player.score;
        // The score panel raises the best score during the run already.
        if (hi_score_unsaved()) c.services.save_settings();
    }
    overlay_timer += dt;
    if (c.in.count_ok > 0 || c.in.count_cancel > 0 || c.in.count_escape > 0) {
        c.services.reset_world();
        m.cursor = 0;
        app_state = state_main_menu;
        c.in.clear();
    }
}
