// Drawing the items of the item pool with the cached sprite "bonuses": an
// item above the play field shows as a half-transparent marker (frame kind
// + 8) at (x - 8, the field's top edge), placed by the sprite's own
// alignment, except the small score item; every other item is drawn centred
// at its position, spinning while it rises. The caller clips to the play
// field.
#pragma once

namespace sdk {
class Canvas;
class Sprite;
}  // namespace sdk

// Takes the sprite at start-up; a missing one stops start-up naming it.
void init_item_drawing();
void draw_items(sdk::Canvas& canvas);
