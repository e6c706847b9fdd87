#include "audio_music.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

#include "content_output.h"

namespace audio {

namespace {

std::vector<std::string> tokens(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string t; in >> t;) out.push_back(t);
    return out;
}

// "C#5" -> 73; `pos` moves past the pitch. Returns -1 when the text is no pitch.
int parse_pitch_class(const std::string& t, size_t& pos) {
    static const int letters[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (pos >= t.size()) return -1;
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t[pos])));
    if (c < 'A' || c > 'G') return -1;
    int pc = letters[c - 'A'];
    ++pos;
    if (pos < t.size() && t[pos] == '#') {
        ++pc;
        ++pos;
    } else if (pos < t.size() && t[pos] == 'b') {
        --pc;
        ++pos;
    }
    return (pc + 12) % 12;
}

}  // namespace

std::vector<Chord> parse_chords(const std::string& text) {
    static const std::map<std::string, std::vector<int>> qualities = {
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},         {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}},    {"maj7", {0, 4, 7, 11}},  {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},      {"dim", {0, 3, 6}},       {"add9", {0, 4, 7, 14}},
        {"madd9", {0, 3, 7, 14}},
    };
    std::vector<Chord> out;
    for (const std::string& t : tokens(text)) {
        size_t pos = 0;
        int root = parse_pitch_class(t, pos);
        if (root < 0) content_fail("music: no chord root in '" + t + "'");
        size_t slash = t.find('/', pos);
        std::string quality = t.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        auto q = qualities.find(quality);
        if (q == qualities.end()) content_fail("music: unknown chord quality in '" + t + "'");
        int bass = root;
        if (slash != std::string::npos) {
            size_t bpos = slash + 1;
            bass = parse_pitch_class(t, bpos);
            if (bass < 0 || bpos != t.size()) content_fail("music: bad slash bass in '" + t + "'");
        }
        out.push_back({root, q->second, bass});
    }
    return out;
}

Part parse_melody(const std::string& text, int bars, float start_step) {
    Part out;
    float step = start_step;
    for (const std::string& t : tokens(text)) {
        size_t pos = 0;
        float velocity = 0.8f;
        if (t[pos] == '>') {
            velocity = 1.0f;
            ++pos;
        }
        size_t dot = t.find('.', pos);
        if (dot == std::string::npos) content_fail("music: note without length '" + t + "'");
        float length = std::stof(t.substr(dot + 1));
        if (t[pos] != 'r') {
            int pc = parse_pitch_class(t, pos);
            if (pc < 0 || pos >= dot) content_fail("music: bad pitch '" + t + "'");
            int octave = std::stoi(t.substr(pos, dot - pos));
            out.push_back({step, length, static_cast<float>(12 * (octave + 1) + pc), velocity});
        }
        step += length;
    }
    if (step - start_step != static_cast<float>(bars * 16))
        content_fail("music: melody of " + std::to_string(step - start_step) + " steps, expected " +
                     std::to_string(bars * 16) + ": " + text.substr(0, 60));
    return out;
}

Part parse_drums(const std::string& pattern, float start_step, float midi) {
    Part out;
    float step = start_step;
    for (char c : pattern) {
        if (c == ' ') continue;
        if (c == 'x') out.push_back({step, 1.0f, midi, 1.0f});
        else if (c == 'o') out.push_back({step, 1.0f, midi, 0.55f});
        else if (c != '.') content_fail(std::string("music: bad drum step '") + c + "'");
        step += 1.0f;
    }
    return out;
}

void append(Part& to, const Part& part, float steps, float semitones, float gain) {
    for (Note n : part) {
        n.step += steps;
        n.midi += semitones;
        n.velocity *= gain;
        to.push_back(n);
    }
}

