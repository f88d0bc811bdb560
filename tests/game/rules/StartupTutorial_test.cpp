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
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/QZ11Tutorial.h"
#include "game/rules/QZStartup.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "tests/support/MatchHarness.h"
#include "tests/support/OpeningLevels.h"
#include "tools/authoring/VideoClipWriter.h"

namespace {

using QZ2011::QZStartup;
using QZ2011::ScreenTutorial;
namespace KG = GameServices::KorvoGame;

template <typename T>
T* Find(QZ2011GameContext& context) {
    for (GameServices::MiniGame::BaseMiniGame* mode : context.GetMiniGames())
        if (auto* found = dynamic_cast<T*>(mode))
            return found;
    return nullptr;
}

template <typename T>
T* ScreenOf() {
    return dynamic_cast<T*>(GameServices::Widget::ScreenManager::Instance().FindScreen(T::kName));
}

AGVideoPlayerImpl* MakeVideoPlayer() { return new PCVideoPlayer(); }

class OpeningTest : public ::testing::Test {
protected:
    OpeningTest() : savedVideoFactory(AGVideoPlayer::s_implFactory) { AGVideoPlayer::s_implFactory = &MakeVideoPlayer; }
    ~OpeningTest() override { AGVideoPlayer::s_implFactory = savedVideoFactory; }

    void Begin(bool withCursor = true) {
        ASSERT_TRUE(harness.Start(1)) << harness.Failure();
        ASSERT_TRUE(opening::AddOpeningLevels(harness.Home(), Context(), withCursor));
        startup = Find<QZStartup>(Context());
        tutorial = Find<QZ2011::QZ11Tutorial>(Context());
        ASSERT_TRUE(startup && tutorial);
    }
    QZ2011GameContext& Context() { return harness.Context(); }
    KG::GameFlowManager& Flow() { return *Context().GetGameFlowManager(); }
    void Step(u32 ms = 16) {
        harness.Step(ms);
        if (AGVideoPlayer* video = AGVideoPlayer::Get())
            video->Update();
    }
    // Steps until done() holds; false after the limit.
    bool StepUntil(const std::function<bool()>& done, u32 limitMs = 20000) {
        for (u32 ms = 0; ms < limitMs; ms += 16) {
            if (done())
                return true;
            Step();
        }
        return done();
    }
    // Asks for the level and steps until its running screen is loaded.
    bool Enter(const std::string& file, const GameServices::Widget::Screen& screen) {
        Flow().SetNextLevel(file.c_str(), nullptr, false);
        return StepUntil([&] { return screen.IsLoaded(); });
    }
    void Act(const char* action) {
        KG::TeamActionData data(nullptr, 0, harness.PlayerOne());
        Context().GetTeamActionManager()->SimulateTeamAction(&data, action);
    }
    // The file name of the level the flow was last asked for; empty for none.
    std::string Requested() {
        KG::LevelTransition* next = Flow().GetNextLevel();
        return next ? next->GetFileName().c_str() : "";
    }
    size_t LogLines(const std::string& text) {
        size_t n = 0;
        for (const std::string& line : harness.Lines({match::RecordEntry::Kind::Log}))
            n += line.find(text) != std::string::npos;
        return n;
    }

    AGVideoPlayer::ImplFactory savedVideoFactory;
    match::MatchHarness harness;
    QZStartup* startup = nullptr;
    QZ2011::QZ11Tutorial* tutorial = nullptr;
};

// What the opening shows, sampled each frame: one entry per change, with its time.
struct Moment {
    uint64_t ms;
    std::string what;
};

}  // namespace

