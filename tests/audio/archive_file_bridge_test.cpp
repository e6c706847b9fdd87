#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "audio/archive_file_bridge.h"
#include "sound_files.h"

namespace {

using sound_files::Bytes;

class Archive_File_Bridge_Test : public ::testing::Test {
protected:
    void SetUp() override {
        bytes.resize(1000);
        std::iota(bytes.begin(), bytes.end(), 0);  // byte i holds i mod 256
        sound_files::write_zip(dir / "test.res", {{"music/track.bin", bytes}});
        factory = new FileFactory(sdk::File_System((dir / "test.res").string()));
    }
    void TearDown() override {
        if (factory) factory->drop();
    }

    sound_files::Temp_Dir dir{"bridge"};
    Bytes bytes;
    FileFactory* factory = nullptr;
};

TEST_F(Archive_File_Bridge_Test, ReadsSeeksAndKnowsItsName) {
    sdk::File_Reader* reader = factory->create_file_reader("music/track.bin");
    ASSERT_NE(reader, nullptr);
    EXPECT_STREQ(reader->get_file_name(), "music/track.bin");
    EXPECT_EQ(reader->get_size(), 1000);
    EXPECT_EQ(reader->get_pos(), 0);

    uint8_t buffer[600];
    ASSERT_EQ(reader->read(buffer, 10), 10);
    EXPECT_EQ(buffer[9], 9);
    EXPECT_EQ(reader->get_pos(), 10);

    // Relative from the current position, absolute from the start.
    EXPECT_TRUE(reader->seek(100, true));
    EXPECT_EQ(reader->get_pos(), 110);
    ASSERT_EQ(reader->read(buffer, 1), 1);
    EXPECT_EQ(buffer[0], 110);
    EXPECT_TRUE(reader->seek(-11, true));
    EXPECT_EQ(reader->get_pos(), 100);
    EXPECT_TRUE(reader->seek(300, false));
    EXPECT_EQ(reader->get_pos(), 300);
    ASSERT_EQ(reader->read(buffer, 1), 1);
    EXPECT_EQ(buffer[0], 300 % 256);

    // A read past the end answers what there was; leaving the file is refused.
    EXPECT_TRUE(reader->seek(700, false));
    EXPECT_EQ(reader->read(buffer, 600), 300);
    EXPECT_EQ(buffer[299], 999 % 256);
    EXPECT_EQ(reader->read(buffer, 10), 0);
    EXPECT_FALSE(reader->seek(-1, false));
    EXPECT_FALSE(reader->seek(1, true));
    EXPECT_EQ(reader->read(buffer, -1), -1);
    EXPECT_TRUE(reader->drop());
}

TEST_F(Archive_File_Bridge_Test, NamesItCannotOpenAnswerNull) {
    const std::string too_long(k_ReadFile::max_name_length + 1, 'a');
    for (const char* name : {"music/none.ogg", "", "music", too_long.c_str()})
        EXPECT_EQ(factory->create_file_reader(name), nullptr) << name;
    EXPECT_EQ(factory->create_file_reader(nullptr), nullptr);
}

TEST_F(Archive_File_Bridge_Test, ReaderKeepsTheArchiveOpenAfterTheFactoryGoes) {
    sdk::File_Reader* reader = factory->create_file_reader("./music/track.bin");
    ASSERT_NE(reader, nullptr);
    EXPECT_TRUE(factory->drop());
    factory = nullptr;
    uint8_t buffer[4];
    EXPECT_EQ(reader->read(buffer, 4), 4);
    EXPECT_STREQ(reader->get_file_name(), "./music/track.bin");
    reader->drop();
}

TEST(K_ReadFile, KeepsAtMostTheLongestNameAndNeedsADevice) {
    const std::string long_name(2000, 'n');
    k_ReadFile* reader = new k_ReadFile(nullptr, long_name.c_str());
    EXPECT_EQ(std::string(reader->get_file_name()), long_name.substr(0, k_ReadFile::max_name_length));
    uint8_t buffer[4];
    EXPECT_EQ(reader->read(buffer, 4), -1);
    EXPECT_EQ(reader->get_size(), -1);
    EXPECT_EQ(reader->get_pos(), -1);
    EXPECT_FALSE(reader->seek(0, false));
    reader->drop();
}

}  // namespace