namespace {

using Samples = std::vector<float>;

Samples blank(float seconds) { return Samples(static_cast<size_t>(std::max(0.0f, seconds) * sample_rate), 0.0f); }

float vibrato(float t, float delay, float rate, float depth_semitones) {
    if (t < delay) return 1.0f;
    float ramp = std::min(1.0f, (t - delay) / 0.3f);
    return std::exp2(depth_semitones * ramp * std::sin(two_pi * rate * (t - delay)) / 12.0f);
}

Samples flute(float f, float gate, float v, uint32_t seed) {
    Envelope env{0.06f, 0.3f, 0.8f, 0.18f};
    Samples out = blank(env.length(gate));
    Noise noise(seed);
    Filter breath;
    breath.set(f * 2.0f, 0.6f);
    float p1 = 0, p2 = 0, p3 = 0;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float fm = f * vibrato(t, 0.25f, 5.0f, 0.12f);
        p1 += two_pi * fm / sample_rate;
        p2 += two_pi * 2.0f * fm / sample_rate;
        p3 += two_pi * 3.0f * fm / sample_rate;
        float e = env.at(t, gate);
        float tone = std::sin(p1) + 0.22f * std::sin(p2) + 0.07f * std::sin(p3);
        out[n] = v * e * (tone + 0.12f * breath.bandpass(noise.white()));
    }
    return out;
}

Samples saw_lead(float f, float gate, float v, uint32_t) {
    Envelope env{0.008f, 0.25f, 0.65f, 0.12f};
    Envelope bright{0.004f, 0.18f, 0.3f, 0.1f};
    Samples out = blank(env.length(gate));
    Oscillator a, b, c;
    b.set_phase(0.33f);
    c.set_phase(0.71f);
    Filter filter;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float fm = f * vibrato(t, 0.2f, 5.5f, 0.15f);
        if (n % 16 == 0) filter.set(900.0f + 3200.0f * bright.at(t, gate) * v, 0.25f);
        float x = 0.4f * a.saw(fm * 0.9965f) + 0.4f * b.saw(fm * 1.0035f) + 0.3f * c.pulse(fm * 0.5f, 0.35f);
        out[n] = v * env.at(t, gate) * filter.lowpass(x);
    }
    return out;
}

Samples glass_lead(float f, float gate, float v, uint32_t) {
    Envelope env{0.004f, 0.35f, 0.45f, 0.15f};
    Samples out = blank(env.length(gate));
    Samples ping = fm_bell(f, std::min(1.2f, env.length(gate) + 0.4f), 3.0f, 1.8f, 0.9f);
    Oscillator tri, sub;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float fm = f * vibrato(t, 0.22f, 6.0f, 0.1f);
        float body = 0.6f * tri.triangle(fm) + 0.25f * sub.sine(fm * 2.0f);
        out[n] = v * (env.at(t, gate) * body + (n < ping.size() ? 0.7f * ping[n] : 0.0f));
    }
    fade_edges(out, 0.0f, 0.02f);
    return out;
}

Samples pad(float f, float gate, float v, uint32_t seed) {
    Envelope env{0.35f, 0.5f, 0.85f, 0.7f};
    Samples out = blank(env.length(gate));
    Oscillator o[3];
    const float detune[3] = {0.994f, 1.0f, 1.006f};
    for (int i = 0; i < 3; ++i) o[i].set_phase(static_cast<float>((seed * (i + 3)) % 97) / 97.0f);
    Filter filter;
    filter.set(std::min(2200.0f, f * 6.0f), 0.1f);
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float x = 0.0f;
        for (int i = 0; i < 3; ++i) x += o[i].saw(f * detune[i]);
        out[n] = v * env.at(t, gate) * filter.lowpass(x * 0.33f);
    }
    return out;
}

Samples pluck_note(float f, float gate, float v, uint32_t seed) {
    Samples s = pluck(f, gate + 0.8f, 0.55f + 0.3f * v, 1.2f, seed);
    for (auto& x : s) x *= v;
    return s;
}

Samples bell_note(float f, float gate, float v, uint32_t) {
    Samples s = fm_bell(f, gate + 0.7f, 3.5f, 1.2f * v + 0.3f, 0.7f);
    Samples body = fm_bell(f * 2.0f, gate + 0.4f, 1.0f, 0.4f, 0.4f);
    for (size_t i = 0; i < s.size(); ++i) s[i] = v * (s[i] + (i < body.size() ? 0.25f * body[i] : 0.0f));
    return s;
}

Samples bass(float f, float gate, float v, uint32_t) {
    Envelope env{0.003f, 0.2f, 0.7f, 0.06f};
    Envelope tone{0.002f, 0.12f, 0.2f, 0.06f};
    Samples out = blank(env.length(gate));
    Oscillator saw, body;
    Filter filter;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        if (n % 16 == 0) filter.set(220.0f + 1100.0f * tone.at(t, gate) * v, 0.3f);
        float x = filter.lowpass(saw.saw(f)) + 0.6f * body.sine(f);
        out[n] = v * env.at(t, gate) * x;
    }
    return out;
}

