// The menu-to-last-level tune: a light 32-bar piece in C major (intro
// theme, the theme again with harp, a flute bridge, the theme to close),
// written as a MIDI score, played through the soundfont and cut into one
// exact period so it loops without a gap or a click.
#include "canvas.h"
#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

constexpr int PPQ = 480;
constexpr int EIGHTH = PPQ / 2;
constexpr int BAR = PPQ * 4;
constexpr int BARS = 32;
constexpr int PERIOD_TICKS = BAR * BARS;
// 535 ms a beat (about 112 beats a minute): the period, 68.48 s, is a whole
// number of milliseconds and of the synthesiser's 64-sample blocks, so every
// note of the second playing starts on the same sample of its period as in
// the first. Only the reverb's slow shimmer differs between the two.
constexpr uint32_t TEMPO_US = 535000;
constexpr size_t PERIOD_FRAMES = static_cast<size_t>(68480) * SAMPLE_RATE / 1000;
constexpr size_t CROSSFADE_FRAMES = 4096;

enum Channel { CH_MELODY, CH_PAD, CH_BASS, CH_HARP, CH_FLUTE, CH_DRUMS = 9 };

struct Note {
    int tick, length, channel, key, velocity;
};

struct Event {
    int tick;
    int order;  // note-offs before note-ons at the same tick
    unsigned char bytes[3];
    int size;
};

