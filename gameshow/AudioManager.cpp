#include "gameshow/AudioManager.h"

#include "engine/core/AGLog.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/GameFlowServices.h"

namespace GameShow {

using GameServices::Bridge::AudioProcessingSystem;

AudioManager& AudioManager::Instance() {
    static AudioManager instance;
    return instance;
}

u32 AudioManager::VolumeGroup(i32 audioType) {
    switch (audioType) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 2;
    case 3: return 1;
    default:
        AGReport("Unknownaudio type.");
        return 0;
    }
}

void AudioManager::PlaySound(const TString<char>& name, u32 stream, u32 category, i32 audioType) {
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    GameServices::Entities::Set* set = game ? game->GetCurrentLevel() : nullptr;
    if (!set) {
        AGReport("AudioManager::PlaySound: no level runs for %s", name.c_str());
        return;
    }
    PlaySound(set, name, stream, category, audioType);
}

void AudioManager::PlaySound(GameServices::Entities::Set* set, const TString<char>& name, u32 stream,
                             u32 category, i32 audioType) {
    if (!set)
        return;
    // Made once per set: a sound whose file cannot be opened never loads, and asking again
    // for every press would take a new pooled asset each time.
    if (!set->FindAudioAsset(name)) {
        if (!AudioProcessingSystem::CreateAudioAsset(set, name, name, 1.0f, stream != 0, category != 0))
            return;
        AudioProcessingSystem::SetCategory(set, name, VolumeGroup(audioType));
    }
    AudioProcessingSystem::Play(set, name);
}

void AudioManager::PlayButtonPress() {
    PlaySound(kButtonPressSound, kButtonPressStreamed, 0, 2);
}

void AudioManager::PlayMenuMusic() {
    PlaySound(kMenuMusic, kMenuMusicStreamed, 1, 0);
}

}  // namespace GameShow
