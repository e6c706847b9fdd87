// Word pictures: text drawn with cairo from Debian's font files (DejaVu for
// Russian and digits, VL Gothic for Japanese), with an outline, a vertical
// gradient and a soft glow, so that menu entries, HUD labels, names and tips
// read as parts of one game. Sizes are pixel heights of the em square; the
// baseline is the y given.
#pragma once

#include <string>

#include "art.h"

enum class Face {
    sans_bold,   // DejaVu Sans Bold: Russian words, digits, labels
    sans,        // DejaVu Sans
    serif_bold,  // DejaVu Serif Bold: titles and names
    gothic,      // VL Gothic: Japanese
};

// The face for a language index: 0 Russian, 1 Japanese.
Face face_for_language(int language);

struct Text_Style {
    double size = 20;
    Rgb top{1, 1, 1};        // gradient, top of the letters
    Rgb bottom{0.8, 0.8, 0.8};
    Rgb outline{0.1, 0.05, 0.02};
    double outline_width = 2.5;  // 0: no outline
    Rgb glow{1, 0.8, 0.4};
    double glow_alpha = 0;       // 0: no glow
    double glow_width = 6;
    // Japanese faces have no bold: a thin stroke in the fill colour thickens them.
    double embolden = 0;
};

struct Text_Size {
    double width = 0, ascent = 0, descent = 0;
};

Text_Size measure_text(Face face, double size, const std::string& text);

// Draws `text` with its left end at x and its baseline at y.
void draw_text(cairo_t* cr, Face face, const Text_Style& style, double x, double y,
               const std::string& text);
// Centred on x.
void draw_text_centred(cairo_t* cr, Face face, const Text_Style& style, double x, double y,
                       const std::string& text);
// Right end at x.
void draw_text_right(cairo_t* cr, Face face, const Text_Style& style, double x, double y,
                     const std::string& text);
