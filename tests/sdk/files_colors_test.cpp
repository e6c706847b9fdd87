#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "sdk/core/color.h"
#include "sdk/core/exception.h"
#include "sdk/core/io_device.h"
#include "sdk/core/local_file.h"
#include "sdk/core/log.h"
#include "sdk/core/string_help.h"

namespace {

TEST(Color_Text, NamesAndHex) {
    struct Case { const char* text; sdk::Color color; };
    const Case cases[] = {
        {"white", {255, 255, 255, 255}}, {"Black", {0, 0, 0, 255}},  {"darkred", {139, 0, 0, 255}},
        {"#102030", {16, 32, 48, 255}},  {"#10203040", {16, 32, 48, 64}}, {"#aBcDeF", {171, 205, 239, 255}},
        {"transparent", {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        sdk::Color got;
        ASSERT_TRUE(sdk::find_color(c.text, got)) << c.text;
        EXPECT_EQ(got, c.color) << c.text;
    }
    sdk::Color unchanged(1, 2, 3, 4);
    EXPECT_FALSE(sdk::find_color("no such colour", unchanged));
    EXPECT_EQ(unchanged, sdk::Color(1, 2, 3, 4));
    EXPECT_EQ(sdk::color_from_hex("ff8000"), sdk::Color(255, 128, 0, 255));
}

TEST(Color_Text, BadHexIsReportedWithTheText) {
    for (const char* bad : {"#12345", "#1234567", "#gg0000", "#", "", "red"}) {
        try {
            sdk::color_from_hex(bad);
            ADD_FAILURE() << bad;
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Bad hex color string: ") + bad);
        }
    }
    sdk::Color c;
    EXPECT_THROW(sdk::find_color("#12", c), sdk::Exception);
}

// A device that states far more bytes than it holds, as a damaged zip entry
// header does: reading it whole takes only what arrives.
TEST(IO_Device, ReadingAllTrustsTheBytesNotTheStatedSize) {
    struct Liar : sdk::IO_Device {
        Liar() : sdk::IO_Device("liar.bin") {}
        int64_t pos = 0;
        size_t read(void* data, size_t size) override {
            size_t n = std::min<size_t>(size, pos < 3 ? static_cast<size_t>(3 - pos) : 0);
            std::memset(data, 7, n);
            pos += static_cast<int64_t>(n);
            return n;
        }
        bool seek(int64_t, sdk::Seek_Mode) override { return false; }
        int64_t get_size() const override { return int64_t{1} << 62; }
        int64_t get_position() const override { return pos; }
    } liar;
    EXPECT_EQ(liar.read_all(), (std::vector<uint8_t>{7, 7, 7}));
}

TEST(IO_Device, TypedValuesAreLittleEndianAndShortReadsThrow) {
    sdk::Memory_Device m;
    m.write_int8(-5);
    m.write_uint8(200);
    m.write_int32(-123456);
    m.write_uint32(0xdeadbeefu);
    m.write_uint64(0x0102030405060708ull);
    m.write_float(1.5f);
    ASSERT_EQ(m.get_size(), 1 + 1 + 4 + 4 + 8 + 4);
    EXPECT_EQ(m.bytes()[10], 0x08);  // lowest byte of the u64 first
    EXPECT_EQ(m.bytes()[17], 0x01);
    ASSERT_TRUE(m.seek(0, sdk::Seek_Mode::set));
    EXPECT_EQ(m.read_int8(), -5);
    EXPECT_EQ(m.read_uint8(), 200);
    EXPECT_EQ(m.read_int32(), -123456);
    EXPECT_EQ(m.read_uint32(), 0xdeadbeefu);
    EXPECT_EQ(m.read_uint64(), 0x0102030405060708ull);
    EXPECT_EQ(m.read_float(), 1.5f);
    EXPECT_EQ(m.get_position(), m.get_size());
    try {
        m.read_uint8();
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unexpected end of file: memory");
    }
    ASSERT_TRUE(m.seek(-2, sdk::Seek_Mode::end));
    EXPECT_THROW(m.read_uint32(), sdk::Exception);
}

class Local_File_Test : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("mirel_local_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        old = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    void TearDown() override {
        std::filesystem::current_path(old);
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir, old;
};

TEST_F(Local_File_Test, SafeSaveReplacesWholeAndLeavesNoTemporaryFile) {
    sdk::Local_File_Writer w("config.dat");
    w.write_int32(91);
    w.write_uint8(1);
    EXPECT_FALSE(sdk::local_file_exists("config.dat"));  // nothing on disk before commit
    w.commit();
    EXPECT_EQ(sdk::local_file_size("config.dat"), 5);
    auto f = sdk::open_local_file("config.dat");
    EXPECT_EQ(f->read_int32(), 91);
    EXPECT_EQ(f->read_uint8(), 1);
    EXPECT_THROW(f->read_uint8(), sdk::Exception);

    sdk::save_file_safely("config.dat", std::vector<uint8_t>{7});
    EXPECT_EQ(sdk::local_file_size("config.dat"), 1);
    std::vector<std::string> names;
    ASSERT_TRUE(sdk::Directory::scan(".", names));
    EXPECT_EQ(names, std::vector<std::string>{"config.dat"});
}

TEST_F(Local_File_Test, FailedSaveKeepsTheOldFile) {
    sdk::save_file_safely("keep.dat", std::vector<uint8_t>{1, 2, 3});
    // A target that cannot be replaced: a folder of that name.
    std::filesystem::create_directories("busy.dat/inside");
    EXPECT_THROW(sdk::save_file_safely("busy.dat", std::vector<uint8_t>{9}), sdk::Exception);
    EXPECT_THROW(sdk::save_file_safely("no_folder/x.dat", std::vector<uint8_t>{9}), sdk::Exception);
    EXPECT_EQ(sdk::local_file_size("keep.dat"), 3);
    std::vector<std::string> names;
    ASSERT_TRUE(sdk::Directory::scan(".", names));
    EXPECT_EQ(names, (std::vector<std::string>{"busy.dat", "keep.dat"}));
}

// The id of a process that has ended and been reaped: no process runs under
// it until the kernel has handed out every other id.
pid_t ended_process_id() {
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

// A save removes what the saves of ended processes left, and nothing of a
// process that runs: another copy of the game in the middle of its save.
TEST_F(Local_File_Test, SavingRemovesTemporaryFilesOfSavesThatNoLongerRun) {
    pid_t running = ::fork();
    ASSERT_GE(running, 0);
    if (running == 0) {
        ::pause();
        ::_exit(0);
    }
    const std::string ended = std::to_string(ended_process_id());
    const std::string live = std::to_string(running);
    struct Leftover {
        std::string name;
        bool removed;  // by the saves of "config.dat" and "replay\\mirel.rpy"
    };
    const Leftover leftovers[] = {
        {"config.dat.tmp" + ended, true},
        {"replay/mirel.rpy.tmp" + ended, true},
        {"config.dat.tmp0", true},            // no process has the id 0
        {"config.dat.tmp12345678901", true},  // nor one this long
        {"config.dat.tmp" + live, false},
        {"replay/mirel.rpy.tmp" + live, false},
        {"config.dat.tmp1", false},  // the first process always runs
        {"config.dat.tmp", false},
        {"config.dat.tmp12x", false},
        {"other.dat.tmp5", false},
        {"replay/config.dat.tmp3", false},
        {"config.dat.tmp9.png", false},
    };
    std::filesystem::create_directory("replay");
    for (const Leftover& l : leftovers) std::ofstream(l.name) << "half";
    sdk::save_file_safely("config.dat", std::vector<uint8_t>{1});
    sdk::save_file_safely("replay\\mirel.rpy", std::vector<uint8_t>{2});
    for (const Leftover& l : leftovers)
        EXPECT_EQ(std::filesystem::exists(l.name), !l.removed) << l.name;

    // Once that process has ended, the next save removes what it left.
    ::kill(running, SIGKILL);
    ::waitpid(running, nullptr, 0);
    sdk::save_file_safely("config.dat", std::vector<uint8_t>{3});
    EXPECT_FALSE(std::filesystem::exists("config.dat.tmp" + live));
}

TEST_F(Local_File_Test, DirectoriesAndBackslashNames) {
    std::vector<std::string> names;
    EXPECT_FALSE(sdk::Directory::scan("screenshot", names));
    EXPECT_TRUE(sdk::Directory::create("screenshot"));
    EXPECT_TRUE(sdk::Directory::create("screenshot"));  // already there is fine
    EXPECT_FALSE(sdk::Directory::create("a/b"));        // not recursive
    try {
        sdk::Directory::make("a/b");
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to make folder: a/b (No such file or directory)");
    }
    EXPECT_NO_THROW(sdk::Directory::make("screenshot"));
    sdk::save_file_safely("screenshot\\mirel000001.png", std::vector<uint8_t>{1});
    ASSERT_TRUE(sdk::Directory::scan("screenshot\\", names));
    EXPECT_EQ(names, std::vector<std::string>{"mirel000001.png"});
    try {
        sdk::open_local_file("replay/mirel.rpy");
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to open file: replay/mirel.rpy");
    }
    EXPECT_THROW(sdk::open_local_file("screenshot"), sdk::Exception);  // a folder is no file
}

TEST(Log, SinkSeesFormattedLines) {
    std::vector<std::string> lines;
    auto old = sdk::set_log_sink([&](const std::string& c, const std::string& t) { lines.push_back(c + ":" + t); });
    EXPECT_TRUE(sdk::log_enabled("Debug"));
    sdk::log_event("Debug", "Scale = %1, screen size: %2, %3", 1.5f, 960, 720);
    sdk::set_log_sink(old);
    EXPECT_EQ(lines, std::vector<std::string>{"Debug:Scale = 1.5, screen size: 960, 720"});
}

}  // namespace

namespace {

TEST(String_Help, ConversionsAsTheDocumentsUseThem) {
    struct Case { const char* text; int i; float f; };
    const Case cases[] = {
        {"3.7", 3, 3.7f},  {" 12x", 12, 12.0f}, {"\t\n 8", 8, 8.0f}, {"+4", 4, 4.0f},
        {"-0.5", 0, -0.5f}, {"1e3", 1, 1000.0f}, {".25", 0, 0.25f},  {"x1", 0, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sdk::text_to_int(c.text), c.i) << c.text;
        EXPECT_FLOAT_EQ(sdk::text_to_float(c.text), c.f) << c.text;
    }
    EXPECT_EQ(sdk::trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(sdk::trim("\r\n\t "), "");
    EXPECT_EQ(sdk::split_text(",1,,2,", ","), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(sdk::split_text("a,,b", ",", false), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(sdk::int_to_text(-42), "-42");
}

}  // namespace

namespace {

// MIREL_LOG is read once, at the first line: each case runs in a fresh
// process of its own with the variable set first. Only the wanted lines reach
// stderr, whole.
void log_three_lines(const char* choice) {
    if (choice)
        setenv("MIREL_LOG", choice, 1);
    else
        unsetenv("MIREL_LOG");
    sdk::log_event("Debug", "Scale = %1", 2.25f);
    sdk::log_event("SYSTEM", "Display setup succeeded");
    sdk::log_event("Enemies", "%1 alive", 3);
    std::exit(0);
}

TEST(Log, StderrCarriesOnlyTheCategoriesMirelLogNames) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(log_three_lines(nullptr), ::testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(log_three_lines("SYSTEM, Enemies"), ::testing::ExitedWithCode(0),
                "^\\[SYSTEM\\] Display setup succeeded\n\\[Enemies\\] 3 alive\n$");
    EXPECT_EXIT(log_three_lines("all"), ::testing::ExitedWithCode(0),
                "^\\[Debug\\] Scale = 2.25\n\\[SYSTEM\\] Display setup succeeded\n\\[Enemies\\] 3 alive\n$");
}

}  // namespace
