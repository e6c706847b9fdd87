// Dialog scenes: the characters' talk during a stage and around the boss
// fight. A scene is a short script of actions from "text.xml" (set a text
// line, wait for the player, slide a portrait in, change a face, show a
// picture, end the level). The one `dialog` plays one scene at a time: the
// stage or the boss starts it by name (with the language suffix "_rus" or
// "_jap" already added), the game frame advances and draws it while the run
// flag `dialog_active` is set, and the scene clears that flag once it has
// closed. Times are milliseconds; positions logical screen pixels.
//
//   <resources>
//     <dialog name="intro_rus">
//       <action name="feed_char_left">kio</action>
//       <action name="new_line">Who goes there?</action>
//       <action name="set_char_face" char="kio">2</action>
//       <action name="wait"/>
//     </dialog>
//   </resources>
//
// The sprites come from the sprite cache and the fonts belong to the shell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"

namespace sdk {
class Canvas;
class Font;
class Sprite;
}  // namespace sdk

enum Dialog_Action_Kind : int32_t {
    dialog_new_line = 0,
    dialog_line2 = 1,
    dialog_line3 = 2,
    dialog_wait = 5,
    dialog_feed_char_left = 10,
    dialog_feed_char_right = 11,
    dialog_show_pic = 20,
    dialog_hide_pic = 21,
    dialog_set_char_face = 100,
    dialog_level_end = 150,
};

struct Dialog_Action {
    int32_t kind = dialog_new_line;
    int32_t value = 0;  // set_char_face: the frame
    std::string text;   // a line, a character or a sprite name
};

enum Dialog_State : int32_t {
    dialog_opening = 0,
    dialog_running = 1,
    dialog_waiting = 5,
    dialog_left_sliding = 10,
    dialog_right_sliding = 11,
    dialog_closing = 999,
};

class Dialog {
public:
    // Opens "text.xml" of `fs`, takes the frame sprite "dialog_frame" from the
    // sprite cache and checks that every portrait the scenes name is cached:
    // a missing one stops start-up with an sdk::Exception naming the scene
    // and the sprite. A show_pic naming a sprite the cache lacks shows no
    // picture, with one log line when it runs. `opening_time` and
    // `appear_time` are the options "dialog_starting_time" and
    // "dialog_char_appear_time".
    void init(sdk::Font* font0, sdk::Font* font1, sdk::File_System fs, float opening_time,
              float appear_time);
    // The same from a document in hand (tests).
    void init(sdk::Font* font0, sdk::Font* font1, sdk::Resource_Document document,
              float opening_time, float appear_time);

    // Restarts with the scene `name`; a scene that "text.xml" lacks ends the
    // dialog at once (dialog_active 0). The caller has set dialog_active.
    void start(const std::string& name);
    // One game frame: `advance` is non-zero when the player pressed the
    // advance key since the last frame; only a wait can be cut short by it.
    void update(int advance, float dt);
    void draw(sdk::Canvas& canvas);

    int32_t get_state() const { return state_; }
    float get_clock() const { return clock_; }
    uint32_t get_action_index() const { return action_index_; }
    const std::string& get_line(int i) const { return lines_[i]; }
    bool left_shown() const { return left_shown_ != 0; }
    bool right_shown() const { return right_shown_ != 0; }
    bool picture_shown() const { return picture_shown_ != 0; }
    const std::vector<Dialog_Action>& get_actions() const { return actions_; }

private:
    void run_action();
    sdk::Sprite* portrait_of(const std::string& character) const;
    void draw_portraits(sdk::Canvas& canvas);
    void draw_text(sdk::Canvas& canvas, float alpha);

    float clock_ = 0.0f;
    uint32_t action_index_ = 0;
    int32_t state_ = dialog_opening;
    int32_t left_shown_ = 0;
    int32_t right_shown_ = 0;
    int32_t picture_shown_ = 0;
    float step_clock_ = 0.0f;
    float opening_time_ = 1.0f;
    float appear_time_ = 1.0f;
    double wait_countdown_ = 0.0;
    float left_x_ = 0.0f;
    float right_x_ = 220.0f;
    float portrait_y_ = 120.0f;
    float slide_dx_ = 228.0f;
    float slide_dy_ = 440.0f;
    std::vector<Dialog_Action> actions_;
    std::string scene_;  // the name of the scene playing, for the log
    sdk::Resource_Document document_;
    sdk::Sprite* frame_ = nullptr;
    sdk::Sprite* left_portrait_ = nullptr;
    sdk::Sprite* right_portrait_ = nullptr;
    sdk::Sprite* picture_ = nullptr;
    std::string lines_[3];
    float line_y_font0_[3] = {383.0f, 408.0f, 433.0f};
    float line_y_font1_[3] = {385.0f, 410.0f, 435.0f};
    float text_x_ = 60.0f;
    sdk::Font* font0_ = nullptr;
    sdk::Font* font1_ = nullptr;
};

extern Dialog dialog;
