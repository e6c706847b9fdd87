// The archive's shape as the game meets it at start-up: each row rewrites one
// entry of the built archive (sections nested deeper than a document may,
// an entry larger than its kind may be, a value written over two lines, a
// picture that is not there), starts the game on it and reads the one line
// it stops with, or sees it reach the title.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "child_process.h"
#include "tests/common/scratch_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string text_of(const Bytes& b) { return std::string(b.begin(), b.end()); }
Bytes bytes_of(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The built archive, read into memory entry by entry.
std::vector<std::pair<std::string, Bytes>> read_archive(const std::string& path) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!zip) throw std::runtime_error("cannot open " + path);
    std::vector<std::pair<std::string, Bytes>> entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        Bytes bytes(st.size);
        zip_file_t* f = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        if (!f || zip_fread(f, bytes.data(), st.size) != static_cast<zip_int64_t>(st.size))
            throw std::runtime_error(std::string("cannot read ") + st.name);
        zip_fclose(f);
        entries.emplace_back(st.name, std::move(bytes));
    }
    zip_close(zip);
    return entries;
}

void write_archive(const std::string& path,
                   const std::vector<std::pair<std::string, Bytes>>& entries) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) throw std::runtime_error("cannot create " + path);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* src = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        zip_int64_t index = zip_file_add(zip, name.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (index < 0) throw std::runtime_error("cannot add " + name);
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
    }
    if (zip_close(zip) != 0) throw std::runtime_error("cannot write " + path);
}

// `depth` sections, one inside the other, before the document's end; named
// ones hold `inside` in the innermost.
std::function<Bytes(const Bytes&)> nested(int depth, bool named, const std::string& inside = "") {
    return [=](const Bytes& document) {
        std::string text = text_of(document);
        std::string sections;
        for (int i = 0; i < depth; ++i)
            sections +=
                named ? "<section name=\"section_" + std::to_string(i) + "\">" : "<section>";
        sections += inside;
        for (int i = 0; i < depth; ++i) sections += "</section>";
        text.insert(text.rfind("</resources>"), sections);
        return bytes_of(text);
    };
}

// The entry with `more` bytes after it: white space after a document's end,
// zeros after a picture's or a track's.
std::function<Bytes(const Bytes&)> grown(size_t more, uint8_t filler) {
    return [=](const Bytes& entry) {
        Bytes b = entry;
        b.resize(b.size() + more, filler);
        return b;
    };
}

std::function<Bytes(const Bytes&)> replaced(const std::string& from, const std::string& to) {
    return [=](const Bytes& document) {
        std::string text = text_of(document);
        size_t at = text.find(from);
        if (at == std::string::npos) throw std::runtime_error("no " + from);
        return bytes_of(text.replace(at, from.size(), to));
    };
}

constexpr size_t mib = size_t{1} << 20;

TEST(Document_Shape, StartUpLoadsOrStopsWithOneLineNamingTheEntry) {
    using namespace integration_test;
    const auto shipped = read_archive(built_program("mirel.res"));
    auto size_of = [&](const std::string& name) {
        for (const auto& [n, b] : shipped)
            if (n == name) return b.size();
        throw std::runtime_error("the archive has no " + name);
    };
    struct Row {
        const char* entry;
        std::function<Bytes(const Bytes&)> rewrite;
        std::string stops_with;  // empty: the game reaches the title
    };
    const std::string caught = "Exception caught: ";
    const std::string levels_size = std::to_string(size_of("levels.xml") + 4 * mib);
    const std::string rings_size = std::to_string(size_of("images/boss/rings.png") + 16 * mib);
    const std::string track_size = std::to_string(size_of("music/00_title_theme.ogg") + 64 * mib);
    const Row rows[] = {
        // Sections within the root nest 64 deep at most, however they are named.
        {"levels.xml", nested(100, false),
         caught + "levels.xml: elements nest 101 deep, more than the 64 a document may"},
        {"levels.xml", nested(100, true),
         caught + "levels.xml: elements nest 101 deep, more than the 64 a document may"},
        {"text.xml", nested(64, true),
         caught + "text.xml: elements nest 65 deep, more than the 64 a document may"},
        {"levels.xml", nested(62, true, "<note name=\"deepest\"/>"), ""},
        {"text.xml", nested(63, false), ""},
        // An entry past the size of its kind is refused before it is read.
        {"levels.xml", grown(4 * mib, ' '),
         caught + "Unable to open resource document levels.xml in mirel.res: levels.xml is " +
             levels_size + " bytes, more than the 4194304 a document may be"},
        {"images/boss/rings.png", grown(16 * mib, 0),
         caught + "mirel.xml: sprite 'ring1': images/boss/rings.png is " + rings_size +
             " bytes, more than the 16777216 a picture may be"},
        {"music/00_title_theme.ogg", grown(64 * mib, 0),
         caught + "music.xml: track '00_title_theme': music/00_title_theme.ogg is " + track_size +
             " bytes, more than the 67108864 a track may be"},
        // A quoted value keeps the refusal one line.
        {"patterns.xml",
         replaced("<action name=\"accel\">0.0004</action>",
                  "<action name=\"accel\">1e30\n[Debug] a line of its own</action>"),
         caught + "patterns.xml: spellcard 'rimea_attack1': 'accel' is 1e30\\n[Debug] a line of "
                  "its own, not a number from -2147.483648 to 2147.483647"},
        // The ring's picture is named as every sprite's is.
        {"mirel.xml", replaced("images/boss/rings.png", "images/missing.png"),
         caught + "mirel.xml: sprite 'ring1': Unable to open file: images/missing.png"},
    };
    const std::vector<std::string> env = environment_with({{"MIREL_QUIT_AT_TITLE", "1"}});
    for (const Row& row : rows) {
        Scratch_Dir dir;
        auto entries = shipped;
        for (auto& [name, bytes] : entries)
            if (name == row.entry) bytes = row.rewrite(bytes);
        write_archive("mirel.res", entries);
        Child_Result r = run_child(built_program("mirel"), {}, env, dir.path().string(),
                                   std::chrono::seconds(120));
        SCOPED_TRACE(std::string(row.entry) + ": " + r.error_output);
        ASSERT_TRUE(r.finished);
        if (row.stops_with.empty()) {
            EXPECT_EQ(r.exit_code, 0);
            continue;
        }
        EXPECT_EQ(r.exit_code, 255);
        EXPECT_EQ(r.error_output, row.stops_with + "\n");
    }
}

}  // namespace
