// How the 640 x 480 logical picture is mapped onto the window: the uniform
// scale, the centring offset of full screen (black bars keep 4:3), the play
// field in window pixels, and the rule that snaps a resized window back to
// 4:3. Pure arithmetic, so the rules are tested without a window.
// `window_size` is the current drawing area in pixels; the other display
// globals live in world/geometry.h.
#pragma once

#include "sdk/core/math.h"

inline sdk::Size window_size{640, 480};
inline sdk::Size play_field_size{384, 448};

struct Display_Mapping {
    float scale = 1.0f;
    sdk::Pointf offset{0, 0};
    sdk::Rect screen_field;
};

// Windowed: on a 4:3 area (as the resize rule makes it) the scale follows
// the width and there is no offset; on an area of another shape (a window
// the window system holds at a size of its own) the picture fits the shorter
// way and is centred the other way, by whole pixels. Full screen: the picture
// fits the shorter way and is centred the other way.
Display_Mapping map_display(bool full_screen, sdk::Size area);
// `play_field` times the scale, plus the offset, in whole pixels.
sdk::Rect scaled_play_field(float scale, sdk::Pointf offset);
// The windowed size after a resize to `reported`: below 800 x 600 it is
// 640 x 480; otherwise the longer side is cut back to 4:3 (integer
// arithmetic, truncated).
sdk::Size resized_window_size(sdk::Size reported);
// The windowed size to open with on a display whose usable area is `usable`:
// a size that does not fit (one kept from a larger monitor) is cut to the
// usable area and then goes through the resize rule, the largest 4:3 size
// that fits. An unknown area (0 x 0) leaves it as it is.
sdk::Size fitted_window_size(sdk::Size wanted, sdk::Size usable);
