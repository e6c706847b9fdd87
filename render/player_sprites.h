// The player's sprites, held by the presentation (the world's player keeps
// none): the character, whose frames also serve the player-bullet and
// hit-spark looks, the focus marker, the wind and its charge indicator, the
// gauge digits, and two cached sprites for the death explosion.
#pragma once

#include <string>

#include "sdk/core/resource_document.h"
#include "sdk/sprite.h"

struct Player_Sprites {
    sdk::Sprite player_sprite;
    sdk::Sprite focus_sprite;
    sdk::Sprite wind_sprite;
    // Frames 0..9 the digits, frame 10 the sign behind them.
    sdk::Sprite wind_font_sprite;
    sdk::Sprite* splash_sprite = nullptr;  // "fairy_splash" of the cache
    sdk::Sprite* flash_sprite = nullptr;   // "magic_flash" of the cache
};

extern Player_Sprites player_sprites;

// Builds the four sprites that the player loaded from "player.xml" names
// (after `Player::load`), takes the two cached ones, and sets the player's
// width and height from the character's current frame. A sprite that is
// named nowhere or missing stops start-up with an sdk::Exception naming it.
void load_player_sprites(sdk::Canvas& canvas, const sdk::Resource_Manager& resources);
