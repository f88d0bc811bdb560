#pragma once
// The opening and the tutorial on a started match harness: their levels and layouts, written
// as a folder package beside the harness and added to its game flow ("LevelStartup" with
// "PlayerCursor1" in its "PlayerCursors" unless left out, on "ScreenStartup"; the tutorial
// levels "QZ11_Tutorial_70".."QZ11_Tutorial_00" on "ScreenTutorial"; layouts holding every
// widget their screens bind), and the probes the tests of the way into a match share.
#include <functional>
#include <string>
#include <vector>

#include "engine/core/AGVideoPlayer.h"
#include "engine/video/PCVideoPlayer.h"
#include "game/QZ2011GameContext.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/widget/ScreenManager.h"
#include "tests/support/MatchHarness.h"
#include "tools/authoring/PackageWriter.h"

namespace opening {

inline std::string Layout(const std::string& name, const std::vector<std::string>& images) {
    std::string body;
    for (const std::string& image : images)
        body += "<GsWidgetLibrary:Image Name=\"" + image + "\" Margin=\"0,0,0,0\" Width=\"64\" Height=\"64\"/>";
    return "<UserControl xmlns:x=\"urn:tallyvox:layout-x\" xmlns:GsWidgetLibrary=\"urn:tallyvox:widgets\" x:Name=\"" +
           name + "\" Width=\"800\" Height=\"600\"><Grid Name=\"" + name +
           "Grid\" Width=\"800\" Height=\"600\" Margin=\"0,0,0,0\">" + body + "</Grid></UserControl>";
}

// The introduction's nine widgets, then the four pages', each followed by its reflection.
inline std::vector<std::string> TutorialWidgets() {
    std::vector<std::string> names = {"TutorialLogo"};
    for (const char* decade : {"70", "80", "90", "00"})
        for (const char* suffix : {"", "Reflection"})
            names.push_back(std::string("TutorialDecade") + decade + suffix);
    for (const char* page : {"FaceOff", "SurveyGame", "300Pts", "FastMoney"})
        for (const char* suffix : {"", "Reflection"})
            names.push_back(std::string("Tutorial") + page + suffix);
    return names;
}

// Writes and mounts the package, appends its levels to the flow and lets every game mode
// follow them; false when the package cannot be written or read.
inline bool AddOpeningLevels(const TempDir& home, QZ2011GameContext& context, bool withCursor = true,
                             const std::vector<authoring::PackageWriter::Entry>& extra = {}) {
    auto level = [](const std::string& name, const std::string& file, const std::string& screen) {
        return "<item><LevelNameId>" + name + "</LevelNameId><LevelFileName>" + file +
               "</LevelFileName><Status>unlock</Status><RunningSceenId>" + screen + "</RunningSceenId></item>";
    };
    authoring::PackageWriter package;
    std::string levels = level("LevelStartup", "LevelStartup", "ScreenStartup");
    for (const char* decade : {"70", "80", "90", "00"}) {
        levels += level("QZ11_Tutorial", std::string("QZ11_Tutorial_") + decade, "ScreenTutorial");
        package.Add(std::string("qz11_tutorial_") + decade + ".xml", 0, "<root><Level><Cameras/></Level></root>");
    }
    package.Add("openinglevels.xml", 0, "<root><LevelTransitions><Levels>" + levels + "</Levels></LevelTransitions></root>");
    package.Add("levelstartup.xml", 0,
                "<root><Level><Cameras/><ComponentLevels><ComponentLevel name=\"PlayerCursors\" loadingMode=\"loadInLayer\">"
                "<Cameras/><Props>" + std::string(withCursor ? "<item><Kind>playercursor</Kind><Name>PlayerCursor1</Name>"
                                                               "<Visible>true</Visible></item>" : "") +
                "</Props></ComponentLevel></ComponentLevels></Level></root>");
    package.Add("screenstartup", 0, Layout("ScreenStartup", {"Disclaimer", "Splash", "SplashText"}));
    package.Add("screentutorial", 0, Layout("ScreenTutorial", TutorialWidgets()));
    for (const auto& entry : extra)
        package.Add(entry.name, entry.typeId, entry.bytes);
    if (!package.WriteFolder(home.File("openinglevels.dir")))
        return false;
    GameServices::Bridge::FileSystem::LoadPackage("openinglevels.dir", false);
    if (!context.GetGameFlowManager()->LoadLevelTransitions("openinglevels.xml"))
        return false;
    for (GameServices::MiniGame::BaseMiniGame* mode : context.GetMiniGames())
        mode->RegisterLevelDelegates();
    return true;
}

// The harness's step, then the video player's update (the application's frame runs it).
inline void Step(match::MatchHarness& harness, u32 ms = 16) {
    harness.Step(ms);
    if (AGVideoPlayer* video = AGVideoPlayer::Get())
        video->Update();
}

// Steps until done() holds; false after the limit.
inline bool StepUntil(match::MatchHarness& harness, const std::function<bool()>& done, u32 limitMs = 20000) {
    for (u32 ms = 0; ms < limitMs; ms += 16, Step(harness))
        if (done())
            return true;
    return done();
}

// The game's video player for applications started while it lives.
struct WithVideoPlayer {
    static AGVideoPlayerImpl* Make() { return new PCVideoPlayer(); }
    WithVideoPlayer() : saved(AGVideoPlayer::s_implFactory) { AGVideoPlayer::s_implFactory = &Make; }
    ~WithVideoPlayer() { AGVideoPlayer::s_implFactory = saved; }
    AGVideoPlayer::ImplFactory saved;
};

template <typename T>
T* Mode(QZ2011GameContext& context) {
    for (GameServices::MiniGame::BaseMiniGame* mode : context.GetMiniGames())
        if (auto* found = dynamic_cast<T*>(mode))
            return found;
    return nullptr;
}

template <typename T>
T* ScreenOf() {
    return dynamic_cast<T*>(GameServices::Widget::ScreenManager::Instance().FindScreen(T::kName));
}

// Asks the flow for the level of that file while its controller takes requests (no level or
// a running one: the flow answers true for a known level even when the controller drops the
// request); true when asked.
inline bool RequestLevel(QZ2011GameContext& context, const char* file) {
    GameServices::KorvoGame::GameFlowManager* flow = context.GetGameFlowManager();
    GameServices::KorvoGame::LevelTransitionController* controller = flow->GetController();
    using Controller = GameServices::KorvoGame::LevelTransitionController;
    const i32 phase = controller ? controller->GetPhase() : i32(Controller::kPhaseNone);
    return (phase == Controller::kPhaseNone || phase == Controller::kPhaseRunning) &&
           flow->SetNextLevel(file, nullptr, false);
}

// The file name of the level the flow was last asked for; empty for none.
inline std::string Requested(QZ2011GameContext& context) {
    GameServices::KorvoGame::LevelTransition* next = context.GetGameFlowManager()->GetNextLevel();
    return next ? next->GetFileName().c_str() : "";
}

}  // namespace opening
