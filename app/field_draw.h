// The objects of the running stage over its backgrounds, in the order the
// game draws them: the player's bomb and wind, the dying enemies, the active
// ones, the player's bullets, the player, the effects, the items and, on top
// of everything, the enemy bullets. The caller clips to the play field.
#pragma once

namespace sdk {
class Canvas;
}

void draw_field_objects(sdk::Canvas& canvas);
