// Play-field geometry, in logical pixels of the 640 x 480 picture, y downwards.
// `screen_size`, `play_field` and `field_bounds` are fixed at start-up and read
// by all movement code; the display values change with every display
// re-creation and window resize and are written by the shell only.
// Rectangles hold left and top inside, right and bottom outside.
#pragma once

#include "sdk/core/math.h"

inline sdk::Size screen_size{640, 480};
// Where the stage is played and drawn.
inline sdk::Rectf play_field{32, 16, 416, 464};
// Moving objects that leave this rectangle die.
inline sdk::Rectf field_bounds{-20, -30, 466, 480};

// Display state: scale of the logical picture in the window, the offset of
// the picture's top-left corner (letterbox bars in full screen), the play
// field in window pixels (the clip rectangle of every stage draw) and the
// whole picture's rectangle in window pixels.
inline float display_scale = 1.0f;
inline sdk::Pointf letterbox_offset{0, 0};
inline sdk::Rect screen_field{32, 16, 416, 464};
inline sdk::Rect clip_rect{0, 0, 640, 480};
