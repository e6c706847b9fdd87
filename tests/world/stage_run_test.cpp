// The whole stage, headless: the fixture's levels.xml, patterns.xml and
// player.xml run frame by frame with a scripted player until the level ends
// or the run is lost; the same run twice and its replay give the same state
// every frame.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "scripted_player.h"
#include "sdk/core/random.h"
#include "stage_helpers.h"
#include "world/settings.h"
#include "world/stage_frame.h"
#include "world/state_hash.h"

namespace {

using namespace stage_test;

float step_of(int frame) { return frame % 3 == 0 ? 17.0f : 16.0f; }

struct Run_Record {
    std::vector<uint64_t> hashes;
    std::vector<Replay_Frame> frames;
    // Stage clock and run time at which each enemy id appeared.
    std::map<uint32_t, std::pair<float, float>> created;
    std::vector<std::pair<int32_t, int32_t>> boss_halves;
    float wait_began = -1;
    float dialog_clock_drift = 0;
    int dialog_frames = 0;
    int32_t min_lives = 99, max_power = 0, min_power = 999;
    uint32_t power_items = 0;
    bool bombed_seen = false, wind_seen = false, focus_seen = false;
};

class Stage_Run : public ::testing::Test {
protected:
    Fake_Presentation show;
    Recording_Sound_Sink sink;

    void SetUp() override { start_lives = 3; }
    void TearDown() override {
        stage_presentation = nullptr;
        installed_sound_sink = nullptr;
        clear_run_flags();
        set_appearance_lookups({});
    }

    // `fresh`: a new program; otherwise a run start right after another run,
    // as the game starts its replay after the recorded game.
    void begin(bool fresh = true) {
        if (fresh) {
            reset_stage_globals();
            install_named_looks();
            load_patterns(fixture_document("patterns.xml"));
        }
        show = Fake_Presentation{};
        sink = Recording_Sound_Sink{};
        stage_presentation = &show;
        installed_sound_sink = &sink;
        start_stage_run(fixture_document("levels.xml"), "testlevel");
    }

