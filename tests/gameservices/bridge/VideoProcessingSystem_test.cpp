#include "gameservices/bridge/systems/VideoProcessingSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/AGAudioManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/FDelegate.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using GameServices::Bridge::FileSystem;
using GameServices::Bridge::VideoData;
using GameServices::Bridge::VideoProcessingSystem;
using GameServices::Entities::GameVideoAssetFactory;
using GameServices::Entities::Set;
using GameServices::Entities::VideoAsset;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

// Notes every call as text; Open leaves it paused, Play playing, Stop closed.
class FakePlayer : public AGVideoPlayerImpl {
public:
    void Update() override {}
    bool Open(const char* name) override {
        Note("open " + std::string(name) + (m_displayMode == kDisplayFullScreen ? " full" : " texture"));
        state = kStatePaused;
        return true;
    }
    void Play(bool loop) override {
        Note(loop ? "play loop" : "play once");
        state = kStatePlaying;
    }
    void Pause() override { Note("pause"); }
    void Stop() override {
        Note("stop");
        state = kStateClosed;
    }
    void Resume() override { Note("resume"); }
    void Seek(f32) override {}
    f32 GetPosition() const override { return 0.0f; }
    void SetVolume(f32 v) override { Note("volume " + std::to_string(int(v * 100))); }
    void Rewind() override {}
    PCTexture* GetTexture() override { return nullptr; }
    void DrawFullScreen() override {}
    u32 GetState() const override { return state; }

    // What the player does when a video that does not loop ends.
    void End() {
        if (m_finishHandler)
            m_finishHandler->Invoke();
    }
    void Note(const std::string& call) { calls.push_back(call); }

    u32 state = kStateClosed;
    std::vector<std::string> calls;
};

class CountingAudio : public AGAudioManagerImpl {
public:
    void Update() override {}
    void Resume() override {
        ++resumes;
        AGAudioManagerImpl::Resume();
    }
    int resumes = 0;
};

class VideoSystem : public ::testing::Test {
protected:
    VideoSystem() {
        AGVideoPlayer::s_implFactory = [] { return static_cast<AGVideoPlayerImpl*>(new FakePlayer); };
        AGVideoPlayer::SetInstance(new AGVideoPlayer());
        player = static_cast<FakePlayer*>(AGVideoPlayer::Get()->GetImpl());
        RegisterTestPools(dir);
        FileSystem::SetRootPath("Root/");
    }
    ~VideoSystem() override {
        VideoProcessingSystem::Cleanup(&set);
        set.Clear();
        delete AGVideoPlayer::Get();
        AGVideoPlayer::SetInstance(nullptr);
        AGVideoPlayer::s_implFactory = nullptr;
        FileSystem::Destroy();
    }

    VideoAsset* Asset(const char* name, const char* file, bool looped, bool fullScreen = false, f32 volume = 1.0f) {
        VideoAsset* asset = GameVideoAssetFactory::Instance()->GetDefaultFactory()->Alloc();
        asset->Name = name;
        asset->m_IsLooped = looped;
        asset->m_IsFullScreen = fullScreen;
        asset->m_IsPlaying = false;
        asset->m_Volume = volume;
        asset->m_Reset = false;
        VideoProcessingSystem::SetVideoData(*asset, VideoData(file, "Video/"));
        set.m_VideoAssets.push_back(asset);
        return asset;
    }
    std::vector<std::string> TakeCalls() {
        std::vector<std::string> calls;
        calls.swap(player->calls);
        return calls;
    }

    TempDir dir;
    Set set{"level"};
    FakePlayer* player = nullptr;
};

using Calls = std::vector<std::string>;

