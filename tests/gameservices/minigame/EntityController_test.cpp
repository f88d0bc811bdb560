// Widget key-frame animation on the controller's clock, and the records' pools.
#include "gameservices/minigame/EntityController.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "gameservices/minigame/EntityAnimationPools.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/entities/PoolSetup.h"

using namespace GameServices::MiniGame;
using GameServices::Widget::Image;

namespace {

constexpr f32 kDegree = 0.017453292f;

class EntityControllerTest : public ::testing::Test {
protected:
    // An animation of the widget with keys (time, value), starting at start.
    EntityAnimation* Animate(u32 kind, std::vector<std::pair<f32, f32>> keys, f32 start = 0.0f) {
        auto animation = std::make_unique<EntityAnimation>();
        animation->m_Kind = kind;
        animation->m_StartTime = start;
        animation->m_Target = &widget;
        for (auto [time, value] : keys) {
            frames.push_back(std::make_unique<EntityAnimationKeyFrame>());
            frames.back()->m_Time = time;
            frames.back()->m_Value = value;
            animation->m_KeyFrames.push_back(frames.back().get());
        }
        animations.push_back(std::move(animation));
        controller.m_Pending.push_back(animations.back().get());
        return animations.back().get();
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

// Each kind halfway to its first key, then at the key; the bases move on with the key.
TEST_F(EntityControllerTest, EachKindWritesItsPropertyAndMovesItsBase) {
    using Read = std::function<f32(const Image&)>;
    struct Case {
        const char* name;
        u32 kind;
        f32 base, key;  // the kind's base and its first key's value
        f32 half, full;
        Read read;
    };
    const Case cases[] = {
        {"rotation up", EntityAnimation::kRotation, 10, 30, 10, 20, [](const Image& w) { return w.m_Hit.rotation / kDegree; }},
        {"rotation down", EntityAnimation::kRotation, 30, 10, 20, 10, [](const Image& w) { return w.m_Hit.rotation / kDegree; }},
        {"opacity down", EntityAnimation::kOpacity, 0.8f, 0.2f, 0.5f, 0.2f, [](const Image& w) { return w.m_Opacity; }},
        // Width factor 2: the key's 100 reaches 200.
        {"width", EntityAnimation::kWidth, 100, 100, 150, 200, [](const Image& w) { return w.m_Width + w.m_Hit.maxX; }},
        {"height", EntityAnimation::kHeight, 100, 100, 150, 200, [](const Image& w) { return w.m_Height + w.m_Hit.maxY; }},
        {"x", EntityAnimation::kX, 10, 50, 35, 60, [](const Image& w) { return w.m_X + w.m_Hit.x; }},
        {"y", EntityAnimation::kY, 10, 50, 35, 60, [](const Image& w) { return w.m_Y + w.m_Hit.y; }},
        {"kind 5 animates nothing", 5, 10, 50, 0, 0, [](const Image& w) { return w.m_X + w.m_Width + w.m_Hit.rotation; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        widget.SetPositionXY(0, 0);
        widget.SetWidth(0);
        widget.SetHeight(0);
        widget.m_Hit.rotation = 0;
        controller.m_Active.clear();
        controller.m_Pending.clear();
        controller.Reset();
        EntityAnimation* a = Animate(c.kind, {{2, c.key}, {4, c.key}});
        a->m_RotationBase = a->m_OpacityBase = a->m_BaseWidth = a->m_BaseHeight = a->m_BaseX = a->m_BaseY = c.base;
        a->m_WidthFactor = a->m_HeightFactor = 2;
        const bool doubled = c.kind <= EntityAnimation::kY;  // the value and the hit box
        controller.Update(1000);
        EXPECT_NEAR(c.read(widget), c.half * (doubled ? 2 : 1), 1e-3f);
        controller.Update(1000);
        EXPECT_NEAR(c.read(widget), c.full * (doubled ? 2 : 1), 1e-3f);
        EXPECT_TRUE(a->m_KeyFrames[0]->m_Done);
        EXPECT_FALSE(a->m_KeyFrames[1]->m_Done);
    }
    // The x key after a key moves by their difference from the moved base: 60 + (0 - 50) / 2.
    EntityAnimation* x = animations[5].get();
    x->m_KeyFrames[1]->m_Value = 0;
    x->m_KeyFrames[1]->m_Done = false;
    controller.m_Active = {x};
    controller.Reset();  // rewinds from the widget: base x 0
    x->m_BaseX = 60;
    x->m_KeyFrames[0]->m_Done = true;
    controller.Update(3000);
    EXPECT_NEAR(widget.m_X, 35.0f, 1e-3f);
}

TEST_F(EntityControllerTest, TheLastSlotFinishingFiresOnceUntilReset) {
    controller.GetFinishedEvent().AddDelegate(&onFinished);
    Animate(EntityAnimation::kX, {{1, 5}});
    EntityAnimation* fade = Animate(EntityAnimation::kOpacity, {{1, 1}});
    EntityAnimation* late = Animate(EntityAnimation::kX, {{2, 5}}, 0.5f);
    controller.Update(500);  // all three start (the last at 0.5 s)
    controller.Update(500);  // slots 0 and 1 end; the last runs on
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(controller.m_Active, (std::vector<EntityAnimation*>{nullptr, nullptr, late}));
    controller.Update(1500);
    EXPECT_EQ(finished, 1);
    controller.Update(1000);
    EXPECT_EQ(finished, 1);

    // The last slot finishing first fires while an earlier one still runs, and only once.
    controller.m_Active = {late, fade};
    controller.Reset();
    fade->m_KeyFrames[0]->m_Time = 0.5f;
    controller.Update(600);
    EXPECT_EQ(finished, 2);
    EXPECT_EQ(controller.m_Active, (std::vector<EntityAnimation*>{late, nullptr}));
    controller.Update(2000);
    EXPECT_EQ(finished, 2);
    // An animation without keys stays running and never finishes.
    controller.m_Active = {Animate(EntityAnimation::kX, {})};
    controller.Reset();
    controller.Update(5000);
    EXPECT_EQ(controller.m_Active.size(), 1u);
    EXPECT_EQ(finished, 2);
}

TEST_F(EntityControllerTest, ResetReplaysOnlyRunningAnimationsFromTheWidget) {
    EntityAnimation* running = Animate(EntityAnimation::kRotation, {{1, 90}, {3, 0}});
    EntityAnimation* done = Animate(EntityAnimation::kY, {{0.5f, 1}});
    Animate(EntityAnimation::kX, {{9, 1}}, 5.0f);  // still waiting at the reset
    running->m_OpacityBase = 0.5f;
    controller.Update(0);  // animations starting at 0 start at once
    EXPECT_EQ(controller.m_Active, (std::vector<EntityAnimation*>{running, done}));
    controller.Update(1000);
    widget.SetPositionXY(7, 8);
    widget.SetWidth(20);
    widget.SetHeight(30);
    controller.Reset();
    EXPECT_EQ(controller.GetElapsed(), 0.0f);
    EXPECT_TRUE(controller.m_Active.empty());
    EXPECT_EQ(controller.m_Pending, (std::vector<EntityAnimation*>{running, nullptr}));
    EXPECT_FALSE(running->m_KeyFrames[0]->m_Done);
    EXPECT_TRUE(done->m_KeyFrames[0]->m_Done);
    EXPECT_EQ((std::vector<f32>{running->m_BaseX, running->m_BaseY, running->m_BaseWidth,
                                running->m_BaseHeight, running->m_OpacityBase}),
              (std::vector<f32>{7, 8, 20, 30, 0}));
    EXPECT_NEAR(running->m_RotationBase, 90.0f, 1e-3f);

    // A pooled animation's reset keeps only its kind and x and y bases.
    running->Reset();
    EXPECT_EQ((std::vector<f32>{running->m_BaseX, running->m_BaseY, running->m_BaseWidth,
                                running->m_RotationBase, running->m_StartTime}),
              (std::vector<f32>{7, 8, 0, 0, 0}));
    EXPECT_TRUE(running->m_KeyFrames.empty() && running->m_Target == nullptr);
    EXPECT_EQ(running->m_Kind, u32(EntityAnimation::kRotation));
}

// A key with no time to run (at its start, or before the key it follows) completes at once.
TEST_F(EntityControllerTest, KeysWithoutDurationCompleteAtOnce) {
    struct Case {
        f32 start;
        std::vector<std::pair<f32, f32>> keys;
        f32 x;
    };
    for (const Case& c : {Case{0, {{0, 40}}, 40}, Case{2, {{2, 40}}, 40}, Case{0, {{1, 40}, {1, 70}}, 70},
                          Case{0, {{1, 40}, {0.5f, 70}}, 70}}) {
        widget.SetPositionXY(0, 0);
        controller.m_Active.clear();
        controller.Reset();
        EntityAnimation* a = Animate(EntityAnimation::kX, c.keys, c.start);
        controller.Update(u32(c.start * 1000 + 1000));
        controller.Update(0);
        EXPECT_EQ(widget.m_X, c.x);
        EXPECT_TRUE(a->m_KeyFrames.back()->m_Done);
    }
}

TEST_F(EntityControllerTest, PoolsTakeTheirSizesAndGetEveryRecordBack) {
    TempDir dir;
    LoadCapacities(dir, {{"FactoryEntityAnimationStoryboard", 1}, {"FactoryEntityAnimationKeyFrame", 2}});
    CreateEntityControllerPools();
    EntityControllerPools& pools = GetEntityControllerPools();
    // An absent size repeats the one read before it.
    EXPECT_EQ((std::vector<u32>{pools.m_Storyboards->GetMaxSize(), pools.m_Animations->GetMaxSize(),
                                pools.m_KeyFrames->GetMaxSize(), pools.m_Controllers->GetMaxSize()}),
              (std::vector<u32>{1, 1, 2, 2}));
    EntityController* used = pools.m_Controllers->Alloc();
    used->m_Storyboard = pools.m_Storyboards->Alloc();
    EntityAnimation* animation = pools.m_Animations->Alloc();
    animation->m_KeyFrames = {pools.m_KeyFrames->Alloc(), pools.m_KeyFrames->Alloc()};
    used->m_Storyboard->m_Animations = {nullptr, animation};
    used->m_Active = {animation};
    ReleaseEntityController(used);
    ReleaseEntityController(pools.m_Controllers->Alloc());  // without a storyboard
    ReleaseEntityController(nullptr);
    EXPECT_EQ(pools.m_Controllers->GetUsedCount() + pools.m_Storyboards->GetUsedCount() +
                  pools.m_Animations->GetUsedCount() + pools.m_KeyFrames->GetUsedCount(),
              0u);
    EXPECT_TRUE(used->m_Active.empty() && animation->m_KeyFrames.empty());
    auto* controllers = pools.m_Controllers;
    CreateEntityControllerPools();  // made pools are kept
    EXPECT_EQ(pools.m_Controllers, controllers);
    DestroyEntityControllerPools();
    EXPECT_TRUE(!pools.m_Storyboards && !pools.m_Animations && !pools.m_KeyFrames && !pools.m_Controllers);
}
