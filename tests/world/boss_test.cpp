// The boss script: entry, dialog, the halves of each phase with their
// results, the end of the fight, and the rings.
#include <gtest/gtest.h>

#include <cmath>

#include "stage_helpers.h"
#include "world/boss_path.h"
#include "world/effect_pool.h"

namespace {

using namespace stage_test;

Spellcard* add_card(const std::string& name, int32_t time_ms,
                    std::vector<Spell_Effect> effects = {}) {
    auto card = std::make_unique<Spellcard>();
    card->time = time_ms;
    card->actions.push_back({1, 100, 0});
    card->effects = std::move(effects);
    Spellcard* raw = card.get();
    spellcards[name] = std::move(card);
    return raw;
}

Spellcard_Entry phase(const Spellcard* attack, const Spellcard* spell, int32_t price) {
    Spellcard_Entry p;
    p.hp_nonspell = 300;
    p.hp_spell = 400;
    p.price = price;
    p.nonspell_card = attack;
    p.spell_card = spell;
    p.start_x = 200;
    p.start_y = 120;
    p.start_speed = 0.2f;
    p.start_wait = 100;
    return p;
}

class Boss_Test : public ::testing::Test {
protected:
    Fake_Presentation show;
    Recording_Sound_Sink sink;
    Spellcard* attack = nullptr;
    Spellcard* spell = nullptr;

    void SetUp() override {
        reset_stage_globals();
        stage_presentation = &show;
        installed_sound_sink = &sink;
        attack = add_card("attack", 3000, {{0, 1, 80, 6, 0.05f}});
        spell = add_card("spell", 2000, {{0, 2, 120, 8, 0.05f}, {1, 1, 0, 0, 0}});
    }
    void TearDown() override {
        stage_presentation = nullptr;
        installed_sound_sink = nullptr;
    }

    EnemyBoss& make_boss(int phases, const std::string& name = "kedama") {
        EnemyBoss t;
        t.x = t.prev_x = 200;
        t.y = t.prev_y = -40;
        t.dir_y = 1;
        t.speed = 0.12f;
        t.is_boss = 1;
        t.name = name;
        t.path = get_enemy_path("enemy_boss0");
        for (int i = 0; i < phases; ++i) t.phases.push_back(phase(attack, spell, 5000 * (i + 1)));
        t.shot_count = static_cast<uint8_t>(phases);
        create_boss(t);
        boss_active = 1;
        return static_cast<EnemyBoss&>(*enemy_lists.active.back());
    }

    void step(EnemyBoss& b, float dt = 16) { b.alive = b.path->update(b, dt) ? 1 : 0; }

    void run_to_attack(EnemyBoss& b) {
        for (int i = 0; i < 2000 && b.path_state != 20; ++i) step(b);
        ASSERT_EQ(b.path_state, 20);
    }

