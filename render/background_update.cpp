// The per-frame animation of a background: scrolling, wobbling and fading of
// the tile layers, and spawning, moving and removing of the leaves, clouds
// and trees. Every random number comes from the shared generator, one draw
// per statement, in the order the steps take them.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "render/background.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/random.h"
#include "world/geometry.h"

namespace {

// The next value of the shared generator modulo n; a modulus that is not
// positive (a degenerate clip rectangle or range) gives 0.
int rand_mod(int n) { return n > 0 ? sdk::rand() % n : 0; }

float rand_fraction() { return static_cast<float>(rand_mod(100)) / 100.0f; }

// Moves one axis of a layer's wobble toward its random target, drawing a new
// target once it is close enough.
void wobble(float amplitude, float rate, float& target, float& value, float dt) {
    if (amplitude == 0.0f) return;
    if (std::fabs(value - target) <= rate) target = amplitude - rand_fraction() * 2.0f * amplitude;
    if (value <= target)
        value += rate * dt;
    else
        value -= rate * dt;
}

void wrap(float& scroll, int32_t size) {
    if (scroll > static_cast<float>(size)) scroll -= static_cast<float>(size);
    if (scroll < 0.0f) scroll += static_cast<float>(size);
}

// Spawns are due every `interval` ms. A long step (the warm-up after a load
// runs 1000 ms steps) spawns every one that fell due in it, so the picture
// starts as full as it will stay, rather than one per step and the backlog
// pouring out in the first seconds of play. A step never spawns more than
// `max_spawns_per_update`; what is left over is dropped.
constexpr int max_spawns_per_update = 64;

template <typename Spawn>
void catch_up(Background_Effect& e, float dt, float interval, bool on, Spawn spawn) {
    e.spawn_timer += dt;
    for (int spawns = 0; e.spawn_timer >= interval && on; ++spawns) {
        if (spawns == max_spawns_per_update) {
            e.spawn_timer = 0.0f;
            return;
        }
        e.spawn_timer -= interval;
        spawn();
        if (interval <= 0.0f) return;  // one a step when no interval is given
    }
}

// A particle that never leaves (a cloud or tree without speed, a leaf of
// a life of days) would let an effect grow by a spawn every step without
// end: an effect keeps its newest `max_live_particles`, dropping the oldest.
// The draws of the generator do not change.
constexpr size_t max_live_particles = 4096;

void keep_newest(std::vector<Background_Particle>& particles) {
    if (particles.size() > max_live_particles)
        particles.erase(particles.begin(),
                        particles.end() - static_cast<std::ptrdiff_t>(max_live_particles));
}

template <typename Remove>
void remove_particles(std::vector<Background_Particle>& particles, Remove remove) {
    particles.erase(std::remove_if(particles.begin(), particles.end(), remove), particles.end());
}

}  // namespace

void Background::update(float dt) {
    for (Background_Layer& layer : layers_) update_layer(layer, dt);
    for (Background_Effect& effect : effects_) {
        switch (effect.kind) {
            case background_happa:
                update_happa(effect, dt);
                break;
            case background_clouds:
                update_clouds(effect, dt);
                break;
            case background_trees:
                update_trees(effect, dt);
                break;
            default:
                break;
        }
    }
}

void Background::update_layer(Background_Layer& layer, float dt) {
    wobble(layer.rand_x, layer.rand_speed, layer.wobble_target_x, layer.wobble_x, dt);
    wobble(layer.rand_y, layer.rand_speed, layer.wobble_target_y, layer.wobble_y, dt);
    if (layer.fading == 1) {
        layer.fade_elapsed += dt;
        if (layer.fade_elapsed >= layer.fade_duration) {
            layer.fading = 0;
            layer.alpha = layer.fade_target;
        } else {
            layer.alpha += layer.fade_rate * dt;
        }
    }
    layer.scroll_x += (layer.speed_x + layer.wobble_x) * dt;
    layer.scroll_y += (layer.speed_y * speed_factor_ + layer.wobble_y) * dt;
    wrap(layer.scroll_x, layer.map_width);
    wrap(layer.scroll_y, layer.map_height);
}

const Background_Layer* Background::followed(const Background_Effect& effect) const {
    if (effect.follow_layer < 0 || effect.follow_layer >= static_cast<int32_t>(layers_.size()))
        return nullptr;
    return &layers_[static_cast<size_t>(effect.follow_layer)];
}

