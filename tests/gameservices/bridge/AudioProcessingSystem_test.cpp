#include "gameservices/bridge/systems/AudioProcessingSystem.h"

#include <gtest/gtest.h>

#include "engine/audio/AGAudioStream.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using GameServices::Bridge::AudioData;
using GameServices::Bridge::AudioProcessingSystem;
using GameServices::Entities::AudioAsset;
using GameServices::Entities::GameAudioAssetFactory;
using GameServices::Entities::Set;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

constexpr u32 kPoolSize = 3;

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
        AudioProcessingSystem::Cleanup(&set);
        set.Clear();
    }

    // The pools plus the given extra parameter items.
    void LoadParameters(const std::string& items) {
        const std::string path = params.Write(
            "RuntimeParameters.xml",
            ParameterFile(ParameterItem("GameServices", "FactoryAudioAsset", std::to_string(kPoolSize)) + items));
        GameServices::KorvoGame::RuntimeParameters::Instance()->LoadRuntimeParameters(path.c_str());
        GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
    }

    AudioAsset* Asset(const char* name, const char* file, bool playing, bool streamed = false, bool looped = false,
                      f32 volume = 1.0f) {
        AudioAsset* asset = GameAudioAssetFactory::Instance()->GetDefaultFactory()->Alloc();
        asset->Name = name;
        asset->m_IsPlaying = playing;
        asset->m_Streamed = streamed;
        asset->m_Looped = looped;
        asset->m_Volume = volume;
        AudioProcessingSystem::SetAudioData(*asset, AudioData(file, "Sounds/"));
        set.m_AudioAssets.push_back(asset);
        return asset;
    }
    bool Playing(const char* name) { return AudioProcessingSystem::IsPlaying(&set, name); }
    f32 Loudness() { return f32(Rms(Render(2205), 0)); }

    TempDir params;
    Set set{"level"};
};

TEST_F(AudioSystem, VoicesComeFromTheAudioParametersOrTenSoundsAndFourStreams) {
    AudioProcessingSystem::Initialize(&set);
    EXPECT_EQ(AudioProcessingSystem::GetMaxSounds(), 10u);
    EXPECT_EQ(AudioProcessingSystem::GetMaxStreams(), 4u);
    EXPECT_EQ(impl->DecodePool().Count(), PCAudioManagerImpl::kDecodeBuffersPerPlayer * 14);
    EXPECT_EQ(impl->ReadPool().Count(), 4u);

    // On a fresh manager, the parameters rule; a later level start leaves them as they are.
    DecodeAhead();
    LoadParameters(ParameterItem("Audio", "MaxSounds", "3") + ParameterItem("Audio", "MaxStreams", "1"));
    AudioProcessingSystem::Initialize(&set);
    EXPECT_EQ(impl->DecodePool().Count(), PCAudioManagerImpl::kDecodeBuffersPerPlayer * 4);
    EXPECT_EQ(impl->ReadPool().Count(), 1u);
    LoadParameters("");
    AudioProcessingSystem::Initialize(&set);
    EXPECT_EQ(AudioProcessingSystem::GetMaxSounds(), 10u);
    EXPECT_EQ(impl->ReadPool().Count(), 1u);
}

