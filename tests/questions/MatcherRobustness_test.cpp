// Seeded random corruption of the bank's files and random typed texts: every read stays
// inside its data, and no answer check takes long.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "questions/AnswerMatcher.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/Question.h"
#include "tests/questions/QuestionBytes.h"
#include "tests/support/LogCapture.h"
#include "tests/support/Timing.h"

namespace {

const std::vector<TestPair> kPairs = {
    {"ph", {"f"}}, {"f", {"ph"}},   {"c", {"k", "s"}}, {"k", {"c", "ck"}}, {"ck", {"k"}}, {"ll", {"l"}},   {"l", {"ll"}},
    {"ss", {"s"}}, {"s", {"ss", "z"}}, {"ie!", {"y!"}}, {"y!", {"ie!"}},  {"ee", {"ea"}}, {"ea", {"ee"}}, {"tt", {"t"}},
    {"t", {"tt"}}, {"e", {"ee", "a"}}, {"o", {"oo", "u"}}, {"a", {"e"}}, {"er!", {"re!"}}, {"ou", {"ow"}}};

// One to four edits: a byte changed, bytes dropped or inserted, a count blown up, a
// truncation, a line end inserted.
std::string Mutate(std::string bytes, std::mt19937& rng) {
    auto pick = [&](size_t n) { return n ? size_t(rng() % n) : 0; };
    for (int e = 0, edits = 1 + int(rng() % 4); e < edits && !bytes.empty(); ++e) {
        const size_t at = pick(bytes.size());
        switch (rng() % 6) {
            case 0: bytes[at] = char(rng()); break;
            case 1: bytes.erase(at, 1 + pick(8)); break;
            case 2: bytes.insert(at, std::string(1 + pick(8), char(rng()))); break;
            case 3: {
                const u32 big = (rng() % 2) ? 0xFFFFFFFFu : u32(rng());
                bytes.replace(at, std::min<size_t>(4, bytes.size() - at), std::string(reinterpret_cast<const char*>(&big), 4));
                break;
            }
            case 4: bytes.resize(at); break;
            default: bytes.insert(at, (rng() % 2) ? "\r" : "\n"); break;
        }
    }
    return bytes;
}

// Any bytes, word-like text, or one long word that nearly matches (the grapheme search's
// worst case).
std::string RandomTyped(std::mt19937& rng) {
    static const std::string kLetters[2] = {"abcdefghijklmnopqrstuvwxyz      ehiorst&/_'-ABCMTZ0123456789",
                                            "photographsunk"};
    std::string s(rng() % 301, ' ');
    const u32 mode = rng() % 3;
    for (char& c : s)
        c = mode == 2 ? char(rng()) : kLetters[mode][rng() % kLetters[mode].size()];
    return s;
}

}  // namespace

// Each round loads corrupted pairs, dictionary and question, checks a random text against
// the corrupted question if it parsed and another against the intact one.
TEST(MatcherRobustness, CorruptFilesAndRandomTextsStayInBoundsAndAreJudgedQuickly) {
    LogCapture log;  // truncation reports are expected; keep them out of the output
    const std::string question = QuestionBytes(SeasideQuestion());
    const std::string pairs = WordPairBytes(kPairs, "\n");
    const std::string words = DictionaryOf({"towel", "towle", "sun", "cream", "photo", "fotograf", "kite", "ball",
                                            "beach", "spade", "pail", "salt"});
    QZ2011::Question intact;
    std::mt19937 rng(20240611);
    double slowest = 0;
    auto check = [&](QZ2011::Question& q) {
        const std::string typed = RandomTyped(rng);
        int result = 0;
        slowest = std::max(slowest, ElapsedMs([&] { result = q.CheckAnswer(typed); }));
        EXPECT_GE(result, -1);
        EXPECT_LT(result, int(q.AnswerCount()));
    };
    for (int i = 0; i < 10000; ++i) {
        std::string p = Mutate(pairs, rng);
        LoadWordPairs(p.data(), u32(p.size()));
        std::string w = Mutate(words, rng);
        QZ2011::Autocompleter dictionary;
        dictionary.LoadFromBytes(w.data(), u32(w.size()));
        SetMatcherDictionary(&dictionary);

        std::string b = Mutate(question, rng);
        QZ2011::Question q;
        if (q.Parse(b.data(), u32(b.size()))) {
            EXPECT_LE(q.AnswerCount(), 9u);
            check(q);
            q.PickRightAnswer();
            q.PickWrongAnswer();
        }
        if (intact.RemainingRightAnswers() == 0) {
            ASSERT_TRUE(intact.Parse(question.data(), u32(question.size())));
        }
        check(intact);
        SetMatcherDictionary(nullptr);
    }
    WordPairMap.Clear();
    EXPECT_LT(slowest, 10.0 * TimingScale());
}