TEST_F(VideoSystem, PlayStopsTheVideoPlayingAndOpensFromTheVideoFolder) {
    VideoAsset* intro = Asset("intro", "Intro.VID", false);
    Asset("logo", "logo.vid", true, true);
    VideoProcessingSystem::PlayVideo(&set, "intro");
    EXPECT_EQ(TakeCalls(), (Calls{"open root/video/intro.vid texture", "play once"}));
    EXPECT_TRUE(intro->m_IsPlaying);

    VideoProcessingSystem::PlayVideo(&set, "logo");
    EXPECT_EQ(TakeCalls(), (Calls{"stop", "open root/video/logo.vid full", "play loop"}));

    // Videos keep their folder in package mode.
    FileSystem::UsePackages();
    VideoProcessingSystem::PlayVideo(&set, "intro");
    EXPECT_EQ(TakeCalls(), (Calls{"stop", "open root/video/intro.vid texture", "play once"}));

    LogCapture log;
    VideoProcessingSystem::PlayVideo(&set, "ghost");
    VideoProcessingSystem::PlayVideo(nullptr, "intro");
    EXPECT_TRUE(log.Contains(" this video asset name does not exist in the levels file"));
    EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(VideoSystem, UpdateHandsEachNewAssetToTheStoppedPlayerOnce) {
    VideoAsset* first = Asset("first", "a.vid", true, false, 0.5f);
    VideoProcessingSystem::Initialize(&set);
    EXPECT_FALSE(VideoProcessingSystem::GetPlayerLoop());
    player->state = AGVideoPlayerImpl::kStatePlaying;
    VideoProcessingSystem::Update(&set);
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_FALSE(first->m_Reset);

    player->state = AGVideoPlayerImpl::kStateClosed;
    VideoProcessingSystem::Update(&set);
    VideoProcessingSystem::Update(&set);
    EXPECT_EQ(TakeCalls(), (Calls{"volume 50"}));
    EXPECT_TRUE(VideoProcessingSystem::GetPlayerLoop());
    EXPECT_TRUE(first->m_Reset);
}

TEST_F(VideoSystem, RemovingOneEndHandlerSilencesEveryHandler) {
    int a = 0, b = 0;
    struct Count {
        int* n;
        void Hit() { ++*n; }
    } ca{&a}, cb{&b};
    FDelegate<Count> da(&ca, &Count::Hit), db(&cb, &Count::Hit);
    VideoProcessingSystem::AddVideoEndHandler(&da);
    VideoProcessingSystem::AddVideoEndHandler(&db);
    player->End();
    EXPECT_EQ(a + b * 10, 11);
    VideoProcessingSystem::RemoveVideoEndHandler(&da);
    player->End();
    EXPECT_EQ(a + b * 10, 11);
    VideoProcessingSystem::AddVideoEndHandler(&da);
    player->End();
    EXPECT_EQ(a + b * 10, 22);
    VideoProcessingSystem::RemoveVideoEndHandler(&da);
    VideoProcessingSystem::RemoveVideoEndHandler(&db);
}

TEST_F(VideoSystem, PauseTakesAudioThenVideoAndResumeBoth) {
    AGAudioManager::s_implFactory = [] { return static_cast<AGAudioManagerImpl*>(new CountingAudio); };
    AGAudioManager::SetInstance(new AGAudioManager());
    auto* audio = static_cast<CountingAudio*>(AGAudioManager::Get()->GetImpl());
    VideoProcessingSystem::PauseAudioAndVideo(true);
    EXPECT_EQ(audio->PauseDepth(), 1u);
    EXPECT_EQ(TakeCalls(), (Calls{"pause"}));
    VideoProcessingSystem::PauseAudioAndVideo(false);
    EXPECT_EQ(audio->resumes, 1);
    EXPECT_EQ(audio->PauseDepth(), 0u);
    EXPECT_EQ(TakeCalls(), (Calls{"resume"}));
    delete AGAudioManager::Get();
    AGAudioManager::SetInstance(nullptr);
    AGAudioManager::s_implFactory = nullptr;
}

TEST_F(VideoSystem, CreatedAssetsPlayAndEveryAssetGivesItsDataBack) {
    VideoAsset* made = VideoProcessingSystem::CreateVideoAsset(&set, "made", "Clip.VID");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(set.FindVideoAsset("made"), made);
    EXPECT_FLOAT_EQ(made->m_Volume, 1.0f);
    EXPECT_TRUE(made->m_IsLooped && made->m_IsPlaying && !made->m_IsFullScreen);
    EXPECT_EQ(TakeCalls(), (Calls{"open root/video/clip.vid texture", "play loop"}));

    Asset("other", "b.vid", false);
    LogCapture log;
    EXPECT_EQ(VideoProcessingSystem::CreateVideoAsset(&set, "third", "c.vid"), nullptr);
    EXPECT_FALSE(log.Lines().empty());

    auto* pool = GameVideoAssetFactory::Instance()->GetDefaultFactory();
    VideoProcessingSystem::DestroyVideoAsset(&set, "made");
    EXPECT_EQ(set.FindVideoAsset("made"), nullptr);
    EXPECT_EQ(pool->GetUsedCount(), 1u);
    EXPECT_FALSE(made->VolatileDatas.HasData(Keys::kDATA_VIDEO));

    VideoProcessingSystem::Cleanup(&set);
    EXPECT_FALSE(set.m_VideoAssets[0]->VolatileDatas.HasData(Keys::kDATA_VIDEO));
}

}  // namespace
