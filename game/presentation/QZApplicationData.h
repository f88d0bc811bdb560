#pragma once
// The match level's application data records: the level's match settings, and the character
// and prop records of the stage.
#include "engine/core/TString.h"
#include "gameservices/game/ApplicationData.h"

namespace QZ2011 {

// <ApplicationData> of the match level: the four match settings; other keys are left to the
// round rules' own records.
class QZApplicationDataLevel : public GameServices::KorvoGame::ApplicationData {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;
    void Clear() override;
    ApplicationData* Clone() const override;

    u32 numberOfAnswers = 0;
    u32 questionRoundTime = 0;
    u32 fastMoneyFirstTime = 0;
    u32 fastMoneySecondTime = 0;
};

class QZApplicationDataCharacter : public GameServices::KorvoGame::ApplicationData {
public:
    void Serialize(GameServices::Utilities::ISerialization&) override {}
    ApplicationData* Clone() const override { return new QZApplicationDataCharacter(); }
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
