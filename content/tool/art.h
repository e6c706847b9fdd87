// Drawing helpers shared by the picture generators (art_*.cpp): sprite sheets
// cut into equal frames, the palettes of the game, soft glows and a seeded
// random source. Coordinates are pixels of the sheet, y downwards; colours are
// 0..1 floats. Every picture is drawn with cairo into an ARGB image and stored
// in the archive as PNG, so the same sources always give the same bytes.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

class Content_Output;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb mix(Rgb a, Rgb b, double t);
Rgb lighter(Rgb c, double t);  // towards white
Rgb darker(Rgb c, double t);   // towards black
Rgb hex_rgb(uint32_t rgb);     // 0xRRGGBB
void set_rgb(cairo_t* cr, Rgb c, double alpha = 1.0);

// The sixteen bullet colours, in the order of the colour index every sheet's
// rows follow (0 red ... 13 white ... 15 black with a white rim).
extern const Rgb bullet_colours[16];
// A dark rim that reads against both the amber stage and the icy boss backdrop.
Rgb rim_colour(int colour);

// Deterministic numbers for scattering details (leaves, sparkles, fur).
class Art_Random {
public:
    explicit Art_Random(uint32_t seed) : state_(seed * 2654435761u + 1) {}
    uint32_t next();
    double unit();                       // [0, 1)
    double range(double lo, double hi);  // [lo, hi)

private:
    uint32_t state_;
};

// One picture cut into `cols` x `rows` equal frames, row by row.
class Sheet {
public:
    Sheet(int frame_w, int frame_h, int cols, int rows);
    ~Sheet();
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    // A context whose origin is the top-left corner of frame `index`, clipped
    // to it. Call `end_frame` before the next one.
    cairo_t* frame(int index);
    void end_frame();
    // The whole picture, for pictures that are not cut into frames.
    cairo_t* context() { return cr_; }
    cairo_surface_t* surface() { return surface_; }

    int frame_w() const { return fw_; }
    int frame_h() const { return fh_; }
    int width() const { return fw_ * cols_; }
    int height() const { return fh_ * rows_; }

    // Encodes the picture as PNG and adds it to the archive.
    void save(Content_Output& out, const std::string& archive_path);

private:
    int fw_, fh_, cols_, rows_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

std::vector<uint8_t> encode_png(cairo_surface_t* surface);

// A round glow: `colour` at `alpha` in the centre fading to nothing at `radius`.
void glow(cairo_t* cr, double x, double y, double radius, Rgb colour, double alpha);
// The same, squeezed into an ellipse of half-axes rx, ry.
void glow_ellipse(cairo_t* cr, double x, double y, double rx, double ry, Rgb colour,
                  double alpha);
// A filled ellipse (an arc in a scaled space).
void ellipse_path(cairo_t* cr, double x, double y, double rx, double ry);
// A star of `points` tips between the radii; `turn` in radians.
void star_path(cairo_t* cr, double x, double y, int points, double outer, double inner,
               double turn);
// A radial gradient fill of the current path from `inner` at the centre to
// `outer` at `radius`, preserving the path.
void fill_radial(cairo_t* cr, double x, double y, double radius, Rgb inner, Rgb outer,
                 double alpha = 1.0);
// Vertical linear gradient fill of the current path, preserving it.
void fill_vertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1.0);
// Strokes the current path with a soft halo: several widening, fading strokes.
void stroke_glow(cairo_t* cr, Rgb colour, double width, double alpha);

constexpr double pi = 3.14159265358979323846;
