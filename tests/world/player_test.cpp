// The player: loading "player.xml", input, movement and the clamp, the
// shot, the wind and the bomb, live and from a replay frame.
#include "world/player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "stage_helpers.h"
#include "world/settings.h"

namespace {

using namespace stage_test;

class Player_Test : public ::testing::Test {
protected:
    void SetUp() override {
        reset_stage_globals();
        // Past the fly-in, in the middle of the field, vulnerable.
        player.life_clock = 10000;
        player.x = player.prev_x = 200;
        player.y = player.prev_y = 300;
        player.invincible = 0;
        player.wind_gain_speed = 0;
        player.right_last = player.left_last = player.up_last = player.down_last = 0;
        player.joystick_present = player.joystick_active = 0;
    }
    void TearDown() override {
        dialog_active = 0;
        spellcard_running = 0;
    }
    static void frame(const Player_Input& in, float dt = 16) { player.update(dt, in); }
    static Player_Input keys(std::initializer_list<bool Player_Input::*> held) {
        Player_Input in;
        for (auto k : held) in.*k = true;
        return in;
    }
    static size_t main_shots() {
        size_t n = 0;
        for (const auto& p : active_patterns) n += p->code == 100000001;
        return n;
    }
};

TEST_F(Player_Test, LoadReadsKeysAndLaterDuplicatesWin) {
    auto doc = document_from_text(R"(<resources><player name="p">
        <param name="spellcard_min_duration">2500</param>
        <param name="normal_speed">0.1</param>
        <param name="normal_speed">0.4</param>
        <param name="shot3_accel_time">250</param>
        <param name="invicible_time">3000.7</param>
        <param name="player_sprite"> kio </param>
      </player></resources>)",
                                  "player.xml");
    player.power = 77;
    player.load(doc, "p");
    EXPECT_FLOAT_EQ(player.normal_speed, 0.4f);
    EXPECT_FLOAT_EQ(player.shot3_accel_time, 250.0f);
    EXPECT_EQ(player.invicible_time, 3000);
    EXPECT_EQ(player.spell_gauge, 2500);
    EXPECT_EQ(player.spell_time, 2500);
    EXPECT_EQ(player.radius, 0.0f);  // no "hitbox"
    EXPECT_EQ(player.player_sprite_name, "kio");
    EXPECT_EQ(player.power, 10);
    EXPECT_EQ(player.lives, 3);
    EXPECT_EQ(player.wind_gauge, 100.0f);
    player.reset();
    EXPECT_EQ(player.power, 0);  // no "start_power"
    EXPECT_THROW(player.load(doc, "player_kio"), sdk::Exception);
}

