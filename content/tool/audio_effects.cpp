// The sound effects of "sounds.xml": each is drawn from sines, FM bells, filtered noise and a
// touch of reverb, so they stay soft and round (no square-wave beeps). Every effect is
// normalised to the same peak; "sounds.xml" gives each its playing volume. The tiniest clicks
// are stored as WAV, everything else as Ogg Vorbis.
#include <functional>
#include <string>

#include "audio_encode.h"
#include "audio_synth.h"
#include "content_output.h"

namespace audio {

namespace {

using Samples = std::vector<float>;

Samples silence(float seconds) { return Samples(static_cast<size_t>(seconds * sample_rate), 0.0f); }

float time_of(size_t n) { return static_cast<float>(n) / sample_rate; }

// Adds `src` into `dst` at `at` seconds, growing nothing: what does not fit is dropped.
void place(Samples& dst, const Samples& src, float at, float gain) {
    size_t start = static_cast<size_t>(at * sample_rate);
    for (size_t i = 0; i < src.size() && start + i < dst.size(); ++i) dst[start + i] += gain * src[i];
}

// A sine whose frequency glides exponentially from f0 to f1 over `glide` seconds, with an
// exponential amplitude decay of time constant `tau`.
Samples swept_sine(float seconds, float f0, float f1, float glide, float tau) {
    Samples out = silence(seconds);
    float phase = 0.0f;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = time_of(n);
        float k = std::min(1.0f, t / glide);
        float f = f0 * std::pow(f1 / f0, k);
        phase += two_pi * f / sample_rate;
        out[n] = std::sin(phase) * std::exp(-t / tau) * std::min(1.0f, t / 0.0015f);
    }
    return out;
}

// Noise through a band-pass whose centre glides from c0 to c1, decaying with `tau`.
Samples noise_sweep(float seconds, float c0, float c1, float q, float tau, uint32_t seed) {
    Samples out = silence(seconds);
    Noise noise(seed);
    Filter filter;
    for (size_t n = 0; n < out.size(); ++n) {
        float t = time_of(n);
        if (n % 16 == 0) filter.set(c0 * std::pow(c1 / c0, t / seconds), q);
        out[n] = filter.bandpass(noise.white()) * std::exp(-t / tau) * std::min(1.0f, t / 0.002f);
    }
    return out;
}

Samples with_reverb(Samples dry, float tail, float room, float damp, float wet) {
    dry.resize(dry.size() + static_cast<size_t>(tail * sample_rate), 0.0f);
    Samples w = reverb_mono(dry, room, damp);
    for (size_t i = 0; i < dry.size(); ++i) dry[i] += wet * w[i];
    return dry;
}

Samples finish(Samples s) {
    fade_edges(s, 0.0005f, 0.01f);
    normalise(s, 0.9f);
    return s;
}

// A light tick for every volley of the player's shot: it repeats up to 14 times a second, so
// it is short, high and quiet.
Samples player_shot() {
    Samples s = swept_sine(0.045f, 2400.0f, 1500.0f, 0.03f, 0.007f);
    place(s, noise_sweep(0.045f, 6000.0f, 4000.0f, 0.3f, 0.004f, 11), 0.0f, 0.5f);
    return finish(s);
}

// A soft "pew": a sine falling an octave and a half, with a breath of noise.
Samples enemy_shot1() {
    Samples s = swept_sine(0.12f, 1300.0f, 480.0f, 0.08f, 0.035f);
    place(s, swept_sine(0.12f, 650.0f, 240.0f, 0.08f, 0.03f), 0.0f, 0.4f);
    place(s, noise_sweep(0.12f, 3000.0f, 1200.0f, 0.4f, 0.02f, 12), 0.0f, 0.25f);
    return finish(s);
}

// A ring of bullets: two glassy tones a fifth apart over an airy whoosh.
Samples enemy_shot2() {
    Samples s = silence(0.3f);
    place(s, fm_bell(880.0f, 0.28f, 2.0f, 1.4f, 0.18f), 0.0f, 0.6f);
    place(s, fm_bell(1320.0f, 0.26f, 2.0f, 1.0f, 0.14f), 0.01f, 0.45f);
    place(s, noise_sweep(0.3f, 3500.0f, 900.0f, 0.5f, 0.08f, 13), 0.0f, 0.5f);
    return finish(with_reverb(s, 0.2f, 0.4f, 0.5f, 0.4f));
}

// A spread volley: a rising "fwip" of filtered noise over a low sine.
Samples enemy_shot3() {
    Samples s = noise_sweep(0.16f, 700.0f, 3200.0f, 0.6f, 0.05f, 14);
    place(s, swept_sine(0.16f, 500.0f, 700.0f, 0.1f, 0.04f), 0.0f, 0.35f);
    return finish(s);
}

// Graze: a short glassy chime, bright but not piercing.
Samples graze() {
    Samples s = fm_bell(2637.0f, 0.22f, 2.0f, 0.8f, 0.16f);
    place(s, fm_bell(3951.0f, 0.15f, 1.0f, 0.2f, 0.08f), 0.0f, 0.25f);
    return finish(s);
}

// A shot landing on an enemy: a muffled tap.
Samples se_damage00() {
    Samples s = noise_sweep(0.05f, 2600.0f, 1800.0f, 0.4f, 0.008f, 15);
    place(s, swept_sine(0.05f, 420.0f, 260.0f, 0.04f, 0.012f), 0.0f, 0.7f);
    return finish(s);
}

// An enemy bursting: a low thump with a soft puff and a small sparkle on top.
Samples enemy_dead1() {
    Samples s = swept_sine(0.4f, 190.0f, 45.0f, 0.2f, 0.1f);
    Samples puff = noise_sweep(0.4f, 1400.0f, 300.0f, 0.2f, 0.06f, 16);
    place(s, puff, 0.0f, 0.8f);
    place(s, fm_bell(1568.0f, 0.2f, 1.5f, 0.8f, 0.12f), 0.01f, 0.12f);
    return finish(with_reverb(s, 0.35f, 0.5f, 0.6f, 0.35f));
}

// The boss's fall: a deep boom, then ice shattering into a shower of falling chimes.
Samples enemy_dead2() {
    Samples s = swept_sine(3.2f, 130.0f, 30.0f, 1.2f, 0.5f);
    place(s, noise_sweep(3.2f, 2500.0f, 150.0f, 0.1f, 0.35f, 17), 0.0f, 0.9f);
    Noise noise(18);
    const float shards[] = {84, 88, 91, 93, 96, 98, 100, 103};  // E minor pentatonic, high
    for (int i = 0; i < 28; ++i) {
        float at = 0.05f + 0.06f * static_cast<float>(i) + 0.03f * noise.uniform();
        float note = shards[noise.next() % 8] - static_cast<float>(i / 10) * 5.0f;
        float gain = 0.22f * (1.0f - static_cast<float>(i) / 34.0f);
        place(s, fm_bell(note_frequency(note), 0.6f, 3.5f, 1.0f, 0.45f), at, gain);
    }
    return finish(with_reverb(s, 1.2f, 0.85f, 0.5f, 0.6f));
}

// Point and power items: a two-note sparkle.
Samples item00() {
    Samples s = silence(0.16f);
    place(s, fm_bell(1318.5f, 0.1f, 2.0f, 0.7f, 0.07f), 0.0f, 0.7f);
    place(s, fm_bell(1975.5f, 0.12f, 2.0f, 0.7f, 0.08f), 0.035f, 0.7f);
    return finish(s);
}

// A gauge item: three notes climbing a major triad.
Samples item01() {
    Samples s = silence(0.28f);
    const float notes[] = {84, 88, 91};
    for (int i = 0; i < 3; ++i)
        place(s, fm_bell(note_frequency(notes[i]), 0.18f, 2.0f, 0.9f, 0.12f), 0.045f * static_cast<float>(i), 0.6f);
    return finish(with_reverb(s, 0.2f, 0.5f, 0.5f, 0.3f));
}

// Power-up: a rising arpeggio that lands on a held major chord.
Samples powerup() {
    Samples s = silence(0.9f);
    const float notes[] = {72, 76, 79, 84, 88};
    for (int i = 0; i < 5; ++i) {
        float at = 0.055f * static_cast<float>(i);
        float f = note_frequency(notes[i]);
        Samples tone = silence(0.9f - at);
        Oscillator osc;
        Envelope env{0.004f, 0.25f, 0.35f, 0.2f};
        float gate = 0.9f - at - 0.22f;
        for (size_t n = 0; n < tone.size(); ++n) {
            float t = time_of(n);
            tone[n] = env.at(t, gate) * (0.7f * osc.triangle(f) + 0.3f * std::sin(two_pi * 2.0f * f * t));
        }
        place(s, tone, at, 0.35f);
    }
    return finish(with_reverb(s, 0.4f, 0.6f, 0.5f, 0.35f));
}

// Menu cursor: a gentle click.
Samples menu_select() {
    Samples s = swept_sine(0.06f, 1700.0f, 1300.0f, 0.02f, 0.012f);
    place(s, noise_sweep(0.06f, 5000.0f, 3000.0f, 0.3f, 0.003f, 19), 0.0f, 0.25f);
    return finish(s);
}

// Menu confirm: two bell notes a fifth up.
Samples menu_ok() {
    Samples s = silence(0.32f);
    place(s, fm_bell(783.99f, 0.25f, 2.0f, 1.0f, 0.18f), 0.0f, 0.6f);
    place(s, fm_bell(1174.66f, 0.25f, 2.0f, 1.0f, 0.2f), 0.07f, 0.6f);
    return finish(with_reverb(s, 0.15f, 0.4f, 0.5f, 0.25f));
}

// Menu back: two soft notes falling a fourth.
Samples menu_cancel() {
    Samples s = silence(0.3f);
    const float notes[] = {74, 67};
    for (int i = 0; i < 2; ++i) {
        float f = note_frequency(notes[i]);
        Samples tone = silence(0.2f);
        Oscillator osc;
        for (size_t n = 0; n < tone.size(); ++n)
            tone[n] = osc.triangle(f) * std::exp(-time_of(n) / 0.05f) * std::min(1.0f, time_of(n) / 0.003f);
        place(s, tone, 0.07f * static_cast<float>(i), 0.6f);
    }
    return finish(s);
}

// Pause and resume: a soft, hollow two-note chime, like a breath held.
Samples game_paused() {
    Samples s = silence(0.5f);
    place(s, fm_bell(880.0f, 0.35f, 1.0f, 0.8f, 0.3f), 0.0f, 0.5f);
    place(s, fm_bell(659.25f, 0.4f, 1.0f, 0.8f, 0.35f), 0.09f, 0.5f);
    place(s, noise_sweep(0.3f, 2500.0f, 800.0f, 0.3f, 0.08f, 21), 0.0f, 0.15f);
    return finish(with_reverb(s, 0.3f, 0.6f, 0.5f, 0.35f));
}

// A bullet touching the invincible player: a muted tink.
Samples se_nodamage() {
    Samples s = swept_sine(0.08f, 3000.0f, 2600.0f, 0.05f, 0.014f);
    place(s, swept_sine(0.08f, 1500.0f, 1300.0f, 0.05f, 0.02f), 0.0f, 0.5f);
    return finish(s);
}

// The player's fall: a bright burst that sinks away with a wobble into the reverb.
Samples player_dead() {
    Samples s = silence(0.9f);
    float phase = 0.0f;
    for (size_t n = 0; n < s.size(); ++n) {
        float t = time_of(n);
        float f = 1400.0f * std::pow(0.1f, t / 0.8f) * (1.0f + 0.04f * std::sin(two_pi * 18.0f * t));
        phase += two_pi * f / sample_rate;
        s[n] = 0.6f * std::sin(phase) * std::exp(-t / 0.3f) * std::min(1.0f, t / 0.002f);
    }
    place(s, noise_sweep(0.6f, 4000.0f, 400.0f, 0.2f, 0.12f, 20), 0.0f, 0.7f);
    place(s, fm_bell(1046.5f, 0.5f, 1.4f, 2.0f, 0.35f), 0.0f, 0.3f);
    return finish(with_reverb(s, 0.6f, 0.7f, 0.5f, 0.45f));
}

struct Effect_Row {
    const char* file;  // archive path; the extension picks the encoder
    Samples (*render)();
};

// The files that "sounds.xml" names.
const Effect_Row effect_rows[] = {
    {"sounds/player_shot.wav", player_shot},
    {"sounds/enemy_shot1.ogg", enemy_shot1},
    {"sounds/enemy_shot2.ogg", enemy_shot2},
    {"sounds/enemy_shot3.ogg", enemy_shot3},
    {"sounds/graze.ogg", graze},
    {"sounds/se_damage00.wav", se_damage00},
    {"sounds/enemy_dead1.ogg", enemy_dead1},
    {"sounds/enemy_dead2.ogg", enemy_dead2},
    {"sounds/item00.ogg", item00},
    {"sounds/item01.ogg", item01},
    {"sounds/powerup.ogg", powerup},
    {"sounds/menu_select.wav", menu_select},
    {"sounds/menu_ok.ogg", menu_ok},
    {"sounds/game_paused.ogg", game_paused},
    {"sounds/menu_cancel.ogg", menu_cancel},
    {"sounds/se_nodamage.wav", se_nodamage},
    {"sounds/player_dead.ogg", player_dead},
};

void add_sound_effects(Content_Output& out) {
    uint32_t serial = 0x4D495245u;  // fixed: equal sounds give equal bytes
    for (const Effect_Row& row : effect_rows) {
        Samples s = row.render();
        std::string file = row.file;
        if (file.ends_with(".wav"))
            out.add(file, encode_wav(s));
        else
            out.add(file, encode_vorbis({s}, 0.5f, serial++));
    }
}

MIREL_CONTENT_GENERATOR("sound_effects", add_sound_effects);

}  // namespace

}  // namespace audio
