#pragma once
// Checks of a question bank source before it is compiled.
#include "tools/qbank/BankSource.h"

namespace qbank {

// Limits that bound the answer check. A check compares every distinct word of the question's
// wordings with each typed word, at a cost that grows with the product of their lengths, so
// the letters of the distinct words bound it; the other limits keep one word, wording or
// question from taking the whole budget. With these limits and the sample bank's
// equivalences no typed text of up to 300 characters takes more than 2 ms, an eighth of a frame.
inline constexpr size_t kMaxWordings = 32;         // per question
inline constexpr size_t kMaxWordsPerWording = 6;
inline constexpr size_t kMaxWordLength = 16;
inline constexpr size_t kMaxDistinctLetters = 256;  // per question

// Errors: duplicate ids; an id whose decade is not its file's (so the runs stand in the
// order 00s, 70s, 80s, 90s); not 1 to 8 answers, or answers not ranked by points; no
// wrong answer; a wording that is empty or holds anything but lower-case letters, digits,
// spaces and "_"; an answer whose first display form is none of its own wordings; equivalence
// groups that are empty or longer than five characters; a question beyond the limits above.
// Then, with the bank's equivalences and dictionary in force, as the game will judge them:
// every wording typed with spaces between its words and every first display form must name
// its own answer on a freshly loaded question, and no wrong answer may name a right one.
// Warning: a word of a multi-group answer that another answer of the question also uses
// (the matcher ignores it there).
void CheckBank(const Bank& bank, Diagnostics& diagnostics);

// What a player types for a wording: its words separated by spaces.
std::string TypedForm(const std::string& wording);

}  // namespace qbank
