// Stage backgrounds: a scrolling, layered picture behind the play field. Any
// number of tile-map layers scroll, wobble and fade on their own; particle
// spawners ("effects") scatter falling leaves ("happa"), drifting clouds and
// passing trees over them. Everything comes from one resource of a resource
// document; only the three particle kinds are built in.
//
// Two backgrounds live for the whole run: `stage_background` (the title's
// "background_effects", then "stage_kio" for every run; the player's bomb and
// wind push its leaves) and `spell_background` ("boss_effects", behind a boss
// fight; the boss fades its layers by name).
//
// Units: positions in canvas pixels (logical 640 x 480, y downwards), speeds
// in pixels per millisecond, times in milliseconds, spin in degrees per ms.
// A background owns the sprites it builds for its tile layers and its clouds
// and trees; the leaves draw with the sprite cache's "effects" sprite.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"

namespace sdk {
class Canvas;
class Sprite;
}  // namespace sdk

struct Background_Layer {
    int32_t width = 0;  // tiles
    int32_t height = 0;
    int32_t tile_width = 0;  // pixels, of the tile sprite's frame at load
    int32_t tile_height = 0;
    int32_t map_width = 0;  // the wrap distances of the scroll
    int32_t map_height = 0;
    float speed_x = 0.0f;
    float speed_y = 0.0f;
    float offset_x = 0.0f;
    float offset_y = 0.0f;
    float scroll_x = 0.0f;  // kept within 0..map size by wrapping
    float scroll_y = 0.0f;
    float zoom_x = 0.0f;
    float zoom_y = 0.0f;
    // Random wobble added to the speed: amplitude per axis, and the rate at
    // which it moves toward its target (also how close counts as arrived).
    float rand_x = 0.0f;
    float rand_y = 0.0f;
    float rand_speed = 0.0f;
    float wobble_target_x = 0.0f;
    float wobble_target_y = 0.0f;
    float wobble_x = 0.0f;
    float wobble_y = 0.0f;
    float alpha = 1.0f;
    int32_t fading = 0;
    float fade_elapsed = 0.0f;
    float fade_duration = 0.0f;
    float fade_target = 0.0f;
    float fade_rate = 0.0f;  // alpha per ms
    // Frames of the tile sprite, row by row, width x height entries.
    std::vector<int32_t> tiles;
    std::string name;
    std::string resource;
    sdk::Sprite* sprite = nullptr;  // owned by the background's sprite table
};

struct Background_Particle {
    float x = 0.0f;  // centre of the drawn sprite
    float y = 0.0f;
    float dx = 0.0f;  // trees: multipliers 0 and 1
    float dy = 0.0f;
    sdk::Angle angle;
    uint8_t colour[4] = {255, 255, 255, 255};
    uint32_t life = 0;  // ms; happa only
    uint32_t age = 0;   // whole ms
    float spin = 0.0f;  // degrees per ms
    float size = 1.0f;
    int32_t variant = 0;  // clouds and trees: 0 or 1
    float zoom = 1.0f;    // clouds: growth toward the bottom
    float alpha = 0.0f;   // happa: fade-in and fade-out factor
};

enum Background_Effect_Kind : int32_t {
    background_happa = 2,
    background_clouds = 3,
    background_trees = 4,
};

struct Background_Effect {
    std::string name;
    std::string resource;
    sdk::Sprite* sprite = nullptr;
    int32_t kind = background_happa;
    int32_t index = 0;  // happa: frame of the sprite
    float speed_min = 0.0f;
    float speed_max = 0.0f;
    float scroll_speed = 0.0f;
    float speed = 0.0f;  // clouds: factor on the layer's speed; trees: added to it
    float rotation_min = 0.0f;
    float rotation_max = 0.0f;
    float life_min = 0.0f;
    float life_max = 0.0f;
    float fade = 0.0f;
    float size_min = 0.0f;
    float size_max = 0.0f;
    float zoom = 0.0f;
    float spawn_field = 0.0f;
    uint8_t colour[4] = {255, 255, 255, 255};
    float alpha = 1.0f;
    // Index of the layer that clouds and trees travel with; -1 when the
    // resource names none, and they then move by their own speed only.
    int32_t follow_layer = -1;
    int32_t fill_left = 0;
    int32_t fill_right = 0;
    int32_t fill_center = 0;
    std::vector<Background_Particle> particles;  // oldest first
    // Happa and clouds: any non-zero number switches spawning on. Trees:
    // trees per spawn.
    uint32_t number = 0;
    float spawn_time = 0.0f;
    float spawn_timer = 0.0f;
    float next_interval = 10.0f;  // clouds
};

