// Building a background from its resource, and drawing it.
//
//   <background name="stage_kio" background_color="#203040" clear="1">
//     <perspective> <param name="lens_zoom">1</param> ... </perspective>
//     <layer name="floor">
//       <param name="speed_y">0.05</param> <param name="zoom_x">1</param> ...
//       <tilemap resource="forest_tiles" width="4" height="4">0,1,2,3, ...</tilemap>
//     </layer>
//     <effect name="happa"> <param name="number">1</param> ... </effect>
//     <effect name="clouds" resource="clouds"> ... </effect>
//   </background>
//
// Parameters are <param name="..."> children read by name (a later one of
// the same name wins); numbers that do not parse read as 0.
#include "render/background.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "render/sprite_cache.h"
#include "sdk/canvas.h"
#include "sdk/core/color.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/string_help.h"
#include "sdk/sprite.h"
#include "world/geometry.h"

Background stage_background;
Background spell_background;

namespace {

using Params = std::map<std::string, std::string>;

// Ceilings of the counts that size memory: the tiles of a map side (a map
// holds width x height frame numbers), the tiles of all the maps of one
// background (each layer's element is a few bytes, its map up to four
// megabytes, and every frame visits each cell four times) and the trees of
// one spawn.
constexpr int32_t max_tiles_per_side = 1024;
constexpr size_t max_tiles_per_background = 1024 * 1024;
constexpr uint32_t max_effect_number = 1000;

// The particles' sizes are held to -8..8: a sprite drawn larger than eight
// times its size covers the field many times over, and the renderer's
// scratch copy of a scaled draw grows with the square of the scale. A
// cloud's zoom, its growth at the bottom edge and the factor on its speed,
// is held to 1/8..8, so that every falling cloud moves on and leaves the
// field; an absent one is 1, which leaves a cloud as drawn.
constexpr float max_particle_scale = 8.0f;
constexpr float min_cloud_zoom = 1.0f / 8.0f;

Params read_params(const sdk::Dom_Element& e) {
    Params params;
    for (const sdk::Dom_Element& p : e.children("param"))
        params[p.get_attribute("name")] = p.get_text();
    return params;
}

// Reads `key` as a float into `value` when present; answers whether it was.
bool read_float(const Params& params, const char* key, float& value) {
    auto it = params.find(key);
    if (it == params.end()) return false;
    value = sdk::text_to_float(it->second);
    return true;
}

void read_clamped(const Params& params, const char* key, float low, float high, float& value) {
    if (read_float(params, key, value)) value = std::clamp(value, low, high);
}

// The text `key` has as the document wrote it; empty when it is absent.
std::string written(const Params& params, const char* key) {
    auto it = params.find(key);
    return it == params.end() ? std::string() : it->second;
}

float float_or(const Params& params, const char* key, float fallback) {
    read_float(params, key, fallback);
    return fallback;
}

void read_int(const Params& params, const char* key, int32_t& value) {
    auto it = params.find(key);
    if (it != params.end()) value = sdk::text_to_int(it->second);
}

void store_colour(const sdk::Color& c, uint8_t out[4]) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

std::string where(const sdk::Resource_Document& doc, const std::string& id) {
    return sdk::string_format("%1: background '%2'", doc.get_name(), id);
}

// A hex colour; a bad one stops the load naming the file, the resource, the
// effect and the key.
sdk::Color hex_colour(const std::string& text, const sdk::Resource_Document& doc,
                      const std::string& id, const std::string& effect, const char* key) {
    try {
        return sdk::color_from_hex(text);
    } catch (const sdk::Exception& e) {
        throw sdk::Exception(sdk::string_format("%1: effect '%2': \"%3\": %4", where(doc, id),
                                                effect, key, e.what()));
    }
}

// A sprite of the background's own table; a missing or broken one stops the
// load naming the background and its layer or effect.
std::unique_ptr<sdk::Sprite> build_sprite(sdk::Canvas& canvas, const std::string& resource,
                                          const sdk::Resource_Document& doc, const std::string& id,
                                          const char* what, const std::string& name) {
    try {
        return std::make_unique<sdk::Sprite>(canvas, resource, doc);
    } catch (const sdk::Exception& e) {
        throw sdk::Exception(
            sdk::string_format("%1: %2 '%3': %4", where(doc, id), what, name, e.what()));
    }
}

}  // namespace

