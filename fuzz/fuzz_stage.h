// The stage as the world targets run it: the stage documents of the archive
// (or, while the archive has none, the world tests' fixture documents), and a
// short run of a level with an input that moves, shoots, focuses, bombs and
// blows the wind, so what a document loaded is also used.
#pragma once

#include <string>

#include "fuzz_support.h"
#include "world/enemy_lists.h"
#include "world/level.h"
#include "world/player.h"
#include "world/player_input.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/stage_frame.h"

namespace fuzz {

inline sdk::Resource_Manager stage_document(const std::string& name) {
    if (archive().has_file(name)) return sdk::Resource_Manager(archive_document(name));
    return sdk::Resource_Manager(
        sdk::Resource_Document(sdk::File_System(std::string(MIREL_SOURCE_DIR) + "/tests/world/fixtures"), name));
}

// Plays `frames` frames of 17 ms of the level that start_stage_run set up.
inline void play_frames(int frames) {
    for (int f = 0; f < frames && !stage_clear && !game_over; ++f) {
        Player_Input in;
        in.z = f % 40 < 30;
        in.left = f % 90 < 30;
        in.right = f % 90 >= 60;
        in.up = f % 120 < 10;
        in.left_shift = f % 200 > 150;
        in.x = f == 100;
        in.c = f == 170;
        Stage_Input input;
        input.devices = &in;
        input.advances = f % 10 == 0;
        run_stage_frame(17.0f, input);
    }
}

// Leaves the world as the target found it. Nothing draws here, so the dying
// animations that end the dead stack's enemies never run; the stack is
// emptied by hand, or it would grow with every input.
inline void end_run() {
    reset_world();
    enemy_lists.dead.clear();
    clear_run_flags();
}

inline void play_level(const sdk::Resource_Manager& levels, const std::string& name, int frames) {
    start_lives = 3;
    start_stage_run(levels, name);
    play_frames(frames);
    end_run();
}

}  // namespace fuzz
