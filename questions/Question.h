#pragma once
// One survey question of the bank, parsed from its question file:
//   question line; id line; u32 A; A x {u32 points; display-text line; u32 G;
//   G x {u32 N; N wording lines}}; u32 B; B wrong-answer lines; u32 C; C completion lines.
// Lines and counts follow LineReader's rules. A wording is lower-case text whose words are
// joined by "_". The question keeps its own copy of the file's bytes and every text points
// into that copy, so the cached resource bytes are never written and stay parseable.
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/core/AGTypes.h"
#include "questions/QuestionServices.h"

class LineReader;
struct TypedText;

// For each distinct word of the question's wordings (by HashText), the number of answers
// whose wordings hold it.
using WordCounts = std::map<u32, u32>;

struct AnswerWord {
    static constexpr u32 kUnnumbered = ~0u;

    std::string text;
    std::string marked;  // "!" + text + "!"
    u32 hash = 0;        // HashText(text)
    // Equal texts of one question share a number; the matcher keeps distances by it.
    u32 number = kUnnumbered;
};

struct Wording {
    const char* text = "";
    std::vector<AnswerWord> words;
};

struct WordingGroup {
    std::vector<Wording> wordings;
};

class Answer {
public:
    virtual ~Answer() = default;
};

class RightAnswer : public Answer {
public:
    // Reads one answer record. Returns false (and leaves a partial record) when the data ends
    // inside it.
    bool Parse(LineReader& reader);
    // Gives each word text its number in the question (numbers holds those given so far).
    void NumberWords(std::unordered_map<std::string, u32>& numbers);

    // Scores the lower-cased typed text against this answer: 0 is exact, higher costs more,
    // -1 is no match.
    int Match(const std::string& loweredText, bool lenient, const WordCounts& counts) const;
    int Match(const TypedText& typed, bool lenient, const WordCounts& counts) const;

    // The display text; its "/"-separated forms are the accepted spellings, the first being
    // what the computer family types.
    const char* Text() const { return m_text; }
    u32 Value() const { return m_value; }
    u32 GroupCount() const { return u32(m_groups.size()); }
    const std::vector<WordingGroup>& Groups() const { return m_groups; }
    // Set by the round rules when the answer is shown on the board.
    bool IsRevealed() const { return m_revealed != 0; }
    void SetRevealed(bool revealed) { m_revealed = revealed ? 1 : 0; }

private:
    const char* m_text = "";
    u8 m_revealed = 0;
    u32 m_value = 0;
    std::vector<WordingGroup> m_groups;
};

// Adds the answer's distinct words to the question's word counts.
void CountAnswerWords(const RightAnswer& answer, WordCounts& counts);

namespace QZ2011 {

class Question {
public:
    Question() = default;
    Question(const Question&) = delete;
    Question& operator=(const Question&) = delete;
    virtual ~Question() = default;

    // Parses a question file from a copy of the bytes. A file that ends inside its records,
    // or has bytes after them, is reported and refused: the question is left empty and the
    // result is false. A question without answers is complete when its counts say so.
    bool Parse(const void* bytes, u32 size);

    // Index of the answer the typed text names among those not yet found, or -1. The winner
    // is marked found.
    int CheckAnswer(const std::string& text);

    // The computer family's right answer: a random answer not yet found, marked found and
    // published as the chosen answer; null when every answer is found.
    RightAnswer* PickRightAnswer();
    // The computer family's wrong answer: a random unused one (marked used), any one once
    // all are used, or "" when the question has none. The chosen answer becomes -1.
    const char* PickWrongAnswer();

    // Where the picks publish their choice and draw their random numbers (may be null).
    void SetServices(const QuestionServices* services) { m_services = services; }

    const char* Text() const { return m_text; }
    const char* Id() const { return m_id; }
    u32 Index() const { return m_index; }
    void SetIndex(u32 index) { m_index = index; }

    u32 AnswerCount() const { return u32(m_answers.size()); }
    RightAnswer& GetAnswer(u32 i) { return m_answers[i]; }
    const RightAnswer& GetAnswer(u32 i) const { return m_answers[i]; }
    bool IsFound(u32 i) const { return m_found[i] != 0; }
    u32 RemainingRightAnswers() const { return m_remainingRight; }

    u32 WrongAnswerCount() const { return u32(m_wrongAnswers.size()); }
    const char* GetWrongAnswer(u32 i) const { return m_wrongAnswers[i]; }
    bool IsUsed(u32 i) const { return m_used[i] != 0; }
    u32 RemainingWrongAnswers() const { return m_remainingWrong; }

    u32 CompletionCount() const { return u32(m_completions.size()); }
    const char* GetCompletion(u32 i) const { return m_completions[i]; }
    // The completion lines filed under a two-character key, in file order (null when none).
    const std::vector<const char*>* FindCompletions(std::string_view key) const;

    const WordCounts& GetWordCounts() const { return m_wordCounts; }

private:
    void Clear();
    void FileCompletion(const char* line);
    int PickIndex(const std::vector<u8>& taken, u32 count);

    WordCounts m_wordCounts;
    std::map<u32, std::vector<const char*>> m_completionIndex;
    u32 m_remainingRight = 0;
    u32 m_remainingWrong = 0;
    u32 m_index = 0;
    const char* m_text = "";
    const char* m_id = "";
    std::vector<u8> m_found;
    std::vector<u8> m_used;
    std::vector<RightAnswer> m_answers;
    std::vector<const char*> m_wrongAnswers;
    std::vector<const char*> m_completions;
    std::vector<char> m_bytes;
    const QuestionServices* m_services = nullptr;
};

}  // namespace QZ2011
