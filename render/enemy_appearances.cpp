#include "render/enemy_appearances.h"

#include <cmath>

#include "render/look_helpers.h"
#include "render/sprite_cache.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/random.h"
#include "sdk/core/string_help.h"
#include "world/effect_pool.h"
#include "world/enemy.h"
#include "world/registries.h"

namespace {

constexpr float degrees = sdk::pi / 180.0f;

sdk::Sprite* need(const std::string& sprite, const char* look) {
    return require_sprite(sprite, sdk::string_format("the look \"%1\"", look));
}

// Frame `offset` of the colour's run of `per_colour` frames. Any i32 colour
// is a frame: the product is taken in 64 bits and held to the ends of an
// int, and the sprite clamps the frame to its sheet.
int colour_frame(int32_t colour, int per_colour, int offset) {
    return sdk::saturate_integer<int>(static_cast<double>(int64_t{per_colour} * colour + offset));
}

float rand_hundredth(float divisor) { return static_cast<float>(sdk::rand() % 100) / divisor; }

// One leaf every 50 ms of the first 200 ms after death; `price` (zeroed by
// the death) counts the leaves thrown so far. At most one per call.
void throw_leaf(Enemy& e, Death_Particles& leaves) {
    if (e.age >= 200.0f || static_cast<int>(e.age / 50.0f) <= e.price) return;
    ++e.price;
    leaves.resolve();
    Effect p;
    p.x = e.x;
    p.y = e.y;
    p.angle = sdk::Angle::from_degrees(static_cast<float>(sdk::rand() % 360));
    p.dir_x = std::cos(p.angle.to_radians());
    p.dir_y = std::sin(p.angle.to_radians());
    p.speed = 0.5f + rand_hundredth(500.0f);
    p.scale = 0.5f + rand_hundredth(200.0f);
    p.appearance = leaves.appearance;
    p.behaviour = leaves.movement;
    effect_pool.add(p);
}

// A growing ring and two crossed, stretched ellipses.
void draw_splash(sdk::Canvas& canvas, sdk::Sprite& splash, const Enemy& e) {
    float t = e.age;
    float s1 = (3.0f * t + 400.0f) / 400.0f;
    float s2 = (2.2f * t + 600.0f) / 600.0f;
    float s3 = (1000.0f - t) / 2000.0f;
    splash.set_frame(e.colour);
    splash.set_alpha((500.0f - t) / 500.0f);
    splash.set_angle(sdk::Angle());
    centre(splash);
    splash.set_scale(s2, s2);
    splash.draw(canvas, e.x, e.y);
    splash.set_scale(s1, s3);
    splash.draw(canvas, e.x, e.y);
    splash.set_scale(s3, s1);
    splash.draw(canvas, e.x, e.y);
}

}  // namespace

void Death_Particles::resolve() {
    if (resolved) return;
    appearance = get_effect_appearance(look);
    movement = get_effect_behaviour(behaviour);
    resolved = true;
}

Enemy_Appearance_Fairy::Enemy_Appearance_Fairy(int circle, int orbs, const std::string& sprite_name)
    : body_(need(sprite_name, "enemy_fairy")),
      splash_(need("fairy_splash", "enemy_fairy")),
      circle_(need("fairy_circle", "enemy_fairy")),
      big_circle_(need("fairy_big_circle", "enemy_fairy")),
      orb_(need("magic_flash", "enemy_fairy")),
      circle_mode_(circle),
      orbs_(orbs) {}

