#include "tools/qbank/BankChecker.h"

#include <map>
#include <set>

#include "questions/AnswerMatcher.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/HashText.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"
#include "tools/qbank/BankWriter.h"

namespace qbank {

namespace {

constexpr u32 kMaxAnswers = 8;
constexpr size_t kMaxGroupLength = 5;

bool IsWordingChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '_';
}

std::vector<std::string> Words(const std::string& text, char separator) {
    std::vector<std::string> words;
    SplitWords(text, separator, words);
    return words;
}

void CheckShape(const BankQuestion& q, Diagnostics& d) {
    if (QZ2011::QuestionManager::DecadeOfId(q.id.c_str()) != q.decade)
        d.Error(q.place, "id " + q.id + " does not belong to this decade's file");
    if (q.answers.empty() || q.answers.size() > kMaxAnswers)
        d.Error(q.place, q.id + " has " + std::to_string(q.answers.size()) + " answers (1 to 8)");
    if (q.wrong.empty())
        d.Error(q.place, q.id + " has no wrong answer");
    for (size_t i = 1; i < q.answers.size(); ++i)
        if (q.answers[i].points > q.answers[i - 1].points)
            d.Error(q.answers[i].place, "answers are not ranked by points");
    for (const BankAnswer& a : q.answers) {
        if (a.text.empty())
            d.Error(a.place, "answer without display text");
        for (const auto& group : a.groups)
            for (const std::string& wording : group) {
                bool clean = !wording.empty();
                for (char c : wording)
                    clean = clean && IsWordingChar(c);
                if (!clean)
                    d.Error(a.place, "wording \"" + wording + "\" may hold only a-z, 0-9, spaces and _");
            }
        std::vector<std::string> first = Words(ToLowerCopy(FirstForm(a.text)), ' ');
        bool listed = false;
        for (const auto& group : a.groups)
            for (const std::string& wording : group)
                listed = listed || Words(wording, '_') == first;
        if (!listed)
            d.Error(a.place, "\"" + FirstForm(a.text) + "\" is none of the answer's wordings");
    }
}

void CheckLimits(const BankQuestion& q, Diagnostics& d) {
    size_t wordings = 0;
    std::set<std::string> distinct;
    for (const BankAnswer& a : q.answers)
        for (const auto& group : a.groups)
            for (const std::string& wording : group) {
                ++wordings;
                std::vector<std::string> words = Words(wording, '_');
                if (words.size() > kMaxWordsPerWording)
                    d.Error(a.place, q.id + ": \"" + wording + "\" has " + std::to_string(words.size()) +
                            " words (at most " + std::to_string(kMaxWordsPerWording) + ")");
                for (const std::string& word : words) {
                    if (word.size() > kMaxWordLength)
                        d.Error(a.place, q.id + ": \"" + word + "\" has " + std::to_string(word.size()) +
                                " letters (at most " + std::to_string(kMaxWordLength) + ")");
                    distinct.insert(word);
                }
            }
    if (wordings > kMaxWordings)
        d.Error(q.place, q.id + " has " + std::to_string(wordings) + " wordings (at most " +
                std::to_string(kMaxWordings) + ")");
    size_t letters = 0;
    for (const std::string& word : distinct)
        letters += word.size();
    if (letters > kMaxDistinctLetters)
        d.Error(q.place, q.id + "'s distinct words have " + std::to_string(letters) + " letters (at most " +
                std::to_string(kMaxDistinctLetters) + ")");
}

void WarnSharedWords(const BankQuestion& q, Diagnostics& d) {
    std::map<u32, std::set<size_t>> owners;
    for (size_t i = 0; i < q.answers.size(); ++i)
        for (const auto& group : q.answers[i].groups)
            for (const std::string& wording : group)
                for (const std::string& word : Words(wording, '_'))
                    owners[HashText(word)].insert(i);
    for (size_t i = 0; i < q.answers.size(); ++i) {
        if (q.answers[i].groups.size() < 2)
            continue;
        std::set<std::string> warned;
        for (const auto& group : q.answers[i].groups)
            for (const std::string& wording : group)
                for (const std::string& word : Words(wording, '_'))
                    if (owners[HashText(word)].size() > 1 && warned.insert(word).second)
                        d.Warning(q.answers[i].place, "\"" + word +
                                  "\" is shared with another answer and never matches in this multi-group answer");
    }
}

// Runs the matcher on a freshly parsed copy of the question file.
int Judge(const std::string& file, const std::string& typed) {
    QZ2011::Question question;
    if (!question.Parse(file.data(), u32(file.size())))
        return -2;
    return question.CheckAnswer(typed);
}

void CheckJudgements(const BankQuestion& q, Diagnostics& d) {
    std::string file = QuestionFileBytes(q);
    for (size_t i = 0; i < q.answers.size(); ++i) {
        const BankAnswer& a = q.answers[i];
        std::vector<std::string> typed{FirstForm(a.text)};
        for (const auto& group : a.groups)
            for (const std::string& wording : group)
                typed.push_back(TypedForm(wording));
        for (const std::string& t : typed) {
            int got = Judge(file, t);
            if (got != int(i))
                d.Error(a.place, "typing \"" + t + "\" names " +
                        (got < 0 ? std::string("no answer") : "\"" + q.answers[size_t(got)].text + "\""));
        }
    }
    for (const std::string& wrong : q.wrong) {
        int got = Judge(file, wrong);
        if (got >= 0)
            d.Error(q.place, "wrong answer \"" + wrong + "\" names \"" + q.answers[size_t(got)].text + "\"");
    }
}

}  // namespace

std::string TypedForm(const std::string& wording) {
    std::string typed = wording;
    for (char& c : typed)
        if (c == '_')
            c = ' ';
    return typed;
}

void CheckBank(const Bank& bank, Diagnostics& d) {
    std::map<std::string, SourcePlace> ids;
    for (const BankQuestion& q : bank.questions) {
        auto [it, fresh] = ids.emplace(q.id, q.place);
        if (!fresh)
            d.Error(q.place, "id " + q.id + " is also used at " + it->second.file + ":" +
                    std::to_string(it->second.line));
        CheckShape(q, d);
        CheckLimits(q, d);
        WarnSharedWords(q, d);
    }
    if (bank.questions.size() > QZ2011::QuestionManager::kMaxQuestions)
        d.Error({"bank", 0}, "more than 2012 questions");
    for (const BankPair& p : bank.pairs) {
        bool ok = !p.key.empty() && p.key.size() <= kMaxGroupLength && !p.typed.empty();
        for (const std::string& t : p.typed)
            ok = ok && !t.empty() && t.size() <= kMaxGroupLength;
        if (!ok)
            d.Error(p.place, "equivalence groups hold 1 to 5 characters");
    }
    if (d.HasErrors())
        return;

    // Judge the answers as the game will: with these equivalences and this dictionary.
    std::string pairs = WordPairBytes(bank);
    LoadWordPairs(pairs.data(), u32(pairs.size()));
    QZ2011::Autocompleter dictionary;
    std::string words = AutocompletionBytes(DictionaryWords(bank));
    dictionary.LoadFromBytes(words.data(), u32(words.size()));
    const QZ2011::Autocompleter* previous = GetMatcherDictionary();
    SetMatcherDictionary(&dictionary);
    for (const BankQuestion& q : bank.questions)
        CheckJudgements(q, d);
    SetMatcherDictionary(previous);
    WordPairMap.Clear();
}

}  // namespace qbank
