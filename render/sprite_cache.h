// The sprite cache: every "sprite" resource of "sprites.xml", built once at
// start-up and kept by name for the whole run, so that no sprite is made
// while a stage runs. A cached sprite is one shared object: every user gets
// the same address and the same state (frame, alpha, scale, angle, colour),
// so each user sets what it relies on right before it draws. Entries are
// never removed, so the addresses stay valid until exit.
#pragma once

#include <map>
#include <string>

#include "sdk/core/resource_document.h"
#include "sdk/sprite.h"

extern std::map<std::string, sdk::Sprite> sprite_cache;

// Builds every sprite resource of the document of `resources`, in document
// order; a name listed twice keeps the sprite built last. A resource that
// cannot be built throws the platform's exception.
void preload_sprites(sdk::Canvas& canvas, const sdk::Resource_Manager& resources);

// The cached sprite, or null when the cache has no such name. Never inserts.
sdk::Sprite* get_sprite(const std::string& name);

// For the looks, the dialog and the player, which keep the pointer and draw
// with it later: a name the cache lacks stops start-up with one message
// naming the sprite and `user`, instead of a blank drawn in mid-stage.
sdk::Sprite* require_sprite(const std::string& name, const std::string& user);
