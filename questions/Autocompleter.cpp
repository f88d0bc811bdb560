#include "questions/Autocompleter.h"

#include <cstring>

#include "engine/core/AGLog.h"
#include "questions/HashText.h"
#include "questions/LineReader.h"

namespace QZ2011 {

Autocompleter::~Autocompleter() = default;

bool Autocompleter::LoadFromBytes(const void* bytes, u32 size) {
    m_index.clear();
    LineReader reader(bytes, size);
    i64 entries = reader.ReadDecimalLine();
    for (i64 e = 0; e < entries && !reader.Failed(); ++e) {
        const char* key = reader.CutLine();
        i64 n = reader.ReadDecimalLine();
        if (reader.Failed())
            break;
        std::vector<std::string_view> words;
        for (i64 i = 0; i < n; ++i) {
            const char* word = reader.CutLine();
            if (!word)
                break;
            words.emplace_back(word, strlen(word));
        }
        m_index[HashText(key)] = std::move(words);
    }
    bool complete = !reader.Failed();
    if (!complete)
        AGReport("autocompletion.txt is truncated: kept %u keys", u32(m_index.size()));
    m_bytes = reader.TakeBytes();
    return complete;
}

bool Autocompleter::IsWord(std::string_view word) const {
    std::string_view key = word.substr(0, 2);
    auto it = m_index.find(HashText(key));
    if (it == m_index.end())
        return false;
    for (std::string_view listed : it->second)
        if (listed == word)
            return true;
    return false;
}

}  // namespace QZ2011

#include "questions/QuestionData.h"

namespace QZ2011 {

bool Autocompleter::Load() {
    bool found = ReadQuestionDataFile("autocompletion.txt", [this](const void* bytes, u32 size) {
        LoadFromBytes(bytes, size);
    });
    if (!found) {
        m_index.clear();
        m_bytes.clear();
        AGReport("autocompletion.txt is missing: the answer matcher has no dictionary");
    }
    return true;
}

}  // namespace QZ2011
