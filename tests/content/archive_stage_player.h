// The headless runs of the archive's stage "testlevel": the archive's
// documents with the shell's start-up and run start of the stage, a bot that
// dodges by looking a few frames ahead, the way a careful player reads the
// bullets (it keeps under the nearest enemy, focuses when it threads a gap
// and bombs when a hit cannot be avoided), and the dialogs as the archive
// writes them, without drawing. Shared by the stage's play-through, the
// replay test over the whole stage and the stage benchmarks.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/core/string_help.h"
#include "tests/world/stage_helpers.h"
#include "world/enemy_damage.h"
#include "world/stage_frame.h"

namespace stage_test {

// Where a bullet will be `k` frames from now, moving as it did this frame.
struct Threat {
    float x, y, vx, vy, r;
    bool beam;       // a laser: a segment from (x0, y0) to (x, y)
    float x0, y0;
};

inline float segment_distance(float px, float py, const Threat& t) {
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

// The archive built beside the test programs (MIREL_BINARY_DIR), or the one
// in the working folder, where the benchmarks run.
inline std::string archive_path() {
    const char* dir = std::getenv("MIREL_BINARY_DIR");
    return std::string(dir ? dir : ".") + "/mirel.res";
}

// The real archive's stage documents and what the shell's start-up and run
// start do for the stage, without a window. The runs' dialogs and sounds go
// to `show` and `sink`.
struct Archive_Stage {
    sdk::File_System fs{archive_path()};
    sdk::Resource_Manager player_doc{sdk::Resource_Document(fs, "player.xml")};
    sdk::Resource_Manager patterns{sdk::Resource_Document(fs, "patterns.xml")};
    sdk::Resource_Manager levels{sdk::Resource_Document(fs, "levels.xml")};
    sdk::Resource_Document mirel{fs, "mirel.xml"};
    sdk::Resource_Document text{fs, "text.xml"};
    Archive_Dialogs show;
    Recording_Sound_Sink sink;

    ~Archive_Stage() {
        stage_presentation = nullptr;
        installed_sound_sink = nullptr;
        clear_run_flags();
    }

    // An option of "mirel.xml"; 0 when it has none of the name.
    float option(const std::string& name) const {
        for (const auto& o : mirel.get_resource("options").element.children("option"))
            if (o.get_attribute("name") == name) return sdk::text_to_float(o.get_text());
        return 0.0f;
    }

    // The world's part of start-up: the player, the movement strategies and
    // the item pool's options, then `install_looks` (named looks, or the
    // presentation's), in which the patterns, loaded last, find their looks.
    template <typename Install_Looks>
    void load_world(Install_Looks install_looks) {
        reset_stage_globals();
        player.load(player_doc, "player_kio");
        register_movements(play_field);
        item_pool.init(option("point_scrore_line"), static_cast<int>(option("bonus_point_score_min")),
                       static_cast<int>(option("bonus_point_score_max")), option("bonus_accel"),
                       option("bonus_max_speed"), option("bonus_score_time"));
        install_looks();
        load_patterns(patterns);
    }
    void load_world() { load_world(install_named_looks); }

    // A run start of "testlevel" with `lives`, with the lives option at
    // `lives_setting`; the last run's dialogs and sounds are forgotten.
    void start_run(int lives) { start_run(lives, lives); }
    void start_run(int lives_setting, int lives) {
        show = Archive_Dialogs{};
        show.text = text;
        sink = Recording_Sound_Sink{};
        stage_presentation = &show;
        installed_sound_sink = &sink;
        start_lives = lives_setting;
        start_stage_run(levels, "testlevel", lives);
    }
};

}  // namespace stage_test
