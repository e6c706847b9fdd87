// Spell cards: the loader of "spellcard" resources and one step of a card.
#include "world/spellcard.h"

#include <gtest/gtest.h>

#include <cmath>

#include "stage_helpers.h"

namespace {

using namespace stage_test;

sdk::Resource_Manager cards() {
    return document_from_text(R"(<resources>
  <spellcard name="loop" time="30">
    <action name="pattern">300020</action>
    <action name="wait">500</action>
    <action name="move">100;120</action>
    <effect name="ring">2;120;8;0.05</effect>
    <effect name="background">rimea_back_1</effect>
    <effect name="background">other_layer</effect>
    <effect name="sparkle">1</effect>
  </spellcard>
  <spellcard name="outer" time="5">
    <action name="speed">150</action>
    <action name="spell">inner</action>
    <action name="acting">start</action>
    <action name="dance">3</action>
    <action name="accel">0.0005</action>
    <action name="accel">0.0000005</action>
    <action name="acting">stop</action>
  </spellcard>
  <spellcard name="inner" time="99">
    <action name="wait">10</action>
    <action name="spell">loop</action>
    <action name="move">1;2</action>
    <effect name="ring">9;1;1;1</effect>
  </spellcard>
  <spellcard name="empty" time="5"><effect name="ring">1;2;3;4</effect></spellcard>
  <spellcard name="bad_ring" time="5"><action name="wait">1</action><effect name="ring">1;2</effect></spellcard>
  <spellcard name="huge_accel" time="5"><action name="accel">1e30</action></spellcard>
  <spellcard name="negative_accel" time="5"><action name="accel">-2148</action></spellcard>
  <spellcard name="long_time" time="2147484"><action name="wait">1</action></spellcard>
</resources>)",
                              "patterns.xml");
}

EnemyBoss boss_at(float x, float y) {
    EnemyBoss b;
    b.x = x;
    b.y = y;
    b.alive = 1;
    b.boss_hp = 100;
    b.time_limit = 100000;
    b.speed = 0.1f;
    b.accel = 0.001f;
    return b;
}

class Spellcard_Test : public ::testing::Test {
protected:
    void SetUp() override { reset_stage_globals(); }
};

TEST_F(Spellcard_Test, LoadsActionsAndEffects) {
    Log_Catcher log;
    Spellcard c;
    c.load(cards(), "loop");
    EXPECT_EQ(c.time, 30000);
    ASSERT_EQ(c.actions.size(), 3u);
    EXPECT_EQ(c.actions[0].kind, 2);
    EXPECT_EQ(c.actions[0].a, 300020);
    EXPECT_EQ(c.actions[1].kind, 1);
    EXPECT_EQ(c.actions[2].kind, 0);
    EXPECT_EQ(c.actions[2].a, 100);
    EXPECT_EQ(c.actions[2].b, 120);
    ASSERT_EQ(c.effects.size(), 3u);
    EXPECT_EQ(c.effects[0].kind, 0);
    EXPECT_EQ(c.effects[0].id, 2);
    EXPECT_FLOAT_EQ(c.effects[0].target, 120.0f);
    EXPECT_FLOAT_EQ(c.effects[0].width, 8.0f);
    EXPECT_FLOAT_EQ(c.effects[0].spin, 0.05f);
    EXPECT_EQ(c.effects[1].id, 1);
    EXPECT_EQ(c.effects[2].id, 0);
    EXPECT_TRUE(log.contains("patterns.xml: spellcard 'loop': skipping unknown effect 'sparkle'"));
}

TEST_F(Spellcard_Test, SpellActionInsertsAnotherCardsActionsInPlace) {
    Log_Catcher log;
    Spellcard c;
    c.load(cards(), "outer");
    // speed, [inner: wait, move — its own "spell" is not followed], acting
    // start, accel 500, accel 0, acting stop.
    std::vector<int> kinds;
    for (const Spell_Action& a : c.actions) kinds.push_back(a.kind);
    EXPECT_EQ(kinds, (std::vector<int>{3, 1, 0, 5, 4, 4, 6}));
    EXPECT_EQ(c.actions[4].a, 500);
    EXPECT_EQ(c.actions[5].a, 0);
    EXPECT_TRUE(c.effects.empty());
    EXPECT_TRUE(log.contains("skipping unknown action 'dance'"));
}

