#include "gameservices/widget/WidgetBehavior.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;
using GameServices::Entities::BaseTeamMember;
using widget_test::Counter;

namespace {

// A widget at (100, 100), 50 x 20, whose six events are counted.
template <typename T>
struct Counted {
    explicit Counted(const char* name) : widget(name) {
        widget.SetPositionXY(100.0f, 100.0f);
        widget.SetWidth(50.0f);
        widget.SetHeight(20.0f);
        for (u32 kind = 0; kind < 6; ++kind)
            widget.AddEventDelegate(kind, &events[kind].delegate);
    }
    int operator[](u32 kind) const { return events[kind].count; }
    T widget;
    Counter events[6];
};

class BehaviorTest : public ::testing::Test {
protected:
    BehaviorTest() { log.Clear(); }
    const WidgetBehavior& Base() const { return button.widget.m_ButtonBehavior; }
    u32 Visual() const { return button.widget.m_ButtonBehavior.m_VisualState; }

    LogCapture log;
    widget_test::TestGame game;
    BaseTeamMember& a = game.members[0];
    BaseTeamMember& b = game.members[1];
    Counted<Button> button{"button"};
};

}  // namespace

TEST_F(BehaviorTest, HoverPressAndReleaseAcrossTwoPlayers) {
    Counted<Image> image{"image"};  // listens once a delegate is added
    game.Move(a, 110, 105);
    game.Move(b, 120, 105);
    EXPECT_EQ(button[kEventEnter] * 10 + Visual(), 12u);
    game.Click(a, 110, 105, true);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kPressed);
    EXPECT_EQ(button[kEventPress] * 10 + Visual(), 11u);
    // The press is kept as the last action, with its own copy of the data.
    ASSERT_EQ(Base().m_LastAction.m_ActionData, &Base().m_LastActionData);
    EXPECT_EQ(Base().m_LastActionData.m_X, 110.0f);
    game.Click(a, 110, 105, false);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kHovered);
    EXPECT_EQ(button[kEventClick] + image[kEventClick], 2);
    // One player leaving is not a leave while the other still hovers.
    game.Move(a, 10, 10);
    EXPECT_EQ(button[kEventLeave], 0);
    game.Move(b, 10, 10);
    EXPECT_EQ(button[kEventLeave], 1);
    EXPECT_EQ(Visual(), 0u);
    // A player whose button went down elsewhere gets no enter until it is up.
    game.Click(a, 10, 10, true);
    game.Move(a, 110, 105);
    EXPECT_EQ(button[kEventEnter], 1);
    game.Click(a, 110, 105, false);
    game.Move(a, 111, 105);
    EXPECT_EQ(button[kEventEnter], 2);
    // Moves within one pixel fire one move event; off the widget none.
    const int moves = button[kEventMove];
    game.Move(a, 111.9f, 105.8f);
    game.Move(a, 10, 10);
    EXPECT_EQ(button[kEventMove], moves);
    button.widget.m_InputLocked = 1;  // a locked widget takes no input
    game.Move(a, 110, 105);
    EXPECT_EQ(button[kEventEnter], 2);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(BehaviorTest, AWidgetInAPanelIsHitWhereItIsDrawn) {
    Counted<Button> inner{"inner"};
    Panel panel{"panel"};
    panel.SetPositionXY(200.0f, 50.0f);
    panel.AddChild(&inner.widget);
    // At its own position, relative to the panel: nothing.
    game.Move(a, 110, 105);
    game.Tap(a, 110, 105);
    EXPECT_EQ(inner[kEventClick], 0);
    // Offset by the panel: entered and clicked.
    game.Move(a, 310, 155);
    game.Tap(a, 310, 155);
    EXPECT_EQ(inner[kEventEnter] + inner[kEventClick], 2);
    panel.m_Children.clear();  // the button is the test's
}

TEST_F(BehaviorTest, StrangersDesynchronizedIdsAndResets) {
    for (i32 id : {5, -1, 4}) {
        BaseTeamMember stranger;
        stranger.m_DeviceId = id;
        stranger.m_Active = 1;
        game.Move(stranger, 110, 105);
        game.Tap(stranger, 110, 105);
        EXPECT_EQ(button[kEventEnter] + button[kEventClick], 0) << id;
    }
    GameServices::Bridge::sActionData data;
    data.m_DeviceId = 3;
    data.m_X = 110;
    data.m_Y = 105;
    data.m_PointerVisible = true;
    GameServices::KorvoGame::TeamActionData action(&data, 0, &a);
    game.teams.SimulateTeamAction(&action, "Moves");
    EXPECT_TRUE(log.Contains("device id de-synchronization!"));
    EXPECT_EQ(button[kEventEnter], 1);
    game.Click(a, 110, 105, true);
    button.widget.SetVisible(false);
    EXPECT_EQ(button[kEventLeave], 1);
    EXPECT_EQ(Base().m_Buttons[0], 0);
    button.widget.m_ButtonBehavior.Reset();
    EXPECT_EQ(button[kEventLeave], 1);
    // A reset also forgets a button held down elsewhere.
    game.Click(a, 10, 10, true);
    ASSERT_EQ(Base().m_Buttons[0], 1);
    button.widget.m_ButtonBehavior.Reset();
    EXPECT_EQ(Base().m_Buttons[0], 0);
    // Actions simulated without device data change nothing.
    GameServices::KorvoGame::TeamActionData bare(nullptr, 0, &a);
    const int presses = button[kEventPress];
    for (const char* name : {"Click", "Moves"})
        game.teams.SimulateTeamAction(&bare, name);
    EXPECT_EQ(Base().m_Buttons[0] + button[kEventPress], presses);
}

