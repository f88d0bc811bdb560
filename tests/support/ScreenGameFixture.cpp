#include "tests/support/ScreenGameFixture.h"

#include "gameservices/widget/Widget.h"

namespace screen_game {

namespace {

const char* Element(QZ2011::ScreenGame::WidgetKind kind) {
    using Kind = QZ2011::ScreenGame::WidgetKind;
    switch (kind) {
    case Kind::Text:
        return "GsWidgetLibrary:Label";
    case Kind::Button:
        return "GsWidgetLibrary:Button";
    case Kind::Keyboard:
        return "GsWidgetLibrary:SoftKeyboard";
    case Kind::Window:
        return "GsWidgetLibrary:ResizableWindow";
    case Kind::Plain:
        break;
    }
    return "GsWidgetLibrary:Image";
}

}  // namespace

void ScreenGameFixture::SetUp() {
    MatchStageTest::SetUp();
    Enter(match_stage::StageLevel());
    WriteLayout();
    Screen().SetApplication(&application);
}

void ScreenGameFixture::TearDown() {
    if (Screen().IsLoaded())
        Unload();
    Screen().SetApplication(nullptr);
    MatchStageTest::TearDown();
}

void ScreenGameFixture::WriteLayout(const std::set<std::string>& omit) {
    std::string widgets;
    for (const auto& entry : Screen().WidgetContract()) {
        if (omit.count(entry.name.c_str()))
            continue;
        widgets += std::string("<") + Element(entry.kind) + " Name=\"" + entry.name.c_str() +
                   "\" Margin=\"10,10,0,0\" Width=\"40\" Height=\"20\"/>";
    }
    home.Write("-xml/screen/screengame",
               "<?xml version=\"1.0\" encoding=\"utf-8\"?><UserControl x:Name=\"ScreenGame\" Width=\"800\" "
               "Height=\"600\"><Grid Name=\"Root\" Width=\"800\" Height=\"600\">" +
                   widgets + "</Grid></UserControl>");
}

void ScreenGameFixture::Load() { Screen().onLoad(); }

void ScreenGameFixture::Unload() { Screen().onUnload(); }

void ScreenGameFixture::Frames(int count, u32 ms) {
    for (int i = 0; i < count; ++i)
        context.Update(ms);
}

GameServices::Widget::Widget* ScreenGameFixture::Bound(const std::string& name) {
    return Screen().BoundWidget(name.c_str());
}

bool ScreenGameFixture::Visible(const std::string& name) {
    GameServices::Widget::Widget* widget = Bound(name);
    return widget && widget->Visible;
}

}  // namespace screen_game
