#include "gameservices/widget/SoftKeyboard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Widget;
using widget_test::Counter;

namespace {

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
// layout keys, space and backspace in a fourth row.
void LayOut(SoftKeyboard& keyboard) {
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
    keyboard.m_Specials.push_back(MakeKey(0.0f, special, kKey));
    keyboard.m_Specials.push_back(MakeKey(kPitch, special, kKey));
    keyboard.m_Specials.push_back(MakeKey(2.0f * kPitch, special, 3.0f * kKey));
    keyboard.m_Specials.push_back(MakeKey(6.0f * kPitch, special, kKey));
}

class KeyboardTest : public ::testing::Test {
protected:
    KeyboardTest() {
        LayOut(keyboard);
        auto& behavior = keyboard.m_KeyboardBehavior;
        keyboard.AddEventDelegate(kEventClick, &click.delegate);
        keyboard.AddEventDelegate(kEventValueChanged, &changed.delegate);
        behavior.m_KeyHoverEvent.AddDelegate(&hover.delegate);
        behavior.m_TextChangedEvent.AddDelegate(&text.delegate);
    }
    AGVec2 Centre(const SoftKey& key) const {
        const HitRectangle box = keyboard.KeyBox(key);
        return AGVec2{box.x + box.maxX / 2.0f, box.y + box.maxY / 2.0f};
    }
    void Press(const SoftKey& key) {
        const AGVec2 c = Centre(key);
        game.Move(game.members[0], c.x, c.y);
        game.Tap(game.members[0], c.x, c.y);
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

TEST_F(KeyboardTest, KeysTypeTheirLayoutsCharactersUpToTheLimit) {
    Letter(0);
    keyboard.m_Qwerty = 0;
    keyboard.m_Abcde = 1;
    Letter(25);
    Special(SoftKeyboard::kSpaceKey);
    Special(0);  // a layout key types nothing
    EXPECT_EQ(Entered(), "QZ ");
    EXPECT_EQ(text.count, 4);
    keyboard.m_MaxEntryTextChar = 3;
    Letter(3);
    EXPECT_EQ(Entered(), "QZ ");
    EXPECT_EQ(changed.count, 5);
    keyboard.m_MaxEntryTextChar = 24;
    keyboard.m_Abcde = 0;  // no letter order: nothing typed
    Letter(4);
    keyboard.m_Qwerty = 1;
    keyboard.m_KeyGroups[SoftKeyboard::kLetterGroup] = 0;
    Letter(4);
    keyboard.m_KeyGroups[SoftKeyboard::kLetterGroup] = 1;
    keyboard.m_Digits = 1;  // digits type without a click, on the first ten keys only
    Letter(3);
    Letter(12);
    EXPECT_EQ(Entered(), "QZ 3");
    EXPECT_EQ(click.count, 7);
}

TEST_F(KeyboardTest, BackspaceAndReplaceOnType) {
    Letter(0);
    Letter(1);
    Letter(2);
    for (const char* left : {"QW", "Q", "", ""}) {
        Special(SoftKeyboard::kBackspaceKey);
        EXPECT_EQ(Entered(), left);
    }
    for (bool backspace : {false, true}) {
        keyboard.SetText("PLAYER");
        keyboard.m_ReplaceOnType = 1;
        backspace ? Special(SoftKeyboard::kBackspaceKey) : Letter(1);
        EXPECT_EQ(Entered(), backspace ? "" : "W");
        EXPECT_EQ(keyboard.m_ReplaceOnType, 0);
    }
    Letter(1);
    keyboard.m_KeyGroups[SoftKeyboard::kBackspaceGroup] = 0;
    Special(SoftKeyboard::kBackspaceKey);
    EXPECT_EQ(Entered(), "W");
}

TEST_F(KeyboardTest, TypedCharactersArePrintableSingleBytes) {
    const struct {
        uintptr_t code;
        const char* after;
    } cases[] = {
        {'A', "A"}, {31, "A"}, {32, "A "}, {127, "A "}, {0x100 + 'B', "A "}, {160, "A \xA0"}, {8, "A "},
        {126, "A ~"}, {159, "A ~"}, {255, "A ~\xFF"}, {256, "A ~\xFF"},
    };
    int fired = 0;
    for (const auto& c : cases) {
        Type(c.code);
        EXPECT_EQ(Entered(), c.after) << c.code;
        EXPECT_EQ(text.count, ++fired) << c.code;
    }
    keyboard.SetText("NAME");
    keyboard.m_ReplaceOnType = 1;
    Type(127);  // types nothing: the preset text stays
    EXPECT_EQ(Entered(), "NAME");
    keyboard.Visible = false;
    Type('y');
    EXPECT_EQ(Entered(), "NAME");
}

TEST_F(KeyboardTest, KeyHoverFiresOncePerNewKey) {
    const AGVec2 letter = Centre(keyboard.m_Letters[5]);
    const AGVec2 special = Centre(keyboard.m_Specials[SoftKeyboard::kSpaceKey]);
    for (const AGVec2& at : {letter, AGVec2{letter.x + 1.0f, letter.y}, special, AGVec2{special.x + 2.0f, special.y}})
        game.Move(game.members[0], at.x, at.y);
    EXPECT_EQ(hover.count, 2);
    game.Move(game.members[0], 65.0f, 225.0f);  // between keys
    EXPECT_EQ(keyboard.m_HoveredSpecial + keyboard.m_HoveredLetter, -2);
    game.Move(game.members[0], letter.x, letter.y);
    EXPECT_EQ(hover.count, 3);
    game.Move(game.members[0], 700.0f, 10.0f);  // off the keyboard and back: a new hover
    game.Move(game.members[0], letter.x, letter.y);
    EXPECT_EQ(hover.count, 4);
    keyboard.m_Digits = 1;  // no digit on the thirteenth key: no hover event
    const AGVec2 past = Centre(keyboard.m_Letters[12]);
    game.Move(game.members[0], past.x, past.y);
    const AGVec2 digit = Centre(keyboard.m_Letters[3]);
    game.Move(game.members[0], digit.x, digit.y);
    EXPECT_EQ(hover.count, 5);
}

TEST(SoftKeyboard, UnsizedKeyboardsLayOutFiniteKeys) {
    widget_test::TestGame game;
    SoftKeyboard keyboard("sized");
    LayOut(keyboard);
    keyboard.SetWidth(0.0f);
    keyboard.SetHeight(0.0f);
    const HitRectangle box = keyboard.KeyBox(keyboard.m_Letters[11]);
    EXPECT_EQ(box.x, 60.0f + kPitch);
    EXPECT_EQ(box.maxX, kKey);
    EXPECT_TRUE(std::isfinite(box.maxY));
}
