#include "render/effect_appearances.h"

#include <algorithm>
#include <cmath>

#include "render/look_helpers.h"
#include "render/player_sprites.h"
#include "render/sprite_cache.h"
#include "sdk/core/string_help.h"
#include "world/effect.h"
#include "world/player.h"
#include "world/run_flags.h"
#include "world/settings.h"

namespace {

int kind_of(const Effect& e) { return static_cast<int8_t>(e.kind); }
int colour_of(const Effect& e) { return kind_of(e) % 16; }

void reset(sdk::Sprite& s) {
    s.set_scale(1.0f, 1.0f);
    s.set_alpha(1.0f);
}

sdk::Sprite* need(const char* sprite, const char* look) {
    return require_sprite(sprite, sdk::string_format("the look \"%1\"", look));
}

// The player's shot sparks: three frames over 200 ms, turned against the motion.
bool draw_player_spark(sdk::Canvas& canvas, const Effect& e, int first_frame, float step) {
    if (e.age > 200.0f) return false;
    sdk::Sprite& s = player_sprites.player_sprite;
    s.set_frame(e.age < step          ? first_frame
                : e.age < 2.0f * step ? first_frame + 1
                                      : first_frame + 2);
    s.set_alpha((300.0f - e.age) / 400.0f * player.bullet_alpha);
    s.set_angle(direction_angle(e.dir_x, e.dir_y) + sdk::Angle::from_degrees(180.0f));
    centre(s);
    s.draw(canvas, e.x, e.y);
    return true;
}

}  // namespace

Appearance_Effect_Magic_Flash::Appearance_Effect_Magic_Flash()
    : sprite_(need("magic_flash", "magic_flash")) {}

bool Appearance_Effect_Magic_Flash::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 200.0f) return false;
    sdk::Sprite& s = *sprite_;
    // Frames 3, 2, 1, 0 of the colour; an age of 0 still shows the first.
    int step = std::min(static_cast<int>((200.0f - e.age) / 50.0f), 3);
    s.set_frame(4 * (kind_of(e) % 4) + step);
    s.set_alpha((400.0f - e.age) / 400.0f);
    s.set_scale(1.0f, 1.0f);
    centre(s);
    s.draw(canvas, e.x, e.y);
    return true;
}

Appearance_Effect_Enemy_Shot1::Appearance_Effect_Enemy_Shot1(float lifetime)
    : sprite_(need("bullets", "enemy_shot")), lifetime_(lifetime) {}

bool Appearance_Effect_Enemy_Shot1::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > lifetime_) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame(224 + colour_of(e));
    s.set_alpha((lifetime_ + e.age) / (2.0f * lifetime_));
    float scale = 1.5f - e.age / lifetime_;
    s.set_scale(scale, scale);
    centre(s);
    s.draw(canvas, e.x, e.y);
    reset(s);
    return true;
}

Appearance_Effect_Enemy_Shot2::Appearance_Effect_Enemy_Shot2(float lifetime)
    : sprite_(need("bullets", "enemy_shot_other")), lifetime_(lifetime) {}

bool Appearance_Effect_Enemy_Shot2::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > lifetime_) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame(224 + colour_of(e));
    s.set_alpha((lifetime_ - e.age) / lifetime_);
    float scale = 1.0f + e.age / lifetime_;
    s.set_scale(scale, scale);
    centre(s);
    s.draw(canvas, e.x, e.y);
    reset(s);
    return true;
}

Appearance_Effect_Score_Float::Appearance_Effect_Score_Float()
    : digits_(need("font_bonus_score", "score_float")) {}

bool Appearance_Effect_Score_Float::draw(sdk::Canvas& canvas, Effect& e) {
    int32_t value = e.value;
    if (value < 1 || e.speed <= 0.0f) return true;
    float s = 0.0f;
    for (int32_t m = value / 10; m > 1; m /= 10) s += 3.0f;
    float t = e.age / e.speed;
    float alpha = e.age < e.speed / 3.0f ? e.age * 2.4f / e.speed : 0.8f;
    sdk::Colorf colour = e.kind == 1   ? sdk::Colorf(1, 1, 0, alpha)
                         : e.kind == 2 ? sdk::Colorf(0.8f, 0.8f, 0.8f, alpha)
                                       : sdk::Colorf(1, 1, 1, alpha);
    sdk::Sprite& d = *digits_;
    d.set_color(colour);
    centre(d);
    while (value >= 1) {
        d.set_frame(value % 10);
        d.draw(canvas, e.x + s, e.y - 30.0f * t);
        s -= static_cast<float>(d.get_width());
        value /= 10;
    }
    return true;
}

bool Appearance_Effect_Player_Bullet_Hit1::draw(sdk::Canvas& canvas, Effect& e) {
    return draw_player_spark(canvas, e, 25, 70.0f);
}