void Background::spawn_leaf(Background_Effect& e) {
    Background_Particle p;
    int band = rand_mod(clip_.bottom - clip_.top + 200);
    p.y = static_cast<float>(clip_.top) + static_cast<float>(band - 200) * e.spawn_field;
    int across = rand_mod(clip_.right - clip_.left + 100);
    p.x = static_cast<float>(clip_.left - 50 + across);
    float heading = static_cast<float>(30 + rand_mod(120)) * (sdk::pi / 180.0f);
    float s = e.speed_min + rand_fraction() * (e.speed_max - e.speed_min);
    p.dx = std::cos(heading) * s;
    p.dy = std::sin(heading) * s;
    p.angle = sdk::Angle::from_degrees(static_cast<float>(rand_mod(360)));
    std::copy(std::begin(e.colour), std::end(e.colour), std::begin(p.colour));
    // A life range under one millisecond would be a remainder by zero:
    // such leaves all live life_min.
    int range = sdk::saturate_integer<int>(e.life_max - e.life_min);
    float life = e.life_min + static_cast<float>(rand_mod(range));
    p.life = sdk::saturate_integer<uint32_t>(life);
    p.age = 0;
    p.spin = e.rotation_min + rand_fraction() * (e.rotation_max - e.rotation_min);
    if (sdk::rand() % 2 == 0) p.spin = -p.spin;
    p.size = e.size_min + rand_fraction() * (e.size_max - e.size_min);
    p.alpha = 0.0f;
    e.particles.push_back(p);
}

void Background::update_happa(Background_Effect& e, float dt) {
    float interval = speed_factor_ > 1.0f ? e.spawn_time / speed_factor_ : e.spawn_time;
    catch_up(e, dt, interval, e.number > 0, [&] { spawn_leaf(e); });
    keep_newest(e.particles);

    uint32_t step = dt > 0.0f ? static_cast<uint32_t>(dt) : 0u;
    for (Background_Particle& p : e.particles) p.age += step;
    remove_particles(e.particles, [](const Background_Particle& p) { return p.age > p.life; });

    for (Background_Particle& p : e.particles) {
        p.y += e.scroll_speed * dt * speed_factor_;
        p.x += p.dx * dt;
        p.y += p.dy * dt;
        p.angle.normalize();
        p.angle += sdk::Angle::from_degrees(p.spin * dt);
        float age = static_cast<float>(p.age);
        float life = static_cast<float>(p.life);
        // Fading in over the first `fade` ms and out over the last. (A leaf
        // whose age steps over `fade` exactly is brought to full alpha, not
        // left at the last step's value.)
        if (e.fade > 0.0f) p.alpha = std::min(age / e.fade, 1.0f);
        if (age > life - e.fade) p.alpha = (life - age) / e.fade;
    }
}

void Background::update_clouds(Background_Effect& e, float dt) {
    const Background_Layer* layer = followed(e);
    float layer_speed_y = layer ? layer->speed_y : 0.0f;
    float layer_wobble_x = layer ? layer->wobble_x : 0.0f;
    float layer_wobble_y = layer ? layer->wobble_y : 0.0f;

    // The interval changes with every cloud, so the catch-up runs here.
    e.spawn_timer += dt;
    for (int spawns = 0; e.spawn_timer >= e.next_interval && e.number > 0; ++spawns) {
        if (spawns == max_spawns_per_update) {
            e.spawn_timer = 0.0f;
            break;
        }
        e.spawn_timer -= e.next_interval;
        float spread = 0.5f + static_cast<float>(rand_mod(100)) / 200.0f;
        e.next_interval = e.spawn_time * spread / speed_factor_;
        Background_Particle p;
        p.y = -65.0f * e.zoom;
        p.x = static_cast<float>(clip_.left - 50 + rand_mod(clip_.right - clip_.left + 100));
        float heading = static_cast<float>(85 + rand_mod(10)) * (sdk::pi / 180.0f);
        p.dx = std::cos(heading) * e.speed * layer_speed_y;
        p.dy = std::sin(heading) * e.speed * layer_speed_y;
        p.size = e.size_min + rand_fraction() * (e.size_max - e.size_min);
        p.variant = rand_mod(2);
        p.zoom = 1.0f;
        p.life = 500;
        e.particles.push_back(p);
        if (e.next_interval <= 0.0f) break;
    }
    keep_newest(e.particles);

    float bottom = static_cast<float>(clip_.bottom);
    remove_particles(e.particles, [bottom](const Background_Particle& p) {
        return p.y > bottom + 65.0f * p.zoom;
    });

    // A cloud's zoom runs from 1 at 128 pixels above the canvas to the
    // effect's zoom at the bottom edge, and stays between the two. Above
    // that line it is 1: read on upwards, a large cloud (one whose growth
    // starts higher, at -128 x its size) of a large zoom got a zoom below 0,
    // which turned its fall into a climb that never ended. Below the bottom
    // edge it keeps the effect's zoom, which bounds the scale it is drawn at
    // (the effect's zoom x its size) while it leaves.
    for (Background_Particle& p : e.particles) {
        p.y += (p.dy + layer_wobble_y) * p.zoom * dt * speed_factor_;
        p.x += (p.dx + layer_wobble_x) * dt;
        if (p.y > -128.0f * p.size) {
            float way_down = std::clamp((p.y + 128.0f) / (bottom + 128.0f), 0.0f, 1.0f);
            p.zoom = 1.0f + way_down * (e.zoom - 1.0f);
        }
    }
}

