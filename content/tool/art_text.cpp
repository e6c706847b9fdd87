#include "art_text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "content_output.h"

namespace {

const char* face_file(Face face) {
    switch (face) {
        case Face::sans_bold: return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
        case Face::sans: return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
        case Face::serif_bold: return "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
        case Face::gothic: return "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf";
    }
    return "";
}

// The faces live for the whole run of the tool; cairo keeps references to them.
cairo_font_face_t* cairo_face(Face face) {
    static FT_Library library = nullptr;
    static cairo_font_face_t* faces[4] = {};
    int i = static_cast<int>(face);
    if (faces[i]) return faces[i];
    if (!library && FT_Init_FreeType(&library) != 0) content_fail("cannot start FreeType");
    FT_Face ft = nullptr;
    if (FT_New_Face(library, face_file(face), 0, &ft) != 0)
        content_fail(std::string("cannot read the font ") + face_file(face));
    faces[i] = cairo_ft_font_face_create_for_ft_face(ft, 0);
    return faces[i];
}

void use_face(cairo_t* cr, Face face, double size) {
    cairo_set_font_face(cr, cairo_face(face));
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace

Face face_for_language(int language) { return language == 1 ? Face::gothic : Face::sans_bold; }

Text_Size measure_text(Face face, double size, const std::string& text) {
    static cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 4, 4);
    cairo_t* cr = cairo_create(scratch);
    use_face(cr, face, size);
    cairo_text_extents_t te;
    cairo_text_extents(cr, text.c_str(), &te);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_destroy(cr);
    return {te.x_advance, fe.ascent, fe.descent};
}

void draw_text(cairo_t* cr, Face face, const Text_Style& s, double x, double y,
               const std::string& text) {
    cairo_save(cr);
    use_face(cr, face, s.size);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (s.glow_alpha > 0) {
        for (int i = 4; i >= 1; --i) {
            cairo_set_line_width(cr, s.outline_width * 2 + s.glow_width * i / 2.0);
            set_rgb(cr, s.glow, s.glow_alpha * 0.18);
            cairo_stroke_preserve(cr);
        }
    }
    if (s.outline_width > 0) {
        cairo_set_line_width(cr, s.outline_width * 2 + s.embolden);
        set_rgb(cr, s.outline);
        cairo_stroke_preserve(cr);
    }
    double top = y - s.size * 0.8, bottom = y + s.size * 0.1;
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, bottom);
    cairo_pattern_add_color_stop_rgb(p, 0, s.top.r, s.top.g, s.top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, s.bottom.r, s.bottom.g, s.bottom.b);
    cairo_set_source(cr, p);
    if (s.embolden > 0) {
        cairo_set_line_width(cr, s.embolden);
        cairo_stroke_preserve(cr);
    }
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

void draw_text_centred(cairo_t* cr, Face face, const Text_Style& s, double x, double y,
                       const std::string& text) {
    draw_text(cr, face, s, x - measure_text(face, s.size, text).width / 2, y, text);
}

void draw_text_right(cairo_t* cr, Face face, const Text_Style& s, double x, double y,
                     const std::string& text) {
    draw_text(cr, face, s, x - measure_text(face, s.size, text).width, y, text);
}