Background::Background() = default;

Background::~Background() { clear(); }

void Background::clear() {
    layers_.clear();
    effects_.clear();
    sprites_.clear();
}

void Background::set_speed(float factor) { speed_factor_ = factor; }

void Background::set_clip(sdk::Rect clip) {
    clip_ = clip;
    tile_origin_ = {clip.left - 10, clip.top - 10};
}

void Background::add_layer(Background_Layer layer, std::unique_ptr<sdk::Sprite> sprite) {
    if (sprite) {
        layer.sprite = sprite.get();
        sprites_.push_back(std::move(sprite));
    }
    layers_.push_back(std::move(layer));
}

void Background::add_effect(Background_Effect effect, std::unique_ptr<sdk::Sprite> sprite) {
    if (sprite) {
        effect.sprite = sprite.get();
        sprites_.push_back(std::move(sprite));
    }
    effects_.push_back(std::move(effect));
}

void Background::load(sdk::Canvas& canvas, const std::string& id,
                      const sdk::Resource_Manager& resources, sdk::Rect clip) {
    clear();
    set_clip(clip);
    const sdk::Resource_Document& doc = resources.get_doc();
    const sdk::Dom_Element& root = doc.get_resource(id).element;

    sdk::Color colour(0, 0, 0, 255);
    if (root.has_attribute("background_color")) {
        std::string text = root.get_attribute("background_color");
        if (!sdk::find_color(text, colour)) {
            sdk::log_event("Debug", "%1: unknown background_color '%2'; black is used",
                           where(doc, id), text);
            colour = sdk::Color(0, 0, 0, 255);
        }
    }
    clear_colour_ = colour.to_colorf();
    clear_ = root.has_attribute("clear") ? root.get_attribute_int("clear") : 1;

    size_t tiles_loaded = 0;
    auto load_layer = [&](const sdk::Dom_Element& e) {
        Params params = read_params(e);
        Background_Layer layer;
        layer.name = e.get_attribute("name");
        layer.speed_x = float_or(params, "speed_x", 0.0f);
        layer.speed_y = float_or(params, "speed_y", 0.0f);
        layer.zoom_x = float_or(params, "zoom_x", 0.0f);
        layer.zoom_y = float_or(params, "zoom_y", 0.0f);
        layer.alpha = float_or(params, "alpha", 1.0f);
        if (read_float(params, "offset_x", layer.offset_x))
            layer.offset_y = float_or(params, "offset_y", 0.0f);
        read_float(params, "rand_x", layer.rand_x);
        read_float(params, "rand_y", layer.rand_y);
        read_float(params, "rand_speed", layer.rand_speed);

        sdk::Dom_Element tilemap = e.first_child("tilemap");
        if (tilemap.is_null())
            throw sdk::Exception(
                sdk::string_format("%1: layer '%2': Xpath did not match any node: tilemap",
                                   where(doc, id), layer.name));
        layer.resource = tilemap.get_attribute("resource");
        layer.width = tilemap.get_attribute_int("width");
        layer.height = tilemap.get_attribute_int("height");
        for (const std::string& item : sdk::split_text(tilemap.get_text(), ","))
            layer.tiles.push_back(sdk::text_to_int(sdk::trim(item)));
        if (layer.width < 0 || layer.height < 0) {
            sdk::log_event("Debug", "%1: layer '%2' has a negative size; it is left empty",
                           where(doc, id), layer.name);
            layer.width = layer.height = 0;
        }
        std::string tilemap_place = where(doc, id) + ": layer '" + layer.name + "': tilemap";
        layer.width = sdk::checked_count(layer.width, max_tiles_per_side, tilemap_place, "width",
                                         tilemap.get_attribute("width"));
        layer.height = sdk::checked_count(layer.height, max_tiles_per_side, tilemap_place, "height",
                                          tilemap.get_attribute("height"));
        size_t needed = static_cast<size_t>(layer.width) * static_cast<size_t>(layer.height);
        tiles_loaded += needed;
        if (tiles_loaded > max_tiles_per_background)
            throw sdk::Exception(sdk::string_format(
                "%1: the tile maps up to this one hold %2 tiles, more than the %3 of a background",
                tilemap_place, tiles_loaded, max_tiles_per_background));
        if (layer.tiles.size() < needed) {
            // Reading past the list's end would draw garbage: the missing
            // tiles show frame 0.
            sdk::log_event(
                "Debug",
                "%1: layer '%2': tilemap of '%3' has %4 of %5 x %6 tiles; the rest show frame 0",
                where(doc, id), layer.name, layer.resource, layer.tiles.size(), layer.width,
                layer.height);
            layer.tiles.resize(needed, 0);
        }

        auto sprite = build_sprite(canvas, layer.resource, doc, id, "layer", layer.name);
        layer.tile_width = sprite->get_width();
        layer.tile_height = sprite->get_height();
        layer.map_width = layer.width * layer.tile_width;
        layer.map_height = layer.height * layer.tile_height;
        layer.scroll_x = 0.0f;
        layer.scroll_y = static_cast<float>((clip.bottom - clip.top) - layer.map_height);
        add_layer(std::move(layer), std::move(sprite));
    };

    // Layers and effects load in document order, so that an effect's
    // "follow_layer" finds only the layers above it.
    for (const sdk::Dom_Element& e : root.children()) {
        if (e.get_tag_name() == "layer") {
            load_layer(e);
            continue;
        }
        if (e.get_tag_name() != "effect") continue;
        Background_Effect effect;
        effect.name = e.get_attribute("name");
        if (effect.name == "happa")
            effect.kind = background_happa;
        else if (effect.name == "clouds")
            effect.kind = background_clouds;
        else if (effect.name == "trees")
            effect.kind = background_trees;
        else
            continue;
        Params params = read_params(e);
        // A number of 0 or less (or none) is off. Leaves and clouds only
        // switch on any number above 0, so theirs is held to the ceiling;
        // the trees spawn that many at once, so a larger count stops the load.
        float number = 0.0f;
        read_float(params, "number", number);
        if (!(number > 0.0f))
            number = 0.0f;
        else if (effect.kind != background_trees)
            number = std::min(number, static_cast<float>(max_effect_number));
        effect.number = sdk::checked_count(number, max_effect_number,
                                           where(doc, id) + ": effect '" + effect.name + "'",
                                           "number", written(params, "number"));
        read_float(params, "speed_min", effect.speed_min);
        read_float(params, "speed_max", effect.speed_max);
        read_float(params, "speed", effect.speed);
        read_float(params, "scroll_speed", effect.scroll_speed);
        read_float(params, "rotation_min", effect.rotation_min);
        read_float(params, "rotation_max", effect.rotation_max);
        read_float(params, "life_min", effect.life_min);
        read_float(params, "life_max", effect.life_max);
        read_float(params, "fade", effect.fade);
        read_clamped(params, "size_min", -max_particle_scale, max_particle_scale, effect.size_min);
        read_clamped(params, "size_max", -max_particle_scale, max_particle_scale, effect.size_max);
        effect.zoom =
            std::clamp(float_or(params, "zoom", 1.0f), min_cloud_zoom, max_particle_scale);
        read_float(params, "spawn_field", effect.spawn_field);
        read_float(params, "spawn_time", effect.spawn_time);
        if (auto it = params.find("color"); it != params.end())
            store_colour(hex_colour(it->second, doc, id, effect.name, "color"), effect.colour);
        // "rand_color" is read for its checks only: no kind uses it.
        if (auto it = params.find("rand_color"); it != params.end())
            hex_colour(it->second, doc, id, effect.name, "rand_color");
        read_float(params, "alpha", effect.alpha);
        read_int(params, "index", effect.index);
        if (auto it = params.find("follow_layer"); it != params.end()) {
            for (size_t i = 0; i < layers_.size(); ++i)
                if (layers_[i].name == it->second) effect.follow_layer = static_cast<int32_t>(i);
        }
        read_int(params, "fill_left", effect.fill_left);
        read_int(params, "fill_right", effect.fill_right);
        read_int(params, "fill_center", effect.fill_center);

        if (effect.kind == background_happa) {
            effect.sprite = require_sprite("effects", where(doc, id));
            add_effect(std::move(effect));
        } else {
            effect.resource = e.get_attribute("resource");
            auto sprite = build_sprite(canvas, effect.resource, doc, id, "effect", effect.name);
            add_effect(std::move(effect), std::move(sprite));
        }
    }
}

