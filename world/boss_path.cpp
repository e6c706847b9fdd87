#include "world/boss_path.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "sdk/core/dom.h"
#include "sdk/core/log.h"
#include "sdk/core/string_help.h"
#include "world/appearances.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/geometry.h"
#include "world/level.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/registries.h"
#include "world/replay_frame.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/sound_sink.h"
#include "world/spellcard.h"
#include "world/stage_presentation.h"

namespace {

constexpr const char* spellcard_layer = "rimea_back_1";

const Spellcard_Entry& current_phase(const EnemyBoss& b) {
    return b.phases[static_cast<size_t>(b.phase)];
}

const Spellcard* half_card(const EnemyBoss& b) {
    const Spellcard_Entry& p = current_phase(b);
    return b.half == 0 ? p.nonspell_card : p.spell_card;
}

float card_time(const Spellcard* card) { return card ? static_cast<float>(card->time) : 0.0f; }

// Time of the straight move from the boss to the phase's start position. A
// phase without a start speed places the boss there at once instead of
// leaving it on the way forever.
float move_time_to_start(const EnemyBoss& b) {
    const Spellcard_Entry& p = current_phase(b);
    float d = sdk::Vec2f(p.start_x - b.x, p.start_y - b.y).length();
    return p.start_speed > 0.0f ? d / p.start_speed : 0.0f;
}

void add_stay_still_effect(const char* look, float x, float y, int32_t value) {
    Effect fx;
    fx.x = x;
    fx.y = y;
    fx.value = value;
    fx.appearance = find_effect_appearance(look);
    fx.behaviour = get_effect_behaviour("effect_stay_still");
    effect_pool.add(fx);
}

void fade_layers(const Spellcard* card, bool in) {
    if (!card || !stage_presentation) return;
    for (const Spell_Effect& fx : card->effects) {
        if (fx.kind != 1 || fx.id != 1) continue;
        if (in)
            stage_presentation->fade_in_spellcard_layer(spellcard_layer, 200.0f);
        else
            stage_presentation->fade_out_spellcard_layer(spellcard_layer, 200.0f);
    }
}

void start_move_to_phase(EnemyBoss& b) {
    b.action_clock = 0.0f;
    b.move_start_x = b.x;
    b.move_start_y = b.y;
    b.phase_offset = move_time_to_start(b);
    spellcard_running = 0;
    player.bombed_in_spellcard = 0;
    b.path_state = 30;
    b.effects_done = 0;
}

void prepare_first_phase(EnemyBoss& b) {
    b.phase = 0;
    b.action = 0;
    b.boss_hp = current_phase(b).hp_nonspell;
    b.half = 0;
    b.time_limit = card_time(current_phase(b).nonspell_card);
    b.action_clock = 0.0f;
    b.accel = 0.001f;
    b.effects_done = 0;
    b.move_start_x = b.x;
    b.move_start_y = b.y;
    b.phase_offset = move_time_to_start(b);
    spellcard_running = 0;
    player.bombed_in_spellcard = 0;
    add_stay_still_effect("boss_name", 32.0f, 36.0f, b.name == "rimea" ? 0 : 1);
}

// The half ended with `result` (1 hit points gone, 2 time out).
void end_half(EnemyBoss& b, int result) {
    spellcard_running = 0;
    if (b.name_effect) b.name_effect->alive = 0;
    b.acting = 0;
    b.acting_time = 0.0f;

    const Spellcard_Entry& phase = current_phase(b);
    if (result == 1 && b.half == 1 && !player.bombed_in_spellcard) {
        player.score += static_cast<uint32_t>(phase.price);
        add_stay_still_effect("spellcard_result", 224.0f, 240.0f, phase.price);
    } else if (result == 2 || b.half == 1) {
        add_stay_still_effect("spellcard_result", 224.0f, 240.0f, 0);
    }

    bullet_pool.cancel_all(result == 1 ? 1 : 0);
    clear_patterns();
    fade_layers(half_card(b), false);

    if (b.half == 0) {
        b.half = 1;
        b.action = 0;
        b.boss_hp = phase.hp_spell;
    } else {
        b.phase += 1;
        if (b.phase >= static_cast<int8_t>(b.shot_count) ||
            b.phase >= static_cast<int32_t>(b.phases.size())) {
            if (result == 1 || b.name != "noname") {
                b.alive = 0;
                b.dying = 1;
            } else {
                b.path_state = 40;
                sdk::Vec2f away = sdk::Vec2f(b.x - 280.0f, b.y - 600.0f).normalized();
                b.dir_x = away.x;
                b.dir_y = away.y;
            }
            spellcard_running = 0;
            boss_active = 0;
            return;
        }
        b.half = 0;
        b.action = 0;
        b.boss_hp = current_phase(b).hp_nonspell;
    }
    b.time_limit = card_time(half_card(b));
    start_move_to_phase(b);
}

void follow_rings(EnemyBoss& b, float dt) {
    if (b.ring_x == b.x && b.ring_y == b.y) return;
    sdk::Vec2f centre{b.ring_x, b.ring_y};
    sdk::Vec2f boss{b.x, b.y};
    sdk::Vec2f u = (boss - centre).normalized();
    sdk::Vec2f n = centre + u * (0.05f * dt);
    if (n.distance(boss) > u.length()) n = boss;
    b.ring_x = n.x;
    b.ring_y = n.y;
}

}  // namespace

