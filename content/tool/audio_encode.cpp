#include "audio_encode.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>

#include "audio_synth.h"
#include "content_output.h"

namespace audio {

namespace {

void append_page(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> encode_vorbis(const std::vector<std::vector<float>>& channels, float quality,
                                   uint32_t serial) {
    const int count = static_cast<int>(channels.size());
    if (count < 1 || count > 2) content_fail("the Vorbis encoder takes one or two channels");
    const size_t frames = channels[0].size();

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, count, sample_rate, quality) != 0)
        content_fail("libvorbisenc refused the encoder settings");
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "mirel_content_tool");
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, static_cast<int>(serial));

    std::vector<uint8_t> out;
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) append_page(out, page);

    const size_t chunk = 4096;
    size_t done = 0;
    bool finished = false;
    while (!finished) {
        size_t n = std::min(chunk, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (int c = 0; c < count; ++c)
                for (size_t i = 0; i < n; ++i)
                    buffer[c][i] = std::clamp(channels[static_cast<size_t>(c)][done + i], -1.0f, 1.0f);
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append_page(out, page);
                    if (ogg_page_eos(&page)) finished = true;
                }
            }
        }
        if (n == 0 && !finished) {
            while (ogg_stream_flush(&stream, &page) != 0) append_page(out, page);
            finished = true;
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<uint8_t> encode_wav(const std::vector<float>& mono) {
    std::vector<uint8_t> out;
    auto u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&out](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    const uint32_t data_bytes = static_cast<uint32_t>(mono.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    u32(36 + data_bytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(sample_rate);
    u32(sample_rate * 2);
    u16(2);
    u16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    u32(data_bytes);
    for (float s : mono) {
        float c = std::clamp(s, -1.0f, 1.0f);
        u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(c * 32767.0f))));
    }
    return out;
}

}  // namespace audio
