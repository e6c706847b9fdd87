// The archive's shape as the game meets it at start-up: each row rewrites one
// entry of the built archive (sections nested deeper than a document may,
// an entry larger than its kind may be, a value written over two lines, a
// picture that is not there, a small picture that declares itself huge),
// starts the game on it and reads the one line it stops with, or sees it
// reach the title, within a bound on resident memory.
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

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

// A whole, valid PNG picture that declares width x height but holds next to
// nothing: one bit a pixel from a palette of one colour, every row zero, so
// 20000 x 20000 packs into some 50 KB, while a decoder allocates four bytes
// a pixel for it.
Bytes blank_png(uint32_t width, uint32_t height) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    auto chunk = [&](const char* type, const Bytes& data) {
        auto put32 = [&](uint32_t v) {
            for (int shift = 24; shift >= 0; shift -= 8)
                png.push_back(static_cast<uint8_t>(v >> shift));
        };
        put32(static_cast<uint32_t>(data.size()));
        size_t start = png.size();
        png.insert(png.end(), type, type + 4);
        png.insert(png.end(), data.begin(), data.end());
        put32(static_cast<uint32_t>(
            crc32(0, png.data() + start, static_cast<uInt>(png.size() - start))));
    };
    Bytes header;
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            header.push_back(static_cast<uint8_t>(v >> shift));
    // One bit a pixel, palette; deflate, no filter, no interlace.
    header.insert(header.end(), {1, 3, 0, 0, 0});
    chunk("IHDR", header);
    chunk("PLTE", {0, 0, 0});
    Bytes row(1 + (width + 7) / 8, 0);  // filter byte, then the row's bits
    Bytes packed(1 << 16);
    Bytes idat;
    z_stream z{};
    deflateInit(&z, 9);
    for (uint32_t y = 0; y <= height; ++y) {
        z.next_in = row.data();
        z.avail_in = y < height ? static_cast<uInt>(row.size()) : 0;
        int flush = y < height ? Z_NO_FLUSH : Z_FINISH;
        do {
            z.next_out = packed.data();
            z.avail_out = static_cast<uInt>(packed.size());
            deflate(&z, flush);
            idat.insert(idat.end(), packed.data(), packed.data() + packed.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    chunk("IDAT", idat);
    chunk("IEND", {});
    return png;
}

constexpr size_t mib = size_t{1} << 20;
// Every run, wherever it stops, stays within this resident memory: the
// shipped archive starts in about 170 MB (more under the sanitizers), and a
// picture of 20000 x 20000 decoded as it declares itself takes 1.6 GB.
constexpr long max_resident_kib = 1024 * 1024;

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
    const Bytes huge_png = blank_png(20000, 20000);
    const auto huge = [&](const Bytes&) { return huge_png; };
    const std::string huge_size =
        " declares 20000 x 20000 pixels, more than the 16384 x 16384 a texture may have";
    const Row rows[] = {
        // The shipped archive as it stands starts within the memory bound.
        {"mirel.xml", [](const Bytes& b) { return b; }, ""},
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
        // A picture's declared size is refused before a pixel is decoded: one
        // of each kind the game opens.
        {"images/menus/splash.png", huge,
         caught + "mirel.xml: sprite 'mirel_splash': images/menus/splash.png" + huge_size},
        {"images/bullets.png", huge,
         caught + "sprites.xml: sprite 'bullets': images/bullets.png" + huge_size},
        {"images/boss/rings.png", huge,
         caught + "mirel.xml: sprite 'ring1': images/boss/rings.png" + huge_size},
        {"images/backgrounds/canopy.png", huge,
         caught +
             "mirel.xml: background 'stage_kio': layer 'canopy': mirel.xml: sprite "
             "'stage_canopy': images/backgrounds/canopy.png" +
             huge_size},
        {"images/backgrounds/clouds.png", huge,
         caught +
             "mirel.xml: background 'stage_kio': effect 'clouds': mirel.xml: sprite "
             "'stage_clouds': images/backgrounds/clouds.png" +
             huge_size},
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
        EXPECT_LE(r.peak_resident_kib, max_resident_kib);
        if (row.stops_with.empty()) {
            EXPECT_EQ(r.exit_code, 0);
            continue;
        }
        EXPECT_EQ(r.exit_code, 255);
        EXPECT_EQ(r.error_output, row.stops_with + "\n");
    }
}

}  // namespace
