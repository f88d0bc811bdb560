// Seeded random damage to a layout, to the navigation file and to the popups file: each must
// load and build, screens and popups loaded, without a crash, a sanitizer report or a hang.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"
#include "tests/support/ByteDamage.h"

using namespace GameServices::Widget;

namespace {

constexpr int kRounds = 5000;

class ScreenFilesFuzz : public widget_test::LayoutFixture {
protected:
    void SetUp() override {
        LayoutFixture::SetUp();
        WriteSamples();
        RunLevel();
    }
    std::string Damaged(const std::string& text) {
        std::string bytes = text;
        DamageBytes(bytes, random, 1 + int(random() % 6));
        return bytes;
    }
    std::mt19937 random{20261207};
};

}  // namespace

TEST_F(ScreenFilesFuzz, DamagedLayoutsBuild) {
    const std::string sample = widget_test::SampleFile("screens/answerscreen.xaml");
    ScreenManager manager;
    manager.LoadNavigation();
    for (int round = 0; round < kRounds; ++round) {
        WriteScreenFile("answerscreen.xaml", Damaged(sample));
        manager.SwitchScreen("AnswerScreen");
        ASSERT_NE(manager.GetCurrentScreen(), nullptr);
        EXPECT_NE(manager.GetCurrentScreen()->m_RootPanel, nullptr);
        manager.CloseCurrentScreen();
        log.Clear();
    }
}

TEST_F(ScreenFilesFuzz, DamagedNavigationFilesLoad) {
    const std::string sample = widget_test::SampleFile("screens/sketch.flow");
    for (int round = 0; round < kRounds; ++round) {
        WriteScreenFile("sketch.flow", Damaged(sample));
        ScreenManager manager;
        manager.LoadNavigation();
        ASSERT_LE(manager.GetOwnedScreens().size(), manager.GetRegisteredScreens().size());
        for (Screen* screen : manager.GetRegisteredScreens()) {
            manager.SwitchScreen(screen->m_ScreenName);
            manager.CloseCurrentScreen();
        }
        log.Clear();
    }
}

TEST_F(ScreenFilesFuzz, DamagedPopupFilesLoad) {
    const std::string sample = widget_test::SampleFile("global/popups.xml");
    ScreenManager manager;
    manager.LoadNavigation();
    manager.SwitchScreen("AnswerScreen");
    for (int round = 0; round < kRounds; ++round) {
        WritePopupsFile(Damaged(sample));
        manager.LoadPopups();
        ASSERT_LE(manager.GetRegisteredPopups().size(), ScreenManager::kPopupPoolSize);
        for (Popup* popup : manager.GetRegisteredPopups()) {
            manager.ShowPopup(popup->Name);
            popup->m_Priority = 1;
        }
        manager.Update(16);
        for (Popup* popup : manager.GetRegisteredPopups())
            manager.HidePopupEntity(popup);
        manager.Update(16);
        log.Clear();
    }
    manager.CloseCurrentScreen();
}