void apply_boss_rings(EnemyBoss& b, const Spellcard& card) {
    int32_t wanted[boss_ring_capacity];
    int32_t wanted_count = 0;
    for (const Spell_Effect& fx : card.effects) {
        if (fx.kind != 0) continue;
        if (wanted_count < boss_ring_capacity)
            wanted[wanted_count++] = fx.id;
        else
            wanted[boss_ring_capacity - 1] = fx.id;
        bool found = false;
        for (int32_t i = 0; i < b.ring_count; ++i) {
            if (b.ring_frame[i] != fx.id) continue;
            sdk::log_event("Debug", "Relocate boss ring");
            b.ring_target[i] = fx.target;
            b.ring_width[i] = fx.width;
            b.ring_spin[i] = fx.spin;
            b.ring_state[i] = 2;
            found = true;
        }
        if (found) continue;
        // Eight rings is all the boss has room for.
        if (b.ring_count >= boss_ring_capacity) {
            sdk::log_event("Debug", "No room for boss ring %1", fx.id);
            continue;
        }
        sdk::log_event("Debug", "Add boss ring");
        int32_t i = b.ring_count++;
        b.ring_frame[i] = fx.id;
        b.ring_state[i] = 0;
        b.ring_radius[i] = 10.0f;
        b.ring_width[i] = fx.width;
        b.ring_angle[i] = 0.0f;
        b.ring_spin[i] = fx.spin;
        b.ring_alpha[i] = 0.01f;
        b.ring_target[i] = fx.target;
    }
    if (wanted_count >= b.ring_count) return;
    for (int32_t i = 0; i < b.ring_count; ++i) {
        bool keep = false;
        for (int32_t w = 0; w < wanted_count; ++w) keep = keep || wanted[w] == b.ring_frame[i];
        if (keep) continue;
        sdk::log_event("Debug", "Remove boss ring");
        b.ring_state[i] = 3;
        b.ring_target[i] = 600.0f;
    }
}

Enemy_Path_Boss::Enemy_Path_Boss(const sdk::Rectf& rect, float stop_depth)
    : Enemy_Path(rect, stop_depth, 0) {}

float Enemy_Path_Boss::stop_line() const { return field_bounds.top + param; }

bool Enemy_Path_Boss::entry_over(const Enemy& e) { return e.is_boss && e.path_state >= 10; }

namespace {

// The entry's bounds, from the brake and the steps a replay may hold. The
// slowest a boss leaves its brake: a step of at most the longest keeps more
// than 1 / longest + keep of a speed above the brake's.
constexpr float entry_slowest_braked = 0.045f;
static_assert(entry_slowest_braked <=
              entry_brake_speed * (1.0f / longest_frame_step + entry_brake_keep));
// How far past the line the entry's last step may go where the step before
// it braked too: that step began within the brake's depth, and in even steps
// of 1 ms or more each braking step is at most 1 / (1 ms) + keep = 1.9 times
// as long as the one before.
constexpr float entry_overshoot = 2.0f * entry_brake_depth;
// A step at the speed the boss was given moves it at most that speed times
// the longest step, braking (speed x (1 + keep x dt)) or not, and the frame
// that creates a boss moves it twice: by its lateness, then by its step.
constexpr float entry_longest_stride = 2.0f * longest_frame_step;

// A number as a message shows it.
std::string shown(float value) { return sdk::float_to_text(value); }

bool within_reach(float v) { return std::fabs(v) < boss_position_limit; }

std::string reach_text() {
    return "-" + shown(boss_position_limit) + " to " + shown(boss_position_limit) + " px";
}

std::string longest_text() { return shown(boss_longest_time) + " ms"; }

// The text of the child `tag` of `e`, trimmed; empty for a missing child.
std::string written(const sdk::Dom_Element& e, const std::string& tag) {
    sdk::Dom_Element c = e.first_child(tag);
    return c ? sdk::trim(c.get_text()) : std::string();
}

}  // namespace

