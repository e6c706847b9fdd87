// The looks of bullets. Bullet sheets ("bullets", "bullets2") hold rows of
// 16 colours: a look's first frame plus the bullet's colour index picks the
// frame. Dangerous enemy bullets (layer 1) are opaque; the player's shots
// and blown enemy bullets (layer 0) take the player's `bullet_alpha`.
#pragma once

#include <string>

#include "render/appearance.h"

namespace sdk {
class Sprite;
}

// A round bullet, never turned.
class Appearance_Simple : public Appearance {
public:
    Appearance_Simple(int first_frame, const std::string& sprite_name);
    void draw(sdk::Canvas& canvas, const Bullet& bullet) override;

protected:
    sdk::Sprite* sprite_;
    int first_frame_;
};

class Appearance_Simple_Zoomed : public Appearance_Simple {
public:
    Appearance_Simple_Zoomed(int first_frame, const std::string& sprite_name, float zoom);
    void draw(sdk::Canvas& canvas, const Bullet& bullet) override;

private:
    float zoom_;
};

// An elongated bullet that points along its heading.
class Appearance_Bullet_Pike : public Appearance_Simple {
public:
    using Appearance_Simple::Appearance_Simple;
    void draw(sdk::Canvas& canvas, const Bullet& bullet) override;
};

// The player's shots: frames of the player's own sprite, turned along the motion.
class Appearance_Player_Bullet1 : public Appearance {
public:
    void draw(sdk::Canvas& canvas, const Bullet& bullet) override;
};

class Appearance_Player_Bullet2 : public Appearance {
public:
    void draw(sdk::Canvas& canvas, const Bullet& bullet) override;
};

// The focused shot, stretched along its motion by `scale`.
class Appearance_Player_Bullet_Focus1 : public Appearance {
public:
    explicit Appearance_Player_Bullet_Focus1(float scale) : scale_(scale) {}
    void draw(sdk::Canvas& canvas, const Bullet& bullet) override;

private:
    float scale_;
};

// A laser beam: the bullet's position is the far end of an 800-pixel beam,
// its previous position the origin and its second vector the midpoint. The
// body is stretched 50 times along the beam; a flash marks the origin.
class Appearance_Lazor : public Appearance {
public:
    Appearance_Lazor();
    void draw(sdk::Canvas& canvas, const Bullet& bullet) override;

private:
    sdk::Sprite* body_;
    sdk::Sprite* flash_;
};