void Background::draw(sdk::Canvas& canvas) {
    canvas.push_cliprect(clip_rect);
    if (clear_ != 0) {
        // Cleared inside the clip only: the picture around the play field
        // (the panel) stays. The canvas's own clear would fill the whole target.
        sdk::Blend_Mode blend = canvas.get_blend_mode();
        canvas.set_blend_mode(sdk::Blend_Mode::none);
        canvas.fill_rect(sdk::Rectf(0.0f, 0.0f, static_cast<float>(screen_size.width),
                                    static_cast<float>(screen_size.height)),
                         clear_colour_);
        canvas.set_blend_mode(blend);
    }
    for (Background_Layer& layer : layers_) draw_layer(canvas, layer);
    for (Background_Effect& effect : effects_) draw_effect(canvas, effect);
    canvas.pop_cliprect();
}

void Background::draw_layer(sdk::Canvas& canvas, Background_Layer& layer) {
    if (!layer.sprite || layer.width <= 0 || layer.height <= 0) return;
    canvas.push_modelview();
    canvas.mult_scale(layer.zoom_x, layer.zoom_y);
    layer.sprite->set_alpha(layer.alpha);
    auto round = [](float v) { return std::floor(v + 0.5f); };
    float tw = static_cast<float>(layer.tile_width);
    float th = static_cast<float>(layer.tile_height);
    for (int r = -layer.height; r < layer.height; ++r) {
        float y1 = static_cast<float>(tile_origin_.y) + static_cast<float>(r) * th +
                   layer.scroll_y + layer.offset_y;
        float y2 = y1 + th;
        if (!(round(y1) < static_cast<float>(clip_.bottom) &&
              round(y2) > static_cast<float>(clip_.top)))
            continue;
        int row = r < 0 ? layer.height + r : r;
        for (int c = -layer.width; c < layer.width; ++c) {
            float x1 = static_cast<float>(tile_origin_.x) + static_cast<float>(c) * tw +
                       layer.scroll_x + layer.offset_x;
            float x2 = x1 + tw;
            if (!(round(x1) < static_cast<float>(clip_.right) &&
                  round(x2) > static_cast<float>(clip_.left)))
                continue;
            int column = c < 0 ? layer.width + c : c;
            layer.sprite->set_frame(layer.tiles[static_cast<size_t>(row * layer.width + column)]);
            layer.sprite->draw(canvas, sdk::Rectf(x1, y1, x2, y2));
        }
    }
    canvas.pop_modelview();
}

