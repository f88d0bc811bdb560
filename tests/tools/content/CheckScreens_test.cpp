#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/content/DamagedContent.h"

namespace {

// One copy of the sources with one fault per class of the screen checks, each told once in
// its documented form; the written popups and flow are checked against the game as well.
TEST(CheckScreens, EachFaultIsToldAtItsSourceAndTheWrittenPopupsAndFlowAreCheckedAgainstTheGame) {
    DamagedContent content;
    const std::string screenGame = "content/layouts/screengame.txt";
    const std::string menu = "content/layouts/menuscreen.txt";
    const std::string startup = "content/layouts/screenstartup.txt";
    content.Replace(screenGame, "label QuestionLabel ", "label QuestionLabe ");
    content.Replace(screenGame, "keyboard SoftKeyboardWidget 0 0 800 120 MaxEntryTextChar=24",
                    "label SoftKeyboardWidget 0 0 1 1");
    content.Replace(menu, "button DoneButton 560 530 200 50", "button DoneButon 560 530 200 50");
    content.Replace(menu, "keyboard softkeyboard 60 90 680 340 MaxEntryTextChar=8",
                    "keyboard softkeyboard 60 90 680 340 Visibility=visible");
    content.Replace(startup, "image Splash 0 0 800 600", "image Splash 0 0 800 600 Background=#FF00GG00");
    content.Replace(startup, "StringId=SPLASH_PROMPT", "StringId=SPLASH_PROMT");
    // The viewports: one of another kind, one on the other face's component level.
    content.Replace(screenGame, "viewport right3DViewport 10 10 200 130 ComponentLevelName=ComponentAvatarFace_Right",
                    "image right3DViewport 10 10 200 130 ImageDefault=ui_clear.png");
    content.Replace(screenGame, "ComponentLevelName=ComponentAvatarFace_Left", "ComponentLevelName=ComponentAvatarFace_Right");
    EXPECT_EQ(content.Check({"xml"}).size(), 9u);
    EXPECT_TRUE(content.BuildErrors().empty());
    // The tool refuses a priority of 0 itself, so the written file is changed; so are faults the
    // tool would refuse in the written popups and flow: the checker still tells them.
    content.ReplaceBuilt("gsSystem/popups.xml", "<Priority>1</Priority>", "<Priority>0</Priority>");
    const std::string popups = "MenuXmls/gameshowpopups.xml";
    content.ReplaceBuilt(popups, "<Name>PlayerNameNotAvailable</Name>", "<Name>PlayerNameTaken</Name>");
    content.ReplaceBuilt(popups, "<Option Name=\"Cancel\" Text=\"Stay\"", "<Option Name=\"Stay\" Text=\"Stay\"");
    content.ReplaceBuilt(popups, "<Layout>PopupGameMenu.xaml</Layout>", "<Layout>PopupGameMenus.xaml</Layout>");
    content.ReplaceBuilt(popups, "StringId=\"POPUP_QUIT_TITLE\"", "StringId=\"POPUP_QUIT_TITEL\"");
    content.ReplaceBuilt("MenuXmls/sketch.flow", "<FileName>ScreenLoad.xaml</FileName>",
                         "<FileName>ScreenLoading.xaml</FileName>");
    std::vector<std::string> errors = content.Check({});
    std::sort(errors.begin(), errors.end());
    // "data/content/layouts/<file>.txt<line> (MenuXmls/<file>.xaml): error: <text>"
    const auto at = [](const std::string& file, const std::string& line, const std::string& text) {
        return "data/content/layouts/" + file + ".txt" + line + " (MenuXmls/" + file + ".xaml): error: " + text;
    };
    const std::vector<std::string> expected = {
        "data/content/layouts/flow.txt:4 (MenuXmls/sketch.flow): error: screen \"ScreenLoad\" names layout "
        "\"ScreenLoading.xaml\", which no package holds",
        at("menuscreen", "", "page \"compositionWardrobe\" looks up \"DoneButton\", which its root panel does not "
           "hold"),
        at("menuscreen", ":88", "\"softkeyboard\" has Visibility \"visible\"; the game shows a widget only for exactly "
           "\"Visible\""),
        at("menuscreen", ":88", "soft keyboard \"softkeyboard\" sets no MaxEntryTextChar"),
        at("screengame", "", "screen \"ScreenGame\" binds \"QuestionLabel\", which its layout does not hold"),
        at("screengame", ":149", "\"SoftKeyboardWidget\" is a Label; ScreenGame needs a SoftKeyboard"),
        at("screengame", ":48", "viewport \"left3DViewport\" shows the component level \"ComponentAvatarFace_Right\"; "
           "the match loads \"ComponentAvatarFace_Left\" there"),
        at("screengame", ":54", "\"right3DViewport\" is a Image; ScreenGame needs a ViewPort3D"),
        at("screenstartup", ":13", "\"Splash\" has Background \"#FF00GG00\", which is no colour"),
        at("screenstartup", ":14", "\"SplashText\" names string id \"SPLASH_PROMT\", which has no text"),
        "data/content/popups.txt: error: the game shows popup \"PlayerNameNotAvailable\", which no popups "
        "file describes",
        "data/content/popups.txt:24 (gsSystem/popups.xml): error: popup \"Pause\" has priority 0 and would never show",
        "data/content/popups.txt:34 (MenuXmls/gameshowpopups.xml): error: popup \"InGameMenu\" uses layout "
        "\"PopupGameMenus.xaml\", which no package holds",
        "data/content/popups.txt:37 (MenuXmls/gameshowpopups.xml): error: popup \"InGameReturnPrompt\" has "
        "no option \"Cancel\", which the game answers",
        "data/content/popups.txt:37 (MenuXmls/gameshowpopups.xml): error: popup \"InGameReturnPrompt\" has "
        "option \"Stay\", which is no button of PopupConfirm.xaml",
        "data/content/popups.txt:45 (MenuXmls/gameshowpopups.xml): error: popup \"VerifyQuit\" names string "
        "id \"POPUP_QUIT_TITEL\", which has no text",
    };
    EXPECT_EQ(errors, expected);
}

}  // namespace
