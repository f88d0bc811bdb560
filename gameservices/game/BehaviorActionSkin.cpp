#include "gameservices/game/BehaviorActionSkin.h"

#include "engine/core/AGLog.h"

namespace GameServices::MiniGame {

namespace {

struct ModelWord {
    const char* word;
    i32 type;
};

constexpr ModelWord kModelWords[] = {
    {"all", kModelAll},           {"head", kModelHead},         {"eyeleft", kModelEyeLeft},
    {"eyeright", kModelEyeRight}, {"hair", kModelHair},         {"top", kModelTop},
    {"bottom", kModelBottom},     {"footwear", kModelFootwear}, {"eyewear", kModelEyewear},
};

}  // namespace

bool StringToModelType(const TString<char>& word, i32& type) {
    TString<char> lower(word);
    lower.ToLower();
    for (const ModelWord& entry : kModelWords) {
        if (lower == entry.word) {
            type = entry.type;
            return true;
        }
    }
    AGReport("the Model Type is not valide: %s", word.c_str());
    return false;
}

void BehaviorActionSkin::AddModels(const std::vector<TString<char>>& words) {
    for (const TString<char>& word : words) {
        i32 type = kModelAll;
        if (StringToModelType(word, type))
            m_ModelTypes.push_back(type);
    }
}

}  // namespace GameServices::MiniGame