// Note names like "E5", "F#4", "Bb3"; "R" is a rest (-1).
int keyOf(const std::string& name) {
    if (name == "R") return -1;
    static const int steps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    int key = steps[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#') ++key, ++i;
    else if (name[i] == 'b') --key, ++i;
    const int octave = std::atoi(name.c_str() + i);
    return 12 * (octave + 1) + key;
}

// A melody line: "E5:2 G5:1 ..." in eighths, from the tick given.
void addLine(std::vector<Note>& notes, int channel, int tick, const char* line, int velocity) {
    std::istringstream in(line);
    std::string token;
    int n = 0;
    while (in >> token) {
        const size_t colon = token.find(':');
        const int key = keyOf(token.substr(0, colon));
        const int eighths = std::atoi(token.c_str() + colon + 1);
        // A gentle accent on the first note of each bar, a little air between notes.
        const int accent = (tick % BAR == 0) ? 8 : ((n++ % 2) ? -4 : 0);
        if (key >= 0) notes.push_back({tick, eighths * EIGHTH - 8, channel, key, velocity + accent});
        tick += eighths * EIGHTH;
    }
}

struct Chord {
    const char* root;  // bass note
    int tones[3];      // triad in the middle register
};

Chord chordOf(const std::string& name) {
    if (name == "C") return {"C3", {60, 64, 67}};
    if (name == "Am") return {"A2", {57, 60, 64}};
    if (name == "F") return {"F2", {57, 60, 65}};
    if (name == "G") return {"G2", {59, 62, 67}};
    if (name == "G7") return {"G2", {59, 65, 67}};
    if (name == "Dm") return {"D3", {57, 62, 65}};
    return {"E3", {59, 64, 67}};  // Em
}

// The harmony of each bar, the melody over it, and which parts play.
const char* const CHORDS[BARS] = {
    "C", "Am", "F", "G", "C", "Am", "Dm", "G",   // theme
    "C", "Am", "F", "G", "C", "Am", "Dm", "C",   // theme, resolved
    "F", "G", "Em", "Am", "Dm", "G", "C", "G7",  // bridge
    "C", "Am", "F", "G", "C", "Am", "Dm", "G7",  // theme, leading back to the top
};

const char* const THEME[8] = {
    "E5:2 G5:1 E5:1 D5:2 C5:2", "A4:2 C5:1 E5:1 A5:3 G5:1", "F5:2 E5:1 D5:1 C5:2 A4:2", "B4:2 D5:2 G5:4",
    "E5:2 G5:1 E5:1 D5:2 C5:2", "A4:2 C5:1 E5:1 A5:2 B5:2", "C6:2 A5:1 F5:1 D5:2 E5:1 F5:1", "E5:2 D5:2 B4:2 R:2",
};
const char* const THEME_CLOSE[2] = {"D5:2 F5:1 A5:1 G5:2 F5:1 D5:1", "C5:6 R:2"};
const char* const THEME_LEAD_BACK = "B4:2 D5:2 G5:2 F5:2";
const char* const BRIDGE[8] = {
    "A5:3 G5:1 F5:2 C5:2", "B4:2 D5:2 G5:3 F5:1", "E5:3 D5:1 E5:2 G5:2", "A5:4 E5:2 C5:2",
    "D5:2 F5:2 A5:2 C6:2", "B5:2 A5:1 G5:1 F5:2 D5:2", "E5:2 G5:2 C6:2 G5:2", "D5:2 E5:1 F5:1 G5:2 B4:2",
};

std::vector<Note> compose() {
    std::vector<Note> notes;
    Random rng(1913);
    for (int bar = 0; bar < BARS; ++bar) {
        const int t = bar * BAR;
        const int section = bar / 8;
        const Chord chord = chordOf(CHORDS[bar]);

        // Melody: marimba for the theme, flute for the bridge, both to close.
        const char* line = section == 2 ? BRIDGE[bar % 8] : THEME[bar % 8];
        if (section == 1 && bar % 8 >= 6) line = THEME_CLOSE[bar % 8 - 6];
        if (section == 3 && bar % 8 == 7) line = THEME_LEAD_BACK;
        if (section != 2) addLine(notes, CH_MELODY, t, line, 92);
        if (section >= 2) addLine(notes, CH_FLUTE, t, line, section == 2 ? 88 : 56);

        // Strings hold the chord through the bar.
        for (int k : chord.tones) notes.push_back({t, BAR, CH_PAD, k, 46});

        // Bass: root on one, fifth on three, the octave hopping up on four.
        const int root = keyOf(chord.root);
        notes.push_back({t, PPQ * 3 / 2, CH_BASS, root, 84});
        notes.push_back({t + PPQ * 2, PPQ, CH_BASS, root + 7, 74});
        notes.push_back({t + PPQ * 3, PPQ, CH_BASS, root + 12, 68});

        // Harp: broken chords in eighths under the tune, from the second
        // theme on; step 3 of the pattern is the root an octave up.
        if (section >= 1) {
            const int pattern[8] = {0, 1, 2, 3, 2, 1, 0, 1};
            for (int e = 0; e < 8; ++e) {
                const int idx = pattern[e];
                const int key = idx == 3 ? chord.tones[0] + 12 : chord.tones[idx];
                notes.push_back({t + e * EIGHTH, EIGHTH * 2, CH_HARP, key, 50 + static_cast<int>(rng.range(0, 10))});
            }
        }

        // Drums: a soft kick and closed hats, with the cross-stick and shaker
        // joining as the piece fills out.
        notes.push_back({t, EIGHTH, CH_DRUMS, 36, 78});
        if (section >= 1) notes.push_back({t + PPQ * 2, EIGHTH, CH_DRUMS, 36, 66});
        for (int e = 0; e < 8; ++e) {
            notes.push_back({t + e * EIGHTH, EIGHTH / 2, CH_DRUMS, 42, (e % 2 ? 34 : 48) + static_cast<int>(rng.range(0, 6))});
            if (section >= 1 && (e == 2 || e == 6)) notes.push_back({t + e * EIGHTH, EIGHTH, CH_DRUMS, 37, 60});
        }
        if (section == 2)
            for (int s = 0; s < 16; ++s)
                notes.push_back({t + s * EIGHTH / 2, EIGHTH / 2, CH_DRUMS, 70, (s % 4 == 0 ? 46 : 30)});
    }
    return notes;
}

void putVarLen(std::vector<unsigned char>& out, uint32_t v) {
    unsigned char buf[5];
    int n = 0;
    buf[n++] = v & 0x7f;
    while (v >>= 7) buf[n++] = static_cast<unsigned char>((v & 0x7f) | 0x80);
    while (n) out.push_back(buf[--n]);
}

// A type-0 MIDI file of the score played `repeats` times back to back.
bool writeMidi(const std::string& path, const std::vector<Note>& notes, int repeats) {
    std::vector<Event> events;
    // Instruments, levels, panning and reverb sends for each part.
    const int programs[5][5] = {
        // channel, program, volume, pan, reverb
        {CH_MELODY, 12, 104, 58, 40}, {CH_PAD, 48, 70, 64, 70}, {CH_BASS, 32, 100, 64, 10},
        {CH_HARP, 46, 78, 80, 50},    {CH_FLUTE, 73, 90, 46, 60},
    };
    for (const auto& p : programs) {
        events.push_back({0, 0, {static_cast<unsigned char>(0xC0 | p[0]), static_cast<unsigned char>(p[1]), 0}, 2});
        events.push_back({0, 0, {static_cast<unsigned char>(0xB0 | p[0]), 7, static_cast<unsigned char>(p[2])}, 3});
        events.push_back({0, 0, {static_cast<unsigned char>(0xB0 | p[0]), 10, static_cast<unsigned char>(p[3])}, 3});
        events.push_back({0, 0, {static_cast<unsigned char>(0xB0 | p[0]), 91, static_cast<unsigned char>(p[4])}, 3});
        events.push_back({0, 0, {static_cast<unsigned char>(0xB0 | p[0]), 93, 0}, 3});
    }
    events.push_back({0, 0, {0xB9, 7, 96}, 3});
    events.push_back({0, 0, {0xB9, 91, 30}, 3});
    for (int r = 0; r < repeats; ++r) {
        for (const Note& n : notes) {
            const int start = n.tick + r * PERIOD_TICKS;
            const unsigned char ch = static_cast<unsigned char>(n.channel);
            const unsigned char key = static_cast<unsigned char>(n.key);
            const unsigned char vel = static_cast<unsigned char>(std::max(1, std::min(127, n.velocity)));
            events.push_back({start, 2, {static_cast<unsigned char>(0x90 | ch), key, vel}, 3});
            events.push_back({start + n.length, 1, {static_cast<unsigned char>(0x80 | ch), key, 0}, 3});
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });

    std::vector<unsigned char> track;
    putVarLen(track, 0);
    const unsigned char tempo[6] = {0xFF, 0x51, 0x03, static_cast<unsigned char>(TEMPO_US >> 16),
                                    static_cast<unsigned char>(TEMPO_US >> 8), static_cast<unsigned char>(TEMPO_US)};
    track.insert(track.end(), tempo, tempo + 6);
    int now = 0;
    for (const Event& e : events) {
        putVarLen(track, static_cast<uint32_t>(e.tick - now));
        now = e.tick;
        track.insert(track.end(), e.bytes, e.bytes + e.size);
    }
    // Let the render run one more bar past the last note.
    putVarLen(track, static_cast<uint32_t>(repeats * PERIOD_TICKS + BAR - now));
    const unsigned char end[3] = {0xFF, 0x2F, 0x00};
    track.insert(track.end(), end, end + 3);

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const unsigned char header[14] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, PPQ >> 8, PPQ & 0xff};
    std::fwrite(header, 1, 14, f);
    const uint32_t len = static_cast<uint32_t>(track.size());
    const unsigned char trackHeader[8] = {'M', 'T', 'r', 'k', static_cast<unsigned char>(len >> 24),
                                          static_cast<unsigned char>(len >> 16), static_cast<unsigned char>(len >> 8),
                                          static_cast<unsigned char>(len)};
    std::fwrite(trackHeader, 1, 8, f);
    std::fwrite(track.data(), 1, track.size(), f);
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

// Renders the score with fluidsynth into interleaved stereo floats. Chorus
// is off: its sweep does not repeat with the tune.
bool render(const SoundTools& tools, const std::string& midi, const std::string& raw, Pcm& pcm) {
    const std::string command = "'" + tools.fluidsynth + "' -q -ni -g 0.5 -r 44100 -T raw -O float -E little" +
                                " -o synth.chorus.active=0 -o synth.reverb.active=1 -o synth.cpu-cores=1" +
                                " -F '" + raw + "' '" + tools.soundfont + "' '" + midi + "' > /dev/null";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "fluidsynth failed: %s\n", command.c_str());
        return false;
    }
    FILE* f = std::fopen(raw.c_str(), "rb");
    if (!f) return false;
    std::fseek(f, 0, SEEK_END);
    const long bytes = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    pcm.channels = 2;
    pcm.samples.resize(static_cast<size_t>(bytes) / sizeof(float));
    const size_t got = std::fread(pcm.samples.data(), sizeof(float), pcm.samples.size(), f);
    std::fclose(f);
    return got == pcm.samples.size();
}

}  // namespace

