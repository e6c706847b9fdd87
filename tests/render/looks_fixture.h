// The stage art with every look registered, the player's sprites built and
// the movement strategies entered, once per test program.
#pragma once

#include "render/appearance.h"
#include "render/player_sprites.h"
#include "render_fixture.h"
#include "world/player.h"
#include "world/registries.h"

namespace render_test {

inline void load_looks() {
    static bool loaded = false;
    if (loaded) return;
    Stage_Art& a = art();
    player.player_sprite_name = "player_kio";
    player.focus_sprite_name = "focus";
    player.wind_sprite_name = "wind";
    player.wind_font_sprite_name = "wind_font";
    load_player_sprites(canvas(), sdk::Resource_Manager(a.sprites));
    load_appearances(canvas(), sdk::Resource_Manager(a.mirel));
    register_movements(sdk::Rectf(32, 16, 416, 464));
    loaded = true;
}

}  // namespace render_test
