#include <gtest/gtest.h>

#include <algorithm>

#include "tests/tools/content/DamagedContent.h"

namespace {

// One copy of the sources with one planted fault per layout check; each is told at its
// source line in its own words, and nothing else is.
TEST(CheckLayout, EachPlantedLayoutFaultIsTold) {
    const std::string menu = "content/layouts/menuscreen.txt";
    const std::string startup = "content/layouts/screenstartup.txt";
    const std::string game = "content/layouts/screengame.txt";
    const struct {
        std::string file, from, to, error;
    } faults[] = {
        // A string table text too long for its button.
        {"strings/english.txt", "MENU_QUIT = Quit", "MENU_QUIT = Quit the game and go back to the desktop",
         "menuscreen.txt:72 (MenuXmls/menuscreen.xaml): error: \"exitButton\" shows \"Quit the game and go back to "
         "the desktop\" in \"tvx_sans_24.fon\" at 24 px: only 11 of its 32 characters fit the 220 x 50 box"},
        // Two buttons of one page on top of each other.
        {menu, "button awardsButton 80 350", "button awardsButton 80 300",
         "menuscreen.txt:71 (MenuXmls/menuscreen.xaml): error: \"awardsButton\" (80, 300, 220 x 50) overlaps "
         "\"optionsButton\" (80, 280, 220 x 50) on page \"compositionMainMenu\"; move one, or declare "
         "\"over=optionsButton\" if it is drawn over it on purpose"},
        // A character the font has no glyph for.
        {menu, "Text={70s|80s|90s|00s}", "Text={70s|80s|90s|00s\x95}",
         "menuscreen.txt:94 (MenuXmls/menuscreen.xaml): error: \"Button00s\" shows \"00s\x95\"; its font "
         "\"tvx_sans_24.fon\" has no glyph for 0x95"},
        // A window's sizes in pixels rather than fractions.
        {game, "ImageBorderSize=0.04893,0.08", "ImageBorderSize=16,16",
         "screengame.txt:107 (MenuXmls/screengame.xaml): error: \"PoPBackground\" has ImageBorderSize \"16,16\"; both "
         "values must be fractions of the window's size, from 0 to 1"},
        // A widget past the bottom of the design.
        {startup, "prompt SplashText 150 500 500 50", "prompt SplashText 150 570 500 50",
         "screenstartup.txt:14 (MenuXmls/screenstartup.xaml): error: \"SplashText\" (150, 570, 500 x 50) lies outside "
         "the 800 x 600 design"},
        // The question bank's texts as the match shows them: a computer's answer, a long question
        // in the smaller font the match sets for it.
        {game, "label AIAnswer 12 6 376 88", "label AIAnswer 12 6 330 88",
         "screengame.txt:104 (MenuXmls/screengame.xaml): error: \"AIAnswer\" shows the computer's answer "
         "\"Encyclopedias/Encyclopaedia\" in \"tvx_sans_24.fon\" at 24 px: the word \"Encyclopedias/Encyclopaedia\" "
         "is wider than the 330 x 88 box"},
        {game, "label QuestionLabel 20 3 560 84", "label QuestionLabel 20 3 560 80",
         "screengame.txt:86 (MenuXmls/screengame.xaml): error: \"QuestionLabel\" shows the question \"Thinking back "
         "to a long summer weekend at a caravan park in the 1970s, name something a family would pack into the boot "
         "of the car before setting off early on the Saturday morning.\" in \"RonniaBoldWhite_17\" at 17 px: only "
         "138 of its 147 characters fit the 560 x 80 box"},
        // A declaration of a widget the layout does not hold.
        {startup, "startup_splash.png over=IntroVideo", "startup_splash.png over=IntroVideo,Splosh",
         "screenstartup.txt:13 (MenuXmls/screenstartup.xaml): error: \"Splash\" is declared drawn over \"Splosh\", "
         "which the layout does not hold"},
    };
    DamagedContent content;
    for (const auto& fault : faults)
        content.Replace(fault.file, fault.from, fault.to);
    std::vector<std::string> errors = content.Check({"xml"});
    EXPECT_TRUE(content.BuildErrors().empty());
    for (std::string& error : errors)
        error.erase(0, error.find("layouts/") + 8);
    for (const auto& fault : faults)
        EXPECT_EQ(std::count(errors.begin(), errors.end(), fault.error), 1) << fault.error;
    EXPECT_EQ(errors.size(), std::size(faults)) << ::testing::PrintToString(errors);
}

}  // namespace