// One period out of a render of two back-to-back playings: the second
// playing already carries the first one's ringing notes and reverb at its
// start, just as the loop will. Its last few thousand frames are blended
// into the frames that precede the cut in the first playing (the same music,
// but for the reverb's shimmer), so the last frame leads into the first
// exactly.
Pcm cutLoop(const Pcm& twice, size_t period, size_t crossfade) {
    Pcm loop;
    loop.channels = twice.channels;
    const size_t ch = static_cast<size_t>(twice.channels);
    if (twice.frames() < 2 * period || crossfade > period) return loop;
    loop.samples.assign(twice.samples.begin() + period * ch, twice.samples.begin() + 2 * period * ch);
    for (size_t i = 0; i < crossfade; ++i) {
        const double w = 0.5 - 0.5 * std::cos(M_PI * (i + 1) / crossfade);  // 0 to 1
        const size_t at = period - crossfade + i;
        for (size_t c = 0; c < ch; ++c) {
            const float late = loop.samples[at * ch + c];
            const float early = twice.samples[at * ch + c];
            loop.samples[at * ch + c] = static_cast<float>(late * (1 - w) + early * w);
        }
    }
    return loop;
}

// Scales the tune to a steady listening level under full scale; the effects
// are balanced against this level.
void levelMusic(Pcm& pcm, double targetRms, double ceiling) {
    double sum = 0, peak = 0;
    for (float s : pcm.samples) {
        sum += static_cast<double>(s) * s;
        peak = std::max(peak, std::fabs(static_cast<double>(s)));
    }
    if (pcm.samples.empty() || peak <= 0) return;
    const double rms = std::sqrt(sum / pcm.samples.size());
    const double gain = std::min(targetRms / rms, ceiling / peak);
    for (float& s : pcm.samples) s = static_cast<float>(s * gain);
}

bool writeMusic(const std::string& dataDir, const SoundTools& tools) {
    const std::string midi = tools.workDir + "/tune.mid";
    const std::string raw = tools.workDir + "/tune.raw";
    const std::string wav = tools.workDir + "/music.wav";
    if (!writeMidi(midi, compose(), 2)) return false;
    Pcm twice;
    if (!render(tools, midi, raw, twice)) return false;
    Pcm loop = cutLoop(twice, PERIOD_FRAMES, CROSSFADE_FRAMES);
    if (loop.samples.empty()) {
        std::fprintf(stderr, "the render is shorter than two periods\n");
        return false;
    }
    levelMusic(loop, 0.12, 0.89);
    return writeWav(wav, loop) && encodeMp3(tools, wav, dataDir + "/sound/music.mp3", 160);
}
