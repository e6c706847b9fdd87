// The scrolling stage backgrounds, seen from above as Kio flies north.
//
// Tile layers are drawn as one seamless 512 x 512 picture cut into 4 x 4
// tiles of 128 x 128 (frames 0-15, row by row), so a tile map that lists
// 0..15 in order repeats without a seam:
// "images/backgrounds/ground.png" the autumn forest floor (earth, moss, a path,
// fallen leaves), "canopy.png" branches and crowns high above it (mostly
// transparent), "frost.png" the rime that creeps over everything while the
// boss is there (translucent), "winter_night.png" the opaque spell-card sky
// of ice and aurora.
// Particle pictures: "trees.png" 112 x 112, frames 1 and 2 two autumn crowns
// from above (frame 0 a spare sapling); "clouds.png" 160 x 112, frames 0 and 2
// two drifting mists (frame 1 a spare wisp).
#include <cmath>
#include <functional>

#include "art.h"
#include "content_output.h"

namespace {

constexpr int texture_size = 512;
// The tile maps start 10 pixels left of the play field, which is 384 wide:
// its middle is 202 pixels into the picture, its edges at 10 and 394.
constexpr double path_centre = 202;

// Runs `draw` at the nine offsets that wrap a feature across the edges.
void wrapped(const std::function<void(double, double)>& draw) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) draw(dx * texture_size, dy * texture_size);
}

// Cuts a 512 x 512 picture into a 4 x 4 sheet of 128 x 128 tiles.
void save_tiles(Content_Output& out, cairo_surface_t* picture, const std::string& path) {
    Sheet tiles(128, 128, 4, 4);
    cairo_t* cr = tiles.context();
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_paint(cr);
    tiles.save(out, path);
}

void leaf_shape(cairo_t* cr, double x, double y, double size, double angle, bool maple) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, size, size);
    if (maple) {
        star_path(cr, 0, 0, 5, 1.0, 0.45, 0);
    } else {
        cairo_move_to(cr, 0, -1);
        cairo_curve_to(cr, 0.6, -0.5, 0.6, 0.5, 0, 1);
        cairo_curve_to(cr, -0.6, 0.5, -0.6, -0.5, 0, -1);
    }
    cairo_restore(cr);
}

void draw_ground(cairo_t* cr) {
    Art_Random rnd(1001);
    // Dark earth.
    cairo_rectangle(cr, 0, 0, texture_size, texture_size);
    set_rgb(cr, hex_rgb(0x2a170d));
    cairo_fill(cr);
    // Patches of moss and darker soil.
    for (int i = 0; i < 60; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512), r = rnd.range(20, 60);
        Rgb c = rnd.unit() < 0.4 ? hex_rgb(0x2e3414) : hex_rgb(0x3a2210);
        double a = rnd.range(0.25, 0.5);
        wrapped([&](double dx, double dy) { glow(cr, x + dx, y + dy, r, c, a); });
    }
    // A winding path of pale earth running north, wrapping top to bottom.
    for (int pass = 0; pass < 2; ++pass) {
        cairo_new_path(cr);
        for (int i = 0; i <= 64; ++i) {
            double y = i * 8.0 - 0;
            double x = path_centre + 60 * std::sin(y / 512 * 2 * pi) + 25 * std::sin(y / 512 * 6 * pi);
            if (i == 0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
        set_rgb(cr, pass == 0 ? hex_rgb(0x3c2414) : hex_rgb(0x5a3a20), pass == 0 ? 0.9 : 0.55);
        cairo_set_line_width(cr, pass == 0 ? 58 : 36);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_stroke(cr);
    }
    // Roots crossing the floor.
    for (int i = 0; i < 14; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512), a = rnd.range(0, 2 * pi);
        double len = rnd.range(40, 90);
        wrapped([&](double dx, double dy) {
            cairo_move_to(cr, x + dx, y + dy);
            cairo_curve_to(cr, x + dx + std::cos(a) * len / 3 + 10, y + dy + std::sin(a) * len / 3,
                           x + dx + std::cos(a) * len * 2 / 3 - 8, y + dy + std::sin(a) * len * 2 / 3,
                           x + dx + std::cos(a) * len, y + dy + std::sin(a) * len);
            set_rgb(cr, hex_rgb(0x1a0c06), 0.8);
            cairo_set_line_width(cr, 5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke_preserve(cr);
            set_rgb(cr, hex_rgb(0x4a2c18), 0.7);
            cairo_set_line_width(cr, 2.5);
            cairo_stroke(cr);
        });
    }
    // Stones.
    for (int i = 0; i < 20; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512), r = rnd.range(3, 8);
        wrapped([&](double dx, double dy) {
            ellipse_path(cr, x + dx, y + dy, r * 1.3, r);
            fill_radial(cr, x + dx - r * 0.4, y + dy - r * 0.4, r * 1.6, hex_rgb(0x7a6a5a),
                        hex_rgb(0x2a2018));
            cairo_new_path(cr);
        });
    }
    // Fallen leaves, thick: muted so that bullets stay the brightest things.
    for (int i = 0; i < 900; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512);
        double size = rnd.range(3, 7), angle = rnd.range(0, 2 * pi);
        bool maple = rnd.unit() < 0.35;
        Rgb c = mix(mix(hex_rgb(0x9a3010), hex_rgb(0xc87a20), rnd.unit()), hex_rgb(0x5a3a10),
                    rnd.range(0, 0.5));
        double alpha = rnd.range(0.55, 0.9);
        wrapped([&](double dx, double dy) {
            leaf_shape(cr, x + dx, y + dy, size, angle, maple);
            set_rgb(cr, darker(c, 0.25), alpha);
            cairo_fill(cr);
            leaf_shape(cr, x + dx - 0.5, y + dy - 0.5, size * 0.8, angle, maple);
            set_rgb(cr, c, alpha);
            cairo_fill(cr);
        });
    }
    // A darker vignette towards the sides so the middle reads as a clearing.
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 512, 0);
    cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.3);
    cairo_pattern_add_color_stop_rgba(p, path_centre / 512, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(p, (2 * path_centre - 10) / 512, 0, 0, 0, 0.3);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0.3);
    cairo_set_source(cr, p);
    cairo_rectangle(cr, 0, 0, 512, 512);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// A tree crown seen from above: a dark mass of foliage under hundreds of
