#pragma once
// The question bank: the index "list.txt" (line i is the id of question file "i.bin", its
// first digit the decade), the spelling equivalences, one loaded question at a time, and
// the walk through each decade's run of questions with the position saved per decade in
// the player settings.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/AGTypes.h"
#include "questions/Question.h"
#include "questions/QuestionServices.h"

namespace QZ2011 {

class QuestionManager {
public:
    // The most lines "list.txt" may give; a shorter list makes a smaller bank.
    static constexpr u32 kMaxQuestions = 2012;

    explicit QuestionManager(const QuestionServices& services);
    QuestionManager(const QuestionManager&) = delete;
    QuestionManager& operator=(const QuestionManager&) = delete;
    virtual ~QuestionManager();

    // Loads "graphtograph.bin" and "list.txt" (each name preceded by the prefix) through the
    // "data" provider and registers the progress attributes. Missing files are reported and
    // leave an empty table or bank. Returns true.
    bool Initialize(const char* prefix = "");
    // Unloads the current question and drops the index.
    void Cleanup();

    // Reads the index: at most kMaxQuestions lines; the question count is the number of lines
    // present. Fills the decade runs and the id index.
    void LoadIndex(const void* bytes, u32 size);

    // Unloads the current question, then loads question n: null when n is not below the
    // question count or its file is missing or unreadable (reported).
    Question* LoadQuestion(u32 n);
    void UnloadQuestion();
    // Advances within the current decade's run, wrapping to its first question (counting the
    // wrap and saving), skipping unreadable questions; null when the decade has none.
    Question* NextQuestion();
    // Adds the questions asked since the last save to the decade's stored position.
    void SaveProgress();

    void RegisterProgressAttributes();
    // Read or write one integer attribute of the player settings; a name the settings do not
    // hold is reported and the operation goes on (a read leaves value unchanged).
    void GetProgressValue(const char* name, int& value);
    void SetProgressValue(const char* name, int value);
    static const char* PositionAttribute(int decade);
    static const char* WrapCountAttribute(int decade);

    // The decade of an id: its first character '7', '8' or '9' gives the 70s, 80s or 90s;
    // anything else (or an empty id) the 00s.
    static int DecadeOfId(const char* id);

    u32 QuestionCount() const { return m_questionCount; }
    i32 FirstIndex(int decade) const { return m_first[decade]; }
    i32 LastIndex(int decade) const { return m_last[decade]; }
    // The line of an id in "list.txt", or -1.
    i32 IndexOfId(const char* id) const;

    Question* CurrentQuestion() const { return m_question.get(); }
    // Index of the question in use; -1 before the first one of the 00s.
    i32 CurrentIndex() const { return m_currentIndex; }
    // Where the game side puts the walk when a match starts (the stored position).
    void SetCurrentIndex(i32 index) { m_currentIndex = index; }
    u32 QuestionsAsked() const { return m_questionsAsked; }
    u32 UpperBound() const { return m_upperBound; }
    // Bytes kept for the game side, zeroed at initialization.
    std::vector<u8>& Table() { return m_table; }

private:
    // One step of the walk in decade d: the next index, or the run's first after its last.
    void Advance(int d);
    int CurrentDecade() const;

    QuestionServices m_services;
    std::string m_prefix;
    std::vector<u8> m_table;
    std::unique_ptr<Question> m_question;
    i32 m_currentIndex = 0;
    u32 m_questionCount = 0;
    u32 m_upperBound = kMaxQuestions;
    i32 m_first[kDecadeCount] = {-1, -1, -1, -1};
    i32 m_last[kDecadeCount] = {-1, -1, -1, -1};
    std::map<u32, u32> m_idIndex;
    u32 m_questionsAsked = 0;
};

}  // namespace QZ2011
