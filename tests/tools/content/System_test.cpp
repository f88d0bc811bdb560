// The system generators tell a bad source line with its file and line. What the real sources
// build is held by the content checker.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

namespace {

TEST(SystemContent, BadSourceLinesAreErrorsWithTheirPlace) {
    const struct { const char* file; const char* text; const char* error; } cases[] = {
        {"content/runtime.txt", "Game NbPlayer\n", "content/runtime.txt:1: error: expected \"<Section> <Name> <Value>\""},
        {"content/runtime.txt", "A B 1\nA B 2\n", "content/runtime.txt:2: error: \"A\" \"B\" is given twice"},
        {"content/actions.txt", "Click key press mouseleft\n", "content/actions.txt:1: error: a trigger before any"},
        {"content/actions.txt", "context D\n#\nGo key press keyenter\n",
         "content/actions.txt:3: error: key name \"keyenter\" is not in the key table"},
        {"content/actions.txt", "context D\nGo key pressed q\n", "content/actions.txt:2: error: state \"pressed\""},
        {"content/actions.txt", "context D\nGo move - axis-forward\n", "content/actions.txt:2: error: a move trigger"},
        {"content/popups.txt", "layout L.xaml\npopup Popups.xml P 0 L.xaml T\n",
         "content/popups.txt:2: error: popup \"P\" has priority 0 and would never show"},
        {"content/popups.txt", "layout L.xaml button:A\npopup Popups.xml P 1 L.xaml T\noption B T\n",
         "content/popups.txt:3: error: popup \"P\" has option \"B\", which is no button of L.xaml"},
        {"content/popups.txt", "popup Popups.xml P 1 None.xaml T\n", "content/popups.txt:1: error: popup \"P\" uses layout"},
        {"content/popups.txt", "layout L.xaml\npopup Popups.xml P 1 L.xaml T\npopup GameShowPopUps.xml P 1 L.xaml T\n",
         "content/popups.txt:3: error: popup \"P\" is described twice"},
        {"content/popups.txt", "layout L.xaml\npopup Popups.xml P 1 L.xaml MISSING\n",
         "content/popups.txt:2: error: string id \"MISSING\" has no text"},
        {"strings/english.txt", "T = t\nno equals sign\n", "strings/english.txt:2: error: expected \"KEY = text\""},
        {"strings/english.txt", "T = t\n# c\nT=u\n", "strings/english.txt:3: error: string id \"T\" is defined twice"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        for (const char* file : {"content/runtime.txt", "content/actions.txt", "content/popups.txt"})
            dir.Write(file, "");
        dir.Write("strings/english.txt", "T = t\n");
        dir.Write(c.file, c.text);
        content::Output out(dir.Path(), {"gsSystem.dir", "MenuXmls.dir", "gstrcsystem.dir"});
        content::GenerateSystem(out);
        content::GenerateStrings(out);
        ASSERT_FALSE(out.Errors().empty()) << c.text;
        EXPECT_EQ(out.Errors()[0].rfind(c.error, 0), 0u) << out.Errors()[0];
    }
}

}  // namespace
