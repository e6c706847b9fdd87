// The program's entry: starts the display layer, runs the Application and
// reports an escaping platform exception on stderr (and, on a desktop
// display, in a message box the player closes) before ending with -1.
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/display.h"
#include "sdk/message_box.h"

namespace {

int report(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    sdk::show_error_box("Mirel", line);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    try {
        sdk::Display_Setup display;
        sdk::log_event("SYSTEM", "Display setup succeeded");
        int code = 0;
        {
            Application app;
            code = app.start(args);
        }
        return code;
    } catch (const sdk::Exception& e) {
        return report("Exception caught: " + e.get_message_and_stack_trace());
    } catch (const std::exception& e) {
        // The standard library's failures end the program the same way.
        return report(std::string("Exception caught: ") + e.what());
    }
}
