// The stage script: loading "levels.xml" (and refusing what cannot run) and
// running the events on the stage clock.
#include "world/level.h"

#include <gtest/gtest.h>

#include "stage_helpers.h"
#include "world/appearances.h"

namespace {

using namespace stage_test;

std::string level_text(const std::string& events) {
    return "<resources><level name=\"testlevel\">" + events + "</level></resources>";
}

std::string enemy_event(float time, const std::string& params = "100;0;90;90;60;60;10;0;5;100;1",
                        const std::string& path = "enemy_straight", const std::string& shots = "",
                        const std::string& render = "enemy_fairy1") {
    return "<event time=\"" + std::to_string(time) + "\" name=\"enemy\"><params>" + params +
           "</params><path>" + path + "</path><render>" + render + "</render><shots>" + shots +
           "</shots></event>";
}

std::string boss_event(float time, int phases, const std::string& card = "card_a",
                       int written = -1,
                       const std::string& params = "160;-40;90;90;120;120;24;0;1000;0;0") {
    std::string e = "<event time=\"" + std::to_string(time) + "\" name=\"boss\"><params>" +
                    params +
                    "</params>"
                    "<path>enemy_boss0</path><render>enemy_boss1</render><shots>" +
                    std::to_string(phases) + "</shots><name>kedama</name><dialog>talk</dialog>";
    if (written < 0) written = phases;
    for (int i = 1; i <= written; ++i)
        e += "<spellcard" + std::to_string(i) + "><spell>" + card +
             "</spell><nonspell>card_a</nonspell><hp_nonspell>" + std::to_string(100 * i) +
             "</hp_nonspell><hp_spell>200</hp_spell><price>1000</price>"
             "<start_position>100;120</start_position><start_speed>150</"
             "start_speed><start_wait>100</start_wait></spellcard" +
             std::to_string(i) + ">";
    return e + "</event>";
}

void load(const std::string& events) {
    load_level(document_from_text(level_text(events), "levels.xml"), "testlevel");
}

class Level_Test : public ::testing::Test {
protected:
    Recording_Sound_Sink sink;
    void SetUp() override {
        reset_stage_globals();
        installed_sound_sink = &sink;
        auto card = std::make_unique<Spellcard>();
        card->time = 5000;
        card->actions.push_back({1, 100, 0});
        spellcards["card_a"] = std::move(card);
    }
    void TearDown() override {
        installed_sound_sink = nullptr;
        stage_presentation = nullptr;
        level_requires_appearances = false;
        set_appearance_lookups({});
    }
};

TEST_F(Level_Test, RefusesDataThatCannotRun) {
    std::string many_shots;
    for (int i = 0; i < 65; ++i) many_shots += (i ? "," : "") + std::string("1;100;300020");
    std::string huge_boss = boss_event(300, 1);
    huge_boss.replace(huge_boss.find("<shots>1</shots>"), 16, "<shots>3000000000</shots>");
    struct Case {
        std::string events;
        std::string message;
    };
    const Case cases[] = {
        {enemy_event(100, "1;2;3;4;5;6;7;8;9"),
         "event 0 (time 100): 'params' has 9 values, 11 needed: '1;2;3;4;5;6;7;8;9'"},
        {enemy_event(100, "1;2;3;4;5;6;7;8;9;10;11", "enemy_straight", many_shots),
         "'shots' has 65 entries, at most 64 fit"},
        {enemy_event(100, "1;2;3;4;5;6;7;8;9;10;11", "enemy_straight", "1;100"),
         "shot '1;100' needs trigger;threshold;code"},
        {enemy_event(50) + enemy_event(100, "1;2;3;4;5;6;7;8;9;10;11", "enemy_nowhere"),
         "event 1 (time 100): 'path' names 'enemy_nowhere', which is no registered enemy path"},
        {boss_event(300, 1, "no_card"),
         "spellcard1: 'spell' names the spell card 'no_card', which is not loaded"},
        {boss_event(300, 2, "card_a", 1), "): Xpath did not match any node: spellcard2"},
        {boss_event(300, 0), "a boss needs at least one phase"},
        {huge_boss, "a boss has at most 127 phases, 'shots' asks for 3000000000"},
    };
    for (const Case& c : cases) {
        try {
            load(c.events);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const sdk::Exception& e) {
            std::string what = e.what();
            EXPECT_NE(what.find("levels.xml: level 'testlevel', event "), std::string::npos)
                << what;
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
        }
        EXPECT_TRUE(level_events.empty());
        EXPECT_TRUE(boss_spellcards.empty());
    }
}

TEST_F(Level_Test, RefusesUnknownLooksOnceLooksAreInstalled) {
    static char fairy = 0;
    Appearance_Lookups lookups;
    lookups.enemy = [](const std::string& name) {
        return name == "enemy_fairy1" ? reinterpret_cast<Enemy_Appearance*>(&fairy) : nullptr;
    };
    set_appearance_lookups(lookups);
    level_requires_appearances = true;
    load(enemy_event(100));
    ASSERT_EQ(level_events.size(), 1u);
    EXPECT_EQ(level_events[0].appearance, reinterpret_cast<Enemy_Appearance*>(&fairy));
    EXPECT_THROW(
        load(enemy_event(100, "1;2;3;4;5;6;7;8;9;10;11", "enemy_straight", "", "enemy_ghost")),
        sdk::Exception);
    level_requires_appearances = false;
    EXPECT_NO_THROW(
        load(enemy_event(100, "1;2;3;4;5;6;7;8;9;10;11", "enemy_straight", "", "enemy_ghost")));
}

TEST_F(Level_Test, ReadsEnemyEvents) {
    load(enemy_event(100, "10;20;90;45;60;120;6;3;40;250;2", "enemy_straight",
                     " 1;300;300020, 3;10;500040 \n") +
         "<event time=\"50\" name=\"dance\"/>");
    ASSERT_EQ(level_events.size(), 1u);
    const Level_Event& e = level_events[0];
    EXPECT_EQ(e.type, event_enemy);
    EXPECT_FLOAT_EQ(e.x, 42.0f);
    EXPECT_FLOAT_EQ(e.y, 20.0f);
    EXPECT_FLOAT_EQ(e.base_speed, 0.06f);
    EXPECT_FLOAT_EQ(e.speed, 0.12f);
    EXPECT_FLOAT_EQ(e.radius, 6.0f);
    EXPECT_EQ(e.colour, 3);
    EXPECT_EQ(e.hp, 40);
    EXPECT_EQ(e.price, 250);
    EXPECT_EQ(e.drop, 2);
    ASSERT_EQ(e.shot_count, 2);
    EXPECT_EQ(e.shots[0].trigger, 1);
    EXPECT_EQ(e.shots[0].threshold, 300);
    EXPECT_EQ(e.shots[0].code, 300020);
    EXPECT_EQ(e.shots[1].trigger, 3);
    EXPECT_EQ(e.path_strategy, get_enemy_path("enemy_straight"));
}

TEST_F(Level_Test, UnknownKindIsSkippedWithALogLine) {
    Log_Catcher log;
    load("<event time=\"50\" name=\"dance\"/>" + enemy_event(100));
    EXPECT_EQ(level_events.size(), 1u);
    EXPECT_TRUE(log.contains("event 0 (time 50): skipping the unknown kind 'dance'"));
}

TEST_F(Level_Test, EventAtTimeZeroRunsInTheFirstFrame) {
    load(enemy_event(0));
    process_level_events(16);
    EXPECT_EQ(enemy_lists.active_count, 1u);
}

TEST_F(Level_Test, LateEnemyStartsFurtherAlongWithFreshClocks) {
    load(enemy_event(100, "100;0;90;90;500;500;10;0;5;100;1"));
    process_level_events(140);
    ASSERT_EQ(enemy_lists.active_count, 1u);
    const Enemy& e = *enemy_lists.active[0];
    EXPECT_NEAR(e.y, 0.5f * 40.0f, 1e-4f);
    EXPECT_EQ(e.age, 0.0f);
    EXPECT_EQ(e.distance, 0.0f);
}

// An enemy whose lateness carries it past its stop depth stops there: it is
// never pulled back up the field, and it leaves after its wait.
TEST_F(Level_Test, LateEnemyPastItsStopStaysStopped) {
    struct Case {
        const char* path;
        float f1;  // stop depth below the field's top (16)
    };
    const Case cases[] = {
        {"enemy_stopgo_1s", 80},
        {"enemy_stopgo_1s", 0},
        {"enemy_wait_2s", 80},
        {"enemy_wait_2s", 0},
    };
    for (const Case& c : cases) {
        clear_enemies();
        float stop = 16.0f + c.f1;
        // 0.5 px/ms, due at 100 and run at 140: 20 px further on, past the stop.
        std::string params = "68;" + std::to_string(stop - 10.0f) + ";90;90;500;500;10;0;5;100;1";
        std::string event = enemy_event(100, params, c.path);
        event.insert(event.find("</event>"), "<f1>" + std::to_string(c.f1) + "</f1>");
        load(event);
        process_level_events(140);
        ASSERT_EQ(enemy_lists.active_count, 1u) << c.path;
        std::shared_ptr<Enemy> e = enemy_lists.active[0];
        EXPECT_FLOAT_EQ(e->y, stop) << c.path << " " << c.f1;
        float wait = c.path == std::string("enemy_stopgo_1s") ? 1000.0f : 2000.0f;
        for (float t = 0; t < wait; t += 16) {
            update_enemies(16);
            ASSERT_GE(e->y, stop) << c.path << " " << c.f1 << " at " << t << " ms";
        }
        for (int i = 0; i < 20; ++i) update_enemies(16);
        EXPECT_EQ(e->path_state, 30) << c.path << " " << c.f1 << ": leaves after its wait";
    }
}

// A boss whose late start already brings it to its stop line goes on to its
// fight from there, as one created in time does: it never waits on the line.
TEST_F(Level_Test, LateBossPastItsStopLineGoesOnToItsFight) {
    struct Case {
        const char* params;
        float lateness;
    };
    const Case cases[] = {
        {"160;170;90;90;120;120;24;0;1000;0;0", 5},        // on the line
        {"160;400;90;90;120;120;24;0;1000;0;0", 5},        // below it
        {"160;200;270;90;120;120;24;0;1000;0;0", 5},       // below it, heading up
        {"160;200;90;90;120;-120;24;0;1000;0;0", 5},       // below it, backwards
        {"160;-40;90;90;30000;30000;24;0;1000;0;0", 10},   // 300 px in its 10 ms of lateness
        {"160;-40;90;90;120;120;24;0;1000;0;0", 5},        // flies in
    };
    for (const Case& c : cases) {
        clear_enemies();
        load(boss_event(300, 1, "card_a", -1, c.params));
        process_level_events(300 + c.lateness);
        EnemyBoss* b = active_boss();
        ASSERT_NE(b, nullptr) << c.params;
        for (int i = 0; i < 1000 && b->path_state != 20; ++i) update_enemies(16);
        EXPECT_EQ(b->path_state, 20) << c.params;
        EXPECT_EQ(b->x, 132.0f) << c.params;  // at the phase's start
        EXPECT_EQ(b->y, 120.0f) << c.params;
    }
}

TEST_F(Level_Test, WaitHoldsTheClockLessItsLateness) {
    load(enemy_event(1000) + "<event time=\"1000\" name=\"wait\"><time>1000</time></event>" +
         enemy_event(1005));
    process_level_events(1010);
    EXPECT_EQ(event_waiting, 1);
    EXPECT_EQ(event_clock, 1000.0f);
    EXPECT_EQ(enemy_lists.active_count, 0u);  // the enemy of the wait's time waits too
    for (int i = 0; i < 99; ++i) process_level_events(10);
    EXPECT_EQ(event_clock, 1000.0f);
    EXPECT_EQ(enemy_lists.active_count, 0u);
    process_level_events(10);
    EXPECT_EQ(event_waiting, 0);
    EXPECT_EQ(event_clock, 1010.0f);
    EXPECT_EQ(enemy_lists.active_count, 2u);
}

TEST_F(Level_Test, EventsOfOneTimeRunInOneFrame) {
    load(enemy_event(100) + enemy_event(100) + "<event time=\"100\" name=\"level_end\"/>");
    process_level_events(101);
    EXPECT_EQ(enemy_lists.active_count, 2u);
    EXPECT_EQ(stage_clear, 1);
    EXPECT_EQ(next_event, 3u);
    process_level_events(16);  // nothing left: the clock stands
    EXPECT_EQ(event_clock, 101.0f);
}

TEST_F(Level_Test, BossEventReadsItsPhasesAndStartsTheFight) {
    load(boss_event(100, 3));
    load(boss_event(100, 3));  // loading again does not add phases
    ASSERT_EQ(boss_spellcards["kedama"].size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(boss_spellcards["kedama"][i].hp_nonspell, 100 * (i + 1));
    const Spellcard_Entry& p = boss_spellcards["kedama"][0];
    EXPECT_FLOAT_EQ(p.start_x, 132.0f);
    EXPECT_FLOAT_EQ(p.start_speed, 0.15f);
    EXPECT_EQ(p.spell_card, spellcards["card_a"].get());
    process_level_events(101);
    EXPECT_EQ(boss_active, 1);
    EXPECT_EQ(sink.music, std::vector<std::string>{"stop"});
    EnemyBoss* b = active_boss();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->phases.size(), 3u);
    EXPECT_EQ(b->shot_count, 3);
    EXPECT_EQ(b->name, "kedama");
    EXPECT_EQ(b->dialog_name, "talk");
    EXPECT_EQ(b->has_dialog, 1);
}

TEST_F(Level_Test, MusicStartStopsTheTrackFirst) {
    load(
        "<event time=\"0\" name=\"music_start\"><title>01_stage</title></event>"
        "<event time=\"50\" name=\"music_stop\"/>");
    process_level_events(16);
    process_level_events(40);
    EXPECT_EQ(sink.music, (std::vector<std::string>{"stop", "play 01_stage", "stop"}));
}

TEST_F(Level_Test, DialogEventNeedsAPresentation) {
    load(
        "<event time=\"0\" name=\"dialog\"><title>intro</title></event>"
        "<event time=\"1\" name=\"dialog\"><title>outro</title></event>");
    process_level_events(16);
    EXPECT_EQ(dialog_active, 0);  // headless: nobody could end it
    Fake_Presentation show;
    stage_presentation = &show;
    language = 1;
    load("<event time=\"0\" name=\"dialog\"><title>intro</title></event>");
    process_level_events(16);
    language = 0;
    EXPECT_EQ(dialog_active, 1);
    EXPECT_EQ(show.dialogs, std::vector<std::string>{"intro_jap"});
}

}  // namespace
