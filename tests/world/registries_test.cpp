// The strategy registries and the loader of "patterns.xml".
#include "sdk/core/exception.h"
#include "world/bullet_behaviours.h"
#include "world/effect_behaviours.h"
#include "world/enemy_path.h"
#include "world_fixture.h"

namespace {

class Registries : public World_Test {
protected:
    sdk::Resource_Manager patterns(const std::string& body) {
        return sdk::Resource_Manager(sdk::Resource_Document::from_text(
            "<resources>" + body + "</resources>", "patterns.xml"));
    }
};

TEST_F(Registries, BulletBehavioursCarryTheirConstants) {
    auto* s2 = dynamic_cast<Behaviour_Simple2*>(get_behaviour("bullet_simple2"));
    auto* s21 = dynamic_cast<Behaviour_Simple2*>(get_behaviour("bullet_simple2_1"));
    auto* s3 = dynamic_cast<Behaviour_Simple3*>(get_behaviour("bullet_simple3"));
    auto* arc = dynamic_cast<Behaviour_Arc*>(get_behaviour("bullet_arc"));
    auto* line = dynamic_cast<Behaviour_Arc_Line*>(get_behaviour("bullet_arc_line"));
    ASSERT_TRUE(s2 && s21 && s3 && arc && line);
    EXPECT_FLOAT_EQ(s2->ramp_time, 300.0f);
    EXPECT_FLOAT_EQ(s21->ramp_time, 150.0f);
    EXPECT_FLOAT_EQ(s3->accel, -0.00001f);
    EXPECT_FLOAT_EQ(s3->limit, 0.03f);
    EXPECT_FLOAT_EQ(arc->ease_time, 0.0f);
    EXPECT_FLOAT_EQ(arc->ease_factor, 1.0f);
    EXPECT_FLOAT_EQ(line->arc_time, 500.0f);
    EXPECT_FLOAT_EQ(line->line_factor, 1.2f);
    for (const char* name : {"bullet_simple", "bullet_lazor1", "bullet_controlled1", "bullet_timed",
                             "bullet_stopping", "bullet_turning", "bullet_spinning"})
        EXPECT_NE(get_behaviour(name), nullptr) << name;
    Behaviour* b = get_behaviour("bullet_simple");
    EXPECT_EQ(b->left, 32.0f);
    EXPECT_EQ(b->bottom, 464.0f);
    EXPECT_EQ(get_behaviour("bullet_nothing"), nullptr);
    EXPECT_EQ(get_behaviour("bullet_nothing"), nullptr);
}

TEST_F(Registries, PlayerValuesAreCopiedAtRegistration) {
    player.shot3_accel_time = 250.0f;
    player.shot3_speed_delta = 1.5f;
    player.shot4_change_angle = 80.0f;
    player.shot4_speed_delta = 3.0f;
    register_bullet_behaviours(play_field);
    player.shot3_accel_time = 1.0f;
    auto* polar = dynamic_cast<Behaviour_Arc_Polar*>(get_behaviour("bullet_arc_polar_player1"));
    auto* curve = dynamic_cast<Behaviour_Player_Bullet2*>(get_behaviour("bullet_player_1"));
    ASSERT_TRUE(polar && curve);
    EXPECT_FLOAT_EQ(polar->switch_time, 250.0f);
    EXPECT_FLOAT_EQ(polar->rate_factor, 1.5f);
    EXPECT_FLOAT_EQ(curve->max_sweep, 80.0f);
    EXPECT_FLOAT_EQ(curve->line_factor, 3.0f);
}

TEST_F(Registries, EffectBehaviours) {
    auto* grav = dynamic_cast<Effect_Behaviour_Grav*>(get_effect_behaviour("effect_grav"));
    ASSERT_TRUE(grav);
    EXPECT_DOUBLE_EQ(grav->gravity, 0.01);
    EXPECT_EQ(grav->right, 0.0f);
    for (const char* name : {"effect_stay_still", "score_float", "effect_flyoff"})
        EXPECT_NE(get_effect_behaviour(name), nullptr) << name;
}

TEST_F(Registries, MovementsWithEnemyPathsAndPatternRoom) {
    active_patterns.shrink_to_fit();
    register_movements(play_field);
    EXPECT_GE(active_patterns.capacity(), 2000u);
    Enemy_Path* left = get_enemy_path("enemy_go_left");
    Enemy_Path* right = get_enemy_path("enemy_go_right");
    ASSERT_TRUE(left && right);
    EXPECT_FLOAT_EQ(left->param, 105.6f);
    EXPECT_FLOAT_EQ(right->param, 105.6f);
    EXPECT_NE(left->flag, right->flag);
    active_patterns.reserve(5000);
    register_movements(play_field);
    EXPECT_EQ(active_patterns.capacity(), 5000u);
    EXPECT_EQ(pattern_id_counter, 0u);
}

TEST_F(Registries, LoadsBulletTypesAndDescriptorsAsWritten) {
    load_patterns(patterns(R"(
      <bullet name="bullet3"><render>bullet0</render><collision>4.5</collision><damage>2</damage></bullet>
      <bullet name="bullet3"><render>bullet1</render><collision>6</collision><damage>7</damage></bullet>
      <pattern name="p0"><behaviour>bullet_simple2</behaviour><bullet_number>3.7</bullet_number>
        <speed>0.25</speed><time1>100</time1><pattern_param5>-45</pattern_param5>
        <effect>shot1</effect><effect_index>4</effect_index></pattern>
      <pattern name="fancy"><behaviour>bullet_simple</behaviour></pattern>)"));
    const Bullet& t = bullet_types.at("bullet3");
    EXPECT_EQ(t.appearance, bullet_look("bullet1")) << "the later resource wins";
    EXPECT_FLOAT_EQ(t.radius, 6.0f);
    EXPECT_EQ(t.damage, 7);
    const Pattern& p = pattern_types.at("p0");
    EXPECT_EQ(p.bullet_number, 3);
    EXPECT_FLOAT_EQ(p.speed, 0.25f);
    EXPECT_FLOAT_EQ(p.time1, 100.0f);
    EXPECT_FLOAT_EQ(p.time2, 0.0f);
    EXPECT_FLOAT_EQ(p.pattern_param5, -45.0f);
    EXPECT_EQ(p.effect, "shot1");
    EXPECT_EQ(p.effect_index, 4);
    EXPECT_EQ(p.behaviour, get_behaviour("bullet_simple2"));
    EXPECT_TRUE(pattern_types.count("fancy"));
    // "p0" serves every code from 0 to 999.
    for (int32_t code : {0, 517, 999})
        EXPECT_FLOAT_EQ(start_pattern(code, nullptr, 0, 0)->speed, 0.25f) << code;
    EXPECT_FLOAT_EQ(start_pattern(1000, nullptr, 0, 0)->speed, 0.0f);
    // A bullet type that is not registered gives a default bullet.
    size_t types = bullet_types.size();
    Bullet none = create_bullet("bullet44");
    EXPECT_EQ(none.appearance, nullptr);
    EXPECT_EQ(none.damage, 0);
    EXPECT_EQ(bullet_types.size(), types);
    EXPECT_EQ(create_bullet("bullet3").damage, 7);
}

TEST_F(Registries, UnknownNamesStopTheLoaderNamingFileResourceAndName) {
    set_appearance_lookups({
        [this](const std::string& n) { return n == "bullet0" ? bullet_look(n) : nullptr; },
        [this](const std::string& n) { return effect_look(n); },
        {},
    });
    struct Case {
        const char* xml;
        const char* message;
    } cases[] = {
        {R"(<bullet name="bullet1"><render>bulet0</render></bullet>)",
         "patterns.xml: bullet 'bullet1': \"render\" names 'bulet0', which is not registered"},
        {R"(<pattern name="p5"><behaviour>bullet_smple</behaviour></pattern>)",
         "patterns.xml: pattern 'p5': \"behaviour\" names 'bullet_smple', which is not registered"},
    };
    for (const auto& c : cases) {
        try {
            load_patterns(patterns(c.xml));
            ADD_FAILURE() << "no error for " << c.xml;
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

// Descriptors at the edges that the document allows: a bullet type without
// a look, descriptors without a behaviour (the player's shot needs none),
// and aimed fans of a fraction of a bullet and of exactly one.
class Pattern_Document : public Pattern_Test {};

constexpr const char* edge_patterns = R"(<resources>
  <bullet name="bullet0"><collision>3</collision></bullet>
  <bullet name="bullet1"><render></render><collision>3</collision></bullet>
  <pattern name="p100000"><param1>2</param1></pattern>
  <pattern name="p500"><behaviour/><bullet_number>1</bullet_number>
    <pattern_param1>45</pattern_param1></pattern>
  <pattern name="p550"><behaviour>bullet_simple</behaviour><bullet_number>1</bullet_number>
    <pattern_param1>60</pattern_param1><pattern_param2>0.5</pattern_param2></pattern>
  <pattern name="p551"><behaviour>bullet_simple</behaviour><bullet_number>1</bullet_number>
    <pattern_param1>60</pattern_param1><pattern_param2>1</pattern_param2></pattern>
  <pattern name="p552"><behaviour>bullet_simple</behaviour><bullet_number>1</bullet_number>
    <pattern_param1>60</pattern_param1><pattern_param2>3</pattern_param2></pattern>
</resources>)";

TEST_F(Pattern_Document, EdgeDescriptorsLoadAndFire) {
    load_patterns(
        sdk::Resource_Manager(sdk::Resource_Document::from_text(edge_patterns, "patterns.xml")));
    EXPECT_EQ(bullet_types.at("bullet0").appearance, nullptr);
    EXPECT_EQ(bullet_types.at("bullet1").appearance, nullptr);
    EXPECT_EQ(pattern_types.at("p100000").behaviour, nullptr);
    EXPECT_FLOAT_EQ(pattern_types.at("p100000").param1, 2.0f);
    // The player stands straight below the owner: the fans aim at 90 degrees.
    struct Case {
        int32_t code;
        std::vector<float> headings;
        uint32_t left_after_a_step;  // bullets without a behaviour end
    } cases[] = {
        {500020, {45}, 0},  // no behaviour, no look
        {550000, {60}, 1},  // half a bullet: one, at the start of the fan
        {551000, {90}, 1},  // one bullet: at the centre
        {552000, {60, 90, 120}, 3},
    };
    for (const auto& c : cases) {
        clear_patterns();
        bullet_pool.reset();
        start(c.code);
        update_patterns(1.0f);
        std::vector<::testing::Matcher<float>> want;
        for (float h : c.headings) want.push_back(DegreesNear(h));
        EXPECT_THAT(headings(), ::testing::ElementsAreArray(want)) << c.code;
        bullet_pool.update(16.0f);
        EXPECT_EQ(bullet_pool.size(), c.left_after_a_step) << c.code;
    }
}

}  // namespace
