// The players of the headless runs of the archive's stage "testlevel": a bot
// that dodges by looking a few frames ahead, the way a careful player reads
// the bullets (it keeps under the nearest enemy, focuses when it threads a
// gap and bombs when a hit cannot be avoided), and the dialogs as the
// archive writes them, without drawing. Shared by the stage's play-through
// and the replay test over the whole stage.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "sdk/core/resource_document.h"
#include "tests/world/stage_helpers.h"
#include "world/enemy_damage.h"

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

}  // namespace stage_test
