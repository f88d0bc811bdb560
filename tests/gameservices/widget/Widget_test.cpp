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

// A widget with no behaviour of its own.
class PlainWidget : public Widget {
public:
    using Widget::Widget;
    void AddEventDelegate(u32, IDelegate*) override {}
    void RemoveEventDelegate(u32, IDelegate*) override {}
};

}  // namespace

TEST(Widget, TypeIdsAnswerTheirOwnClassAndItsBase) {
    const u32 ids[] = {TypeIds::Screen, TypeIds::Panel, TypeIds::Widget, TypeIds::Image, TypeIds::SoftKeyboard,
                       TypeIds::Button, TypeIds::Label, TypeIds::Popup, TypeIds::ScrollText, TypeIds::CheckBox,
                       TypeIds::SliderButton, TypeIds::SliderTrackBar, TypeIds::Emitter3D,
                       TypeIds::ResizableWindow, TypeIds::Video, TypeIds::ViewPort3D, EntityIds::Entity};
    const std::pair<std::shared_ptr<Widget>, u32> cases[] = {
        {std::make_shared<PlainWidget>(), TypeIds::Widget}, {std::make_shared<Panel>(), TypeIds::Panel},
        {std::make_shared<Image>(), TypeIds::Image},       {std::make_shared<Button>(), TypeIds::Button},
        {std::make_shared<Label>(), TypeIds::Label},       {std::make_shared<ScrollText>(), TypeIds::ScrollText},
        {std::make_shared<CheckBox>(), TypeIds::CheckBox}, {std::make_shared<SliderButton>(), TypeIds::SliderButton},
        {std::make_shared<SliderTrackBar>(), TypeIds::SliderTrackBar},
        {std::make_shared<Emitter3D>(), TypeIds::Emitter3D},
        {std::make_shared<ResizableWindow>(), TypeIds::ResizableWindow},
        {std::make_shared<Video>(), TypeIds::Video},       {std::make_shared<ViewPort3D>(), TypeIds::ViewPort3D},
    };
    for (const auto& [widget, own] : cases) {
        const u32 base = own == TypeIds::Widget ? EntityIds::Entity
                                                : (own == TypeIds::ViewPort3D ? TypeIds::Panel : TypeIds::Widget);
        for (u32 id : ids)
            EXPECT_EQ(widget->IsA(id), id == own || id == base) << own << " asked " << id;
    }
}

TEST(Widget, HitBoxesFollowSizePositionScaleAndRotation) {
    PlainWidget widget;
    widget.SetWidth(40.0f);
    widget.SetHeight(20.0f);
    widget.SetPosition(AGVec2{100.0f, 200.0f});
    const struct {
        f32 x, y;
        bool straight, turned;
    } cases[] = {
        {100, 200, true, true}, {140, 220, true, false},   {99.9f, 210, false, false}, {120, 220.1f, false, false},
        {100.5f, 180, false, true}, {119.5f, 161, false, true}, {120.5f, 180, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Widget::HitTest(widget.m_Hit, AGVec2{c.x, c.y}), c.straight) << c.x << "," << c.y;
    // A quarter turn: the box spans dx in [0, 20] and dy in [-40, 0].
    widget.m_Hit.rotation = std::numbers::pi_v<f32> / 2.0f;
    widget.m_Hit.rotationChanged = 1;
    for (const auto& c : cases)
        EXPECT_EQ(Widget::HitTest(widget.m_Hit, AGVec2{c.x, c.y}), c.turned) << c.x << "," << c.y;
    EXPECT_EQ(widget.m_Hit.rotationChanged, 0u);
    widget.SetScale(AGVec2{2.0f, 3.0f});
    EXPECT_EQ(widget.m_Hit.maxX, 80.0f);
    EXPECT_EQ(widget.m_Hit.maxY, 60.0f);
}

TEST(Widget, FindChildIsDepthFirstAndNeverMatchesTheRoot) {
    Panel root("twin");
    auto* first = new Panel("outer");
    auto* nested = new PlainWidget("twin");
    first->AddChild(nested);
    auto* holder = new Panel("same");
    auto* inside = new PlainWidget("same");
    holder->AddChild(inside);
    root.AddChild(first);
    root.AddChild(holder);
    EXPECT_EQ(Widget::FindChild("twin", &root), nested);
    EXPECT_EQ(Widget::FindChild("same", &root), holder);
    EXPECT_EQ(Widget::FindChild("Same", &root), nullptr);
    EXPECT_EQ(nested->m_Parent, first);
}

TEST(Widget, InputNeedsHalfOpacityAndLockingSkipsDisabledChildren) {
    PlainWidget widget;
    const struct {
        u32 color;
        f32 opacity;
        bool opaque;
    } cases[] = {{0x7FFFFFFFu, 1.0f, false}, {0x80FFFFFFu, 1.0f, true}, {0xFF000000u, 0.5f, true},
                 {0xFFFFFFFFu, 0.49f, false}};
    for (const auto& c : cases) {
        widget.m_AnimColor = c.color;
        widget.SetOpacity(c.opacity);
        EXPECT_EQ(widget.IsOpaqueForInput(), c.opaque) << std::hex << c.color << " " << c.opacity;
    }
    Panel root("root");
    auto* enabled = new Button("enabled");
    auto* disabled = new Button("disabled");
    disabled->m_Enabled = 0;
    auto* sub = new Panel("sub");
    auto* deep = new Label("deep");
    sub->AddChild(deep);
    for (Widget* w : std::initializer_list<Widget*>{enabled, disabled, sub})
        root.AddChild(w);
    root.SetInputLocked(true);
    EXPECT_EQ(enabled->m_InputLocked + deep->m_InputLocked + root.m_InputLocked, 3);
    EXPECT_EQ(disabled->m_InputLocked, 0);
    root.SetInputLocked(false);
    EXPECT_EQ(deep->m_InputLocked, 0);
}

TEST(Widget, FrameDelegatesLeaveWithTheirWidgets) {
    { PlainWidget orphan; }  // no game: nothing added, nothing removed
    widget_test::TestGame game;
    {
        Panel root("root");
        root.AddChild(new Button("a"));
        root.AddChild(new Label("b"));
        EXPECT_EQ(game.FrameDelegates(), 4u);  // the panel's two and one per child
        root.Reset();
        EXPECT_TRUE(root.Destroyed);
        EXPECT_EQ(game.FrameDelegates(), 3u);
    }
    EXPECT_EQ(game.FrameDelegates(), 0u);
}
