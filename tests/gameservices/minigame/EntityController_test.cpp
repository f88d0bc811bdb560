// Widget key-frame animation on the controller's clock.
#include "gameservices/minigame/EntityController.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/graphics/AGCompositeRenderable.h"
#include "gameservices/minigame/EntityAnimationPools.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/entities/PoolSetup.h"

using namespace GameServices::MiniGame;
using GameServices::Widget::Image;
using Keys = std::vector<std::pair<f32, f32>>;

namespace {

class EntityControllerTest : public ::testing::Test {
protected:
    // A waiting animation of the widget with keys (time, value).
    EntityAnimation* Animate(u32 kind, const Keys& keys, f32 start = 0.0f) {
        animations.push_back(std::make_unique<EntityAnimation>());
        EntityAnimation* a = animations.back().get();
        a->m_Kind = kind;
        a->m_StartTime = start;
        a->m_Target = &widget;
        for (auto [time, value] : keys) {
            frames.push_back(std::make_unique<EntityAnimationKeyFrame>(EntityAnimationKeyFrame{time, value, false}));
            a->m_KeyFrames.push_back(frames.back().get());
        }
        controller.m_Pending.push_back(a);
        return a;
    }
    void OnFinished() { ++finished; }

    Image widget{"target"};
    EntityController controller;
    std::vector<std::unique_ptr<EntityAnimation>> animations;
    std::vector<std::unique_ptr<EntityAnimationKeyFrame>> frames;
    int finished = 0;
    FDelegate<EntityControllerTest> onFinished{this, &EntityControllerTest::OnFinished};
};

}  // namespace

TEST_F(EntityControllerTest, TheLastSlotFinishingFiresOnceUntilReset) {
    controller.GetFinishedEvent().AddDelegate(&onFinished);
    Animate(EntityAnimation::kX, {{1, 5}});
    EntityAnimation* fade = Animate(EntityAnimation::kOpacity, {{1, 1}});
    EntityAnimation* late = Animate(EntityAnimation::kX, {{2, 5}}, 0.5f);
    controller.Update(500);  // all three start (the last at 0.5 s)
    controller.Update(500);  // slots 0 and 1 end; the last runs on
    EXPECT_EQ(controller.m_Active, (std::vector<EntityAnimation*>{nullptr, nullptr, late}));
    EXPECT_EQ(finished, 0);
    controller.Update(1500);
    controller.Update(1000);
    EXPECT_EQ(finished, 1);
    // An animation starting after the end takes a new last slot; its end fires nothing more.
    Animate(EntityAnimation::kY, {{1, 5}}, 3.5f);
    controller.Update(2000);
    EXPECT_EQ(finished, 1);
    // The last slot finishing first fires while an earlier one still runs, and only once. The move
    // replayed goes on from where the widget stands now.
    controller.m_Active = {late, fade};
    widget.m_X = 100.0f;
    controller.Reset();
    fade->m_KeyFrames[0]->m_Time = 0.5f;
    controller.Update(600);
    EXPECT_EQ(finished, 2);
    controller.Update(2000);
    EXPECT_EQ(std::pair(finished, widget.m_X), std::pair(2, 105.0f));
}

TEST_F(EntityControllerTest, SizesStartFromTheWidgetsAndRotationAndOpacityGrowFromZeroOrTheLastKey) {
    AGCompositeRenderable composite;
    widget.VolatileDatas.Set(GameServices::Entities::VolatileDataKeys::kDATA_COMPOSITERENDERABLE, &composite);
    // The width and height move from the widget's own towards the key's value times the factor.
    widget.m_Width = 100.0f;
    widget.m_Height = 10.0f;
    EntityAnimation* width = Animate(EntityAnimation::kWidth, {{1, 5}});
    EntityAnimation* height = Animate(EntityAnimation::kHeight, {{1, 4}, {2, 6}});
    width->m_WidthFactor = 2.0f;
    height->m_HeightFactor = 10.0f;
    width->Rewind();
    height->Rewind();
    Animate(EntityAnimation::kOpacity, {{1, 0.8f}, {2, 0.2f}});
    Animate(EntityAnimation::kRotation, {{1, 90}, {2, 30}});
    // Neither an animation without keys nor one without a widget changes anything.
    Animate(EntityAnimation::kX, {});
    Animate(EntityAnimation::kY, {{1, 5}})->m_Target = nullptr;
    controller.Update(500);
    EXPECT_TRUE(widget.m_Width == 55.0f && widget.m_Height == 25.0f && widget.m_Opacity == 0.4f && widget.m_Hit.rotationChanged);
    EXPECT_NEAR(widget.m_Hit.rotation, 0.25f * 3.14159265f, 1e-5f);
    controller.Update(750);  // the first keys end
    controller.Update(0);
    EXPECT_EQ(widget.m_Height, 45.0f);
    EXPECT_NEAR(widget.m_Opacity, 0.65f, 1e-6f);
    EXPECT_NEAR(widget.m_Hit.rotation, 75.0f * 3.14159265f / 180.0f, 1e-5f);
    EXPECT_NEAR(composite.Transform().m[0], std::cos(widget.m_Hit.rotation), 1e-5f);
}

TEST(EntityControllerPools, AResetScreenGivesEveryRecordOfItsControllerBack) {
    TempDir dir;
    LoadCapacities(dir, {{"FactoryEntityAnimationStoryboard", 1}, {"FactoryEntityAnimationKeyFrame", 2}});
    CreateEntityControllerPools();
    EntityControllerPools& pools = GetEntityControllerPools();
    EntityController* used = pools.m_Controllers->Alloc();
    used->m_Storyboard = pools.m_Storyboards->Alloc();
    EntityAnimation* animation = pools.m_Animations->Alloc();
    animation->m_KeyFrames = {pools.m_KeyFrames->Alloc(), pools.m_KeyFrames->Alloc()};
    animation->m_WidthFactor = animation->m_HeightFactor = 2.0f;
    used->m_Storyboard->m_Animations = {nullptr, animation};
    used->m_Active = used->m_Pending = {animation};
    // A screen's controller runs with its frames and goes back to its pool when the screen resets.
    GameServices::Widget::Screen screen;
    screen.AddController(used);
    screen.ProcessFrame(250);
    EXPECT_FLOAT_EQ(used->GetElapsed(), 0.25f);
    screen.Reset();
    // A reused record gives back no frame twice, scales no size it was not given and plays
    // nothing of its last user.
    EXPECT_TRUE(animation->m_KeyFrames.empty() && animation->m_WidthFactor + animation->m_HeightFactor == 0.0f);
    EXPECT_TRUE(used->m_Active.empty() && used->m_Pending.empty());
    EXPECT_EQ(pools.m_Controllers->GetUsedCount() + pools.m_Storyboards->GetUsedCount() +
                  pools.m_Animations->GetUsedCount() + pools.m_KeyFrames->GetUsedCount(), 0u);
    DestroyEntityControllerPools();
    EXPECT_TRUE(!pools.m_Controllers && !pools.m_Storyboards && !pools.m_Animations && !pools.m_KeyFrames);
}

