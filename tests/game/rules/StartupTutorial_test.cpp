// The opening and the tutorial, headless on the match harness (test window, fake clock, pulled
// mixer) with the levels, layouts, intro clips and narrations the tests write.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/AGVideoPlayer.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/video/PCVideoPlayer.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/QZ11Tutorial.h"
#include "game/rules/QZStartup.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/MatchHarness.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/authoring/VideoClipWriter.h"

namespace {

// The opening's and the tutorial's levels and layouts, written as a folder package beside the
// harness and added to its game flow ("LevelStartup" with "PlayerCursor1" in its "PlayerCursors"
// unless left out, on "ScreenStartup"; "QZ11_Tutorial_70".."QZ11_Tutorial_00" on
// "ScreenTutorial"; layouts holding every widget their screens bind).
std::string Layout(const std::string& name, const std::vector<std::string>& images) {
    std::string body;
    for (const std::string& image : images)
        body += "<GsWidgetLibrary:Image Name=\"" + image + "\" Margin=\"0,0,0,0\" Width=\"64\" Height=\"64\"/>";
    return "<UserControl xmlns:x=\"urn:tallyvox:layout-x\" xmlns:GsWidgetLibrary=\"urn:tallyvox:widgets\" x:Name=\"" +
           name + "\" Width=\"800\" Height=\"600\"><Grid Name=\"" + name +
           "Grid\" Width=\"800\" Height=\"600\" Margin=\"0,0,0,0\">" + body + "</Grid></UserControl>";
}

// The introduction's nine widgets, then the four pages', each followed by its reflection.
std::vector<std::string> TutorialWidgets() {
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
bool AddOpeningLevels(const TempDir& home, QZ2011GameContext& context, bool withCursor = true,
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
void Step(match::MatchHarness& harness, u32 ms = 16) {
    harness.Step(ms);
    if (AGVideoPlayer* video = AGVideoPlayer::Get())
        video->Update();
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
bool RequestLevel(QZ2011GameContext& context, const char* file) {
    GameServices::KorvoGame::GameFlowManager* flow = context.GetGameFlowManager();
    GameServices::KorvoGame::LevelTransitionController* controller = flow->GetController();
    using Controller = GameServices::KorvoGame::LevelTransitionController;
    const i32 phase = controller ? controller->GetPhase() : i32(Controller::kPhaseNone);
    return (phase == Controller::kPhaseNone || phase == Controller::kPhaseRunning) &&
           flow->SetNextLevel(file, nullptr, false);
}

using QZ2011::QZStartup;
using QZ2011::ScreenTutorial;
using Widget = GameServices::Widget::Widget;

class OpeningTest : public ::testing::Test {
protected:
    void Begin(bool withCursor = true, const std::vector<authoring::PackageWriter::Entry>& extra = {}) {
        ASSERT_TRUE(harness.Start(1)) << harness.Failure();
        ASSERT_TRUE(AddOpeningLevels(harness.Home(), Context(), withCursor, extra));
        startup = Mode<QZStartup>(Context());
        tutorial = Mode<QZ2011::QZ11Tutorial>(Context());
        ScreenOf<ScreenTutorial>()->SetApplication(harness.Application());
    }
    QZ2011GameContext& Context() { return harness.Context(); }
    // Steps until done() holds; false after the limit.
    bool StepUntil(const std::function<bool()>& done, u32 limitMs = 20000) {
        for (u32 ms = 0; ms < limitMs; ms += 16, Step(harness))
            if (done())
                return true;
        return done();
    }
    // Asks for the level once the flow takes requests and steps until its running screen is loaded.
    bool Enter(const char* file, const GameServices::Widget::Screen& screen) {
        bool asked = false;
        return StepUntil([&] {
            asked = asked || RequestLevel(Context(), file);
            return asked && screen.IsLoaded();
        });
    }
    void Act(const char* action) {
        GameServices::KorvoGame::TeamActionData data(nullptr, 0, harness.PlayerOne());
        Context().GetTeamActionManager()->SimulateTeamAction(&data, action);
    }
    // The file name of the level the flow was last asked for; empty for none.
    std::string Requested() {
        GameServices::KorvoGame::LevelTransition* next = Context().GetGameFlowManager()->GetNextLevel();
        return next ? next->GetFileName().c_str() : "";
    }
    size_t LogLines(const std::string& text) {
        size_t n = 0;
        for (const std::string& line : harness.Lines({match::RecordEntry::Kind::Log}))
            n += line.find(text) != std::string::npos;
        return n;
    }

    WithVideoPlayer video;
    // The program's graphics start-up: widget animations load only with it.
    GraphicsStartup graphics;
    match::MatchHarness harness;
    QZStartup* startup = nullptr;
    QZ2011::QZ11Tutorial* tutorial = nullptr;
};

struct SkipCounter {
    void Hit() { ++count; }
    int count = 0;
    FDelegate<SkipCounter> delegate{this, &SkipCounter::Hit};
};

Widget* Element(const std::string& name) {
    auto* screen = ScreenOf<ScreenTutorial>();
    return screen->m_RootPanel ? Widget::FindChild(name.c_str(), screen->m_RootPanel) : nullptr;
}

// The last frame of the animation the element plays; -1 without one.
float EndFrame(const std::string& name) {
    Widget* element = Element(name);
    return element && element->m_Animation ? element->m_Control.GetEndFrame() : -1.0f;
}

// The tutorial's widgets that show, in layout order.
std::vector<std::string> Shown() {
    std::vector<std::string> shown;
    for (const std::string& name : TutorialWidgets())
        if (Widget* element = Element(name); element && element->Visible)
            shown.push_back(name);
    return shown;
}

}  // namespace

TEST_F(OpeningTest, TheOpeningRunsItsStepsOnTimeAndOnlyTheSplashTakesTheClick) {
    // Sound-only clips of 300 ms: they end when their sound has played.
    authoring::VideoClip clip;
    clip.width = clip.height = 0;
    clip.audioSeconds = 0.3;
    const std::string bytes = authoring::EncodeWindowsMediaClip(clip);
    ASSERT_FALSE(bytes.empty());
    Begin();
    for (const char* file : QZStartup::kVideos)
        harness.Home().Write("video/" + authoring::LowerName(file), bytes);
    const u32 timersBefore = GameServices::KorvoGame::TimerManager::Instance()->GetUsedCount();
    auto* screen = ScreenOf<QZ2011::ScreenStartup>();
    // The opening's clock starts with the level, before its screen shows.
    Context().GetGameFlowManager()->SetNextLevel("LevelStartup", nullptr, false);
    ASSERT_TRUE(StepUntil([&] { return startup->GetTimer() != nullptr; }));
    const uint64_t start = harness.NowMs();
    ASSERT_TRUE(StepUntil([&] { return screen->IsLoaded(); }));
    ASSERT_TRUE(screen->m_Disclaimer && screen->m_Splash && screen->m_SplashText);
    EXPECT_TRUE(screen->m_Disclaimer->Visible && !screen->m_Splash->Visible && !screen->m_SplashText->Visible);
    EXPECT_FALSE(startup->GetSet()->FindComponentLevel("PlayerCursors")->FindProp("PlayerCursor1")->Visible);
    EXPECT_EQ(Context().GetDeviceManager()->GetMaximum(), 1u);

    screen->m_SplashPulseFrames = 7;
    // What shows, at each change; a click every frame until the splash changes nothing.
    std::vector<std::pair<uint64_t, std::string>> moments;
    std::string last;
    ASSERT_TRUE(StepUntil([&] {
        std::string now = screen->m_Disclaimer->Visible ? "disclaimer" : "";
        if (const auto* asset = startup->GetSet()->FindVideoAsset(QZStartup::kVideoAsset))
            now = asset->VolatileDatas.GetVideoData()->m_FileName.c_str();
        if (screen->m_Splash->Visible && screen->m_SplashText->Visible)
            now = "splash";
        if (now != last)
            moments.push_back({harness.NowMs() - start, last = now});
        if (last != "splash")
            Act("Click");
        return last == "splash";
    }));
    EXPECT_EQ(Requested(), "LevelStartup");
    EXPECT_TRUE(screen->m_SplashPulse && screen->m_SplashPulseFrames == 0);
    const std::vector<std::string> order = {"disclaimer", "", QZStartup::kVideos[0], "", QZStartup::kVideos[1], "",
                                            QZStartup::kVideos[2], "", "splash"};
    ASSERT_EQ(moments.size(), order.size());
    // The disclaimer's 5 s, then each gap 150 ms from the end before it (a frame's slack), the
    // last one twice: the step after the last video waits once more.
    EXPECT_NEAR(double(moments[1].first), 5000.0, 16.0);
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(moments[i].second, order[i]);
        if (i % 2 && i + 1 < order.size()) {
            EXPECT_NEAR(double(moments[i + 1].first - moments[i].first), i == 7 ? 300.0 : 150.0, i == 7 ? 32.0 : 16.0);
        }
    }

    // A video that ends at the splash no longer reaches the mode (it would show the splash again).
    screen->m_Splash->SetVisible(false);
    AGVideoPlayerImpl* player = AGVideoPlayer::Get()->GetImpl();
    ASSERT_TRUE(player->Open(harness.Home().File("video/korvologo.vid").c_str()));
    player->Play(false);
    StepUntil([] { return false; }, 700);
    EXPECT_FALSE(screen->m_Splash->Visible);

    // The first click after the splash asks for the menus; leaving undoes the start.
    Act("Click");
    EXPECT_EQ(Requested(), QZStartup::kMenuLevel);
    ASSERT_TRUE(StepUntil([&] { return startup->GetTimer() == nullptr; }));
    EXPECT_EQ(GameServices::KorvoGame::TimerManager::Instance()->GetUsedCount(), timersBefore);
    EXPECT_EQ(startup->GetLevel()->GetStatus(), 5u) << "closed by the base clean-up";
    Context().GetGameFlowManager()->SetNextLevel("LevelStartup", nullptr, false);
    Act("Click");
    EXPECT_EQ(Requested(), "LevelStartup") << "a click reached the mode after its clean-up";
}

TEST_F(OpeningTest, WithoutVideosOrCursorTheOpeningStillReachesTheSplashAndALateEndKeepsTheGap) {
    Begin(false);
    // Timers go back to the pool as their last user left them: here every free one a single
    // shot, which the pool takes back after its first run.
    auto* timers = GameServices::KorvoGame::TimerManager::Instance();
    std::vector<GameServices::KorvoGame::Timer*> taken;
    while (GameServices::KorvoGame::Timer* timer = timers->AddTimer())
        taken.push_back(timer), timer->m_SingleShot = true;
    for (GameServices::KorvoGame::Timer* timer : taken)
        timers->RemoveTimer(timer);
    auto* screen = ScreenOf<QZ2011::ScreenStartup>();
    ASSERT_TRUE(Enter("LevelStartup", *screen));
    EXPECT_EQ(LogLines("no PlayerCursor1"), 1u);
    // An end that comes late, in the middle of a gap, starts the whole gap again.
    ASSERT_TRUE(StepUntil([&] { return startup->GetStep() == 2 && startup->GetTimer()->m_Active; }));
    Step(harness, 96);
    startup->OnVideoEnded();
    const uint64_t late = harness.NowMs();
    ASSERT_TRUE(StepUntil([&] { return startup->GetStep() == 3; }));
    EXPECT_GE(harness.NowMs() - late, 150u);
    EXPECT_TRUE(StepUntil([&] { return screen->m_Splash->Visible && screen->m_SplashText->Visible; }, 3000));
}

// Each narrated step lasts while its narration plays, the fade-out while its animation runs;
// the pages pile up, the survey page's reflection is the decade's, and the end asks for the
// decade's match level once.
TEST_F(OpeningTest, TheTutorialFollowsItsNarrationsAndEndsWithTheDecadesMatchLevel) {
    const u32 lengths[7] = {200, 260, 320, 380, 440, 500, 560};
    for (u32 k = 0; k < 7; ++k)
        harness.AddSound("tutorialflow" + std::to_string(k), lengths[k]);
    // The fade-out lasts 10 frames at 30 a second.
    using authoring::Track;
    Begin(true, {{ScreenTutorial::kFadeOutAnimation, 0, TypeKey::PrscAnimation,
                  authoring::PrscAnimationBytes(10, 30, Track::Vec2().Key(0, {0, 0}), Track::Float(), Track::Vec2(),
                                                Track::Color(), Track::UV())}});
    Context().m_Decade = 3;
    auto* screen = ScreenOf<ScreenTutorial>();
    ASSERT_TRUE(Enter("QZ11_Tutorial_00", *screen));
    EXPECT_EQ(Context().GetAudioManager()->GetSet(), tutorial->GetSet());
    SkipCounter skips;
    screen->m_SkipEvent.AddDelegate(&skips.delegate);
    EXPECT_STREQ(dynamic_cast<GameServices::Widget::Image*>(Element("TutorialSurveyGameReflection"))->m_ImageName.c_str(),
                 "Tutorial_24_Reflection.png");

    // The time each step began, and what showed when it was left.
    std::vector<uint64_t> began(10, 0);
    std::vector<std::vector<std::string>> shownAtEnd(10);
    began[1] = harness.NowMs();
    u8 state = screen->m_State;
    ASSERT_EQ(state, 1);
    std::vector<std::string> shown = Shown();
    ASSERT_TRUE(StepUntil([&] {
        if (screen->m_State != state) {
            EXPECT_EQ(screen->m_State, state + 1);
            shownAtEnd[state] = shown;
            began[state = screen->m_State] = harness.NowMs();
            // The fade-out plays on all nine elements of the introduction.
            for (size_t i = 0; state == 3 && i < 9; ++i)
                EXPECT_EQ(EndFrame(TutorialWidgets()[i]), 9.0f) << i;
        }
        shown = Shown();
        return state == 9;
    }));
    const u32 narrated[] = {1, 2, 4, 5, 6, 7, 8};
    for (u32 k = 0; k < 7; ++k)
        EXPECT_NEAR(double(began[narrated[k] + 1] - began[narrated[k]]), double(lengths[k]), 40.0) << narrated[k];
    EXPECT_NEAR(double(began[4] - began[3]), 10 * 1000.0 / 30, 34.0) << "the fade-out";
    const std::vector<std::string> all = TutorialWidgets();
    EXPECT_EQ(shownAtEnd[2], std::vector<std::string>(all.begin(), all.begin() + 9)) << "the introduction";
    // The pages pile up: two widgets each.
    EXPECT_EQ(shownAtEnd[4], std::vector<std::string>(all.begin() + 9, all.begin() + 11));
    EXPECT_EQ(shownAtEnd[8], std::vector<std::string>(all.begin() + 9, all.end()));
    EXPECT_EQ(Requested(), "QZ11_Game_Level_File_1_00");
    Act("SkipSequence");
    EXPECT_EQ(skips.count, 1) << "one skip event, none after the end";
    screen->m_SkipEvent.RemoveDelegate(&skips.delegate);
}

// A skip during the introduction ends the tutorial at once, and only once; without a decade
// the bare level name is asked for; the focus pauses and resumes the game; leaving the level
// gives back the window and the sound cues.
TEST_F(OpeningTest, ASkipEndsTheIntroductionOnceAndLeavingReleasesWhatTheTutorialHeld) {
    harness.AddSound("tutorialflow0", 2000);
    Begin();
    Context().m_Decade = QZ2011GameContext::kNoDecade;
    auto* screen = ScreenOf<ScreenTutorial>();
    ASSERT_TRUE(Enter("QZ11_Tutorial_00", *screen));
    EXPECT_EQ(std::string(dynamic_cast<GameServices::Widget::Image*>(Element("TutorialSurveyGameReflection"))
                              ->m_ImageName.c_str()).find("Tutorial_2"), std::string::npos);
    SkipCounter skips;
    screen->m_SkipEvent.AddDelegate(&skips.delegate);
    PCApplicationImpl* application = harness.Application();
    ASSERT_EQ(application->GetDeactivatedCallback().object, screen);
    application->GetDeactivatedCallback().fn(screen);
    EXPECT_TRUE(Context().IsPaused());
    application->GetActivatedCallback().fn(screen);
    EXPECT_FALSE(Context().IsPaused());

    Step(harness);
    ASSERT_EQ(screen->m_State, 1);
    for (int skip = 0; skip < 2; ++skip)
        Act("SkipSequence");
    EXPECT_EQ(skips.count, 1);
    Step(harness);
    EXPECT_EQ(LogLines("QZ11_Game_Level_File_1_"), 1u) << "the bare name, reported by the flow";
    // The last step stays, and no page shows after it.
    for (int frame = 0; frame < 5; ++frame)
        screen->Process(16);
    EXPECT_EQ(screen->m_State, 9);
    EXPECT_EQ(Shown().size(), 9u) << "the introduction only";
    screen->m_SkipEvent.RemoveDelegate(&skips.delegate);

    ASSERT_TRUE(StepUntil([&] {
        Context().GetGameFlowManager()->SetNextLevel("LevelStartup", nullptr, false);
        return !screen->IsLoaded() && tutorial->GetSet() == nullptr;
    }));
    // The window's callbacks and the sound cues given back, the panels gone with the screen's unload.
    EXPECT_EQ(std::vector<const void*>({application->GetActivatedCallback().object,
                                        application->GetDeactivatedCallback().object,
                                        Context().GetAudioManager()->GetSet(), screen->m_RootPanel}),
              std::vector<const void*>(4, nullptr));
    screen->m_State = 4;
    Act("SkipSequence");
    EXPECT_EQ(screen->m_State, 4) << "a skip reached the tutorial after it was left";
}