bool Appearance_Effect_Player_Bullet_Hit2::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 200.0f) return false;
    sdk::Sprite& s = player_sprites.player_sprite;
    s.set_frame(e.age < 50.0f ? 29 : e.age < 100.0f ? 30 : 31);
    s.set_alpha((300.0f - e.age) / 400.0f * player.bullet_alpha);
    s.set_scale(1.0f, vertical_scale_);
    s.set_angle(sdk::Angle::from_degrees(-90.0f));
    centre(s);
    s.draw(canvas, e.x, e.y);
    s.set_scale(1.0f, 1.0f);
    return true;
}

bool Appearance_Effect_Player_Bullet_Hit3::draw(sdk::Canvas& canvas, Effect& e) {
    return draw_player_spark(canvas, e, 33, 70.0f);
}

Appearance_Effect_Enemy_Bullet_Hit1::Appearance_Effect_Enemy_Bullet_Hit1()
    : sprite_(need("bullets", "enemy_bullet_hit1")) {}

bool Appearance_Effect_Enemy_Bullet_Hit1::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 200.0f) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame((e.age < 50.0f ? 240 : 256) + colour_of(e));
    s.set_alpha((300.0f - e.age) / 350.0f);
    float scale = (e.age + 150.0f) / 150.0f;
    s.set_scale(scale, scale);
    centre(s);
    s.draw(canvas, e.x, e.y);
    reset(s);
    return true;
}

Appearance_Effect_Cancelled_Bullet::Appearance_Effect_Cancelled_Bullet()
    : bullets_(need("bullets", "cancelled_bullet")),
      flash_(need("magic_flash", "cancelled_bullet")) {}

bool Appearance_Effect_Cancelled_Bullet::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 300.0f) return false;
    sdk::Sprite& b = *bullets_;
    b.set_frame(224 + colour_of(e));
    float shrink = (320.0f - e.age) / 300.0f;
    b.set_scale(shrink, shrink);
    b.set_alpha((1000.0f - e.age) / 1000.0f);
    centre(b);
    b.draw(canvas, e.x, e.y);
    reset(b);

    sdk::Sprite& f = *flash_;
    f.set_frame(static_cast<int>(e.age / 20.0f) % 4);
    float grow = 1.5f + e.age / 200.0f;
    f.set_scale(grow, grow);
    f.set_alpha((300.0f - e.age) / 400.0f);
    centre(f);
    f.draw(canvas, e.x, e.y);
    return true;
}

Appearance_Effect_Happa_Particle::Appearance_Effect_Happa_Particle()
    : sprite_(need("effects", "particle_happa")) {}

bool Appearance_Effect_Happa_Particle::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 500.0f) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame(0);
    s.set_color(sdk::Colorf::white());
    s.set_alpha((500.0f - e.age) / 500.0f);
    s.set_scale(e.scale, e.scale);
    s.set_angle(sdk::Angle::from_degrees(e.age));
    centre(s);
    s.draw(canvas, e.x, e.y);
    return true;
}

Appearance_Effect_Snow_Particle::Appearance_Effect_Snow_Particle()
    : sprite_(need("effects", "particle_snow")) {}

bool Appearance_Effect_Snow_Particle::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 800.0f) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame(1);
    s.set_color(sdk::Color(e.tint[0], e.tint[1], e.tint[2], e.tint[3]).to_colorf());
    s.set_alpha((800.0f - e.age) / 500.0f);
    s.set_scale(e.scale, e.scale);
    centre(s);
    s.draw(canvas, e.x, e.y);
    return true;
}

Appearance_Effect_Small_Particle::Appearance_Effect_Small_Particle()
    : sprite_(need("magic_flash", "particle_small")) {}

bool Appearance_Effect_Small_Particle::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 200.0f) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame(4 * kind_of(e) + static_cast<int>(e.age / 50.0f));
    s.set_alpha((500.0f - e.age) / 500.0f);
    s.set_scale(e.scale, e.scale);
    centre(s);
    s.draw(canvas, e.x, e.y);
    return true;
}

Appearance_Effect_Graze_Particle::Appearance_Effect_Graze_Particle()
    : sprite_(need("bullets", "graze_particle")) {}

bool Appearance_Effect_Graze_Particle::draw(sdk::Canvas& canvas, Effect& e) {
    float life = static_cast<float>(e.value);
    if (e.age > life) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame(64 + kind_of(e));
    float half = life / 2.0f;
    s.set_alpha(e.age <= half ? 0.8f : (life - e.age) / half);
    s.set_scale(e.scale, e.scale);
    s.set_angle(e.angle + sdk::Angle::from_degrees(90.0f));
    centre(s);
    s.draw(canvas, e.x, e.y);
    reset(s);
    return true;
}

