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

class BehaviorTest : public ::testing::Test {
protected:
    BehaviorTest() {
        Place(button);
        for (u32 kind = 0; kind < 6; ++kind)
            button.AddEventDelegate(kind, &events[kind].delegate);
        // Without an action file the listen calls are reported; only later lines count.
        log.Clear();
    }
    static void Place(Widget& widget) {
        widget.SetPositionXY(100.0f, 100.0f);
        widget.SetWidth(50.0f);
        widget.SetHeight(20.0f);
    }
    int Fired(u32 kind) const { return events[kind].count; }
    const WidgetBehavior& Base() const { return button.m_ButtonBehavior; }
    u32 Visual() const { return button.m_ButtonBehavior.m_VisualState; }

    LogCapture log;
    widget_test::TestGame game;
    BaseTeamMember& a = game.members[0];
    BaseTeamMember& b = game.members[1];
    Button button{"button"};
    Counter events[6];
};

}  // namespace

TEST_F(BehaviorTest, LeaveWaitsUntilNoPlayerHovers) {
    game.Move(a, 110, 105);
    game.Move(b, 120, 105);
    EXPECT_EQ(Fired(kEventEnter), 1);
    game.Move(a, 10, 10);
    EXPECT_EQ(Fired(kEventLeave), 0);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kHovered);
    game.Move(b, 10, 10);
    EXPECT_EQ(Fired(kEventLeave), 1);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kLeft);
    EXPECT_EQ(Visual(), 0u);
    // Hovering again enters again.
    game.Move(a, 110, 105);
    EXPECT_EQ(Fired(kEventEnter), 2);
}

TEST_F(BehaviorTest, HoverPressAndReleaseKeepBaseAndVisualStatesApart) {
    game.Move(a, 110, 105);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kHovered);
    EXPECT_EQ(Visual(), 2u);
    game.Click(a, 110, 105, true);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kPressed);
    EXPECT_EQ(Visual(), 1u);
    EXPECT_EQ(Fired(kEventPress), 1);
    EXPECT_EQ(Fired(kEventClick), 0);
    EXPECT_EQ(Base().m_LastMember, &a);
    // The press is kept as the last action, with its own copy of the data.
    ASSERT_EQ(Base().m_LastAction.m_ActionData, &Base().m_LastActionData);
    EXPECT_EQ(Base().m_LastActionData.m_KeyDown, 1);
    EXPECT_EQ(Base().m_LastActionData.m_X, 110.0f);
    EXPECT_EQ(Base().m_LastAction.m_Member, &a);
    game.Click(a, 110, 105, false);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kHovered);
    EXPECT_EQ(Visual(), 2u);
    EXPECT_EQ(Fired(kEventClick), 1);
    EXPECT_EQ(Fired(kEventPress), 1);
    // The last hovering player gone, a release leaves the button idle.
    game.Click(a, 110, 105, true);
    game.Move(b, 110, 105);
    b.m_Inactive = 1;
    game.Move(b, 110, 105);
    a.m_Inactive = 1;
    game.Move(a, 110, 105);
    EXPECT_EQ(Fired(kEventLeave), 1);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(BehaviorTest, AReleaseOverAHoveredButtonClicksWhereverThePressBegan) {
    game.Move(b, 120, 105);
    game.Click(a, 10, 10, true);
    game.Move(a, 110, 105);
    game.Click(a, 110, 105, false);
    EXPECT_EQ(Fired(kEventClick), 1);
    EXPECT_EQ(Base().m_LastMember, &a);

    // Alone, a player whose button is down gets no enter and so no click.
    Button alone{"alone"};
    Place(alone);
    Counter enter, click;
    alone.AddEventDelegate(kEventEnter, &enter.delegate);
    alone.AddEventDelegate(kEventClick, &click.delegate);
    game.Move(b, 10, 10);
    game.Click(a, 10, 10, true);
    game.Move(a, 110, 105);
    EXPECT_EQ(enter.count, 0);
    game.Click(a, 110, 105, false);
    EXPECT_EQ(click.count, 0);
    // Once the button is up, the next move enters.
    game.Move(a, 111, 105);
    EXPECT_EQ(enter.count, 1);
}

