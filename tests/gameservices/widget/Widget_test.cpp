#include "gameservices/widget/Widget.h"

#include <gtest/gtest.h>

#include <memory>
#include <numbers>

#include "gameservices/entities/TypeIds.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;
namespace EntityIds = GameServices::Entities::TypeIds;

namespace {

constexpr u32 kAllIds[] = {
    TypeIds::Screen,      TypeIds::Panel,          TypeIds::Widget,       TypeIds::Image,
    TypeIds::SoftKeyboard, TypeIds::Button,        TypeIds::Label,        TypeIds::Popup,
    TypeIds::ScrollText,  TypeIds::CheckBox,       TypeIds::SliderButton, TypeIds::SliderTrackBar,
    TypeIds::Emitter3D,   TypeIds::ResizableWindow, TypeIds::Video,       TypeIds::ViewPort3D,
    EntityIds::Entity,
};

// A widget with no behaviour of its own.
class PlainWidget : public Widget {
public:
    using Widget::Widget;
    void AddEventDelegate(u32, IDelegate*) override {}
    void RemoveEventDelegate(u32, IDelegate*) override {}
};

}  // namespace

TEST(Widget, TypeIdsAnswerTheirOwnClassAndItsBase) {
    // Every id is distinct.
    for (size_t i = 0; i < std::size(kAllIds); ++i)
        for (size_t j = i + 1; j < std::size(kAllIds); ++j)
            EXPECT_NE(kAllIds[i], kAllIds[j]) << i << " " << j;

    const struct {
        std::unique_ptr<Widget> widget;
        u32 own;
        u32 base;
    } cases[] = {
        {std::make_unique<PlainWidget>(), TypeIds::Widget, EntityIds::Entity},
        {std::make_unique<Panel>(), TypeIds::Panel, TypeIds::Widget},
        {std::make_unique<Image>(), TypeIds::Image, TypeIds::Widget},
        {std::make_unique<Button>(), TypeIds::Button, TypeIds::Widget},
        {std::make_unique<Label>(), TypeIds::Label, TypeIds::Widget},
        {std::make_unique<ScrollText>(), TypeIds::ScrollText, TypeIds::Widget},
        {std::make_unique<CheckBox>(), TypeIds::CheckBox, TypeIds::Widget},
        {std::make_unique<SliderButton>(), TypeIds::SliderButton, TypeIds::Widget},
        {std::make_unique<SliderTrackBar>(), TypeIds::SliderTrackBar, TypeIds::Widget},
        {std::make_unique<Emitter3D>(), TypeIds::Emitter3D, TypeIds::Widget},
        {std::make_unique<ResizableWindow>(), TypeIds::ResizableWindow, TypeIds::Widget},
        {std::make_unique<Video>(), TypeIds::Video, TypeIds::Widget},
        {std::make_unique<ViewPort3D>(), TypeIds::ViewPort3D, TypeIds::Panel},
    };
    for (const auto& c : cases) {
        for (u32 id : kAllIds)
            EXPECT_EQ(c.widget->IsA(id), id == c.own || id == c.base)
                << "own " << c.own << " asked " << id;
    }
}

TEST(Widget, HitTestIsInclusiveAndFollowsTheRotation) {
    HitRectangle rect;
    rect.x = 100.0f;
    rect.y = 200.0f;
    rect.maxX = 40.0f;
    rect.maxY = 20.0f;
    const struct {
        f32 x, y;
        bool hit;
    } straight[] = {
        {100, 200, true},  {140, 200, true},  {100, 220, true},   {140, 220, true},
        {120, 210, true},  {99.9f, 210, false}, {140.1f, 210, false}, {120, 199.9f, false},
        {120, 220.1f, false},
    };
    for (const auto& c : straight)
        EXPECT_EQ(Widget::HitTest(rect, AGVec2{c.x, c.y}), c.hit) << c.x << "," << c.y;

    // A quarter turn: u = -dy, v = dx, so the box spans dx in [0, 20] and dy in [-40, 0].
    rect.rotation = std::numbers::pi_v<f32> / 2.0f;
    rect.rotationChanged = 1;
    const struct {
        f32 x, y;
        bool hit;
    } turned[] = {
        {100.5f, 180, true},  {119.5f, 180, true},  {110, 199.5f, true},  {110, 160.5f, true},
        {99.5f, 180, false},  {120.5f, 180, false}, {110, 200.5f, false}, {110, 159.5f, false},
    };
    for (const auto& c : turned)
        EXPECT_EQ(Widget::HitTest(rect, AGVec2{c.x, c.y}), c.hit) << c.x << "," << c.y;
    EXPECT_EQ(rect.rotationChanged, 0u);
    EXPECT_NEAR(rect.sine, 1.0f, 1e-6f);
}

TEST(Widget, SizeAndPositionSetTheHitBoxAndScaleUsesNoWindowFactor) {
    PlainWidget widget;
    widget.SetWidth(30.0f);
    widget.SetHeight(10.0f);
    widget.SetPositionXY(5.0f, 6.0f);
    EXPECT_EQ(widget.m_Hit.maxX, 30.0f);
    EXPECT_EQ(widget.m_Hit.maxY, 10.0f);
    EXPECT_EQ(widget.m_Hit.x, 5.0f);
    EXPECT_EQ(widget.m_Hit.y, 6.0f);
    widget.SetScale(AGVec2{2.0f, 3.0f});
    EXPECT_EQ(widget.m_Hit.maxX, 60.0f);
    EXPECT_EQ(widget.m_Hit.maxY, 30.0f);
    widget.SetPosition(AGVec2{7.0f, 8.0f});
    EXPECT_EQ(widget.m_X, 7.0f);
    EXPECT_EQ(widget.m_Hit.y, 8.0f);
}

