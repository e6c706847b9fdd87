#include "world/boss_path.h"

#include <cmath>

#include "sdk/core/log.h"
#include "world/appearances.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/geometry.h"
#include "world/pattern_engine.h"
#include "world/player.h"
#include "world/registries.h"
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
            // The factor 1/dt + 0.9 brakes only above 10 ms and is undefined at
            // a zero step, which neither brakes nor moves.
            if (dt > 0.0f && b.y > line - 50.0f && b.speed > 0.05f) b.speed *= 1.0f / dt + 0.9f;
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
