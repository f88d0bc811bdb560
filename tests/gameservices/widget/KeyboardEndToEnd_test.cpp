// Window messages through the devices, the device system and the team actions to an
// on-screen keyboard: pointer clicks on its keys and typed characters fill its entry text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameservices/entities/Team.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "tests/gameservices/bridge/systems/InputHarness.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::KorvoGame;
using GameServices::Widget::SoftKey;
using GameServices::Widget::SoftKeyboard;

namespace {

struct TextRecorder {
    void On() { texts.push_back(keyboard->GetEnteredText().c_str()); }
    SoftKeyboard* keyboard = nullptr;
    std::vector<std::string> texts;
    FDelegate<TextRecorder> delegate{this, &TextRecorder::On};
};

}  // namespace

TEST(KeyboardEndToEnd, ClicksAndTypedCharactersFillTheEntryText) {
    InputHarness input;
    ASSERT_TRUE(input.Started());
    ActionsFolder folder;
    folder.WriteContext("Default", ActionItem("Moves", "move", "axis-all") +
                                       ActionItem("Click", "button", "mouseleft", "none"));
    GameServices::Bridge::DeviceSystem devices;
    DeviceManager deviceManager;
    ActionManager actions;
    actions.SetActionContext("Default");
    devices.Startup();
    TeamActionManager teams{actions, deviceManager};
    teams.SetEnabled(true);
    GameServices::Entities::BaseTeamMember player;
    player.m_DeviceId = 0;
    teams.SetMember(0, &player);
    LogCapture log;

    // The sample keyboard: at (60, 220), 680 x 340, QWERTY keys of 56 x 56 spaced 10, the
    // first row of ten at (0, 80).
    SoftKeyboard keyboard("keyboard");
    keyboard.SetPositionXY(60.0f, 220.0f);
    keyboard.SetWidth(680.0f);
    keyboard.SetHeight(340.0f);
    keyboard.m_MaxEntryTextChar = 24;
    keyboard.m_QwertyChars = "QWERTYUIOPASDFGHJKLZXCVBNM";
    for (u32 i = 0; i < 26; ++i) {
        SoftKey key;
        key.x = static_cast<f32>(i % 10) * 66.0f;
        key.y = 80.0f + static_cast<f32>(i / 10) * 66.0f;
        key.maxX = 56.0f;
        key.maxY = 56.0f;
        keyboard.m_Letters.push_back(key);
    }
    TextRecorder recorder;
    recorder.keyboard = &keyboard;
    keyboard.m_KeyboardBehavior.m_TextChangedEvent.AddDelegate(&recorder.delegate);

    for (i32 x : {88, 154}) {
        input.MoveTo(x, 328);
        input.Frame(devices);
        input.Button(true);
        input.Frame(devices);
        input.Button(false);
        input.Frame(devices);
        input.Frame(devices);
    }
    input.Type(u'A');
    input.Frame(devices);
    input.Frame(devices);
    input.Type(char16_t(8));
    input.Frame(devices);
    input.Frame(devices);

    EXPECT_EQ(recorder.texts, (std::vector<std::string>{"Q", "QW", "QWA", "QW"}));
    EXPECT_EQ(keyboard.GetEnteredText(), "QW");
    EXPECT_FALSE(log.Contains("de-synchronization"));
}
