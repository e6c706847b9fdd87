#include "world/registries.h"

#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "world/bullet_behaviours.h"
#include "world/effect_behaviours.h"
#include "world/player.h"

namespace {

// Resolved when the stores are filled, for the per-frame paths.
std::vector<const Bullet*> numbered_types;
Behaviour* child_behaviours[4] = {};
std::unordered_map<int32_t, const Pattern*> family_descriptors;

const Bullet default_bullet{};

template <typename Map>
auto* find_in(Map& map, const std::string& name) {
    auto it = map.find(name);
    return it == map.end() ? nullptr : it->second.get();
}

struct Behaviour_Row {
    const char* name;
    std::function<std::unique_ptr<Behaviour>(const sdk::Rectf&)> make;
};

// The bullet behaviours and their constants. Two rows copy player values, so
// the player's parameters must be loaded before the table is built.
std::vector<Behaviour_Row> behaviour_rows() {
    return {
        {"bullet_simple",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Simple>(r); }},
        {"bullet_simple2",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Simple2>(r, 300.0f); }},
        {"bullet_simple2_1",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Simple2>(r, 150.0f); }},
        {"bullet_simple3",
         [](const sdk::Rectf& r) {
             return std::make_unique<Behaviour_Simple3>(r, -0.00001f, 0.03f);
         }},
        {"bullet_arc",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Arc>(r, 0.0f, 1.0f); }},
        {"bullet_arc_line",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Arc_Line>(r, 500.0f, 1.2f); }},
        {"bullet_arc_polar_player1",
         [](const sdk::Rectf& r) {
             return std::make_unique<Behaviour_Arc_Polar>(r, player.shot3_accel_time,
                                                          player.shot3_speed_delta);
         }},
        {"bullet_player_1",
         [](const sdk::Rectf& r) {
             return std::make_unique<Behaviour_Player_Bullet2>(r, player.shot4_change_angle,
                                                               player.shot4_speed_delta);
         }},
        {"bullet_lazor1", [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Lazor>(r); }},
        {"bullet_controlled1",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Controlled1>(r); }},
        {"bullet_timed", [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Timed>(r); }},
        {"bullet_stopping",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Stopping>(r); }},
        {"bullet_turning",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Turning>(r); }},
        {"bullet_spinning",
         [](const sdk::Rectf& r) { return std::make_unique<Behaviour_Spinning>(r); }},
    };
}

// The number n of a name "bullet" + n (or "p" + n) written the way the code
// writes it, or -1.
long canonical_number(const std::string& name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
    std::string_view digits(name.data() + prefix.size(), name.size() - prefix.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return -1;
    long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

void register_bullet_behaviours(const sdk::Rectf& rect) {
    for (auto& row : behaviour_rows()) behaviour_registry[row.name] = row.make(rect);
    const char* kinds[4] = {"bullet_simple", "bullet_simple2", "bullet_simple2_1",
                            "bullet_simple3"};
    for (int i = 0; i < 4; ++i) child_behaviours[i] = get_behaviour(kinds[i]);
    world_bullet_behaviours.simple = get_behaviour("bullet_simple");
    world_bullet_behaviours.spinning = get_behaviour("bullet_spinning");
    world_bullet_behaviours.arc_polar_player1 = get_behaviour("bullet_arc_polar_player1");
}

void register_effect_behaviours() {
    effect_behaviour_registry["effect_stay_still"] =
        std::make_unique<Effect_Behaviour_Stay_Still>();
    effect_behaviour_registry["score_float"] = std::make_unique<Effect_Behaviour_Score_Float>();
    effect_behaviour_registry["effect_flyoff"] = std::make_unique<Effect_Behaviour_Flyoff>();
    effect_behaviour_registry["effect_grav"] = std::make_unique<Effect_Behaviour_Grav>(0.01);
    world_effect_behaviours.stay_still = get_effect_behaviour("effect_stay_still");
    world_effect_behaviours.score_float = get_effect_behaviour("score_float");
    world_effect_behaviours.flyoff = get_effect_behaviour("effect_flyoff");
}

Behaviour* get_behaviour(const std::string& name) { return find_in(behaviour_registry, name); }
Effect_Behaviour* get_effect_behaviour(const std::string& name) {
    return find_in(effect_behaviour_registry, name);
}
Enemy_Path* get_enemy_path(const std::string& name) { return find_in(enemy_path_registry, name); }
Spellcard* get_spellcard(const std::string& name) { return find_in(spellcards, name); }

Bullet create_bullet(const std::string& name) {
    auto it = bullet_types.find(name);
    return it == bullet_types.end() ? Bullet{} : it->second;
}

void index_pattern_stores() {
    numbered_types.clear();
    for (const auto& [name, type] : bullet_types) {
        long n = canonical_number(name, "bullet");
        if (n < 0 || n > 9999) continue;
        if (numbered_types.size() <= static_cast<size_t>(n)) numbered_types.resize(n + 1, nullptr);
        numbered_types[n] = &type;
    }
    family_descriptors.clear();
    for (const auto& [name, p] : pattern_types) {
        long n = canonical_number(name, "p");
        if (n >= 0) family_descriptors[static_cast<int32_t>(n)] = &p;
    }
}

const Bullet& bullet_type_by_number(int n) {
    if (n < 0 || static_cast<size_t>(n) >= numbered_types.size() || !numbered_types[n])
        return default_bullet;
    return *numbered_types[n];
}

Behaviour* spawn_behaviour(int kind) { return child_behaviours[kind >= 0 && kind < 4 ? kind : 0]; }

const Pattern* find_family_descriptor(int32_t family) {
    auto it = family_descriptors.find(family);
    return it == family_descriptors.end() ? nullptr : it->second;
}
