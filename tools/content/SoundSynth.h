#pragma once
// The sound synthesiser of the sample content: a recipe (tones, noise, chords, envelopes)
// turned into mono samples at 22,050 Hz. The same recipe and seed always give the same
// samples.
#include <cstdint>
#include <string>
#include <vector>

namespace content {

inline constexpr uint32_t kSoundRate = 22050;

struct SoundRecipe {
    enum class Kind { Host, Music, Chord, Ding, Buzz, Strike, Ticks, Crowd, Click, Murmur, Speech };
    enum class Contour { Flat, Rise, Fall, Arch, Bounce };
    enum class Mood { Murmur, Applause, Cheer, Groan };

    Kind kind = Kind::Host;
    double seconds = 1.0;
    // The end runs into the start (a crossfade folds the tail over the head).
    bool loop = false;
    // Peak level, 0 to 1.
    double level = 0.7;
    int syllables = 4;                        // host
    Contour contour = Contour::Flat;          // host
    double pitch = 140.0;                     // host, murmur voice; buzz, ticks, click tone
    std::vector<double> notes;                // chord, ding, strike (from, to); host's pad
    std::vector<std::vector<double>> chords;  // music, one chord a bar
    double bpm = 110.0;                       // music
    double step = 0.1;                        // ding, chord: seconds between notes
    int count = 6;                            // ticks
    Mood mood = Mood::Murmur;                 // crowd
    std::string text;                         // speech: the words spoken
};

// Parses "<kind> key=value ... [loop]" into recipe (whose seconds is already set). False
// with a message naming the faulty word.
bool ParseSoundRecipe(const std::vector<std::string>& words, SoundRecipe& recipe, std::string& error);

// A note name ("A4", "C#3", "Bb2") in Hz; 0 when it is none.
double NoteHz(const std::string& note);
// A chord name ("C", "Am", "G7", "F#m", "Bbdim") as frequencies around the 4th octave;
// empty when it is none.
std::vector<double> ChordHz(const std::string& chord);

// The recipe's samples, peak-normalised to its level, with short fades (none on a loop). Empty
// when speech cannot be made, with the reason in `why` when given.
std::vector<float> SynthesizeSound(const SoundRecipe& recipe, uint32_t seed, std::string* why = nullptr);

// Folds the last `fade` samples over the first ones and drops them, so that the end runs
// smoothly into the start.
void FoldLoop(std::vector<float>& samples, size_t fade);

}  // namespace content
