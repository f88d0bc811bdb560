#include "gameservices/bridge/systems/AudioProcessingSystem.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/audio/AGAudioStream.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using Audio = GameServices::Bridge::AudioProcessingSystem;
using GameServices::Bridge::AudioData;
using GameServices::Entities::AudioAsset;
using GameServices::Entities::GameAudioAssetFactory;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

class AudioSystem : public AudioFixture {
protected:
    AudioSystem() {
        AddSound("tone", authoring::EncodeOggVorbis(authoring::MakeTone(440, 44100, 44100, 1, 0.5)));
        AddSound("blip", authoring::EncodeOggVorbis(authoring::MakeTone(880, 2000, 44100, 1, 0.5)));
        AddStream("music", authoring::EncodeOggVorbis(authoring::MakeTone(220, 44100, 44100, 1, 0.5)));
        Mount();
        LoadParameters("");
    }
    ~AudioSystem() override {
        Audio::Cleanup(&set);
        set.Clear();
    }
    // An audio-asset pool of 3 and the given parameters.
    void LoadParameters(const std::string& items) {
        const std::string path = params.Write(
            "RuntimeParameters.xml", ParameterFile(ParameterItem("GameServices", "FactoryAudioAsset", "3") + items));
        GameServices::KorvoGame::RuntimeParameters::Instance()->LoadRuntimeParameters(path.c_str());
        GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
    }
    AudioAsset* Asset(const char* name, const char* file, bool playing, bool streamed, bool looped, f32 volume) {
        AudioAsset* asset = GameAudioAssetFactory::Instance()->GetDefaultFactory()->Alloc();
        asset->Name = name;
        asset->m_IsPlaying = playing;
        asset->m_Streamed = streamed;
        asset->m_Looped = looped;
        asset->m_Volume = volume;
        Audio::SetAudioData(*asset, AudioData(file, "Sounds/"));
        set.m_AudioAssets.push_back(asset);
        return asset;
    }
    bool Playing(const char* name) { return Audio::IsPlaying(&set, name); }
    f32 Loudness() { return f32(Rms(Render(2205), 0)); }

    TempDir params;
    GameServices::Entities::Set set{"level"};
};

TEST_F(AudioSystem, VoicesComeFromTheAudioParametersOrTenSoundsAndFourStreams) {
    Audio::Initialize(&set);
    EXPECT_EQ(impl->DecodePool().Count(), PCAudioManagerImpl::kDecodeBuffersPerPlayer * 14);
    EXPECT_EQ(impl->ReadPool().Count(), 4u);
    DecodeAhead();  // a fresh manager
    LoadParameters(ParameterItem("Audio", "MaxSounds", "3") + ParameterItem("Audio", "MaxStreams", "1"));
    Audio::Initialize(&set);
    EXPECT_EQ(impl->DecodePool().Count(), PCAudioManagerImpl::kDecodeBuffersPerPlayer * 4);
    EXPECT_EQ(impl->ReadPool().Count(), 1u);
    LoadParameters("");
    Audio::Initialize(&set);
    EXPECT_EQ(Audio::GetMaxSounds() * 10 + Audio::GetMaxStreams(), 104u);
}

TEST_F(AudioSystem, SetUpOpensTheLowerCasedNameAndTheFirstUpdateAppliesIsPlayingOnce) {
    AudioAsset* tone = Asset("tone", "TONE.Snd", true, false, true, 0.25f);
    AudioAsset* music = Asset("music", "Music.snd", false, true, false, 1.0f);
    Audio::Initialize(&set);
    EXPECT_EQ(tone->VolatileDatas.GetAudioData()->m_FileName, "tone.snd");
    EXPECT_EQ(dynamic_cast<AGAudioStream*>(Audio::GetEngineSound(*tone)), nullptr);
    EXPECT_NE(dynamic_cast<AGAudioStream*>(Audio::GetEngineSound(*music)), nullptr);
    EXPECT_TRUE(Audio::IsLoaded(&set, "tone") && Audio::IsLoaded(&set, "music"));
    EXPECT_FLOAT_EQ(Audio::GetVolume(&set, "tone"), 0.25f);
    EXPECT_TRUE(Audio::GetEngineSound(*tone)->GetState() & AGAudioPlayerImpl::kLoop);
    EXPECT_FALSE(Audio::GetEngineSound(*music)->GetState() & AGAudioPlayerImpl::kLoop);
    EXPECT_TRUE(Playing("tone"));
    EXPECT_FALSE(Playing("music"));
    EXPECT_GT(Loudness(), 0.01f);
    // The first update puts both back as set up; later ones leave the game's changes alone.
    for (bool first : {true, false}) {
        Audio::Play(&set, "music");
        Audio::Stop(&set, "tone");
        Audio::Update(&set);
        EXPECT_EQ(Playing("music"), !first);
        EXPECT_EQ(Playing("tone"), first);
    }
    Audio::SetVolume(&set, "tone", 0.5f);
    Audio::SetCategory(&set, "tone", 1);
    EXPECT_FLOAT_EQ(Audio::GetEngineSound(*tone)->GetVolume(), 0.5f);
    EXPECT_EQ(Audio::GetEngineSound(*tone)->GetPlayer()->GetCategory(), 1u);
}

