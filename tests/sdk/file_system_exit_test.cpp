// A file system kept in a global that the program destroys after the
// platform layer's own statics (as the dialog keeps "text.xml" open) must
// close cleanly at exit instead of touching a mount table already gone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "sdk/core/file_system.h"

namespace {

// Built before the platform layer's statics (this file is linked before the
// library), so destroyed after them.
struct Early_Holder {
    sdk::File_System fs;
};
Early_Holder early_holder;

TEST(File_System_Exit, AGlobalFileSystemClosesCleanlyAtExit) {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mirel_fs_exit_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "a.txt") << "a";
    EXPECT_EXIT(
        {
            early_holder.fs = sdk::File_System(dir.string());
            std::exit(early_holder.fs.has_file("a.txt") ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
    std::filesystem::remove_all(dir);
}

}  // namespace
