#include "app/input_counters.h"

#include <gtest/gtest.h>

#include "world/settings.h"

namespace {

namespace k = shell_keys;

// Which counters one key press raises: ok, up, down, left, right, escape, cancel.
struct Raised {
    int ok, up, down, left, right, escape, cancel;
    bool operator==(const Raised&) const = default;
};

Raised press(int32_t state, int key) {
    Input_Counters c;
    c.on_key_down(state, key);
    return {c.count_ok,    c.count_up,     c.count_down,  c.count_left,
            c.count_right, c.count_escape, c.count_cancel};
}

TEST(Input_Counters, KeyTableByScreenState) {
    struct Case {
        int32_t state;
        int key;
        Raised raised;
    };
    const Case cases[] = {
        {2, k::z, {1, 0, 0, 0, 0, 0, 0}},     {2, k::escape, {0, 0, 0, 0, 0, 0, 0}},
        {2, k::left, {0, 0, 0, 0, 0, 0, 0}},  {2, k::up, {0, 1, 0, 0, 0, 0, 0}},
        {5, k::enter, {1, 0, 0, 0, 0, 0, 0}}, {5, k::x, {0, 0, 0, 0, 0, 1, 0}},
        {5, k::right, {0, 0, 0, 0, 0, 0, 0}}, {7, k::left, {0, 0, 0, 1, 0, 0, 0}},
        {9, k::right, {0, 0, 0, 0, 1, 0, 0}}, {9, k::x, {0, 0, 0, 0, 0, 1, 0}},
        {200, k::z, {1, 0, 0, 0, 0, 0, 0}},   {200, k::up, {0, 0, 0, 0, 0, 0, 0}},
        {200, k::x, {0, 0, 0, 0, 0, 0, 0}},   {300, k::escape, {0, 0, 0, 0, 0, 1, 0}},
        {1001, k::x, {0, 0, 0, 0, 0, 0, 1}},  {1001, k::left, {0, 0, 0, 1, 0, 0, 0}},
        {1500, k::x, {0, 0, 0, 0, 0, 0, 1}},  {1500, k::down, {0, 0, 0, 0, 0, 0, 0}},
        {1, k::z, {0, 0, 0, 0, 0, 0, 0}},     {6, k::escape, {0, 0, 0, 0, 0, 0, 0}},
        {6, k::up, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(press(c.state, c.key), c.raised) << c.state << " key " << c.key;
}

TEST(Input_Counters, F11AndHomeCountEverywhere) {
    for (int32_t state : {1, 2, 5, 6, 7, 9, 200, 300, 1001, 1500}) {
        Input_Counters c;
        c.on_key_down(state, k::f11);
        c.on_key_down(state, k::f11, true);  // held: its repeats change nothing
        c.on_key_down(state, k::home);
        c.on_key_down(state, k::home, true);
        c.on_key_down(state, k::home);
        EXPECT_EQ(c.count_fullscreen, 1) << state;
        EXPECT_EQ(c.count_screenshot, 2) << state;
    }
}

TEST(Input_Counters, GamepadButtonsByState) {
    button_shoot = 1;
    button_bomb = 0;
    button_pause = 7;
    Input_Counters c;
    c.on_joystick_button(300, 1);
    c.on_joystick_button(300, 7);
    EXPECT_EQ(c.count_ok + c.count_escape, 0) << "replay playback ignores the gamepad";

    c.on_joystick_button(9, 0);
    EXPECT_EQ(c.count_escape, 1);
    EXPECT_EQ(c.pressed_button, 1) << "the key configuration captures every button";
    c.on_joystick_button(9, 12);
    EXPECT_EQ(c.pressed_button, 13);

    c.clear();
    c.on_joystick_button(1001, 0);
    c.on_joystick_button(1001, 7);
    EXPECT_EQ(c.count_cancel, 1);
    EXPECT_EQ(c.count_escape, 1);
    c.on_joystick_button(200, 0);
    EXPECT_EQ(c.count_cancel, 1) << "bomb in play is the player's, not a counter";

    c.clear();
    button_bomb = 1;  // two settings on one button: each counts
    c.on_joystick_button(5, 1);
    EXPECT_EQ(c.count_ok, 1);
    EXPECT_EQ(c.count_escape, 1);
    button_bomb = 0;
}

TEST(Input_Counters, StickCountsOnceOnEnteringAZone) {
    dead_zone = 0.5f;
    Input_Counters c;
    c.on_stick(5, 0.9f, 0.0f, 1000);
    c.on_stick(5, 0.95f, 0.0f, 1300);
    EXPECT_EQ(c.count_right, 1) << "held to one side counts once";
    c.on_stick(5, 0.0f, 0.0f, 1050);
    c.on_stick(5, 0.9f, 0.0f, 1150);
    EXPECT_EQ(c.count_right, 1) << "within 200 ms of the last counted move";
    EXPECT_EQ(c.stick_x, 1) << "the state still follows the stick";
    c.on_stick(5, 0.0f, 0.0f, 1190);
    c.on_stick(5, 0.9f, 0.0f, 1200);
    EXPECT_EQ(c.count_right, 2);
    c.on_stick(5, 0.0f, 0.5f, 2000);
    EXPECT_EQ(c.count_down, 0) << "a value equal to the dead zone is neutral";
    c.on_stick(5, 0.0f, -0.6f, 2000);
    EXPECT_EQ(c.count_up, 1);
    c.on_stick(200, -0.9f, 0.0f, 5000);
    EXPECT_EQ(c.count_left, 0) << "no stick navigation during play";
}

TEST(Input_Counters, HatCountsChanges) {
    Input_Counters c;
    for (float v : {0.0f, 0.0f, 9000.0f, 0.0f, -1.0f, 18000.0f, 27000.0f, 4500.0f})
        c.on_hat(1001, v);
    EXPECT_EQ(c.count_up, 2);
    EXPECT_EQ(c.count_right, 1);
    EXPECT_EQ(c.count_down, 1);
    EXPECT_EQ(c.count_left, 1);
}

}  // namespace

namespace {

// The pause screen clears the screens' counters every frame; Home, F11 and
// resizes still reach the main loop.
TEST(Input_Counters, ClearingKeepsTheMainLoopsCounters) {
    Input_Counters c;
    c.on_key_down(1001, shell_keys::home);
    c.on_key_down(1001, shell_keys::f11);
    c.on_key_down(1001, shell_keys::z);
    c.count_resize = 1;
    c.clear();
    EXPECT_EQ(c.count_ok, 0);
    EXPECT_EQ(c.count_screenshot, 1);
    EXPECT_EQ(c.count_fullscreen, 1);
    EXPECT_EQ(c.count_resize, 1);
}

}  // namespace
