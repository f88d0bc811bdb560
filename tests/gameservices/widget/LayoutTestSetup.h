#pragma once
// Layout, navigation and popups files in a temporary game folder, read outside package mode,
// and the running test game.
#include <memory>
#include <string>

#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/LevelTransitionController.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/FileContents.h"

namespace widget_test {

// A user control of the design size holding the elements (a "Grid" first).
inline std::string Layout(const std::string& elements, int width = 800, int height = 600,
                          const std::string& name = "Window") {
    return "<UserControl xmlns:x=\"urn:x\" xmlns:GsWidgetLibrary=\"urn:w\" x:Name=\"" + name +
           "\" Width=\"" + std::to_string(width) + "\" Height=\"" + std::to_string(height) +
           "\">" + elements + "</UserControl>";
}

inline std::string SampleFile(const std::string& relative) {
    return FileContents(std::string(TALLYVOX_SAMPLE_UI) + "/" + relative);
}

class LayoutFixture : public LevelFixture {
protected:
    void WriteScreenFile(const std::string& name, const std::string& text) const {
        dir.Write("-xml/screen/" + name, text);
    }
    void WritePopupsFile(const std::string& text) const {
        dir.Write("-xml/global/popups.xml", text);
    }
    // The sample screens, navigation and popups.
    void WriteSamples() const {
        for (const char* name : {"answerscreen.xaml", "hintbar.xaml", "popupconfirm.xaml", "sketch.flow"})
            WriteScreenFile(name, SampleFile(std::string("screens/") + name));
        WritePopupsFile(SampleFile("global/popups.xml"));
    }

    // Drives the level-transition controller of the game flow to its running phase with a test
    // level that `level` keeps.
    void RunLevel() {
        using GameServices::KorvoGame::LevelTransitionController;
        GameServices::KorvoGame::sLevelTransition record;
        record.LevelNameId = "Quiz";
        record.Status = "unlock";
        level = std::make_unique<GameServices::KorvoGame::LevelTransition>(record);
        LevelTransitionController* controller = game.flow.GetController();
        controller->RequestLevel(level.get(), nullptr);
        for (int step = 0; step < 2; ++step) {
            controller->Update();
            controller->SetDone(true);
            controller->Update();
        }
        controller->Update();
        ASSERT_EQ(controller->GetPhase(), LevelTransitionController::kPhaseRunning);
    }

    TestGame game;
    std::unique_ptr<GameServices::KorvoGame::LevelTransition> level;
};

}  // namespace widget_test
