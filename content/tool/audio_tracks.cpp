// The three music tracks of "music.xml", written as scores for the sequencer of audio_music.h:
//   "00_title_theme"  calm and inviting: D major, 88 bpm, flute over harp and a soft pad;
//   "01_amber_wind"   the stage: A minor, 150 bpm, a driving but light saw lead with plucked
//                     arpeggios, bass and a full kit;
//   "02_glass_winter" the boss: E minor, 168 bpm, a cold glass lead with a bell ostinato.
// Each score is one loop; the tracks render in parallel and are encoded as stereo Vorbis.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <thread>

#include "audio_encode.h"
#include "audio_music.h"
#include "content_output.h"

namespace audio {

namespace {

// Lowest MIDI note >= lo with pitch class pc.
int place_in(int pc, int lo) {
    int n = lo + ((pc - lo) % 12 + 12) % 12;
    return n;
}

// Sustained chords, one per bar, voiced upwards from `lo`.
Part chord_part(const std::vector<Chord>& chords, int start_bar, int lo, float velocity, float bars_each = 1.0f) {
    Part out;
    for (size_t b = 0; b < chords.size(); ++b) {
        const Chord& c = chords[b];
        for (int t : c.tones) {
            if (t >= 12) continue;  // added ninths colour arpeggios, not the pad
            int n = place_in((c.root + t) % 12, lo);
            out.push_back({(static_cast<float>(start_bar) + static_cast<float>(b) * bars_each) * 16.0f,
                           16.0f * bars_each, static_cast<float>(n), velocity});
        }
    }
    return out;
}

// Arpeggio: `pattern` holds indices into the chord's tones stacked upwards from the root
// (0 root, 1 next tone, ..., one octave higher after the last tone); -1 is a rest. One pattern
// per bar, every entry `steps` long.
Part arp_part(const std::vector<Chord>& chords, int start_bar, int lo, const std::vector<int>& pattern,
              float steps, float velocity) {
    Part out;
    for (size_t b = 0; b < chords.size(); ++b) {
        const Chord& c = chords[b];
        int base = place_in(c.root, lo);
        std::vector<int> tones;
        for (int t : c.tones)
            if (t < 12) tones.push_back(t);
        for (size_t i = 0; i < pattern.size(); ++i) {
            int k = pattern[i];
            if (k < 0) continue;
            int size = static_cast<int>(tones.size());
            int n = base + tones[static_cast<size_t>(k % size)] + 12 * (k / size);
            float accent = (i % 4 == 0) ? 1.0f : 0.8f;
            out.push_back({(static_cast<float>(start_bar) + static_cast<float>(b)) * 16.0f +
                               static_cast<float>(i) * steps,
                           steps, static_cast<float>(n), velocity * accent});
        }
    }
    return out;
}

// Bass line from a rhythm of 16 characters per bar: 'R' the chord's bass note, 'O' it an octave
// up, 'F' the fifth above the root, '.' holds the previous note, '-' a rest.
Part bass_part(const std::vector<Chord>& chords, int start_bar, int lo, const std::string& rhythm, float velocity) {
    Part out;
    for (size_t b = 0; b < chords.size(); ++b) {
        const Chord& c = chords[b];
        int bass = place_in(c.bass, lo);
        int fifth = place_in((c.root + 7) % 12, lo);
        float bar_step = (static_cast<float>(start_bar) + static_cast<float>(b)) * 16.0f;
        for (size_t i = 0; i < rhythm.size(); ++i) {
            char ch = rhythm[i];
            if (ch == '.' ) {
                if (!out.empty() && out.back().step + out.back().length == bar_step + static_cast<float>(i))
                    out.back().length += 1.0f;
                continue;
            }
            if (ch == '-') continue;
            int n = ch == 'O' ? bass + 12 : ch == 'F' ? fifth : bass;
            out.push_back({bar_step + static_cast<float>(i), 1.0f, static_cast<float>(n),
                           velocity * (i % 4 == 0 ? 1.0f : 0.85f)});
        }
    }
    return out;
}

// A second voice under a tune: each note's nearest chord tone at least a minor third below it,
// from the chord of the note's bar (`chords` counts bars from the track's start).
Part harmony_below(const Part& tune, const std::vector<Chord>& chords, float gain) {
    Part out;
    for (const Note& n : tune) {
        const Chord& c = chords.at(static_cast<size_t>(n.step / 16.0f));
        int top = static_cast<int>(n.midi) - 3;
        int best = top - 12;
        for (int t : c.tones) {
            int p = top - ((top - (c.root + t) % 12) % 12 + 12) % 12;  // highest such tone <= top
            best = std::max(best, p);
        }
        out.push_back({n.step, n.length, static_cast<float>(best), n.velocity * gain});
    }
    return out;
}

// A drum line: `bar` repeated over `bars` bars, with `fill` (if given) as the last bar.
Part drum_line(const std::string& bar, int start_bar, int bars, const std::string& fill = "") {
    Part out;
    for (int b = 0; b < bars; ++b) {
        const std::string& p = (b == bars - 1 && !fill.empty()) ? fill : bar;
        append(out, parse_drums(p, static_cast<float>((start_bar + b) * 16)));
    }
    return out;
}

Part crash_at(std::initializer_list<int> bars, float velocity) {
    Part out;
    for (int b : bars) out.push_back({static_cast<float>(b * 16), 1.0f, 0.0f, velocity});
    return out;
}

// ---------------------------------------------------------------------------------------------
// "00_title_theme": 32 bars. Intro 4, A 8, B 8, A' 8, outro 4 leading back to the intro.

Score title_theme() {
    Score s;
    s.bpm = 88.0f;
    s.bars = 32;
    s.reverb_room = 0.85f;
    s.reverb_level = 0.5f;
    s.echo_steps = 6.0f;
    s.echo_level = 0.25f;
    const std::string chords_text =
        "Dmaj7 Gmaj7 Dmaj7 Asus4 "            // intro
        "D A/C# Bm G D G Em A "               // A
        "G A F#m Bm G A Bm A "                // B
        "D A/C# Bm G Em A D D "               // A'
        "Gmaj7 A Dmaj7 A7";                   // outro
    std::vector<Chord> chords = parse_chords(chords_text);

    const char* melody_a =
        "F#5.6 E5.2 D5.4 A4.4  E5.6 F#5.2 E5.4 C#5.4  D5.6 C#5.2 B4.4 F#4.4  G4.8 A4.4 B4.4 "
        "F#5.6 A5.2 B5.4 A5.4  D6.6 B5.2 A5.4 G5.4  F#5.4 E5.4 G5.4 B5.4  A5.12 r.4";
    const char* melody_b =
        "B5.4 D6.4 B5.4 A5.4  C#6.8 A5.4 E5.4  F#5.6 A5.2 C#6.4 A5.4  B5.12 r.4 "
        "G5.4 B5.4 D6.4 E6.4  E6.6 D6.2 C#6.4 A5.4  D6.6 C#6.2 B5.4 F#5.4  E5.8 A5.8";
    const char* melody_a2 =
        "F#5.6 E5.2 D5.4 A4.4  E5.6 F#5.2 E5.4 C#5.4  D5.6 C#5.2 B4.4 F#4.4  G4.8 A4.4 B4.4 "
        "G5.6 F#5.2 E5.4 B4.4  C#5.6 E5.2 A5.4 G5.4  F#5.12 E5.4  D5.16";
    const char* outro = "B5.8 A5.8  C#6.8 E6.8  F#6.12 r.4  E6.4 C#6.4 A5.4 G5.4";

    Part lead;
    append(lead, parse_melody(melody_a, 8, 4 * 16));
    append(lead, parse_melody(melody_b, 8, 12 * 16));
    append(lead, parse_melody(melody_a2, 8, 20 * 16));
    s.add(Instrument::flute, lead, 0.27f, 0.05f, 0.45f);

    // The music box answers the flute in the intro, the outro and the second A.
    Part box;
    append(box, parse_melody("A5.4 F#5.4 D6.8  B5.4 G5.4 D6.8  A5.4 F#5.4 C#6.8  E5.8 r.8", 4, 0));
    append(box, parse_melody(outro, 4, 28 * 16));
    append(box, parse_melody(melody_a2, 8, 20 * 16), 0.0f, 12.0f, 0.35f);
    s.add(Instrument::bell, box, 0.2f, -0.3f, 0.5f);

    s.add(Instrument::pad, chord_part(chords, 0, 54, 0.5f), 0.16f, 0.0f, 0.6f);
    s.add(Instrument::pluck, arp_part(chords, 0, 50, {0, 2, 4, 5, 3, 4, 2, 1}, 2.0f, 0.7f), 0.3f, -0.35f, 0.4f);
    s.add(Instrument::soft_bass, bass_part(chords, 0, 38, "R.......F.......", 0.8f), 0.3f, 0.0f, 0.05f);

    // Brushed rhythm from the B section on: shaker eighths, a soft kick and a side-stick.
    Part kick = drum_line("x.......o.......", 12, 16);
    Part shaker = drum_line("x.o.x.o.x.o.x.oo", 12, 20);
    Part rim = drum_line("....o.......o...", 12, 16);
    s.add(Instrument::kick, kick, 0.4f, 0.0f, 0.0f);
    s.add(Instrument::shaker, shaker, 0.12f, 0.3f, 0.2f);
    s.add(Instrument::snare, rim, 0.12f, -0.1f, 0.3f);
    s.add(Instrument::crash, crash_at({12, 20}, 0.5f), 0.08f, 0.2f, 0.3f);
    return s;
}

// ---------------------------------------------------------------------------------------------
// "01_amber_wind": 48 bars. Intro 4, A 8, B 8, A 8, C (break) 8, B' 8, turn 4.

Score amber_wind() {
    Score s;
    s.bpm = 150.0f;
    s.bars = 48;
    s.reverb_room = 0.6f;
    s.reverb_level = 0.3f;
    s.echo_steps = 3.0f;
    s.echo_level = 0.15f;
    const std::string a = "Am F C G Am F G E ";
    const std::string b = "F G Em Am Dm G C E ";
    const std::string c = "Dm Am Dm Am F G Esus4 E ";
    std::vector<Chord> chords = parse_chords("Am F G E " + a + b + a + c + b + "Am F G E");

    const char* melody_a =
        ">E5.3 A5.3 B5.2 >C6.4 B5.2 A5.2  A5.3 G5.3 F5.2 E5.4 C5.4  >G5.3 C6.3 D6.2 E6.4 D6.2 C6.2  B5.6 G5.2 D5.8 "
        ">E5.3 A5.3 B5.2 >C6.4 D6.2 E6.2  >F6.4 E6.2 D6.2 C6.4 A5.4  B5.3 C6.3 D6.2 B5.4 G5.4  >G#5.8 B5.4 E5.4";
    const char* melody_b =
        ">C6.6 A5.2 F5.4 A5.4  >B5.6 G5.2 D5.4 G5.4  G5.4 B5.4 E6.4 D6.4  >C6.12 r.4 "
        ">D6.4 F6.4 E6.4 D6.4  B5.4 D6.4 C6.4 B5.4  >C6.4 G5.4 E5.4 G5.4  >G#5.4 B5.4 E6.8";
    const char* melody_c =
        "D5.4 F5.4 A5.8  E5.4 A5.4 C6.8  F5.4 A5.4 D6.8  C6.4 B5.4 A5.8 "
        "A5.4 C6.4 F6.8  G5.4 B5.4 D6.8  A5.8 B5.8  G#5.16";

    Part lead;
    append(lead, parse_melody(melody_a, 8, 4 * 16));
    append(lead, parse_melody(melody_b, 8, 12 * 16));
    append(lead, parse_melody(melody_a, 8, 20 * 16));
    append(lead, parse_melody(melody_b, 8, 36 * 16));
    s.add(Instrument::saw_lead, lead, 0.2f, 0.0f, 0.3f);

    // Bells shadow the lead in the repeats (an octave under, then above); the break's tune is
    // theirs, with a quiet flute.
    Part echo_voice;
    append(echo_voice, parse_melody(melody_a, 8, 20 * 16), 0.0f, -12.0f, 0.5f);
    append(echo_voice, parse_melody(melody_b, 8, 36 * 16), 0.0f, 12.0f, 0.35f);
    s.add(Instrument::bell, echo_voice, 0.14f, 0.35f, 0.4f);
    Part second;
    append(second, harmony_below(parse_melody(melody_a, 8, 20 * 16), chords, 0.8f));
    append(second, harmony_below(parse_melody(melody_b, 8, 36 * 16), chords, 0.8f));
    s.add(Instrument::saw_lead, second, 0.12f, 0.3f, 0.3f);
    Part break_tune = parse_melody(melody_c, 8, 28 * 16);
    s.add(Instrument::bell, break_tune, 0.26f, -0.2f, 0.5f);
    s.add(Instrument::flute, parse_melody(melody_c, 8, 28 * 16), 0.12f, 0.2f, 0.5f);

    s.add(Instrument::pad, chord_part(chords, 0, 55, 0.45f), 0.11f, 0.0f, 0.5f);
    s.add(Instrument::pluck,
          arp_part(chords, 0, 57, {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 4, 3, 2, 1, 2, 3}, 1.0f, 0.6f), 0.2f, -0.4f, 0.3f);
    Part bass_line;
    append(bass_line, bass_part(parse_chords("Am F G E " + a + b + a), 0, 33, "R.RO.RR.R.RO.RO.", 0.85f));
    append(bass_line, bass_part(parse_chords(c), 28, 33, "R.......R...F...", 0.7f));
    append(bass_line, bass_part(parse_chords(b + "Am F G E"), 36, 33, "R.RO.RR.R.RO.RO.", 0.85f));
    s.add(Instrument::bass, bass_line, 0.26f, 0.0f, 0.0f);

    // Kit: a straight rock beat, a half-time break, fills at section ends.
    const std::string fill_s = "....x...x.x.xoxx";
    Part kick, snare, hats, open;
    append(kick, drum_line("x...x...x...x...", 0, 4));
    append(hats, drum_line("..x...x...x...x.", 0, 4));
    for (int start : {4, 12, 20}) {
        append(kick, drum_line("x.....x.x.x.....", start, 8));
        append(snare, drum_line("....x.......x...", start, 8, fill_s));
        append(hats, drum_line("xoxoxoxoxoxoxoxo", start, 8));
        append(open, drum_line("..............x.", start, 8));
    }
    append(kick, drum_line("x.........x.....", 28, 8));
    append(snare, drum_line("........x.......", 28, 8, "........x...xoxx"));
    append(hats, drum_line("x.o.x.o.x.o.x.o.", 28, 8));
    append(kick, drum_line("x.....x.x.x.....", 36, 8));
    append(snare, drum_line("....x.......x...", 36, 8, fill_s));
    append(hats, drum_line("xoxoxoxoxoxoxoxo", 36, 8));
    append(kick, drum_line("x...x...x...x...", 44, 4));
    append(snare, drum_line("....x.......x...", 44, 4, "x.x.x.x.xoxoxxxx"));
    append(hats, drum_line("..x...x...x...x.", 44, 4));
    s.add(Instrument::kick, kick, 0.38f, 0.0f, 0.0f);
    s.add(Instrument::snare, snare, 0.3f, 0.05f, 0.25f);
    s.add(Instrument::hat, hats, 0.1f, 0.3f, 0.05f);
    s.add(Instrument::open_hat, open, 0.08f, 0.3f, 0.1f);
    s.add(Instrument::crash, crash_at({4, 12, 20, 36}, 0.8f), 0.1f, -0.25f, 0.2f);
    return s;
}

// ---------------------------------------------------------------------------------------------
// "02_glass_winter": 56 bars. Intro 4, A 8, A' 8, B 8, C (bridge) 8, B' 8, A'' 8, turn 4.

Score glass_winter() {
    Score s;
    s.bpm = 168.0f;
    s.bars = 56;
    s.reverb_room = 0.8f;
    s.reverb_damp = 0.3f;
    s.reverb_level = 0.4f;
    s.echo_steps = 3.0f;
    s.echo_level = 0.2f;
    const std::string a = "Em C D Bm Em C Am B ";
    const std::string b = "C D Bm Em Am D G B7 ";
    const std::string c = "Am Em Am Em C D B B ";
    std::vector<Chord> chords = parse_chords("Em C D B " + a + a + b + c + b + a + "Em C D B");

    const char* melody_a =
        ">E5.2 F#5.2 G5.2 B5.2 >E6.4 D6.2 B5.2  >C6.4 B5.2 G5.2 E5.4 G5.4  >F#5.2 G5.2 A5.2 D6.2 >F#6.4 E6.2 D6.2  "
        ">B5.8 F#5.4 D6.4  >E5.2 F#5.2 G5.2 B5.2 >E6.4 F#6.2 G6.2  >G6.4 E6.2 C6.2 E6.4 G6.4  "
        ">A6.4 G6.2 E6.2 C6.4 E6.4  >D#6.8 F#6.4 B5.4";
    const char* melody_b =
        ">G5.6 E6.2 D6.4 C6.4  >A5.6 F#6.2 E6.4 D6.4  D6.4 B5.4 F#5.4 B5.4  >E6.12 r.4  "
        ">C6.6 E6.2 A6.4 G6.4  >F#6.6 E6.2 D6.4 A5.4  B5.4 D6.4 G6.4 F#6.4  >F#6.8 D#6.4 A5.4";
    const char* melody_c =
        "C6.8 E6.8  B5.8 G5.8  A5.8 C6.8  B5.16  E6.8 G6.8  F#6.8 A6.8  F#6.16  D#6.8 F#6.8";

    Part lead;
    append(lead, parse_melody(melody_a, 8, 4 * 16));
    append(lead, parse_melody(melody_a, 8, 12 * 16));
    append(lead, parse_melody(melody_b, 8, 20 * 16));
    append(lead, parse_melody(melody_b, 8, 36 * 16));
    append(lead, parse_melody(melody_a, 8, 44 * 16));
    s.add(Instrument::glass_lead, lead, 0.26f, 0.0f, 0.35f);

    // A second glass voice harmonises the first repeat, the saw doubles the tune an octave down
    // in the later ones; the bridge is the flute's.
    Part doubled;
    append(doubled, parse_melody(melody_b, 8, 36 * 16), 0.0f, -12.0f, 0.8f);
    append(doubled, parse_melody(melody_a, 8, 44 * 16), 0.0f, -12.0f, 0.8f);
    s.add(Instrument::saw_lead, doubled, 0.09f, -0.25f, 0.25f);
    s.add(Instrument::glass_lead, harmony_below(parse_melody(melody_a, 8, 12 * 16), chords, 0.75f), 0.16f, -0.3f, 0.4f);
    s.add(Instrument::flute, parse_melody(melody_c, 8, 28 * 16), 0.3f, 0.1f, 0.6f);

    // The ice ostinato: sixteenth-note bells climbing the chord.
    s.add(Instrument::bell,
          arp_part(chords, 0, 64, {0, 2, 4, 2, 1, 3, 5, 3, 0, 2, 4, 6, 5, 4, 3, 2}, 1.0f, 0.55f), 0.13f, 0.4f, 0.45f);
    s.add(Instrument::pad, chord_part(chords, 0, 52, 0.5f), 0.13f, 0.0f, 0.6f);
    Part bass_line;
    append(bass_line, bass_part(parse_chords("Em C D B " + a + a + b), 0, 28, "R.ROR.ROR.ROR.RO", 0.85f));
    append(bass_line, bass_part(parse_chords(c), 28, 28, "R...R...R...F...", 0.75f));
    append(bass_line, bass_part(parse_chords(b + a + "Em C D B"), 36, 28, "R.ROR.ROR.ROR.RO", 0.85f));
    s.add(Instrument::bass, bass_line, 0.24f, 0.0f, 0.0f);

    const std::string fill = "x.x.x.x.xxxxoxxx";
    Part kick, snare, hats, open;
    append(kick, drum_line("x.......x.......", 0, 4));
    append(hats, drum_line("x.x.x.x.x.x.x.x.", 2, 2));
    append(snare, drum_line("................", 0, 4, "........x.x.xoxx"));
    for (int start : {4, 12, 44}) {
        append(kick, drum_line("x...x...x...x...", start, 8));
        append(snare, drum_line("....x.......x...", start, 8, fill));
        append(hats, drum_line("xoxoxoxoxoxoxoxo", start, 8));
        append(open, drum_line("..x...x...x...x.", start, 8));
    }
    for (int start : {20, 36}) {
        append(kick, drum_line("x..x..x...x..x..", start, 8));
        append(snare, drum_line("....x.......x..o", start, 8, fill));
        append(hats, drum_line("xoxoxoxoxoxoxoxo", start, 8));
    }
    append(kick, drum_line("x...............", 28, 8));
    append(hats, drum_line("..o...o...o...o.", 28, 8));
    append(snare, drum_line("................", 28, 8, "....x...x.x.xxxx"));
    append(kick, drum_line("x...x...x...x...", 52, 4));
    append(snare, drum_line("....x.......x...", 52, 4, "x.x.x.x.xoxoxxxx"));
    append(hats, drum_line("xoxoxoxoxoxoxoxo", 52, 4));
    s.add(Instrument::kick, kick, 0.34f, 0.0f, 0.0f);
    s.add(Instrument::snare, snare, 0.28f, -0.05f, 0.3f);
    s.add(Instrument::hat, hats, 0.09f, -0.3f, 0.05f);
    s.add(Instrument::open_hat, open, 0.06f, -0.3f, 0.1f);
    s.add(Instrument::crash, crash_at({4, 12, 20, 28, 36, 44}, 0.8f), 0.1f, 0.25f, 0.25f);
    return s;
}

struct Track_Row {
    const char* name;
    const char* file;
    Score (*score)();
    uint32_t serial;
};

const Track_Row track_rows[] = {
    {"00_title_theme", "music/00_title_theme.ogg", title_theme, 0x4D000000u},
    {"01_amber_wind", "music/01_amber_wind.ogg", amber_wind, 0x4D000001u},
    {"02_glass_winter", "music/02_glass_winter.ogg", glass_winter, 0x4D000002u},
};

void add_music(Content_Output& out) {
    constexpr size_t count = std::size(track_rows);
    std::vector<uint8_t> files[count];
    Loop_Report reports[count];
    std::string errors[count];
    std::vector<std::thread> workers;
    for (size_t i = 0; i < count; ++i) {
        workers.emplace_back([&, i] {
            try {
                Stereo s = render_score(track_rows[i].score(), reports[i]);
                files[i] = encode_vorbis({s.left, s.right}, 0.5f, track_rows[i].serial);
            } catch (const std::exception& e) {
                errors[i] = std::string(track_rows[i].name) + ": " + e.what();
            }
        });
    }
    for (auto& w : workers) w.join();
    for (size_t i = 0; i < count; ++i) {
        if (!errors[i].empty()) content_fail(errors[i]);
        const Loop_Report& r = reports[i];
        // The seam must be no sharper than the music right around it, or the loop would click.
        if (r.seam_jump > 1.5f * r.local_step + 0.01f)
            content_fail(std::string(track_rows[i].name) + ": the loop point clicks");
        std::printf("music %s: %.1f s, peak %.3f, rms %.1f dBFS, seam step %.4f (largest nearby %.4f), %zu bytes\n",
                    track_rows[i].name, r.seconds, r.peak, r.rms_db, r.seam_jump, r.local_step, files[i].size());
        out.add(track_rows[i].file, std::move(files[i]));
    }
}

MIREL_CONTENT_GENERATOR("music", add_music);

}  // namespace

}  // namespace audio