// small leaves, lit from the top left.
void crown(cairo_t* cr, Art_Random& rnd, double x, double y, double r, Rgb base, double alpha) {
    glow(cr, x + r * 0.3, y + r * 0.35, r * 1.3, {0, 0, 0}, 0.5 * alpha);  // shadow
    for (int i = 0; i < 10; ++i) {
        double a = rnd.range(0, 2 * pi), d = rnd.range(0, r * 0.55);
        double rr = r * rnd.range(0.35, 0.5);
        cairo_arc(cr, x + std::cos(a) * d, y + std::sin(a) * d, rr, 0, 2 * pi);
        set_rgb(cr, darker(base, 0.55), alpha);
        cairo_fill(cr);
    }
    int leaves = static_cast<int>(r * r * 0.12);
    for (int i = 0; i < leaves; ++i) {
        double a = rnd.range(0, 2 * pi), d = std::sqrt(rnd.unit()) * r * 0.95;
        double px = x + std::cos(a) * d, py = y + std::sin(a) * d;
        // Light from the top left: leaves there are brighter.
        double light = 0.5 - (std::cos(a) + std::sin(a)) * 0.25 * d / r;
        Rgb c = mix(base, hex_rgb(0xffd070), rnd.range(0, 0.25));
        c = light > 0.5 ? lighter(c, (light - 0.5) * 0.5) : darker(c, (0.5 - light) * 0.8);
        leaf_shape(cr, px, py, rnd.range(2.5, 4.5), rnd.range(0, 2 * pi), rnd.unit() < 0.4);
        set_rgb(cr, c, 0.9 * alpha);
        cairo_fill(cr);
    }
}

void draw_canopy(cairo_t* cr) {
    Art_Random rnd(2002);
    // Branches and crowns only along the sides, the middle left open.
    for (int i = 0; i < 22; ++i) {
        bool left = i % 2 == 0;
        double x = left ? rnd.range(-20, 50) : rnd.range(350, 420);
        double y = rnd.range(0, 512), r = rnd.range(34, 60);
        Rgb base = mix(hex_rgb(0xa82a12), hex_rgb(0xd87a1a), rnd.unit());
        uint32_t seed = rnd.next();
        wrapped([&](double dx, double dy) {
            Art_Random local(seed);
            crown(cr, local, x + dx, y + dy, r, base, 0.92);
        });
    }
}

void draw_tree(cairo_t* cr, int variant) {
    Art_Random rnd(300 + variant);
    Rgb base = variant == 1 ? hex_rgb(0xc83a14) : variant == 2 ? hex_rgb(0xe09a20) : hex_rgb(0x8a6a20);
    crown(cr, rnd, 56, 56, variant == 0 ? 24 : 44, base, 1.0);
}

void draw_cloud(cairo_t* cr, int variant) {
    Art_Random rnd(400 + variant);
    int puffs = variant == 1 ? 4 : 9;
    for (int i = 0; i < puffs; ++i) {
        double x = rnd.range(40, 120), y = rnd.range(36, 76), r = rnd.range(22, 38);
        glow(cr, x, y, r, variant == 2 ? hex_rgb(0xfff0e0) : hex_rgb(0xffe8d0), 0.45);
    }
}

