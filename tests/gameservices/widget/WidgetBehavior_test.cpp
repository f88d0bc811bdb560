#include "gameservices/widget/WidgetBehavior.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;
using GameServices::Entities::BaseTeamMember;
using widget_test::Counter;

namespace {

// A widget at (100, 100), 50 x 20, whose six events are counted.
template <typename T>
struct CountingWidget {
    explicit CountingWidget(const char* name) : widget(name) {
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
    CountingWidget<Button> button{"button"};
};

constexpr f32 kKey = 56.0f;
constexpr f32 kPitch = 66.0f;  // key plus spacing

SoftKey MakeKey(f32 x, f32 y, f32 width) {
    SoftKey key;
    key.x = x;
    key.y = y;
    key.maxX = width;
    key.maxY = kKey;
    return key;
}

// A keyboard at (60, 220), 680 x 340: rows of ten letter keys from (0, 80), then the two
// layout keys, space and backspace in a fourth row; its events counted.
class KeyboardTest : public ::testing::Test {
protected:
    KeyboardTest() {
        keyboard.SetPositionXY(60.0f, 220.0f);
        keyboard.SetWidth(680.0f);
        keyboard.SetHeight(340.0f);
        keyboard.m_MaxEntryTextChar = 24;
        keyboard.m_QwertyChars = "QWERTYUIOPASDFGHJKLZXCVBNM";
        keyboard.m_AbcdeChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        for (u32 i = 0; i < 26; ++i)
            keyboard.m_Letters.push_back(MakeKey(static_cast<f32>(i % 10) * kPitch,
                                                 80.0f + static_cast<f32>(i / 10) * kPitch, kKey));
        const f32 special = 80.0f + 3.0f * kPitch;
        for (const auto& [at, width] : {std::pair{0.0f, kKey}, {1.0f, kKey}, {2.0f, 3.0f * kKey}, {6.0f, kKey}})
            keyboard.m_Specials.push_back(MakeKey(at * kPitch, special, width));
        keyboard.AddEventDelegate(kEventClick, &click.delegate);
        keyboard.AddEventDelegate(kEventValueChanged, &changed.delegate);
        keyboard.m_KeyboardBehavior.m_KeyHoverEvent.AddDelegate(&hover.delegate);
        keyboard.m_KeyboardBehavior.m_TextChangedEvent.AddDelegate(&text.delegate);
    }
    // A move to the key's centre and a tap there.
    void Press(const SoftKey& key) {
        const HitRectangle box = keyboard.KeyBox(key);
        game.Move(game.members[0], box.x + box.maxX / 2.0f, box.y + box.maxY / 2.0f);
        game.Tap(game.members[0], box.x + box.maxX / 2.0f, box.y + box.maxY / 2.0f);
    }
    void Letter(u32 i) { Press(keyboard.m_Letters[i]); }
    void Special(u32 i) { Press(keyboard.m_Specials[i]); }
    void Type(uintptr_t code) { game.Key(game.members[0], code); }
    std::string Entered() const { return keyboard.GetEnteredText().c_str(); }

