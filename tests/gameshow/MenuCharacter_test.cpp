#include "gameshow/MenuCharacter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/game/Appearance.h"
#include "gameservices/game/EntityAnimationServices.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/TempDir.h"

using namespace GameShow;
using GameServices::KorvoGame::AnimationTarget;
using GameServices::KorvoGame::Appearance;
using GameServices::KorvoGame::CharacterAssembly;
using GameServices::MiniGame::BehaviorManager;

namespace {

// Plays nothing.
class AvatarAnimation : public GameServices::KorvoGame::IEntityAnimation {
public:
    AvatarAnimation() { SetInstance(this); }
    ~AvatarAnimation() override { SetInstance(nullptr); }

    void Start(GameServices::Entities::Entity&, const AnimationTarget&, f32, i32, f32, i32, i32) override {}
    void Replay(GameServices::Entities::Entity&, const AnimationTarget&, i32, i32, i32) override {}
    void SetSpeed(GameServices::Entities::Entity&, const AnimationTarget&, f32) override {}
    i32 GetEndFrame(GameServices::Entities::Entity&, const AnimationTarget&) override { return 30; }
    void AddKey(GameServices::Entities::Entity&, const AnimationTarget&, i32, IDelegate*) override {}
    void RemoveKey(GameServices::Entities::Entity&, const AnimationTarget&, i32, IDelegate*) override {}
};

// A menu character over the sample menu behaviours, wearing a look, in a game whose frame
// event drives it.
class MenuCharacterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("TALLYVOX_DATA"), nullptr);
        const std::string file = dir.Write("gameshowbehaviors.xml", "");
        std::filesystem::copy_file(std::string(std::getenv("TALLYVOX_DATA")) + "/global/gameshowbehaviors.xml", file,
                                   std::filesystem::copy_options::overwrite_existing);
        BehaviorManager::Instance()->LoadBehaviors(file.c_str());
        GameServices::Bridge::SeedRandom(11, 22, 33, 44);
        Wear(avatar, CharacterAssembly::kMale);
    }
    void TearDown() override { BehaviorManager::Instance()->ResetBehaviors(); }

    void Wear(MenuCharacter& character, u8 gender) {
        look.Assembly.Gender = gender;
        character.VolatileDatas.Set(GameServices::Entities::TypeIds::AppearanceKey, &look);
    }
    // Frames of the given length until the given time has passed.
    void Run(u32 ms, u32 frame = 100) {
        for (u32 t = 0; t < ms; t += frame)
            game.flow.GetFrameEvent().Fire(frame);
    }

    TempDir dir;
    widget_test::TestGame game;
    AvatarAnimation animations;
    Appearance look;
    MenuCharacter avatar{"MenuAvatar"};
    BehaviorCharacter& behavior = avatar.GetBehaviorCharacter();
};

TEST_F(MenuCharacterTest, InitializedFiveTimesItStillUpdatesOncePerFrameAndLeavesTheFrameWhenReleased) {
    for (int i = 0; i < 5; ++i)
        avatar.Initialize();
    EXPECT_EQ(game.FrameDelegates(), 1u);
    Run(1000);
    EXPECT_EQ(behavior.idleTime, 1000u);

    behavior.tryToken = 4;
    avatar.Synchronize = false;
    avatar.Reset();
    EXPECT_TRUE(avatar.Synchronize) << "the character's own reset runs too";
    EXPECT_EQ(game.FrameDelegates(), 0u);
    EXPECT_EQ(behavior.tryToken + behavior.idleTime, 0u);

    {
        MenuCharacter other("Other");
        Wear(other, CharacterAssembly::kMale);
        other.Initialize();
        EXPECT_EQ(game.FrameDelegates(), 1u);
    }
    EXPECT_EQ(game.FrameDelegates(), 0u) << "a character that is gone leaves the frame event";

    // Released while another game runs, it leaves the first game's event alone (that one may be gone).
    MenuCharacter stale("Stale");
    Wear(stale, CharacterAssembly::kMale);
    stale.Initialize();
    widget_test::TestGame next;
    stale.Reset();
    EXPECT_EQ(game.FrameDelegates(), 1u);
    EXPECT_FALSE(stale.IsSubscribed());
}

}  // namespace
