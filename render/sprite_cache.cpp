#include "render/sprite_cache.h"

#include "sdk/core/exception.h"
#include "sdk/core/string_help.h"

std::map<std::string, sdk::Sprite> sprite_cache;

void preload_sprites(sdk::Canvas& canvas, const sdk::Resource_Manager& resources) {
    const sdk::Resource_Document& doc = resources.get_doc();
    for (const std::string& name : doc.get_resource_names_of_type("sprite"))
        sprite_cache[name] = sdk::Sprite(canvas, name, doc);
}

sdk::Sprite* get_sprite(const std::string& name) {
    auto it = sprite_cache.find(name);
    return it == sprite_cache.end() ? nullptr : &it->second;
}

sdk::Sprite* require_sprite(const std::string& name, const std::string& user) {
    if (sdk::Sprite* s = get_sprite(name)) return s;
    throw sdk::Exception(
        sdk::string_format("Sprite '%1' needed by %2 is not in sprites.xml", name, user));
}
