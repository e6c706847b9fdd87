#include "render/bullet_appearances.h"

#include "render/look_helpers.h"
#include "render/player_sprites.h"
#include "render/sprite_cache.h"
#include "world/bullet.h"
#include "world/player.h"

namespace {

float layer_alpha(const Bullet& b) { return b.layer != 0 ? 1.0f : player.bullet_alpha; }

void draw_player_shot(sdk::Canvas& canvas, const Bullet& b, int frame) {
    sdk::Sprite& s = player_sprites.player_sprite;
    s.set_frame(frame);
    s.set_alpha(player.bullet_alpha);
    s.set_angle(direction_angle(b.dir_x, b.dir_y));
    centre(s);
    s.draw(canvas, b.x, b.y);
}

}  // namespace

Appearance_Simple::Appearance_Simple(int first_frame, const std::string& sprite_name)
    : sprite_(require_sprite(sprite_name, "the bullet looks")), first_frame_(first_frame) {
    sprite_->set_frame(0);
}

void Appearance_Simple::draw(sdk::Canvas& canvas, const Bullet& b) {
    sdk::Sprite& s = *sprite_;
    s.set_frame(first_frame_ + colour_offset(b.colour));
    s.set_alpha(layer_alpha(b));
    s.set_scale(1.0f, 1.0f);
    centre(s);
    s.set_angle(sdk::Angle());
    s.draw(canvas, b.x, b.y);
}

Appearance_Simple_Zoomed::Appearance_Simple_Zoomed(int first_frame, const std::string& sprite_name,
                                                   float zoom)
    : Appearance_Simple(first_frame, sprite_name), zoom_(zoom) {}

void Appearance_Simple_Zoomed::draw(sdk::Canvas& canvas, const Bullet& b) {
    sdk::Sprite& s = *sprite_;
    s.set_frame(first_frame_ + colour_offset(b.colour));
    s.set_alpha(layer_alpha(b));
    s.set_scale(zoom_, zoom_);
    centre(s);
    s.set_angle(sdk::Angle());
    s.draw(canvas, b.x, b.y);
}

void Appearance_Bullet_Pike::draw(sdk::Canvas& canvas, const Bullet& b) {
    sdk::Sprite& s = *sprite_;
    s.set_frame(first_frame_ + colour_offset(b.colour));
    s.set_alpha(layer_alpha(b));
    s.set_scale(1.0f, 1.0f);
    centre(s);
    s.set_angle(b.angle + sdk::Angle::from_degrees(90.0f));
    s.draw(canvas, b.x, b.y);
}

void Appearance_Player_Bullet1::draw(sdk::Canvas& canvas, const Bullet& b) {
    draw_player_shot(canvas, b, 24);
}

void Appearance_Player_Bullet2::draw(sdk::Canvas& canvas, const Bullet& b) {
    draw_player_shot(canvas, b, 32);
}

void Appearance_Player_Bullet_Focus1::draw(sdk::Canvas& canvas, const Bullet& b) {
    player_sprites.player_sprite.set_scale(1.0f, scale_);
    draw_player_shot(canvas, b, 28);
    player_sprites.player_sprite.set_scale(1.0f, 1.0f);
}

Appearance_Lazor::Appearance_Lazor()
    : body_(require_sprite("bullets", "the look \"bullet_lazor1\"")),
      flash_(require_sprite("magic_flash", "the look \"bullet_lazor1\"")) {}

void Appearance_Lazor::draw(sdk::Canvas& canvas, const Bullet& b) {
    sdk::Sprite& body = *body_;
    body.set_frame(colour_offset(b.colour));
    body.set_alpha(1.0f);
    body.set_scale(1.0f, 50.0f);
    centre(body);
    body.set_angle(b.angle + sdk::Angle::from_degrees(90.0f));
    body.draw(canvas, b.aux_x, b.aux_y);

    sdk::Sprite& flash = *flash_;
    flash.set_frame(static_cast<int>(b.age / 20.0f) % 4);
    flash.set_scale(2.0f, 2.0f);
    flash.set_alpha(1.0f);
    centre(flash);
    flash.draw(canvas, b.prev_x, b.prev_y);
}
