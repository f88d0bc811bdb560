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
        manager.LoadNavigation();
    }
    std::string Damaged(const char* sample) {
        std::string bytes = widget_test::SampleFile(sample);
        DamageBytes(bytes, random, 1 + int(random() % 6));
        log.Clear();
        return bytes;
    }
    std::mt19937 random{20261207};
    ScreenManager manager;
};

}  // namespace

// Each round: a damaged layout shown with damaged popups over it, then a damaged navigation
// file whose every screen is shown by a manager of its own.
TEST_F(ScreenFilesFuzz, DamagedLayoutsPopupsAndNavigationFilesLoad) {
    for (int round = 0; round < kRounds; ++round) {
        WriteScreenFile("answerscreen.xaml", Damaged("screens/answerscreen.xaml"));
        manager.SwitchScreen("AnswerScreen");
        ASSERT_NE(manager.GetCurrentScreen()->m_RootPanel, nullptr);
        WritePopupsFile(Damaged("global/popups.xml"));
        manager.LoadPopups();
        for (Popup* popup : manager.GetRegisteredPopups())
            manager.ShowPopup(popup->Name, 1);
        manager.Update(16);
        for (Popup* popup : manager.GetRegisteredPopups())
            manager.HidePopupEntity(popup);
        manager.Update(16);
        manager.CloseCurrentScreen();
        WriteScreenFile("sketch.flow", Damaged("screens/sketch.flow"));
        ScreenManager fresh;
        fresh.LoadNavigation();
        for (Screen* screen : fresh.GetRegisteredScreens()) {
            fresh.SwitchScreen(screen->m_ScreenName);
            fresh.CloseCurrentScreen();
        }
    }
}
