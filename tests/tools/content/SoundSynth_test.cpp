// The sound synthesiser and the recipe reader: note names, lengths, levels, seeds and loops,
// and what a faulty recipe line gets.
#include "tools/content/SoundSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

namespace {

// Notes and chords by name; a folded loop starts where its tail leads and keeps its body.
TEST(SoundSynth, NotesAndChordsByNameAndAFoldedLoopStartsWhereItsTailLeads) {
    const std::pair<const char*, double> notes[] = {{"A4", 440.0}, {"C4", 261.626}, {"C#3", 138.591}, {"Bb2", 116.541},
                                                    {"G0", 24.499}, {"H4", 0},       {"A9", 0},         {"Ab#4", 0}};
    for (const auto& [note, hz] : notes)
        EXPECT_NEAR(content::NoteHz(note), hz, 0.01) << note;
    const std::pair<const char*, std::vector<double>> chords[] = {
        {"Am", {440.0, 523.251, 659.255}}, {"G7", {391.995, 493.883, 587.330, 698.456}},
        {"F#m", {369.994, 440.0, 554.365}}, {"Bdim", {493.883, 587.330, 698.456}}, {"Cx", {}}, {"", {}}};
    for (const auto& [chord, hz] : chords) {
        const std::vector<double> got = content::ChordHz(chord);
        ASSERT_EQ(got.size(), hz.size()) << chord;
        for (size_t i = 0; i < hz.size(); ++i)
            EXPECT_NEAR(got[i], hz[i], 0.01) << chord;
    }
    std::vector<float> ramp(100);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = float(i);
    std::vector<float> folded = ramp;
    content::FoldLoop(folded, 20);
    ASSERT_EQ(folded.size(), 80u);
    EXPECT_EQ(folded[0], 80.0f);  // the sample after the last one kept
    EXPECT_FLOAT_EQ(folded[10], 0.5f * 90 + 0.5f * 10);
    EXPECT_TRUE(std::equal(folded.begin() + 20, folded.end(), ramp.begin() + 20));
    std::vector<float> tiny(30, 1.0f);
    content::FoldLoop(tiny, 20);  // shorter than two fades: left alone
    EXPECT_EQ(tiny.size(), 30u);
}

// Each recipe gives exactly its length at its peak level; another seed gives other samples;
// a loop's seam is no bigger a step than the sound takes elsewhere.
TEST(SoundSynth, SamplesHaveTheirLengthLevelSeedAndSeam) {
    const struct { std::vector<std::string> words; double seconds; } recipes[] = {
        {{"host", "syl=5", "contour=rise", "notes=C4,E4"}, 1.3},
        {{"music", "chords=C,G", "bpm=120", "loop", "level=0.5"}, 4.0},
        {{"crowd", "mood=cheer", "loop"}, 2.0},
        {{"crowd", "mood=groan"}, 1.0},
        {{"strike", "notes=A2,D2"}, 0.5},
        {{"ticks", "count=4"}, 0.8},
        {{"ding", "notes=E5,B5", "step=0.1"}, 0.4},
        {{"murmur"}, 0.7},
    };
    for (const auto& r : recipes) {
        content::SoundRecipe recipe;
        recipe.seconds = r.seconds;
        std::string error;
        ASSERT_TRUE(content::ParseSoundRecipe(r.words, recipe, error)) << error;
        const std::vector<float> a = content::SynthesizeSound(recipe, 7);
        ASSERT_EQ(a.size(), size_t(std::lround(r.seconds * content::kSoundRate))) << r.words[0];
        float peak = 0, step = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            peak = std::max(peak, std::fabs(a[i]));
            if (i > 0)
                step = std::max(step, std::fabs(a[i] - a[i - 1]));
        }
        EXPECT_NEAR(peak, recipe.level, 1e-4) << r.words[0];
        EXPECT_EQ(a, content::SynthesizeSound(recipe, 7)) << r.words[0];
        EXPECT_NE(a, content::SynthesizeSound(recipe, 8)) << r.words[0];
        if (recipe.loop)
            EXPECT_LE(std::fabs(a.back() - a.front()), step) << r.words[0];
        else
            EXPECT_LT(std::fabs(a.front()) + std::fabs(a.back()), 0.01) << r.words[0];
    }
}

TEST(SoundSynth, FaultySoundLinesAreReportedWithTheirLineAndSkipped) {
    const struct {
        const char* line;
        const char* error;  // empty: the line is good
    } lines[] = {
        {"good memory 0.2 click", ""},
        {"onlythree memory 1.0", "a sound needs a name, memory or stream, its seconds and a recipe"},
        {"a disk 1.0 host", "\"disk\" is neither memory nor stream"},
        {"a memory 0 host", "bad seconds \"0\""},
        {"a memory nan host", "bad seconds \"nan\""},
        {"a memory 1.0 hum", "unknown recipe \"hum\""},
        {"a memory 1.0 host syl=0", "bad value in \"syl=0\""},
        {"a memory 1.0 host wobble", "unknown word \"wobble\""},
        {"a memory 1.0 host chords=C", "\"chords\" does not apply to a host recipe"},
        {"a memory 1.0 music bpm=100", "a music recipe needs chords="},
        {"a memory 1.0 chord notes=H4", "bad value in \"notes=H4\""},
        {"a memory 1.0 strike notes=A2", "a strike recipe needs notes=<from>,<to>"},
        {"a[A..3] memory 1.0 host", "bad variant range in \"a[A..3]\" (name[A..K])"},
    };
    TempDir dir;
    std::string text = "# header\n";
    std::vector<std::string> expected;
    for (size_t i = 0; i < std::size(lines); ++i) {
        text += std::string(lines[i].line) + "\n";
        if (*lines[i].error)
            expected.push_back("content/sounds.txt:" + std::to_string(i + 2) + ": error: " + lines[i].error);
    }
    // The voices of one decade of questions: a question without text gets none.
    text += "voices stream 0.05 murmur\nGOOD stream 0.2 click\n";
    dir.Write("content/sounds.txt", text);
    dir.Write("questions/70s.txt", "? 70-0001\n? 70-0002 Name a colour.\n");
    const std::string voices = "content/sounds.txt:" + std::to_string(std::size(lines) + 2) + ": error: ";
    expected.push_back(voices + "the question source \"questions/00s.txt\" is missing");
    expected.push_back("questions/70s.txt:1: error: a question needs an id and a text for its voice");
    expected.push_back(voices + "the question source \"questions/80s.txt\" is missing");
    expected.push_back(voices + "the question source \"questions/90s.txt\" is missing");
    expected.push_back("content/sounds.txt:" + std::to_string(std::size(lines) + 3) +
                       ": error: sound \"GOOD\" is made twice");

    content::Output out(dir.Path(), {"GameAudios.dir", "GameAudiosNotStreamed.dir"});
    content::GenerateSounds(out);
    EXPECT_EQ(out.Errors(), expected);
    EXPECT_EQ(out.Packages().at("GameAudiosNotStreamed.dir").size(), 2u);
    EXPECT_EQ(out.Packages().at("GameAudios.dir").size(), 1u);
    EXPECT_EQ(out.Loose().count("streams/70-0002.ogg"), 1u);

    content::Output none(dir.Path() + "/nothing", {"GameAudios.dir", "GameAudiosNotStreamed.dir"});
    content::GenerateSounds(none);
    EXPECT_EQ(none.Errors(), std::vector<std::string>{"content/sounds.txt: error: the sound recipes are missing"});
}

}  // namespace
