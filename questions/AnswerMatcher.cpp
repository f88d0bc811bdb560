#include "questions/AnswerMatcher.h"

#include "questions/AsciiClass.h"
#include "questions/Autocompleter.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/Question.h"

namespace {

const QZ2011::Autocompleter* g_dictionary = nullptr;

// Score start values and bounds of the matcher.
constexpr int kNoScore = 99;
constexpr int kNoAnswerScore = 99999;
// Marked words shorter than this take a distance above 0 only through the lenient pass.
constexpr size_t kShortMarkedWord = 6;
// A substitution needs marked words of at least this many characters.
constexpr size_t kSubstitutionMarkedWord = 7;

}  // namespace

void SetMatcherDictionary(const QZ2011::Autocompleter* dictionary) {
    g_dictionary = dictionary;
}

const QZ2011::Autocompleter* GetMatcherDictionary() {
    return g_dictionary;
}

std::string ToLowerCopy(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered)
        c = AsciiToLower(c);
    return lowered;
}

void SplitWords(std::string_view text, char separator, std::vector<std::string>& out) {
    std::string normalised;
    normalised.reserve(text.size());
    for (char c : text) {
        unsigned char u = u8(c);
        if (IsAsciiAlpha(u) || IsAsciiSpace(u) || IsAsciiDigit(u) || c == separator)
            normalised.push_back(c);
        else if (c == '_' || c == '/')
            normalised.push_back(' ');
        else if (c == '&')
            normalised += " and ";
    }

    out.clear();
    size_t start = 0;
    for (size_t i = 0; i < normalised.size(); ++i) {
        if (normalised[i] != separator)
            continue;
        if (i > start)
            out.emplace_back(normalised, start, i - start);
        start = i + 1;
    }
    out.emplace_back(normalised, start);
}

bool IsOneEditApart(std::string_view x, std::string_view y) {
    if (y.size() < kShortMarkedWord)
        return false;
    size_t i = 0;
    size_t j = 0;
    bool edited = false;
    while (i < x.size() && j < y.size()) {
        if (x[i] == y[j]) {
            ++i;
            ++j;
            continue;
        }
        if (edited)
            return false;
        edited = true;
        bool xNextIsY = i + 1 < x.size() && x[i + 1] == y[j];
        bool yNextIsX = j + 1 < y.size() && x[i] == y[j + 1];
        if (xNextIsY && yNextIsX) {  // adjacent transposition
            i += 2;
            j += 2;
        } else if (xNextIsY) {  // a character missing from the typed word
            i += 2;
            j += 1;
        } else if (yNextIsX) {  // an extra character in the typed word
            i += 1;
            j += 2;
        } else {
            if (x.size() < kSubstitutionMarkedWord || y.size() < kSubstitutionMarkedWord)
                return false;
            ++i;
            ++j;
        }
    }
    size_t xLeft = x.size() - i;
    size_t yLeft = y.size() - j;
    if (edited)
        return xLeft == 0 && yLeft == 0;
    return (xLeft == 0 && yLeft <= 1) || (yLeft == 0 && xLeft == 1);
}

void PrepareTypedText(std::string_view lowered, TypedText& out) {
    SplitWords(lowered, ' ', out.words);
    out.compared = u32(out.words.size() < TypedText::kComparedWords ? out.words.size()
                                                                    : TypedText::kComparedWords);
    out.anyKnown = false;
    for (u32 j = 0; j < out.compared; ++j) {
        const std::string& word = out.words[j];
        out.known[j] = g_dictionary && g_dictionary->IsWord(word);
        out.anyKnown = out.anyKnown || out.known[j];
        std::string& marked = out.marked[j];
        marked.assign(1, '!');
        marked.append(word);
        marked.push_back('!');
    }
}

int TypedText::Distance(const AnswerWord& word, u32 j) const {
    if (word.number == AnswerWord::kUnnumbered)
        return GraphemeDistance(word.marked, marked[j]);
    constexpr int kUnknown = -2;
    size_t slot = size_t(word.number) * kComparedWords + j;
    if (slot >= m_distances.size())
        m_distances.resize(slot + kComparedWords, kUnknown);
    int& d = m_distances[slot];
    if (d == kUnknown)
        d = GraphemeDistance(word.marked, marked[j]);
    return d;
}

