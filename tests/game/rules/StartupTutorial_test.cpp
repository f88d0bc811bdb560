// The opening, headless on the match harness (test window, fake clock, pulled mixer) with the
// level, layout and intro clips the test writes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/AGVideoPlayer.h"
#include "engine/video/PCVideoPlayer.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/rules/QZStartup.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"
#include "tests/game/rules/MatchStage.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/MatchHarness.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/VideoClipWriter.h"

namespace {

// Writes and mounts the opening's level ("LevelStartup" with "PlayerCursor1" in its
// "PlayerCursors", on "ScreenStartup" with the three widgets it binds) as a folder package
// beside the harness, appends it to the flow and lets every game mode follow it.
bool AddOpeningLevel(const TempDir& home, QZ2011GameContext& context) {
    authoring::PackageWriter package;
    package.Add("openinglevels.xml", 0,
                "<root><LevelTransitions><Levels><item><LevelNameId>LevelStartup</LevelNameId><LevelFileName>"
                "LevelStartup</LevelFileName><Status>unlock</Status><RunningSceenId>ScreenStartup</RunningSceenId>"
                "</item></Levels></LevelTransitions></root>");
    package.Add("levelstartup.xml", 0,
                "<root><Level><Cameras/><ComponentLevels><ComponentLevel name=\"PlayerCursors\" loadingMode="
                "\"loadInLayer\"><Cameras/><Props><item><Kind>playercursor</Kind><Name>PlayerCursor1</Name>"
                "<Visible>true</Visible></item></Props></ComponentLevel></ComponentLevels></Level></root>");
    std::string images;
    for (const char* image : {"Disclaimer", "Splash", "SplashText"})
        images += std::string("<GsWidgetLibrary:Image Name=\"") + image +
                  "\" Margin=\"0,0,0,0\" Width=\"64\" Height=\"64\"/>";
    package.Add("screenstartup", 0,
                "<UserControl xmlns:x=\"urn:tallyvox:layout-x\" xmlns:GsWidgetLibrary=\"urn:tallyvox:widgets\" "
                "x:Name=\"ScreenStartup\" Width=\"800\" Height=\"600\"><Grid Name=\"ScreenStartupGrid\" "
                "Width=\"800\" Height=\"600\" Margin=\"0,0,0,0\"><GsWidgetLibrary:Video Name=\"IntroVideo\" "
                "VideoAssetName=\"video\" Width=\"64\" Height=\"64\"/>" + images + "</Grid></UserControl>");
    if (!package.WriteFolder(home.File("openinglevels.dir")))
        return false;
    GameServices::Bridge::FileSystem::LoadPackage("openinglevels.dir", false);
    if (!context.GetGameFlowManager()->LoadLevelTransitions("openinglevels.xml"))
        return false;
    for (GameServices::MiniGame::BaseMiniGame* mode : context.GetMiniGames())
        mode->RegisterLevelDelegates();
    return true;
}

// The game's video player for applications started while it lives.
struct WithVideoPlayer {
    WithVideoPlayer() : saved(AGVideoPlayer::s_implFactory) { AGVideoPlayer::s_implFactory = &CreatePCVideoPlayer; }
    ~WithVideoPlayer() { AGVideoPlayer::s_implFactory = saved; }
    AGVideoPlayer::ImplFactory saved;
};

using QZ2011::QZStartup;

class OpeningTest : public ::testing::Test {
protected:
    QZ2011GameContext& Context() { return harness.Context(); }
    // Steps (the harness's, then the video player's update as the application's frame runs it)
    // until done() holds; false after the limit.
    bool StepUntil(const std::function<bool()>& done, u32 limitMs = 20000) {
        for (u32 ms = 0; ms < limitMs; ms += 16) {
            if (done())
                return true;
            harness.Step(16);
            if (AGVideoPlayer* video = AGVideoPlayer::Get())
                video->Update();
        }
        return done();
    }
    void Act(const char* action) { match_stage::SendAction(Context(), action, harness.PlayerOne()); }
    // The file name of the level the flow was last asked for; empty for none.
    std::string Requested() {
        GameServices::KorvoGame::LevelTransition* next = Context().GetGameFlowManager()->GetNextLevel();
        return next ? next->GetFileName().c_str() : "";
    }

    // The opening level with sound-only clips of 300 ms (they end when their sound has played).
    void Open() {
        authoring::VideoClip clip;
        clip.width = clip.height = 0, clip.audioSeconds = 0.3;
        const std::string bytes = authoring::EncodeWindowsMediaClip(clip);
        ASSERT_FALSE(bytes.empty());
        ASSERT_TRUE(harness.Start(1)) << harness.Failure();
        ASSERT_TRUE(AddOpeningLevel(harness.Home(), Context()));
        for (GameServices::MiniGame::BaseMiniGame* mode : Context().GetMiniGames())
            startup = startup ? startup : dynamic_cast<QZStartup*>(mode);
        for (const char* file : QZStartup::kVideos)
            harness.Home().Write("video/" + authoring::LowerName(file), bytes);
        timersBefore = GameServices::KorvoGame::TimerManager::Instance()->GetUsedCount();
        screen = dynamic_cast<QZ2011::ScreenStartup*>(
            GameServices::Widget::ScreenManager::Instance().FindScreen(QZ2011::ScreenStartup::kName));
    }
    // What shows, at each change, from start (a clip not on its widget is unseen); a click every
    // frame until the splash changes nothing.
    void RunToTheSplash() {
        screen->m_SplashPulseFrames = 7;
        std::string last;
        ASSERT_TRUE(StepUntil([&] {
            std::string now = screen->m_Disclaimer->Visible ? "disclaimer" : "";
            const auto* clips = GameServices::Widget::Widget::FindChild(QZStartup::kVideoWidget, screen->m_RootPanel);
            if (const auto* asset = startup->GetSet()->FindVideoAsset(QZStartup::kVideoAsset))
                now = asset->VolatileDatas.GetVideoData()->m_FileName.c_str() +
                      std::string(clips->Visible && clips->VolatileDatas.GetVideoAsset() == asset ? "" : " unseen");
            if (screen->m_Splash->Visible && screen->m_SplashText->Visible)
                now = "splash";
            if (now != last)
                moments.push_back({harness.NowMs() - start, last = now});
            if (last != "splash")
                Act("Click");
            return last == "splash";
        }));
    }

