#include "render/stage_draw.h"

#include <gtest/gtest.h>

#include "looks_fixture.h"
#include "world/bullet_pool.h"
#include "world/effect_pool.h"
#include "world/enemy_lists.h"

namespace {

using namespace render_test;

class Stage_Draw_Test : public ::testing::Test {
protected:
    void SetUp() override {
        load_looks();
        clean_canvas();
        bullet_pool.reset();
        effect_pool.reset();
        clear_enemies();
        enemy_lists.dead.clear();
    }
    void TearDown() override {
        bullet_pool.reset();
        effect_pool.reset();
        clear_enemies();
        enemy_lists.dead.clear();
    }
};

TEST_F(Stage_Draw_Test, BulletsAreDrawnByLayer) {
    Bullet b;
    b.alive = 1;
    b.appearance = get_bullet_appearance("bullet0");
    b.x = 100;
    b.y = 100;
    b.layer = 1;
    bullet_pool.add(b);
    b.x = 200;
    b.layer = 0;
    bullet_pool.add(b);
    draw_bullets(canvas(), 1);
    EXPECT_EQ(frame_of(pixel(100, 100)), 32);
    EXPECT_EQ(frame_of(pixel(200, 100)), -1);
}

TEST_F(Stage_Draw_Test, AnEffectPastItsLookIsEnded) {
    Effect e;
    e.appearance = get_effect_appearance("magic_flash");
    e.x = e.y = 100;
    effect_pool.add(e);
    effect_pool.add(e);
    effect_pool[1].age = 201;
    draw_effects(canvas());
    EXPECT_EQ(effect_pool[0].alive, 1);
    EXPECT_EQ(effect_pool[1].alive, 0);
}

// Looks that note the ids they draw, in order.
struct Noting_Effect_Look : Effect_Appearance {
    std::vector<uint32_t> drawn;
    bool draw(sdk::Canvas&, Effect& e) override {
        drawn.push_back(e.id);
        return true;
    }
};
struct Noting_Enemy_Look : Enemy_Appearance {
    std::vector<uint32_t> drawn;
    void draw(sdk::Canvas&, Enemy& e) override { drawn.push_back(e.id); }
    bool draw_dead(sdk::Canvas&, Enemy&) override { return true; }
};

// An effect ended earlier in the frame and an enemy whose alive flag is
// clear (a defeated boss waiting for its death step) are still drawn, in
// order, until the world removes them.
TEST_F(Stage_Draw_Test, EveryEffectAndEveryActiveEnemyIsDrawn) {
    Noting_Effect_Look fx_look;
    Effect fx;
    fx.appearance = &fx_look;
    for (int i = 0; i < 3; ++i) effect_pool.add(fx);
    effect_pool[1].alive = 0;
    Noting_Enemy_Look foe_look;
    EnemyBoss boss;
    boss.appearance = &foe_look;
    boss.is_boss = 1;
    for (int i = 0; i < 3; ++i) create_boss(boss);
    enemy_lists.active[0]->alive = 0;
    enemy_lists.active[0]->dying = 1;
    draw_effects(canvas());
    draw_enemies(canvas());
    EXPECT_EQ(fx_look.drawn, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(effect_pool[1].alive, 0) << "drawing does not bring an effect back";
    EXPECT_EQ(foe_look.drawn, (std::vector<uint32_t>{0, 1, 2}));
}

TEST_F(Stage_Draw_Test, DyingEnemiesAreMarkedWhenTheirAnimationEnds) {
    Enemy e;
    e.appearance = get_enemy_appearance("enemy_kedama");
    auto young = std::make_shared<Enemy>(e);
    auto old = std::make_shared<Enemy>(e);
    young->age = 100;
    old->age = 401;
    young->alive = old->alive = 1;
    enemy_lists.dead.push_back(young);
    enemy_lists.dead.push_back(old);
    draw_dead_enemies(canvas());
    EXPECT_EQ(young->alive, 1);
    EXPECT_EQ(old->alive, 0);
}

}  // namespace
