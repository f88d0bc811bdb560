// The opening and the tutorial, headless on the match harness (test window, fake clock, pulled
// mixer) with the levels, layouts, intro clips and narrations the tests write.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/PCApplicationImpl.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/QZ11Tutorial.h"
#include "game/rules/QZStartup.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/OpeningLevels.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/authoring/VideoClipWriter.h"

namespace {

using opening::ScreenOf;
using QZ2011::QZStartup;
using QZ2011::ScreenTutorial;
using Widget = GameServices::Widget::Widget;

class OpeningTest : public ::testing::Test {
protected:
    void Begin(bool withCursor = true, const std::vector<authoring::PackageWriter::Entry>& extra = {}) {
        ASSERT_TRUE(harness.Start(1)) << harness.Failure();
        ASSERT_TRUE(opening::AddOpeningLevels(harness.Home(), Context(), withCursor, extra));
        startup = opening::Mode<QZStartup>(Context());
        tutorial = opening::Mode<QZ2011::QZ11Tutorial>(Context());
        ScreenOf<ScreenTutorial>()->SetApplication(harness.Application());
    }
    QZ2011GameContext& Context() { return harness.Context(); }
    bool StepUntil(const std::function<bool()>& done, u32 limitMs = 20000) {
        return opening::StepUntil(harness, done, limitMs);
    }
    // Asks for the level once the flow takes requests and steps until its running screen is loaded.
    bool Enter(const char* file, const GameServices::Widget::Screen& screen) {
        bool asked = false;
        return StepUntil([&] {
            asked = asked || opening::RequestLevel(Context(), file);
            return asked && screen.IsLoaded();
        });
    }
    void Act(const char* action) {
        GameServices::KorvoGame::TeamActionData data(nullptr, 0, harness.PlayerOne());
        Context().GetTeamActionManager()->SimulateTeamAction(&data, action);
    }
    std::string Requested() { return opening::Requested(Context()); }
    size_t LogLines(const std::string& text) {
        size_t n = 0;
        for (const std::string& line : harness.Lines({match::RecordEntry::Kind::Log}))
            n += line.find(text) != std::string::npos;
        return n;
    }

    opening::WithVideoPlayer video;
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

// The tutorial's widgets that show, in layout order.
std::vector<std::string> Shown() {
    std::vector<std::string> shown;
    for (const std::string& name : opening::TutorialWidgets())
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
    opening::Step(harness, 96);
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
        }
        shown = Shown();
        return state == 9;
    }));
    const u32 narrated[] = {1, 2, 4, 5, 6, 7, 8};
    for (u32 k = 0; k < 7; ++k)
        EXPECT_NEAR(double(began[narrated[k] + 1] - began[narrated[k]]), double(lengths[k]), 40.0) << narrated[k];
    EXPECT_NEAR(double(began[4] - began[3]), 10 * 1000.0 / 30, 34.0) << "the fade-out";
    const std::vector<std::string> all = opening::TutorialWidgets();
    EXPECT_EQ(shownAtEnd[2], std::vector<std::string>(all.begin(), all.begin() + 9)) << "the introduction";
    // The pages pile up: two widgets each.
    EXPECT_EQ(shownAtEnd[4], std::vector<std::string>(all.begin() + 9, all.begin() + 11));
    EXPECT_EQ(shownAtEnd[8], std::vector<std::string>(all.begin() + 9, all.end()));
    EXPECT_EQ(skips.count, 1);
    EXPECT_EQ(Requested(), "QZ11_Game_Level_File_1_00");
    Act("SkipSequence");
    EXPECT_EQ(skips.count, 1) << "a skip after the end";
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

    opening::Step(harness);
    ASSERT_EQ(screen->m_State, 1);
    for (int skip = 0; skip < 2; ++skip)
        Act("SkipSequence");
    EXPECT_EQ(skips.count, 1);
    opening::Step(harness);
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
    EXPECT_EQ(application->GetActivatedCallback().object, nullptr);
    EXPECT_EQ(application->GetDeactivatedCallback().object, nullptr);
    EXPECT_EQ(Context().GetAudioManager()->GetSet(), nullptr);
    EXPECT_EQ(screen->m_RootPanel, nullptr) << "the panels go with the screen's unload";
    screen->m_State = 4;
    Act("SkipSequence");
    EXPECT_EQ(screen->m_State, 4) << "a skip reached the tutorial after it was left";
}
