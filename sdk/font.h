// TrueType fonts read from the resource archive (SDL2_ttf). Text is UTF-8 and
// drawn from a glyph atlas on the canvas's window: each glyph is rendered once,
// so drawing a changing score every frame costs no rendering. The position
// given to draw_text is the left end of the first line's baseline, as the
// game's layout tables give text positions; "\n" starts a new line.
// The "font" resource format is described in content/README.md.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sdk/core/file_system.h"
#include "sdk/core/math.h"
#include "sdk/core/resource_document.h"

namespace sdk {

class Canvas;

struct Font_Metrics {
    float height = 0;       // ascent + descent
    float ascent = 0;       // above the baseline
    float descent = 0;      // below the baseline, positive
    float line_spacing = 0; // baseline to baseline
};

class Font {
public:
    Font() = default;
    // The font file `file_name` of `fs` at `height` pixels. Throws "Unable to
    // open file: <name>" or "Unable to read font <name>: <reason>".
    Font(Canvas& canvas, const File_System& fs, const std::string& file_name, int height);
    // The "font" resource `id` of the document.
    Font(Canvas& canvas, const std::string& id, const Resource_Document& doc);
    static Font resource(Canvas& canvas, const std::string& id, const Resource_Manager& resources) {
        return Font(canvas, id, resources.get_doc());
    }

    bool is_null() const { return !impl_; }
    Font_Metrics get_font_metrics() const;
    // Width of the widest line and height of all lines (a line is the font's height).
    Size get_text_size(Canvas& canvas, std::string_view text) const;
    Size get_text_size(std::string_view text) const;
    void draw_text(Canvas& canvas, float x, float y, std::string_view text,
                   const Colorf& color = Colorf::white()) const;

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace sdk
