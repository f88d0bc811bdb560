#include "tests/support/ScreenGameFixture.h"

#include "gameservices/widget/Widget.h"
#include "tests/support/MatchShowData.h"

namespace screen_game {

void ScreenGameFixture::SetUp() {
    MatchStageTest::SetUp();
    Enter({.crowd = 2});
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
    home.Write("-xml/screen/screengame", match::ScreenGameLayout(Screen(), omit));
}

void ScreenGameFixture::Load() { Screen().onLoad(); }

void ScreenGameFixture::Unload() { Screen().onUnload(); }

GameServices::Widget::Widget* ScreenGameFixture::Bound(const std::string& name) {
    return Screen().BoundWidget(name.c_str());
}

bool ScreenGameFixture::Visible(const std::string& name) {
    GameServices::Widget::Widget* widget = Bound(name);
    return widget && widget->Visible;
}

}  // namespace screen_game
