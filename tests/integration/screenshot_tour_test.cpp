// A guided run of the real game that takes the screenshots of
// scripts/screenshots.sh: the language choice, the title, the options and the
// key configuration,
// a busy moment of the stage, a bomb, a dialog,
// the boss with her rings during a spell card, and the results. It drives the
// program through its frame hook: menu presses through the input counters,
// the shot key through the window's event queue, and, to keep the tour
// short and the player alive, it skips the stage ahead to the boss, keeps the
// player invincible under her and cuts her phases short once the spell card
// has been seen. Disabled in the normal test run (it plays for a few
// minutes); the script runs it with MIREL_TOUR_LANGUAGE set to 0 or 1 in an
// empty working folder and collects "screenshot/" (MIREL_TOUR_STOP_AFTER
// names a screenshot after which it ends early).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/screen_state.h"
#include "render/dialog.h"
#include "sdk/display.h"
#include "tests/integration/key_events.h"
#include "world/bullet_pool.h"
#include "world/enemy_lists.h"
#include "world/level.h"
#include "world/player.h"
#include "world/run_flags.h"

namespace {

EnemyBoss* find_boss() {
    for (uint32_t i = 0; i < enemy_lists.active_count && i < enemy_lists.active.size(); ++i)
        if (enemy_lists.active[i]->is_boss) return static_cast<EnemyBoss*>(enemy_lists.active[i].get());
    return nullptr;
}

class Tour {
public:
    // `stop_after`: the name of the screenshot after which the tour ends
    // early (empty: take them all), for a quick look at one screen.
    Tour(int language, std::string stop_after) : language_(language), stop_after_(std::move(stop_after)) {}

    void frame(Application& app) {
        ++frames_;
        ++in_step_;
        if (frames_ > 60 * 600) {  // ten minutes: something is stuck
            failed_ = "the tour did not finish (step " + std::to_string(step_) + ")";
            app.quit = true;
            return;
        }
        if (frames_ % 600 == 0) report();
        if (app_state == state_game) {
            keep_player_alive();
            // Shoot in bursts shorter than the hold that starts charging the wind.
            if (step_ >= 5 && frames_ % 38 == 0) keys::send_key(keys::z, false);
            if (step_ >= 5 && frames_ % 38 == 2) keys::send_key(keys::z, true);
        }
        switch (step_) {
            case 0:  // the language choice, or the menu when the settings exist
                if (app_state == state_main_menu) next(3);
                else if (app_state == state_language && in_step_ > 60) {
                    if (language_ == 1) app.counters.count_down = 1;
                    else shoot(app, "language");
                    next(1);
                }
                break;
            case 1:
                if (in_step_ > 20) {
                    app.counters.count_ok = 1;
                    next(2);
                }
                break;
            case 2:
                if (app_state == state_main_menu) next(3);
                break;
            case 3:  // the title, once the entries have slid in
                if (app_state == state_main_menu && in_step_ > 150) {
                    shoot(app, "title");
                    next(20);
                }
                break;
            case 20:  // into the options
                if (cursor_to(app, 2) && in_step_ % 20 == 10) app.counters.count_ok = 1;
                if (app_state == state_options) next(21);
                break;
            case 21:
                if (in_step_ > 60) {
                    shoot(app, "options");
                    next(22);
                }
                break;
            case 22:  // into the key configuration
                if (app_state == state_options && cursor_to(app, 5) && in_step_ % 20 == 10)
                    app.counters.count_ok = 1;
                if (app_state == state_key_config) next(23);
                break;
            case 23:
                if (in_step_ > 60) {
                    shoot(app, "keys");
                    next(24);
                }
                break;
            case 24:  // back to the main menu: escape moves to "back", then takes it
                if (app_state == state_main_menu) next(4);
                else if (in_step_ % 45 == 0) app.counters.count_escape = 1;
                break;
            case 4:  // up onto "start", then ok
                if (app_state == state_main_menu && in_step_ > 30 && cursor_to(app, 0) && in_step_ % 20 == 10)
                    app.counters.count_ok = 1;
                if (app_state == state_game) {
                    keys::send_key(keys::z, true);  // hold the shot
                    next(5);
                }
                break;
            case 5: {  // a busy moment of the stage
                uint32_t bullets = bullet_pool.size();
                bool busy = (bullets > 300 && in_step_ > 60 * 20) || (bullets > 160 && in_step_ > 60 * 60);
                if (!dialog_active && (busy || in_step_ > 60 * 170)) {
                    shoot(app, "stage");
                    keys::send_key(keys::x, true);  // and a bomb
                    next(30);
                }
                advance_dialogs(app);
                break;
            }
            case 30:
                if (in_step_ == 3) keys::send_key(keys::x, false);
                if (in_step_ == 40) {
                    shoot(app, "bomb");
                    skip_to_boss();
                    next(6);
                }
                break;
            case 6:  // a dialog with its portraits and text
                if (dialog_active && dialog.get_state() == 5 && !dialog.get_line(0).empty() &&
                    (dialog.right_shown() || ++waits_seen_ > 60 * 3)) {
                    shoot(app, "dialog");
                    next(7);
                }
                break;
            case 7: {  // the boss with her rings in a spell card
                advance_dialogs(app);
                EnemyBoss* boss = find_boss();
                if (boss && boss_active) {
                    player.x = boss->x;
                    if (spellcard_running && boss->half == 1 && boss->ring_count > 0) ++spell_frames_;
                    if (spell_frames_ > 150) {
                        shoot(app, "spellcard");
                        next(8);
                    }
                }
                break;
            }
            case 8: {  // her remaining phases cut short, on to the results
                advance_dialogs(app);
                EnemyBoss* boss = find_boss();
                if (boss && boss_active && spellcard_running == 0 && boss->boss_hp > 5) boss->boss_hp = 5;
                if (boss && boss_active && spellcard_running && boss->boss_hp > 5) boss->boss_hp = 5;
                if (boss) player.x = boss->x;
                if (app_state == state_results) next(9);
                break;
            }
            case 9:
                if (in_step_ > 90) {
                    shoot(app, "results");
                    app.quit = true;
                    next(10);
                }
                break;
            default:
                break;
        }
    }