TEST(Widget, FindChildIsDepthFirstAndNeverMatchesTheRoot) {
    Panel root("twin");
    auto* first = new Panel("outer");
    auto* nested = new PlainWidget("twin");
    first->AddChild(nested);
    auto* namedPanel = new Panel("twin");
    auto* inside = new PlainWidget("inside");
    namedPanel->AddChild(inside);
    root.AddChild(first);
    root.AddChild(namedPanel);

    EXPECT_EQ(Widget::FindChild("twin", &root), nested);
    EXPECT_EQ(Widget::FindChild("inside", &root), inside);
    EXPECT_EQ(Widget::FindChild("outer", &root), first);
    EXPECT_EQ(Widget::FindChild("missing", &root), nullptr);
    EXPECT_EQ(Widget::FindChild("Inside", &root), nullptr);
    // The named panel is met before its own child of the same name.
    Panel top("top");
    auto* holder = new Panel("same");
    holder->AddChild(new PlainWidget("same"));
    top.AddChild(holder);
    EXPECT_EQ(Widget::FindChild("same", &top), holder);
    EXPECT_EQ(Widget::FindChild("top", &top), nullptr);
    EXPECT_EQ(nested->m_Parent, first);
}

TEST(Widget, InputNeedsHalfOpacity) {
    PlainWidget widget;
    const struct {
        u32 color;
        f32 opacity;
        bool opaque;
    } cases[] = {
        {0x7FFFFFFFu, 1.0f, false}, {0x80FFFFFFu, 1.0f, true}, {0xFF000000u, 0.5f, true},
        {0xFFFFFFFFu, 0.49f, false}, {0x00FFFFFFu, 1.0f, false},
    };
    for (const auto& c : cases) {
        widget.m_AnimColor = c.color;
        widget.SetOpacity(c.opacity);
        EXPECT_EQ(widget.IsOpaqueForInput(), c.opaque) << std::hex << c.color << " " << c.opacity;
    }
}

TEST(Widget, PlayTakesItsModeFromTheTableAndRefusesIndicesPastIt) {
    LogCapture log;
    PlainWidget widget;
    const u32 modes[] = {1, 3, 4, 5, 6};
    for (u32 i = 0; i < 5; ++i) {
        widget.Play(i);
        EXPECT_EQ(widget.m_Control.GetMode(), modes[i]) << i;
    }
    EXPECT_TRUE(log.Lines().empty());
    widget.Play(5);
    widget.Play(7);
    EXPECT_EQ(widget.m_Control.GetMode(), 6u);
    EXPECT_EQ(log.Lines().size(), 2u);
    EXPECT_TRUE(log.Contains("no play mode 7"));
}

TEST(Widget, LockingAPanelSkipsItsDisabledChildren) {
    Panel root("root");
    auto* enabled = new Button("enabled");
    auto* disabled = new Button("disabled");
    disabled->m_Enabled = 0;
    auto* sub = new Panel("sub");
    auto* deep = new Label("deep");
    sub->AddChild(deep);
    root.AddChild(enabled);
    root.AddChild(disabled);
    root.AddChild(sub);

    root.SetInputLocked(true);
    EXPECT_EQ(root.m_InputLocked, 1);
    EXPECT_EQ(enabled->m_InputLocked, 1);
    EXPECT_EQ(disabled->m_InputLocked, 0);
    EXPECT_EQ(deep->m_InputLocked, 1);
    disabled->m_InputLocked = 1;
    root.SetInputLocked(false);
    EXPECT_EQ(enabled->m_InputLocked, 0);
    EXPECT_EQ(deep->m_InputLocked, 0);
    EXPECT_EQ(disabled->m_InputLocked, 1);
}

TEST(Widget, FrameDelegatesLeaveWithTheirWidgets) {
    {
        // Without a running game no delegate is added, and none removed.
        PlainWidget orphan;
        Panel orphanPanel;
    }
    widget_test::TestGame game;
    {
        Panel root("root");
        root.AddChild(new Button("a"));
        root.AddChild(new Label("b"));
        // The panel's two delegates and one per child.
        EXPECT_EQ(game.FrameDelegates(), 4u);
        root.Reset();
        EXPECT_TRUE(root.Destroyed);
        EXPECT_EQ(game.FrameDelegates(), 3u);
    }
    EXPECT_EQ(game.FrameDelegates(), 0u);
    // Deleted while the event fires: the event skips it and drops it afterwards.
    auto* late = new PlainWidget("late");
    struct Deleter {
        void Run(u32) { delete victim; victim = nullptr; }
        Widget* victim;
        FDelegateParam<Deleter, u32> d{this, &Deleter::Run};
    } deleter{late};
    game.flow.GetFrameEvent().RemoveDelegate(&deleter.d);
    game.flow.GetFrameEvent().AddDelegate(&deleter.d);
    game.flow.Update(16);
    EXPECT_EQ(game.FrameDelegates(), 1u);
    game.flow.GetFrameEvent().RemoveDelegate(&deleter.d);
}