Appearance_Effect_Rimea_Cloud::Appearance_Effect_Rimea_Cloud(float lifetime)
    : sprite_(need("smoke", "rimea_cloud")), lifetime_(lifetime) {}

bool Appearance_Effect_Rimea_Cloud::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > lifetime_) return false;
    sdk::Sprite& s = *sprite_;
    s.set_frame(e.age < lifetime_ / 2.0f ? static_cast<int>(8.0f * e.age / lifetime_) : 3);
    s.set_alpha(1.0f);
    float scale = 3.0f + 1.5f * e.age / lifetime_;
    s.set_scale(scale, scale);
    s.set_angle(e.angle);
    centre(s);
    s.draw(canvas, e.x, e.y);
    s.set_angle(sdk::Angle());
    reset(s);
    return true;
}

Appearance_Effect_Boss_Name::Appearance_Effect_Boss_Name()
    : sprite_(need("boss_names", "boss_name")) {}

bool Appearance_Effect_Boss_Name::draw(sdk::Canvas& canvas, Effect& e) {
    float offset = e.age <= 700.0f ? e.age / 5.8f - 120.0f : 0.0f;
    e.scale = offset;
    sdk::Sprite& s = *sprite_;
    s.set_frame(e.value);
    s.set_alignment(sdk::Origin::top_left, 0.0f, 0.0f);
    s.draw(canvas, e.x + offset, e.y);
    return boss_active != 0;
}

Appearance_Effect_Spellcard_Result::Appearance_Effect_Spellcard_Result(
    sdk::Canvas& canvas, const sdk::Resource_Manager& resources)
    : font_(sdk::Font::resource(canvas, "font_spell_score", resources)),
      sprite_(need("font_spellcard", "spellcard_result")) {}

bool Appearance_Effect_Spellcard_Result::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.age > 4000.0f) return false;
    float a = e.age <= 1000.0f ? 1.0f : (4000.0f - e.age) / 3000.0f;
    sdk::Sprite& s = *sprite_;
    if (e.value == 0) {
        s.set_frame(0);
        centre(s);
        s.set_color(sdk::Colorf(255.0f / 255.0f, 127.0f / 255.0f, 80.0f / 255.0f, a));
        s.draw(canvas, e.x + 10.0f, e.y);
        return true;
    }
    // The one allocation of an effect draw; at most one result shows at a time.
    std::string text = sdk::int_to_text(e.value);
    s.set_frame(1);
    int w = s.get_width();
    int h = s.get_height();
    int tw = font_.get_text_size(canvas, text).width;
    int half = (tw + w + 16) / 2;
    int h2 = h / 2;
    s.set_color(sdk::Colorf(1, 1, 1, a));
    s.set_alignment(sdk::Origin::bottom_left, 0.0f, 0.0f);
    s.draw(canvas, e.x - static_cast<float>(half), e.y + static_cast<float>(h2));
    font_.draw_text(canvas, e.x + static_cast<float>(half - tw),
                    e.y + static_cast<float>(h2) - 30.0f, text, sdk::Colorf(1, 1, 1, a));
    return true;
}

Appearance_Effect_Spellcard_Name::Appearance_Effect_Spellcard_Name()
    : sprite_(need("spellcard_names", "spellcard_name")) {}

bool Appearance_Effect_Spellcard_Name::draw(sdk::Canvas& canvas, Effect& e) {
    if (e.alive == 0) return true;
    sdk::Sprite& s = *sprite_;
    // The sheet holds the Japanese names of the boss's cards first and the
    // Russian ones after them, so the Russian name of card k is k plus the
    // number of cards (2 for a boss of two cards).
    s.set_frame(language == 1 ? e.value : e.value + s.get_frame_count() / 2);
    s.set_alpha(e.age < 300.0f ? e.age / 300.0f : 1.0f);
    s.set_alignment(sdk::Origin::top_right, 0.0f, 0.0f);
    float w = static_cast<float>(s.get_width());
    float scale;
    if (e.age < 600.0f) {
        scale = 1.0f;
        e.x = 410.0f - (372.0f - w) / 2.0f;
        e.y = 200.0f;
    } else if (e.age < 1200.0f) {
        float t = (e.age - 600.0f) / 1200.0f;
        scale = 1.0f - t;
        e.x = 410.0f - (1200.0f - e.age) * ((372.0f - w * (1.0f - t)) / 2.0f) / 600.0f;
        e.y = 200.0f - (e.age - 600.0f) * 162.0f / 600.0f;
    } else {
        scale = 0.5f;
        e.x = 410.0f;
        e.y = 38.0f;
    }
    s.set_scale(scale, scale);
    s.draw(canvas, e.x, e.y);
    return true;
}