TEST_F(BehaviorTest, MovesWithinOnePixelFireOneMoveEvent) {
    game.Move(a, 110.2f, 105.1f);
    game.Move(a, 110.9f, 105.8f);
    EXPECT_EQ(Fired(kEventMove), 1);
    game.Move(a, 111.0f, 105.8f);
    game.Move(a, 111.0f, 106.0f);
    EXPECT_EQ(Fired(kEventMove), 3);
    // Off the widget nothing moves.
    game.Move(a, 10, 10);
    EXPECT_EQ(Fired(kEventMove), 3);
}

TEST_F(BehaviorTest, MembersOutsideThePlayerSlotsChangeNothing) {
    for (i32 id : {5, -1, 4}) {
        BaseTeamMember stranger;
        stranger.m_DeviceId = id;
        game.Move(stranger, 110, 105);
        game.Click(stranger, 110, 105, true);
        game.Click(stranger, 110, 105, false);
        EXPECT_EQ(Base().m_State, WidgetBehavior::kIdle) << id;
        EXPECT_EQ(Fired(kEventEnter) + Fired(kEventPress) + Fired(kEventClick), 0) << id;
        for (u32 i = 0; i <= WidgetBehavior::kPlayerSlots; ++i) {
            EXPECT_EQ(Base().m_Hover[i], 0) << id;
            EXPECT_EQ(Base().m_Buttons[i], 0) << id;
        }
    }
}

TEST_F(BehaviorTest, DesynchronizedDeviceIdsAreReportedAndStillHandled) {
    GameServices::Bridge::sActionData data;
    data.m_DeviceId = 3;
    data.m_X = 110;
    data.m_Y = 105;
    data.m_PointerVisible = true;
    GameServices::KorvoGame::TeamActionData action(&data, 0, &a);
    game.teams.SimulateTeamAction(&action, "Moves");
    EXPECT_TRUE(log.Contains("device id de-synchronization!"));
    EXPECT_EQ(Fired(kEventEnter), 1);
}

TEST_F(BehaviorTest, WidgetsThatCannotTakeInputAndInactiveMembersAreIgnored) {
    const struct {
        const char* what;
        void (*spoil)(Button&, BaseTeamMember&);
    } cases[] = {
        {"hidden", [](Button& w, BaseTeamMember&) { w.Visible = false; }},
        {"disabled", [](Button& w, BaseTeamMember&) { w.m_Enabled = 0; }},
        {"locked", [](Button& w, BaseTeamMember&) { w.SetInputLocked(true); }},
        {"faded", [](Button& w, BaseTeamMember&) { w.SetOpacity(0.4f); }},
        {"faded by animation", [](Button& w, BaseTeamMember&) { w.m_AnimColor = 0x7FFFFFFFu; }},
        {"inactive member", [](Button&, BaseTeamMember& m) { m.m_Inactive = 1; }},
    };
    for (const auto& c : cases) {
        Button target{"target"};
        Place(target);
        Counter enter, press, click;
        target.AddEventDelegate(kEventEnter, &enter.delegate);
        target.AddEventDelegate(kEventPress, &press.delegate);
        target.AddEventDelegate(kEventClick, &click.delegate);
        c.spoil(target, a);
        game.Move(a, 110, 105);
        game.Click(a, 110, 105, true);
        game.Click(a, 110, 105, false);
        EXPECT_EQ(enter.count + press.count + click.count, 0) << c.what;
        EXPECT_EQ(target.m_ButtonBehavior.m_State, WidgetBehavior::kIdle) << c.what;
        a.m_Inactive = 0;
    }
}

TEST_F(BehaviorTest, ResetFromHoverLeaves) {
    game.Move(a, 110, 105);
    game.Click(a, 110, 105, true);
    button.SetVisible(false);
    EXPECT_EQ(Fired(kEventLeave), 1);
    EXPECT_EQ(Base().m_State, WidgetBehavior::kIdle);
    EXPECT_EQ(Base().m_Buttons[0], 0);
    EXPECT_EQ(Visual(), 0u);
    // From idle, no leave.
    button.m_ButtonBehavior.Reset();
    EXPECT_EQ(Fired(kEventLeave), 1);
}