    std::vector<int32_t> result_values() {
        std::vector<int32_t> v;
        for (const Effect& e : effect_pool)
            if (e.x == 224.0f && e.y == 240.0f) v.push_back(e.value);
        return v;
    }
};

TEST_F(Boss_Test, EntryBrakesOnlyAboveTenMilliseconds) {
    EnemyBoss& b = make_boss(1);
    while (b.path_state <= 1) {
        EXPECT_NEAR(b.speed == 0 ? 0.12f : b.speed, 0.12f, 1e-6f);
        step(b, 10);
    }
    EXPECT_EQ(b.y, 170.0f);
    EXPECT_EQ(b.ring_x, b.x);
    EnemyBoss& c = make_boss(1);
    c.y = 130;
    step(c, 16);
    EXPECT_FLOAT_EQ(c.speed, 0.12f * 0.9625f);
}

TEST_F(Boss_Test, FightRunsThroughItsStates) {
    EnemyBoss& b = make_boss(1);
    b.has_dialog = 1;
    b.dialog_name = "talk";
    std::vector<int> states;
    for (int i = 0; i < 2000 && b.path_state != 20; ++i) {
        if (states.empty() || states.back() != b.path_state) states.push_back(b.path_state);
        step(b);
        if (dialog_active) {
            dialog_active = 0;  // the dialog ends
        }
    }
    states.push_back(b.path_state);
    EXPECT_EQ(states, (std::vector<int>{0, 1, 10, 11, 30, 31, 20}));
    EXPECT_EQ(show.dialogs, std::vector<std::string>{"talk_rus"});
    EXPECT_EQ(b.boss_hp, 300);
    EXPECT_EQ(b.half, 0);
    EXPECT_EQ(spellcard_running, 1);
    EXPECT_FLOAT_EQ(b.x, 200.0f);
    EXPECT_FLOAT_EQ(b.y, 120.0f);
    EXPECT_EQ(b.ring_count, 1);
    bool banner = false;
    for (const Effect& e : effect_pool)
        banner = banner || (e.x == 32.0f && e.y == 36.0f && e.value == 1);
    EXPECT_TRUE(banner);
}

TEST_F(Boss_Test, HalfResultsAndTheSpellBonus) {
    EnemyBoss& b = make_boss(2);
    run_to_attack(b);
    b.boss_hp = 0;  // normal attack beaten: no result effect
    step(b);
    EXPECT_TRUE(result_values().empty());
    EXPECT_EQ(b.half, 1);
    EXPECT_EQ(spellcard_running, 0);
    run_to_attack(b);
    EXPECT_EQ(b.boss_hp, 400);
    EXPECT_EQ(b.name_effect->alive, 1);
    EXPECT_EQ(show.fades, std::vector<std::string>{"in rimea_back_1"});
    uint32_t score = player.score;
    b.boss_hp = 0;  // spell beaten without a bomb: the price
    step(b);
    EXPECT_EQ(player.score, score + 5000);
    EXPECT_EQ(result_values(), std::vector<int32_t>{5000});
    EXPECT_EQ(b.name_effect->alive, 0);
    EXPECT_EQ(show.fades.back(), "out rimea_back_1");
    EXPECT_EQ(b.phase, 1);
    EXPECT_EQ(b.half, 0);
    run_to_attack(b);
    b.time_limit = 1;  // normal attack timed out: result 0
    step(b);
    EXPECT_EQ(result_values(), (std::vector<int32_t>{5000, 0}));
    run_to_attack(b);
    player.bombed_in_spellcard = 1;
    b.boss_hp = 0;  // spell beaten after a bomb: no price
    score = player.score;
    step(b);
    EXPECT_EQ(player.score, score);
    EXPECT_EQ(result_values(), (std::vector<int32_t>{5000, 0, 0}));
    EXPECT_EQ(b.alive, 0);
    EXPECT_EQ(b.dying, 1);
    EXPECT_EQ(boss_active, 0);
}

TEST_F(Boss_Test, LastCardTimingOutEndsTheFight) {
    struct Case {
        const char* name;
        bool dies;
    };
    for (Case c : {Case{"kedama", true}, Case{"noname", false}}) {
        SetUp();
        EnemyBoss& b = make_boss(1, c.name);
        run_to_attack(b);
        b.boss_hp = 0;
        step(b);
        run_to_attack(b);
        b.time_limit = 1;
        b.speed = 0.3f;
        step(b);
        EXPECT_EQ(boss_active, 0) << c.name;
        EXPECT_EQ(result_values(), std::vector<int32_t>{0}) << c.name;
        if (c.dies) {
            EXPECT_EQ(b.alive, 0);
            EXPECT_EQ(b.dying, 1);
            continue;
        }
        EXPECT_EQ(b.path_state, 40);
        sdk::Vec2f away = sdk::Vec2f(b.x - 280, b.y - 600).normalized();
        EXPECT_FLOAT_EQ(b.dir_x, away.x);
        EXPECT_FLOAT_EQ(b.dir_y, away.y);
        int frames = 0;
        while (b.alive && frames++ < 1000) step(b);
        EXPECT_EQ(b.alive, 0);
        EXPECT_EQ(b.dying, 0);
        EXPECT_LE(b.y, 16.0f);
    }
}

TEST_F(Boss_Test, PhaseWithoutStartSpeedPlacesTheBossAtOnce) {
    EnemyBoss& b = make_boss(1);
    b.phases[0].start_speed = 0;
    for (int i = 0; i < 200 && b.path_state != 30; ++i) step(b);
    ASSERT_EQ(b.path_state, 30);
    step(b);
    EXPECT_EQ(b.path_state, 31);
    EXPECT_EQ(b.x, 200.0f);
    EXPECT_EQ(b.y, 120.0f);
}

// A move to the phase start that takes no time has arrived, also in a frame
// of step 0, which must not divide 0 by 0 and lose the boss and its rings.
TEST_F(Boss_Test, MoveOfNoTimeArrivesInAFrameOfStepZero) {
    struct Case {
        float start_y;
        float start_speed;
    };
    const Case cases[] = {{120, 0}, {170, 0.2f}};  // no speed; already there (y 170)
    for (const Case& c : cases) {
        EnemyBoss& b = make_boss(1);
        b.phases[0].start_y = c.start_y;
        b.phases[0].start_speed = c.start_speed;
        for (int i = 0; i < 200 && b.path_state != 30; ++i) step(b);
        ASSERT_EQ(b.path_state, 30);
        step(b, 0);
        EXPECT_EQ(b.path_state, 31) << c.start_y;
        EXPECT_EQ(b.x, 200.0f) << c.start_y;
        EXPECT_EQ(b.y, c.start_y) << c.start_y;
        step(b);
        EXPECT_TRUE(std::isfinite(b.ring_x) && std::isfinite(b.ring_y)) << c.start_y;
    }
}

struct Ring_Case {
    std::vector<int32_t> in_use;
    std::vector<int32_t> card;
    std::vector<int32_t> frames;  // rings afterwards, by frame
    std::vector<int32_t> states;
};

TEST(Boss_Rings, CardsAddRelocateAndRemoveRings) {
    const Ring_Case cases[] = {
        {{1, 2}, {3, 4}, {1, 2, 3, 4}, {3, 3, 0, 0}},
        {{1, 2}, {}, {1, 2}, {3, 3}},
        {{5, 5}, {5}, {5, 5}, {2, 2}},
        {{}, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {{}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {{1, 2, 3}, {2}, {1, 2, 3}, {3, 2, 3}},
    };
    for (const Ring_Case& c : cases) {
        EnemyBoss b;
        for (int32_t id : c.in_use) {
            b.ring_frame[b.ring_count] = id;
            b.ring_state[b.ring_count++] = 1;
        }
        Spellcard card;
        for (int32_t id : c.card) card.effects.push_back({0, id, 100, 5, 0.1f});
        apply_boss_rings(b, card);
        std::vector<int32_t> frames(b.ring_frame, b.ring_frame + b.ring_count);
        std::vector<int32_t> states(b.ring_state, b.ring_state + b.ring_count);
        EXPECT_EQ(frames, c.frames);
        EXPECT_EQ(states, c.states);
        for (int32_t i = 0; i < b.ring_count; ++i) {
            if (b.ring_state[i] == 3) {
                EXPECT_EQ(b.ring_target[i], 600.0f);
            }
            if (b.ring_state[i] == 0) {
                EXPECT_EQ(b.ring_radius[i], 10.0f);
                EXPECT_FLOAT_EQ(b.ring_alpha[i], 0.01f);
                EXPECT_EQ(b.ring_target[i], 100.0f);
            }
        }
    }
}

}  // namespace
