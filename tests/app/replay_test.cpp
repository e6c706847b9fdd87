#include "app/replay.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>

#include "sdk/core/log.h"
#include "tests/common/scratch_dir.h"
#include "world/settings.h"

namespace {

class Replay_File : public ::testing::Test {
protected:
    void SetUp() override {
        game_version = 91;
        language = 0;
        replay_option_a = 0;
        replay_option_b = 1;
        r.clear();
    }
    static Replay_Frame frame(float dt, float x, uint8_t focus, uint8_t shoot, uint8_t special,
                              uint8_t bomb) {
        Replay_Frame f;
        f.dt = dt;
        f.x = x;
        f.y = x * 2;
        f.angle = 0.25f;
        f.focus = focus;
        f.shoot = shoot;
        f.special = special;
        f.bomb = bomb;
        return f;
    }
    Scratch_Dir dir;
    Replay r;
};

TEST_F(Replay_File, RoundTripKeepsRecordsHeaderAndLanguage) {
    r.record_frame(frame(16, 100, 1, 0, 0, 0));
    r.mark_dialog_advance();
    r.record_frame(frame(17, 101, 0, 1, 1, 1));
    r.record_frame(frame(15.5f, 102, 0, 0, 0, 0));
    language = 1;
    replay_option_a = -3;
    r.save("mirel");
    ASSERT_TRUE(std::filesystem::exists("replay/mirel.rpy"));
    EXPECT_EQ(std::filesystem::file_size("replay/mirel.rpy"), 15u + 17u * 3u);

    language = 0;
    replay_option_a = 0;
    Replay loaded;
    ASSERT_TRUE(loaded.load("mirel"));
    EXPECT_EQ(language, 1) << "a replay recorded in language 1 switches the language to 1";
    EXPECT_EQ(replay_option_a, -3);
    ASSERT_EQ(loaded.replay_frames.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        const Replay_Frame& a = r.replay_frames[k];
        const Replay_Frame& b = loaded.replay_frames[k];
        EXPECT_EQ(a.dt, b.dt);
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
        EXPECT_EQ(a.angle, b.angle);
        EXPECT_EQ(a.focus, b.focus);
        EXPECT_EQ(a.shoot, b.shoot);
        EXPECT_EQ(a.special, b.special);
        EXPECT_EQ(a.bomb, b.bomb);
        EXPECT_EQ(a.advance, b.advance);
    }
    EXPECT_EQ(loaded.replay_frames[1].advance, 1)
        << "the advance mark goes with the next record only";
    EXPECT_EQ(loaded.replay_frames[2].advance, 0);
}

TEST_F(Replay_File, FlagBitsPutBombBeforeSpecial) {
    struct Case {
        Replay_Frame f;
        uint8_t byte;
    };
    Replay_Frame adv;
    adv.advance = 1;
    for (const Case& c : {Case{frame(0, 0, 1, 0, 0, 0), 1}, Case{frame(0, 0, 0, 1, 0, 0), 2},
                          Case{frame(0, 0, 0, 0, 0, 1), 4}, Case{frame(0, 0, 0, 0, 1, 0), 8},
                          Case{adv, 16}, Case{frame(0, 0, 1, 1, 1, 1), 15}}) {
        Replay one;
        one.replay_frames.push_back(c.f);
        std::vector<uint8_t> bytes = one.encode();
        ASSERT_EQ(bytes.size(), 32u);
        EXPECT_EQ(bytes[31], c.byte);
    }
}

// A replay is watched with the lives its game began with, whatever the lives
// option says by then; a file that holds none (written before, or with a
// number no menu gives) is watched with the option's.
TEST_F(Replay_File, IsWatchedWithTheLivesItsGameBeganWith) {
    struct Case {
        const char* what;
        int32_t lives_of_the_game;  // -1: byte 4 as the case's `byte`
        uint8_t byte;
        int32_t lives_option_when_watching, watched_with;
    };
    const Case cases[] = {
        {"a game of 5 lives, watched with the option at 1", 5, 0, 1, 5},
        {"a game of 1 life, watched with the option at 3", 1, 0, 3, 1},
        {"a file holding no lives", -1, 0, 4, 4},
        {"a file holding 6", -1, 6, 2, 2},
        {"a file holding -1", -1, 0xff, 2, 2},
    };
    for (const Case& c : cases) {
        start_lives = c.lives_of_the_game < 0 ? 3 : c.lives_of_the_game;
        r.start_recording();
        r.record_frame(frame(16, 100, 0, 1, 0, 0));
        std::vector<uint8_t> bytes = r.encode();
        if (c.lives_of_the_game < 0) bytes[4] = c.byte;
        start_lives = c.lives_option_when_watching;
        Replay loaded;
        ASSERT_TRUE(loaded.decode(bytes)) << c.what;
        EXPECT_EQ(replay_start_lives(), c.watched_with) << c.what;
        EXPECT_EQ(start_lives, c.lives_option_when_watching) << c.what << ": the option stays";
    }
    start_lives = 3;
}

TEST_F(Replay_File, HeaderIsLittleEndian) {
    r.record_frame(frame(1.0f, 0, 0, 0, 0, 0));
    std::vector<uint8_t> b = r.encode();
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 15),
              (std::vector<uint8_t>{91, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
    // dt 1.0f = 0x3f800000.
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 15, b.begin() + 19),
              (std::vector<uint8_t>{0, 0, 0x80, 0x3f}));
}

