// The sequencer behind the three music tracks: a score is a set of parts (notes on a grid of
// sixteenth-note steps, 16 to a 4/4 bar), each played by one instrument of the synthesiser with
// its own gain, pan and reverb send. Scores are written in a small text notation:
//
//   melody  "E5.3 A5.3 B5.2 C6.8"   pitch (C4 = middle C, '#' or 'b'), a dot, the length in
//                                   steps; "r.4" is a rest. A leading '>' accents a note.
//   chords  "Am F C/E G7"          one chord per bar: root, quality (m, 7, m7, maj7, sus2,
//                                   sus4, dim, add9), optional slash bass.
//   drums   "x...x...x...o..."     16 characters per bar: 'x' hit, 'o' soft hit, '.' rest.
//
// A track is rendered as a seamless loop: what rings past the loop's end (releases, reverb) is
// folded back onto its start, so the file can repeat without a gap or a click.
#pragma once

#include <string>
#include <vector>

#include "audio_synth.h"

namespace audio {

struct Note {
    float step;      // start, in sixteenth-note steps from the track's start
    float length;    // steps
    float midi;      // MIDI note number
    float velocity;  // 0..1
};
using Part = std::vector<Note>;

struct Chord {
    int root;                // MIDI pitch class 0..11 (0 = C)
    std::vector<int> tones;  // semitones above the root, root first
    int bass;                // pitch class of the bass note (the root unless a slash names one)
};

// Throws (content_fail) naming the text when a token does not parse or, for melodies, when the
// lengths do not add up to `bars` whole bars.
std::vector<Chord> parse_chords(const std::string& text);
Part parse_melody(const std::string& text, int bars, float start_step);
Part parse_drums(const std::string& pattern, float start_step, float midi = 0.0f);

// Adds `part` to `to`, shifted by `steps` and transposed by `semitones`, with velocities scaled.
void append(Part& to, const Part& part, float steps = 0.0f, float semitones = 0.0f, float gain = 1.0f);

enum class Instrument {
    flute,       // breathy sine lead with delayed vibrato
    saw_lead,    // warm detuned saws through a moving low-pass
    glass_lead,  // FM bell attack over a sustained glassy tone
    pad,         // slow detuned saw choir
    pluck,       // plucked string (harp, guitar-like arpeggios)
    bell,        // short FM bell (music box, ostinati)
    bass,        // round saw bass with a sine body
    soft_bass,   // sine-and-triangle bass for quiet passages
    kick,
    snare,
    hat,         // closed hi-hat
    open_hat,
    shaker,
    crash,
};

struct Score {
    float bpm = 120.0f;
    int bars = 8;
    struct Track_Part {
        Instrument instrument;
        Part notes;
        float gain;
        float pan;   // -1 left .. 1 right
        float send;  // share sent to the reverb
    };
    std::vector<Track_Part> parts;
    float reverb_room = 0.7f;
    float reverb_damp = 0.5f;
    float reverb_level = 0.35f;
    float echo_steps = 0.0f;  // ping-pong echo on the reverb send, 0 = none
    float echo_level = 0.0f;

    void add(Instrument instrument, Part notes, float gain, float pan, float send) {
        parts.push_back({instrument, std::move(notes), gain, pan, send});
    }
    float step_seconds() const { return 60.0f / bpm / 4.0f; }
};

struct Loop_Report {
    float seconds;
    float peak;         // largest magnitude after mastering
    float rms_db;       // RMS level, dBFS
    float seam_jump;    // |first - last| sample difference across the loop point, worst channel
    float local_step;   // largest |x[n+1] - x[n]| within 256 samples either side of the seam:
                        // a seam jump no larger than this is the music, not a click
};

// Renders the score as one loop of `bars` bars, mastered to a peak of 0.89.
Stereo render_score(const Score& score, Loop_Report& report);

}  // namespace audio