Samples soft_bass(float f, float gate, float v, uint32_t) {
    Envelope env{0.01f, 0.4f, 0.6f, 0.15f};
    Samples out = blank(env.length(gate));
    Oscillator a, b;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        out[n] = v * env.at(t, gate) * (a.sine(f) + 0.3f * b.triangle(f * 2.0f));
    }
    return out;
}

// Drum hits do not depend on pitch: each is rendered once and scaled by velocity.
Samples kick_hit() {
    Samples out = blank(0.35f);
    float phase = 0.0f;
    Noise noise(301);
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float f = 48.0f + 110.0f * std::exp(-t / 0.03f);
        phase += two_pi * f / sample_rate;
        float click = t < 0.004f ? 0.3f * noise.white() * (1.0f - t / 0.004f) : 0.0f;
        out[n] = std::sin(phase) * std::exp(-t / 0.14f) * std::min(1.0f, t / 0.001f) + click;
    }
    fade_edges(out, 0.0f, 0.03f);
    return out;
}

Samples snare_hit() {
    Samples out = blank(0.3f);
    Noise noise(302);
    Filter band, high;
    band.set(1900.0f, 0.2f);
    high.set(5000.0f, 0.0f);
    float phase = 0.0f;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float w = noise.white();
        phase += two_pi * (180.0f + 40.0f * std::exp(-t / 0.02f)) / sample_rate;
        out[n] = (0.8f * band.bandpass(w) + 0.35f * high.highpass(w)) * std::exp(-t / 0.08f) +
                 0.5f * std::sin(phase) * std::exp(-t / 0.04f);
        out[n] *= std::min(1.0f, t / 0.001f);
    }
    fade_edges(out, 0.0f, 0.03f);
    return out;
}

Samples hat_hit(float tau, uint32_t seed) {
    Samples out = blank(tau * 6.0f);
    Noise noise(seed);
    Filter high;
    high.set(7500.0f, 0.2f);
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        out[n] = high.highpass(noise.white()) * std::exp(-t / tau) * std::min(1.0f, t / 0.0008f);
    }
    fade_edges(out, 0.0f, 0.01f);
    return out;
}

Samples shaker_hit() {
    Samples out = blank(0.12f);
    Noise noise(305);
    Filter band;
    band.set(6500.0f, 0.3f);
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float e = std::min(1.0f, t / 0.012f) * std::exp(-t / 0.03f);
        out[n] = band.bandpass(noise.white()) * e;
    }
    fade_edges(out, 0.0f, 0.01f);
    return out;
}

Samples crash_hit() {
    Samples out = blank(2.2f);
    Noise noise(306);
    Filter high, band;
    high.set(4200.0f, 0.1f);
    band.set(9000.0f, 0.4f);
    for (size_t n = 0; n < out.size(); ++n) {
        float t = static_cast<float>(n) / sample_rate;
        float w = noise.white();
        out[n] = (high.highpass(w) + 0.5f * band.bandpass(w)) * std::exp(-t / 0.5f) * std::min(1.0f, t / 0.001f);
    }
    fade_edges(out, 0.0f, 0.2f);
    return out;
}

struct Drum_Kit {
    Samples kick = kick_hit(), snare = snare_hit(), hat = hat_hit(0.015f, 303), open_hat = hat_hit(0.09f, 304),
            shaker = shaker_hit(), crash = crash_hit();
};

Samples render_note(Instrument instrument, const Note& note, float gate, uint32_t seed, const Drum_Kit& kit) {
    float f = note_frequency(note.midi);
    float v = note.velocity;
    auto scaled = [v](const Samples& s) {
        Samples out = s;
        for (auto& x : out) x *= v;
        return out;
    };
    switch (instrument) {
        case Instrument::flute: return flute(f, gate, v, seed);
        case Instrument::saw_lead: return saw_lead(f, gate, v, seed);
        case Instrument::glass_lead: return glass_lead(f, gate, v, seed);
        case Instrument::pad: return pad(f, gate, v, seed);
        case Instrument::pluck: return pluck_note(f, gate, v, seed);
        case Instrument::bell: return bell_note(f, gate, v, seed);
        case Instrument::bass: return bass(f, gate, v, seed);
        case Instrument::soft_bass: return soft_bass(f, gate, v, seed);
        case Instrument::kick: return scaled(kit.kick);
        case Instrument::snare: return scaled(kit.snare);
        case Instrument::hat: return scaled(kit.hat);
        case Instrument::open_hat: return scaled(kit.open_hat);
        case Instrument::shaker: return scaled(kit.shaker);
        case Instrument::crash: return scaled(kit.crash);
    }
    return {};
}