void draw_frost(cairo_t* cr) {
    Art_Random rnd(3003);
    cairo_rectangle(cr, 0, 0, 512, 512);
    set_rgb(cr, hex_rgb(0xb8d8ff), 0.18);
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Rime feathers growing from scattered seeds.
    for (int i = 0; i < 40; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512), a = rnd.range(0, 2 * pi);
        double len = rnd.range(20, 50);
        double alpha = rnd.range(0.25, 0.55);
        wrapped([&](double dx, double dy) {
            double px = x + dx, py = y + dy;
            for (int k = 0; k < 4; ++k) {
                double t = k / 4.0;
                double bx = px + std::cos(a) * len * t, by = py + std::sin(a) * len * t;
                for (double side : {-1.0, 1.0}) {
                    double b = a + side * 0.7;
                    cairo_move_to(cr, bx, by);
                    cairo_line_to(cr, bx + std::cos(b) * len * 0.3 * (1 - t),
                                  by + std::sin(b) * len * 0.3 * (1 - t));
                }
            }
            cairo_move_to(cr, px, py);
            cairo_line_to(cr, px + std::cos(a) * len, py + std::sin(a) * len);
            set_rgb(cr, {1, 1, 1}, alpha);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        });
    }
    for (int i = 0; i < 30; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512), r = rnd.range(20, 50);
        wrapped([&](double dx, double dy) { glow(cr, x + dx, y + dy, r, hex_rgb(0xe8f4ff), 0.18); });
    }
}

void draw_winter_night(cairo_t* cr) {
    Art_Random rnd(4004);
    cairo_rectangle(cr, 0, 0, 512, 512);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 512);
    // The gradient runs top to bottom and back, so the picture wraps.
    cairo_pattern_add_color_stop_rgb(p, 0, 0.05, 0.06, 0.20);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.13, 0.08, 0.30);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.06, 0.20);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Aurora curtains: soft vertical bands that wrap left to right.
    for (int band = 0; band < 3; ++band) {
        Rgb c = band == 0 ? hex_rgb(0x40ffc0) : band == 1 ? hex_rgb(0x8a60ff) : hex_rgb(0x40c0ff);
        double phase = band * 2.1, y0 = 120 + band * 130;
        for (int i = 0; i < 128; ++i) {
            double x = i * 4.0;
            double y = y0 + 30 * std::sin(x / 512 * 2 * pi * 2 + phase) + 8 * std::sin(x / 512 * 2 * pi * 7);
            // Curtains: brighter at their lower hem, fading upwards.
            double shimmer = 0.7 + 0.3 * std::sin(x / 512 * 2 * pi * 11 + band);
            wrapped([&](double dx, double dy) {
                glow_ellipse(cr, x + dx, y + dy - 30, 6, 80, c, 0.07 * shimmer);
                glow_ellipse(cr, x + dx, y + dy + 30, 5, 18, lighter(c, 0.4), 0.10 * shimmer);
            });
        }
    }
    // Stars and ice glints.
    for (int i = 0; i < 160; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512), r = rnd.range(0.8, 2.2);
        double a = rnd.range(0.3, 0.9);
        wrapped([&](double dx, double dy) { glow(cr, x + dx, y + dy, r * 2, {1, 1, 1}, a); });
    }
    // Great faint snow crystals.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 7; ++i) {
        double x = rnd.range(0, 512), y = rnd.range(0, 512), r = rnd.range(30, 60);
        double turn = rnd.range(0, pi);
        wrapped([&](double dx, double dy) {
            for (int k = 0; k < 6; ++k) {
                double a = turn + k * pi / 3;
                double cx = x + dx, cy = y + dy;
                cairo_move_to(cr, cx, cy);
                cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
                for (double d : {0.45, 0.7}) {
                    for (double side : {-1.0, 1.0}) {
                        double b = a + side * pi / 4;
                        double bx = cx + std::cos(a) * r * d, by = cy + std::sin(a) * r * d;
                        cairo_move_to(cr, bx, by);
                        cairo_line_to(cr, bx + std::cos(b) * r * 0.25, by + std::sin(b) * r * 0.25);
                    }
                }
            }
            set_rgb(cr, hex_rgb(0xa8c8ff), 0.22);
            cairo_set_line_width(cr, 2.5);
            cairo_stroke(cr);
        });
    }
}

void make_backgrounds(Content_Output& out) {
    const std::pair<void (*)(cairo_t*), const char*> pictures[] = {
        {draw_ground, "images/backgrounds/ground.png"},
        {draw_canopy, "images/backgrounds/canopy.png"},
        {draw_frost, "images/backgrounds/frost.png"},
        {draw_winter_night, "images/backgrounds/winter_night.png"},
    };
    for (const auto& [draw, path] : pictures) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, texture_size, texture_size);
        cairo_t* cr = cairo_create(s);
        draw(cr);
        cairo_destroy(cr);
        save_tiles(out, s, path);
        cairo_surface_destroy(s);
    }
    Sheet trees(112, 112, 3, 1);
    for (int v = 0; v < 3; ++v) {
        draw_tree(trees.frame(v), v);
        trees.end_frame();
    }
    trees.save(out, "images/backgrounds/trees.png");
    Sheet clouds(160, 112, 3, 1);
    for (int v = 0; v < 3; ++v) {
        draw_cloud(clouds.frame(v), v);
        clouds.end_frame();
    }
    clouds.save(out, "images/backgrounds/clouds.png");
}

}  // namespace

MIREL_CONTENT_GENERATOR("art_backgrounds", make_backgrounds);
