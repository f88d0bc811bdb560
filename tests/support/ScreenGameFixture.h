#pragma once
// The in-game screen on a started game context: a 70s match level with two crowd props
// entered (the show's sequences loaded, each 100 ms long), a "ScreenGame" layout written with
// every widget the screen binds (labels, buttons, the keyboard and the play-or-pass window of
// their kinds, plain images for the rest), some names left out on request, and the screen loaded
// and unloaded.
#include <set>
#include <string>

#include "engine/core/PCApplicationImpl.h"
#include "game/presentation/screens/ScreenGame.h"
#include "tests/game/rules/MatchStage.h"

namespace GameServices::Widget {
class Widget;
}

namespace screen_game {

class ScreenGameFixture : public match_stage::MatchStageTest {
protected:
    // The base start-up, the 70s level entered, the full layout written, the screen's window
    // callbacks on the fixture's application.
    void SetUp() override;
    // Unloads a loaded screen first.
    void TearDown() override;

    // Writes the layout with every name but the omitted ones.
    void WriteLayout(const std::set<std::string>& omit = {});
    void Load();
    void Unload();

    QZ2011::ScreenGame& Screen() { return context.GetGameScreen(); }
    // The bound widget of that name: the layout's, or the screen's stand-in.
    GameServices::Widget::Widget* Bound(const std::string& name);
    bool Visible(const std::string& name);

    PCApplicationImpl application;
};

}  // namespace screen_game
