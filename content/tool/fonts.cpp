// The fonts of the archive, taken from Debian's font packages: DejaVu Sans for
// the Russian dialog and the system text, VL Gothic (Latin, Cyrillic and
// Japanese) for the Japanese dialog.
#include "content_output.h"

namespace {

void add_fonts(Content_Output& out) {
    const char* dejavu = "/usr/share/fonts/truetype/dejavu/";
    out.add_file("Resources/rf.ttf", std::string(dejavu) + "DejaVuSans.ttf");
    out.add_file("Resources/sysf.ttf", std::string(dejavu) + "DejaVuSansMono-Bold.ttf");
    out.add_file("Resources/jf.ttf", "/usr/share/fonts/truetype/vlgothic/VL-Gothic-Regular.ttf");
}

}  // namespace

MIREL_CONTENT_GENERATOR("fonts", add_fonts);
