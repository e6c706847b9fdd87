// The program's entry: starts the display layer, runs the Application and
// reports an escaping platform exception on stderr (and, on a desktop
// display, in a message box the player closes) before ending with -1.
//
// With the environment variable MIREL_QUIT_AT_TITLE set, the game ends by
// itself, as if the player quit, once the first screen after the splash (the
// language choice on a first start, else the main menu) has been shown: the
// fresh-clone check (scripts/check-fresh-clone.sh) runs it so.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/screen_state.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/string_help.h"
#include "sdk/display.h"
#include "sdk/message_box.h"

namespace {

// The message stays one line whatever text of a document it quotes.
int report(const std::string& message) {
    std::string line = sdk::escape_control(message);
    std::fprintf(stderr, "%s\n", line.c_str());
    sdk::show_error_box("Mirel", line);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    try {
        sdk::Display_Setup display;
        // A window nobody can see would leave the game running unseen until
        // killed; the headless drivers are for those who ask for them.
        if (sdk::Display_Setup::fell_back_to_no_display())
            throw sdk::Exception(
                "Unable to start the display: no display is available (set DISPLAY or "
                "WAYLAND_DISPLAY, or SDL_VIDEODRIVER=offscreen to run without showing anything)");
        sdk::log_event("SYSTEM", "Display setup succeeded");
        int code = 0;
        {
            Application app;
            if (std::getenv("MIREL_QUIT_AT_TITLE"))
                app.frame_hook = [shown = false](Application& a) mutable {
                    // The hook runs before the frame: a title state seen here
                    // is drawn and shown by this frame, so the next one quits.
                    if (shown) a.quit = true;
                    shown = app_state == state_language || app_state == state_main_menu;
                };
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
