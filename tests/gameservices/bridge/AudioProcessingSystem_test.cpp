#include "gameservices/bridge/systems/AudioProcessingSystem.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/audio/AGAudioStream.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/gameservices/bridge/FakeVideoPlayer.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using Audio = GameServices::Bridge::AudioProcessingSystem;
using GameServices::Entities::AudioAsset;
using GameServices::Entities::GameAudioAssetFactory;
using Video = GameServices::Bridge::VideoProcessingSystem;
using GameServices::Bridge::FileSystem;
using GameServices::Entities::VideoAsset;
using Calls = std::vector<std::string>;

namespace {

class AudioSystem : public AudioFixture {
protected:
    AudioSystem() {
        AddSound("tone", authoring::EncodeOggVorbis(authoring::MakeTone(440, 44100, 44100, 1, 0.5)));
        AddSound("blip", authoring::EncodeOggVorbis(authoring::MakeTone(880, 2000, 44100, 1, 0.5)));
        AddStream("music", authoring::EncodeOggVorbis(authoring::MakeTone(220, 44100, 44100, 1, 0.5)));
        Mount();
        LoadCapacities(params, {{"FactoryAudioAsset", 3}});
        GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
    }
    ~AudioSystem() override {
        Audio::Cleanup(&set);
        set.Clear();
    }
    AudioAsset* Asset(const char* name, const char* file, bool playing, bool streamed = false, bool looped = true) {
        AudioAsset* asset = GameAudioAssetFactory::Instance()->GetDefaultFactory()->Alloc();
        asset->Name = name, asset->m_IsPlaying = playing, asset->m_Streamed = streamed, asset->m_Looped = looped;
        asset->m_Volume = 0.25f;
        Audio::SetAudioData(*asset, GameServices::Bridge::AudioData(file, "Sounds/"));
        set.m_AudioAssets.push_back(asset);
        return asset;
    }
    bool Playing(const char* name) { return Audio::IsPlaying(&set, name); }
    u32 State(const AudioAsset* asset) { return Audio::GetEngineSound(*asset)->GetState(); }

