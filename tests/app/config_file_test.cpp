#include "app/config_file.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/display_rules.h"
#include "app/replay.h"
#include "sdk/core/log.h"
#include "tests/common/scratch_dir.h"
#include "world/settings.h"

namespace {

const std::vector<uint8_t> default_bytes = {
    91,   0,    0, 0,           // version
    0,                          // fullscreen
    0x80, 2,    0, 0,           // width 640
    0xe0, 1,    0, 0,           // height 480
    0x0f, 0x27, 0, 0,           // hi_score 9999
    3,                          // start lives
    1,                          // spare flag
    80,   90,                   // sound %, music %
    0,    0,    0, 0x3f,        // dead zone 0.5f
    1,    0,    5, 3,    7, 2,  // shoot, bomb, focus, special, pause, spare
    0,                          // special focuses
    0,                          // language
};

class Config_File : public ::testing::Test {
protected:
    void SetUp() override {
        game_version = 91;
        config_file_unreadable = false;
        reset_config_defaults();
    }
    Scratch_Dir dir;
};

TEST_F(Config_File, DefaultsAreWrittenByteByByte) {
    EXPECT_EQ(Scratch_Dir::read("config.dat"), default_bytes);
    EXPECT_TRUE(config_valid());
    EXPECT_FLOAT_EQ(sound_volume, 0.8f);
    EXPECT_FLOAT_EQ(music_volume, 0.9f);
    EXPECT_EQ(window_size, (sdk::Size{640, 480}));
}

TEST_F(Config_File, RoundTripKeepsEveryField) {
    fullscreen = 1;
    config_window_size = {1024, 768};
    hi_score = 4000000000u;
    start_lives = 5;
    sound_volume_pct = 5;
    music_volume_pct = 100;
    dead_zone = 0.37f;
    button_shoot = 11;
    button_bomb = 12;
    button_focus = 13;
    button_special = 14;
    button_pause = 15;
    button_spare = 16;
    special_focuses = 1;
    language = 1;
    save_config();
    std::vector<uint8_t> saved = Scratch_Dir::read("config.dat");
    ASSERT_EQ(saved.size(), 33u);

    reset_config_defaults();
    Scratch_Dir::write("config.dat", saved);
    ASSERT_TRUE(config_valid());
    load_config();
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(config_window_size, (sdk::Size{1024, 768}));
    EXPECT_EQ(hi_score, 4000000000u);
    EXPECT_EQ(start_lives, 5);
    EXPECT_EQ(sound_volume_pct, 5);
    EXPECT_EQ(music_volume_pct, 100);
    EXPECT_FLOAT_EQ(dead_zone, 0.37f);
    EXPECT_EQ(button_shoot, 11);
    EXPECT_EQ(button_bomb, 12);
    EXPECT_EQ(button_focus, 13);
    EXPECT_EQ(button_special, 14);
    EXPECT_EQ(button_pause, 15);
    EXPECT_EQ(button_spare, 16);
    EXPECT_EQ(special_focuses, 1);
    EXPECT_EQ(language, 1);
    EXPECT_FLOAT_EQ(sound_volume, 0.05f);
    EXPECT_FLOAT_EQ(music_volume, 1.0f);
}

TEST_F(Config_File, RejectsOtherVersionsAndSizes) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> v90 = default_bytes;
    v90[0] = 90;
    std::vector<uint8_t> short_file(default_bytes.begin(), default_bytes.end() - 1);
    std::vector<uint8_t> long_file = default_bytes;
    long_file.push_back(0);
    for (const Case& c : {Case{"version 90", v90}, Case{"32 bytes", short_file},
                          Case{"34 bytes", long_file}, Case{"empty", {}}}) {
        Scratch_Dir::write("config.dat", c.bytes);
        EXPECT_FALSE(config_valid()) << c.what;
        hi_score = 123;
        load_config();
        EXPECT_EQ(hi_score, 123u) << c.what << ": an invalid file is not read";
    }
    std::filesystem::remove("config.dat");
    EXPECT_FALSE(config_valid());
}

TEST_F(Config_File, SignedBytesAndFlagsLoadAsStored) {
    std::vector<uint8_t> b = default_bytes;
    b[4] = 0x7f;   // fullscreen: any non-zero is 1
    b[18] = 0x20;  // spare flag likewise
    b[25] = 200;   // a button above 127 comes back negative
    Scratch_Dir::write("config.dat", b);
    load_config();
    EXPECT_EQ(fullscreen, 1);
    EXPECT_EQ(spare_flag, 1);
    EXPECT_EQ(button_shoot, 200 - 256);
    save_config();
    std::vector<uint8_t> again = Scratch_Dir::read("config.dat");
    EXPECT_EQ(again[4], 1);
    EXPECT_EQ(again[18], 1);
    EXPECT_EQ(again[25], 200);
}

TEST_F(Config_File, DamagedValuesAreBroughtIntoTheirRanges) {
    std::vector<uint8_t> b = default_bytes;
    b[17] = 100;   // lives
    b[19] = 0xff;  // sound -1
    b[20] = 127;   // music
    b[21] = 0;
    b[22] = 0;
    b[23] = 0xc0;
    b[24] = 0x7f;  // dead zone NaN
    b[31] = 9;     // special focuses
    b[32] = 7;     // language: anything but 1 is 0
    b[5] = 0;
    b[6] = 0;  // width 0
    Scratch_Dir::write("config.dat", b);
    load_config();
    EXPECT_EQ(start_lives, 5);
    EXPECT_EQ(sound_volume_pct, 0);
    EXPECT_EQ(music_volume_pct, 100);
    EXPECT_FLOAT_EQ(dead_zone, 0.5f);
    EXPECT_EQ(special_focuses, 1);
    EXPECT_EQ(language, 0);
    EXPECT_EQ(config_window_size.width, 640);
}

