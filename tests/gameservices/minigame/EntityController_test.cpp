// Widget key-frame animation on the controller's clock, and the records' pools.
#include "gameservices/minigame/EntityController.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "gameservices/minigame/EntityAnimationPools.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/entities/PoolSetup.h"

using namespace GameServices::MiniGame;
using GameServices::Widget::Image;
using Keys = std::vector<std::pair<f32, f32>>;

namespace {

constexpr f32 kDegree = 0.017453292f;

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
    void Restart() {
        widget.SetPositionXY(0, 0);
        controller.m_Active.clear();
        controller.Reset();
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

// Each kind halfway to its first key, then at it; sizes and positions also set the hit box.
TEST_F(EntityControllerTest, EachKindWritesItsPropertyAndMovesItsBase) {
    struct Case {
        u32 kind;
        f32 base, key, half, full;
        std::function<f32(const Image&)> read;
    };
    const Case cases[] = {
        {EntityAnimation::kRotation, 10, 30, 10, 20, [](const Image& w) { return w.m_Hit.rotation / kDegree; }},
        {EntityAnimation::kRotation, 30, 10, 20, 10, [](const Image& w) { return w.m_Hit.rotation / kDegree; }},
        {EntityAnimation::kOpacity, 0.8f, 0.2f, 0.5f, 0.2f, [](const Image& w) { return w.m_Opacity; }},
        {EntityAnimation::kWidth, 100, 100, 300, 400, [](const Image& w) { return w.m_Width + w.m_Hit.maxX; }},
        {EntityAnimation::kHeight, 100, 100, 300, 400, [](const Image& w) { return w.m_Height + w.m_Hit.maxY; }},
        {EntityAnimation::kX, 10, 50, 70, 120, [](const Image& w) { return w.m_X + w.m_Hit.x; }},
        {EntityAnimation::kY, 10, 50, 70, 120, [](const Image& w) { return w.m_Y + w.m_Hit.y; }},
        {5, 10, 50, 0, 0, [](const Image& w) { return w.m_X + w.m_Width + w.m_Hit.rotation; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Restart();
        widget.SetWidth(0);
        widget.SetHeight(0);
        widget.m_Hit.rotation = 0;
        EntityAnimation* a = Animate(c.kind, {{2, c.key}, {4, c.key}});
        a->m_RotationBase = a->m_OpacityBase = a->m_BaseWidth = a->m_BaseHeight = a->m_BaseX = a->m_BaseY = c.base;
        a->m_WidthFactor = a->m_HeightFactor = 2;  // the key's 100 reaches 200
        controller.Update(1000);
        EXPECT_NEAR(c.read(widget), c.half, 1e-3f);
        controller.Update(1000);
        EXPECT_NEAR(c.read(widget), c.full, 1e-3f);
        EXPECT_TRUE(a->m_KeyFrames[0]->m_Done && !a->m_KeyFrames[1]->m_Done);
    }
    // A key after a key moves by their difference from the moved base: 60 + (0 - 50) / 2.
    EntityAnimation* x = animations[5].get();
    x->m_KeyFrames[1]->m_Value = 0;
    Restart();
    controller.m_Pending = {x};
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
    EXPECT_EQ(controller.m_Active, (std::vector<EntityAnimation*>{nullptr, nullptr, late}));
    EXPECT_EQ(finished, 0);
    controller.Update(1500);
    controller.Update(1000);
    EXPECT_EQ(finished, 1);
    // An animation starting after the end takes a new last slot; its end fires nothing more.
    Animate(EntityAnimation::kY, {{1, 5}}, 3.5f);
    controller.Update(2000);
    EXPECT_EQ(finished, 1);
    // The last slot finishing first fires while an earlier one still runs, and only once.
    controller.m_Active = {late, fade};
    controller.Reset();
    fade->m_KeyFrames[0]->m_Time = 0.5f;
    controller.Update(600);
    EXPECT_EQ(finished, 2);
    controller.Update(2000);
    EXPECT_EQ(finished, 2);
}
