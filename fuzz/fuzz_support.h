// What the fuzz targets share: a quiet log, the resource archive of the fuzz
// build (its pictures and fonts stand behind the documents being fuzzed), a
// hidden window on the software renderer, the game's own presentation and
// movement registries as start-up builds them, and a scratch working folder.
//
// Every target feeds its input to one reader of outside data as the game
// calls it. The reader's own error, an sdk::Exception naming the file and
// the resource, is the expected answer to bad input and is swallowed; any
// other exception escapes, and libFuzzer reports it as a crash, as it does
// every sanitizer finding.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "render/appearance.h"
#include "render/sprite_cache.h"
#include "sdk/canvas.h"
#include "sdk/core/exception.h"
#include "sdk/core/file_system.h"
#include "sdk/core/log.h"
#include "sdk/core/random.h"
#include "sdk/core/resource_document.h"
#include "sdk/display.h"
#include "sdk/window.h"
#include "world/geometry.h"
#include "world/registries.h"

namespace fuzz {

// MIREL_FUZZ_VERBOSE=1 keeps the log and shows every rejection, to see what
// the seeds reach.
inline bool verbose() {
    static const bool on = std::getenv("MIREL_FUZZ_VERBOSE") != nullptr;
    return on;
}

inline void quiet_log() {
    if (!verbose()) sdk::set_log_sink([](const std::string&, const std::string&) {});
}

inline void rejected(const sdk::Exception& e) {
    if (verbose()) std::fprintf(stderr, "rejected: %s\n", e.what());
}

// The archive built beside the fuzz targets, whose documents are the seeds.
inline const sdk::File_System& archive() {
    static const sdk::File_System* fs = new sdk::File_System(MIREL_FUZZ_ARCHIVE);
    return *fs;
}

inline sdk::Resource_Document archive_document(const std::string& name) {
    return sdk::Resource_Document(archive(), name);
}

// The input as a resource document named `name`; its file names resolve in
// `fs` (the archive unless told otherwise).
inline sdk::Resource_Document document(const uint8_t* data, size_t size, const std::string& name,
                                       const sdk::File_System& fs = archive()) {
    return sdk::Resource_Document::from_text(std::string(reinterpret_cast<const char*>(data), size), name, fs);
}

// A hidden window of 2 x 2 pixels, headless, for the readers that make
// textures. Its canvas clips to one pixel: every draw goes through the
// platform layer and the renderer's queue as in the game, but the renderer
// blends next to no pixels, which would cost more than everything the input
// drives. The window itself is that small too, because the software renderer
// sizes the scratch picture of every textured triangle by the part of the
// triangle inside the window, not inside the clip: a picture a quarter of
// the game's screen wide cost a large allocation per triangle per frame.
struct Display {
    sdk::Display_Setup setup;
    sdk::Window window;
    sdk::Canvas canvas;
    Display() {
        sdk::Window_Description d;
        d.title = "mirel fuzz";
        d.size = {2, 2};
        d.visible = false;
        d.renderer = sdk::Renderer_Kind::software;
        window = sdk::Window(d);
        canvas = sdk::Canvas(window);
        canvas.push_cliprect(sdk::Rect(0, 0, 1, 1));
        // Every picture drawn shrinks to a few pixels: the software renderer
        // makes a scratch copy of a picture it flips or scales at the size it
        // is drawn at, however little of it the clip lets through.
        canvas.set_transform(sdk::Transform::scale(1.0f / 256, 1.0f / 256));
    }
};

inline Display& display() {
    ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The software renderer's picture goes straight to the headless window.
    // Otherwise the video layer shows it through a texture of a second,
    // OpenGL renderer, which headless is Mesa's software rasteriser: it
    // allocates and clears its buffers at every frame, and took more than
    // half of a background input's time.
    ::setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    static Display* d = new Display();
    return *d;
}

inline sdk::Canvas& canvas() { return display().canvas; }

// The shared generator starts each input from the same seed: the sparks and
// particles an input draws, and whatever they take, do not depend on the
// inputs before it, and an input that fails in a run fails alone too.
inline void same_random_start() { sdk::random_seed(1); }

// Shows the frame, as the game does after drawing: the renderer runs the
// draws it queued and empties its queue, which would otherwise grow with
// every input.
inline void present() { display().window.flip(0); }

// The sprite cache, the looks and the movement registries as start-up leaves
// them, from the archive's "sprites.xml" and "mirel.xml".
inline void install_presentation() {
    sdk::Canvas& c = canvas();
    preload_sprites(c, sdk::Resource_Manager(archive_document("sprites.xml")));
    load_appearances(c, sdk::Resource_Manager(archive_document("mirel.xml")));
    register_movements(play_field);
}

// Where the targets write their inputs as files: in memory where there is
// such a folder, since a disk file truncated and written again is flushed on
// close and would cost milliseconds per input.
inline std::filesystem::path scratch_root() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// Runs in a folder of its own, so files the readers write stay there.
inline void enter_scratch_folder(const std::string& tag) {
    std::filesystem::path dir = scratch_root() / ("mirel_fuzz_" + tag + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
}

}  // namespace fuzz