TEST_F(AudioSystem, SecondSetUpStopsTheFirstSoundAndEndCallbacksFollowTheName) {
    Asset("tone", "tone.snd", true, false, true, 1.0f);
    Audio::Initialize(&set);
    LogCapture log;
    Audio::Initialize(&set);
    EXPECT_TRUE(log.Contains("call AudioProcessingSystem::Cleanup(..) before!"));
    Audio::Stop(&set, "tone");
    Render(2205);
    EXPECT_EQ(Loudness(), 0.0f);

    Asset("blip", "blip.snd", false, false, false, 1.0f);
    Audio::Initialize(&set);
    FinishCounter ended;
    Audio::SetEndCallback(&set, "blip", FinishCounter::Handler, &ended);
    Audio::Play(&set, "blip");
    Render(4410);
    Audio::ClearEndCallback(&set, "blip");
    Audio::Play(&set, "blip");
    Render(4410);
    EXPECT_EQ(ended.calls, 1);
}

TEST_F(AudioSystem, MissingNamesAreReportedAndAnswerNothing) {
    auto noop = [](void*) {};
    const std::function<void()> calls[] = {
        [&] { Audio::Play(&set, "ghost"); },
        [&] { Audio::Stop(&set, "ghost"); },
        [&] { EXPECT_FALSE(Audio::IsPlaying(&set, "ghost")); },
        [&] { Audio::SetVolume(&set, "ghost", 0.3f); },
        [&] { EXPECT_EQ(Audio::GetVolume(&set, "ghost"), 0.0f); },
        [&] { Audio::SetCategory(&set, "ghost", 2); },
        [&] { Audio::SetEndCallback(&set, "ghost", noop, nullptr); },
        [&] { Audio::ClearEndCallback(&set, "ghost"); },
        [&] { Audio::DestroyAudioAsset(&set, "ghost"); },
    };
    for (const auto& call : calls) {
        LogCapture log;
        call();
        EXPECT_TRUE(log.Contains("FindAudioAsset failed ghost")) << &call - calls;
    }
    LogCapture log;
    EXPECT_FALSE(Audio::IsLoaded(&set, "ghost"));
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(AudioSystem, CreatedAssetsStartStoppedAndEveryAssetGivesItsSlotsBack) {
    const i32 liveBefore = AudioData::GetLiveCount();
    Asset("tone", "tone.snd", true, false, false, 1.0f);
    Audio::Initialize(&set);
    AudioAsset* made = Audio::CreateAudioAsset(&set, "made", "Blip.SND", 0.5f, false, true);
    ASSERT_EQ(set.FindAudioAsset("made"), made);
    EXPECT_TRUE(Audio::IsLoaded(&set, "made"));
    EXPECT_FLOAT_EQ(Audio::GetVolume(&set, "made"), 0.5f);
    EXPECT_TRUE(Audio::GetEngineSound(*made)->GetState() & AGAudioPlayerImpl::kLoop);
    Audio::Update(&set);
    EXPECT_FALSE(Playing("made"));
    ASSERT_NE(Audio::CreateAudioAsset(&set, "third", "tone.snd", 1.0f, true, false), nullptr);
    EXPECT_EQ(Audio::CreateAudioAsset(&set, "fourth", "tone.snd", 1.0f, false, false), nullptr);

    Audio::DestroyAudioAsset(&set, "made");
    EXPECT_EQ(set.FindAudioAsset("made"), nullptr);
    EXPECT_EQ(GameAudioAssetFactory::Instance()->GetDefaultFactory()->GetUsedCount(), 2u);
    EXPECT_EQ(made->VolatileDatas.Count(), 0u);
    Audio::Cleanup(&set);
    for (const AudioAsset* asset : set.m_AudioAssets)
        EXPECT_EQ(asset->VolatileDatas.Count(), 0u);
    EXPECT_EQ(AudioData::GetLiveCount(), liveBefore);
}

}  // namespace
