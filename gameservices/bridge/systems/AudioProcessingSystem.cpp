#include "gameservices/bridge/systems/AudioProcessingSystem.h"

#include "engine/audio/AGAudioStream.h"
#include "engine/core/AGAudioManager.h"
#include "engine/core/AGLog.h"
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/GameAudioAssetFactory.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"

namespace GameServices::Bridge {

using Entities::AudioAsset;
using Entities::Set;
namespace Keys = Entities::VolatileDataKeys;

namespace {

constexpr u32 kDefaultMaxSounds = 10;
constexpr u32 kDefaultMaxStreams = 4;
u32 s_MaxSounds = kDefaultMaxSounds;
u32 s_MaxStreams = kDefaultMaxStreams;

// The state bits of an engine sound.
constexpr u32 kLoaded = 0x1;
constexpr u32 kPlaying = 0x2;

void DeleteEngineSound(AudioAsset& asset) {
    // The player closes (and so stops) with its sound.
    delete AudioProcessingSystem::GetEngineSound(asset);
    asset.VolatileDatas.Remove(Keys::kENGINE_DATA_AUDIO);
}

void SetUp(AudioAsset& asset) {
    if (AudioProcessingSystem::GetEngineSound(asset)) {
        AGReport("call AudioProcessingSystem::Cleanup(..) before!");
        // The sound it replaces would otherwise play on out of reach.
        DeleteEngineSound(asset);
    }
    AudioData* data = asset.VolatileDatas.GetAudioData();
    if (!data) {
        AGReport("Audio asset %s has no audio data", asset.Name.c_str());
        return;
    }
    AGAudioObject* sound = asset.m_Streamed ? static_cast<AGAudioObject*>(new AGAudioStream())
                                            : static_cast<AGAudioObject*>(new AGAudioSound());
    data->m_FileName.ToLower();
    if (!sound->Open(data->m_FileName.c_str()))
        AGReport("Audio asset %s: cannot open %s", asset.Name.c_str(), data->m_FileName.c_str());
    asset.VolatileDatas.Set(Keys::kENGINE_DATA_AUDIO, sound);
    sound->SetVolume(asset.m_Volume);
    sound->SetLoop(asset.m_Looped);
    if (asset.m_IsPlaying)
        sound->Play();
    else
        sound->Stop();
    // The first update plays or stops it once more.
    asset.m_Reset = false;
}

void Release(AudioAsset& asset) {
    DeleteEngineSound(asset);
    delete asset.VolatileDatas.GetAudioData();
    asset.VolatileDatas.Remove(Keys::kAUDIO_DATA);
}

// The engine sound of the named asset; reports a name the Set lacks unless quiet.
AGAudioObject* Find(Set* set, const TString<char>& name, bool quiet = false) {
    AudioAsset* asset = set ? set->FindAudioAsset(name) : nullptr;
    if (!asset) {
        if (!quiet)
            AGReport("FindAudioAsset failed %s", name.c_str());
        return nullptr;
    }
    return AudioProcessingSystem::GetEngineSound(*asset);
}

}  // namespace

AGAudioObject* AudioProcessingSystem::GetEngineSound(const AudioAsset& asset) {
    return asset.VolatileDatas.GetAs<AGAudioObject>(Keys::kENGINE_DATA_AUDIO);
}

u32 AudioProcessingSystem::GetMaxSounds() {
    return s_MaxSounds;
}

u32 AudioProcessingSystem::GetMaxStreams() {
    return s_MaxStreams;
}

void AudioProcessingSystem::Initialize(Set* set) {
    const KorvoGame::RuntimeParameters* parameters = KorvoGame::RuntimeParameters::Instance();
    s_MaxStreams = kDefaultMaxStreams;
    s_MaxSounds = kDefaultMaxSounds;
    parameters->GetParameter<u32>(&s_MaxStreams, "Audio", "MaxStreams");
    parameters->GetParameter<u32>(&s_MaxSounds, "Audio", "MaxSounds");
    AGAudioManager* manager = AGAudioManager::Get();
    if (manager && manager->GetImpl())
        manager->GetImpl()->Initialize(s_MaxSounds, s_MaxStreams);
    if (!set)
        return;
    for (AudioAsset* asset : set->m_AudioAssets)
        if (asset)
            SetUp(*asset);
}

void AudioProcessingSystem::Update(Set* set) {
    if (!set)
        return;
    for (AudioAsset* asset : set->m_AudioAssets) {
        if (!asset || asset->m_Reset)
            continue;
        if (AGAudioObject* sound = GetEngineSound(*asset)) {
            if (asset->m_IsPlaying)
                sound->Play();
            else
                sound->Stop();
        }
        asset->m_Reset = true;
    }
}

void AudioProcessingSystem::Cleanup(Set* set) {
    if (!set)
        return;
    for (AudioAsset* asset : set->m_AudioAssets)
        if (asset)
            Release(*asset);
}

void AudioProcessingSystem::Play(Set* set, const TString<char>& name) {
    if (AGAudioObject* sound = Find(set, name))
        sound->Play();
}

void AudioProcessingSystem::Stop(Set* set, const TString<char>& name) {
    if (AGAudioObject* sound = Find(set, name))
        sound->Stop();
}

bool AudioProcessingSystem::IsLoaded(Set* set, const TString<char>& name) {
    AGAudioObject* sound = Find(set, name, true);
    return sound && (sound->GetState() & kLoaded) != 0;
}

bool AudioProcessingSystem::IsPlaying(Set* set, const TString<char>& name) {
    AGAudioObject* sound = Find(set, name);
    return sound && (sound->GetState() & kPlaying) != 0;
}

void AudioProcessingSystem::SetVolume(Set* set, const TString<char>& name, f32 volume) {
    if (AGAudioObject* sound = Find(set, name))
        sound->SetVolume(volume);
}

f32 AudioProcessingSystem::GetVolume(Set* set, const TString<char>& name) {
    AGAudioObject* sound = Find(set, name);
    return sound ? sound->GetVolume() : 0.0f;
}

void AudioProcessingSystem::SetCategory(Set* set, const TString<char>& name, u32 category) {
    if (AGAudioObject* sound = Find(set, name))
        sound->SetCategory(category);
}

void AudioProcessingSystem::SetEndCallback(Set* set, const TString<char>& name, EndCallback callback,
                                           void* context) {
    if (AGAudioObject* sound = Find(set, name))
        sound->SetEndCallback(callback, context);
}

void AudioProcessingSystem::ClearEndCallback(Set* set, const TString<char>& name) {
    if (AGAudioObject* sound = Find(set, name))
        sound->ClearEndCallback();
}

void AudioProcessingSystem::SetAudioData(AudioAsset& asset, const AudioData& data) {
    if (AudioData* kept = asset.VolatileDatas.GetAudioData())
        *kept = data;
    else
        asset.VolatileDatas.Set(Keys::kAUDIO_DATA, new AudioData(data));
}

AudioAsset* AudioProcessingSystem::CreateAudioAsset(Set* set, const TString<char>& name,
                                                    const TString<char>& fileName, f32 volume, bool streamed,
                                                    bool looped) {
    if (!set)
        return nullptr;
    Entities::IAudioAssetFactory* pool = Entities::GameAudioAssetFactory::Instance()->GetDefaultFactory();
    AudioAsset* asset = pool ? pool->Alloc() : nullptr;
    if (!asset) {
        AGReport("CreateAudioAsset: no free audio asset for %s", name.c_str());
        return nullptr;
    }
    asset->Name = name;
    SetAudioData(*asset, AudioData(fileName, TString<char>()));
    asset->m_Volume = volume;
    asset->m_Streamed = streamed;
    asset->m_Looped = looped;
    asset->m_IsPlaying = false;
    set->m_AudioAssets.push_back(asset);
    SetUp(*asset);
    // A made asset keeps the state its maker gives it: the level's first update, which applies
    // the level file's IsPlaying, passes it by (it would stop a sound played meanwhile).
    asset->m_Reset = true;
    return asset;
}

void AudioProcessingSystem::DestroyAudioAsset(Set* set, const TString<char>& name) {
    AudioAsset* asset = set ? set->FindAudioAsset(name) : nullptr;
    if (!asset) {
        AGReport("FindAudioAsset failed %s", name.c_str());
        return;
    }
    Release(*asset);
    set->RemoveAudioAsset(asset);
    if (Entities::IAudioAssetFactory* owner = Entities::GameAudioAssetFactory::Instance()->FindOwner(asset))
        owner->Release(asset);
}

}  // namespace GameServices::Bridge