    WithVideoPlayer video;
    // The program's graphics start-up: widget animations load only with it.
    GraphicsStartup graphics;
    match::MatchHarness harness;
    QZStartup* startup = nullptr;
    QZ2011::ScreenStartup* screen = nullptr;
    u32 timersBefore = 0;
    uint64_t start = 0;
    std::vector<std::pair<uint64_t, std::string>> moments;
};

}  // namespace

TEST_F(OpeningTest, TheOpeningRunsItsStepsOnTime) {
    ASSERT_NO_FATAL_FAILURE(Open());
    // The opening's clock starts with the level, before its screen shows.
    Context().GetGameFlowManager()->SetNextLevel("LevelStartup", nullptr, false);
    ASSERT_TRUE(StepUntil([&] { return startup->GetTimer() != nullptr; }));
    start = harness.NowMs();
    ASSERT_TRUE(StepUntil([&] { return screen->IsLoaded(); }));
    ASSERT_TRUE(screen->m_Disclaimer && screen->m_Splash && screen->m_SplashText);
    EXPECT_TRUE(screen->m_Disclaimer->Visible && !screen->m_Splash->Visible && !screen->m_SplashText->Visible);
    EXPECT_TRUE(!startup->GetSet()->FindComponentLevel("PlayerCursors")->FindProp("PlayerCursor1")->Visible &&
                Context().GetDeviceManager()->GetMaximum() == 1u);

    ASSERT_NO_FATAL_FAILURE(RunToTheSplash());
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
}

// Only the splash takes the click: it asks for the menus; leaving undoes the start.
TEST_F(OpeningTest, OnlyTheSplashTakesTheClick) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Context().GetGameFlowManager()->SetNextLevel("LevelStartup", nullptr, false);
    ASSERT_TRUE(StepUntil([&] { return screen->IsLoaded(); }));
    ASSERT_NO_FATAL_FAILURE(RunToTheSplash());
    EXPECT_EQ(Requested(), "LevelStartup") << "clicks before the splash change nothing";
    // Past its videos the opening follows video ends no more, though it was registered twice.
    using Videos = GameServices::Bridge::VideoProcessingSystem;
    struct : IDelegate {
        bool ended = false;
        void Invoke() override { ended = true; }
    } probe;
    Videos::AddVideoEndHandler(&probe);
    Videos::CreateVideoAsset(startup->GetSet(), QZStartup::kVideoAsset, QZStartup::kVideos[0])->m_IsLooped = false;
    Videos::PlayVideo(startup->GetSet(), QZStartup::kVideoAsset);
    EXPECT_TRUE(StepUntil([&] { return probe.ended; }));
    EXPECT_NE(startup->GetSet()->FindVideoAsset(QZStartup::kVideoAsset), nullptr);
    Videos::RemoveVideoEndHandler(&probe);
    Videos::DestroyVideoAsset(startup->GetSet(), QZStartup::kVideoAsset);
    Act("Click");
    EXPECT_EQ(Requested(), QZStartup::kMenuLevel);
    ASSERT_TRUE(StepUntil([&] { return startup->GetTimer() == nullptr; }));
    EXPECT_EQ(GameServices::KorvoGame::TimerManager::Instance()->GetUsedCount(), timersBefore);
    EXPECT_EQ(startup->GetLevel()->GetStatus(), 5u) << "closed by the base clean-up";
    Context().GetGameFlowManager()->SetNextLevel("LevelStartup", nullptr, false);
    Act("Click");
    EXPECT_EQ(Requested(), "LevelStartup") << "a click reached the mode after its clean-up";
    // Started again, the opening waits for its own splash.
    startup->InitializeLevel();
    EXPECT_FALSE(startup->IsSplashShown());
    startup->CleanupLevel();
}

TEST_F(OpeningTest, AModeGoneLeavesNoVideoEndHandler) {
    ASSERT_NO_FATAL_FAILURE(Open());
    // A mode that goes while it listens leaves the video player without its end handler.
    {
        QZStartup gone("LevelGone");
        gone.RegisterLevelDelegates();
    }
    struct Peek : AGVideoPlayerImpl {
        static IDelegate* Handler(const AGVideoPlayerImpl& player) { return player.*(&Peek::m_finishHandler); }
    };
    ASSERT_TRUE(AGVideoPlayer::Get() && AGVideoPlayer::Get()->GetImpl());
    EXPECT_EQ(Peek::Handler(*AGVideoPlayer::Get()->GetImpl()), nullptr);
}
