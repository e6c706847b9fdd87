// mirel_content_tool <content folder> <archive path>
// Runs every registered generator and packs what they made into a zip archive.
// The archive is written beside its final name and renamed into place, so a
// failed run never leaves a half-written "mirel.res".
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "content_output.h"

namespace {

// 2026-01-01 00:00 UTC: every entry carries this time, so equal sources give
// equal archives.
constexpr time_t fixed_time = 1767225600;

void write_archive(const Content_Output& out, const std::string& path) {
    std::string temp = path + ".partial";
    std::filesystem::remove(temp);
    int error = 0;
    zip_t* zip = zip_open(temp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) content_fail("cannot create " + temp);
    for (const auto& [name, bytes] : out.files()) {
        zip_source_t* src = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (!src) content_fail("cannot add " + name + ": " + zip_strerror(zip));
        zip_int64_t index = zip_file_add(zip, name.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(src);
            content_fail("cannot add " + name + ": " + zip_strerror(zip));
        }
        // Pictures and Vorbis streams are compressed already.
        bool packed = name.ends_with(".png") || name.ends_with(".ogg");
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                                 packed ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
        zip_file_set_mtime(zip, static_cast<zip_uint64_t>(index), fixed_time, 0);
    }
    if (zip_close(zip) != 0) {
        std::string why = zip_strerror(zip);
        zip_discard(zip);
        content_fail("cannot write " + temp + ": " + why);
    }
    std::filesystem::rename(temp, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <content folder> <archive>\n", argv[0]);
        return 2;
    }
    try {
        Content_Output out(argv[1]);
        for (const auto& [name, generate] : content_generators()) generate(out);
        check_entries(out);
        write_archive(out, argv[2]);
        std::printf("mirel.res: %zu files\n", out.files().size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mirel_content_tool: %s\n", e.what());
        return 1;
    }
    return 0;
}
