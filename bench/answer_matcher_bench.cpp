// The answer matcher: whole checks (exact, misspelt listed and unlisted words, longer texts,
// no match, a 60-character near-miss word, a wrong 40-character answer to a 10-answer
// question), the grapheme search, dictionary lookups, and
// the question bank's start-up plus the loading of every question of the sample bank.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/AGData.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "questions/AnswerMatcher.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/QuestionManager.h"
#include "tools/qbank/BankSource.h"
#include "tools/qbank/BankWriter.h"

namespace {

const char* const kQuestionSource =
    "? 80-9001 Name something you would find on a kitchen counter.\n"
    "= 30 Microwave: microwave, microwave_oven, microwaves\n"
    "= 24 Toaster: toaster, toasters, four_slice_toaster\n"
    "= 16 Food processor/Blender: food_processor, blender, mixer\n"
    "= 12 Photograph/Photo: photograph, photo, family_photograph\n"
    "= 10 Kettle: kettle, electric_kettle\n"
    "= 8 Spice rack/Herbs: spice_rack, herbs, spices\n"
    "- a bean to cup machine\n"
    "- a smart display\n";

// Ten answers, as many as a question may need when the board is full.
const char* const kTenAnswerSource =
    "? 80-9002 Name something you keep in a kitchen drawer.\n"
    "= 22 Cutlery/Knives and forks: cutlery, knives_and_forks, knives, forks, spoons, teaspoons\n"
    "= 16 Tea towel: tea_towel, tea_towels, dish_cloth, dishcloth\n"
    "= 12 Scissors: scissors, kitchen_scissors\n"
    "= 10 Bottle opener/Opener: bottle_opener, opener, corkscrew, cork_screw\n"
    "= 9 Batteries: batteries, battery\n"
    "= 8 Takeaway menus/Menus: takeaway_menus, takeaway_menu, menus, leaflets\n"
    "= 7 Sellotape/Tape: sellotape, tape, sticky_tape\n"
    "= 6 Tin opener: tin_opener, can_opener\n"
    "= 5 Rubber bands/Elastic bands: rubber_bands, elastic_bands, rubber_band\n"
    "= 5 Matches: matches, matchbox, lighter\n"
    "- a toaster\n";

const std::string k60 = std::string(60, 'm');

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The bench question with the sample bank's equivalences and a dictionary of its words, the
// sample bank's extra words and "toasted" (a real word one slip from "toaster").
struct Fixture {
    Fixture() {
        qbank::Bank bank;
        qbank::Diagnostics d;
        qbank::ReadDecadeSource(kQuestionSource, "bench", 1, bank, d);
        qbank::ReadEquivalenceSource(ReadText(TALLYVOX_QUESTION_SOURCES "/equivalences.txt"), "eq", bank, d);
        qbank::ReadDictionarySource(ReadText(TALLYVOX_QUESTION_SOURCES "/dictionary.txt") + " toasted", bank);
        qbank::ReadDecadeSource(kTenAnswerSource, "bench", 1, bank, d);
        question = qbank::QuestionFileBytes(bank.questions[0]);
        tenAnswers = qbank::QuestionFileBytes(bank.questions[1]);
        pairs = qbank::WordPairBytes(bank);
        words = qbank::AutocompletionBytes(qbank::DictionaryWords(bank));
        Use();
    }
    void Use() {
        LoadWordPairs(pairs.data(), u32(pairs.size()));
        dictionary.LoadFromBytes(words.data(), u32(words.size()));
        SetMatcherDictionary(&dictionary);
    }
    std::string question;
    std::string tenAnswers;
    std::string pairs;
    std::string words;
    QZ2011::Autocompleter dictionary;
};

Fixture& Shared() {
    static Fixture fixture;
    fixture.Use();
    return fixture;
}

void CheckAnswerOf(benchmark::State& state, const std::string& file, const std::string& typed) {
    QZ2011::Question q;
    q.Parse(file.data(), u32(file.size()));
    int result = q.CheckAnswer(typed);
    const bool matches = result >= 0;
    for (auto _ : state) {
        if (matches) {
            // A match marks its answer found: start each round from a fresh question.
            state.PauseTiming();
            q.Parse(file.data(), u32(file.size()));
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(result = q.CheckAnswer(typed));
    }
    state.SetLabel("answer " + std::to_string(result) + " of " + std::to_string(q.AnswerCount()));
}

void CheckAnswer(benchmark::State& state, const std::string& typed) {
    CheckAnswerOf(state, Shared().question, typed);
}
BENCHMARK_CAPTURE(CheckAnswer, exact, std::string("microwave"));
BENCHMARK_CAPTURE(CheckAnswer, misspelt_known_word, std::string("toasted"));
BENCHMARK_CAPTURE(CheckAnswer, misspelt_unknown_word, std::string("fotograf"));
BENCHMARK_CAPTURE(CheckAnswer, three_words, std::string("a food processor"));
BENCHMARK_CAPTURE(CheckAnswer, fifteen_words,
                  std::string("i think it would have to be the food processor or maybe the kettle then"));
BENCHMARK_CAPTURE(CheckAnswer, no_match, std::string("giraffe"));
BENCHMARK_CAPTURE(CheckAnswer, adversarial_60, std::string("microwave") + k60.substr(9));

void CheckAnswerTen(benchmark::State& state, const std::string& typed) {
    CheckAnswerOf(state, Shared().tenAnswers, typed);
}
BENCHMARK_CAPTURE(CheckAnswerTen, exact, std::string("rubber bands"));
BENCHMARK_CAPTURE(CheckAnswerTen, wrong_40, std::string("a wooden bread bin with a broken old lid"));

void GraphemeDistanceBench(benchmark::State& state, const std::string& a, const std::string& b) {
    Shared();
    int d = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(d = GraphemeDistance(a, b));
    state.SetLabel("distance " + std::to_string(d));
}
BENCHMARK_CAPTURE(GraphemeDistanceBench, exact, std::string("!microwave!"), std::string("!microwave!"));
BENCHMARK_CAPTURE(GraphemeDistanceBench, misspelt, std::string("!photograph!"), std::string("!fotograf!"));
BENCHMARK_CAPTURE(GraphemeDistanceBench, no_match, std::string("!microwave!"), std::string("!giraffe!"));

// Two 60-character words that differ in their last letter, with 40 pairs that regroup runs
// of one letter: without remembering failed positions this search is exponential.
void GraphemeDistanceAdversarial(benchmark::State& state) {
    qbank::Bank bank;
    for (int i = 1; i <= 5; ++i)
        for (int j = 1; j <= 5; ++j)
            if (i != j)
                bank.pairs.push_back({std::string(i, 'a'), {std::string(j, 'a')}, {}});
    for (char c = 'b'; bank.pairs.size() < 40; ++c)
        bank.pairs.push_back({std::string(1, c), {std::string(1, char(c + 1))}, {}});
    const std::string pairs = qbank::WordPairBytes(bank);
    LoadWordPairs(pairs.data(), u32(pairs.size()));
    const std::string a = "!" + std::string(57, 'a') + "x!";
    const std::string b = "!" + std::string(57, 'a') + "z!";
    int d = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(d = GraphemeDistance(a, b));
    state.SetLabel("distance " + std::to_string(d));
    Shared();
}
BENCHMARK(GraphemeDistanceAdversarial);

void IsWord(benchmark::State& state, const std::string& word) {
    Fixture& f = Shared();
    bool listed = false;
    for (auto _ : state)
        benchmark::DoNotOptimize(listed = f.dictionary.IsWord(word));
    state.SetLabel(listed ? "listed" : "not listed");
}
BENCHMARK_CAPTURE(IsWord, exact, std::string("microwave"));
BENCHMARK_CAPTURE(IsWord, misspelt_known_word, std::string("toasted"));
BENCHMARK_CAPTURE(IsWord, misspelt_unknown_word, std::string("mikrowave"));
BENCHMARK_CAPTURE(IsWord, no_match, std::string("zzyzx"));
BENCHMARK_CAPTURE(IsWord, word_60, k60);

// Start-up of the question bank (equivalences and index) and the loading of every question
// of the sample bank compiled by the build.
void InitializeAndLoadBank(benchmark::State& state) {
    AGResourceManager resources;
    AGResourceManager::SetInstance(&resources);
    resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    PcDirectory package;
    package.Mount(TALLYVOX_QUESTION_BANK ".dir", false);
    u32 loaded = 0;
    for (auto _ : state) {
        QZ2011::QuestionManager manager({});
        manager.Initialize();
        loaded = 0;
        for (u32 n = 0; n < manager.QuestionCount(); ++n)
            loaded += manager.LoadQuestion(n) != nullptr;
    }
    package.Unmount();
    AGResourceManager::SetInstance(nullptr);
    if (loaded == 0)
        state.SkipWithError("the sample bank is missing: build the question_bank target");
    state.SetItemsProcessed(state.iterations() * int64_t(loaded));
    state.SetLabel(std::to_string(loaded) + " questions");
    Shared();
}
BENCHMARK(InitializeAndLoadBank)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