    TempDir params;
    GameServices::Entities::Set set{"level"};
};

TEST_F(AudioSystem, SetUpOpensTheLowerCasedName) {
    AudioAsset* tone = Asset("tone", "TONE.Snd", true);
    AudioAsset* music = Asset("music", "Music.snd", false, true, false);
    Audio::Initialize(&set);
    EXPECT_EQ(tone->VolatileDatas.GetAudioData()->m_FileName, "tone.snd");
    EXPECT_NE(dynamic_cast<AGAudioStream*>(Audio::GetEngineSound(*music)), nullptr);
    EXPECT_FLOAT_EQ(Audio::GetVolume(&set, "tone"), 0.25f);
    EXPECT_EQ(State(tone) & AGAudioPlayerImpl::kLoop, AGAudioPlayerImpl::kLoop);
    EXPECT_EQ(State(music) & AGAudioPlayerImpl::kLoop, 0u);
    EXPECT_GT(Rms(Render(2205), 0), 0.01);
}

// The first update puts both back as set up; later ones leave the game's changes alone.
TEST_F(AudioSystem, TheFirstUpdateAppliesIsPlayingOnce) {
    AudioAsset* tone = Asset("tone", "TONE.Snd", true);
    Asset("music", "Music.snd", false, true, false);
    Audio::Initialize(&set);
    for (bool first : {true, false}) {
        Audio::Play(&set, "music");
        Audio::Stop(&set, "tone");
        Audio::Update(&set);
        EXPECT_EQ(std::pair(Playing("music"), Playing("tone")), std::pair(!first, first));
    }
    Audio::SetCategory(&set, "tone", 1);
    EXPECT_EQ(Audio::GetEngineSound(*tone)->GetPlayer()->GetCategory(), 1u);
}

TEST_F(AudioSystem, MissingNamesAreReportedAndAnswerNothing) {
    Asset("tone", "TONE.Snd", true);
    Audio::Initialize(&set);
    const std::function<void()> calls[] = {
        [&] { Audio::Play(&set, "ghost"); },
        [&] { Audio::Stop(&set, "ghost"); },
        [&] { EXPECT_FALSE(Audio::IsPlaying(&set, "ghost")); },
        [&] { Audio::SetVolume(&set, "ghost", 0.3f); },
        [&] { EXPECT_EQ(Audio::GetVolume(&set, "ghost"), 0.0f); },
        [&] { Audio::SetCategory(&set, "ghost", 2); },
        [&] { Audio::SetEndCallback(&set, "ghost", FinishCounter::Handler, nullptr); },
        [&] { Audio::ClearEndCallback(&set, "ghost"); },
        [&] { Audio::DestroyAudioAsset(&set, "ghost"); }};
    for (const auto& call : calls) {
        LogCapture log;
        call();
        EXPECT_TRUE(log.Contains("FindAudioAsset failed ghost")) << &call - calls;
    }
    LogCapture log;
    EXPECT_TRUE(!Audio::IsLoaded(&set, "ghost") && log.Lines().empty());
}

TEST_F(AudioSystem, SecondSetUpStopsTheFirstSoundAndEndCallbacksFollowTheName) {
    Asset("tone", "tone.snd", true);
    Audio::Initialize(&set);
    LogCapture log;
    Audio::Initialize(&set);
    EXPECT_TRUE(log.Contains("call AudioProcessingSystem::Cleanup(..) before!"));
    Audio::Stop(&set, "tone");
    Render(2205);
    EXPECT_EQ(Rms(Render(2205), 0), 0.0);

    Asset("blip", "blip.snd", false, false, false);
    Audio::Initialize(&set);
    FinishCounter ended;
    Audio::SetEndCallback(&set, "blip", FinishCounter::Handler, &ended);
    for (int i = 0; i < 2; ++i) {
        Audio::Play(&set, "blip");
        Render(4410);
        Audio::ClearEndCallback(&set, "blip");
    }
    EXPECT_EQ(ended.calls, 1);
}

TEST_F(AudioSystem, CreatedAssetsStartStoppedAndEveryAssetGivesItsSlotsBack) {
    const i32 liveBefore = GameServices::Bridge::AudioData::GetLiveCount();
    Asset("tone", "tone.snd", true);
    Audio::Initialize(&set);
    AudioAsset* made = Audio::CreateAudioAsset(&set, "made", "Blip.SND", 0.5f, false, true);
    ASSERT_EQ(set.FindAudioAsset("made"), made);
    EXPECT_EQ(State(made) & (AGAudioPlayerImpl::kLoop | AGAudioPlayerImpl::kOpen),
              AGAudioPlayerImpl::kLoop | AGAudioPlayerImpl::kOpen);
    Audio::Update(&set);
    EXPECT_FALSE(Playing("made"));
    // The level's first update leaves a made asset's state to its maker.
    AudioAsset* played = Audio::CreateAudioAsset(&set, "played", "blip.snd", 1.0f, false, false);
    Audio::Play(&set, "played");
    Audio::Update(&set);
    EXPECT_TRUE(Playing("played"));
    Audio::DestroyAudioAsset(&set, "played");
    EXPECT_EQ(played->VolatileDatas.Count(), 0u);
    ASSERT_NE(Audio::CreateAudioAsset(&set, "third", "music.snd", 1.0f, true, false), nullptr);
    EXPECT_EQ(Audio::CreateAudioAsset(&set, "fourth", "tone.snd", 1.0f, false, false), nullptr);  // pool empty
    Audio::DestroyAudioAsset(&set, "made");
    EXPECT_EQ(set.FindAudioAsset("made"), nullptr);
    EXPECT_NE(Audio::CreateAudioAsset(&set, "again", "tone.snd", 1.0f, false, false), nullptr);  // back in the pool
    Audio::Cleanup(&set);
    for (const AudioAsset* asset : set.m_AudioAssets)
        EXPECT_EQ(asset->VolatileDatas.Count(), 0u);
    EXPECT_EQ(GameServices::Bridge::AudioData::GetLiveCount(), liveBefore);
}


class VideoSystem : public ::testing::Test {
protected:
    VideoSystem() {
        RegisterTestPools(dir);  // two video assets
        FileSystem::SetRootPath("Root/");
    }
    ~VideoSystem() override {
        Video::Cleanup(&set);
        set.Clear();
        FileSystem::Destroy();
    }
    VideoAsset* Asset(const char* name, const char* file, bool looped, bool fullScreen) {
        VideoAsset* asset = GameServices::Entities::GameVideoAssetFactory::Instance()->GetDefaultFactory()->Alloc();
        asset->Name = name, asset->m_IsLooped = looped, asset->m_IsFullScreen = fullScreen;
        asset->m_IsPlaying = asset->m_Reset = false, asset->m_Volume = 0.5f;
        Video::SetVideoData(*asset, GameServices::Bridge::VideoData(file, "Video/"));
        set.m_VideoAssets.push_back(asset);
        return asset;
    }

