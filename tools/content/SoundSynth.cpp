#include "tools/content/SoundSynth.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "tools/content/Speech.h"

namespace content {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNyquistGuard = 0.45 * kSoundRate;

class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    double Unit() { return Next() / 4294967296.0; }
    double Range(double low, double high) { return low + (high - low) * Unit(); }
    bool Chance(double p) { return Unit() < p; }

private:
    uint32_t m_state;
};

bool ParseDouble(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        out.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos)
            return out;
        start = comma + 1;
    }
}

// The semitone of a note letter with its accidental ("C" 0 ... "B" 11) and how many characters
// it took; -1 when there is none.
int Semitone(const std::string& text, size_t& used) {
    static constexpr int kLetters[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        return -1;
    int semitone = kLetters[text[0] - 'A'];
    used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        semitone += text[1] == '#' ? 1 : -1;
        used = 2;
    }
    return semitone;
}

double MidiHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

using Partials = std::vector<std::pair<double, double>>;
const Partials kPure = {{1.0, 1.0}};

// A tone: partials (frequency ratio, gain) over a gliding fundamental, an attack and release,
// an optional exponential decay and vibrato.
struct Voice {
    double start = 0, length = 0;
    double from = 220, to = 220;
    double amp = 0.5;
    double attack = 0.01, release = 0.05;
    double decay = 0;  // time constant in seconds; 0: none
    double vibrato = 0;
    Partials partials = kPure;
};

double Envelope(double t, double length, double attack, double release) {
    if (t < 0 || t >= length)
        return 0;
    double e = 1.0;
    if (attack > 0 && t < attack)
        e *= 0.5 - 0.5 * std::cos(kPi * t / attack);
    if (release > 0 && length - t < release)
        e *= 0.5 - 0.5 * std::cos(kPi * (length - t) / release);
    return e;
}

void Render(std::vector<float>& out, const Voice& v) {
    const auto first = size_t(std::max(0.0, std::floor(v.start * kSoundRate)));
    const size_t last = std::min(out.size(), size_t(std::max(0.0, std::ceil((v.start + v.length) * kSoundRate))));
    const double attack = std::min(v.attack, v.length / 2), release = std::min(v.release, v.length / 2);
    // Whole-number partials come from the sine recurrence (two library calls a sample).
    std::vector<double> harmonics;
    for (const auto& [ratio, gain] : v.partials) {
        if (ratio != std::floor(ratio) || ratio < 1 || ratio > 32) {
            harmonics.clear();
            break;
        }
        harmonics.resize(std::max(harmonics.size(), size_t(ratio) + 1), 0.0);
        harmonics[size_t(ratio)] += gain;
    }
    const double glide = std::log(v.to / v.from);
    // Other partials keep a phase each: one wrapped phase times a fractional ratio would jump.
    std::vector<double> phases(harmonics.empty() ? v.partials.size() : 0, 0.0);
    double phase = 0;
    for (size_t i = first; i < last; ++i) {
        const double t = double(i) / kSoundRate - v.start;
        double f = v.from * std::exp(glide * t / v.length);
        if (v.vibrato > 0)
            f *= 1.0 + v.vibrato * std::sin(2 * kPi * 5.5 * t);
        phase = std::fmod(phase + 2 * kPi * f / kSoundRate, 2 * kPi);
        double value = 0;
        if (!harmonics.empty()) {
            const double twoCos = 2 * std::cos(phase);
            double previous = 0, current = std::sin(phase);
            for (size_t k = 1; k < harmonics.size() && k * f < kNyquistGuard; ++k) {
                value += harmonics[k] * current;
                const double next = twoCos * current - previous;
                previous = current;
                current = next;
            }
        } else {
            for (size_t p = 0; p < phases.size(); ++p) {
                const auto& [ratio, gain] = v.partials[p];
                phases[p] = std::fmod(phases[p] + 2 * kPi * ratio * f / kSoundRate, 2 * kPi);
                if (ratio * f < kNyquistGuard)
                    value += gain * std::sin(phases[p]);
            }
        }
        double e = Envelope(t, v.length, attack, release);
        if (v.decay > 0)
            e *= std::exp(-t / v.decay);
        out[i] += float(v.amp * e * value);
    }
}