void Background::draw_effect(sdk::Canvas& canvas, Background_Effect& e) {
    sdk::Sprite* s = e.sprite;
    if (!s) return;
    s->set_alignment(sdk::Origin::center, 0, 0);
    switch (e.kind) {
        case background_happa:
            s->set_frame(e.index);
            for (const Background_Particle& p : e.particles) {
                s->set_color(
                    sdk::Color(p.colour[0], p.colour[1], p.colour[2], p.colour[3]).to_colorf());
                s->set_scale(p.size, p.size);
                s->set_angle(p.angle);
                s->set_alpha(e.alpha * p.alpha);
                s->draw(canvas, p.x, p.y);
            }
            s->set_color(sdk::Colorf::white());
            s->set_scale(1.0f, 1.0f);
            s->set_alpha(1.0f);
            break;
        case background_clouds:
            s->set_alpha(e.alpha);
            for (const Background_Particle& p : e.particles) {
                s->set_frame(2 * p.variant);
                s->set_scale(p.zoom * p.size, p.zoom * p.size);
                s->draw(canvas, p.x, p.y);
            }
            break;
        case background_trees:
            s->set_alpha(e.alpha);
            for (const Background_Particle& p : e.particles) {
                s->set_frame(p.variant + 1);
                s->set_scale(p.size, p.size);
                s->draw(canvas, p.x, p.y);
            }
            break;
        default:
            break;
    }
}
