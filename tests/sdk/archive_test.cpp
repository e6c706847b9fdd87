// The resource archive read through PhysicsFS: a small zip written by the test
// itself (stored entries, no compression), with a document, a nested file and
// a picture-sized binary.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sdk/core/exception.h"
#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"

namespace {

uint32_t crc32(const std::string& data) {
    uint32_t c = 0xffffffffu;
    for (unsigned char b : data) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
    }
    return ~c;
}

void put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xff);
    s += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}

// A zip of stored entries: local headers and data, then the central directory.
std::string make_zip(const std::vector<std::pair<std::string, std::string>>& files) {
    std::string out, central;
    for (const auto& [name, data] : files) {
        uint32_t offset = static_cast<uint32_t>(out.size()), crc = crc32(data);
        auto common = [&](std::string& s) {
            put16(s, 20);  // version needed
            put16(s, 0);   // flags
            put16(s, 0);   // stored
            put16(s, 0);   // time
            put16(s, 0x21);  // date (1980-01-01)
            put32(s, crc);
            put32(s, static_cast<uint32_t>(data.size()));
            put32(s, static_cast<uint32_t>(data.size()));
            put16(s, static_cast<uint32_t>(name.size()));
            put16(s, 0);  // extra
        };
        put32(out, 0x04034b50);
        common(out);
        out += name;
        out += data;
        put32(central, 0x02014b50);
        put16(central, 20);  // made by
        common(central);
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        put32(central, 0);  // external attributes
        put32(central, offset);
        central += name;
    }
    uint32_t central_offset = static_cast<uint32_t>(out.size());
    out += central;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<uint32_t>(files.size()));
    put16(out, static_cast<uint32_t>(files.size()));
    put32(out, static_cast<uint32_t>(central.size()));
    put32(out, central_offset);
    put16(out, 0);
    return out;
}

// A handle held by a global until the program ends, as the sound manager
// holds the archive: built before the platform's own statics, it is released
// after them, and its release must not touch what they were.
sdk::File_System kept_until_exit;

class Archive_Test : public ::testing::Test {
protected:
    void SetUp() override {
        path = (std::filesystem::temp_directory_path() /
                ("mirel_archive_" + std::to_string(::getpid()) + ".res")).string();
        std::string binary;
        for (int i = 0; i < 1000; ++i) binary += static_cast<char>(i * 7);
        std::ofstream(path, std::ios::binary) << make_zip({
            {"mirel.xml", R"(<resources><sprite name="ring1"><image file="images/ring.png"/></sprite>
                             <section name="menu"><image name="logo" file="images/logo.png"/></section>
                             <option name="dialog_open_time" value="300"/></resources>)"},
            {"images/ring.png", binary},
            {"broken.xml", "<resources>\n  <sprite name='x'>\n</resources>"},
        });
    }
    void TearDown() override { std::filesystem::remove(path); }
    std::string path;
};

TEST_F(Archive_Test, FilesOpenAsSeekableDevices) {
    sdk::File_System fs(path);
    EXPECT_TRUE(fs.has_file("images/ring.png"));
    EXPECT_TRUE(fs.has_file("./images/ring.png"));
    EXPECT_TRUE(fs.has_file("images\\ring.png"));
    EXPECT_FALSE(fs.has_file("images"));
    auto f = fs.open_file("images/ring.png", sdk::Entry_Kind::picture);
    EXPECT_EQ(f->get_size(), 1000);
    ASSERT_TRUE(f->seek(500, sdk::Seek_Mode::set));
    EXPECT_EQ(f->read_uint8(), static_cast<uint8_t>(500 * 7));
    EXPECT_EQ(f->get_position(), 501);
    ASSERT_TRUE(f->seek(-4, sdk::Seek_Mode::end));
    EXPECT_NO_THROW(f->read_uint32());
    EXPECT_THROW(f->read_uint8(), sdk::Exception);  // past the end
    EXPECT_FALSE(f->seek(1, sdk::Seek_Mode::end));
    try {
        fs.open_file("sounds/none.ogg", sdk::Entry_Kind::sound);
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to open file: sounds/none.ogg");
    }
}

TEST_F(Archive_Test, DocumentsFromTheArchive) {
    sdk::File_System fs(path);
    sdk::Resource_Document doc(fs, "mirel.xml");
    EXPECT_EQ(doc.get_resource_names_of_type("sprite"), std::vector<std::string>{"ring1"});
    EXPECT_EQ(doc.get_resource_names_of_type("image"), std::vector<std::string>{"menu/logo"});
    EXPECT_EQ(doc.get_resource("dialog_open_time").element.get_attribute_int("value"), 300);
    sdk::Dom_Element ring = doc.get_resource("ring1").element;
    EXPECT_EQ(ring.select_node("image").get_attribute("file"), "images/ring.png");
    EXPECT_TRUE(ring.select_nodes("grid").empty());
    try {
        ring.select_node("grid");
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Xpath did not match any node: grid");
    }
    try {
        sdk::Resource_Document broken(fs, "broken.xml");
        ADD_FAILURE();
    } catch (const sdk::Exception& e) {
        std::string m = e.what();
        EXPECT_EQ(m.rfind("broken.xml: XML error at line 3, column ", 0), 0u) << m;
    }
}

TEST_F(Archive_Test, AHandleHeldUntilExitIsReleasedSafely) {
    kept_until_exit = sdk::File_System(path);
    sdk::File_System second(path);
    EXPECT_TRUE(kept_until_exit.has_file("mirel.xml"));
}

}  // namespace
