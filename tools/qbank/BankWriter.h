#pragma once
// The files of the question bank package, byte for byte: text lines end in CR LF,
// counts are u32 little-endian right after the preceding line end.
#include <string>
#include <vector>

#include "tools/qbank/BankSource.h"

namespace qbank {

// "n.bin": question; id; u32 A; A x {u32 points; text; u32 G; G x {u32 N; N wordings}};
// u32 B; B wrong answers; u32 C; C completion lines.
std::string QuestionFileBytes(const BankQuestion& question);
// "list.txt": one id per line, in bank order.
std::string ListBytes(const Bank& bank);
// "graphtograph.bin": u32 E; E x {key; u32 n; n typed groups}.
std::string WordPairBytes(const Bank& bank);
// The dictionary's words: every word of every wording (words holding a space excluded) and
// the extra words, each once, sorted.
std::vector<std::string> DictionaryWords(const Bank& bank);
// "autocompletion.txt": decimal E; E x {key; decimal n; n words}, keys being the words'
// first two characters (a one-character word is its own key).
std::string AutocompletionBytes(const std::vector<std::string>& words);

}  // namespace qbank