    const std::string& failed() const { return failed_; }
    const std::vector<std::string>& shots() const { return shots_; }

private:
    // Where the tour is, every ten seconds, for a run that seems stuck.
    void report() const {
        EnemyBoss* boss = find_boss();
        std::fprintf(stderr, "tour: step %d, screen %d, bullets %u, dialog %d, boss %d", step_, int(app_state),
                     bullet_pool.size(), int(dialog_active), int(boss_active));
        if (boss)
            std::fprintf(stderr, " (phase %d, half %d, hp %d, rings %d)", boss->phase, boss->half, boss->boss_hp,
                         boss->ring_count);
        std::fprintf(stderr, ", stage clear %d\n", int(stage_clear));
    }
    void next(int step) {
        step_ = step;
        in_step_ = 0;
    }
    // Steps the menu cursor towards `target`, one press per 20 frames; true
    // once it is there.
    bool cursor_to(Application& app, int target) {
        if (app.menu.cursor == target) return true;
        if (in_step_ % 20 == 0) {
            if (app.menu.cursor < target) app.counters.count_down = 1;
            else app.counters.count_up = 1;
        }
        return false;
    }
    void shoot(Application& app, const std::string& name) {
        app.counters.count_screenshot = 1;
        shots_.push_back(name);
        if (name == stop_after_) app.quit = true;
    }
    void keep_player_alive() {
        player.invincible = 3000;
        player.lives = 3;
        player.y = 400;
    }
    // Presses the advance key every half second while a dialog runs.
    void advance_dialogs(Application& app) {
        if (dialog_active && frames_ % 30 == 0) app.counters.count_ok = 1;
    }
    // Moves the stage script to the events that lead to the boss: the boss
    // event and the dialogs, waits and music changes just before it.
    void skip_to_boss() {
        size_t boss = 0;
        while (boss < level_events.size() && level_events[boss].type != event_boss) ++boss;
        if (boss == level_events.size()) return;
        size_t first = boss;
        while (first > next_event && level_events[first - 1].type != event_enemy) --first;
        if (first <= next_event) return;
        next_event = static_cast<uint32_t>(first);
        event_clock = level_events[first].time - 1000.0f;
    }

    int language_;
    std::string stop_after_;
    int frames_ = 0, step_ = 0, in_step_ = 0, waits_seen_ = 0, spell_frames_ = 0;
    std::string failed_;
    std::vector<std::string> shots_;
};

TEST(Screenshot_Tour, DISABLED_TakesTheScreenshotsOfOneLanguage) {
    const char* language = std::getenv("MIREL_TOUR_LANGUAGE");
    const char* stop = std::getenv("MIREL_TOUR_STOP_AFTER");
    Tour tour(language ? std::atoi(language) : 0, stop ? stop : "");
    {
        sdk::Display_Setup display;
        Application app;
        app.frame_hook = [&tour](Application& a) { tour.frame(a); };
        EXPECT_EQ(app.start({"mirel"}), 0);
    }
    EXPECT_EQ(tour.failed(), "");
    // The order of the screenshots, for the script to name them.
    std::ofstream list("screenshot/tour.txt");
    for (const std::string& s : tour.shots()) list << s << "\n";
}

}  // namespace
