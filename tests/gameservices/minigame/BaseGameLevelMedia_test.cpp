#include <gtest/gtest.h>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/minigame/BaseGame.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices;
namespace Keys = Entities::VolatileDataKeys;

TEST(BaseGameLevelMedia, SoundsAndVideosFollowTheLevelsStartUnpausedFramesAndEnd) {
    TempDir dir;
    LoadCapacities(dir, {{"FactoryDeviceTriggerKey", 4}, {"FactoryDeviceTriggerMove", 4},
                         {"FactoryDeviceTriggerAccel", 4}});
    Bridge::FileSystem::SetRootPath(TString<char>((dir.Path() + "/").c_str()));
    LogCapture log;
    MiniGame::BaseGame game;
    game.Initialize();

    Entities::Set level("level");
    Entities::AudioAsset sound;
    sound.Name = "sound";
    sound.m_IsPlaying = false;
    Bridge::AudioProcessingSystem::SetAudioData(sound, Bridge::AudioData("a.snd", ""));
    Entities::VideoAsset clip;
    clip.Name = "clip";
    Bridge::VideoProcessingSystem::SetVideoData(clip, Bridge::VideoData("a.vid", ""));
    level.m_AudioAssets.push_back(&sound);
    level.m_VideoAssets.push_back(&clip);

    game.SetCurrentLevel(&level);
    game.StartLevel();
    EXPECT_NE(Bridge::AudioProcessingSystem::GetEngineSound(sound), nullptr);
    EXPECT_FALSE(sound.m_Reset);
    game.SetPause(true);
    game.Update(16);
    EXPECT_FALSE(sound.m_Reset);
    game.SetPause(false);
    game.Update(16);
    EXPECT_TRUE(sound.m_Reset);

    game.CleanupLevel();
    EXPECT_EQ(sound.VolatileDatas.Count(), 0u);
    EXPECT_EQ(clip.VolatileDatas.Count(), 0u);
    EXPECT_TRUE(Bridge::DeviceSystem::Instance()->IsActive());
    game.SetCurrentLevel(nullptr);
    level.RemoveAll();
    game.Shutdown();
}
