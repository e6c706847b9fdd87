// The display of the Application: the window's mode, the mapping of the
// logical picture onto it, the resize rule, the letterbox bars and the
// capture of a frame into the 640 x 480 picture.
#include "app/application.h"
#include "app/config_file.h"
#include "app/display_rules.h"
#include "sdk/core/clock.h"
#include "sdk/core/log.h"
#include "world/geometry.h"
#include "world/settings.h"

namespace {

sdk::Transform picture_transform() {
    return sdk::Transform::translate(letterbox_offset.x, letterbox_offset.y) *
           sdk::Transform::scale(display_scale, display_scale);
}

}  // namespace

void Application::compute_scale() {
    canvas = window_canvas;
    if (window.is_visible()) map_picture();
}

void Application::map_picture() {
    // What the window really has, not what was asked of it: a system may
    // refuse a size, give another or give it later.
    window_size = window.get_size();
    Display_Mapping m = map_display(fullscreen != 0, window_size);
    display_scale = m.scale;
    letterbox_offset = m.offset;
    screen_field = m.screen_field;
    clip_rect = {0, 0, window_size.width, window_size.height};
    window_canvas.set_transform(picture_transform());
}

void Application::create_display() {
    if (!fullscreen) {
        config_window_size = fitted_window_size(config_window_size, window.usable_display_size());
        window_size = config_window_size;
        window_description.fullscreen = false;
        window_description.decorations = true;
        window_description.size = window_size;
    } else {
        // The windowed size is kept for the way back. It is the last one the
        // resize rule made, not the size the window has when a window
        // manager holds it at one of its own (a tile, or maximised).
        window_description.fullscreen = true;
        window_description.decorations = false;
    }
    window_description.resizable = !fullscreen;
    window_description.visible = true;
    window.apply(window_description);
    if (!fullscreen) {
        // The window manager's frame is known once it has framed the shown
        // window, and needs room on the display too.
        sdk::Size fitted = fitted_window_size(config_window_size, window.usable_display_size());
        if (fitted != config_window_size) {
            config_window_size = window_description.size = fitted;
            window.set_size(fitted.width, fitted.height, true);
        }
    }
    connect_input();
    compute_scale();
    sdk::log_event("Debug", "Scale = %1, screen size: %2, %3", std::to_string(display_scale),
                   window_size.width, window_size.height);
    if (fullscreen)
        window.hide_cursor();
    else
        window.show_cursor();
    save_config();
}

void Application::on_resized() {
    counters.count_resize = 0;
    compute_scale();
    // In full screen, and while the window goes between the modes, its size
    // is no windowed size: F11 must find the one from before on the way back.
    if (fullscreen || window.is_changing_mode()) {
        resize_rule_due = 0;
        return;
    }
    // A window manager takes a window through sizes and frames of its own
    // on the way to the one it gives (un-maximised, openbox frames it again
    // at the maximised size first); the rule waits until the window has
    // held its size and frame for a moment, and the picture is fitted into
    // each meanwhile.
    resize_rule_due = sdk::get_time() + resize_settle_ms;
}

void Application::apply_resize_rule() {
    resize_rule_due = 0;
    if (fullscreen || window.is_changing_mode()) return;
    // The rule works on the size the window has now, not on the one a
    // report carried: a report may belong to a change that is already over.
    sdk::Size now = window.get_size();
    sdk::Size asked = window.get_description().size;
    // The size the game asked for is the rule's own result, which applied
    // again would drift (933 x 700 to 932 x 699); it is only fitted to the
    // room that the frame, known now, leaves on the display. Any other size
    // comes from the player or the window manager and goes through the rule.
    bool ours = now == asked;
    sdk::Size wanted = ours ? now : resized_window_size(now);
    // The fit takes the usable area of every display the window is on.
    sdk::Size fitted = fitted_window_size(wanted, window.usable_display_size());
    // A window manager that holds the window at a size of its own (a tile,
    // maximised) refuses it, and the picture is fitted into what it holds.
    if (fitted != now) window.set_size(fitted.width, fitted.height, ours);
    window_description.size = fitted;
    compute_scale();
    if (fitted != config_window_size) {
        config_window_size = fitted;
        save_config();
    }
}

void Application::draw_letterbox() {
    // The bars are filled in window pixels: everything outside the picture.
    const sdk::Colorf black(0, 0, 0, 1);
    float w = static_cast<float>(window_size.width), h = static_cast<float>(window_size.height);
    float pw = display_scale * static_cast<float>(screen_size.width);
    float ph = display_scale * static_cast<float>(screen_size.height);
    canvas.push_modelview();
    canvas.set_transform(sdk::Transform{});
    if (letterbox_offset.x != 0.0f) {
        canvas.fill_rect({0, 0, letterbox_offset.x, h}, black);
        canvas.fill_rect({letterbox_offset.x + pw, 0, w, h}, black);
    }
    if (letterbox_offset.y != 0.0f) {
        canvas.fill_rect({0, 0, w, letterbox_offset.y}, black);
        canvas.fill_rect({0, letterbox_offset.y + ph, w, h}, black);
    }
    canvas.pop_modelview();
}

void Application::begin_capture() {
    capturing = true;
    canvas = capture_canvas;
    canvas.set_transform(sdk::Transform{});
    screen_field = {static_cast<int>(play_field.left), static_cast<int>(play_field.top),
                    static_cast<int>(play_field.right), static_cast<int>(play_field.bottom)};
}

void Application::end_capture() {
    if (capturing) capture_canvas.flush();
    capturing = false;
    canvas = window_canvas;
    canvas.set_transform(picture_transform());
    screen_field = scaled_play_field(display_scale, letterbox_offset);
    capture_image.draw(canvas, sdk::Rectf(0, 0, 640, 480));
}
