#include "tools/qbank/BankWriter.h"

#include <algorithm>
#include <map>
#include <set>

#include "questions/AnswerMatcher.h"

namespace qbank {

namespace {

class Bytes {
public:
    Bytes& Line(const std::string& text) {
        m_s += text;
        m_s += "\r\n";
        return *this;
    }
    Bytes& U32(u32 v) {
        for (int i = 0; i < 4; ++i)
            m_s.push_back(char((v >> (8 * i)) & 0xFF));
        return *this;
    }
    std::string Take() { return std::move(m_s); }

private:
    std::string m_s;
};

}  // namespace

std::string QuestionFileBytes(const BankQuestion& question) {
    Bytes b;
    b.Line(question.text).Line(question.id).U32(u32(question.answers.size()));
    for (const BankAnswer& answer : question.answers) {
        b.U32(answer.points).Line(answer.text).U32(u32(answer.groups.size()));
        for (const auto& group : answer.groups) {
            b.U32(u32(group.size()));
            for (const std::string& wording : group)
                b.Line(wording);
        }
    }
    b.U32(u32(question.wrong.size()));
    for (const std::string& wrong : question.wrong)
        b.Line(wrong);
    b.U32(u32(question.completions.size()));
    for (const std::string& line : question.completions)
        b.Line(line);
    return b.Take();
}

std::string ListBytes(const Bank& bank) {
    Bytes b;
    for (const BankQuestion& question : bank.questions)
        b.Line(question.id);
    return b.Take();
}

std::string WordPairBytes(const Bank& bank) {
    Bytes b;
    b.U32(u32(bank.pairs.size()));
    for (const BankPair& pair : bank.pairs) {
        b.Line(pair.key).U32(u32(pair.typed.size()));
        for (const std::string& typed : pair.typed)
            b.Line(typed);
    }
    return b.Take();
}

std::vector<std::string> DictionaryWords(const Bank& bank) {
    std::set<std::string> words(bank.extraWords.begin(), bank.extraWords.end());
    std::vector<std::string> split;
    for (const BankQuestion& question : bank.questions)
        for (const BankAnswer& answer : question.answers)
            for (const auto& group : answer.groups)
                for (const std::string& wording : group) {
                    SplitWords(wording, '_', split);
                    for (const std::string& word : split)
                        if (!word.empty() && word.find(' ') == std::string::npos)
                            words.insert(word);
                }
    return {words.begin(), words.end()};
}

std::string AutocompletionBytes(const std::vector<std::string>& words) {
    std::map<std::string, std::vector<std::string>> byKey;
    for (const std::string& word : words)
        byKey[word.substr(0, 2)].push_back(word);
    std::string s = std::to_string(byKey.size()) + "\r\n";
    for (const auto& [key, list] : byKey) {
        s += key + "\r\n" + std::to_string(list.size()) + "\r\n";
        for (const std::string& word : list)
            s += word + "\r\n";
    }
    return s;
}

}  // namespace qbank