// Noise between two corner frequencies (one-pole filters) under an envelope like a voice's.
void RenderNoise(std::vector<float>& out, Random& rng, double start, double length, double amp, double low,
                 double high, double attack, double release, double decay = 0) {
    const auto first = size_t(std::max(0.0, std::floor(start * kSoundRate)));
    const size_t last = std::min(out.size(), size_t(std::max(0.0, std::ceil((start + length) * kSoundRate))));
    const double aHigh = 1.0 - std::exp(-2 * kPi * high / kSoundRate);
    const double aLow = 1.0 - std::exp(-2 * kPi * low / kSoundRate);
    attack = std::min(attack, length / 2);
    release = std::min(release, length / 2);
    double lpHigh = 0, lpLow = 0;
    for (size_t i = first; i < last; ++i) {
        const double white = rng.Range(-1.0, 1.0);
        lpHigh += aHigh * (white - lpHigh);
        lpLow += aLow * (lpHigh - lpLow);
        const double t = double(i) / kSoundRate - start;
        double e = Envelope(t, length, attack, release);
        if (decay > 0)
            e *= std::exp(-t / decay);
        out[i] += float(amp * e * (lpHigh - lpLow) * 2.5);
    }
}

// Harmonics shaped by two formants: a vowel-like colour for a fundamental.
std::vector<std::pair<double, double>> VowelPartials(double f0, double formant1, double formant2, int count = 12) {
    std::vector<std::pair<double, double>> partials;
    for (int k = 1; k <= count; ++k) {
        const double f = k * f0;
        const double g1 = (f - formant1) / 180.0, g2 = (f - formant2) / 300.0;
        const double gain = (std::exp(-g1 * g1) + 0.6 * std::exp(-g2 * g2) + 0.12) / k;
        partials.emplace_back(k, gain);
    }
    return partials;
}

const std::vector<std::pair<double, double>> kBell = {{1.0, 1.0}, {2.76, 0.35}, {5.4, 0.12}};
const std::vector<std::pair<double, double>> kSoft = {{1.0, 1.0}, {2.0, 0.3}, {3.0, 0.12}};

// One pitched syllable blip: a voiced vowel with a glide and, often, a consonant click.
void Syllable(std::vector<float>& out, Random& rng, double start, double length, double from, double to,
              double amp) {
    Voice v;
    v.start = start;
    v.length = length;
    v.from = from;
    v.to = to;
    v.amp = amp;
    v.attack = 0.015;
    v.release = std::min(0.05, length / 3);
    v.vibrato = 0.012;
    v.partials = VowelPartials(from, rng.Range(300, 800), rng.Range(900, 2300));
    Render(out, v);
    if (rng.Chance(0.55))
        RenderNoise(out, rng, start, rng.Range(0.012, 0.03), amp * 0.3, 2000, 6000, 0.002, 0.008);
}

double ContourAt(SoundRecipe::Contour contour, int index, int count) {
    const double x = count > 1 ? double(index) / (count - 1) : 0.0;
    switch (contour) {
        case SoundRecipe::Contour::Rise: return 0.92 + 0.38 * x;
        case SoundRecipe::Contour::Fall: return 1.25 - 0.4 * x;
        case SoundRecipe::Contour::Arch: return 0.95 + 0.35 * std::sin(kPi * x);
        case SoundRecipe::Contour::Bounce: return index % 2 ? 1.22 : 1.0;
        case SoundRecipe::Contour::Flat: break;
    }
    return 1.0;
}

void Pad(std::vector<float>& out, const std::vector<double>& notes, double start, double length, double amp) {
    for (double f : notes) {
        Voice v;
        v.start = start;
        v.length = length;
        v.from = v.to = f;
        v.amp = amp;
        v.attack = 0.05;
        v.release = 0.25;
        v.partials = kSoft;
        Render(out, v);
    }
}

void Host(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    const int n = r.syllables;
    const double base = r.pitch * rng.Range(0.92, 1.08);
    const double usable = std::max(0.05, r.seconds - 0.12);
    std::vector<double> weights(static_cast<size_t>(n));
    double total = 0;
    for (double& w : weights)
        total += (w = rng.Range(0.7, 1.3));
    double t = 0.04;
    for (int i = 0; i < n; ++i) {
        const double slot = usable * weights[size_t(i)] / total;
        const double from = base * ContourAt(r.contour, i, n) * rng.Range(0.96, 1.04);
        double glide = rng.Range(0.94, 1.1);
        if (i == n - 1 && r.contour == SoundRecipe::Contour::Rise)
            glide = 1.15;
        if (i == n - 1 && r.contour == SoundRecipe::Contour::Fall)
            glide = 0.85;
        const double stress = (i == 0 || i == n - 1) ? 1.0 : rng.Range(0.75, 0.95);
        Syllable(out, rng, t, slot * rng.Range(0.62, 0.8), from, from * glide, 0.5 * stress);
        t += slot;
    }
    Pad(out, r.notes, 0.0, r.seconds, 0.1);
}

