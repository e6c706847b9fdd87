// Encoders of the archive's sounds: Ogg Vorbis through libvorbisenc for everything that plays
// longer than a blink, 16-bit PCM WAV for the tiniest clicks. Input is float in [-1, 1] at
// audio::sample_rate; one vector per channel, all of one length. The Ogg stream serial number
// is fixed by the caller, so equal input gives equal bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace audio {

// `quality` is libvorbisenc's VBR quality, -0.1 .. 1.0 (0.4 is about 128 kbit/s stereo).
std::vector<uint8_t> encode_vorbis(const std::vector<std::vector<float>>& channels, float quality,
                                   uint32_t serial);

std::vector<uint8_t> encode_wav(const std::vector<float>& mono);

}  // namespace audio
