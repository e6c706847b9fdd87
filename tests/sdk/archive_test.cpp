// The resource archive read through PhysicsFS: a small zip written by the test
// itself (stored entries, no compression), with a document, a nested file and
// a picture-sized binary; and zips of entries that cannot be read: a damaged
// one and links, one of them claiming more than PhysicsFS may ask for.
#include <gtest/gtest.h>
#include <physfs.h>

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

// An entry of a zip: a file, or a symbolic link as a Unix zip tool stores one
// (its data the target's path). Its data is stored as it is, or is already a
// deflate stream; the headers state the data's size as the entry's unless
// `stated_size` says otherwise.
struct Zip_Entry {
    std::string name, data;
    bool link = false;
    bool deflated = false;
    uint32_t stated_size = 0;
    bool damaged = false;  // its local header does not begin with its signature
};

// `data` as a deflate stream of one stored block.
std::string deflate_stored(const std::string& data) {
    std::string out(1, '\x01');  // the final block, stored
    put16(out, static_cast<uint32_t>(data.size()));
    put16(out, static_cast<uint32_t>(~data.size() & 0xffff));
    return out + data;
}

// A zip of the entries: local headers and data, then the central directory.
std::string make_zip(const std::vector<Zip_Entry>& files) {
    std::string out, central;
    for (const Zip_Entry& entry : files) {
        const std::string& name = entry.name;
        const std::string& data = entry.data;
        uint32_t offset = static_cast<uint32_t>(out.size()), crc = crc32(data);
        auto common = [&](std::string& s) {
            put16(s, 20);                      // version needed
            put16(s, 0);                       // flags
            put16(s, entry.deflated ? 8 : 0);  // method
            put16(s, 0);                       // time
            put16(s, 0x21);                    // date (1980-01-01)
            put32(s, crc);
            put32(s, static_cast<uint32_t>(data.size()));
            put32(s, entry.stated_size ? entry.stated_size : static_cast<uint32_t>(data.size()));
            put16(s, static_cast<uint32_t>(name.size()));
            put16(s, 0);  // extra
        };
        put32(out, entry.damaged ? 0x04034b51 : 0x04034b50);
        common(out);
        out += name;
        out += data;
        put32(central, 0x02014b50);
        put16(central, entry.link ? 0x0314 : 20);  // made by (0x03..: on Unix)
        common(central);
        put16(central, 0);  // comment
        put16(central, 0);  // disk
        put16(central, 0);  // internal attributes
        // External attributes: a Unix tool's hold the mode, here a link's.
        put32(central, entry.link ? 0120777u << 16 : 0);
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

// No entry the game cannot read is there to it: each fails to open like a
// missing one. A link is refused as a link (the game follows none). One whose
// target's path claims more than the 128 MiB PhysicsFS may ask for is not
// even read: it fails as a damaged entry does, and would be refused as a link
// if PhysicsFS had been given the memory. Both claims are of a path held in a
// stream of a few bytes.
TEST(Archive_Unreadable_Entries, FailToOpenLikeMissingOnes) {
    constexpr uint32_t mib = 1u << 20;
    const std::string target = deflate_stored(std::string("images/ring.png") + '\0');
    struct Row {
        Zip_Entry entry;
        PHYSFS_ErrorCode reason;
    };
    const Row rows[] = {
        {{.name = "damaged.png", .data = "a picture", .damaged = true}, PHYSFS_ERR_CORRUPT},
        {{.name = "link.png", .data = "images/ring.png", .link = true},
         PHYSFS_ERR_SYMLINK_FORBIDDEN},
        {{.name = "link_of_1_mib.png",
          .data = target,
          .link = true,
          .deflated = true,
          .stated_size = mib},
         PHYSFS_ERR_SYMLINK_FORBIDDEN},
        {{.name = "link_past_128_mib.png",
          .data = target,
          .link = true,
          .deflated = true,
          .stated_size = 128 * mib + 1},
         PHYSFS_ERR_CORRUPT},
    };
    std::vector<Zip_Entry> entries{{"images/ring.png", std::string(1000, 'r')}};
    for (const Row& row : rows) entries.push_back(row.entry);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("mirel_unreadable_" + std::to_string(::getpid()) + ".res"))
                                 .string();
    std::ofstream(path, std::ios::binary) << make_zip(entries);
    struct Removed {
        const std::string& path;
        ~Removed() {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    } removed{path};
    sdk::File_System fs(path);
    ASSERT_EQ(fs.read_file("images/ring.png", sdk::Entry_Kind::picture).size(), 1000u);
    for (const Row& row : rows) {
        const std::string& name = row.entry.name;
        SCOPED_TRACE(name);
        EXPECT_FALSE(fs.has_file(name));
        PHYSFS_getLastErrorCode();
        try {
            fs.open_file(name, sdk::Entry_Kind::picture);
            ADD_FAILURE() << "opened";
        } catch (const sdk::Exception& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to open file: " + name);
        }
        PHYSFS_ErrorCode reason = PHYSFS_getLastErrorCode();
        EXPECT_EQ(reason, row.reason) << "PhysicsFS says \"" << PHYSFS_getErrorByCode(reason)
                                      << "\", not \"" << PHYSFS_getErrorByCode(row.reason) << "\"";
    }
}

}  // namespace
