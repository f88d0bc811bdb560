#include "gameshow/AudioManager.h"

#include <gtest/gtest.h>

#include <string>

#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/gameservices/widget/WidgetTestGame.h"

using namespace GameShow;
using Audio = GameServices::Bridge::AudioProcessingSystem;

namespace {

// The click and the music as short sounds, in the running level's set.
class MenuAudio : public AudioFixture {
protected:
    MenuAudio() {
        const std::string tone = authoring::EncodeOggVorbis(authoring::MakeTone(440, 2000, 44100, 1, 0.5));
        AddSound("sfx_buttonpress_option2", tone);
        AddStream("background", tone);
        Mount();
        LoadCapacities(params, {{"FactoryAudioAsset", 8}});
        GameServices::Entities::GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
        game.level = &set;
        // The level's start sets the voices up.
        Audio::Initialize(&set);
    }
    ~MenuAudio() override {
        Audio::Cleanup(&set);
        set.Clear();
    }

    TempDir params;
    GameServices::Entities::Set set{"GameShowMenu"};
    widget_test::TestGame game;
};

}  // namespace

// The music streams and loops; the click is read whole and plays once.
TEST_F(MenuAudio, TheMenuMusicLoopsAndTheClickDoesNot) {
    AudioManager::Instance().PlayButtonPress();
    AudioManager::Instance().PlayMenuMusic();
    const GameServices::Entities::AudioAsset* click = set.FindAudioAsset(AudioManager::kButtonPressSound);
    const GameServices::Entities::AudioAsset* music = set.FindAudioAsset("background.snd");
    ASSERT_TRUE(click && music);
    EXPECT_FALSE(click->m_Streamed || click->m_Looped);
    EXPECT_TRUE(music->m_Streamed && music->m_Looped);
}
