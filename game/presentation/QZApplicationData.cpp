#include "game/presentation/QZApplicationData.h"

#include <climits>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"

namespace QZ2011 {

using GameServices::Utilities::ISerialization;

namespace {

// Stands for a key the file does not give.
constexpr i32 kAbsent = INT_MIN;

// Bounds a value read into 0..max, reported when it was outside.
void Bound(const char* key, i32& value, i32 max) {
    if (value >= 0 && value <= max)
        return;
    const i32 bounded = value < 0 ? 0 : max;
    AGReport("Level data : %s %d is out of 0..%d, %d is used", key, value, max, bounded);
    value = bounded;
}

}  // namespace

void Level::Serialize(ISerialization& serialization) {
    const bool reading = serialization.IsReading();
    serialization.SerializeInt(kKeys[0], numberOfAnswers, 0);
    serialization.SerializeInt(kKeys[1], questionRoundTime, reading ? kAbsent : 0);
    serialization.SerializeInt(kKeys[2], fastMoneyFirstTime, 0);
    serialization.SerializeInt(kKeys[3], fastMoneySecondTime, 0);
    if (!reading)
        return;
    if (questionRoundTime == kAbsent) {
        AGReport("Level data : no questionRoundTime, answers time out at once");
        questionRoundTime = 0;
    }
    Bound(kKeys[0], numberOfAnswers, kMaxAnswers);
    Bound(kKeys[1], questionRoundTime, kMaxSeconds);
    Bound(kKeys[2], fastMoneyFirstTime, kMaxSeconds);
    Bound(kKeys[3], fastMoneySecondTime, kMaxSeconds);
}

void Level::Clear() { *this = Level(); }

TString<char> AI::Key(const char* family, i32 difficulty, i32 decade) {
    static const char* const kDifficulties[] = {"Easy", "Medium", "Hard"};
    static const char* const kDecades[] = {"70", "80", "90", "00"};
    if (difficulty < 0 || difficulty > 2 || decade < 0 || decade > 3)
        return TString<char>();
    return TString<char>(family) + kDifficulties[difficulty] + kDecades[decade];
}

void AI::Serialize(ISerialization& serialization) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    const i32 decade = context ? i32(context->m_Decade) : -1;
    const i32 difficulty = context ? i32(context->m_Difficulty) : -1;
    if (Key("", difficulty, decade).Length() == 0)
        return;
    auto number = [&](const char* family, i32& value) {
        serialization.SerializeInt(Key(family, difficulty, decade).c_str(), value, 0);
    };
    auto text = [&](const char* family, TString<char>& value) {
        serialization.SerializeString(Key(family, difficulty, decade).c_str(), value, TString<char>());
    };
    number(kFamilies[0], BuzzerSpeed);
    number(kFamilies[1], AnswerAccuracy);
    number(kFamilies[2], AnswerDifficulty);
    number(kFamilies[3], BasicRoundStrength);
    number(kFamilies[4], Steal);
    text(kFamilies[5], FamilyName);
    text(kFamilies[6], Male1);
    text(kFamilies[7], Male2);
    text(kFamilies[8], Female1);
    text(kFamilies[9], Female2);
}

void AI::Clear() { *this = AI(); }

void QZApplicationDataLevel::Serialize(ISerialization& serialization) {
    Level::Serialize(serialization);
    AI::Serialize(serialization);
}

void QZApplicationDataLevel::Clear() {
    Level::Clear();
    AI::Clear();
}

GameServices::KorvoGame::ApplicationData* QZApplicationDataLevel::Clone() const {
    auto* copy = new QZApplicationDataLevel();
    static_cast<Level&>(*copy) = *this;
    static_cast<AI&>(*copy) = *this;
    return copy;
}

GameServices::KorvoGame::ApplicationData* QZApplicationDataCharacter::Clone() const {
    auto* copy = new QZApplicationDataCharacter();
    copy->m_Text = m_Text;
    return copy;
}

GameServices::KorvoGame::ApplicationData* QZApplicationDataProps::Clone() const {
    auto* copy = new QZApplicationDataProps();
    copy->TemplateBehavior = TemplateBehavior;
    return copy;
}

void QZApplicationDataProps::Serialize(ISerialization& serialization) {
    serialization.SerializeString("TemplateBehavior", TemplateBehavior, "");
}

}  // namespace QZ2011
