#include "gameservices/game/sAnimation.h"

#include "engine/core/AGLog.h"

namespace GameServices::KorvoGame {

using Utilities::ISerialization;

namespace {

struct Keyword {
    const char* word;
    i32 value;
};

constexpr Keyword kPlayModes[] = {
    {"pause", kPlayPause}, {"once", kPlayOnce},          {"loop", kPlayLoop},
    {"rewind", kPlayRewind}, {"rewindloop", kPlayRewindLoop},
};

constexpr Keyword kAnimationTypes[] = {
    {"none", kAnimationNone},
    {"skinanimation", kAnimationSkin},
    {"modelanimation", kAnimationModel},
    {"textureanimation", kAnimationTexture},
    {"uvanimation", kAnimationUV},
    {"cameraanimation", kAnimationCamera},
};

template <size_t N>
const Keyword* FindWord(const Keyword (&table)[N], const TString<char>& word) {
    TString<char> lower = word;
    lower.ToLower();
    for (const Keyword& entry : table)
        if (lower == entry.word)
            return &entry;
    return nullptr;
}

template <size_t N>
const char* FindValue(const Keyword (&table)[N], i32 value) {
    for (const Keyword& entry : table)
        if (entry.value == value)
            return entry.word;
    return "";
}

}  // namespace

i32 PlayModeFromWord(const TString<char>& word) {
    const Keyword* found = FindWord(kPlayModes, word);
    return found ? found->value : kPlayPause;
}

i32 AnimationTypeFromWord(const TString<char>& word) {
    if (const Keyword* found = FindWord(kAnimationTypes, word))
        return found->value;
    AGReport("the Action Type is not valide");
    return kAnimationNone;
}

const char* PlayModeWord(i32 mode) {
    return FindValue(kPlayModes, mode);
}

const char* AnimationTypeWord(i32 type) {
    return FindValue(kAnimationTypes, type);
}

void sAnimationSkinModels::Serialize(ISerialization& serialization) {
    serialization.SetAttributeMode(true);
    serialization.SerializeString("id", Id, TString<char>());
    serialization.SetAttributeMode(false);
}

sAnimationSkin::sAnimationSkin() {
    Models.SetItemName("Model");
}

void sAnimationSkin::Serialize(ISerialization& serialization) {
    serialization.SetAttributeMode(true);
    serialization.SerializeString("name", Name, TString<char>());
    serialization.SetAttributeMode(false);
    if (serialization.IsReading()) {
        // The models are the element's own "Model" children, with no list element.
        Models.Clear();
        serialization.SerializeItem(Models);
        return;
    }
    for (sAnimationSkinModels& model : Models)
        serialization.SerializeObject("Model", model, true);
}

void sAnimation::Serialize(ISerialization& serialization) {
    const bool reading = serialization.IsReading();
    TString<char> typeWord = reading ? TString<char>() : TString<char>(AnimationTypeWord(Type));
    TString<char> modeWord = reading ? TString<char>() : TString<char>(PlayModeWord(Mode));
    serialization.SetAttributeMode(true);
    serialization.SerializeString("type", typeWord, TString<char>());
    serialization.SerializeString("mode", modeWord, TString<char>());
    serialization.SerializeFloat("speed", Speed, 0.0f);
    serialization.SetAttributeMode(false);
    if (reading) {
        Mode = PlayModeFromWord(modeWord);
        Type = AnimationTypeFromWord(typeWord);
    }
    switch (Type) {
    case kAnimationSkin:
        serialization.SerializeString("AnimationFile", AnimationFile, TString<char>());
        serialization.SerializeObject("Skin", Skin, true);
        break;
    case kAnimationModel:
        serialization.SerializeString("AnimationFile", AnimationFile, TString<char>());
        break;
    case kAnimationTexture:
    case kAnimationUV:
        serialization.SerializeString("MaterialName", MaterialName, TString<char>());
        break;
    default:
        break;
    }
    Present = true;
}

void sAnimationCamera::Serialize(ISerialization& serialization) {
    TString<char> modeWord =
        serialization.IsReading() ? TString<char>() : TString<char>(PlayModeWord(Mode));
    serialization.SetAttributeMode(true);
    serialization.SerializeString("mode", modeWord, TString<char>());
    serialization.SerializeFloat("speed", Speed, 0.0f);
    serialization.SetAttributeMode(false);
    if (serialization.IsReading())
        Mode = PlayModeFromWord(modeWord);
}

}  // namespace GameServices::KorvoGame