void Music(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    const double beat = 60.0 / r.bpm, bar = 4 * beat;
    const int bars = std::max(1, int(std::lround(r.seconds / bar)));
    // An arpeggio and bass pattern per bar of the piece; a loop repeats them exactly.
    struct Pattern {
        int arp[8];
        bool bassExtra[8];
    };
    std::vector<Pattern> patterns(static_cast<size_t>(bars));
    for (Pattern& p : patterns)
        for (int e = 0; e < 8; ++e) {
            p.arp[e] = rng.Chance(0.3) ? -1 : int(rng.Next() % 8);
            p.bassExtra[e] = (e == 3 || e == 7) && rng.Chance(0.4);
        }
    const double length = double(out.size()) / kSoundRate;
    for (int b = 0; b * bar < length; ++b) {
        const std::vector<double>& chord = r.chords[size_t(b) % r.chords.size()];
        const Pattern& p = patterns[size_t(b % bars)];
        const double at = b * bar;
        Pad(out, chord, at, bar, 0.12);
        for (int e = 0; e < 8; ++e) {
            const double t = at + e * beat / 2;
            if (e % 4 == 0 || p.bassExtra[e]) {
                Voice bass;
                bass.start = t;
                bass.length = beat * 0.9;
                bass.from = bass.to = chord[0] / 4;
                bass.amp = 0.35;
                bass.decay = 0.25;
                bass.partials = {{1, 1}, {2, 0.5}, {3, 0.25}};
                Render(out, bass);
            }
            if (p.arp[e] >= 0) {
                Voice arp;
                arp.start = t;
                arp.length = beat / 2;
                const size_t note = size_t(p.arp[e]) % chord.size();
                arp.from = arp.to = chord[note] * (p.arp[e] >= 4 ? 4 : 2);
                arp.amp = 0.16;
                arp.attack = 0.005;
                arp.decay = 0.18;
                arp.partials = {{1, 1}, {2, 0.2}, {3, 0.08}};
                Render(out, arp);
            }
            if (e % 4 == 0) {
                Voice kick;
                kick.start = t;
                kick.length = 0.18;
                kick.from = 110;
                kick.to = 45;
                kick.amp = 0.5;
                kick.attack = 0.002;
                kick.decay = 0.07;
                Render(out, kick);
            } else if (e % 4 == 2) {
                RenderNoise(out, rng, t, 0.12, 0.25, 800, 5000, 0.002, 0.03, 0.05);
            }
            if (e % 2 == 1)
                RenderNoise(out, rng, t, 0.04, 0.12, 5000, 10000, 0.001, 0.01, 0.015);
        }
    }
}

void Sting(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    const double tune = rng.Range(0.985, 1.015);
    for (size_t i = 0; i < r.notes.size(); ++i) {
        Voice v;
        v.start = double(i) * r.step;
        v.length = r.seconds - v.start;
        if (v.length <= 0)
            break;
        v.from = v.to = r.notes[i] * tune;
        if (r.kind == SoundRecipe::Kind::Ding) {
            v.amp = 0.5;
            v.attack = 0.003;
            v.decay = 0.35;
            v.partials = kBell;
        } else {
            v.amp = 0.25;
            v.attack = 0.02;
            v.release = 0.15;
            v.vibrato = 0.006;
            v.partials = {{1, 1}, {2, 0.5}, {3, 0.33}, {4, 0.25}, {5, 0.2}, {6, 0.16}};
        }
        Render(out, v);
    }
}

void Buzz(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    const bool strike = r.kind == SoundRecipe::Kind::Strike;
    const double tune = rng.Range(0.985, 1.015);
    for (double detune : {1.0, 1.013}) {
        Voice v;
        v.length = r.seconds;
        v.from = (strike ? r.notes[0] : r.pitch) * detune * tune;
        v.to = (strike ? r.notes[1] : r.pitch) * detune * tune;
        v.amp = detune == 1.0 ? 0.5 : 0.3;
        v.attack = 0.006;
        v.release = strike ? 0.12 : 0.04;
        v.partials.clear();
        for (int k = 1; k <= 11; k += strike ? 1 : 2)
            v.partials.emplace_back(k, 1.0 / k);
        Render(out, v);
    }
}

