#include "sound_files.h"

#include <unistd.h>
#include <vorbis/vorbisenc.h>
#include <zip.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace sound_files {

namespace {

float tone(int frame, int rate) {
    return 0.5f * std::sin(2.0f * 3.14159265f * 440.0f * static_cast<float>(frame) /
                           static_cast<float>(rate));
}

void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void put_text(Bytes& b, const char* text) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(text[i]));
}

void append_page(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes make_wav(int milliseconds) {
    const int rate = 22050;
    const uint32_t frames = static_cast<uint32_t>(rate * milliseconds / 1000);
    Bytes b;
    put_text(b, "RIFF");
    put32(b, 36 + frames * 2);
    put_text(b, "WAVE");
    put_text(b, "fmt ");
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, 1);  // mono
    put32(b, rate);
    put32(b, rate * 2);
    put16(b, 2);
    put16(b, 16);
    put_text(b, "data");
    put32(b, frames * 2);
    for (uint32_t i = 0; i < frames; ++i)
        put16(b, static_cast<uint16_t>(static_cast<int16_t>(tone(static_cast<int>(i), rate) * 32767)));
    return b;
}

Bytes make_ogg(int milliseconds) {
    const int rate = 44100;
    const int frames = rate * milliseconds / 1000;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 1, rate, 0.1f) != 0) throw std::runtime_error("vorbis setup");
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);

    Bytes out;
    ogg_page page;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    while (ogg_stream_flush(&os, &page)) append_page(out, page);

    float** buffer = vorbis_analysis_buffer(&vd, frames);
    for (int i = 0; i < frames; ++i) buffer[0][i] = tone(i, rate);
    vorbis_analysis_wrote(&vd, frames);
    vorbis_analysis_wrote(&vd, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
        vorbis_analysis(&vb, nullptr);
        vorbis_bitrate_addblock(&vb);
        while (vorbis_bitrate_flushpacket(&vd, &packet)) {
            ogg_stream_packetin(&os, &packet);
            while (ogg_stream_pageout(&os, &page)) append_page(out, page);
        }
    }
    while (ogg_stream_flush(&os, &page)) append_page(out, page);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

void write_zip(const std::filesystem::path& path,
               const std::vector<std::pair<std::string, Bytes>>& files) {
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) throw std::runtime_error("cannot create " + path.string());
    for (const auto& [name, bytes] : files) {
        // The buffers outlive zip_close: libzip reads them only then.
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE) < 0) {
            if (source) zip_source_free(source);
            zip_discard(zip);
            throw std::runtime_error("cannot add " + name + " to " + path.string());
        }
    }
    if (zip_close(zip) != 0) throw std::runtime_error("cannot write " + path.string());
}

void write_file(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Temp_Dir::Temp_Dir(const std::string& tag) {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("mirel_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

Temp_Dir::~Temp_Dir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace sound_files