TEST_F(BehaviorTest, ACheckBoxTogglesOnRelease) {
    CheckBox box{"box"};
    // The typed behaviour is the widget's own, listed under its name.
    EXPECT_EQ(box.GetBehavior(), &box.m_CheckBehavior);
    EXPECT_EQ(box.Behaviors.m_Map.at(Crc32Hash("WidgetCheckBoxBehavior")), &box.m_CheckBehavior);
    EXPECT_EQ(box.m_CheckBehavior.m_Name, "WidgetCheckBoxBehavior");
    Place(box);
    Counter press, click;
    box.AddEventDelegate(kEventPress, &press.delegate);
    box.AddEventDelegate(kEventClick, &click.delegate);
    game.Move(a, 110, 105);
    EXPECT_EQ(box.m_CheckBehavior.m_VisualState, 1u);
    game.Click(a, 110, 105, true);
    EXPECT_EQ(box.m_CheckBehavior.m_VisualState, 2u);
    EXPECT_EQ(box.m_Checked, 0);
    EXPECT_EQ(press.count, 0);
    box.m_PressedLook = 1;
    game.Click(a, 110, 105, false);
    EXPECT_EQ(box.m_Checked, 1);
    EXPECT_EQ(box.m_PressedLook, 0);
    EXPECT_EQ(box.m_CheckBehavior.m_VisualState, 0u);
    EXPECT_EQ(click.count, 1);
    game.Tap(a, 110, 105);
    EXPECT_EQ(box.m_Checked, 0);
    EXPECT_EQ(click.count, 2);
}

TEST_F(BehaviorTest, SliderButtonStepsStayWithinTheBounds) {
    SliderButton slider{"slider"};
    slider.SetPositionXY(0.0f, 0.0f);
    slider.SetWidth(100.0f);
    slider.SetHeight(20.0f);
    slider.m_Left.m_Position = AGVec2{0.0f, 0.0f};
    slider.m_Left.m_Size = AGVec2{20.0f, 20.0f};
    slider.m_Right.m_Position = AGVec2{80.0f, 0.0f};
    slider.m_Right.m_Size = AGVec2{20.0f, 20.0f};
    slider.m_Minimum = 0.0f;
    slider.m_Maximum = 1.0f;
    slider.m_Step = 0.1f;
    slider.m_Value = 0.05f;
    Counter changed, click;
    slider.AddEventDelegate(kEventValueChanged, &changed.delegate);
    slider.AddEventDelegate(kEventClick, &click.delegate);

    game.Move(a, 10, 10);
    EXPECT_EQ(slider.m_SliderBehavior.m_Part, WidgetSliderButtonBehavior::kLeftPart);
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 2u);
    game.Click(a, 10, 10, true);
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 4u);
    EXPECT_EQ(slider.m_Value, 0.05f);
    game.Click(a, 10, 10, false);
    EXPECT_EQ(slider.m_Value, 0.0f);
    game.Tap(a, 10, 10);
    EXPECT_EQ(slider.m_Value, 0.0f);
    EXPECT_EQ(click.count, 2);
    EXPECT_EQ(changed.count, 4);  // every press and every release

    slider.m_Value = 0.95f;
    game.Move(a, 90, 10);
    EXPECT_EQ(slider.m_SliderBehavior.m_Part, WidgetSliderButtonBehavior::kRightPart);
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 3u);
    game.Click(a, 90, 10, true);
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 5u);
    game.Click(a, 90, 10, false);
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 3u);
    EXPECT_EQ(slider.m_Value, 1.0f);
    changed.count -= 2;
    for (int i = 0; i < 3; ++i)
        game.Tap(a, 90, 10);
    EXPECT_EQ(slider.m_Value, 1.0f);
    EXPECT_EQ(changed.count, 10);
    // Between the buttons the hovered look turns normal.
    game.Move(a, 50, 10);
    EXPECT_EQ(slider.m_SliderBehavior.m_Part, WidgetSliderButtonBehavior::kNoPart);
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 1u);
}