class Background {
public:
    Background();
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    // Replaces the whole content with resource `id` of the document that
    // `resources` carries; `clip` is the spawn area of the particles and the
    // culling rectangle of the tiles. Throws sdk::Exception naming the
    // document and the resource on a missing resource, sprite or tilemap.
    void load(sdk::Canvas& canvas, const std::string& id, const sdk::Resource_Manager& resources,
              sdk::Rect clip);
    // Multiplies vertical scrolling and spawn rates; must be positive.
    void set_speed(float factor);
    // Drops every layer, effect and owned sprite.
    void clear();

    void update(float dt);
    void draw(sdk::Canvas& canvas);

    // Starts a fade of the last layer named `layer` toward `target` alpha
    // over `duration` ms; no such layer: nothing happens.
    void fade_layer(const std::string& layer, float target, float duration);
    void fade_in_spellcard_layer(const std::string& layer, float duration);
    void fade_out_spellcard_layer(const std::string& layer, float duration);
    // The bomb: every leaf flies straight up at 1 px/ms.
    void blow_leaves_up();
    // The wind: every leaf closer than `radius` to `centre` flies away from it
    // at 1 px/ms (a leaf exactly on the centre stops).
    void blow_leaves_away(sdk::Vec2f centre, float radius);

    // Adds a layer or an effect built elsewhere (the loader, tests). The
    // background takes the sprite, if any, into its table.
    void add_layer(Background_Layer layer, std::unique_ptr<sdk::Sprite> sprite = nullptr);
    void add_effect(Background_Effect effect, std::unique_ptr<sdk::Sprite> sprite = nullptr);
    // Sets the clip rectangle and the tile origin (clip left and top - 10).
    void set_clip(sdk::Rect clip);

    const std::vector<Background_Layer>& get_layers() const { return layers_; }
    std::vector<Background_Layer>& get_layers() { return layers_; }
    const std::vector<Background_Effect>& get_effects() const { return effects_; }
    std::vector<Background_Effect>& get_effects() { return effects_; }
    size_t sprite_count() const { return sprites_.size(); }
    sdk::Colorf get_clear_colour() const { return clear_colour_; }
    int32_t get_clear() const { return clear_; }
    float get_speed() const { return speed_factor_; }
    sdk::Rect get_clip() const { return clip_; }

private:
    void update_layer(Background_Layer& layer, float dt);
    void update_happa(Background_Effect& effect, float dt);
    void spawn_leaf(Background_Effect& effect);
    void spawn_trees(Background_Effect& effect);
    void update_clouds(Background_Effect& effect, float dt);
    void update_trees(Background_Effect& effect, float dt);
    const Background_Layer* followed(const Background_Effect& effect) const;
    void draw_layer(sdk::Canvas& canvas, Background_Layer& layer);
    void draw_effect(sdk::Canvas& canvas, Background_Effect& effect);

    std::vector<Background_Layer> layers_;
    std::vector<Background_Effect> effects_;
    // Grows as the resource needs: no fixed limit on sprite-bearing items.
    std::vector<std::unique_ptr<sdk::Sprite>> sprites_;
    sdk::Colorf clear_colour_{0, 0, 0, 0};
    int32_t clear_ = 0;
    float speed_factor_ = 1.0f;
    sdk::Rect clip_;
    sdk::Point tile_origin_;
};

extern Background stage_background;
extern Background spell_background;
