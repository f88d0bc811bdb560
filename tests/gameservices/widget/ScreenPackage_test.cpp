// The sample interface package, mounted in package mode: its navigation, layouts, popups and
// string table make the answer screen and its confirmation popup.
#include <gtest/gtest.h>

#include <string>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/ResourceEnvironment.h"

using namespace GameServices;
using namespace GameServices::Widget;

TEST(ScreenPackage, TheSamplePackageMakesTheAnswerScreenAndItsPopup) {
    ResourceEnvironment env(false);
    GraphicsStartup::RegisterProviders(env.Resources());
    const std::string package = TALLYVOX_SAMPLE_UI_PACKAGE;
    const size_t slash = package.find_last_of('/');
    Bridge::FileSystem::Destroy();
    Bridge::FileSystem::SetRootPath(TString<char>(package.substr(0, slash + 1).c_str()));
    Bridge::FileSystem::UsePackages();
    Bridge::FileSystem::LoadPackage(package.substr(slash + 1).c_str(), false);
    ASSERT_TRUE(Bridge::FileSystem::IsPackageLoaded(package.substr(slash + 1).c_str()));
    Bridge::SetLocalizationLanguage("english");
    Bridge::LoadLocalizationTable("gstrc");
    {
        LogCapture log;
        widget_test::TestGame game;
        ScreenManager manager;
        manager.LoadNavigation();
        manager.LoadPopups();
        manager.SwitchScreen("AnswerScreen");
        Panel* root = manager.GetCurrentScreen()->m_RootPanel;
        auto* keys = static_cast<SoftKeyboard*>(Widget::Widget::FindChild("AnswerKeyboard", root));
        ASSERT_NE(keys, nullptr);
        EXPECT_EQ(keys->m_KeyImages[0], "key_default.png");
        EXPECT_NE(Widget::Widget::FindChild("HintLabel", root), nullptr);
        ASSERT_EQ(manager.GetRegisteredPopups().size(), 1u);
        Popup* popup = manager.GetRegisteredPopups()[0];
        EXPECT_EQ(popup->m_Options[1].m_Text, "No");
        popup->onLoad();
        EXPECT_NE(Widget::Widget::FindChild("ButtonYes", popup->m_Panel), nullptr);
        popup->Close();
        manager.CloseCurrentScreen();
        for (const std::string& line : log.Lines())
            EXPECT_EQ(line.find("Can not read"), std::string::npos) << line;
    }
    Bridge::UnloadLocalizationTable("gstrc");
    Bridge::FileSystem::Destroy();
}