TEST_F(AudioSystem, SetUpOpensTheLowerCasedNameWithTheAssetsSettings) {
    AudioAsset* tone = Asset("tone", "TONE.Snd", true, false, true, 0.25f);
    AudioAsset* music = Asset("music", "Music.snd", false, true);
    AudioProcessingSystem::Initialize(&set);

    EXPECT_EQ(tone->VolatileDatas.GetAudioData()->m_FileName, "tone.snd");
    EXPECT_EQ(tone->VolatileDatas.GetAudioData()->m_DataPath, "Sounds/");
    AGAudioObject* sound = AudioProcessingSystem::GetEngineSound(*tone);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(dynamic_cast<AGAudioStream*>(sound), nullptr);
    EXPECT_NE(dynamic_cast<AGAudioStream*>(AudioProcessingSystem::GetEngineSound(*music)), nullptr);
    EXPECT_TRUE(AudioProcessingSystem::IsLoaded(&set, "tone"));
    EXPECT_TRUE(AudioProcessingSystem::IsLoaded(&set, "music"));
    EXPECT_FLOAT_EQ(AudioProcessingSystem::GetVolume(&set, "tone"), 0.25f);
    EXPECT_TRUE(sound->GetState() & AGAudioPlayerImpl::kLoop);
    EXPECT_FALSE(AudioProcessingSystem::GetEngineSound(*music)->GetState() & AGAudioPlayerImpl::kLoop);
    EXPECT_TRUE(Playing("tone"));
    EXPECT_FALSE(Playing("music"));
    EXPECT_GT(Loudness(), 0.01f);

    // By-name operations reach the asset's own sound.
    AudioProcessingSystem::SetVolume(&set, "tone", 0.5f);
    EXPECT_FLOAT_EQ(sound->GetVolume(), 0.5f);
    AudioProcessingSystem::SetCategory(&set, "tone", 1);
    EXPECT_EQ(sound->GetPlayer()->GetCategory(), 1u);
    AudioProcessingSystem::Stop(&set, "tone");
    EXPECT_FALSE(Playing("tone"));
    AudioProcessingSystem::Play(&set, "music");
    EXPECT_TRUE(Playing("music"));
}

TEST_F(AudioSystem, UpdatePlaysOrStopsEachAssetOnceAfterItsSetUp) {
    Asset("quiet", "tone.snd", false);
    Asset("loud", "blip.snd", true, false, true);
    AudioProcessingSystem::Initialize(&set);
    EXPECT_FALSE(Playing("quiet"));
    EXPECT_TRUE(Playing("loud"));

    // The game changes both before the first update: the update puts them back once.
    AudioProcessingSystem::Play(&set, "quiet");
    AudioProcessingSystem::Stop(&set, "loud");
    AudioProcessingSystem::Update(&set);
    EXPECT_FALSE(Playing("quiet"));
    EXPECT_TRUE(Playing("loud"));

    // Later updates leave what the game does alone.
    AudioProcessingSystem::Play(&set, "quiet");
    AudioProcessingSystem::Stop(&set, "loud");
    AudioProcessingSystem::Update(&set);
    EXPECT_TRUE(Playing("quiet"));
    EXPECT_FALSE(Playing("loud"));
}

TEST_F(AudioSystem, SecondSetUpStopsAndReplacesTheFirstSound) {
    AudioAsset* tone = Asset("tone", "tone.snd", true, false, true);
    AudioProcessingSystem::Initialize(&set);
    EXPECT_GT(Loudness(), 0.01f);

    LogCapture log;
    AudioProcessingSystem::Initialize(&set);
    EXPECT_TRUE(log.Contains("call AudioProcessingSystem::Cleanup(..) before!"));
    EXPECT_NE(AudioProcessingSystem::GetEngineSound(*tone), nullptr);
    AudioProcessingSystem::Stop(&set, "tone");
    Render(2205);
    EXPECT_EQ(Loudness(), 0.0f);
}

