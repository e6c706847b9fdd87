// Drawing of the dialog scene: the picture, the portraits sliding in and
// out, the text box opening and closing, and the three lines with a shadow.
#include <algorithm>

#include "render/dialog.h"
#include "sdk/canvas.h"
#include "sdk/font.h"
#include "sdk/sprite.h"
#include "world/geometry.h"
#include "world/settings.h"

namespace {

const sdk::Colorf light_yellow(1.0f, 1.0f, 224.0f / 255.0f, 1.0f);

void draw_at(sdk::Canvas& canvas, sdk::Sprite* s, float x, float y) {
    if (!s) return;
    s->set_alignment(sdk::Origin::top_left, 0.0f, 0.0f);
    s->set_alpha(1.0f);
    s->set_scale(1.0f, 1.0f);
    s->draw(canvas, x, y);
}

// Times of 0 from the options would divide by zero: the motion is then done.
float fraction(float part, float whole) { return whole > 0.0f ? part / whole : 1.0f; }

}  // namespace

void Dialog::draw_portraits(sdk::Canvas& canvas) {
    float t = fraction(clock_ - step_clock_, appear_time_);
    sdk::Sprite* left = left_shown_ ? left_portrait_ : nullptr;
    sdk::Sprite* right = right_shown_ ? right_portrait_ : nullptr;
    switch (state_) {
        case dialog_running:
        case dialog_waiting:
            draw_at(canvas, left, left_x_, portrait_y_);
            draw_at(canvas, right, right_x_, portrait_y_);
            break;
        case dialog_left_sliding:
            draw_at(canvas, right, right_x_, portrait_y_);
            draw_at(canvas, left, slide_dx_ * t - slide_dx_,
                    portrait_y_ + slide_dy_ - slide_dy_ * t);
            break;
        case dialog_right_sliding:
            draw_at(canvas, left, left_x_, portrait_y_);
            draw_at(canvas, right, right_x_ + slide_dx_ - slide_dx_ * t,
                    portrait_y_ + slide_dy_ - slide_dy_ * t);
            break;
        case dialog_closing:
            draw_at(canvas, left, left_x_ - slide_dx_ * t, portrait_y_ + slide_dy_ * t);
            draw_at(canvas, right, right_x_ + slide_dx_ * t, portrait_y_ + slide_dy_ * t);
            break;
        default:
            break;
    }
}

void Dialog::draw_text(sdk::Canvas& canvas, float alpha) {
    const sdk::Font* font = language == 0 ? font0_ : font1_;
    const float* ys = language == 0 ? line_y_font0_ : line_y_font1_;
    if (!font) return;
    sdk::Colorf shadow(0.0f, 0.0f, 0.0f, alpha);
    sdk::Colorf text(light_yellow.r, light_yellow.g, light_yellow.b, alpha);
    for (int i = 0; i < 3; ++i)
        font->draw_text(canvas, text_x_ + 1.0f, ys[i] + 1.0f, lines_[i], shadow);
    for (int i = 0; i < 3; ++i) font->draw_text(canvas, text_x_, ys[i], lines_[i], text);
    // A second pass half a pixel higher thickens the strokes.
    if (state_ != dialog_closing)
        for (int i = 0; i < 3; ++i) font->draw_text(canvas, text_x_, ys[i] - 0.5f, lines_[i], text);
}

void Dialog::draw(sdk::Canvas& canvas) {
    canvas.push_cliprect(screen_field);
    if (picture_shown_ == 1 && picture_ && !picture_->is_null()) {
        picture_->set_alignment(sdk::Origin::center, 0.0f, 0.0f);
        picture_->set_alpha(1.0f);
        picture_->set_scale(1.0f, 1.0f);
        picture_->draw(canvas, 224.0f, 200.0f);
    }
    draw_portraits(canvas);

    if (frame_) {
        frame_->set_alignment(sdk::Origin::top_left, 0.0f, 0.0f);
        if (state_ == dialog_opening) {
            // The box widens from the middle in the first half of the opening
            // and grows to full height over all of it.
            float s = std::min(2.0f * fraction(clock_, opening_time_), 1.0f);
            float h = std::min(fraction(clock_, opening_time_), 1.0f);
            frame_->set_alpha(s);
            frame_->set_scale(s, h);
            frame_->draw(canvas, 224.0f - 180.0f * s, 355.0f);
        } else {
            float a = state_ == dialog_closing
                          ? fraction(step_clock_ + appear_time_ - clock_, appear_time_)
                          : 1.0f;
            frame_->set_alpha(a);
            frame_->set_scale(1.0f, 1.0f);
            frame_->draw(canvas, 44.0f, 355.0f);
            frame_->set_alpha(1.0f);
            draw_text(canvas, a);
        }
    }
    canvas.pop_cliprect();
}