void Ticks(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    const double interval = r.seconds / r.count;
    for (int i = 0; i < r.count; ++i) {
        Voice tick;
        tick.start = i * interval;
        tick.length = std::min(0.05, interval);
        tick.from = tick.to = i % 2 ? r.pitch * 0.75 : r.pitch;
        tick.amp = 0.6;
        tick.attack = 0.001;
        tick.decay = 0.008;
        tick.partials = {{1, 1}, {2.3, 0.4}};
        Render(out, tick);
        RenderNoise(out, rng, tick.start, 0.006, 0.3, 2000, 9000, 0.0005, 0.002);
    }
}

void Click(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    Voice v;
    v.length = r.seconds;
    v.from = r.pitch;
    v.to = r.pitch * 0.8;
    v.amp = 0.7;
    v.attack = 0.001;
    v.decay = 0.015;
    Render(out, v);
    RenderNoise(out, rng, 0, 0.004, 0.4, 3000, 9000, 0.0005, 0.002);
}

// Babble: short quiet syllables at random times across the whole buffer.
void Babble(std::vector<float>& out, Random& rng, double perSecond, double lowHz, double highHz, double amp) {
    const double length = double(out.size()) / kSoundRate;
    for (double t = rng.Range(0, 1.0 / perSecond); t < length; t += rng.Range(0.3, 1.7) / perSecond) {
        const double f = rng.Range(lowHz, highHz);
        Syllable(out, rng, t, rng.Range(0.08, 0.2), f, f * rng.Range(0.9, 1.1), amp * rng.Range(0.5, 1.0));
    }
}

void Crowd(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    const double length = double(out.size()) / kSoundRate;
    // A loop's bed runs at full level through its seam.
    const double edge = r.loop ? 0.0 : 0.3;
    switch (r.mood) {
        case SoundRecipe::Mood::Murmur:
            RenderNoise(out, rng, 0, length, 0.35, 150, 900, edge, edge);
            Babble(out, rng, 10, 110, 260, 0.12);
            break;
        case SoundRecipe::Mood::Applause:
        case SoundRecipe::Mood::Cheer: {
            const bool cheer = r.mood == SoundRecipe::Mood::Cheer;
            RenderNoise(out, rng, 0, length, cheer ? 0.3 : 0.18, 300, 3000, edge, edge);
            for (double t = 0; t < length; t += rng.Range(0.005, 0.045))
                RenderNoise(out, rng, t, 0.015, rng.Range(0.2, 0.5), 700, 4000, 0.001, 0.006, 0.006);
            if (!cheer)
                break;
            Babble(out, rng, 3, 250, 400, 0.2);
            for (double t = rng.Range(0, 0.5); t < length; t += rng.Range(0.4, 1.0)) {
                Voice whistle;
                whistle.start = t;
                whistle.length = rng.Range(0.3, 0.5);
                whistle.from = rng.Range(1100, 1400);
                whistle.to = whistle.from * rng.Range(1.15, 1.35);
                whistle.amp = 0.08;
                whistle.vibrato = 0.01;
                Render(out, whistle);
            }
            break;
        }
        case SoundRecipe::Mood::Groan:
            RenderNoise(out, rng, 0, length, 0.25, 150, 700, 0.3, length * 0.6);
            for (int i = 0; i < 10; ++i) {
                Voice aww;
                aww.start = rng.Range(0, 0.2);
                aww.length = length * rng.Range(0.7, 0.85);
                aww.from = rng.Range(180, 320);
                aww.to = aww.from * 0.6;
                aww.amp = 0.12;
                aww.attack = 0.2;
                aww.release = 0.5;
                aww.vibrato = 0.01;
                aww.partials = VowelPartials(aww.from, 500, 900, 8);
                Render(out, aww);
            }
            break;
    }
}

void Murmur(const SoundRecipe& r, Random& rng, std::vector<float>& out) {
    const double length = double(out.size()) / kSoundRate;
    RenderNoise(out, rng, 0, length, 0.12, 120, 700, 0.1, 0.2);
    for (double t = 0.05; t < length - 0.1; t += rng.Range(0.12, 0.24)) {
        const double f = r.pitch * rng.Range(0.85, 1.2);
        Syllable(out, rng, t, rng.Range(0.08, 0.16), f, f * rng.Range(0.92, 1.06), rng.Range(0.1, 0.2));
    }
}