void Background::spawn_trees(Background_Effect& e) {
    // Deal the trees to the enabled lanes first: 0 left, 1 right, 2 centre.
    const int32_t enabled[3] = {e.fill_left, e.fill_right, e.fill_center};
    uint32_t per_lane[3] = {0, 0, 0};
    for (uint32_t dealt = 0; dealt < e.number;) {
        int lane = rand_mod(3);
        if (enabled[lane] == 0) continue;
        ++per_lane[lane];
        ++dealt;
    }
    float w = play_field.get_width() / 3.0f;
    // Made left, then centre, then right.
    const int order[3] = {0, 2, 1};
    const float edge[3] = {0.0f, 2.0f * w, w};
    for (int i = 0; i < 3; ++i) {
        for (uint32_t n = 0; n < per_lane[order[i]]; ++n) {
            Background_Particle p;
            p.x = play_field.left + edge[order[i]] +
                  static_cast<float>(rand_mod(static_cast<int>(w)));
            p.y = -65.0f * e.size_max;
            p.dx = 0.0f;
            p.dy = 1.0f;
            p.age = 0;
            p.size = e.size_min + rand_fraction() * (e.size_max - e.size_min);
            p.variant = rand_mod(2);
            e.particles.push_back(p);
        }
    }
}

void Background::update_trees(Background_Effect& e, float dt) {
    float interval = e.spawn_time / speed_factor_;
    bool any_lane = e.fill_left != 0 || e.fill_right != 0 || e.fill_center != 0;
    catch_up(e, dt, interval, true, [&] {
        if (any_lane && e.number > 0) spawn_trees(e);
    });
    keep_newest(e.particles);

    float bottom = static_cast<float>(clip_.bottom);
    remove_particles(e.particles,
                     [bottom](const Background_Particle& p) { return p.y > bottom + 64.0f; });

    const Background_Layer* layer = followed(e);
    float wobble_x = layer ? layer->wobble_x : 0.0f;
    float wobble_y = layer ? layer->wobble_y : 0.0f;
    float speed_x = layer ? layer->speed_x : 0.0f;
    float speed_y = layer ? layer->speed_y : 0.0f;
    for (Background_Particle& p : e.particles) {
        p.y += (wobble_y + speed_y + e.speed) * p.dy * dt * speed_factor_;
        p.x += p.dx * (wobble_x + speed_x) * dt;
    }
}

void Background::fade_layer(const std::string& name, float target, float duration) {
    for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
        if (it->name != name) continue;
        it->fading = 1;
        it->fade_elapsed = 0.0f;
        it->fade_duration = duration;
        it->fade_target = target;
        it->fade_rate = duration > 0.0f ? (target - it->alpha) / duration : 0.0f;
        return;
    }
}

void Background::fade_in_spellcard_layer(const std::string& name, float duration) {
    fade_layer(name, 1.0f, duration);
}

void Background::fade_out_spellcard_layer(const std::string& name, float duration) {
    fade_layer(name, 0.0f, duration);
}

void Background::blow_leaves_up() {
    for (Background_Effect& e : effects_) {
        if (e.kind != background_happa) continue;
        for (Background_Particle& p : e.particles) {
            p.dx = 0.0f;
            p.dy = -1.0f;
        }
    }
}

void Background::blow_leaves_away(sdk::Vec2f centre, float radius) {
    for (Background_Effect& e : effects_) {
        if (e.kind != background_happa) continue;
        for (Background_Particle& p : e.particles) {
            sdk::Vec2f at(p.x, p.y);
            if (at.distance(centre) >= radius) continue;
            sdk::Vec2f away = (at - centre).normalized();
            p.dx = away.x;
            p.dy = away.y;
        }
    }
}
