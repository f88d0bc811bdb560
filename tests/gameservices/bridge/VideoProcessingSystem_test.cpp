#include "gameservices/bridge/systems/VideoProcessingSystem.h"

#include <gtest/gtest.h>

#include "engine/core/AGAudioManager.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "tests/gameservices/bridge/FakeVideoPlayer.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using Video = GameServices::Bridge::VideoProcessingSystem;
using GameServices::Bridge::FileSystem;
using GameServices::Entities::VideoAsset;
using Calls = std::vector<std::string>;

namespace {

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
        asset->Name = name;
        asset->m_IsLooped = looped;
        asset->m_IsFullScreen = fullScreen;
        asset->m_IsPlaying = asset->m_Reset = false;
        asset->m_Volume = 0.5f;
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
    EXPECT_TRUE(log.Contains(" this video asset name does not exist in the levels file"));
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

    struct Mixer : AGAudioManagerImpl {
        void Update() override {}
    };
    AGAudioManager::s_implFactory = [] { return static_cast<AGAudioManagerImpl*>(new Mixer); };
    AGAudioManager::SetInstance(new AGAudioManager());
    Video::PauseAudioAndVideo(true);
    Video::PauseAudioAndVideo(false);
    EXPECT_EQ(AGAudioManager::Get()->GetImpl()->PauseDepth(), 0u);
    EXPECT_EQ(player.Take(), (Calls{"pause", "resume"}));
    delete AGAudioManager::Get();
    AGAudioManager::SetInstance(nullptr);
    AGAudioManager::s_implFactory = nullptr;
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