TEST_F(Spellcard_Test, RefusesCardsThatCannotRun) {
    for (const char* name : {"empty", "bad_ring"}) {
        Spellcard c;
        try {
            c.load(cards(), name);
            ADD_FAILURE() << name;
        } catch (const sdk::Exception& e) {
            EXPECT_NE(
                std::string(e.what()).find(std::string("patterns.xml: spellcard '") + name + "'"),
                std::string::npos)
                << e.what();
        }
    }
}

// Numbers that no 32-bit integer holds once scaled stop the load naming the
// card and the key, rather than being cast (undefined behaviour).
TEST_F(Spellcard_Test, RefusesNumbersPastTheirIntegers) {
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"huge_accel",
         "patterns.xml: spellcard 'huge_accel': 'accel' is 1e30, not a number from -2147.483648 "
         "to 2147.483647"},
        {"negative_accel",
         "patterns.xml: spellcard 'negative_accel': 'accel' is -2148, not a number from "
         "-2147.483648 to 2147.483647"},
        {"long_time",
         "patterns.xml: spellcard 'long_time': 'time' is 2147484, not a number from "
         "-2147483.648 to 2147483.647"},
    };
    for (const Case& c : cases) {
        Spellcard card;
        try {
            card.load(cards(), c.name);
            ADD_FAILURE() << c.name;
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST_F(Spellcard_Test, LoopOfPatternWaitAndMove) {
    Spellcard c;
    c.load(cards(), "loop");
    EnemyBoss b = boss_at(200, 100);
    EXPECT_EQ(c.run_action(b, 16), 0);
    ASSERT_EQ(active_patterns.size(), 1u);
    EXPECT_EQ(active_patterns[0]->code, 300020);
    EXPECT_EQ(b.action, 1);
    int frames = 0;
    while (b.action == 1) {
        c.run_action(b, 10);
        ++frames;
        EXPECT_EQ(b.dir_y, 1.0f);
    }
    EXPECT_EQ(frames, 51);  // above 500 ms
    EXPECT_FLOAT_EQ(b.angle.to_degrees(), 90.0f);
    c.run_action(b, 10);
    EXPECT_EQ(b.moving, 1);
    EXPECT_EQ(b.move_start_x, 200.0f);
    EXPECT_LT(b.x, 200.0f);
    EXPECT_NEAR(b.angle.to_degrees(), 180.0f - 11.31f, 0.01f);
    while (b.action == 2) c.run_action(b, 10);
    EXPECT_EQ(b.x, 100.0f);
    EXPECT_EQ(b.y, 120.0f);
    EXPECT_EQ(b.moving, 0);
    c.run_action(b, 10);
    EXPECT_EQ(active_patterns.size(), 2u);
}

TEST_F(Spellcard_Test, MoveToItsOwnPlaceEndsAtOnce) {
    Spellcard c;
    c.actions.push_back({0, 100, 120});
    c.actions.push_back({1, 1000, 0});
    EnemyBoss b = boss_at(100, 120);
    c.run_action(b, 16);
    EXPECT_EQ(b.action, 1);
    EXPECT_EQ(b.moving, 0);
}

TEST_F(Spellcard_Test, MoveWithoutAccelerationKeepsItsSpeed) {
    Spellcard c;
    c.actions.push_back({0, 100, 100});
    EnemyBoss b = boss_at(200, 100);
    b.accel = 0.0f;
    c.run_action(b, 100);
    EXPECT_TRUE(std::isfinite(b.x));
    EXPECT_FLOAT_EQ(b.x, 190.0f);
    for (int i = 0; i < 20 && b.action == 0; ++i) c.run_action(b, 100);
    EXPECT_EQ(b.x, 100.0f);
}

// A move reaches its target in about the time its speed and acceleration
// give it, without passing it, also where its brake is shorter than a
// frame: the arrival cannot be stepped over. A speed below 0 arrives as
// its size would, or sooner.
TEST_F(Spellcard_Test, MovesArriveWithinTheirTimeWithoutPassingTheTarget) {
    struct Case {
        float speed;  // px/ms
        float accel;  // px/ms^2
        float dt;     // ms
    };
    const Case cases[] = {
        {0.15f, 0.0004f, 16},       // the stage's cards
        {0.18f, 0.0006f, 17},
        {0.15f, 0.1f, 17},          // a brake shorter than a frame
        {0.15f, 3.0f, 17},
        {0.09f, 2147.483647f, 17},  // the largest "accel"
        {2147483.647f, 0.0004f, 17},  // the largest "speed"
        {0.15f, 0.000001f, 17},     // the smallest "accel" above 0
        {0.15f, 0.0004f, 1000},     // the longest step a replay holds
        {0.15f, 3.0f, 1},
        {-0.15f, 0.0f, 17},         // no acceleration, a speed below 0
        {-0.001f, 0.0f, 17},
        {-1.0f, 0.0f, 17},
        {-0.15f, -0.0004f, 17},     // an "accel" below 0 too
    };
    const float d = 127.0f;
    for (const Case& c : cases) {
        std::string row = std::to_string(c.speed) + " px/ms, " + std::to_string(c.accel) +
                          " px/ms2, steps of " + std::to_string(c.dt) + " ms";
        // The move's time: accelerate, cruise, brake; or no cruise at all;
        // or the one speed throughout.
        float v = std::fabs(c.speed);
        float ta = v / c.accel;
        float time = !(c.accel > 0.0f)      ? d / v
                     : c.accel * ta * ta > d ? 2.0f * std::sqrt(d / c.accel)
                                             : (d - c.accel * ta * ta) / v + 2.0f * ta;
        int frames_allowed = static_cast<int>(std::ceil(time / c.dt)) + 2;
        Spellcard card;
        card.actions.push_back({0, 96 + static_cast<int32_t>(d), 100});
        card.actions.push_back({1, 1000, 0});
        EnemyBoss b = boss_at(96, 100);
        b.speed = c.speed;
        b.accel = c.accel;
        b.time_limit = 1e7f;
        int frames = 0;
        while (b.action == 0 && frames < frames_allowed) {
            card.run_action(b, c.dt);
            ++frames;
            ASSERT_GE(b.x, 96.0f) << row << ", frame " << frames;
            ASSERT_LE(b.x, 96.0f + d) << row << ", frame " << frames;
            ASSERT_EQ(b.y, 100.0f) << row << ", frame " << frames;
        }
        EXPECT_EQ(b.action, 1) << row << ": not there after " << frames << " frames";
        EXPECT_EQ(b.x, 96.0f + d) << row;
    }
}

TEST_F(Spellcard_Test, InstantActionsTakeOneFrameEach) {
    Spellcard c;
    c.load(cards(), "outer");
    EnemyBoss b = boss_at(200, 100);
    c.run_action(b, 16);
    EXPECT_FLOAT_EQ(b.speed, 0.15f);
    EXPECT_EQ(b.action, 1);
    b.action = 3;
    c.run_action(b, 16);
    EXPECT_EQ(b.acting, 1);
    c.run_action(b, 16);
    EXPECT_FLOAT_EQ(b.accel, 0.0005f);
    c.run_action(b, 16);
    EXPECT_EQ(b.accel, 0.0f);
    b.acting_time = 50;
    c.run_action(b, 16);
    EXPECT_EQ(b.acting, 0);
    EXPECT_EQ(b.acting_time, 0.0f);
    EXPECT_EQ(b.action, 0);  // the loop wraps
}

TEST_F(Spellcard_Test, HitPointsBeforeTime) {
    Spellcard c;
    c.actions.push_back({1, 1000, 0});
    EnemyBoss b = boss_at(100, 100);
    b.boss_hp = 0;
    b.time_limit = -5;
    EXPECT_EQ(c.run_action(b, 16), 1);
    b.boss_hp = 1;
    b.time_limit = 10;
    EXPECT_EQ(c.run_action(b, 16), 2);
    b.time_limit = 20;
    EXPECT_EQ(c.run_action(b, 16), 0);
}

}  // namespace
