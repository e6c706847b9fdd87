#include "app/display_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "world/geometry.h"

sdk::Rect scaled_play_field(float s, sdk::Pointf o) {
    // Clip rectangles are whole pixels: each edge rounded half up.
    auto px = [](float v) { return static_cast<int>(std::floor(v + 0.5f)); };
    return {px(play_field.left * s + o.x), px(play_field.top * s + o.y),
            px(play_field.right * s + o.x), px(play_field.bottom * s + o.y)};
}

Display_Mapping map_display(bool full_screen, sdk::Size area) {
    Display_Mapping m;
    float w = static_cast<float>(area.width), h = static_cast<float>(area.height);
    float lw = static_cast<float>(screen_size.width), lh = static_cast<float>(screen_size.height);
    if (!full_screen) {
        // The resize rule makes a windowed area 4:3, and then this is the
        // scale by the width with no offset. A window that the window system
        // holds at another size (maximised, say) shows the whole picture in
        // the middle, with bars of whole pixels.
        int64_t aw = area.width, ah = area.height;
        int64_t lw_i = screen_size.width, lh_i = screen_size.height;
        if (aw * lh_i <= ah * lw_i) {  // as wide as 4:3, or taller
            m.scale = w / lw;
            m.offset = {0.0f, static_cast<float>((ah - aw * lh_i / lw_i) / 2)};
        } else {
            m.scale = h / lh;
            m.offset = {static_cast<float>((aw - ah * lw_i / lh_i) / 2), 0.0f};
        }
    } else if (lh / lw > h / w) {
        m.scale = h / lh;
        m.offset = {(w - m.scale * lw) * 0.5f, 0.0f};
    } else {
        m.scale = w / lw;
        m.offset = {0.0f, (h - m.scale * lh) * 0.5f};
    }
    m.screen_field = scaled_play_field(m.scale, m.offset);
    return m;
}

sdk::Size resized_window_size(sdk::Size r) {
    if (r.width < 800 || r.height < 600)
        return {static_cast<int>(static_cast<float>(screen_size.width) + 0.5f),
                static_cast<int>(static_cast<float>(screen_size.height) + 0.5f)};
    float ratio = static_cast<float>(r.height) / static_cast<float>(r.width);
    if (ratio != 0.75f) {
        if (0.75f <= ratio)
            r.height = r.width * 3 / 4;
        else
            r.width = r.height * 4 / 3;
    }
    return r;
}

sdk::Size fitted_window_size(sdk::Size wanted, sdk::Size usable) {
    if (usable.width <= 0 || usable.height <= 0) return wanted;
    if (wanted.width <= usable.width && wanted.height <= usable.height) return wanted;
    return resized_window_size(
        {std::min(wanted.width, usable.width), std::min(wanted.height, usable.height)});
}
