// The rules of the title screens (language choice 2, main menu 5, the
// cross-fade 6 into the options 7, the key configuration 9) and of the
// overlays of a run (pause 1001, stage results 1500): what each counter does
// in each screen, the cursor and blink timers, the settings they change and
// the transitions. Drawing is the Application's (title_menus_draw.cpp,
// overlays_draw.cpp); it reads `Menu_State`. Times in ms.
//
// Timers: a cursor move animates 100 ms (`slide_timer` runs from 1 until it
// exceeds 100), a chosen entry blinks 500 ms (`action_timer`). While either
// runs only it advances; presses stay counted and are handled afterwards.
#pragma once

#include <cstdint>

#include "app/input_counters.h"
#include "app/shell_services.h"

struct Menu_State {
    int32_t cursor = 0;
    int32_t slide_timer = 0;
    int32_t action_timer = 0;
    int32_t action_due = 0;
    // The main menu was entered from the language choice: the mask fades out.
    int32_t mask_fade = 0;
    // The options' window mode (1 full screen), applied when they are left.
    int32_t pending_window_mode = 1;
    // Pause screen: the entry a confirmation is for, and whether it is open.
    int32_t choice = 0;
    int32_t confirm = 0;
    // The title was confirmed on this frame: its question stays drawn.
    int32_t title_chosen = 0;
    // Alpha of the "mm_background" sprite.
    float backdrop_alpha = 1.0f;
    // The results screen's score before the bonus, and the blown ratio.
    uint32_t previous_score = 0;
    float blown_ratio = 0.0f;
};

// The screens' shared context: the counters they consume and what they ask
// of the program.
struct Screen_Context {
    Menu_State& menu;
    Input_Counters& in;
    Shell_Services& services;
};

void run_language_logic(Screen_Context& c, float dt);
// Main menu: input and timers before the draw, and the due action after it.
void run_main_menu_logic(Screen_Context& c, float dt);
void finish_main_menu_action(Screen_Context& c);
void run_options_fade_logic(Screen_Context& c, float dt);
void run_options_logic(Screen_Context& c, float dt);
void run_key_config_logic(Screen_Context& c, float dt);
// Gives the holder of `pressed` (shoot, focus, pause, spare, special; the
// first found) the button `old` of the action being rebound.
void rebind_button(int32_t pressed, int32_t old);

// The pause screen's menu (when `pause_requested`) and the passage of a game
// over to the main menu.
void run_pause_logic(Screen_Context& c, float dt);
// Results: the bonus on the first frame, then OK, cancel or Esc leave.
void run_results_logic(Screen_Context& c, float dt);