TEST_F(Config_File, SavingReplacesAnOverlongFileWhole) {
    Scratch_Dir::write("config.dat", std::vector<uint8_t>(100, 0xaa));
    save_config();
    EXPECT_EQ(Scratch_Dir::read("config.dat"), default_bytes);
    // Nothing is left beside it.
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

// The settings file and a replay read the language byte by one rule.
TEST_F(Config_File, LanguageByteIsOneOnlyWhenItIsOne) {
    std::filesystem::create_directory("replay");
    for (uint8_t byte : {0, 1, 2, 7, 0x7f, 0x80, 0xff}) {
        int32_t expected = byte == 1 ? 1 : 0;
        std::vector<uint8_t> b = default_bytes;
        b[32] = byte;
        Scratch_Dir::write("config.dat", b);
        language = 9;
        load_config();
        EXPECT_EQ(language, expected) << "config.dat, byte " << int{byte};

        std::vector<uint8_t> rpy = Replay{}.encode();
        rpy[5] = byte;
        Scratch_Dir::write("replay/mirel.rpy", rpy);
        language = 9;
        ASSERT_TRUE(Replay{}.load("mirel"));
        EXPECT_EQ(language, expected) << "replay, byte " << int{byte};
    }
}

TEST_F(Config_File, AFailedSaveKeepsTheSettingsForTheNextSave) {
    // A folder in the file's place: no save replaces it, whoever runs the game.
    std::filesystem::remove("config.dat");
    std::filesystem::create_directories("config.dat/inside");
    hi_score = 123456;
    ::testing::internal::CaptureStderr();
    EXPECT_NO_THROW(save_config());
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(hi_score, 123456u);
    EXPECT_TRUE(hi_score_unsaved());

    std::filesystem::remove_all("config.dat");
    save_config();
    EXPECT_FALSE(hi_score_unsaved());
    hi_score = 0;
    load_config();
    EXPECT_EQ(hi_score, 123456u);
}

// Runs `body` in a child that has given up root, since root reads every
// file, and answers its exit code (-1 when it did not exit) with what it
// wrote on stderr. Exit code 3: root could not be given up here.
int without_root(const std::function<int()>& body, std::string& said) {
    int err[2];
    if (pipe(err) != 0) return -1;
    pid_t child = fork();
    if (child == -1) return -1;
    if (child == 0) {
        dup2(err[1], 2);
        if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
        int code = 64;
        try {
            code = body();
        } catch (...) {
        }
        _exit(code);
    }
    close(err[1]);
    char buf[256];
    for (ssize_t n; (n = read(err[0], buf, sizeof buf)) > 0;) said.append(buf, static_cast<size_t>(n));
    close(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Files the player cannot read (made by another user, say) must not stop the
// game, nor lose what they hold: the settings start from the defaults, in
// memory, with one line on stderr, and no save of that run (the defaults at
// start, a changed setting, a new best score, the end) writes over the file;
// the replay entry refuses the replay with a log line.
TEST_F(Config_File, FilesThatCannotBeReadStartFromTheDefaultsAndAreKept) {
    hi_score = 777777;
    save_config();
    const std::vector<uint8_t> theirs = Scratch_Dir::read("config.dat");
    Replay r;
    r.record_frame(Replay_Frame{});
    r.save("mirel");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(dir.path() / "replay", std::filesystem::perms::all);
    std::filesystem::permissions("config.dat", std::filesystem::perms::none);
    std::filesystem::permissions("replay/mirel.rpy", std::filesystem::perms::none);
    std::string said;
    int code = without_root(
        [] {
            int code = 0;
            hi_score = 1;
            // As the start-up does: the file is not valid, so the defaults.
            if (config_valid()) code |= 8;
            load_config();
            if (hi_score != 1) code |= 8;
            reset_config_defaults();
            if (hi_score != 9999 || language != 0) code |= 8;
            // A setting changed, a new best score and the end each save.
            language = 1;
            save_config();
            hi_score = 5000000;
            save_config();
            save_config();
            std::vector<std::string> lines;
            sdk::set_log_sink([&](const std::string& c, const std::string& t) {
                lines.push_back(c + ": " + t);
            });
            if (Replay{}.load("mirel")) code |= 16;
            if (lines.size() != 1 ||
                lines[0].find("SYSTEM: Replay replay/mirel.rpy not loaded: Unable to open file: "
                              "replay/mirel.rpy (Permission denied)") != 0)
                code |= 32;
            return code;
        },
        said);
    if (code == 3) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(code, 0) << "8: settings read or not the defaults, 16: replay read, 32: no log "
                          "line, 64: an exception escaped";
    EXPECT_EQ(said,
              "Unable to open file: config.dat (Permission denied); the settings start from the "
              "defaults and are not saved over it\n");
    std::filesystem::permissions("config.dat", std::filesystem::perms::owner_read);
    EXPECT_EQ(Scratch_Dir::read("config.dat"), theirs) << "the file was written over";
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2u) << "config.dat and replay, and nothing left beside them";
}

// A file that can be read but is damaged is still replaced by the defaults.
TEST_F(Config_File, ADamagedFileIsReplacedByTheDefaults) {
    Scratch_Dir::write("config.dat", std::vector<uint8_t>(33, 0xaa));
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(config_valid());
    reset_config_defaults();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Scratch_Dir::read("config.dat"), default_bytes);
}

}  // namespace
