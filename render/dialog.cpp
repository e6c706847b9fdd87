// Loading of the scenes and the dialog's state machine. Drawing is in
// dialog_draw.cpp.
#include "render/dialog.h"

#include <iterator>
#include <utility>

#include "render/sprite_cache.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/string_help.h"
#include "world/run_flags.h"

Dialog dialog;

namespace {

struct Action_Name {
    const char* name;
    int32_t kind;
};

const Action_Name action_names[] = {
    {"new_line", dialog_new_line},
    {"line2", dialog_line2},
    {"line3", dialog_line3},
    {"wait", dialog_wait},
    {"feed_char_left", dialog_feed_char_left},
    {"feed_char_right", dialog_feed_char_right},
    {"show_pic", dialog_show_pic},
    {"hide_pic", dialog_hide_pic},
    {"set_char_face", dialog_set_char_face},
    {"level_end", dialog_level_end},
};

struct Character {
    const char* name;
    const char* sprite;
    bool left;  // may be fed in from the left
};

const Character characters[] = {
    {"kio", "char_sprite_kio1", true},
    {"rimea", "char_sprite_rimea1", false},
};

const Character* find_character(const std::string& name) {
    for (const Character& c : characters)
        if (name == c.name) return &c;
    return nullptr;
}

// The actions of one scene element; names outside the ten are skipped with
// a log line naming the file and the scene.
std::vector<Dialog_Action> read_actions(const sdk::Resource_Document& doc,
                                        const std::string& scene) {
    std::vector<Dialog_Action> actions;
    for (const sdk::Dom_Element& e : doc.get_resource(scene).element.children("action")) {
        std::string name = e.get_attribute("name");
        const Action_Name* found = nullptr;
        for (const Action_Name& a : action_names)
            if (name == a.name) found = &a;
        if (!found) {
            sdk::log_event("Debug", "%1: dialog '%2': skipping unknown action '%3'", doc.get_name(),
                           scene, name);
            continue;
        }
        Dialog_Action action;
        action.kind = found->kind;
        action.text = e.get_text();
        if (action.kind == dialog_set_char_face) {
            action.text = e.get_attribute("char");
            action.value = sdk::text_to_int(e.get_text());
        }
        actions.push_back(std::move(action));
    }
    return actions;
}

}  // namespace

void Dialog::init(sdk::Font* font0, sdk::Font* font1, sdk::File_System fs, float opening_time,
                  float appear_time) {
    init(font0, font1, sdk::Resource_Document(std::move(fs), "text.xml"), opening_time,
         appear_time);
}

void Dialog::init(sdk::Font* font0, sdk::Font* font1, sdk::Resource_Document document,
                  float opening_time, float appear_time) {
    document_ = std::move(document);
    font0_ = font0;
    font1_ = font1;
    opening_time_ = opening_time;
    appear_time_ = appear_time;
    left_x_ = 0.0f;
    right_x_ = 220.0f;
    portrait_y_ = 120.0f;
    slide_dx_ = 228.0f;
    slide_dy_ = 440.0f;
    frame_ = require_sprite("dialog_frame", "the dialog box");

    // Every portrait a scene names must be cached, so that a content error
    // shows at start-up and not as a blank in the middle of a stage. A
    // picture the cache lacks is only left out when its scene plays.
    for (const std::string& scene : document_.get_resource_names()) {
        for (const Dialog_Action& a : read_actions(document_, scene)) {
            std::string user = sdk::string_format("dialog '%1' of %2", scene, document_.get_name());
            if (a.kind == dialog_feed_char_left || a.kind == dialog_feed_char_right ||
                a.kind == dialog_set_char_face) {
                if (const Character* c = find_character(a.text)) require_sprite(c->sprite, user);
            }
        }
    }
}

void Dialog::start(const std::string& name) {
    if (document_.is_null() || !document_.resource_exists(name)) {
        dialog_active = 0;
        return;
    }
    state_ = dialog_opening;
    clock_ = 0.0f;
    left_shown_ = right_shown_ = picture_shown_ = 0;
    action_index_ = 0;
    scene_ = name;
    actions_ = read_actions(document_, name);
    for (std::string& line : lines_) line.clear();
}

sdk::Sprite* Dialog::portrait_of(const std::string& character) const {
    const Character* c = find_character(character);
    return c ? get_sprite(c->sprite) : nullptr;
}

void Dialog::run_action() {
    const Dialog_Action& a = actions_[action_index_];
    switch (a.kind) {
        case dialog_new_line:
            lines_[0] = a.text;
            lines_[1].clear();
            lines_[2].clear();
            break;
        case dialog_line2:
            lines_[1] = a.text;
            break;
        case dialog_line3:
            lines_[2] = a.text;
            break;
        case dialog_wait:
            wait_countdown_ = 10000.0;
            state_ = dialog_waiting;
            break;
        case dialog_feed_char_left:
            if (const Character* c = find_character(a.text); c && c->left) {
                left_shown_ = 1;
                left_portrait_ = get_sprite(c->sprite);
                step_clock_ = clock_;
                state_ = dialog_left_sliding;
            }
            break;
        case dialog_feed_char_right:
            if (const Character* c = find_character(a.text)) {
                right_shown_ = 1;
                right_portrait_ = get_sprite(c->sprite);
                step_clock_ = clock_;
                state_ = dialog_right_sliding;
            }
            break;
        case dialog_show_pic:
            picture_ = get_sprite(a.text);
            picture_shown_ = 1;
            if (!picture_)
                sdk::log_event("Debug",
                               "%1: dialog '%2': show_pic names '%3', which no cached "
                               "sprite has; no picture is drawn",
                               document_.get_name(), scene_, a.text);
            break;
        case dialog_hide_pic:
            picture_shown_ = 0;
            break;
        case dialog_set_char_face:
            if (sdk::Sprite* s = portrait_of(a.text)) s->set_frame(a.value);
            break;
        default:
            break;
    }
    ++action_index_;
}

void Dialog::update(int advance, float dt) {
    clock_ += dt;
    if (state_ == dialog_opening) {
        if (clock_ <= opening_time_) return;
        state_ = dialog_running;
    }
    if (state_ == dialog_running) {
        if (action_index_ >= actions_.size()) {
            state_ = dialog_closing;
            step_clock_ = clock_;
            return;
        }
        if (actions_[action_index_].kind == dialog_level_end) {
            // Repeated on every later update until the shell leaves the stage.
            stage_clear = 1;
            return;
        }
        run_action();
    }
    switch (state_) {
        case dialog_waiting:
            wait_countdown_ -= dt;
            if (wait_countdown_ < 0.0) state_ = dialog_running;
            if (advance != 0) state_ = dialog_running;
            break;
        case dialog_left_sliding:
        case dialog_right_sliding:
            if (clock_ > step_clock_ + appear_time_) state_ = dialog_running;
            break;
        case dialog_closing:
            if (clock_ - step_clock_ > appear_time_) dialog_active = 0;
            break;
        default:
            break;
    }
}