    TempDir dir;
    GameServices::Entities::Set set{"level"};
    FakeVideoPlayerScope scope;
    FakeVideoPlayer& player = *scope.player;
};

TEST_F(VideoSystem, PlayStopsTheVideoPlayingAndOpensFromTheVideoFolder) {
    VideoAsset* intro = Asset("intro", "Intro.VID", false, false);
    Asset("logo", "logo.vid", true, true);
    Video::PlayVideo(&set, "intro");
    EXPECT_TRUE(intro->m_IsPlaying);
    Video::PlayVideo(&set, "logo");
    FileSystem::UsePackages();  // videos keep their folder
    Video::PlayVideo(&set, "intro");
    EXPECT_EQ(player.Take(), (Calls{"open root/video/intro.vid", "play once", "stop", "open root/video/logo.vid full",
                                    "play loop", "stop", "open root/video/intro.vid", "play once"}));
    LogCapture log;
    Video::PlayVideo(&set, "ghost");
    Video::DestroyVideoAsset(&set, "ghost");
    EXPECT_EQ(log.Lines(), Calls(2, " this video asset name does not exist in the levels file"));
    EXPECT_TRUE(player.Take().empty());
}

TEST_F(VideoSystem, UpdateHandlersAndPause) {
    // A new asset gives the stopped player its volume and loop flag, once.
    VideoAsset* clip = Asset("clip", "a.vid", true, false);
    Video::Initialize(&set);
    EXPECT_FALSE(Video::GetPlayerLoop());
    player.state = AGVideoPlayerImpl::kStatePlaying;
    Video::Update(&set);
    EXPECT_FALSE(clip->m_Reset);
    player.state = AGVideoPlayerImpl::kStateClosed;
    Video::Update(&set);
    Video::Update(&set);
    EXPECT_EQ(player.Take(), (Calls{"volume 50"}));
    EXPECT_TRUE(Video::GetPlayerLoop());

    // Removing one end handler silences every handler until one is added again.
    struct Count {
        int n = 0;
        void Hit() { ++n; }
    } a, b;
    FDelegate<Count> da(&a, &Count::Hit), db(&b, &Count::Hit);
    for (auto [add, remove] : {std::pair{&da, &da}, {&db, &da}, {&da, &db}}) {
        Video::AddVideoEndHandler(add);
        player.End();
        Video::RemoveVideoEndHandler(remove);
        player.End();
    }
    EXPECT_EQ(a.n * 10 + b.n, 22);

    SilentAudioScope audio;
    Video::PauseAudioAndVideo(true);
    Video::PauseAudioAndVideo(false);
    EXPECT_EQ(std::pair(audio.Impl().PauseDepth(), player.Take()), std::pair(0u, Calls{"pause", "resume"}));
}

TEST_F(VideoSystem, CreatedAssetsPlayAndEveryAssetGivesItsDataBack) {
    VideoAsset* made = Video::CreateVideoAsset(&set, "made", "Clip.VID");
    ASSERT_EQ(set.FindVideoAsset("made"), made);
    EXPECT_TRUE(made->m_Volume == 1.0f && made->m_IsLooped && made->m_IsPlaying && !made->m_IsFullScreen);
    EXPECT_EQ(player.Take(), (Calls{"open root/video/clip.vid", "play loop"}));
    Asset("other", "b.vid", false, false);
    EXPECT_EQ(Video::CreateVideoAsset(&set, "third", "c.vid"), nullptr);  // the pool is empty
    Video::DestroyVideoAsset(&set, "made");
    EXPECT_EQ(made->VolatileDatas.Count(), 0u);
    EXPECT_NE(Video::CreateVideoAsset(&set, "again", "c.vid"), nullptr);  // back in the pool
    Video::Cleanup(&set);
    EXPECT_EQ(set.m_VideoAssets[0]->VolatileDatas.Count() + set.m_VideoAssets[1]->VolatileDatas.Count(), 0u);
}

}  // namespace