// Folds everything past `frames` back onto the start, so the loop's seam carries the sound
// that rings over it.
void fold_tail(Stereo& s, size_t frames) {
    for (size_t i = frames; i < s.frames(); ++i) {
        s.left[(i - frames) % frames] += s.left[i];
        s.right[(i - frames) % frames] += s.right[i];
    }
    s.left.resize(frames);
    s.right.resize(frames);
}

}  // namespace

Stereo render_score(const Score& score, Loop_Report& report) {
    const float step = score.step_seconds();
    const size_t loop_frames = static_cast<size_t>(static_cast<double>(score.bars) * 16.0 * step * sample_rate);
    const size_t tail = static_cast<size_t>(4.0f * sample_rate);
    Stereo dry(loop_frames + tail), send(loop_frames + tail);
    Drum_Kit kit;
    uint32_t seed = 1;
    for (const auto& part : score.parts) {
        for (const Note& note : part.notes) {
            float gate = note.length * step;
            // A little breath between repeated notes keeps lines articulate.
            if (part.instrument != Instrument::pad) gate *= 0.92f;
            Samples s = render_note(part.instrument, note, gate, seed++, kit);
            long at = static_cast<long>(static_cast<double>(note.step) * step * sample_rate);
            dry.mix(s, at, part.gain, part.pan);
            if (part.send > 0.0f) send.mix(s, at, part.gain * part.send, part.pan);
        }
    }
    Stereo wet = reverb(send, score.reverb_room, score.reverb_damp);
    dry.add(wet, score.reverb_level);
    if (score.echo_level > 0.0f) dry.add(echo(send, score.echo_steps * step, 0.35f, 3500.0f), score.echo_level);
    // Take out the little DC the kick and the soft clipper leave, before the seam is closed.
    for (auto* side : {&dry.left, &dry.right}) {
        float prev_in = 0.0f, prev_out = 0.0f;
        const float pole = std::exp(-two_pi * 15.0f / sample_rate);
        for (float& x : *side) {
            float y = x - prev_in + pole * prev_out;
            prev_in = x;
            prev_out = y;
            x = y;
        }
    }
    fold_tail(dry, loop_frames);

    // Master: drive gently into the soft clipper, then set the peak.
    normalise(dry, 1.1f);
    for (size_t i = 0; i < dry.frames(); ++i) {
        dry.left[i] = soft_clip(dry.left[i]);
        dry.right[i] = soft_clip(dry.right[i]);
    }
    normalise(dry, 0.89f);

    double sum = 0.0;
    float peak = 0.0f;
    for (size_t i = 0; i < dry.frames(); ++i) {
        sum += dry.left[i] * dry.left[i] + dry.right[i] * dry.right[i];
        peak = std::max({peak, std::fabs(dry.left[i]), std::fabs(dry.right[i])});
    }
    size_t n = dry.frames();
    auto step_at = [&dry, n](size_t i) {  // |x[i+1] - x[i]| around the loop, worst channel
        size_t j = (i + 1) % n;
        return std::max(std::fabs(dry.left[j] - dry.left[i]), std::fabs(dry.right[j] - dry.right[i]));
    };
    report.seconds = static_cast<float>(n) / sample_rate;
    report.peak = peak;
    report.rms_db = static_cast<float>(10.0 * std::log10(sum / (2.0 * static_cast<double>(n)) + 1e-12));
    report.seam_jump = step_at(n - 1);
    report.local_step = 0.0f;
    for (size_t k = 1; k <= 256; ++k) report.local_step = std::max({report.local_step, step_at(n - 1 - k), step_at(k - 1)});
    return dry;
}

}  // namespace audio
