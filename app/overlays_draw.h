// The texts of the pause screen and of the stage results. They are drawn
// straight over whatever lies under them (the captured picture of the run,
// or the results' dimmed field): white, or grey for the entries that are not
// highlighted; nothing dark is laid around the letters. Logical units of the
// 640 x 480 picture; text positions are the font's baseline.
#pragma once

#include "app/title_menus.h"
#include "sdk/canvas.h"
#include "sdk/font.h"

// "GAME PAUSED" and its three entries, or the open confirmation's question
// (also on the frame on which the title was confirmed) with "Yes" and "No";
// each centred on the play field's centre.
void draw_pause_texts(sdk::Canvas& canvas, const sdk::Font& font, const Menu_State& menu);
// The results' breakdown of the bonus and the scores, read from the player.
void draw_results_texts(sdk::Canvas& canvas, const sdk::Font& font, const Menu_State& menu);