template <typename T, size_t N>
const T* FindNamed(const std::pair<const char*, T> (&table)[N], const std::string& name) {
    for (const auto& [key, value] : table)
        if (name == key)
            return &value;
    return nullptr;
}

}  // namespace

double NoteHz(const std::string& note) {
    size_t used = 0;
    const int semitone = Semitone(note, used);
    if (used == 0 || note.size() != used + 1 || note[used] < '0' || note[used] > '8')
        return 0;
    return MidiHz(12 * (note[used] - '0' + 1) + semitone);
}

std::vector<double> ChordHz(const std::string& chord) {
    static const std::pair<const char*, std::vector<int>> kQualities[] = {
        {"", {0, 4, 7}},         {"m", {0, 3, 7}},   {"7", {0, 4, 7, 10}}, {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}}, {"dim", {0, 3, 6}}, {"sus4", {0, 5, 7}},
    };
    size_t used = 0;
    const int root = Semitone(chord, used);
    if (used == 0)
        return {};
    for (const auto& [suffix, steps] : kQualities) {
        if (chord.compare(used, std::string::npos, suffix) != 0)
            continue;
        std::vector<double> out;
        for (int step : steps)
            out.push_back(MidiHz(60 + root + step));
        return out;
    }
    return {};
}

bool ParseSoundRecipe(const std::vector<std::string>& words, SoundRecipe& recipe, std::string& error) {
    using K = SoundRecipe::Kind;
    error.clear();
    static const std::pair<const char*, K> kKinds[] = {
        {"host", K::Host},     {"music", K::Music}, {"chord", K::Chord}, {"ding", K::Ding},   {"buzz", K::Buzz},
        {"strike", K::Strike}, {"ticks", K::Ticks}, {"crowd", K::Crowd}, {"click", K::Click}, {"murmur", K::Murmur},
        {"speech", K::Speech},
    };
    // The recipes each key applies to; none listed: every recipe.
    static const std::pair<const char*, std::vector<K>> kKeys[] = {
        {"level", {}},
        {"syl", {K::Host}},
        {"contour", {K::Host}},
        {"pitch", {K::Host, K::Buzz, K::Ticks, K::Click, K::Murmur}},
        {"notes", {K::Host, K::Chord, K::Ding, K::Strike}},
        {"chords", {K::Music}},
        {"bpm", {K::Music}},
        {"step", {K::Chord, K::Ding}},
        {"count", {K::Ticks}},
        {"mood", {K::Crowd}},
    };
    static const std::pair<const char*, SoundRecipe::Contour> kContours[] = {
        {"flat", SoundRecipe::Contour::Flat}, {"rise", SoundRecipe::Contour::Rise},
        {"fall", SoundRecipe::Contour::Fall}, {"arch", SoundRecipe::Contour::Arch},
        {"bounce", SoundRecipe::Contour::Bounce}};
    static const std::pair<const char*, SoundRecipe::Mood> kMoods[] = {
        {"murmur", SoundRecipe::Mood::Murmur}, {"applause", SoundRecipe::Mood::Applause},
        {"cheer", SoundRecipe::Mood::Cheer}, {"groan", SoundRecipe::Mood::Groan}};

    const K* kind = words.empty() ? nullptr : FindNamed(kKinds, words[0]);
    if (!kind) {
        error = words.empty() ? "no recipe" : "unknown recipe \"" + words[0] + "\"";
        return false;
    }
    recipe.kind = *kind;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "loop") {
            recipe.loop = true;
            continue;
        }
        const size_t equals = word.find('=');
        const std::string key = word.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
        const std::vector<K>* kinds = FindNamed(kKeys, key);
        if (equals == std::string::npos || !kinds) {
            error = "unknown word \"" + word + "\"";
            return false;
        }
        if (!kinds->empty() && std::find(kinds->begin(), kinds->end(), recipe.kind) == kinds->end()) {
            error = "\"" + key + "\" does not apply to a " + words[0] + " recipe";
            return false;
        }
        double number = 0;
        const bool isNumber = ParseDouble(value, number);
        const bool isWhole = isNumber && number == std::floor(number);
        bool ok = true;
        if (key == "level") {
            ok = isNumber && number >= 0.05 && number <= 1.0;
            recipe.level = number;
        } else if (key == "syl") {
            ok = isWhole && number >= 1 && number <= 16;
            recipe.syllables = int(number);
        } else if (key == "pitch") {
            ok = isNumber && number >= 40 && number <= 5000;
            recipe.pitch = number;
        } else if (key == "bpm") {
            ok = isNumber && number >= 40 && number <= 240;
            recipe.bpm = number;
        } else if (key == "step") {
            ok = isNumber && number >= 0 && number <= 2;
            recipe.step = number;
        } else if (key == "count") {
            ok = isWhole && number >= 1 && number <= 64;
            recipe.count = int(number);
        } else if (key == "contour") {
            const auto* contour = FindNamed(kContours, value);
            ok = contour != nullptr;
            recipe.contour = ok ? *contour : recipe.contour;
        } else if (key == "mood") {
            const auto* mood = FindNamed(kMoods, value);
            ok = mood != nullptr;
            recipe.mood = ok ? *mood : recipe.mood;
        } else if (key == "notes") {
            recipe.notes.clear();
            for (const std::string& note : SplitList(value)) {
                recipe.notes.push_back(NoteHz(note));
                ok = ok && recipe.notes.back() > 0;
            }
        } else if (key == "chords") {
            recipe.chords.clear();
            for (const std::string& chord : SplitList(value)) {
                recipe.chords.push_back(ChordHz(chord));
                ok = ok && !recipe.chords.back().empty();
            }
        }
        if (!ok) {
            error = "bad value in \"" + word + "\"";
            return false;
        }
    }
    if (recipe.kind == K::Music && recipe.chords.empty())
        error = "a music recipe needs chords=";
    else if ((recipe.kind == K::Chord || recipe.kind == K::Ding) && recipe.notes.empty())
        error = "a " + words[0] + " recipe needs notes=";
    else if (recipe.kind == K::Strike && recipe.notes.size() != 2)
        error = "a strike recipe needs notes=<from>,<to>";
    return error.empty();
}

