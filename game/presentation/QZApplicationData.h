#pragma once
// The match level's application data records: the level's match settings with the computer
// family's tuning, and the character and prop records of the stage. The level loader reads
// them through the prototypes the match mode registers.
#include "engine/core/TString.h"
#include "gameservices/game/ApplicationData.h"

namespace QZ2011 {

// The level's match settings. The numbers are bounded when read (the board has eight rows,
// the countdown two digits), each clamp reported; a missing "questionRoundTime" is reported
// and stays 0 (the answer time runs out at once).
class Level : public GameServices::Utilities::ISerializable {
public:
    static constexpr i32 kMaxAnswers = 8;
    static constexpr i32 kMaxSeconds = 99;
    // The keys, in the order of the members below; the first is bounded by kMaxAnswers, the
    // three times by kMaxSeconds.
    static constexpr const char* kKeys[4] = {"numberOfAnswers", "questionRoundTime", "fastMoneyFirstTime",
                                             "fastMoneySecondTime"};

    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    void Clear() override;

    i32 numberOfAnswers = 0;
    i32 questionRoundTime = 0;
    // Read from "fastMoneyFirstTime": the SECOND fast-money turn is timed with it, the first
    // with fastMoneySecondTime. Level files rely on this crossing.
    i32 fastMoneyFirstTime = 0;
    i32 fastMoneySecondTime = 0;
};

// The computer family of the chosen decade and difficulty. Only that pair's ten keys are read,
// so the level is read after both are chosen; without a valid choice nothing is read. Missing
// keys give 0 or an empty name.
class AI : public GameServices::Utilities::ISerializable {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    void Clear() override;

    // The key of a family ("BuzzerSpeed_") for a difficulty (0..2) and decade (0..3):
    // "BuzzerSpeed_Hard70"; empty outside those ranges.
    static TString<char> Key(const char* family, i32 difficulty, i32 decade);
    // The families of keys, in the order of the members below: five numbers, five names.
    static constexpr const char* kFamilies[10] = {
        "BuzzerSpeed_",       "AnswerAccuracy_", "AnswerDifficulty_", "BasicRoundStrength_", "Steal_",
        "String_FamilyName_", "String_male1_",   "String_male2_",     "String_female1_",     "String_female2_"};
    static constexpr i32 kNumberFamilies = 5;

    i32 BuzzerSpeed = 0;
    i32 AnswerAccuracy = 0;
    i32 AnswerDifficulty = 0;
    i32 BasicRoundStrength = 0;
    i32 Steal = 0;
    TString<char> FamilyName;
    TString<char> Female1;
    TString<char> Female2;
    TString<char> Male1;
    TString<char> Male2;
};

// <ApplicationData> of the match level: the settings and the tuning side by side.
class QZApplicationDataLevel : public GameServices::KorvoGame::ApplicationData, public Level, public AI {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    void Clear() override;
    ApplicationData* Clone() const override;
};

// A character's record: the file gives it nothing.
class QZApplicationDataCharacter : public GameServices::KorvoGame::ApplicationData {
public:
    void Serialize(GameServices::Utilities::ISerialization&) override {}
    ApplicationData* Clone() const override;

    // Not read from the file; copied with the record.
    TString<char> m_Text;
};

// <ApplicationData><TemplateBehavior>..</TemplateBehavior> of a stage prop.
class QZApplicationDataProps : public GameServices::KorvoGame::ApplicationData {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    void Clear() override { TemplateBehavior = ""; }
    ApplicationData* Clone() const override;

    TString<char> TemplateBehavior;
};

}  // namespace QZ2011