// A negative count would fire billions of volleys; a count past the bullet
// pool could never be fired.
TEST_F(Player_Test, LoadRefusesCountsBelowZeroOrPastThePool) {
    struct Case {
        const char* param;
        const char* message;
    };
    const Case cases[] = {
        {R"(<param name="shot1_bullets">-1</param>)",
         "player.xml: player 'p': 'shot1_bullets' is -1, not a count from 0 to the ceiling 20000"},
        {R"(<param name="shot3_bullets">-6</param>)",
         "player.xml: player 'p': 'shot3_bullets' is -6, not a count from 0 to the ceiling 20000"},
        {R"(<param name="shot4_bullets">3000000000</param>)",
         "player.xml: player 'p': 'shot4_bullets' is 3000000000, not a count from 0 to the "
         "ceiling 20000"},
    };
    for (const Case& c : cases) {
        auto doc = document_from_text(
            std::string(R"(<resources><player name="p">)") + c.param + "</player></resources>",
            "player.xml");
        try {
            player.load(doc, "p");
            ADD_FAILURE() << c.param;
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST_F(Player_Test, OpposingArrowsThePressedLastWins) {
    struct Case {
        int32_t pressed_last;  // 0 none
        bool Player_Input::*a;
        bool Player_Input::*b;
        float dx, dy;
    };
    const Case cases[] = {
        {0, &Player_Input::right, &Player_Input::left, 1, 0},
        {key_left, &Player_Input::right, &Player_Input::left, -1, 0},
        {key_right, &Player_Input::right, &Player_Input::left, 1, 0},
        {0, &Player_Input::up, &Player_Input::down, 0, -1},
        {key_down, &Player_Input::up, &Player_Input::down, 0, 1},
        {key_up, &Player_Input::up, &Player_Input::down, 0, -1},
        {0, &Player_Input::right, &Player_Input::down, 0.8f, 0.8f},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.pressed_last) player.on_key_down(c.pressed_last);
        frame(keys({c.a, c.b}), 10);
        EXPECT_FLOAT_EQ(player.dir_x, c.dx) << c.pressed_last;
        EXPECT_FLOAT_EQ(player.dir_y, c.dy) << c.pressed_last;
        EXPECT_FLOAT_EQ(player.x, 200 + c.dx * player.normal_speed * 10);
        EXPECT_FLOAT_EQ(player.y, 300 + c.dy * player.normal_speed * 10);
    }
}

TEST_F(Player_Test, JoystickOverridesAndKeepsDiagonalsAtPointEight) {
    player.joystick_present = 1;
    Player_Input in = keys({&Player_Input::right, &Player_Input::up});
    in.axis_y = -1.0f;
    frame(in);
    EXPECT_FLOAT_EQ(player.dir_y, -0.8f);  // joystick not active yet
    player.on_joystick_event();
    frame(in);
    EXPECT_FLOAT_EQ(player.dir_x, 0.8f);
    EXPECT_FLOAT_EQ(player.dir_y, -0.8f);
    Player_Input hat;
    hat.hat = 22500;
    hat.buttons[button_shoot] = true;
    frame(hat);
    EXPECT_FLOAT_EQ(player.dir_x, -0.8f);
    EXPECT_FLOAT_EQ(player.dir_y, 0.8f);
    EXPECT_EQ(player.shot_key, 1);
    hat.hat = hat_centred;
    frame(hat);
    EXPECT_EQ(player.dir_x, 0.0f);
}

TEST_F(Player_Test, ClampLines) {
    struct Case {
        float x, y, want_x, want_y;
    };
    const Case cases[] = {
        {10, 300, 42, 300}, {500, 300, 406, 300}, {200, 0, 200, 40}, {200, 470, 200, 452}};
    for (Case c : cases) {
        SetUp();
        player.x = c.x;
        player.y = c.y;
        frame({}, 16);
        EXPECT_EQ(player.x, c.want_x);
        EXPECT_EQ(player.y, c.want_y);
    }
}

TEST_F(Player_Test, FocusSlowsAndFadesTheMarker) {
    Player_Input focus = keys({&Player_Input::left_shift, &Player_Input::right});
    for (int i = 0; i < 20; ++i) frame(focus, 16.7f);
    EXPECT_EQ(player.focus_fade, 320);
    EXPECT_FLOAT_EQ(player.x, 200 + 20 * 16.7f * player.focused_speed);
    frame({}, 16.7f);
    EXPECT_EQ(player.focus_fade, 184);
    for (int i = 0; i < 20; ++i) frame({}, 16.7f);
    EXPECT_EQ(player.focus_fade, 0);
}

// The whole-millisecond counters take a step no int32 holds as its nearest
// end (NaN as 0) and stop at their own ends instead of wrapping.
TEST_F(Player_Test, WholeMillisecondCountersStopAtTheirEnds) {
    struct Case {
        float dt;
        bool focused;
        int32_t fade_before, invincible_before;
        int32_t fade, invincible;
    };
    const Case cases[] = {
        {3e9f, true, 100, 3500, INT32_MAX, 0},
        {3e9f, true, INT32_MAX - 5, 0, INT32_MAX, 0},
        {std::nanf(""), true, 100, 3500, 100, 3500},
        {3e9f, false, 150, 10, 0, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        player.focus_fade = c.fade_before;
        player.invincible = c.invincible_before;
        frame(c.focused ? keys({&Player_Input::left_shift}) : Player_Input{}, c.dt);
        EXPECT_EQ(player.focus_fade, c.fade) << c.dt << " " << c.focused;
        EXPECT_EQ(player.invincible, c.invincible) << c.dt << " " << c.focused;
    }
}

TEST_F(Player_Test, HoldingShotChargesTheWind) {
    Player_Input shoot = keys({&Player_Input::z});
    player.wind_gauge = 29.9f;
    float held = 0;
    while (held + 10 < player.time_to_activate_wind) {
        frame(shoot, 10);
        held += 10;
    }
    size_t fired = main_shots();
    EXPECT_GT(fired, 0u);
    frame(shoot, 10);  // exactly the activation time: no more shots
    EXPECT_EQ(player.shot_hold, player.time_to_activate_wind);
    for (int i = 0; i < 40; ++i) frame(shoot, 10);
    EXPECT_EQ(player.wind_armed, 0);  // gauge below 30
    player.wind_gauge = 30;
    frame(shoot, 10);
    EXPECT_EQ(player.wind_armed, 1);
    clear_patterns();
    frame({}, 10);  // released: the wind blows
    EXPECT_EQ(player.wind_armed, 0);
    EXPECT_EQ(player.wind_blowing, 1);
    EXPECT_FLOAT_EQ(player.wind_size, 0.6f * player.wind_radius);
    EXPECT_FLOAT_EQ(player.wind_time_left, 0.3f * player.wind_max_blow_time - 10);
    EXPECT_EQ(player.wind_gauge, 0.0f);
    EXPECT_EQ(player.emitter->radius, player.wind_size);
    EXPECT_EQ(player.shot_hold, 0.0f);
}

TEST_F(Player_Test, FullGaugeBlowsTwiceTheRadius) {
    player.wind_armed = 1;
    player.wind_gauge = 100;
    frame({}, 10);
    EXPECT_FLOAT_EQ(player.wind_size, 2.0f * player.wind_radius);
    EXPECT_FLOAT_EQ(player.wind_time_left, player.wind_max_blow_time - 10);
    for (int i = 0; i < 200 && player.wind_blowing; ++i) frame({}, 10);
    EXPECT_EQ(player.wind_blowing, 0);
}

TEST_F(Player_Test, SpecialFiresInTheReleaseFrame) {
    player.wind_armed = 1;
    player.wind_gauge = 50;
    player.shot_clock = 1000;
    frame(keys({&Player_Input::c}), 10);
    EXPECT_EQ(player.wind_blowing, 1);
    EXPECT_EQ(main_shots(), 1u);
}

TEST_F(Player_Test, BombRunsAndMarksASpellCard) {
    for (bool replay : {false, true}) {
        SetUp();
        spellcard_running = 1;
        player.bombed_in_spellcard = 0;
        player.bombs = 2;
        if (replay) {
            Replay_Frame f;
            f.dt = 16;
            f.x = 200;
            f.y = 300;
            f.bomb = 1;
            f.shoot = 1;
            player.update_from_replay(f);
        } else {
            frame(keys({&Player_Input::x, &Player_Input::z}));
        }
        EXPECT_EQ(player.bombing, 1) << replay;
        EXPECT_EQ(player.bombs, 1);
        EXPECT_EQ(player.bombed_in_spellcard, 1);
        EXPECT_EQ(player.invincible, static_cast<int32_t>(player.bomb_duration * 1.5f));
        EXPECT_EQ(player.shot_key, 0);  // no shooting while it runs
        EXPECT_EQ(main_shots(), 0u);
        EXPECT_FLOAT_EQ(player.bomb_clock, 16.0f);
    }
    player.bombs = 0;
    player.bombing = 0;
    frame(keys({&Player_Input::x}));
    EXPECT_EQ(player.bombing, 0);
}

TEST_F(Player_Test, DialogLetsThePlayerMoveOnly) {
    dialog_active = 1;
    player.wind_gauge = 100;
    Player_Input all =
        keys({&Player_Input::z, &Player_Input::x, &Player_Input::left, &Player_Input::left_shift});
    for (int i = 0; i < 100; ++i) frame(all, 10);
    EXPECT_LT(player.x, 200.0f);
    EXPECT_EQ(player.focus, 1);
    EXPECT_EQ(player.bombing, 0);
    EXPECT_EQ(player.wind_armed, 0);
    EXPECT_EQ(main_shots(), 0u);
}

TEST_F(Player_Test, FlyInHoldsThePlayerBelowTheField) {
    player.life_clock = 0;
    player.death_timer = 0;
    frame(keys({&Player_Input::z}), 100);
    EXPECT_EQ(player.x, 224.0f);
    EXPECT_EQ(player.y, 512.0f);
    EXPECT_EQ(player.death_timer, 100.0f);
    for (int i = 0; i < 6; ++i) frame({}, 100);  // 700 ms: 200 into the rise
    EXPECT_FLOAT_EQ(player.y, 512.0f - 0.4f * 64.0f);
    for (int i = 0; i < 3; ++i) frame(keys({&Player_Input::z}), 100);  // at 1000 ms input again
    EXPECT_EQ(player.y, 452.0f);  // the first free frame clamps it into the field
    EXPECT_EQ(player.shot_key, 1);
}

TEST_F(Player_Test, ReplayFrameDrivesThePositionAndTheSameTimers) {
    Replay_Frame f;
    f.dt = 20;
    f.x = 210;
    f.y = 300;
    f.focus = 1;
    f.angle = 0.5f;
    player.update_from_replay(f);
    EXPECT_EQ(player.prev_x, 200.0f);
    EXPECT_EQ(player.x, 210.0f);
    EXPECT_FLOAT_EQ(player.dir_x, 1.0f);
    EXPECT_EQ(player.lean, 1);
    EXPECT_EQ(player.focus_fade, 20);
    EXPECT_FLOAT_EQ(player.aim_angle.to_radians(), 0.5f);
    Replay_Frame same = player.make_replay_frame(20);
    EXPECT_EQ(same.x, 210.0f);
    EXPECT_EQ(same.focus, 1);
    EXPECT_FLOAT_EQ(same.angle, 0.5f);
}

}  // namespace
