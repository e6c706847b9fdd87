#include "app/input_counters.h"

#include "world/settings.h"

namespace {

// Which counter each menu key feeds, per screen state.
struct Key_Row {
    int32_t state;
    bool ok, up, down, left, right;
    enum { none, escape, cancel } esc, x;
};

constexpr Key_Row key_rows[] = {
    // state  ok    up     down   left   right  Esc               X
    {2, true, true, true, false, false, Key_Row::none, Key_Row::none},
    {5, true, true, true, false, false, Key_Row::escape, Key_Row::escape},
    {7, true, true, true, true, true, Key_Row::escape, Key_Row::escape},
    {9, true, true, true, true, true, Key_Row::escape, Key_Row::escape},
    {200, true, false, false, false, false, Key_Row::escape, Key_Row::none},
    {300, true, false, false, false, false, Key_Row::escape, Key_Row::none},
    {1001, true, true, true, true, true, Key_Row::escape, Key_Row::cancel},
    {1500, true, false, false, false, false, Key_Row::escape, Key_Row::cancel},
};

const Key_Row* row_of(int32_t state) {
    for (const Key_Row& r : key_rows)
        if (r.state == state) return &r;
    return nullptr;
}

bool stick_states(int32_t state) {
    return state == 2 || state == 5 || state == 7 || state == 9 || state == 1001;
}

}  // namespace

void Input_Counters::on_key_down(int32_t state, int key, bool repeat) {
    namespace k = shell_keys;
    if (repeat && (key == k::f11 || key == k::home)) return;
    if (key == k::f11) ++count_fullscreen;
    if (key == k::home) ++count_screenshot;
    const Key_Row* r = row_of(state);
    if (!r) return;
    auto feed = [this](int kind) {
        if (kind == Key_Row::escape) ++count_escape;
        if (kind == Key_Row::cancel) ++count_cancel;
    };
    if ((key == k::z || key == k::enter) && r->ok) ++count_ok;
    if (key == k::up && r->up) ++count_up;
    if (key == k::down && r->down) ++count_down;
    if (key == k::left && r->left) ++count_left;
    if (key == k::right && r->right) ++count_right;
    if (key == k::escape) feed(r->esc);
    if (key == k::x) feed(r->x);
}

void Input_Counters::on_joystick_button(int32_t state, int b) {
    // Each setting that names the button counts, so two settings on one
    // button count twice.
    switch (state) {
        case 2:
        case 5:
        case 7:
            if (b == button_shoot) ++count_ok;
            if (b == button_bomb) ++count_escape;
            break;
        case 9:
            if (b == button_shoot) ++count_ok;
            if (b == button_bomb) ++count_escape;
            pressed_button = b + 1;
            break;
        case 200:
            if (b == button_shoot) ++count_ok;
            if (b == button_pause) ++count_escape;
            break;
        case 1001:
        case 1500:
            if (b == button_shoot) ++count_ok;
            if (b == button_bomb) ++count_cancel;
            if (b == button_pause) ++count_escape;
            break;
        default:
            break;
    }
}

void Input_Counters::on_stick(int32_t state, float x, float y, float now) {
    if (!stick_states(state)) return;
    bool may_count = last_stick_move + 200.0f <= now;
    // Each axis counts once on entering a zone; a value equal to the dead
    // zone is neutral.
    auto axis = [&](float v, int32_t& st, int32_t& minus, int32_t& plus) {
        if (v < -dead_zone) {
            if (st != -1 && may_count) {
                ++minus;
                last_stick_move = now;
            }
            st = -1;
        } else if (v > dead_zone) {
            if (st != 1 && may_count) {
                ++plus;
                last_stick_move = now;
            }
            st = 1;
        } else {
            st = 0;
        }
    };
    axis(x, stick_x, count_left, count_right);
    axis(y, stick_y, count_up, count_down);
}

void Input_Counters::on_hat(int32_t state, float value) {
    if (!stick_states(state)) return;
    if (value == last_hat) return;
    last_hat = value;
    if (value == 0.0f)
        ++count_up;
    else if (value == 9000.0f)
        ++count_right;
    else if (value == 18000.0f)
        ++count_down;
    else if (value == 27000.0f)
        ++count_left;
}
