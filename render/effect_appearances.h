// The looks of effects: hit sparks, muzzle flashes, particles, floating
// scores, the boss's name banner and the spell-card pictures. Each draws the
// effect for its current age and answers false once the age has passed the
// look's lifetime (drawing nothing in that call); the lifetimes live here,
// not in the effect. Ages in ms; a colour is the effect's kind, a signed
// byte, modulo 16.
#pragma once

#include <string>

#include "render/appearance.h"
#include "sdk/font.h"

namespace sdk {
class Sprite;
}

// A small star fading and shrinking through its colour's four frames.
class Appearance_Effect_Magic_Flash : public Effect_Appearance {
public:
    Appearance_Effect_Magic_Flash();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};

// The muzzle flash of an enemy shot: shrinking from 1.5 while it turns opaque.
class Appearance_Effect_Enemy_Shot1 : public Effect_Appearance {
public:
    explicit Appearance_Effect_Enemy_Shot1(float lifetime);
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
    float lifetime_;
};

// The other muzzle flash: growing from 1.0 while it fades out.
class Appearance_Effect_Enemy_Shot2 : public Effect_Appearance {
public:
    explicit Appearance_Effect_Enemy_Shot2(float lifetime);
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
    float lifetime_;
};

// A score rising 30 pixels over the effect's `speed` ms; its behaviour ends it.
class Appearance_Effect_Score_Float : public Effect_Appearance {
public:
    Appearance_Effect_Score_Float();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* digits_;
};

// The sparks of the player's three kinds of shot, frames of the player sprite.
class Appearance_Effect_Player_Bullet_Hit1 : public Effect_Appearance {
public:
    bool draw(sdk::Canvas& canvas, Effect& e) override;
};

class Appearance_Effect_Player_Bullet_Hit2 : public Effect_Appearance {
public:
    explicit Appearance_Effect_Player_Bullet_Hit2(float vertical_scale)
        : vertical_scale_(vertical_scale) {}
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    float vertical_scale_;
};

class Appearance_Effect_Player_Bullet_Hit3 : public Effect_Appearance {
public:
    bool draw(sdk::Canvas& canvas, Effect& e) override;
};

// An enemy bullet ending in a hit: a growing, fading ring.
class Appearance_Effect_Enemy_Bullet_Hit1 : public Effect_Appearance {
public:
    Appearance_Effect_Enemy_Bullet_Hit1();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};

// A bullet cancelled by a bomb, a death or a spell card: the bullet shrinks
// under a growing flash.
class Appearance_Effect_Cancelled_Bullet : public Effect_Appearance {
public:
    Appearance_Effect_Cancelled_Bullet();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* bullets_;
    sdk::Sprite* flash_;
};

// A leaf of a dying fairy, turning one degree per ms.
class Appearance_Effect_Happa_Particle : public Effect_Appearance {
public:
    Appearance_Effect_Happa_Particle();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};

// A snowflake of the dying boss, tinted by the effect.
class Appearance_Effect_Snow_Particle : public Effect_Appearance {
public:
    Appearance_Effect_Snow_Particle();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};

class Appearance_Effect_Small_Particle : public Effect_Appearance {
public:
    Appearance_Effect_Small_Particle();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};

// The spark of a graze, living `value` ms.
class Appearance_Effect_Graze_Particle : public Effect_Appearance {
public:
    Appearance_Effect_Graze_Particle();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};

// A puff of the boss's cold smoke.
class Appearance_Effect_Rimea_Cloud : public Effect_Appearance {
public:
    explicit Appearance_Effect_Rimea_Cloud(float lifetime);
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
    float lifetime_;
};

// The boss's name sliding in from the left; it stays until the fight ends.
class Appearance_Effect_Boss_Name : public Effect_Appearance {
public:
    Appearance_Effect_Boss_Name();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};

// The result of a spell card for 4 s: the failure picture for a value of 0,
// else the bonus label and the number.
class Appearance_Effect_Spellcard_Result : public Effect_Appearance {
public:
    Appearance_Effect_Spellcard_Result(sdk::Canvas& canvas, const sdk::Resource_Manager& resources);
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Font font_;
    sdk::Sprite* sprite_;
};

// The running spell card's name: shown big in the middle, then shrinking
// into the top right corner. The look sets the effect's position itself.
class Appearance_Effect_Spellcard_Name : public Effect_Appearance {
public:
    Appearance_Effect_Spellcard_Name();
    bool draw(sdk::Canvas& canvas, Effect& e) override;

private:
    sdk::Sprite* sprite_;
};
