// The small synthesiser behind every sound and track of the archive: oscillators, envelopes,
// filters, noise, a plucked string, an FM bell and a stereo reverb, all in float at 44100
// samples per second. Times are seconds, frequencies hertz, levels linear (1.0 = full scale).
// Nothing reads a clock or a global random source: noise comes from a seeded generator, so the
// same call always renders the same samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace audio {

constexpr int sample_rate = 44100;
constexpr float pi = 3.14159265358979f;
constexpr float two_pi = 2.0f * pi;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
inline float note_frequency(float midi) { return 440.0f * std::exp2((midi - 69.0f) / 12.0f); }
inline int seconds_to_samples(float seconds) { return static_cast<int>(seconds * sample_rate + 0.5f); }

// xorshift32: a fixed seed gives a fixed stream.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // White noise in [-1, 1).
    float white() { return static_cast<float>(next() >> 8) * (2.0f / 16777216.0f) - 1.0f; }
    // A number in [0, 1).
    float uniform() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }

private:
    uint32_t state_;
};

// A phase in [0, 1) advanced by frequency / sample_rate; the band-limited shapes smooth their
// jumps with polyBLEP so bright tones do not alias into harsh noise.
class Oscillator {
public:
    void set_phase(float phase) { phase_ = phase - std::floor(phase); }
    float sine(float freq) { return std::sin(two_pi * advance(freq)); }
    float triangle(float freq);
    float saw(float freq);
    // Pulse with duty cycle `width` (0.5 = square).
    float pulse(float freq, float width);

private:
    float advance(float freq);
    float phase_ = 0.0f;
    float step_ = 0.0f;
};

// Attack, decay to sustain, hold until `gate_off`, release; each stage is exponential-looking
// but reaches its target exactly so notes start and end at silence (no clicks).
struct Envelope {
    float attack = 0.005f, decay = 0.1f, sustain = 0.7f, release = 0.1f;
    // Level at time t (seconds) of a note held for `gate` seconds.
    float at(float t, float gate) const;
    // Time after which the level is zero for a note held for `gate` seconds.
    float length(float gate) const { return gate + release; }
};

// Topology-preserving state-variable filter: low, band and high outputs of one 12 dB stage.
class Filter {
public:
    void set(float cutoff, float resonance);  // resonance 0 (flat) .. ~0.95
    struct Out {
        float low, band, high;
    };
    Out process(float x);
    float lowpass(float x) { return process(x).low; }
    float highpass(float x) { return process(x).high; }
    float bandpass(float x) { return process(x).band; }

private:
    float g_ = 0.1f, k_ = 2.0f, a1_ = 0, a2_ = 0, a3_ = 0;
    float ic1_ = 0.0f, ic2_ = 0.0f;
};

// One-pole smoother/lowpass, cheap enough for every voice.
class One_Pole {
public:
    void set(float cutoff) { a_ = 1.0f - std::exp(-two_pi * cutoff / sample_rate); }
    float process(float x) { return y_ += a_ * (x - y_); }

private:
    float a_ = 1.0f, y_ = 0.0f;
};

// Karplus-Strong plucked string: a noise burst in a tuned delay line whose averaging filter
// takes the brightness away over time. `brightness` 0..1, `decay` seconds to about -60 dB.
std::vector<float> pluck(float freq, float duration, float brightness, float decay, uint32_t seed);

// Two-operator FM bell: ratio is modulator / carrier, index the modulation depth at the start
// (it falls with the amplitude, so the tone mellows as it rings).
std::vector<float> fm_bell(float freq, float duration, float ratio, float index, float decay);

// A stereo pair of equal-length channels.
struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    // Adds a mono signal at `offset` frames with gain and pan (-1 left .. 1 right).
    void mix(const std::vector<float>& mono, long offset, float gain, float pan);
    void add(const Stereo& other, float gain);
};

// A Schroeder-Moorer reverb (eight damped combs and four all-passes per side, the right side
// detuned); `room` 0..1 sets the decay, `damp` 0..1 the darkness of the tail. Returns the wet
// signal only.
Stereo reverb(const Stereo& dry, float room, float damp);

// Mono wet signal of the same reverb, for sound effects.
std::vector<float> reverb_mono(const std::vector<float>& dry, float room, float damp);

// A feedback echo of `delay` seconds (stereo ping-pong), wet signal only.
Stereo echo(const Stereo& dry, float delay, float feedback, float damp_cutoff);

// Gentle saturation: linear below about 0.5, tanh-like above, never beyond +/-1.
inline float soft_clip(float x) {
    if (x > 1.5f) return 1.0f;
    if (x < -1.5f) return -1.0f;
    return x - (x * x * x) * (4.0f / 27.0f);
}

// Scales the signal so its largest magnitude is `peak`.
void normalise(std::vector<float>& samples, float peak);
void normalise(Stereo& samples, float peak);

// Raised-cosine fade of the first and last `seconds`, so a one-shot sound starts and ends at
// silence.
void fade_edges(std::vector<float>& samples, float in_seconds, float out_seconds);

}  // namespace audio
