#include "game/presentation/AudioManagerQZ.h"

#include <cstring>

#include <algorithm>
#include <iterator>

#include "engine/core/AGLog.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Set.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameshow/SequenceManager.h"

namespace QZ2011 {

using Audio = GameServices::Bridge::AudioProcessingSystem;

namespace {

// The engine volume group of each category: crowd sounds share the voice group.
constexpr u32 kGroups[AudioManagerQZ::kCategoryCount] = {0, 1, 2, 1};

struct CrowdAsset {
    const char* name;
    const char* file;
    bool fullVolume;
    bool looped;
};
// By Crowd.
constexpr CrowdAsset kCrowdAssets[AudioManagerQZ::kCrowdCount] = {
    {AudioManagerQZ::kCrowdCues[AudioManagerQZ::kCrowdNoise], "crowd_noise.snd", true, true},
    {AudioManagerQZ::kCrowdCues[AudioManagerQZ::kCrowdLose], "crowd_lose.snd", true, false},
    {AudioManagerQZ::kCrowdCues[AudioManagerQZ::kCrowdMedium], "crowd_medium.snd", false, true},
    {AudioManagerQZ::kCrowdCues[AudioManagerQZ::kCrowdLoud], "crowd_loud.snd", false, true}};

}  // namespace

AudioManagerQZ::CueSound AudioManagerQZ::CrowdSound(Crowd crowd) {
    const CrowdAsset& asset = kCrowdAssets[crowd < kCrowdCount ? crowd : kCrowdNoise];
    return {std::string(asset.file, std::strlen(asset.file) - 4), asset.file, false};
}

void AudioManagerQZ::AppendCrowdSounds(std::vector<CueSound>& sounds) {
    for (u8 crowd = 0; crowd < kCrowdCount; ++crowd)
        sounds.push_back(CrowdSound(Crowd(crowd)));
}

namespace {

f32 Clamp01(f32 value) { return std::clamp(value, 0.0f, 1.0f); }

}  // namespace

bool AudioManagerQZ::HasAsset(const TString<char>& name) const { return m_Set && m_Set->FindAudioAsset(name); }

bool AudioManagerQZ::Create(const TString<char>& name, const TString<char>& file, f32 volume, bool streamed,
                            bool looped) {
    return Audio::CreateAudioAsset(m_Set, name, file, volume, streamed, looped) != nullptr;
}

void AudioManagerQZ::onInitialize(GameShow::SequenceManager* sequences, GameServices::Entities::Set* set) {
    if (!set)
        AGReport("AudioManagerSinglePlayer::onInitialize : the set is NULL !!!");
    if (!sequences)
        AGReport("AudioManagerQZ::onInitialize : the Sequence Manager is NULL !!!");
    m_SequenceManager = sequences;
    m_Set = set;
    m_SequenceHolder = "";
    m_TutorialCue = "";
    for (int category = 0; category < kCategoryCount; ++category)
        ResetCategoryVolume(category);
    if (m_Set) {
        for (const CrowdAsset& crowd : kCrowdAssets)
            Create(crowd.name, crowd.file, crowd.fullVolume ? m_Categories[kCrowd].volume : 0.0f, false, crowd.looped);
        for (const CrowdAsset& crowd : kCrowdAssets)
            Audio::SetCategory(m_Set, crowd.name, kGroups[kCrowd]);
    }
    ResetFaders();
    if (GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current())
        game->AddModule(this);
}

void AudioManagerQZ::onRelease() {
    ResetFaders();
    if (GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current())
        game->UnregisterModule(this);
    // A hold left in place would keep the show's clock frozen for good.
    ResumeSequence();
    m_TutorialCue = "";
    m_Set = nullptr;
    m_SequenceManager = nullptr;
    for (AudioCategory& category : m_Categories)
        category.names.clear();
}

void AudioManagerQZ::PlayCue(const TString<char>& name, int category, bool streamed, bool looped,
                             bool stopCategoryFirst) {
    if (!m_Set) {
        AGReport("AudioManagerQZ::PlayCue : no level is bound for %s", name.c_str());
        return;
    }
    const GameServices::Entities::AudioAsset* existing = m_Set->FindAudioAsset(name);
    if (existing && existing->m_IsPlaying)
        return;
    // A second copy of a loop would play on out of reach of StopCue.
    if (existing && existing->m_Looped)
        StopCue(name, category);
    if (stopCategoryFirst)
        StopCategory(category);
    AudioCategory& list = m_Categories[Index(category)];
    if (!Create(name, name, list.volume, streamed, looped))
        return;
    Audio::SetCategory(m_Set, name, kGroups[Index(category)]);
    Audio::Play(m_Set, name);
    list.names.push_back(name);
}

void AudioManagerQZ::StopCue(const TString<char>& name, int category) {
    if (!HasAsset(name))
        return;
    if (m_SequenceHolder == name)
        ResumeSequence();
    Audio::Stop(m_Set, name);
    Audio::DestroyAudioAsset(m_Set, name);
    std::vector<TString<char>>& names = m_Categories[Index(category)].names;
    if (auto it = std::find(names.begin(), names.end(), name); it != names.end())
        names.erase(it);
}

void AudioManagerQZ::StopCategory(int category) {
    std::vector<TString<char>> names;
    names.swap(m_Categories[Index(category)].names);
    for (const TString<char>& name : names) {
        if (m_SequenceHolder == name)
            ResumeSequence();
        // A name stopped through another category is gone already.
        if (HasAsset(name)) {
            Audio::Stop(m_Set, name);
            Audio::DestroyAudioAsset(m_Set, name);
        }
    }
}

void AudioManagerQZ::AudioPauseSequence(const TString<char>& name) {
    if (!m_SequenceHolder.IsEmpty()) {
        AGReport("AudioManagerSinglePlayer::AudioPauseSequence -> An audio is already pausing the sequence, dangerous "
                 "pattern !!!");
        return;
    }
    // A sound that does not play never ends, and its hold would never be released.
    if (!HasAsset(name) || !Audio::IsPlaying(m_Set, name))
        return;
    if (m_SequenceManager)
        m_SequenceManager->SetPaused(true);
    Audio::SetEndCallback(m_Set, name, &AudioManagerQZ::OnHolderEnd, this);
    m_SequenceHolder = name;
}

void AudioManagerQZ::OnHolderEnd(void* manager) { static_cast<AudioManagerQZ*>(manager)->ResumeSequence(); }

void AudioManagerQZ::ResumeSequence() {
    if (m_SequenceHolder.IsEmpty())
        return;
    if (m_SequenceManager)
        m_SequenceManager->SetPaused(false);
    if (HasAsset(m_SequenceHolder))
        Audio::ClearEndCallback(m_Set, m_SequenceHolder);
    m_SequenceHolder = "";
}

int AudioManagerQZ::CategoryFromName(const TString<char>& text) {
    if (text == "music")
        return kMusic;
    if (text == "sfx")
        return kSfx;
    if (text == "crowed")
        return kCrowd;
    return kVoice;
}

TString<char> AudioManagerQZ::ResolveCueName(int category, const TString<char>& base) const {
    for (const TString<char>& name : m_Categories[Index(category)].names)
        if (name.Length() >= 5 && name.SubString(0, name.Length() - 5) == base)
            return name;
    return base + ".snd";
}

char AudioManagerQZ::RandomVariantLetter(u32 n) { return char('A' + GameServices::Bridge::RandomRange(0, n)); }

void AudioManagerQZ::ResetFaders() {
    for (AudioVolumeFader& fader : m_Faders)
        fader = AudioVolumeFader();
}

void AudioManagerQZ::ResetCategoryVolume(int category) {
    AudioCategory& list = m_Categories[Index(category)];
    list.volume = 1.0f;
    for (const TString<char>& name : list.names)
        if (HasAsset(name))
            Audio::SetVolume(m_Set, name, 1.0f);
}

void AudioManagerQZ::FadeAudioVolume(const TString<char>& name, f32 from, f32 to, bool stopAtEnd) {
    AudioVolumeFader* fader = nullptr;
    for (AudioVolumeFader& candidate : m_Faders)
        if (!candidate.set || candidate.name == name) {
            fader = &candidate;
            break;
        }
    if (!fader) {
        AGReport("AudioManager::FadeAudioVolume -> All the audio volume faders are already in use, you need to create "
                 "more !!!");
        return;
    }
    *fader = AudioVolumeFader();
    from = Clamp01(from);
    to = Clamp01(to);
    if (from == to || !HasAsset(name))
        return;
    fader->name = name;
    fader->set = m_Set;
    fader->current = from;
    fader->target = to;
    fader->stopAtEnd = stopAtEnd;
    fader->step = (to - from) / kFadeMs;
    Audio::SetVolume(m_Set, name, from);
}

void AudioManagerQZ::Update(u32 dt) {
    for (AudioVolumeFader& fader : m_Faders) {
        if (!fader.set)
            continue;
        // Someone else set the volume (or took the sound away): the fade gives way.
        if (!fader.set->FindAudioAsset(fader.name) || Audio::GetVolume(fader.set, fader.name) != fader.current) {
            fader = AudioVolumeFader();
            continue;
        }
        f32 next = Clamp01(fader.current + f32(dt) * fader.step);
        const f32 target = Clamp01(fader.target);
        const bool done = fader.step > 0.0f ? next >= target : next <= target;
        // Float steps rarely land on the target: the step that reaches or passes it stops there.
        if (done)
            next = target;
        fader.current = next;
        Audio::SetVolume(fader.set, fader.name, fader.current);
        if (done) {
            if (fader.stopAtEnd)
                Audio::Stop(fader.set, fader.name);
            fader = AudioVolumeFader();
        }
    }
}

void AudioManagerQZ::PlayCrowdNoise() { Audio::Play(m_Set, kCrowdCues[kCrowdNoise]); }

void AudioManagerQZ::PlayCrowdLose() { Audio::Play(m_Set, kCrowdCues[kCrowdLose]); }

void AudioManagerQZ::FadeOutCrowdLoud() {
    if (Audio::IsPlaying(m_Set, kCrowdCues[kCrowdLoud]))
        FadeAudioVolume(kCrowdCues[kCrowdLoud], Audio::GetVolume(m_Set, kCrowdCues[kCrowdLoud]), 0.0f, true);
}

void AudioManagerQZ::FadeOutCrowdMedium() {
    if (Audio::IsPlaying(m_Set, kCrowdCues[kCrowdMedium]))
        FadeAudioVolume(kCrowdCues[kCrowdMedium], Audio::GetVolume(m_Set, kCrowdCues[kCrowdMedium]), 0.0f, true);
}

void AudioManagerQZ::StartCrowdMedium() {
    FadeOutCrowdLoud();
    Audio::Play(m_Set, kCrowdCues[kCrowdMedium]);
    FadeAudioVolume(kCrowdCues[kCrowdMedium], Audio::GetVolume(m_Set, kCrowdCues[kCrowdMedium]), m_Categories[kCrowd].volume, false);
}

void AudioManagerQZ::StartCrowdLoud() {
    FadeOutCrowdMedium();
    Audio::Play(m_Set, kCrowdCues[kCrowdLoud]);
    FadeAudioVolume(kCrowdCues[kCrowdLoud], Audio::GetVolume(m_Set, kCrowdCues[kCrowdLoud]), m_Categories[kCrowd].volume, false);
}

void AudioManagerQZ::StopCrowd() {
    FadeOutCrowdLoud();
    FadeOutCrowdMedium();
}

void AudioManagerQZ::StartCrowdAnswer() {
    if (m_CrowdCue == kCrowdCues[kCrowdMedium])
        StartCrowdMedium();
    else if (m_CrowdCue == kCrowdCues[kCrowdLoud])
        StartCrowdLoud();
    else if (m_CrowdCue == kCrowdCues[kCrowdLose])
        PlayCrowdLose();
    else
        AGReport("No crowd is currently set.");
    m_CrowdCue = "";
}

}  // namespace QZ2011