void Enemy_Appearance_Fairy::draw(sdk::Canvas& canvas, Enemy& e) {
    if (e.anim_time > 100.0f) {
        e.anim_time -= 100.0f;
        e.anim_frame = (e.anim_frame + 1) % 4;
    }
    if (circle_mode_ == 1) {
        sdk::Sprite& c = *circle_;
        float scale = 1.5f + 0.3f * std::sin(e.age * 0.25f * degrees);
        c.set_frame(e.colour);
        c.set_alpha(0.6f);
        c.set_scale(scale, scale);
        c.set_angle(sdk::Angle::from_degrees(e.age * 0.5f));
        centre(c);
        c.draw(canvas, e.x, e.y);
    } else if (circle_mode_ >= 2) {
        // The big circle's frame and alpha stay as they are.
        sdk::Sprite& c = *big_circle_;
        c.set_scale(1.5f, 1.5f);
        c.set_angle(sdk::Angle::from_degrees(e.age / -12.0f));
        centre(c);
        c.draw(canvas, e.x, e.y);
    }
    if (orbs_ != 0) {
        sdk::Sprite& o = *orb_;
        o.set_alpha(1.0f);
        o.set_scale(1.0f, 1.0f);
        centre(o);
        for (int i = 0; i < 12; ++i) {
            float t = (e.age / 11.0f + 30.0f * static_cast<float>(i)) * degrees;
            o.set_frame(colour_frame(e.colour, 4, (e.anim_frame + i) % 4));
            o.draw(canvas, e.x + 56.0f * std::cos(t), e.y + 56.0f * std::sin(t));
        }
    }

    sdk::Sprite& b = *body_;
    float s = std::fabs(std::sin(e.angle.to_radians()));
    sdk::Angle mirrored =
        std::cos(e.angle.to_radians()) <= 0.0f ? sdk::Angle::from_degrees(180.0f) : sdk::Angle();
    if (s > 0.9f) {
        b.set_angle_yaw(sdk::Angle());
        b.set_frame(colour_frame(e.colour, 12, e.anim_frame));
    } else if (s >= 0.5f) {
        b.set_angle_yaw(mirrored);
        b.set_frame(colour_frame(e.colour, 12, 8 - static_cast<int>(10.0f * s - 5.0f)));
    } else {
        b.set_angle_yaw(mirrored);
        b.set_frame(colour_frame(e.colour, 12, 8 + e.anim_frame));
    }
    b.set_color(sdk::Colorf::white());
    b.set_alpha(1.0f);
    b.set_scale(1.0f, 1.0f);
    b.set_angle(sdk::Angle());
    centre(b);
    b.draw(canvas, e.x, e.y);
}

bool Enemy_Appearance_Fairy::draw_dead(sdk::Canvas& canvas, Enemy& e) {
    if (e.age > 400.0f) return false;
    throw_leaf(e, leaves_);
    draw_splash(canvas, *splash_, e);
    if (e.age < 100.0f) {
        sdk::Sprite& b = *body_;
        b.set_frame(colour_frame(e.colour, 12, 0));
        b.set_color(sdk::Colorf(1.5f, 1.5f, 1.5f, 1.0f));
        b.set_alpha((100.0f - e.age) / 100.0f);
        b.set_scale(1.0f, 1.0f);
        b.set_angle(sdk::Angle());
        centre(b);
        b.draw(canvas, e.x, e.y);
    }
    return true;
}

Enemy_Appearance_Kedama::Enemy_Appearance_Kedama()
    : body_(need("kedama", "enemy_kedama")), splash_(need("fairy_splash", "enemy_kedama")) {}

void Enemy_Appearance_Kedama::draw(sdk::Canvas& canvas, Enemy& e) {
    // Every kedama shares the one sprite, so each keeps its own place in the
    // animation: `anim_time` is the time into the current frame, `anim_frame`
    // the frame, stepped by the resource's own frame delays.
    sdk::Sprite& b = *body_;
    int count = b.get_frame_count();
    if (count > 0) {
        e.anim_frame %= count;
        for (int guard = 0; guard < count; ++guard) {
            float delay = static_cast<float>(b.get_frame_delay(e.anim_frame));
            if (delay <= 0.0f || e.anim_time < delay) break;
            e.anim_time -= delay;
            e.anim_frame = (e.anim_frame + 1) % count;
        }
        b.set_frame(e.anim_frame);
    }
    b.set_alpha(1.0f);
    b.set_color(sdk::Colorf::white());
    b.set_scale(1.0f, 1.0f);
    centre(b);
    b.draw(canvas, e.x, e.y);
}

bool Enemy_Appearance_Kedama::draw_dead(sdk::Canvas& canvas, Enemy& e) {
    if (e.age > 400.0f) return false;
    throw_leaf(e, leaves_);
    draw_splash(canvas, *splash_, e);
    return true;
}

Enemy_Appearance_Boss1::Enemy_Appearance_Boss1(const std::string& boss_id)
    : body_(need("enemy_boss_" + boss_id, "enemy_boss1")) {}

