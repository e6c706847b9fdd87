// The four effect behaviours: stand still, float a score for its lifetime,
// fly off, and fly off while bending downwards. Each advances the effect's
// age by dt ms and answers true. Speeds in pixels per ms.
#pragma once

#include "world/effect.h"

class Effect_Behaviour_Stay_Still : public Effect_Behaviour {
public:
    bool update(Effect& e, float dt) override;
};

// Ends the effect once its age passes its speed field (the lifetime, ms).
class Effect_Behaviour_Score_Float : public Effect_Behaviour {
public:
    bool update(Effect& e, float dt) override;
};

class Effect_Behaviour_Flyoff : public Effect_Behaviour {
public:
    bool update(Effect& e, float dt) override;
};

// Flies off and bends its direction downwards by `gravity`; the speed stays.
class Effect_Behaviour_Grav : public Effect_Behaviour {
public:
    explicit Effect_Behaviour_Grav(double gravity) : gravity(gravity) {}
    bool update(Effect& e, float dt) override;
    const double gravity;
};
