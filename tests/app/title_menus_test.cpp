// The title screens, pause and results driven by counters alone, with a
// stand-in that records what the screens ask of the program.
#include "app/title_menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/config_file.h"
#include "app/screen_state.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/run_stats.h"
#include "world/settings.h"

namespace {

class Recording_Services : public Shell_Services {
public:
    std::vector<std::string> sounds;
    int saves = 0, window_modes = 0, captures = 0, quits = 0, world_resets = 0, run_resets = 0;
    int replay_saves = 0, music_stops = 0, backdrops = 0;
    bool replay_loads = false;
    // What the screen showed when the picture was captured.
    const Menu_State* menu = nullptr;
    struct Shown {
        int32_t cursor, slide_timer;
        float state_timer;
    };
    std::vector<Shown> captured;

    void play_sound(std::string_view n) override { sounds.emplace_back(n); }
    void play_music(std::string_view) override {}
    void stop_music() override { ++music_stops; }
    void apply_music_volume() override {}
    void load_menu_backdrop() override { ++backdrops; }
    void capture_picture() override {
        ++captures;
        if (menu) captured.push_back({menu->cursor, menu->slide_timer, state_timer});
    }
    void apply_window_mode() override { ++window_modes; }
    void save_settings() override { ++saves; }
    bool load_replay() override { return replay_loads; }
    void save_replay() override { ++replay_saves; }
    void request_quit() override { ++quits; }
    void reset_world() override { ++world_resets; }
    void reset_run() override { ++run_resets; }
    void start_perf_checkpoints() override {}
    void perf_checkpoint(std::string_view) override {}
};

class Screens : public ::testing::Test {
protected:
    void SetUp() override {
        start_lives = 3;
        music_volume_pct = 90;
        sound_volume_pct = 80;
        fullscreen = 0;
        language = 0;
        dead_zone = 0.5f;
        button_shoot = 1;
        button_bomb = 0;
        button_focus = 5;
        button_special = 3;
        button_pause = 7;
        button_spare = 2;
        special_focuses = 0;
        hi_score = saved_hi_score = 9999;
        clear_run_flags();
        services.menu = &menu;
    }
    // Runs frames of 16 ms of the current state until animations settle.
    void frames(int n) {
        for (int i = 0; i < n; ++i) step();
    }
    void step() {
        switch (app_state) {
            case state_language:
                run_language_logic(c, 16);
                break;
            case state_main_menu:
                run_main_menu_logic(c, 16);
                finish_main_menu_action(c);
                break;
            case state_options_fade:
                run_options_fade_logic(c, 16);
                break;
            case state_options:
                run_options_logic(c, 16);
                break;
            case state_key_config:
                run_key_config_logic(c, 16);
                break;
            case state_pause:
                run_pause_logic(c, 16);
                break;
            case state_results:
                run_results_logic(c, 16);
                break;
            default:
                break;
        }
    }
    void enter(int32_t state) {
        app_state = state;
        state_timer = 0;
        overlay_timer = 0;
        step();
    }
    Menu_State menu;
    Input_Counters in;
    Recording_Services services;
    Screen_Context c{menu, in, services};
};

TEST_F(Screens, LanguageOkWhileMovingChoosesTheLanguageLeft) {
    enter(state_language);
    in.count_down = 1;
    step();
    in.count_ok = 1;
    step();
    EXPECT_EQ(language, 0);
    EXPECT_EQ(app_state, state_fade);
    EXPECT_EQ(next_state, state_main_menu);
    EXPECT_EQ(menu.cursor, 1) << "the main menu opens on the replay entry";
    EXPECT_EQ(services.captures, 1);

    enter(state_language);
    menu.cursor = 0;
    in.count_down = 1;
    frames(10);
    in.count_ok = 1;
    step();
    EXPECT_EQ(language, 1);
}

TEST_F(Screens, LanguageFadeStartsFromThePictureAsSeen) {
    struct Case {
        const char* what;
        int32_t cursor;
        int moving_frames;  // frames the cursor has been moving (-1: at rest)
    };
    const Case cases[] = {
        {"first language at rest", 0, -1},
        {"second language at rest", 1, -1},
        {"cursor half way down", 0, 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        services.captured.clear();
        enter(state_language);
        menu.cursor = k.cursor;
        if (k.moving_frames >= 0) {
            in.count_down = 1;
            frames(k.moving_frames + 1);
        }
        const Recording_Services::Shown seen{menu.cursor, menu.slide_timer, state_timer};
        in.count_ok = 1;
        step();
        ASSERT_EQ(services.captured.size(), 1u);
        EXPECT_EQ(services.captured[0].cursor, seen.cursor);
        EXPECT_EQ(services.captured[0].slide_timer, seen.slide_timer);
        EXPECT_EQ(services.captured[0].state_timer, seen.state_timer);
        EXPECT_EQ(language, k.cursor);
        EXPECT_EQ(menu.cursor, 1);
    }
}

TEST_F(Screens, MainMenuEscapeTwiceThenOkQuits) {
    enter(state_main_menu);
    EXPECT_EQ(services.backdrops, 1);
    in.count_escape = 1;
    step();
    EXPECT_EQ(menu.cursor, 3);
    frames(10);
    in.count_escape = 1;
    step();
    EXPECT_EQ(in.count_escape, 0);
    EXPECT_EQ(services.sounds, (std::vector<std::string>{"menu_cancel"}));
    in.count_ok = 1;
    step();
    EXPECT_EQ(services.quits, 1);
}

TEST_F(Screens, MainMenuCursorWrapsAndPressesWaitForTheSlide) {
    enter(state_main_menu);
    in.count_up = 1;
    step();
    EXPECT_EQ(menu.cursor, 3);
    in.count_up = 1;
    step();
    EXPECT_EQ(menu.cursor, 3) << "the press waits while the cursor slides";
    EXPECT_EQ(in.count_up, 1);
    frames(8);
    EXPECT_EQ(menu.cursor, 2);
}

TEST_F(Screens, ReplayEntryWithoutAReplayStaysSilent) {
    enter(state_main_menu);
    menu.cursor = 1;
    in.count_ok = 1;
    frames(40);
    EXPECT_EQ(app_state, state_main_menu);
    EXPECT_TRUE(services.sounds.empty());

    services.replay_loads = true;
    in.count_ok = 1;
    frames(40);
    EXPECT_EQ(app_state, state_fade);
    EXPECT_EQ(next_state, state_replay);
    EXPECT_EQ(transition_frame, 11);
    EXPECT_EQ(services.music_stops, 1);
}

TEST_F(Screens, StartEntryFadesIntoTheGameAfterTheBlink) {
    enter(state_main_menu);
    in.count_ok = 1;
    frames(31);
    EXPECT_EQ(app_state, state_main_menu) << "the entry blinks for 500 ms";
    frames(2);
    EXPECT_EQ(app_state, state_fade);
    EXPECT_EQ(next_state, state_game);
    EXPECT_EQ(transition_frame, 1);
}

TEST_F(Screens, MainMenuTakesNoPressWhileTheChosenEntryBlinks) {
    struct Case {
        int32_t entry;
        int escape_after;  // frames after the ok
        int32_t state, next;
    };
    const Case cases[] = {
        {0, 0, state_fade, state_game},
        {0, 10, state_fade, state_game},
        {2, 0, state_options_fade, state_options},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "entry " << k.entry << ", escape after " << k.escape_after << " frames");
        services.sounds.clear();
        enter(state_main_menu);
        menu.cursor = k.entry;
        in.count_ok = 1;
        frames(k.escape_after);
        in.count_escape = 1;
        in.count_down = 1;
        frames(40 - k.escape_after);
        EXPECT_EQ(app_state, k.state);
        EXPECT_EQ(next_state, k.next);
        EXPECT_EQ(menu.cursor, k.entry);
        EXPECT_EQ(services.sounds, (std::vector<std::string>{"menu_ok"}));
    }
}

TEST_F(Screens, OptionsValuesStayInRangeAndSoundOnlyOnChange) {
    enter(state_options);
    start_lives = 5;
    in.count_right = 1;
    step();
    EXPECT_EQ(start_lives, 5);
    EXPECT_TRUE(services.sounds.empty());
    in.count_left = 1;
    step();
    EXPECT_EQ(start_lives, 4);
    EXPECT_EQ(services.sounds.size(), 1u);

    menu.cursor = 1;
    music_volume_pct = 100;
    in.count_right = 1;
    step();
    EXPECT_EQ(music_volume_pct, 100);
    EXPECT_EQ(services.sounds.size(), 1u);
    in.count_left = 1;
    step();
    EXPECT_EQ(music_volume_pct, 95);
    EXPECT_FLOAT_EQ(music_volume, 0.95f);
}

TEST_F(Screens, OptionsDefaultsDoNotSaveUntilLeft) {
    enter(state_options);
    menu.cursor = 6;
    start_lives = 1;
    in.count_ok = 1;
    frames(40);
    EXPECT_EQ(start_lives, 3);
    EXPECT_EQ(services.saves, 0);
    EXPECT_EQ(app_state, state_options);

    menu.cursor = 7;
    in.count_ok = 1;
    for (int i = 0; i < 40 && app_state == state_options; ++i) step();
    EXPECT_EQ(services.saves, 1);
    EXPECT_EQ(app_state, state_main_menu);
    EXPECT_EQ(menu.cursor, 2) << "the main menu opens on the options entry";
    EXPECT_EQ(state_timer, 1.0f + 0.0f) << "no backdrop reload";
}

TEST_F(Screens, WindowModeAppliesOnlyOnLeavingOrOk) {
    enter(state_options);
    menu.cursor = 3;
    menu.pending_window_mode = 0;
    in.count_left = 1;
    step();
    EXPECT_EQ(fullscreen, 0);
    EXPECT_EQ(services.window_modes, 0);
    in.count_ok = 1;
    step();
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(services.window_modes, 1);
    EXPECT_EQ(services.saves, 1);
}

TEST_F(Screens, KeyConfigSwapsClashingButtons) {
    enter(state_key_config);
    menu.cursor = 0;            // shoot, holding 1
    in.pressed_button = 0 + 1;  // the bomb button
    in.count_escape = 1;        // the bomb button also counted escape
    step();
    EXPECT_EQ(button_shoot, 0);
    EXPECT_EQ(button_bomb, 1);
    EXPECT_EQ(app_state, state_key_config) << "the press did not also count as escape";

    in.pressed_button = 5 + 1;  // focus's button
    step();
    EXPECT_EQ(button_shoot, 5);
    EXPECT_EQ(button_focus, 0);

    menu.cursor = 1;  // bomb, holding 1; pressing shoot's 5
    in.pressed_button = 5 + 1;
    step();
    EXPECT_EQ(button_bomb, 5);
    EXPECT_EQ(button_shoot, 1);
}

TEST_F(Screens, DeadZoneStepsInSinglePrecision) {
    enter(state_key_config);
    menu.cursor = 5;
    in.count_left = 1;
    step();
    EXPECT_EQ(static_cast<int>(dead_zone * 100), 49);
    dead_zone = 0.5f;
    for (int i = 0; i < 3; ++i) {
        in.count_right = 1;
        step();
    }
    EXPECT_EQ(static_cast<int>(dead_zone * 100), 52);
}

TEST_F(Screens, KeyConfigDefaultsGiveSpecialButtonTwo) {
    enter(state_key_config);
    menu.cursor = 7;
    button_special = 9;
    in.count_ok = 1;
    frames(40);
    EXPECT_EQ(button_special, 2);
    EXPECT_EQ(app_state, state_key_config);
    menu.cursor = 8;
    in.count_ok = 1;
    frames(40);
    EXPECT_EQ(app_state, state_options);
    EXPECT_EQ(services.saves, 1);
}

TEST_F(Screens, PauseRestartConfirmation) {
    pause_requested = 1;
    next_state = state_game;
    enter(state_pause);
    EXPECT_EQ(services.sounds, (std::vector<std::string>{"game_paused"}));
    in.count_up = 1;
    step();
    EXPECT_EQ(menu.cursor, 2) << "up from Continue wraps to Restart";
    in.count_ok = 1;
    step();
    EXPECT_EQ(menu.confirm, 1);
    EXPECT_EQ(menu.cursor, 0);
    in.count_right = 1;
    step();
    in.count_left = 1;
    step();
    EXPECT_EQ(menu.cursor, 0);
    in.count_ok = 1;
    step();
    EXPECT_EQ(app_state, state_game);
    EXPECT_EQ(state_timer, 0.0f);
    EXPECT_EQ(services.run_resets, 1);
    EXPECT_EQ(pause_requested, 0);
}

TEST_F(Screens, PauseEscapeClosesConfirmationThenResumes) {
    pause_requested = 1;
    next_state = state_replay;
    enter(state_pause);
    in.count_down = 1;
    step();
    in.count_ok = 1;
    step();
    ASSERT_EQ(menu.confirm, 1);
    in.count_escape = 1;
    step();
    EXPECT_EQ(menu.confirm, 0);
    EXPECT_EQ(menu.cursor, 1);
    EXPECT_EQ(app_state, state_pause);
    in.count_escape = 1;
    step();
    EXPECT_EQ(app_state, state_replay) << "a paused replay resumes as a replay";
}

TEST_F(Screens, PauseTitleConfirmedLeavesForTheMenuWithoutSaving) {
    pause_requested = 1;
    next_state = state_game;
    enter(state_pause);
    in.count_down = 1;
    step();
    in.count_ok = 1;
    step();
    ASSERT_EQ(menu.confirm, 1);
    EXPECT_EQ(menu.choice, 1);
    in.count_ok = 1;
    step();
    EXPECT_EQ(app_state, state_main_menu);
    EXPECT_EQ(state_timer, 0.0f) << "the menu loads its backdrop anew";
    EXPECT_EQ(menu.title_chosen, 1) << "the question stays drawn on this frame";
    EXPECT_EQ(menu.choice, 1) << "and it is still the title's question";
    EXPECT_EQ(services.music_stops, 1);
    EXPECT_EQ(services.world_resets, 1);
    EXPECT_EQ(services.replay_saves, 0) << "a game left through the title writes no replay";
}

TEST_F(Screens, GameOverSavesTheReplayAndGoesToTheMenu) {
    game_over = 1;
    next_state = state_game;
    enter(state_pause);
    EXPECT_EQ(app_state, state_main_menu);
    EXPECT_EQ(services.replay_saves, 1);
    EXPECT_EQ(services.world_resets, 1);
}

TEST_F(Screens, ResultsAddTheBonusOnceAndSaveOnlyABeatenBest) {
    player.score = 50000;
    player.points = 10;
    player.graze = 100;
    bullets_total = 1200;
    bullets_blown = 300;
    hi_score = saved_hi_score = 1250000 + 600000 + 50000;
    enter(state_results);
    EXPECT_EQ(player.score, 1900000u);
    EXPECT_EQ(menu.previous_score, 50000u);
    EXPECT_EQ(services.saves, 0) << "equal to the best does not save";
    step();
    EXPECT_EQ(player.score, 1900000u) << "the bonus is added once";

    player.score = 50001;
    enter(state_results);
    EXPECT_EQ(hi_score, 1900001u);
    EXPECT_EQ(services.saves, 1);
    in.count_cancel = 1;
    step();
    EXPECT_EQ(app_state, state_main_menu);
    EXPECT_EQ(services.world_resets, 1);
}

// The score panel raises the best score as soon as the run's score passes
// it; the run's end then saves it at once, before anything can kill the game.
TEST_F(Screens, ARunEndingAboveTheSavedBestSavesTheSettings) {
    struct Case {
        const char* what;
        int32_t end;
        uint32_t score;
        int expected_saves;
    };
    const Case cases[] = {
        {"game over, best beaten", state_pause, 20000, 1},
        {"game over, best not beaten", state_pause, 500, 0},
        {"results adding nothing, best beaten", state_results, 20000, 1},
        {"results adding nothing, best not beaten", state_results, 500, 0},
    };
    for (const Case& c : cases) {
        services = Recording_Services{};
        saved_hi_score = 9999;
        player.score = c.score;
        player.points = 0;
        bullets_total = bullets_blown = 0;
        hi_score = std::max<uint32_t>(9999, c.score);  // as the score panel left it
        game_over = c.end == state_pause;
        enter(c.end);
        EXPECT_EQ(services.saves, c.expected_saves) << c.what;
        EXPECT_EQ(hi_score, std::max<uint32_t>(9999, c.score)) << c.what;
    }
}

}  // namespace