void Enemy_Appearance_Boss1::draw(sdk::Canvas& canvas, Enemy& enemy) {
    if (enemy.is_boss == 0) return;
    EnemyBoss& boss = static_cast<EnemyBoss&>(enemy);
    sdk::Sprite& b = *body_;
    b.set_angle_yaw(sdk::Angle());
    int idle = static_cast<int>(boss.age / 100.0f) % 4;
    if (boss.moving != 0) {
        int frame;
        if (boss.dir_y != 0.0f && std::fabs(boss.dir_x / boss.dir_y) < 0.04f) {
            frame = idle;
        } else {
            float d = sdk::Vec2f(boss.x, boss.y)
                          .distance(sdk::Vec2f(boss.move_target_x, boss.move_target_y));
            float m = boss.move_time;
            if (d < 5.0f)
                frame = 4;
            else if (d < 15.0f)
                frame = 5;
            else if (d < 25.0f)
                frame = 6;
            else if (m < 300.0f)
                frame = 4;
            else if (m < 500.0f)
                frame = 5;
            else if (m < 700.0f)
                frame = 6;
            else
                frame = 7;
            if (boss.dir_x < 0.0f) b.set_angle_yaw(sdk::Angle::from_degrees(180.0f));
        }
        b.set_frame(frame);
        boss.hover_time = 0.0f;
    } else if (boss.acting != 0) {
        float a = boss.acting_time;
        b.set_frame(a < 200.0f ? 8 : a < 400.0f ? 9 : 10 + static_cast<int>(boss.age / 100.0f) % 2);
        boss.hover_time = 0.0f;
    } else {
        b.set_frame(idle);
    }
    b.set_alpha(1.0f);
    b.set_color(sdk::Colorf::white());
    b.set_scale(1.0f, 1.0f);
    b.set_angle(sdk::Angle());
    centre(b);
    float bob = boss.hover_time != 0.0f ? 3.0f * std::sin(boss.hover_time / 250.0f) : 0.0f;
    b.draw(canvas, boss.x, boss.y + bob);
}

bool Enemy_Appearance_Boss1::draw_dead(sdk::Canvas&, Enemy& boss) {
    if (boss.age > 2000.0f) return false;
    snow_.resolve();
    for (int i = 0; i < 3; ++i) {
        Effect p;
        p.x = boss.x + (rand_hundredth(10.0f) - 5.0f);
        p.y = boss.y + (rand_hundredth(10.0f) - 5.0f);
        p.angle = sdk::Angle::from_degrees(static_cast<float>(sdk::rand() % 270 + 150));
        p.dir_x = std::cos(p.angle.to_radians());
        p.dir_y = std::sin(p.angle.to_radians());
        p.speed = 0.2f + rand_hundredth(500.0f);
        p.scale = 0.8f + rand_hundredth(200.0f);
        float r = 0.8f + rand_hundredth(500.0f);
        float g = 0.8f + rand_hundredth(500.0f);
        float bl = 0.8f + rand_hundredth(500.0f);
        sdk::Color tint(sdk::Colorf(r, g, bl, 1.0f));
        p.tint[0] = tint.r;
        p.tint[1] = tint.g;
        p.tint[2] = tint.b;
        p.tint[3] = tint.a;
        p.appearance = snow_.appearance;
        p.behaviour = snow_.movement;
        effect_pool.add(p);
    }
    return true;
}

void Enemy_Appearance_Boss1::update(sdk::Canvas&, Enemy& enemy, float dt) {
    if (enemy.is_boss == 0) return;
    EnemyBoss& b = static_cast<EnemyBoss&>(enemy);
    if (b.ring_count > boss_ring_capacity) b.ring_count = boss_ring_capacity;
    for (int i = 0; i < b.ring_count; ++i) {
        b.ring_angle[i] += b.ring_spin[i] * dt;
        float& radius = b.ring_radius[i];
        float target = b.ring_target[i];
        switch (b.ring_state[i]) {
            case ring_growing:
                radius += 0.3f * dt;
                if (radius > target) {
                    radius = target;
                    b.ring_state[i] = ring_steady;
                    b.ring_alpha[i] = 1.0f;
                } else {
                    b.ring_alpha[i] = target > 0.0f ? radius / target : 1.0f;
                }
                break;
            case ring_resizing: {
                bool arrived;
                if (radius > target) {
                    radius -= 0.3f * dt;
                    arrived = radius <= target;
                } else {
                    radius += 0.3f * dt;
                    arrived = radius >= target;
                }
                if (arrived) {
                    radius = target;
                    b.ring_state[i] = ring_steady;
                }
                break;
            }
            case ring_leaving:
                radius += 0.5f * dt;
                if (radius > target) b.ring_state[i] = ring_gone;
                break;
            default:
                break;
        }
    }
    // The rings behind a gone one move forward, keeping their order.
    for (int i = 0; i < b.ring_count;) {
        if (b.ring_state[i] != ring_gone) {
            ++i;
            continue;
        }
        for (int j = i; j + 1 < b.ring_count; ++j) {
            b.ring_frame[j] = b.ring_frame[j + 1];
            b.ring_state[j] = b.ring_state[j + 1];
            b.ring_radius[j] = b.ring_radius[j + 1];
            b.ring_width[j] = b.ring_width[j + 1];
            b.ring_angle[j] = b.ring_angle[j + 1];
            b.ring_spin[j] = b.ring_spin[j + 1];
            b.ring_alpha[j] = b.ring_alpha[j + 1];
            b.ring_target[j] = b.ring_target[j + 1];
        }
        --b.ring_count;
    }
}
