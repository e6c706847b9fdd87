// The player's drawing, in two calls of the game frame: the bomb's screen
// mask and gusts and the wind's circle right after the backgrounds (under
// every enemy and bullet), and the character itself, its focus marker, the
// wind gauge's number and its death explosion after the bullets of layer 0.
// Both clip to the play field in window pixels (`screen_field`) while they
// draw. Positions logical pixels, times ms.
#pragma once

namespace sdk {
class Canvas;
}

void draw_player(sdk::Canvas& canvas);
// Also blows the stage background's leaves while the bomb or the wind runs.
void draw_player_bomb_and_wind(sdk::Canvas& canvas);