TEST_F(BehaviorTest, CheckBoxesToggleOnRelease) {
    Counted<CheckBox> box{"box"};
    EXPECT_EQ(box.widget.Behaviors.m_Map.at(Crc32Hash("WidgetCheckBoxBehavior")), &box.widget.m_CheckBehavior);
    game.Move(a, 110, 105);
    game.Click(a, 110, 105, true);
    EXPECT_EQ(box.widget.m_CheckBehavior.m_VisualState, 2u);
    EXPECT_EQ(box[kEventPress], 0);
    game.Click(a, 110, 105, false);
    EXPECT_EQ(box.widget.m_Checked * 10 + box[kEventClick], 11);
    game.Tap(a, 110, 105);
    EXPECT_EQ(box.widget.m_Checked, 0);
}

TEST_F(BehaviorTest, SliderButtonStepsStayWithinTheBounds) {
    Counted<SliderButton> s{"slider"};
    SliderButton& slider = s.widget;
    slider.m_Left = ImageBox{AGVec2{20, 20}, AGVec2{0, 0}};
    slider.m_Right = ImageBox{AGVec2{20, 20}, AGVec2{30, 0}};
    slider.m_Value = 0.05f;
    const struct {
        f32 x;
        u32 part, hover, pressed;
        f32 value;
    } cases[] = {{110, 0, 2, 4, 0.0f}, {110, 0, 2, 4, 0.0f}, {140, 1, 3, 5, 0.1f}};
    for (const auto& c : cases) {
        game.Move(a, c.x, 105);
        EXPECT_EQ(slider.m_SliderBehavior.m_Part * 10 + slider.m_SliderBehavior.m_VisualState, c.part * 10 + c.hover);
        game.Click(a, c.x, 105, true);
        EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, c.pressed);
        game.Click(a, c.x, 105, false);
        EXPECT_FLOAT_EQ(slider.m_Value, c.value) << c.x;
    }
    slider.m_Value = 0.95f;
    game.Tap(a, 140, 105);
    game.Tap(a, 140, 105);
    EXPECT_EQ(slider.m_Value, 1.0f);
    EXPECT_EQ(s[kEventValueChanged], 10);  // every press and every release
    EXPECT_EQ(s[kEventPress] * 10 + s[kEventClick], 55);
    for (f32 x : {125.0f, 130.0f, 120.0f}) {  // the buttons' edges are neither button
        game.Move(a, x, 105);
        EXPECT_EQ(slider.m_SliderBehavior.m_Part, WidgetSliderButtonBehavior::kNoPart) << x;
    }
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 1u);
    // Leaving below the left button: the leave look; the part is not looked up by x alone.
    game.Move(a, 110, 105);
    game.Move(a, 110, 300);
    EXPECT_EQ(slider.m_SliderBehavior.m_Part * 10 + slider.m_SliderBehavior.m_VisualState,
              WidgetSliderButtonBehavior::kNoPart * 10);
}

TEST_F(BehaviorTest, TrackBarDragsBeyondItsEdgesWithinItsBounds) {
    for (f32 width : {200.0f, 0.0f}) {
        Counted<SliderTrackBar> t{"bar"};
        SliderTrackBar& bar = t.widget;
        bar.SetWidth(width);
        bar.m_Thumb.m_Size = AGVec2{10.0f, 20.0f};
        bar.m_Maximum = 100.0f;
        auto& behavior = bar.m_TrackBehavior;
        game.Move(a, 150, 105);
        game.Move(a, 100, 105);
        EXPECT_EQ(behavior.m_VisualState, 3u);
        game.Click(a, 100, 105, true);
        game.Move(a, 150, 105);
        EXPECT_EQ(bar.m_Value, 0.0f);  // the first drag move only marks the start
        game.Move(a, 160, 300);        // off the bar, still dragging
        EXPECT_EQ(bar.m_Value, 10.0f);
        game.Move(a, 500, 300);
        EXPECT_EQ(bar.m_Value, 100.0f);
        game.Move(a, -500, 300);
        EXPECT_EQ(bar.m_Value, 0.0f);
        EXPECT_EQ(t[kEventValueChanged], 3);
        game.Move(a, 100, 105);
        game.Click(a, 100, 105, false);
        EXPECT_EQ(behavior.m_Dragging, 0);
        game.Move(a, 0, 0);
    }
}
