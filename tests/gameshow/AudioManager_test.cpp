#include "gameshow/AudioManager.h"

#include <gtest/gtest.h>

#include <string>

#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameshow/CompositionBase.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace GameShow;
using Audio = GameServices::Bridge::AudioProcessingSystem;
using GameServices::Entities::AudioAsset;
using GameServices::Entities::GameAudioAssetFactory;

namespace {

// Short sounds for the click, the music and one per audio type, in the running level's set;
// an audio-asset pool of 8.
class MenuAudio : public AudioFixture {
protected:
    MenuAudio() {
        const std::string tone = authoring::EncodeOggVorbis(authoring::MakeTone(440, 2000, 44100, 1, 0.5));
        for (const char* name : {"sfx_buttonpress_option2", "type0", "type1", "type2", "type3", "type7", "type-1"})
            AddSound(name, tone);
        AddStream("background", tone);
        Mount();
        LoadCapacities(params, {{"FactoryAudioAsset", 8}});
        GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
        game.level = &set;
        // The level's start sets the voices up.
        Audio::Initialize(&set);
    }
    ~MenuAudio() override {
        Audio::Cleanup(&set);
        set.Clear();
    }
    u32 Group(const char* name) {
        AudioAsset* asset = set.FindAudioAsset(name);
        return asset ? Audio::GetEngineSound(*asset)->GetPlayer()->GetCategory() : 99u;
    }
    u32 Used() const { return GameAudioAssetFactory::Instance()->GetDefaultFactory()->GetUsedCount(); }

    TempDir params;
    GameServices::Entities::Set set{"GameShowMenu"};
    widget_test::TestGame game;
};

class Page : public CompositionBase {
public:
    void Initialize(GameServices::Widget::Panel*, const TString<char>&) override {}
};

}  // namespace

TEST_F(MenuAudio, TheButtonSoundAndTheMenuMusic) {
    Page page;
    page.PlayButtonSound();
    AudioAsset* click = set.FindAudioAsset(AudioManager::kButtonPressSound);
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(Group(AudioManager::kButtonPressSound), 2u);
    EXPECT_FALSE(click->m_Streamed || click->m_Looped);
    EXPECT_FLOAT_EQ(click->m_Volume, 1.0f);
    EXPECT_TRUE(Audio::IsPlaying(&set, AudioManager::kButtonPressSound));

    AudioManager::Instance().PlayMenuMusic();
    AudioAsset* music = set.FindAudioAsset("background.snd");
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->m_Streamed && music->m_Looped);
    EXPECT_EQ(Group("background.snd"), 0u);
    EXPECT_TRUE(Audio::IsPlaying(&set, "background.snd"));
}

TEST_F(MenuAudio, AMissingSoundTakesOneAssetAndNoLevelPlaysNothing) {
    LogCapture log;
    for (int i = 0; i < 12; ++i)
        AudioManager::Instance().PlaySound("missing.snd", 0, 0, 1);
    EXPECT_EQ(Used(), 1u);
    EXPECT_EQ(set.m_AudioAssets.size(), 1u);
    EXPECT_FALSE(Audio::IsLoaded(&set, "missing.snd"));

    game.level = nullptr;
    log.Clear();
    AudioManager::Instance().PlayButtonPress();
    EXPECT_EQ(Used(), 1u);
    EXPECT_TRUE(log.Contains("no level runs for SFX_ButtonPress_Option2.snd"));
}

// Each audio type plays in its volume group; an unknown type is reported and plays in group 0.
TEST_F(MenuAudio, EachAudioTypePlaysInItsVolumeGroup) {
    LogCapture log;
    for (auto [type, group] : {std::pair{0, 0u}, {1, 1u}, {2, 2u}, {3, 1u}, {7, 0u}, {-1, 0u}}) {
        const std::string name = "type" + std::to_string(type) + ".snd";
        AudioManager::Instance().PlaySound(name.c_str(), 0, 0, type);
        EXPECT_EQ(Group(name.c_str()), group) << type;
    }
    EXPECT_TRUE(log.Contains("Unknownaudio type"));
}