    // Plays live with the script, or replays `replay` when it is given.
    // `background_draws` random numbers are drawn before every frame, as
    // background particles would.
    Run_Record play(const std::vector<Replay_Frame>* replay = nullptr, int background_draws = 0,
                    bool fresh = true) {
        begin(fresh);
        Run_Record r;
        Scripted_Player script;
        float t = 0;
        size_t limit = replay ? replay->size() : 6000;
        for (size_t f = 0; f < limit && !stage_clear && !game_over; ++f) {
            float dt = step_of(static_cast<int>(f));
            Stage_Input in;
            Player_Input devices;
            if (replay) {
                in.recorded = &(*replay)[f];
            } else {
                devices = script.next(t, in.advances);
                in.devices = &devices;
            }
            for (int i = 0; i < background_draws + static_cast<int>(f % 7); ++i) sdk::rand();
            bool dialog_before = dialog_active != 0;
            float clock_before = event_clock;
            uint32_t ids_before = enemy_lists.next_id;
            uint8_t waiting_before = event_waiting;
            r.frames.push_back(run_stage_frame(dt, in));
            t += dt;
            r.hashes.push_back(world_state_hash());
            if (dialog_before && dialog_active) {
                r.dialog_clock_drift += std::fabs(event_clock - clock_before);
                ++r.dialog_frames;
            }
            if (!waiting_before && event_waiting) r.wait_began = t;
            for (uint32_t id = ids_before; id < enemy_lists.next_id; ++id)
                r.created[id] = {event_clock, t};
            if (EnemyBoss* b = active_boss()) {
                std::pair<int32_t, int32_t> h{b->phase, b->half};
                if (b->path_state == 20 && (r.boss_halves.empty() || r.boss_halves.back() != h))
                    r.boss_halves.push_back(h);
            }
            r.min_lives = std::min(r.min_lives, player.lives);
            r.max_power = std::max(r.max_power, player.power);
            r.min_power = std::min(r.min_power, player.power);
            r.bombed_seen = r.bombed_seen || player.bombing;
            r.wind_seen = r.wind_seen || player.wind_blowing;
            r.focus_seen = r.focus_seen || player.focus;
        }
        return r;
    }
};

float event_time_of_enemy(uint32_t id) {
    uint32_t n = 0;
    for (const Level_Event& e : level_events) {
        if (e.type != event_enemy && e.type != event_boss) continue;
        if (n++ == id) return e.time;
    }
    return -1;
}

TEST_F(Stage_Run, ScriptedPlayerClearsTheStage) {
    Run_Record r = play();
    ASSERT_EQ(stage_clear, 1) << "frames " << r.frames.size() << ", lives " << player.lives;
    EXPECT_EQ(game_over, 0);

    // Enemies arrive on schedule: within one frame of their time on the
    // stage clock, and the one due with the wait only after it.
    ASSERT_EQ(r.created.size(), 8u);
    for (const auto& [id, when] : r.created) {
        float due = event_time_of_enemy(id);
        EXPECT_GT(when.first, due) << id;
        EXPECT_LE(when.first, due + 17.0f) << id;
    }
    ASSERT_GT(r.wait_began, 0.0f);
    EXPECT_GE(r.created[5].second - r.wait_began, 1500.0f - 17.0f);
    EXPECT_LE(r.created[5].second - r.wait_began, 1500.0f + 17.0f);

    // Dialogs hold the stage clock.
    EXPECT_EQ(show.dialogs, (std::vector<std::string>{"intro_rus", "boss_talk_rus"}));
    EXPECT_GT(r.dialog_frames, 0);
    EXPECT_EQ(r.dialog_clock_drift, 0.0f);

    // The boss ran both halves of both phases and died.
    EXPECT_EQ(r.boss_halves,
              (std::vector<std::pair<int32_t, int32_t>>{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));
    EXPECT_EQ(sink.count("enemy_dead2"), 1);
    EXPECT_EQ(active_boss(), nullptr);
    EXPECT_EQ(boss_active, 0);

    // The player did it all, and the counters moved.
    EXPECT_TRUE(r.bombed_seen);
    EXPECT_TRUE(r.wind_seen);
    EXPECT_TRUE(r.focus_seen);
    EXPECT_GT(sink.count("item00") + sink.count("powerup") + sink.count("item01"), 0);
    EXPECT_GT(player.score, 0u);
    EXPECT_GT(player.graze, 0);
    EXPECT_LT(r.min_lives, 2);
    EXPECT_NE(r.max_power, r.min_power);
    EXPECT_EQ(sink.music.front(), "stop");
    EXPECT_EQ(sink.music[1], "play 01_stage");
}

TEST_F(Stage_Run, SameInputsSameStateWhateverTheLooksDrawAndTheReplayAgrees) {
    sdk::random_seed(1);
    Run_Record first = play();
    sdk::random_seed(99);
    Run_Record second = play(nullptr, 25);
    ASSERT_EQ(first.hashes.size(), second.hashes.size());
    for (size_t i = 0; i < first.hashes.size(); ++i)
        ASSERT_EQ(first.hashes[i], second.hashes[i]) << "frame " << i;
    Run_Record replayed = play(&first.frames);
    ASSERT_EQ(replayed.hashes.size(), first.hashes.size());
    for (size_t i = 0; i < first.hashes.size(); ++i)
        ASSERT_EQ(replayed.hashes[i], first.hashes[i]) << "frame " << i;
    EXPECT_EQ(stage_clear, 1);
}

TEST_F(Stage_Run, AReplayRightAfterItsGameAgreesWithIt) {
    // Nothing the recorded run leaves in the player (shot and wind clocks,
    // gauge-item meters) may reach the replay that follows it.
    Run_Record first = play();
    // Dying animations of the last run are left to end on their own; they
    // only show, so they are not what this compares.
    enemy_lists.dead.clear();
    Run_Record replayed = play(&first.frames, 0, false);
    ASSERT_EQ(replayed.hashes.size(), first.hashes.size());
    for (size_t i = 0; i < first.hashes.size(); ++i)
        ASSERT_EQ(replayed.hashes[i], first.hashes[i]) << "frame " << i;
}

}  // namespace
