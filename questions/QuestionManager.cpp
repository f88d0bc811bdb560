#include "questions/QuestionManager.h"

#include "engine/core/AGLog.h"
#include "questions/GraphemeEquivalences.h"
#include "questions/HashText.h"
#include "questions/LineReader.h"
#include "questions/QuestionData.h"

namespace QZ2011 {

namespace {

const char* const kPositionNames[kDecadeCount] = {
    "CurrectQuestionDecade70", "CurrectQuestionDecade80", "CurrectQuestionDecade90",
    "CurrectQuestionDecade00"};
const char* const kWrapCountNames[kDecadeCount] = {
    "NumberOfTimesWeLoopedDecade70", "NumberOfTimesWeLoopedDecade80",
    "NumberOfTimesWeLoopedDecade90", "NumberOfTimesWeLoopedDecade00"};
const char* const kDecadeNames[kDecadeCount] = {"70s", "80s", "90s", "00s"};

}  // namespace

QuestionManager::QuestionManager(const QuestionServices& services) : m_services(services) {}

QuestionManager::~QuestionManager() {
    Cleanup();
}

bool QuestionManager::Initialize(const char* prefix) {
    UnloadQuestion();
    m_questionCount = kMaxQuestions;
    m_upperBound = kMaxQuestions;
    m_prefix = prefix ? prefix : "";
    m_table.assign(kMaxQuestions, 0);

    std::string pairsName = m_prefix + "graphtograph.bin";
    if (!ReadQuestionDataFile(pairsName.c_str(), [](const void* bytes, u32 size) { LoadWordPairs(bytes, size); })) {
        WordPairMap.Clear();
        AGReport("%s is missing: answers are matched without spelling equivalences", pairsName.c_str());
    }

    std::string listName = m_prefix + "list.txt";
    if (!ReadQuestionDataFile(listName.c_str(), [this](const void* bytes, u32 size) { LoadIndex(bytes, size); })) {
        LoadIndex(nullptr, 0);
        AGReport("%s is missing: the question bank is empty", listName.c_str());
    }

    RegisterProgressAttributes();
    return true;
}

void QuestionManager::Cleanup() {
    UnloadQuestion();
    m_table.clear();
    m_prefix.clear();
}

void QuestionManager::LoadIndex(const void* bytes, u32 size) {
    LineReader reader(bytes, size);
    for (int d = 0; d < kDecadeCount; ++d)
        m_first[d] = m_last[d] = -1;
    m_idIndex.clear();
    u32 count = 0;
    while (count < kMaxQuestions && !reader.AtEnd()) {
        const char* id = reader.CutLine();
        m_idIndex[HashText(id)] = count;
        int d = DecadeOfId(id);
        if (m_first[d] == -1)
            m_first[d] = i32(count);
        m_last[d] = i32(count);
        ++count;
    }
    m_questionCount = count;
}

int QuestionManager::DecadeOfId(const char* id) {
    switch (id ? id[0] : '\0') {
        case '7': return kDecade70s;
        case '8': return kDecade80s;
        case '9': return kDecade90s;
        default: return kDecade00s;
    }
}

i32 QuestionManager::IndexOfId(const char* id) const {
    auto it = m_idIndex.find(HashText(id));
    return it == m_idIndex.end() ? -1 : i32(it->second);
}

Question* QuestionManager::LoadQuestion(u32 n) {
    UnloadQuestion();
    if (n >= m_questionCount)
        return nullptr;
    m_currentIndex = i32(n);
    std::string name = m_prefix + std::to_string(n) + ".bin";
    auto question = std::make_unique<Question>();
    bool parsed = false;
    bool found = ReadQuestionDataFile(name.c_str(), [&](const void* bytes, u32 size) {
        parsed = question->Parse(bytes, size);
    });
    if (!found || !parsed) {
        AGReport("Question file %s is %s", name.c_str(), found ? "unreadable" : "missing");
        return nullptr;
    }
    question->SetIndex(n);
    question->SetServices(&m_services);
    m_question = std::move(question);
    return m_question.get();
}

void QuestionManager::UnloadQuestion() {
    m_question.reset();
}

int QuestionManager::CurrentDecade() const {
    int d = m_services.context ? m_services.context->CurrentDecade() : -1;
    if (d < 0 || d >= kDecadeCount) {
        AGReport("No valid current decade (%d) for the question bank", d);
        return -1;
    }
    return d;
}

void QuestionManager::Advance(int d) {
    m_upperBound = u32(m_last[d]);
    ++m_currentIndex;
    ++m_questionsAsked;
    if (m_currentIndex <= m_last[d])
        return;
    // The run is exhausted: start it again. The questions asked before the wrap are
    // already behind the stored position, so the count restarts with it.
    m_currentIndex = m_first[d];
    m_questionsAsked = 0;
    int wraps = 0;
    GetProgressValue(kWrapCountNames[d], wraps);
    SetProgressValue(kWrapCountNames[d], wraps + 1);
    SetProgressValue(kPositionNames[d], m_currentIndex);
    if (m_services.saves)
        m_services.saves->WriteSavedGame();
}

Question* QuestionManager::NextQuestion() {
    int d = CurrentDecade();
    if (d < 0)
        return nullptr;
    if (m_last[d] < 0) {
        UnloadQuestion();
        AGReport("The question bank has no questions of the %s", kDecadeNames[d]);
        return nullptr;
    }
    i32 runLength = m_last[d] - m_first[d] + 1;
    for (i32 attempt = 0; attempt < runLength; ++attempt) {
        Advance(d);
        if (m_currentIndex >= 0)
            if (Question* question = LoadQuestion(u32(m_currentIndex)))
                return question;
    }
    AGReport("No readable question of the %s", kDecadeNames[d]);
    return nullptr;
}

void QuestionManager::SaveProgress() {
    int d = CurrentDecade();
    if (d < 0)
        return;
    int position = m_first[d] >= 0 ? m_first[d] - 1 : -1;
    GetProgressValue(kPositionNames[d], position);
    position += int(m_questionsAsked);
    SetProgressValue(kPositionNames[d], position);
    m_questionsAsked = 0;
    m_currentIndex = position;
    if (m_services.saves)
        m_services.saves->WriteSavedGame();
}

void QuestionManager::RegisterProgressAttributes() {
    if (!m_services.settings)
        return;
    for (const char* name : kPositionNames)
        m_services.settings->AddIntegerAttributeName(name);
    for (const char* name : kWrapCountNames)
        m_services.settings->AddIntegerAttributeName(name);
}

void QuestionManager::GetProgressValue(const char* name, int& value) {
    if (!m_services.settings || !m_services.settings->HasAttribute(name)) {
        AGReport("This achievement doesn't exist.");
        return;
    }
    m_services.settings->GetAttributeValue(name, value);
}

void QuestionManager::SetProgressValue(const char* name, int value) {
    if (!m_services.settings) {
        AGReport("This achievement doesn't exist.");
        return;
    }
    if (!m_services.settings->HasAttribute(name))
        AGReport("This achievement doesn't exist.");
    m_services.settings->SetAttributeValue(name, value);
}

const char* QuestionManager::PositionAttribute(int decade) {
    return decade >= 0 && decade < kDecadeCount ? kPositionNames[decade] : "";
}

const char* QuestionManager::WrapCountAttribute(int decade) {
    return decade >= 0 && decade < kDecadeCount ? kWrapCountNames[decade] : "";
}

}  // namespace QZ2011
