// Every dialog line of "text.xml" fits inside the dialog frame: the lines
// start at x 60 in the dialog font of their language (20 pixels) and the
// frame's inner edge is at x 400, so a line may be 340 pixels wide.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/font.h"
#include "tests/sdk/display_fixture.h"

namespace {

constexpr int line_room = 400 - 60;

TEST(Dialog_Fit, EveryLineFitsInsideTheFrame) {
    const char* dir = std::getenv("MIREL_BINARY_DIR");
    sdk::File_System archive(std::string(dir ? dir : ".") + "/mirel.res");
    sdk::Canvas& canvas = test_display::display().canvas;
    sdk::Font russian(canvas, archive, "Resources/rf.ttf", 20);
    sdk::Font japanese(canvas, archive, "Resources/jf.ttf", 20);
    sdk::Resource_Document text(archive, "text.xml");
    int lines = 0;
    for (const std::string& scene : text.get_resource_names()) {
        bool jap = scene.size() > 4 && scene.compare(scene.size() - 4, 4, "_jap") == 0;
        const sdk::Font& font = jap ? japanese : russian;
        for (const sdk::Dom_Element& action : text.get_resource(scene).element.children("action")) {
            std::string kind = action.get_attribute("name");
            if (kind != "new_line" && kind != "line2" && kind != "line3") continue;
            ++lines;
            std::string line = action.get_text();
            EXPECT_LE(font.get_text_size(line).width, line_room)
                << "text.xml: scene " << scene << ": \"" << line << "\" runs past the dialog frame";
        }
    }
    EXPECT_GT(lines, 0) << "text.xml has no dialog lines";
}

}  // namespace
