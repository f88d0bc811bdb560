#pragma once
// The levels and layouts of the program's opening and of the tutorial, written as a folder
// package beside a started match harness and added to its game flow: "LevelStartup" (its
// "PlayerCursors" with "PlayerCursor1" unless left out) on "ScreenStartup", and the four
// tutorial levels "QZ11_Tutorial_70".."QZ11_Tutorial_00" on "ScreenTutorial". The layouts hold
// every widget their screens bind.
#include <string>
#include <vector>

#include "engine/core/AGTypes.h"
#include "game/QZ2011GameContext.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/minigame/BaseMiniGame.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"

namespace opening {

inline constexpr const char* kPackage = "openinglevels.dir";
inline constexpr const char* kTransitions = "openinglevels.xml";
inline const char* const kDecades[4] = {"70", "80", "90", "00"};

inline std::string LevelItem(const std::string& name, const std::string& file, const std::string& screen) {
    return "<item><LevelNameId>" + name + "</LevelNameId><LevelFileName>" + file +
           "</LevelFileName><Status>unlock</Status><RunningSceenId>" + screen +
           "</RunningSceenId><StatusModifiers/></item>";
}

inline std::string Image(const std::string& name) {
    return "<GsWidgetLibrary:Image Name=\"" + name + "\" Margin=\"0,0,0,0\" Width=\"64\" Height=\"64\"/>";
}

inline std::string Layout(const std::string& name, const std::vector<std::string>& images) {
    std::string body;
    for (const std::string& image : images)
        body += Image(image);
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><UserControl xmlns:x=\"urn:tallyvox:layout-x\" "
           "xmlns:GsWidgetLibrary=\"urn:tallyvox:widgets\" x:Name=\"" +
           name + "\" Width=\"800\" Height=\"600\"><Grid Name=\"" + name +
           "Grid\" Width=\"800\" Height=\"600\" Margin=\"0,0,0,0\">" + body + "</Grid></UserControl>";
}

inline std::vector<std::string> TutorialWidgets() {
    std::vector<std::string> names = {"TutorialLogo"};
    for (const char* decade : kDecades)
        for (const char* suffix : {"", "Reflection"})
            names.push_back(std::string("TutorialDecade") + decade + suffix);
    for (const char* page : {"FaceOff", "SurveyGame", "300Pts", "FastMoney"})
        for (const char* suffix : {"", "Reflection"})
            names.push_back(std::string("Tutorial") + page + suffix);
    return names;
}

// Writes the package into the harness's folder, mounts it, appends its levels to the flow and
// lets every game mode follow them. False when the package cannot be written.
inline bool AddOpeningLevels(const TempDir& home, QZ2011GameContext& context, bool withCursor = true,
                             const std::vector<authoring::PackageWriter::Entry>& extra = {}) {
    authoring::PackageWriter package;
    std::string levels = LevelItem("LevelStartup", "LevelStartup", "ScreenStartup");
    for (const char* decade : kDecades)
        levels += LevelItem("QZ11_Tutorial", std::string("QZ11_Tutorial_") + decade, "ScreenTutorial");
    package.Add(kTransitions, 0, "<root><LevelTransitions><Levels>" + levels + "</Levels></LevelTransitions></root>");
    const std::string cursor = withCursor ? "<item><Name>PlayerCursor1</Name><Visible>true</Visible></item>" : "";
    package.Add("levelstartup.xml", 0,
                "<root><Level><Cameras/><ComponentLevels><ComponentLevel name=\"PlayerCursors\" loadingMode=\"loadInLayer\">"
                "<Cameras/><Props>" + cursor + "</Props></ComponentLevel></ComponentLevels></Level></root>");
    for (const char* decade : kDecades)
        package.Add(std::string("qz11_tutorial_") + decade + ".xml", 0, "<root><Level><Cameras/></Level></root>");
    package.Add("screenstartup", 0, Layout("ScreenStartup", {"Disclaimer", "Splash", "SplashText"}));
    package.Add("screenload", 0, Layout("ScreenLoad", {"LoadingBG", "LoadingLogo", "LoadingReflection"}));
    package.Add("screentutorial", 0, Layout("ScreenTutorial", TutorialWidgets()));
    for (const auto& entry : extra)
        package.Add(entry.name, entry.typeId, entry.bytes);
    if (!package.WriteFolder(home.File(kPackage)))
        return false;
    GameServices::Bridge::FileSystem::LoadPackage(kPackage, false);
    GameServices::KorvoGame::GameFlowManager* flow = context.GetGameFlowManager();
    if (!flow->LoadLevelTransitions(GameServices::Bridge::FileSystem::GetFilePath(
            GameServices::Bridge::FILE_LEVEL_XML, kTransitions)))
        return false;
    for (GameServices::MiniGame::BaseMiniGame* mode : context.GetMiniGames())
        mode->RegisterLevelDelegates();
    return true;
}

}  // namespace opening
