#include "gameservices/widget/Widget.h"

#include <gtest/gtest.h>

#include "gameservices/widget/WidgetClasses.h"

using namespace GameServices::Widget;

namespace {

// A widget with no behaviour of its own.
class PlainWidget : public Widget {
public:
    using Widget::Widget;
    void AddEventDelegate(u32, IDelegate*) override {}
    void RemoveEventDelegate(u32, IDelegate*) override {}
};

}  // namespace

TEST(Widget, FindChildInputLockingAndHitBoxEdges) {
    Panel root("twin");
    auto* first = new Panel("outer");
    auto* nested = new PlainWidget("twin");
    first->AddChild(nested);
    auto* holder = new Panel("same");
    auto* inside = new PlainWidget("same");
    holder->AddChild(inside);
    root.AddChild(first);
    root.AddChild(holder);
    EXPECT_TRUE(Widget::FindChild("twin", &root) == nested && Widget::FindChild("same", &root) == holder);
    EXPECT_TRUE(!Widget::FindChild("Same", &root) && !Widget::FindChild("twin", nullptr));
    // Input needs half opacity.
    PlainWidget widget;
    EXPECT_TRUE(widget.IsA(TypeIds::Widget) && widget.IsA(GameServices::Entities::TypeIds::Entity) &&
                !widget.IsA(TypeIds::Panel));
    const struct { u32 color; f32 opacity; bool opaque; } cases[] = {
        {0x7FFFFFFFu, 1.0f, false}, {0x80FFFFFFu, 1.0f, true}, {0xFF000000u, 0.5f, true},
        {0xFFFFFFFFu, 0.49f, false}};
    for (const auto& c : cases) {
        widget.m_AnimColor = c.color;
        widget.SetOpacity(c.opacity);
        EXPECT_EQ(widget.IsOpaqueForInput(), c.opaque) << std::hex << c.color << " " << c.opacity;
    }
    widget.SetColor(0x80402010u);
    EXPECT_EQ(widget.m_Color, 0x80402010u);
    auto* enabled = new Button("enabled");
    auto* disabled = new Button("disabled");
    disabled->m_Enabled = 0;
    auto* sub = new Panel("sub");
    auto* deep = new Label("deep");
    sub->AddChild(deep);
    for (Widget* w : std::initializer_list<Widget*>{enabled, disabled, sub, nullptr})
        root.AddChild(w);
    root.SetInputLocked(true);
    EXPECT_EQ(enabled->m_InputLocked + deep->m_InputLocked + root.m_InputLocked, 3);
    EXPECT_EQ(disabled->m_InputLocked, 0);
    // Hit boxes hold their edges.
    HitRectangle box{.x = 10, .y = 20, .maxX = 30, .maxY = 40};
    const std::pair<AGVec2, bool> points[] = {{{10, 20}, true},    {{40, 60}, true},    {{9.9f, 30}, false},
                                              {{40.1f, 30}, false}, {{20, 19.9f}, false}, {{20, 60.1f}, false}};
    for (const auto& [point, hit] : points)
        EXPECT_EQ(Widget::HitTest(box, point), hit) << point.x << "," << point.y;
    // Turned by an angle of cosine 0.6 and sine 0.8 about its corner (both kept for the next test).
    box.rotation = 0.92729521f;
    box.rotationChanged = 1;
    EXPECT_TRUE(Widget::HitTest(box, {41.8f, 42.6f}) && !Widget::HitTest(box, {12, 9}) && !Widget::HitTest(box, {40, 60}));
    EXPECT_FALSE(box.rotationChanged);
}