TEST_F(OpeningTest, TheOpeningRunsItsStepsOnTimeAndOnlyTheSplashTakesTheClick) {
    // Sound-only clips of 300 ms: they end when their sound has played.
    authoring::VideoClip clip;
    clip.width = clip.height = 0;
    clip.audioSeconds = 0.3;
    const std::string bytes = authoring::EncodeWindowsMediaClip(clip);
    ASSERT_FALSE(bytes.empty());
    Begin();
    std::vector<std::string> files;
    for (const char* file : QZStartup::kVideos) {
        std::string lower = file;
        for (char& c : lower)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        harness.Home().Write("video/" + lower, bytes);
        files.push_back(file);
    }
    const u32 timersBefore = KG::TimerManager::Instance()->GetUsedCount();
    auto* screen = ScreenOf<QZ2011::ScreenStartup>();
    ASSERT_NE(screen, nullptr);
    // The opening's clock starts with the level, before its screen shows.
    Flow().SetNextLevel("LevelStartup", nullptr, false);
    ASSERT_TRUE(StepUntil([&] { return startup->GetTimer() != nullptr; }));
    const uint64_t start = harness.NowMs();
    ASSERT_TRUE(StepUntil([&] { return screen->IsLoaded(); }));
    ASSERT_TRUE(screen->m_Disclaimer && screen->m_Splash && screen->m_SplashText);
    EXPECT_TRUE(screen->m_Disclaimer->Visible);
    EXPECT_FALSE(screen->m_Splash->Visible || screen->m_SplashText->Visible);
    const auto* cursors = startup->GetSet()->FindComponentLevel("PlayerCursors");
    ASSERT_NE(cursors, nullptr);
    EXPECT_FALSE(cursors->FindProp("PlayerCursor1")->Visible);
    EXPECT_EQ(Context().GetDeviceManager()->GetMinimum(), 0u);
    EXPECT_EQ(Context().GetDeviceManager()->GetMaximum(), 1u);

    std::vector<Moment> moments;
    std::string last;
    auto sample = [&] {
        std::string now = screen->m_Disclaimer->Visible ? "disclaimer" : "";
        if (const auto* video = startup->GetSet()->FindVideoAsset(QZStartup::kVideoAsset))
            now = video->VolatileDatas.GetVideoData() ? std::string(video->VolatileDatas.GetVideoData()->m_FileName.c_str())
                                                      : "?";
        if (screen->m_Splash->Visible && screen->m_SplashText->Visible)
            now = "splash";
        if (now != last)
            moments.push_back({harness.NowMs() - start, last = now});
    };
    // Clicks before the splash change nothing.
    ASSERT_TRUE(StepUntil([&] {
        sample();
        if (last == "splash")
            return true;
        Act("Click");
        return false;
    }));
    EXPECT_EQ(Requested(), "LevelStartup");
    EXPECT_TRUE(screen->m_SplashPulse);

    std::vector<std::string> order;
    for (const Moment& moment : moments)
        order.push_back(moment.what);
    ASSERT_EQ(order, (std::vector<std::string>{"disclaimer", "", files[0], "", files[1], "", files[2], "", "splash"}));
    // The disclaimer's 5 s, then each gap 150 ms from the end before it (one frame's slack),
    // the last one twice: the step after the last video waits once more; each clip plays
    // about its length.
    EXPECT_NEAR(double(moments[1].ms), 5000.0, 16.0);
    for (size_t gap = 1; gap < moments.size(); gap += 2)
        EXPECT_NEAR(double(moments[gap + 1].ms - moments[gap].ms), gap == 7 ? 300.0 : 150.0, gap == 7 ? 32.0 : 16.0)
            << "after " << moments[gap - 1].what;
    for (size_t video = 2; video <= 6; video += 2)
        EXPECT_NEAR(double(moments[video + 1].ms - moments[video].ms), 300.0, 80.0) << moments[video].what;

    // The first click after the splash asks for the menus; leaving undoes the start.
    Act("Click");
    EXPECT_EQ(Requested(), QZStartup::kMenuLevel);
    ASSERT_TRUE(StepUntil([&] { return startup->GetTimer() == nullptr; }));
    EXPECT_EQ(KG::TimerManager::Instance()->GetUsedCount(), timersBefore);
    Flow().SetNextLevel("LevelStartup", nullptr, false);
    Act("Click");
    EXPECT_EQ(Requested(), "LevelStartup") << "a click reached the mode after its clean-up";
}

TEST_F(OpeningTest, WithoutVideosOrCursorTheOpeningStillReachesTheSplashAndALateEndKeepsTheGap) {
    Begin(false);
    auto* screen = ScreenOf<QZ2011::ScreenStartup>();
    ASSERT_TRUE(screen && Enter("LevelStartup", *screen));
    EXPECT_EQ(LogLines("no PlayerCursor1"), 1u);
    ASSERT_TRUE(screen->m_Splash);
    ASSERT_TRUE(StepUntil([&] { return startup->GetStep() == 2; }));
    // An end that comes late, in the middle of a gap, starts the whole gap again.
    ASSERT_TRUE(StepUntil([&] { return startup->GetStep() == 2 && startup->GetTimer()->m_Active; }));
    Step(96);
    startup->OnVideoEnded();
    const uint64_t late = harness.NowMs();
    ASSERT_TRUE(StepUntil([&] { return startup->GetStep() == 3; }));
    EXPECT_GE(harness.NowMs() - late, 150u);
    ASSERT_TRUE(StepUntil([&] { return screen->m_Splash->Visible; }, 3000));
    EXPECT_TRUE(screen->m_SplashText->Visible);
    Act("Click");
    EXPECT_EQ(Requested(), QZStartup::kMenuLevel);
}