void FoldLoop(std::vector<float>& samples, size_t fade) {
    if (fade == 0 || samples.size() < 2 * fade)
        return;
    const size_t keep = samples.size() - fade;
    // A straight crossfade: a bar of music repeats exactly, where equal-power weights would
    // swell it.
    for (size_t i = 0; i < fade; ++i) {
        const double w = double(i) / double(fade);
        samples[i] = float(samples[keep + i] * (1.0 - w) + samples[i] * w);
    }
    samples.resize(keep);
}

std::vector<float> SynthesizeSound(const SoundRecipe& recipe, uint32_t seed, std::string* why) {
    Random rng(seed);
    const auto frames = size_t(std::lround(recipe.seconds * kSoundRate));
    const size_t fold = recipe.loop ? std::min(frames / 4, size_t(kSoundRate / 4)) : 0;
    std::vector<float> out(frames + fold, 0.0f);
    switch (recipe.kind) {
        case SoundRecipe::Kind::Host: Host(recipe, rng, out); break;
        case SoundRecipe::Kind::Music: Music(recipe, rng, out); break;
        case SoundRecipe::Kind::Chord:
        case SoundRecipe::Kind::Ding: Sting(recipe, rng, out); break;
        case SoundRecipe::Kind::Buzz:
        case SoundRecipe::Kind::Strike: Buzz(recipe, rng, out); break;
        case SoundRecipe::Kind::Ticks: Ticks(recipe, rng, out); break;
        case SoundRecipe::Kind::Crowd: Crowd(recipe, rng, out); break;
        case SoundRecipe::Kind::Click: Click(recipe, rng, out); break;
        case SoundRecipe::Kind::Murmur: Murmur(recipe, rng, out); break;
        case SoundRecipe::Kind::Speech: {
            std::string reason;
            out = SpeakText(recipe.text, frames, reason);
            if (out.empty()) {
                if (why)
                    *why = reason;
                return {};
            }
            break;
        }
    }
    FoldLoop(out, fold);
    if (!recipe.loop) {
        const size_t fadeIn = std::min(out.size() / 2, size_t(kSoundRate / 250));
        const size_t fadeOut = std::min(out.size() / 2, size_t(kSoundRate / 100));
        for (size_t i = 0; i < fadeIn; ++i)
            out[i] *= float(double(i) / double(fadeIn));
        for (size_t i = 0; i < fadeOut; ++i)
            out[out.size() - 1 - i] *= float(double(i) / double(fadeOut));
    }
    float peak = 0;
    for (float s : out)
        peak = std::max(peak, std::fabs(s));
    if (peak > 0)
        for (float& s : out)
            s *= float(recipe.level / peak);
    return out;
}

}  // namespace content
