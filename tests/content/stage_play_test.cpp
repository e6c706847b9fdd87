// Plays the archive's stage "testlevel" headless from start to end with a bot that dodges
// by looking a few frames ahead, the way a careful player reads the bullets: it keeps under
// the nearest enemy, focuses when it threads a gap and bombs when a hit cannot be avoided.
// The stage must load through the game's own loaders, run every boss half, and end through
// its closing dialog within the stage's length; the run's figures (time, deaths, bombs, graze,
// the fullest moment, each boss half) are printed for whoever tunes the stage; with
// MIREL_STAGE_TRACE set, a line every ten seconds of play follows the bullets, enemies, lives
// and power.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sdk/core/file_system.h"
#include "sdk/core/string_help.h"
#include "tests/world/stage_helpers.h"
#include "world/enemy_damage.h"
#include "world/stage_frame.h"

namespace {

using namespace stage_test;

std::string archive_path() {
    const char* dir = std::getenv("MIREL_BINARY_DIR");
    return std::string(dir ? dir : ".") + "/mirel.res";
}

float option(const sdk::Resource_Document& mirel, const std::string& name) {
    for (const auto& o : mirel.get_resource("options").element.children("option"))
        if (o.get_attribute("name") == name) return sdk::text_to_float(o.get_text());
    return 0.0f;
}

// Where a bullet will be `k` frames from now, moving as it did this frame.
struct Threat {
    float x, y, vx, vy, r;
    bool beam;       // a laser: a segment from (x0, y0) to (x, y)
    float x0, y0;
};

float segment_distance(float px, float py, const Threat& t) {
    float dx = t.x - t.x0, dy = t.y - t.y0;
    float len2 = dx * dx + dy * dy;
    float u = len2 > 0 ? std::clamp(((px - t.x0) * dx + (py - t.y0) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    float ex = t.x0 + u * dx - px, ey = t.y0 + u * dy - py;
    return std::sqrt(ex * ex + ey * ey);
}

struct Dodging_Player {
    int frame = 0;
    int bombs_used = 0;

    Player_Input next(int32_t& advances) {
        ++frame;
        Player_Input in;
        advances = dialog_active && frame % 20 == 0 ? 1 : 0;
        std::vector<Threat> threats;
        for (const Bullet& b : bullet_pool) {
            if (b.layer != 1) continue;
            if (b.keep_prev) {
                threats.push_back({b.x, b.y, 0, 0, b.radius, true, b.prev_x, b.prev_y});
                continue;
            }
            float dx = b.x - player.x, dy = b.y - player.y;
            if (dx * dx + dy * dy > 160.0f * 160.0f) continue;
            threats.push_back({b.x, b.y, b.x - b.prev_x, b.y - b.prev_y, b.radius, false, 0, 0});
        }
        sdk::Vec2f target = nearest_enemy_to_player();
        if (enemy_lists.active_count == 0) target = {224, 0};

        // Nine moves, plain or focused; each judged over the next 14 frames.
        float best = 1e30f, danger_of_best = 0;
        int best_dx = 0, best_dy = 0;
        bool best_focus = false;
        for (int focus = 0; focus < 2; ++focus) {
            float speed = (focus ? player.focused_speed : player.normal_speed) * 16.7f;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    float f = (dx && dy) ? 0.8f : 1.0f;
                    float danger = 0;
                    for (int k = 1; k <= 14; ++k) {
                        float px = std::clamp(player.x + dx * f * speed * k, 42.0f, 406.0f);
                        float py = std::clamp(player.y + dy * f * speed * k, 40.0f, 452.0f);
                        for (const Threat& t : threats) {
                            float d;
                            if (t.beam) {
                                d = segment_distance(px, py, t);
                            } else {
                                float bx = t.x + t.vx * k - px, by = t.y + t.vy * k - py;
                                d = std::sqrt(bx * bx + by * by);
                            }
                            float reach = t.r + player.radius + 5.0f;
                            if (d < reach) danger += 100.0f / static_cast<float>(k);
                            else if (d < reach + 10.0f) danger += 2.0f / static_cast<float>(k);
                        }
                    }
                    float px = player.x + dx * f * speed * 6, py = player.y + dy * f * speed * 6;
                    float wish = std::fabs(px - target.x) * 0.02f + std::fabs(py - 400.0f) * 0.03f + focus * 0.3f;
                    float cost = danger + wish;
                    if (cost < best) {
                        best = cost;
                        danger_of_best = danger;
                        best_dx = dx;
                        best_dy = dy;
                        best_focus = focus != 0;
                    }
                }
            }
        }
        in.right = best_dx > 0;
        in.left = best_dx < 0;
        in.down = best_dy > 0;
        in.up = best_dy < 0;
        in.left_shift = best_focus;
        in.z = frame % 30 != 0;  // let go now and then, so the wind never charges
        // A hit that no move avoids within three frames: bomb, as a careful new player would.
        if (danger_of_best >= 33.0f && player.invincible == 0 && !player.bombing && player.bombs > 0 &&
            !dialog_active) {
            in.x = true;
            ++bombs_used;
        }
        return in;
    }
};

// Dialogs as the archive writes them: each "wait" takes one advance press, and a scene that
// holds "level_end" ends the stage once its lines are read.
struct Archive_Dialogs : Stage_Presentation {
    sdk::Resource_Document text;
    std::vector<std::string> dialogs;
    int waits_left = 0;
    bool ends_level = false;
    void start_dialog(const std::string& name) override {
        dialogs.push_back(name);
        if (!text.resource_exists(name)) {
            dialog_active = 0;
            return;
        }
        waits_left = 0;
        ends_level = false;
        for (const auto& a : text.get_resource(name).element.children("action")) {
            waits_left += a.get_attribute("name") == "wait";
            ends_level = ends_level || a.get_attribute("name") == "level_end";
        }
    }
    void update_dialog(float, int advances) override {
        waits_left -= advances;
        if (waits_left > 0) return;
        if (ends_level) stage_clear = 1;
        else dialog_active = 0;
    }
    void update_background(float) override {}
    void fade_in_spellcard_layer(const std::string&, float) override {}
    void fade_out_spellcard_layer(const std::string&, float) override {}
};

struct Boss_Half {
    int phase, half;
    float begun, ended;
    int lives_lost;
};

TEST(Stage_Play, TheStageLoadsRunsEveryBossHalfAndEndsThroughItsClosingDialog) {
    sdk::File_System fs(archive_path());
    sdk::Resource_Manager player_doc(sdk::Resource_Document(fs, "player.xml"));
    sdk::Resource_Manager patterns(sdk::Resource_Document(fs, "patterns.xml"));
    sdk::Resource_Manager levels(sdk::Resource_Document(fs, "levels.xml"));
    sdk::Resource_Document mirel(fs, "mirel.xml");
    sdk::set_log_sink([](const std::string&, const std::string&) {});

    reset_stage_globals();
    player.load(player_doc, "player_kio");
    player.reset();
    register_movements(play_field);
    item_pool.init(option(mirel, "point_scrore_line"), static_cast<int>(option(mirel, "bonus_point_score_min")),
                   static_cast<int>(option(mirel, "bonus_point_score_max")), option(mirel, "bonus_accel"),
                   option(mirel, "bonus_max_speed"), option(mirel, "bonus_score_time"));
    install_named_looks();
    load_patterns(patterns);
    Archive_Dialogs show;
    show.text = sdk::Resource_Document(fs, "text.xml");
    Recording_Sound_Sink sink;
    stage_presentation = &show;
    installed_sound_sink = &sink;
    start_lives = 5;
    start_stage_run(levels, "testlevel");

    Dodging_Player bot;
    std::vector<Boss_Half> halves;
    float t = 0, boss_at = -1;
    int deaths = 0, lives_before = player.lives;
    uint32_t fullest = 0;
    float fullest_at = 0;
    for (int f = 0; f < 8 * 60 * 60 && !stage_clear && !game_over; ++f) {
        float dt = f % 3 == 0 ? 17.0f : 16.0f;
        Stage_Input in;
        Player_Input devices = bot.next(in.advances);
        in.devices = &devices;
        run_stage_frame(dt, in);
        t += dt;
        if (player.lives < lives_before) deaths += lives_before - player.lives;
        lives_before = player.lives;
        if (std::getenv("MIREL_STAGE_TRACE") && f % 600 == 0)
            std::printf("trace %5.0f s clock %6.0f bullets %4u enemies %3u lives %d power %d\n", t / 1000, event_clock,
                        bullet_pool.size(), enemy_lists.active_count, player.lives, player.power);
        if (bullet_pool.size() > fullest) {
            fullest = bullet_pool.size();
            fullest_at = t;
        }
        if (EnemyBoss* b = active_boss()) {
            if (boss_at < 0) boss_at = t;
            if (b->path_state == 20 && (halves.empty() || halves.back().phase != b->phase || halves.back().half != b->half)) {
                if (!halves.empty()) halves.back().ended = t;
                halves.push_back({b->phase, b->half, t, -1, deaths});
            }
        } else if (!halves.empty() && halves.back().ended < 0) {
            halves.back().ended = t;
        }
    }
    stage_presentation = nullptr;
    installed_sound_sink = nullptr;

    std::printf("stage: %.0f s in all, boss from %.0f s; %d deaths, %d bombs, %d graze, score %u\n", t / 1000,
                boss_at / 1000, deaths, bot.bombs_used, player.graze, player.score);
    std::printf("stage: fullest moment %u bullets at %.0f s\n", fullest, fullest_at / 1000);
    for (const Boss_Half& h : halves)
        std::printf("boss phase %d %s: %.1f s, deaths before it %d\n", h.phase + 1, h.half ? "spell card" : "attack",
                    (h.ended - h.begun) / 1000, h.lives_lost);

    EXPECT_FALSE(game_over) << "a careful player with five lives and bombs loses the stage";
    EXPECT_TRUE(stage_clear) << "the stage did not end within eight minutes";
    EXPECT_EQ(halves.size(), 8u) << "four phases of an attack and a spell card";
    EXPECT_GE(t, 4 * 60 * 1000.0f) << "the stage is shorter than four minutes";
    EXPECT_LE(t, 7 * 60 * 1000.0f) << "the stage is longer than seven minutes";
    ASSERT_FALSE(show.dialogs.empty());
    EXPECT_EQ(show.dialogs.back(), "rimea_defeat_rus");
    EXPECT_NE(std::find(sink.music.begin(), sink.music.end(), "play 01_amber_wind"), sink.music.end());
    EXPECT_NE(std::find(sink.music.begin(), sink.music.end(), "play 02_glass_winter"), sink.music.end());
}

}  // namespace