// The boss must come down to its stop line, then to each phase's start,
// where it waits. The cards' own moves end with their time limits; their
// targets are held to the places a boss may go when the cards load.
std::string Enemy_Path_Boss::refusal(const Level_Event& ev, const sdk::Dom_Element& node,
                                     std::span<const Spellcard_Entry> phases) const {
    std::vector<std::string> params = sdk::split_text(written(node, "params"), ";");
    const std::string heading = sdk::trim(params.at(2));
    const std::string speed = sdk::trim(params.at(5));
    if (!within_reach(ev.x) || !within_reach(ev.y))
        return "'params' puts the boss at " + shown(ev.x) + ";" + shown(ev.y) + ", outside the " +
               reach_text() + " it may be sent to";

    // The entry flies straight along the heading, so its place on the stop
    // line follows from the heading; its last step may go past the line, and
    // takes x with it.
    const float line = stop_line();
    const float h = ev.heading * (sdk::pi / 180.0f);
    const float dir_x = std::cos(h);
    const float dir_y = std::sin(h);
    float drift = std::fabs(dir_x * ev.speed) * entry_longest_stride;
    // Below the line, the boss is placed on it by its first step unless that
    // step carries it back over. The first step is the lateness of its
    // creation, or a whole frame's step after a dialog, and a replay may
    // make either as short as it likes. The shortest carry it least: next to
    // nothing, or, where the brake multiplies its speed by 1 / dt + keep,
    // its speed's worth of pixels along its heading.
    const bool below = ev.y > line;
    const bool placed = below && (ev.speed <= entry_brake_speed || ev.y + ev.speed * dir_y > line);
    if (below && !placed)
        return "'params' puts the boss at " + shown(ev.x) + ";" + shown(ev.y) +
               ", below its stop line at y " + shown(line) + ", and speed " + speed +
               " px/s at heading " + heading + " takes it at least " + shown(-ev.speed * dir_y) +
               " px up in its first step, back over the line and away from it";
    if (!placed) {
        if (!(dir_y > 0.0f))
            return "'params' heading " + heading +
                   " does not take the boss down to its stop line at y " + shown(line);
        if (!(ev.speed > 0.0f))
            return "'params' speed '" + speed +
                   "' px/s does not take the boss down to its stop line at y " + shown(line);
        // Below 2^-16 px/ms a place near the line no longer changes in a
        // step of 1 ms.
        const float slowest = std::min(ev.speed, entry_slowest_braked) * dir_y;
        const float time = std::max(line - ev.y, 0.0f) / slowest;
        if (!(slowest >= 1.0f / 65536.0f) || !(time < boss_longest_time))
            return "'params' speed " + speed + " px/s at heading " + heading +
                   " brings the boss down at " + shown(slowest * 1000.0f) +
                   " px/s at its slowest, and to its stop line at y " + shown(line) + " in " +
                   shown(time) + " ms; an entry must go down at least " +
                   shown(1000.0f / 65536.0f) + " px/s and take less than " + longest_text();
        drift += std::fabs(dir_x / dir_y) * (std::max(line - ev.y, 0.0f) + entry_overshoot);
    }
    if (!within_reach(ev.x - drift) || !within_reach(ev.x + drift))
        return "'params' heading " + heading + " and speed " + speed + " px/s may take the boss " +
               shown(drift) + " px aside on its way in, past the " + reach_text() +
               " it may be sent to";

    // Every place the boss goes lies in this box: where its entry ends, the
    // phases' starts and its cards' targets.
    float left = ev.x - drift, right = ev.x + drift, top = line, bottom = line;
    auto take = [&](float x, float y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    };
    for (size_t i = 0; i < phases.size(); ++i) {
        const Spellcard_Entry& p = phases[i];
        const std::string tag = "spellcard" + std::to_string(i + 1);
        if (!within_reach(p.start_x) || !within_reach(p.start_y))
            return tag + ": 'start_position' puts the boss at " + shown(p.start_x) + ";" +
                   shown(p.start_y) + ", outside the " + reach_text() + " it may be sent to";
        if (!(p.start_wait < boss_longest_time))
            return tag + ": 'start_wait' is " + written(node.first_child(tag), "start_wait") +
                   " ms; a wait must be shorter than " + longest_text();
        take(p.start_x, p.start_y);
        for (const Spellcard* card : {p.nonspell_card, p.spell_card})
            for (const Spell_Action& a : card->actions)
                if (a.kind == 0) take(static_cast<float>(a.a), static_cast<float>(a.b));
    }
    const float across = std::hypot(right - left, bottom - top);
    for (size_t i = 0; i < phases.size(); ++i) {
        const Spellcard_Entry& p = phases[i];
        // A start speed of 0 or less places the boss at once.
        const std::string tag = "spellcard" + std::to_string(i + 1);
        if (p.start_speed > 0.0f && !(across / p.start_speed < boss_longest_time))
            return tag + ": 'start_speed' " + written(node.first_child(tag), "start_speed") +
                   " px/s takes up to " + shown(across / p.start_speed) + " ms to cross the " +
                   shown(across) + " px the boss moves in; a move must take less than " +
                   longest_text();
    }
    return {};
}