int RightAnswer::Match(const std::string& loweredText, bool lenient, const WordCounts& counts) const {
    TypedText typed;
    PrepareTypedText(loweredText, typed);
    return Match(typed, lenient, counts);
}

// Each group scores its best wording; a wording adds, per word, the best distance to any
// compared typed word (or 1 when none fits), plus 1 per word when more words were typed
// than the wording has. Unmatched groups and a surplus of typed words over groups cost 1.
int RightAnswer::Match(const TypedText& typed, bool lenient, const WordCounts& counts) const {
    const size_t m = typed.words.size();
    const size_t groupCount = m_groups.size();
    int total = m > groupCount ? 1 : 0;
    bool matchedAny = false;

    for (const WordingGroup& group : m_groups) {
        int groupBest = kNoScore;
        bool groupMatched = false;
        for (const Wording& wording : group.wordings) {
            const size_t p = wording.words.size();
            bool allFound = true;
            int score = 0;
            bool singleWordHit = false;
            for (size_t q = 0; q < p; ++q) {
                const AnswerWord& word = wording.words[q];
                int wordBest = kNoScore;
                bool found = false;
                // In a multi-group answer a word shared with another answer names neither.
                bool shared = false;
                if (groupCount > 1) {
                    auto it = counts.find(word.hash);
                    shared = it != counts.end() && it->second > 1;
                }
                for (u32 j = 0; j < typed.compared && !shared; ++j) {
                    std::string_view a = word.marked;
                    std::string_view b = typed.marked[j];
                    // Words hold no "!", so only equal words are 0 apart; and a short pair
                    // counts only at 0, so its distance is not searched.
                    const bool shortPair = a.size() < kShortMarkedWord || b.size() < kShortMarkedWord;
                    int d = shortPair ? (a == b ? 0 : -1) : typed.Distance(word, j);
                    if (d == -1 || (d > 0 && shortPair)) {
                        if (lenient && typed.known[j] && a.size() >= kShortMarkedWord && IsOneEditApart(a, b))
                            d = 1;
                        else
                            continue;
                    }
                    // A real word that needs several replacements is another word.
                    if (d > 1 && typed.known[j])
                        continue;
                    if (d >= wordBest)
                        continue;
                    found = true;
                    wordBest = d;
                    if (q + 1 == p && m < 2)
                        singleWordHit = true;
                    if (d == 0)
                        break;
                }
                if (m > p)
                    wordBest += 1;
                if (found) {
                    score += wordBest;
                } else {
                    score += 1;
                    allFound = false;
                }
            }
            if (((m == 1 && singleWordHit) || allFound) && score < groupBest) {
                groupMatched = true;
                groupBest = score;
                if (score == 0)
                    break;
            }
        }
        if (groupMatched) {
            total += groupBest;
            matchedAny = true;
        } else {
            total += 1;
        }
        if (total >= kNoScore)
            return -1;
    }
    return matchedAny && total < kNoScore ? total : -1;
}

namespace QZ2011 {

int Question::CheckAnswer(const std::string& text) {
    if (m_remainingRight == 0)
        return -1;
    TypedText typed;
    PrepareTypedText(ToLowerCopy(text), typed);
    for (int pass = 0; pass < 2; ++pass) {
        bool lenient = pass == 1;
        // The lenient rule only forgives dictionary words.
        if (lenient && !typed.anyKnown)
            break;
        int bestIndex = -1;
        int bestScore = kNoAnswerScore;
        for (u32 i = 0; i < m_answers.size(); ++i) {
            if (m_found[i])
                continue;
            int score = m_answers[i].Match(typed, lenient, m_wordCounts);
            if (score >= 0 && score < bestScore) {
                bestIndex = int(i);
                bestScore = score;
                // Nothing beats an exact match, and ties keep the earlier answer.
                if (score == 0)
                    break;
            }
        }
        if (bestIndex >= 0) {
            m_found[bestIndex] = 1;
            --m_remainingRight;
            return bestIndex;
        }
    }
    return -1;
}

}  // namespace QZ2011
