#include "app/field_draw.h"

#include "app/item_draw.h"
#include "render/player_draw.h"
#include "render/stage_draw.h"

void draw_field_objects(sdk::Canvas& canvas) {
    draw_player_bomb_and_wind(canvas);
    draw_dead_enemies(canvas);
    draw_enemies(canvas);
    draw_bullets(canvas, 0);
    draw_player(canvas);
    draw_effects(canvas);
    draw_items(canvas);
    draw_bullets(canvas, 1);
}
