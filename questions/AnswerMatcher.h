#pragma once
// The answer matcher: splitting typed text and wordings into words, the one-slip rule of the
// lenient pass, and the dictionary it consults. RightAnswer::Match and
// QZ2011::Question::CheckAnswer are defined with it (AnswerMatcher.cpp).
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/AGTypes.h"

namespace QZ2011 {
class Autocompleter;
}

// The dictionary that tells real words from others (null: no word is known). The game
// context publishes its autocompleter here and clears it before deleting it.
void SetMatcherDictionary(const QZ2011::Autocompleter* dictionary);
const QZ2011::Autocompleter* GetMatcherDictionary();

// A-Z to a-z; every other byte unchanged.
std::string ToLowerCopy(std::string_view text);

// Normalises the text (letters, white space, digits and the separator stay; "_" and "/"
// become a space; "&" becomes " and "; everything else is dropped), then cuts it at the
// separator. Empty pieces between separators are skipped, but the piece after the last
// separator is always appended: "" gives [""] and a trailing separator a trailing "".
void SplitWords(std::string_view text, char separator, std::vector<std::string>& out);

// Whether the typed word Y is one slip away from the answer word X, both boundary-marked:
// an adjacent transposition, an extra or a missing character, or (when both have at least 7
// characters) a substitution. Greedy, as typed answers are compared left to right. Y must
// have at least 6 characters.
bool IsOneEditApart(std::string_view x, std::string_view y);

struct AnswerWord;

// A typed text split once for all answers of a check.
struct TypedText {
    // Only the first words are compared; later ones still count as surplus.
    static constexpr u32 kComparedWords = 10;

    std::vector<std::string> words;
    u32 compared = 0;                       // min(words, kComparedWords)
    std::string marked[kComparedWords];     // "!" + word + "!"
    bool known[kComparedWords] = {};        // listed in the dictionary
    bool anyKnown = false;

    // GraphemeDistance (answer word, compared word j), searched once: both passes and every
    // wording that repeats a word read the same distances. The distances are kept by the
    // word's number, so one TypedText serves the answers of one question, under one pair set.
    int Distance(const AnswerWord& word, u32 j) const;

private:
    mutable std::vector<int> m_distances;  // by word number * kComparedWords + j
};

// Splits already lower-cased text at spaces and prepares the compared words.
void PrepareTypedText(std::string_view lowered, TypedText& out);