TEST_F(Replay_File, EmptyReplayLoadsAndPlaysOneStillFrame) {
    r.save("mirel");
    EXPECT_EQ(std::filesystem::file_size("replay/mirel.rpy"), 15u);
    Replay loaded;
    ASSERT_TRUE(loaded.load("mirel"));
    loaded.rewind();
    Replay_Frame start = frame(9, 255, 0, 1, 0, 0);
    Replay_Frame f = loaded.current_frame(start);
    EXPECT_EQ(f.dt, 0.0f);
    EXPECT_EQ(f.x, 255.0f);
    EXPECT_FALSE(loaded.advance()) << "the one frame is also the last";
}

TEST_F(Replay_File, PlaybackVisitsEveryRecordOnce) {
    for (int k = 0; k < 4; ++k) r.record_frame(frame(16, static_cast<float>(k), 0, 0, 0, 0));
    r.rewind();
    int played = 0;
    do {
        EXPECT_EQ(r.current_frame({}).x, static_cast<float>(played));
        ++played;
    } while (r.advance());
    EXPECT_EQ(played, 4);
}

TEST_F(Replay_File, BrokenFilesAreRefusedAndChangeNothing) {
    for (int k = 0; k < 2; ++k) r.record_frame(frame(16, 1, 0, 0, 0, 0));
    std::vector<uint8_t> good = r.encode();

    std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
    std::vector<uint8_t> huge_count = good;
    huge_count.at(7) = 0xff;
    huge_count.at(14) = 0xff;
    std::vector<uint8_t> other_version = good;
    other_version[0] = 90;
    std::vector<uint8_t> header_only(good.begin(), good.begin() + 10);
    // The second record's step, then its x, made numbers no frame has.
    auto with_float = [&](size_t offset, float value) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(bytes.data() + replay_header_bytes + replay_record_bytes + offset, &value, 4);
        return bytes;
    };
    std::vector<uint8_t> nan_step = with_float(0, std::numeric_limits<float>::quiet_NaN());
    std::vector<uint8_t> endless_step = with_float(0, std::numeric_limits<float>::infinity());
    std::vector<uint8_t> huge_step = with_float(0, 1e30f);
    std::vector<uint8_t> infinite_x = with_float(4, -std::numeric_limits<float>::infinity());
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::string why;  // the reason the log gives
    };
    std::vector<std::string> lines;
    auto old_sink = sdk::set_log_sink(
        [&](const std::string& c, const std::string& t) { lines.push_back(c + ": " + t); });
    std::filesystem::create_directory("replay");
    for (const Case& c :
         {Case{"truncated", truncated, "it counts 2 frames but holds 1"},
          Case{"count no file holds", huge_count,
               "it counts 18374686479671623935 frames but holds 2"},
          Case{"other version", other_version, "version 90, this game reads version 91"},
          Case{"cut inside the header", header_only,
               "the file is 10 bytes, shorter than its header"},
          Case{"NaN step", nan_step, "frame 1 has a step of nan ms"},
          Case{"infinite step", endless_step, "frame 1 has a step of inf ms"},
          Case{"step of 1e30 ms", huge_step, "frame 1 has a step of 1e+30 ms"},
          Case{"infinite x", infinite_x, "frame 1 holds a number that is not finite"}}) {
        Scratch_Dir::write("replay/mirel.rpy", c.bytes);
        Replay kept;
        kept.replay_frames.push_back(frame(3, 3, 0, 0, 0, 0));
        language = 1;
        replay_option_b = 5;
        lines.clear();
        EXPECT_FALSE(kept.load("mirel")) << c.what;
        EXPECT_EQ(kept.replay_frames.size(), 1u) << c.what;
        EXPECT_EQ(language, 1) << c.what;
        EXPECT_EQ(replay_option_b, 5) << c.what;
        EXPECT_EQ(lines,
                  std::vector<std::string>{"SYSTEM: Replay replay/mirel.rpy not loaded: " + c.why})
            << c.what;
    }
    std::filesystem::remove("replay/mirel.rpy");
    lines.clear();
    EXPECT_FALSE(r.load("mirel"));
    EXPECT_EQ(lines, std::vector<std::string>{
                         "SYSTEM: Replay replay/mirel.rpy not loaded: there is no such file"});
    sdk::set_log_sink(old_sink);
}

TEST_F(Replay_File, SavingAfterALongerReplayLeavesNoTail) {
    for (int k = 0; k < 10; ++k) r.record_frame(frame(16, 1, 0, 0, 0, 0));
    r.save("mirel");
    r.clear();
    r.record_frame(frame(16, 1, 0, 0, 0, 0));
    r.save("mirel");
    EXPECT_EQ(std::filesystem::file_size("replay/mirel.rpy"), 32u);
}

}  // namespace
