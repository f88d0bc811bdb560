#include "questions/Question.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "engine/core/AGLog.h"
#include "engine/core/CrtRand.h"
#include "questions/AnswerMatcher.h"
#include "questions/AsciiClass.h"
#include "questions/HashText.h"
#include "questions/LineReader.h"

bool RightAnswer::Parse(LineReader& reader) {
    m_value = reader.ReadU32();
    const char* text = reader.CutLine();
    if (text)
        m_text = text;
    u32 groups = reader.ReadU32();
    std::vector<std::string> words;
    for (u32 g = 0; g < groups && !reader.Failed(); ++g) {
        u32 n = reader.ReadU32();
        WordingGroup group;
        for (u32 w = 0; w < n && !reader.Failed(); ++w) {
            const char* line = reader.CutLine();
            if (!line)
                break;
            Wording wording;
            wording.text = line;
            SplitWords(line, '_', words);
            for (std::string& word : words) {
                AnswerWord entry;
                entry.hash = HashText(word);
                entry.marked = "!" + word + "!";
                entry.text = std::move(word);
                wording.words.push_back(std::move(entry));
            }
            group.wordings.push_back(std::move(wording));
        }
        m_groups.push_back(std::move(group));
    }
    return !reader.Failed();
}

void RightAnswer::NumberWords(std::unordered_map<std::string, u32>& numbers) {
    for (WordingGroup& group : m_groups)
        for (Wording& wording : group.wordings)
            for (AnswerWord& word : wording.words)
                word.number = numbers.emplace(word.text, u32(numbers.size())).first->second;
}

void CountAnswerWords(const RightAnswer& answer, WordCounts& counts) {
    std::vector<u32> hashes;
    for (const WordingGroup& group : answer.Groups())
        for (const Wording& wording : group.wordings)
            for (const AnswerWord& word : wording.words)
                hashes.push_back(word.hash);
    std::sort(hashes.begin(), hashes.end());
    hashes.erase(std::unique(hashes.begin(), hashes.end()), hashes.end());
    for (u32 h : hashes)
        ++counts[h];
}

namespace QZ2011 {

bool Question::Parse(const void* bytes, u32 size) {
    Clear();
    LineReader reader(bytes, size);
    const char* text = reader.CutLine();
    const char* id = reader.CutLine();
    u32 answerCount = reader.ReadU32();

    std::unordered_map<std::string, u32> numbers;
    for (u32 a = 0; a < answerCount && !reader.Failed(); ++a) {
        RightAnswer answer;
        if (!answer.Parse(reader))
            break;
        answer.NumberWords(numbers);
        CountAnswerWords(answer, m_wordCounts);
        m_answers.push_back(std::move(answer));
    }

    u32 wrongCount = reader.ReadU32();
    for (u32 b = 0; b < wrongCount && !reader.Failed(); ++b)
        if (const char* line = reader.CutLine())
            m_wrongAnswers.push_back(line);

    u32 completionCount = reader.ReadU32();
    for (u32 c = 0; c < completionCount && !reader.Failed(); ++c)
        if (const char* line = reader.CutLine())
            m_completions.push_back(line);

    // Counts that disagree with the data (a cut file, or one whose records were read under
    // the wrong counts) leave the reader short of data or short of the end.
    if (reader.Failed() || !reader.AtEnd()) {
        AGReport("Question %s is refused: %s", id && *id ? id : "without id",
                 reader.Failed() ? "the file ends inside its records" : "bytes follow its last record");
        Clear();
        return false;
    }

    m_text = text;
    m_id = id;
    for (const char* line : m_completions)
        FileCompletion(line);
    m_found.assign(m_answers.size(), 0);
    m_used.assign(m_wrongAnswers.size(), 0);
    m_remainingRight = u32(m_answers.size());
    m_remainingWrong = u32(m_wrongAnswers.size());
    m_bytes = reader.TakeBytes();
    return true;
}

void Question::Clear() {
    m_wordCounts.clear();
    m_completionIndex.clear();
    m_found.clear();
    m_used.clear();
    m_answers.clear();
    m_wrongAnswers.clear();
    m_completions.clear();
    m_bytes.clear();
    m_text = m_id = "";
    m_remainingRight = m_remainingWrong = 0;
}

// A line's first character belongs to no key. When its third character is a separator
// (neither letter, white space nor digit) and a fourth follows, it is filed under the second
// character followed by a space and by the fourth; otherwise under the second and third.
void Question::FileCompletion(const char* line) {
    size_t length = strlen(line);
    if (length < 2)
        return;
    auto file = [this, line](u32 key) { m_completionIndex[key].push_back(line); };
    unsigned char third = u8(line[2]);
    if (length > 3 && !IsAsciiAlpha(third) && !IsAsciiSpace(third) && !IsAsciiDigit(third)) {
        const char spaced[2] = {line[1], ' '};
        const char joined[2] = {line[1], line[3]};
        file(HashText(std::string_view(spaced, 2)));
        file(HashText(std::string_view(joined, 2)));
    } else {
        file(HashText(std::string_view(line + 1, length >= 3 ? 2 : 1)));
    }
}

const std::vector<const char*>* Question::FindCompletions(std::string_view key) const {
    auto it = m_completionIndex.find(HashText(key));
    return it == m_completionIndex.end() ? nullptr : &it->second;
}

int Question::PickIndex(const std::vector<u8>& taken, u32 count) {
    u32 index = CrtRandIndex(count);
    for (u32 step = 0; step < count; ++step, index = (index + 1) % count)
        if (!taken[index])
            return int(index);
    return -1;
}

RightAnswer* Question::PickRightAnswer() {
    if (m_remainingRight == 0)
        return nullptr;
    int index = PickIndex(m_found, AnswerCount());
    if (index < 0)
        return nullptr;
    m_found[index] = 1;
    --m_remainingRight;
    if (m_services && m_services->context)
        m_services->context->SetChosenAnswerIndex(index);
    return &m_answers[index];
}

const char* Question::PickWrongAnswer() {
    u32 count = WrongAnswerCount();
    int index = -1;
    if (m_remainingWrong > 0) {
        index = PickIndex(m_used, count);
        if (index >= 0) {
            m_used[index] = 1;
            --m_remainingWrong;
        }
    } else if (count > 0) {
        u32 draw = m_services && m_services->randomRange ? m_services->randomRange(0, count)
                                                         : CrtRandIndex(count);
        index = int(draw < count ? draw : count - 1);
    }
    if (m_services && m_services->context)
        m_services->context->SetChosenAnswerIndex(-1);
    return index >= 0 ? m_wrongAnswers[index] : "";
}

}  // namespace QZ2011
