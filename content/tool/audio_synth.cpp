#include "audio_synth.h"

#include <algorithm>
#include <array>

namespace audio {

namespace {

// The polyBLEP residual around a phase jump at 0, for a phase step dt.
float poly_blep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

}  // namespace

float Oscillator::advance(float freq) {
    float p = phase_;
    step_ = freq / sample_rate;
    phase_ += step_;
    if (phase_ >= 1.0f) phase_ -= std::floor(phase_);
    return p;
}

float Oscillator::saw(float freq) {
    float p = advance(freq);
    return 2.0f * p - 1.0f - poly_blep(p, step_);
}

float Oscillator::pulse(float freq, float width) {
    float p = advance(freq);
    float v = p < width ? 1.0f : -1.0f;
    v += poly_blep(p, step_);
    float q = p - width;
    if (q < 0.0f) q += 1.0f;
    v -= poly_blep(q, step_);
    return v;
}

float Oscillator::triangle(float freq) {
    float p = advance(freq);
    return 1.0f - 4.0f * std::fabs(p - 0.5f);
}

float Envelope::at(float t, float gate) const {
    if (t < 0.0f) return 0.0f;
    auto held = [this](float u) {
        if (u < attack) return u / attack;
        return sustain + (1.0f - sustain) * std::exp(-5.0f * (u - attack) / std::max(decay, 1e-4f));
    };
    if (t < gate) return held(t);
    float u = (t - gate) / std::max(release, 1e-4f);
    if (u >= 1.0f) return 0.0f;
    const float tail = std::exp(-5.0f);
    return held(gate) * (std::exp(-5.0f * u) - tail) / (1.0f - tail);
}

void Filter::set(float cutoff, float resonance) {
    cutoff = std::clamp(cutoff, 10.0f, sample_rate * 0.45f);
    g_ = std::tan(pi * cutoff / sample_rate);
    k_ = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
    a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

Filter::Out Filter::process(float x) {
    float v3 = x - ic2_;
    float v1 = a1_ * ic1_ + a2_ * v3;
    float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
}

std::vector<float> pluck(float freq, float duration, float brightness, float decay, uint32_t seed) {
    Noise noise(seed);
    float period = static_cast<float>(sample_rate) / freq;
    size_t size = static_cast<size_t>(period) + 2;
    std::vector<float> ring(size);
    One_Pole shape;
    shape.set(300.0f + brightness * 9000.0f);
    for (auto& s : ring) s = shape.process(noise.white());
    float mean = 0.0f;
    for (float s : ring) mean += s;
    mean /= static_cast<float>(size);
    for (auto& s : ring) s -= mean;

    float loss = std::pow(10.0f, -3.0f / (decay * freq));
    float blend = 0.5f + 0.45f * brightness;  // more of the newer sample keeps it bright
    size_t frames = static_cast<size_t>(duration * sample_rate);
    std::vector<float> out(frames);
    // A delay line read `period` samples behind the write point, with linear interpolation for
    // the fractional part so high notes stay in tune.
    std::vector<float> line(4096, 0.0f);
    const size_t mask = line.size() - 1;
    for (size_t i = 0; i < size; ++i) line[i] = ring[i];
    size_t write = size;
    float last = 0.0f;
    for (size_t n = 0; n < frames; ++n) {
        float read = static_cast<float>(write) - period;
        float base = std::floor(read);
        float frac = read - base;
        size_t i0 = static_cast<size_t>(static_cast<long>(base)) & mask;
        float delayed = line[i0] * (1.0f - frac) + line[(i0 + 1) & mask] * frac;
        float y = loss * (blend * delayed + (1.0f - blend) * last);
        last = delayed;
        line[write & mask] = y;
        ++write;
        out[n] = delayed;
    }
    fade_edges(out, 0.0005f, std::min(0.05f, duration * 0.3f));
    return out;
}

std::vector<float> fm_bell(float freq, float duration, float ratio, float index, float decay) {
    size_t frames = static_cast<size_t>(duration * sample_rate);
    std::vector<float> out(frames);
    float carrier = 0.0f, modulator = 0.0f;
    const float dc = two_pi * freq / sample_rate;
    const float dm = two_pi * freq * ratio / sample_rate;
    const float fall = 6.9f / decay;
    for (size_t n = 0; n < frames; ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float env = std::exp(-fall * t) * std::min(1.0f, t / 0.002f);
        out[n] = env * std::sin(carrier + index * env * std::sin(modulator));
        carrier += dc;
        modulator += dm;
        if (carrier > two_pi) carrier -= two_pi;
        if (modulator > two_pi) modulator -= two_pi;
    }
    fade_edges(out, 0.0f, std::min(0.03f, duration * 0.3f));
    return out;
}

void Stereo::mix(const std::vector<float>& mono, long offset, float gain, float pan) {
    float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * pi * 0.25f;
    float gl = gain * std::cos(angle) * 1.41421356f, gr = gain * std::sin(angle) * 1.41421356f;
    long count = static_cast<long>(frames());
    for (size_t i = 0; i < mono.size(); ++i) {
        long at = offset + static_cast<long>(i);
        if (at < 0) continue;
        if (at >= count) break;
        left[static_cast<size_t>(at)] += gl * mono[i];
        right[static_cast<size_t>(at)] += gr * mono[i];
    }
}

void Stereo::add(const Stereo& other, float gain) {
    size_t n = std::min(frames(), other.frames());
    for (size_t i = 0; i < n; ++i) {
        left[i] += gain * other.left[i];
        right[i] += gain * other.right[i];
    }
}

namespace {

class Comb {
public:
    explicit Comb(size_t size) : buffer_(size, 0.0f) {}
    float process(float x, float feedback, float damp) {
        float y = buffer_[index_];
        store_ = y * (1.0f - damp) + store_ * damp;
        buffer_[index_] = x + store_ * feedback;
        if (++index_ == buffer_.size()) index_ = 0;
        return y;
    }

private:
    std::vector<float> buffer_;
    size_t index_ = 0;
    float store_ = 0.0f;
};

class All_Pass {
public:
    explicit All_Pass(size_t size) : buffer_(size, 0.0f) {}
    float process(float x) {
        float b = buffer_[index_];
        buffer_[index_] = x + b * 0.5f;
        if (++index_ == buffer_.size()) index_ = 0;
        return b - x;
    }

private:
    std::vector<float> buffer_;
    size_t index_ = 0;
};

constexpr std::array<size_t, 8> comb_sizes = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<size_t, 4> all_pass_sizes = {556, 441, 341, 225};

std::vector<float> reverb_side(const std::vector<float>& in, float room, float damp, size_t spread) {
    std::vector<Comb> combs;
    std::vector<All_Pass> passes;
    for (size_t s : comb_sizes) combs.emplace_back(s + spread);
    for (size_t s : all_pass_sizes) passes.emplace_back(s + spread);
    float feedback = 0.7f + 0.28f * room;
    float d = 0.4f * damp;
    std::vector<float> out(in.size());
    for (size_t n = 0; n < in.size(); ++n) {
        float x = in[n] * 0.015f;
        float y = 0.0f;
        for (auto& c : combs) y += c.process(x, feedback, d);
        for (auto& a : passes) y = a.process(y);
        out[n] = y;
    }
    return out;
}

}  // namespace

Stereo reverb(const Stereo& dry, float room, float damp) {
    std::vector<float> mono(dry.frames());
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5f * (dry.left[i] + dry.right[i]);
    Stereo wet;
    // The two sides feed from their own channel with a small share of the other, so a panned
    // instrument keeps its place in the room.
    std::vector<float> l(dry.frames()), r(dry.frames());
    for (size_t i = 0; i < l.size(); ++i) {
        l[i] = 0.7f * dry.left[i] + 0.3f * mono[i];
        r[i] = 0.7f * dry.right[i] + 0.3f * mono[i];
    }
    wet.left = reverb_side(l, room, damp, 0);
    wet.right = reverb_side(r, room, damp, 23);
    return wet;
}

std::vector<float> reverb_mono(const std::vector<float>& dry, float room, float damp) {
    return reverb_side(dry, room, damp, 0);
}

Stereo echo(const Stereo& dry, float delay, float feedback, float damp_cutoff) {
    size_t d = static_cast<size_t>(delay * sample_rate);
    Stereo wet(dry.frames());
    std::vector<float> bl(d, 0.0f), br(d, 0.0f);
    One_Pole fl, fr;
    fl.set(damp_cutoff);
    fr.set(damp_cutoff);
    size_t idx = 0;
    for (size_t n = 0; n < dry.frames(); ++n) {
        float ol = bl[idx], orr = br[idx];
        wet.left[n] = ol;
        wet.right[n] = orr;
        // Ping-pong: each side's echo feeds the other side.
        bl[idx] = fl.process(0.5f * (dry.left[n] + dry.right[n]) + orr * feedback);
        br[idx] = fr.process(ol * feedback);
        if (++idx == d) idx = 0;
    }
    return wet;
}

void normalise(std::vector<float>& samples, float peak) {
    float m = 0.0f;
    for (float s : samples) m = std::max(m, std::fabs(s));
    if (m <= 0.0f) return;
    float g = peak / m;
    for (auto& s : samples) s *= g;
}

void normalise(Stereo& samples, float peak) {
    float m = 0.0f;
    for (size_t i = 0; i < samples.frames(); ++i)
        m = std::max({m, std::fabs(samples.left[i]), std::fabs(samples.right[i])});
    if (m <= 0.0f) return;
    float g = peak / m;
    for (size_t i = 0; i < samples.frames(); ++i) {
        samples.left[i] *= g;
        samples.right[i] *= g;
    }
}

void fade_edges(std::vector<float>& samples, float in_seconds, float out_seconds) {
    size_t n = samples.size();
    size_t fin = std::min(n, static_cast<size_t>(in_seconds * sample_rate));
    size_t fout = std::min(n, static_cast<size_t>(out_seconds * sample_rate));
    for (size_t i = 0; i < fin; ++i)
        samples[i] *= 0.5f - 0.5f * std::cos(pi * static_cast<float>(i) / static_cast<float>(fin));
    for (size_t i = 0; i < fout; ++i)
        samples[n - 1 - i] *= 0.5f - 0.5f * std::cos(pi * static_cast<float>(i) / static_cast<float>(fout));
}

}  // namespace audio
