#include "app/item_draw.h"

#include "render/sprite_cache.h"
#include "sdk/sprite.h"
#include "world/geometry.h"
#include "world/item_pool.h"

namespace {

sdk::Sprite* item_sprite = nullptr;
constexpr uint8_t small_score_item = 16;

// The sprite's own placement, as its resource gives it: the markers are drawn
// with it, whatever the centred items drawn before them left in the shared
// sprite.
struct Placement {
    sdk::Origin origin = sdk::Origin::top_left;
    sdk::Vec2f offset;
    sdk::Angle angle;
};
Placement own_placement;

}  // namespace

void init_item_drawing() {
    item_sprite = require_sprite("bonuses", "the items");
    own_placement = {item_sprite->get_alignment(), item_sprite->get_alignment_offset(),
                     item_sprite->get_angle()};
}

void draw_items(sdk::Canvas& canvas) {
    if (!item_sprite) return;
    sdk::Sprite& s = *item_sprite;
    for (const Item& item : item_pool) {
        if (play_field.top > item.y + 16.0f && item.kind != small_score_item) {
            s.set_frame(item.kind + 8);
            s.set_alpha(0.5f);
            s.set_alignment(own_placement.origin, own_placement.offset.x, own_placement.offset.y);
            s.set_angle(own_placement.angle);
            s.draw(canvas, item.x - 8.0f, play_field.top);
            continue;
        }
        s.set_frame(item.kind);
        s.set_alpha(1.0f);
        s.set_alignment(sdk::Origin::center);
        s.set_angle(item.speed < -0.1f ? sdk::Angle::from_degrees(item.age) : sdk::Angle());
        s.draw(canvas, item.x, item.y);
    }
}
