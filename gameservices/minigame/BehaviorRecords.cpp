#include "gameservices/minigame/BehaviorRecords.h"

#include "engine/core/AGLog.h"
#include "gameservices/game/sAnimation.h"

namespace GameServices::MiniGame {

using Utilities::ISerialization;

namespace {

const TString<char> kEmpty;

struct PlayModeWord {
    const char* word;
    i32 mode;
};

constexpr PlayModeWord kPlayModeWords[] = {
    {"loop", KorvoGame::kPlayLoop},     {"once", KorvoGame::kPlayOnce},
    {"rewind", KorvoGame::kPlayRewind}, {"rewindloop", KorvoGame::kPlayRewindLoop},
    {"pause", KorvoGame::kPlayPause},
};

}  // namespace

void PlayModeFromBehaviorWord(const TString<char>& word, i32& mode) {
    TString<char> lower = word;
    lower.ToLower();
    for (const PlayModeWord& entry : kPlayModeWords) {
        if (lower == entry.word) {
            mode = entry.mode;
            return;
        }
    }
    AGReport("the Play Mode is not valide: %s", word.c_str());
}

void sBehaviorEntityParam::Serialize(ISerialization& s) {
    s.SerializeString("Name", Name, kEmpty);
    s.SerializeString("Value", Value, kEmpty);
}

void sBehaviorEntityActionSkinModels::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeString("id", id, kEmpty);
    s.SetAttributeMode(false);
}

void sBehaviorEntityActionSkinModelList::Serialize(ISerialization& s) {
    if (s.IsReading()) {
        // The reader hands over every sibling after the first model.
        TString<char> element;
        s.GetElementName(element);
        if (element != "Model")
            return;
    }
    SerializableVector::Serialize(s);
}

void sBehaviorEntityActionSkin::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeString("name", name, kEmpty);
    s.SetAttributeMode(false);
    if (s.IsReading()) {
        Models.Clear();
        s.SerializeItem(Models);
        return;
    }
    for (sBehaviorEntityActionSkinModels& model : Models)
        s.SerializeObject("Model", model, true);
}

void sBehaviorEntityActionKey::Serialize(ISerialization& s) {
    s.SerializeString("Name", Name, kEmpty);
    s.SerializeInt("Frame", Frame, 0);
}

void sBehaviorEntityActionTransition::Serialize(ISerialization& s) {
    s.SerializeFloat("Time", Time, -1.0f);
    s.SerializeString("Actions", Actions, kEmpty);
}

void sBehaviorEntityAction::Serialize(ISerialization& s) {
    const bool reading = s.IsReading();
    s.SerializeString("Name", Name, kEmpty);
    TString<char> typeWord = reading ? TString<char>() : TString<char>(KorvoGame::AnimationTypeWord(ActionType));
    s.SerializeString("ActionType", typeWord, kEmpty);
    if (reading)
        ActionType = KorvoGame::AnimationTypeFromWord(typeWord);
    switch (ActionType) {
    case KorvoGame::kAnimationSkin:
        s.SerializeString("InAnimation", InAnimation, kEmpty);
        s.SerializeString("LoopAnimation", LoopAnimation, kEmpty);
        s.SerializeString("OutAnimation", OutAnimation, kEmpty);
        s.SerializeObject("Skin", Skin, true);
        break;
    case KorvoGame::kAnimationModel:
        s.SerializeString("LoopAnimation", LoopAnimation, kEmpty);
        break;
    case KorvoGame::kAnimationTexture:
    case KorvoGame::kAnimationUV:
        s.SerializeString("MaterialName", MaterialName, kEmpty);
        break;
    default:
        break;
    }
    s.SerializeObject("Keys", Keys, false);
    TString<char> modeWord = reading ? TString<char>() : TString<char>(KorvoGame::PlayModeWord(PlayMode));
    s.SerializeString("PlayMode", modeWord, TString<char>("loop"));
    s.SerializeFloat("Speed", Speed, 1.0f);
    s.SerializeObject("Transitions", Transitions, false);
    if (reading)
        PlayModeFromBehaviorWord(modeWord, PlayMode);
}

void sBehaviorEntityTransition::Serialize(ISerialization& s) {
    s.SerializeString("Name", Name, kEmpty);
    s.SerializeFloat("Time", Time, -1.0f);
    s.SerializeString("InAnimation", InAnimation, kEmpty);
    s.SerializeString("LoopAnimation", LoopAnimation, kEmpty);
    s.SerializeString("OutAnimation", OutAnimation, kEmpty);
}

void sBehaviorEntity::Serialize(ISerialization& s) {
    s.SerializeString("Name", Name, kEmpty);
    s.SerializeObject("Parameters", Parameters, true);
    s.SerializeObject("Actions", Actions, true);
    s.SerializeObject("Transitions", Transitions, false);
}

void sBehavior::Serialize(ISerialization& s) {
    s.SerializeString("Name", Name, kEmpty);
    s.SerializeObject("Entities", Entities, true);
}

void sRootBehavior::Serialize(ISerialization& s) {
    s.SerializeObject("Behaviors", Behaviors, true);
}

}  // namespace GameServices::MiniGame