    widget_test::TestGame game;
    SoftKeyboard keyboard{"keyboard"};
    Counter click, changed, hover, text;
};

}  // namespace

TEST_F(BehaviorTest, HoverPressAndReleaseAcrossTwoPlayers) {
    CountingWidget<Image> image{"image"};  // listens once a delegate is added
    game.Move(a, 110, 105);
    game.Move(b, 120, 105);
    EXPECT_EQ(button[kEventEnter] * 10 + Visual(), 12u);
    game.Click(a, 110, 105, true);
    EXPECT_TRUE(Base().m_State == WidgetBehavior::kPressed && button[kEventPress] * 10 + Visual() == 11u);
    // The press is kept as the last action, with its own copy of the data.
    ASSERT_EQ(Base().m_LastAction.m_ActionData, &Base().m_LastActionData);
    EXPECT_EQ(Base().m_LastActionData.m_X, 110.0f);
    game.Click(a, 110, 105, false);
    EXPECT_TRUE(Base().m_State == WidgetBehavior::kHovered && button[kEventClick] + image[kEventClick] == 2);
    // One player leaving is not a leave while the other still hovers.
    game.Move(a, 10, 10);
    EXPECT_EQ(button[kEventLeave], 0);
    game.Move(b, 10, 10);
    EXPECT_EQ(std::pair(button[kEventLeave], Visual()), std::pair(1, 0u));
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
    EXPECT_TRUE(button[kEventEnter] == 2 && log.Lines().empty());
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
    GameServices::Bridge::sActionData data{
        .m_DeviceId = 3, .m_X = 110, .m_Y = 105, .m_ActionName = {}, .m_PointerVisible = true};
    GameServices::KorvoGame::TeamActionData action(&data, 0, &a);
    game.teams.SimulateTeamAction(&action, "Moves");
    EXPECT_TRUE(log.Contains("device id de-synchronization!") && button[kEventEnter] == 1);
    game.Click(a, 110, 105, true);
    button.widget.SetVisible(false);
    EXPECT_TRUE(button[kEventLeave] == 1 && Base().m_Buttons[0] == 0);
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

TEST_F(BehaviorTest, CheckBoxesToggleOnReleaseAndTrackBarsDragWithinTheirBounds) {
    CountingWidget<CheckBox> box{"box"};
    EXPECT_EQ(box.widget.Behaviors.m_Map.at(Crc32Hash("WidgetCheckBoxBehavior")), &box.widget.m_CheckBehavior);
    game.Move(a, 110, 105);
    game.Click(a, 110, 105, true);
    EXPECT_EQ(std::pair(box.widget.m_CheckBehavior.m_VisualState, box[kEventPress]), std::pair(2u, 0));
    game.Click(a, 110, 105, false);
    // The release toggles, clears the pressed look and clicks.
    EXPECT_EQ(std::tuple(box.widget.m_Checked, box.widget.m_PressedLook, box[kEventClick]), std::tuple(1, 0, 1));
    game.Tap(a, 110, 105);
    EXPECT_EQ(box.widget.m_Checked, 0);
    // Track bar drags beyond its edges within its bounds.
    for (f32 width : {200.0f, 0.0f}) {
        CountingWidget<SliderTrackBar> t{"bar"};
        SliderTrackBar& bar = t.widget;
        bar.SetWidth(width);
        bar.m_Thumb.m_Size = AGVec2{10.0f, 20.0f};
        bar.m_Thumb.m_Position.y = -4.0f;  // the thumb reaches above the bar
        bar.m_Maximum = 100.0f;
        auto& behavior = bar.m_TrackBehavior;
        game.Move(a, 150, 105);
        game.Move(a, 100, 101);
        EXPECT_EQ(behavior.m_VisualState, 3u);
        game.Click(a, 100, 105, true);
        game.Move(a, 150, 105);
        EXPECT_EQ(bar.m_Value, 0.0f);  // the first drag move only marks the start
        game.Move(a, 160, 300);        // off the bar, still dragging
        EXPECT_EQ(bar.m_Value, 10.0f);
        game.Move(a, 500, 300);
        EXPECT_EQ(bar.m_Value, 100.0f);
        game.Move(a, -500, 300);
        EXPECT_TRUE(bar.m_Value == 0.0f && t[kEventValueChanged] == 3);
        game.Move(a, 100, 105);
        game.Click(a, 100, 105, false);  // released over the thumb: the plain look
        EXPECT_TRUE(behavior.m_Dragging == 0 && behavior.m_VisualState == 2u);
        game.Move(a, 0, 0);
    }
}

TEST_F(BehaviorTest, SliderButtonStepsStayWithinTheBounds) {
    CountingWidget<SliderButton> s{"slider"};
    SliderButton& slider = s.widget;
    Panel panel{"panel"};  // the buttons are found where the slider is drawn, offset by its panel
    panel.SetPositionXY(200.0f, 0.0f);
    panel.AddChild(&slider);
    slider.m_Left = ImageBox{AGVec2{20, 20}, AGVec2{0, 0}};
    slider.m_Right = ImageBox{AGVec2{20, 20}, AGVec2{30, 0}};
    slider.m_Value = 0.05f;
    const struct { f32 x; u32 part, hover, pressed; f32 value; } cases[] = {
        {310, 0, 2, 4, 0.0f}, {310, 0, 2, 4, 0.0f}, {340, 1, 3, 5, 0.1f}};
    for (const auto& c : cases) {
        game.Move(a, c.x, 105);
        EXPECT_EQ(slider.m_SliderBehavior.m_Part * 10 + slider.m_SliderBehavior.m_VisualState,
                  c.part * 10 + c.hover);
        game.Click(a, c.x, 105, true);
        EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, c.pressed);
        game.Click(a, c.x, 105, false);
        EXPECT_FLOAT_EQ(slider.m_Value, c.value) << c.x;
    }
    EXPECT_EQ(s[kEventEnter], 1);
    slider.m_Value = 0.95f;
    game.Tap(a, 340, 105);
    game.Tap(a, 340, 105);
    EXPECT_EQ(std::pair(slider.m_Value, s[kEventValueChanged]), std::pair(1.0f, 10));  // press and release
    EXPECT_EQ(s[kEventPress] * 10 + s[kEventClick], 55);
    for (f32 x : {325.0f, 330.0f, 320.0f}) {  // the buttons' edges are neither button
        game.Move(a, x, 105);
        EXPECT_EQ(slider.m_SliderBehavior.m_Part, WidgetSliderButtonBehavior::kNoPart) << x;
    }
    EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, 1u);
    // Leaving below a button: its leave look, kept on coming back between the buttons; the
    // part is not looked up by x alone.
    for (auto [x, look] : {std::pair{310.0f, 0u}, {340.0f, 1u}}) {
        game.Move(a, x, 105);
        game.Move(a, x, 300);
        EXPECT_EQ(slider.m_SliderBehavior.m_Part * 10 + slider.m_SliderBehavior.m_VisualState,
                  WidgetSliderButtonBehavior::kNoPart * 10 + look);
        game.Move(a, 325, 105);
        EXPECT_EQ(slider.m_SliderBehavior.m_VisualState, look) << x;
    }
    panel.m_Children.clear();  // the slider is the test's
}

