#include "world/effect_behaviours.h"

#include <cmath>

bool Effect_Behaviour_Stay_Still::update(Effect& e, float dt) {
    e.age += dt;
    return true;
}

bool Effect_Behaviour_Score_Float::update(Effect& e, float dt) {
    e.age += dt;
    if (e.age > e.speed) e.alive = 0;
    return true;
}

bool Effect_Behaviour_Flyoff::update(Effect& e, float dt) {
    e.age += dt;
    e.x += e.dir_x * e.speed * dt;
    e.y += e.dir_y * e.speed * dt;
    return true;
}

bool Effect_Behaviour_Grav::update(Effect& e, float dt) {
    e.age += dt;
    e.x += e.dir_x * e.speed * dt;
    e.y += e.dir_y * e.speed * dt;
    double vx = static_cast<double>(e.dir_x) * e.speed;
    double vy = static_cast<double>(e.dir_y) * e.speed +
                std::fabs(static_cast<double>(e.dir_y)) * e.speed * gravity * dt;
    double l = std::sqrt(vx * vx + vy * vy);
    if (l != 0.0) {
        e.dir_x = static_cast<float>(vx / l);
        e.dir_y = static_cast<float>(vy / l);
    } else {
        e.dir_x = static_cast<float>(vx);
        e.dir_y = static_cast<float>(vy);
    }
    return true;
}