TEST_F(AudioSystem, MissingNamesAreReportedAndAnswerNothing) {
    Asset("tone", "tone.snd", false);
    AudioProcessingSystem::Initialize(&set);
    auto noop = [](void*) {};
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"Play", [&] { AudioProcessingSystem::Play(&set, "ghost"); }},
        {"Stop", [&] { AudioProcessingSystem::Stop(&set, "ghost"); }},
        {"IsPlaying", [&] { EXPECT_FALSE(AudioProcessingSystem::IsPlaying(&set, "ghost")); }},
        {"SetVolume", [&] { AudioProcessingSystem::SetVolume(&set, "ghost", 0.3f); }},
        {"GetVolume", [&] { EXPECT_EQ(AudioProcessingSystem::GetVolume(&set, "ghost"), 0.0f); }},
        {"SetCategory", [&] { AudioProcessingSystem::SetCategory(&set, "ghost", 2); }},
        {"SetEndCallback", [&] { AudioProcessingSystem::SetEndCallback(&set, "ghost", noop, nullptr); }},
        {"ClearEndCallback", [&] { AudioProcessingSystem::ClearEndCallback(&set, "ghost"); }},
        {"DestroyAudioAsset", [&] { AudioProcessingSystem::DestroyAudioAsset(&set, "ghost"); }},
    };
    for (const auto& [what, call] : calls) {
        LogCapture log;
        call();
        EXPECT_TRUE(log.Contains("FindAudioAsset failed ghost")) << what;
    }
    LogCapture log;
    EXPECT_FALSE(AudioProcessingSystem::IsLoaded(&set, "ghost"));
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_FALSE(AudioProcessingSystem::IsPlaying(&set, "tone"));
    EXPECT_EQ(set.m_AudioAssets.size(), 1u);
}

TEST_F(AudioSystem, EndCallbackFollowsTheNamedSound) {
    Asset("blip", "blip.snd", true);
    AudioProcessingSystem::Initialize(&set);
    FinishCounter ended;
    AudioProcessingSystem::SetEndCallback(&set, "blip", FinishCounter::Handler, &ended);
    Render(4410);
    EXPECT_EQ(ended.calls, 1);
    AudioProcessingSystem::ClearEndCallback(&set, "blip");
    AudioProcessingSystem::Play(&set, "blip");
    Render(4410);
    EXPECT_EQ(ended.calls, 1);
}

TEST_F(AudioSystem, CreatedAssetsStartStoppedAndEveryAssetGivesItsSlotsBack) {
    const i32 liveBefore = AudioData::GetLiveCount();
    Asset("tone", "tone.snd", true);
    AudioProcessingSystem::Initialize(&set);
    AudioAsset* made = AudioProcessingSystem::CreateAudioAsset(&set, "made", "Blip.SND", 0.5f, false, true);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(set.FindAudioAsset("made"), made);
    EXPECT_TRUE(AudioProcessingSystem::IsLoaded(&set, "made"));
    EXPECT_FALSE(Playing("made"));
    EXPECT_FLOAT_EQ(AudioProcessingSystem::GetVolume(&set, "made"), 0.5f);
    EXPECT_TRUE(AudioProcessingSystem::GetEngineSound(*made)->GetState() & AGAudioPlayerImpl::kLoop);
    AudioProcessingSystem::Update(&set);
    EXPECT_FALSE(Playing("made"));

    ASSERT_NE(AudioProcessingSystem::CreateAudioAsset(&set, "third", "tone.snd", 1.0f, true, false), nullptr);
    LogCapture log;
    EXPECT_EQ(AudioProcessingSystem::CreateAudioAsset(&set, "fourth", "tone.snd", 1.0f, false, false), nullptr);
    EXPECT_FALSE(log.Lines().empty());

    auto* pool = GameAudioAssetFactory::Instance()->GetDefaultFactory();
    AudioProcessingSystem::DestroyAudioAsset(&set, "made");
    EXPECT_EQ(set.FindAudioAsset("made"), nullptr);
    EXPECT_EQ(pool->GetUsedCount(), kPoolSize - 1);
    EXPECT_EQ(made->VolatileDatas.Count(), 0u);

    AudioProcessingSystem::Cleanup(&set);
    for (const AudioAsset* asset : set.m_AudioAssets) {
        EXPECT_FALSE(asset->VolatileDatas.HasData(Keys::kAUDIO_DATA)) << asset->Name.c_str();
        EXPECT_FALSE(asset->VolatileDatas.HasData(Keys::kENGINE_DATA_AUDIO)) << asset->Name.c_str();
    }
    EXPECT_EQ(AudioData::GetLiveCount(), liveBefore);
}

}  // namespace