bool Enemy_Path_Boss::update(Enemy& e, float dt) {
    if (!e.is_boss) return false;
    EnemyBoss& b = static_cast<EnemyBoss&>(e);
    b.hover_time += dt;
    if (b.acting) b.acting_time += dt;
    if (dialog_active) return true;

    switch (b.path_state) {
        case 0:
            b.acting = 0;
            b.moving = 0;
            b.hover_time = 0.0f;
            if (b.name_effect) {
                b.name_effect->alive = 0;
                b.name_effect->appearance = find_effect_appearance("spellcard_name");
                b.name_effect->behaviour = get_effect_behaviour("effect_stay_still");
                b.name_effect->value = 0;
            }
            b.path_state = 1;
            [[fallthrough]];
        case 1: {
            float line = stop_line();
            // The factor is undefined at a zero step, which neither brakes nor
            // moves.
            if (dt > 0.0f && b.y > line - entry_brake_depth && b.speed > entry_brake_speed)
                b.speed *= 1.0f / dt + entry_brake_keep;
            b.x += b.speed * b.dir_x * dt;
            b.y += b.speed * b.dir_y * dt;
            if (b.y > line) {
                b.y = line;
                b.speed = 0.0f;
                b.path_state = 10;
            }
            b.ring_x = b.x;
            b.ring_y = b.y;
            break;
        }
        case 10:
            if (b.has_dialog) {
                std::string name = b.dialog_name + (language == 0 ? "_rus" : "_jap");
                if (stage_presentation) {
                    dialog_active = 1;
                    stage_presentation->start_dialog(name);
                }
                sdk::log_event("Game Event", "Start Boss Dialog %1", name);
            }
            prepare_first_phase(b);
            b.path_state = 11;
            break;
        case 11:
            if (b.name == "rimea") sound_sink().play_music("02_glass_winter");
            b.path_state = 30;
            break;
        case 30: {
            if (!b.effects_done) {
                sdk::log_event("Debug", "Process spellcard effects");
                if (const Spellcard* card = half_card(b)) apply_boss_rings(b, *card);
                b.effects_done = 1;
            }
            b.action_clock += dt;
            const Spellcard_Entry& p = current_phase(b);
            // A move of no length (or of no time) has arrived, also in a
            // frame of step 0, which would otherwise divide 0 by 0.
            if (b.phase_offset > 0.0f && b.action_clock <= b.phase_offset) {
                float f = b.action_clock / b.phase_offset;
                b.x = b.move_start_x + (p.start_x - b.move_start_x) * f;
                b.y = b.move_start_y + (p.start_y - b.move_start_y) * f;
            } else {
                b.x = b.move_start_x = p.start_x;
                b.y = b.move_start_y = p.start_y;
                b.action_clock = 0.0f;
                b.action = 0;
                b.phase_offset = p.start_wait;
                b.path_state = 31;
            }
            break;
        }
        case 31:
            b.action_clock += dt;
            if (b.action_clock > b.phase_offset) {
                const Spellcard_Entry& p = current_phase(b);
                b.action = 0;
                b.boss_hp = b.half == 0 ? p.hp_nonspell : p.hp_spell;
                b.action_clock = 0.0f;
                b.time_limit = card_time(half_card(b));
                b.path_state = 20;
                spellcard_running = 1;
                sdk::log_event("Debug", "Launch spellcard effects");
                fade_layers(half_card(b), true);
                if (b.half == 1 && b.name_effect) {
                    b.name_effect->age = 0.0f;
                    b.name_effect->alive = 1;
                    b.name_effect->value = b.phase;
                }
            }
            break;
        case 20: {
            const Spellcard* card = half_card(b);
            int result = card ? card->run_action(b, dt) : 2;
            if (b.half == 1 && b.name_effect && b.name_effect->behaviour)
                b.name_effect->behaviour->update(*b.name_effect, dt);
            if (result != 0) end_half(b, result);
            break;
        }
        default:
            b.x += b.speed * b.dir_x * dt;
            b.y += b.speed * b.dir_y * dt;
            return rects_overlap(*this, b.x - static_cast<float>(b.width / 2),
                                 b.y - static_cast<float>(b.height / 2),
                                 b.x + static_cast<float>(b.width / 2),
                                 b.y + static_cast<float>(b.height / 2));
    }
    follow_rings(b, dt);
    return b.alive != 0;
}