TEST_F(KeyboardTest, KeysTypeTheirLayoutsCharactersUpToTheLimit) {
    Letter(0);
    keyboard.m_Qwerty = 0;
    keyboard.m_Abcde = 1;
    Letter(25);
    Special(SoftKeyboard::kSpaceKey);
    Special(0);  // a layout key types nothing
    EXPECT_EQ(std::pair(Entered(), text.count), std::pair(std::string("QZ "), 4));
    keyboard.m_MaxEntryTextChar = 3;
    Letter(3);
    EXPECT_EQ(std::pair(Entered(), changed.count), std::pair(std::string("QZ "), 5));
    keyboard.m_MaxEntryTextChar = 24;
    keyboard.m_Abcde = 0;  // no letter order: nothing typed
    Letter(4);
    keyboard.m_Qwerty = 1;
    keyboard.m_KeyGroups[SoftKeyboard::kLetterGroup] = 0;
    Letter(4);
    keyboard.m_KeyGroups[SoftKeyboard::kLetterGroup] = 1;
    keyboard.m_Digits = 1;  // digits type without a click, on the first ten keys only
    Letter(3);
    Letter(10);
    // A hover fires once per new key, and not for a letter beyond the digits.
    EXPECT_EQ(std::tuple(Entered(), click.count, hover.count), std::tuple(std::string("QZ 3"), 7, 7));
    // At the maximum a digit key types nothing, and its events fire as for any key.
    keyboard.m_MaxEntryTextChar = 4;
    Letter(5);
    EXPECT_EQ(std::tuple(Entered(), changed.count, text.count, click.count), std::tuple(std::string("QZ 3"), 9, 9, 8));
    // Unsized, the keys keep finite boxes.
    keyboard.SetWidth(0.0f);
    keyboard.SetHeight(0.0f);
    const HitRectangle box = keyboard.KeyBox(keyboard.m_Letters[11]);
    EXPECT_EQ((std::vector<f32>{box.x, box.maxX}), (std::vector<f32>{60.0f + kPitch, kKey}));
    EXPECT_TRUE(std::isfinite(box.maxY));
}

TEST_F(KeyboardTest, BackspaceReplaceOnTypeAndTypedCharactersArePrintableSingleBytes) {
    for (u32 key = 0; key < 3; ++key)
        Letter(key);
    for (const char* left : {"QW", "Q", "", ""}) {
        Special(SoftKeyboard::kBackspaceKey);
        EXPECT_EQ(Entered(), left);
    }
    for (bool backspace : {false, true}) {
        keyboard.SetText("PLAYER");
        keyboard.m_ReplaceOnType = 1;
        backspace ? Special(SoftKeyboard::kBackspaceKey) : Letter(1);
        EXPECT_TRUE(Entered() == (backspace ? "" : "W") && keyboard.m_ReplaceOnType == 0);
    }
    Letter(1);
    keyboard.m_KeyGroups[SoftKeyboard::kBackspaceGroup] = 0;
    Special(SoftKeyboard::kBackspaceKey);
    EXPECT_EQ(Entered(), "W");
    // Typed characters are printable single bytes.
    keyboard.SetText("");
    const struct { uintptr_t code; const char* after; } cases[] = {
        {'A', "A"}, {9, "A"}, {31, "A"}, {32, "A "}, {127, "A "}, {0x20AC, "A "}, {0x100 + 'B', "A "},
        {160, "A \xA0"}, {8, "A "}, {126, "A ~"}, {159, "A ~"}, {255, "A ~\xFF"}, {256, "A ~\xFF"},
    };
    int fired = text.count;
    for (const auto& c : cases) {
        Type(c.code);
        EXPECT_EQ(std::pair(Entered(), text.count), std::pair(std::string(c.after), ++fired)) << c.code;
    }
    keyboard.SetText("NAME");
    keyboard.m_ReplaceOnType = 1;
    Type(127);  // types nothing: the preset text stays
    EXPECT_EQ(Entered(), "NAME");
    keyboard.Visible = false;
    Type('y');
    EXPECT_EQ(Entered(), "NAME");
}
