#pragma once
// The human-editable source of the question bank and its reader.
//
// One text file per decade ("00s.txt", "70s.txt", "80s.txt", "90s.txt"), UTF-8/ASCII, "#"
// starting a comment line:
//   ? 80-0001 Name something people kept in a shoebox.
//   = 30 Photos/Photographs: photo, photos, photograph | polaroid
//   - a live goldfish
//   ~ a completion line (optional)
// "?" starts a question (id, then the question text); "=" adds an answer: its points, its
// display text up to the first ":" ("/" separating accepted forms, the first being what the
// computer family types), then its wordings: "|" separates variant groups, "," the wordings
// of a group; words inside a wording are joined by "_". "-" adds a wrong answer, "~" a
// completion line.
//
// "equivalences.txt": lines "ph > f, ff": the answer-side letter group, then the groups a
// player may type instead (at most five characters each; "!" marks a word boundary).
// "dictionary.txt": extra dictionary words, separated by white space.
#include <string>
#include <vector>

#include "engine/core/AGTypes.h"

namespace qbank {

struct SourcePlace {
    std::string file;
    int line = 0;
};

struct BankAnswer {
    u32 points = 0;
    std::string text;
    std::vector<std::vector<std::string>> groups;
    SourcePlace place;
};

struct BankQuestion {
    std::string id;
    std::string text;
    int decade = 0;  // as the game numbers them: 0 70s, 1 80s, 2 90s, 3 00s
    std::vector<BankAnswer> answers;
    std::vector<std::string> wrong;
    std::vector<std::string> completions;
    SourcePlace place;
};

struct BankPair {
    std::string key;
    std::vector<std::string> typed;
    SourcePlace place;
};

struct Bank {
    std::vector<BankQuestion> questions;  // in bank order
    std::vector<BankPair> pairs;
    std::vector<std::string> extraWords;
};

class Diagnostics {
public:
    void Error(const SourcePlace& place, const std::string& message);
    void Warning(const SourcePlace& place, const std::string& message);
    const std::vector<std::string>& Errors() const { return m_errors; }
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    bool HasErrors() const { return !m_errors.empty(); }

private:
    std::vector<std::string> m_errors;
    std::vector<std::string> m_warnings;
};

// The decade source files in bank order, and the decade each one holds.
struct DecadeFile {
    const char* name;
    int decade;
};
inline constexpr DecadeFile kDecadeFiles[4] = {
    {"00s.txt", 3}, {"70s.txt", 0}, {"80s.txt", 1}, {"90s.txt", 2}};

// Each appends what it reads to the bank and reports malformed lines.
void ReadDecadeSource(const std::string& text, const std::string& fileName, int decade, Bank& bank,
                      Diagnostics& diagnostics);
void ReadEquivalenceSource(const std::string& text, const std::string& fileName, Bank& bank,
                           Diagnostics& diagnostics);
void ReadDictionarySource(const std::string& text, Bank& bank);

// The first "/"-separated form of a display text, trimmed.
std::string FirstForm(const std::string& displayText);

}  // namespace qbank