TEST_F(BehaviorTest, TrackBarDragsBeyondItsEdgesWithinItsBounds) {
    SliderTrackBar bar{"bar"};
    bar.SetPositionXY(0.0f, 100.0f);
    bar.SetWidth(200.0f);
    bar.SetHeight(20.0f);
    bar.m_Thumb.m_Size = AGVec2{10.0f, 20.0f};
    bar.m_Minimum = 0.0f;
    bar.m_Maximum = 100.0f;
    Counter changed, press, click;
    bar.AddEventDelegate(kEventValueChanged, &changed.delegate);
    bar.AddEventDelegate(kEventPress, &press.delegate);
    bar.AddEventDelegate(kEventClick, &click.delegate);
    auto& behavior = bar.m_TrackBehavior;

    game.Move(a, 50, 110);
    EXPECT_EQ(behavior.m_ThumbHit, 0);
    EXPECT_EQ(behavior.m_VisualState, 2u);
    game.Move(a, 5, 110);
    EXPECT_EQ(behavior.m_ThumbHit, 1);
    EXPECT_EQ(behavior.m_VisualState, 3u);
    game.Click(a, 5, 110, true);
    EXPECT_EQ(behavior.m_Dragging, 1);
    EXPECT_EQ(behavior.m_DragOwner, &a);
    game.Move(a, 50, 110);
    EXPECT_EQ(bar.m_Value, 0.0f);  // the first drag move only marks the start
    game.Move(a, 60, 110);
    EXPECT_EQ(bar.m_Value, 10.0f);
    // Off the bar with the button held: still dragging, no leave.
    game.Move(a, 70, 300);
    EXPECT_EQ(behavior.m_Dragging, 1);
    EXPECT_EQ(bar.m_Value, 20.0f);
    game.Move(a, 500, 300);
    EXPECT_EQ(bar.m_Value, 100.0f);
    game.Move(a, -500, 300);
    EXPECT_EQ(bar.m_Value, 0.0f);
    EXPECT_EQ(changed.count, 4);
    // Released on the bar: the drag ends.
    game.Move(a, 5, 110);
    game.Click(a, 5, 110, false);
    EXPECT_EQ(behavior.m_Dragging, 0);
    EXPECT_EQ(behavior.m_DragLastX, -1);
    EXPECT_EQ(press.count, 1);
    EXPECT_EQ(click.count, 1);
}

TEST_F(BehaviorTest, TrackBarOfNoWidthDragsAtScaleOne) {
    SliderTrackBar bar{"bar"};
    bar.SetPositionXY(0.0f, 0.0f);
    bar.SetWidth(0.0f);
    bar.SetHeight(20.0f);
    bar.m_Thumb.m_Size = AGVec2{10.0f, 20.0f};
    bar.m_Maximum = 100.0f;
    game.Move(a, 0, 10);
    game.Click(a, 0, 10, true);
    game.Move(a, 5, 10);
    game.Move(a, 8, 10);
    EXPECT_TRUE(std::isfinite(bar.m_Value));
    EXPECT_EQ(bar.m_Value, 3.0f);
}

TEST(WidgetBehavior, BehavioursStopListeningWithTheirWidgets) {
    widget_test::TestGame game;
    {
        Button button{"button"};
        CheckBox box{"box"};
        SliderButton slider{"slider"};
        SliderTrackBar bar{"bar"};
        Emitter3D emitter{"emitter"};
        Image image{"image"};
        Counter click;
        image.AddEventDelegate(kEventClick, &click.delegate);  // starts listening
    }
    LogCapture log;
    game.Move(game.members[0], 110, 105);
    game.Click(game.members[0], 110, 105, true);
    EXPECT_TRUE(log.Contains("Can not find the action"));
    EXPECT_EQ(game.FrameDelegates(), 0u);
}
