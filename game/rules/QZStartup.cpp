#include "game/rules/QZStartup.h"

#include "engine/core/AGLog.h"
#include "engine/core/AGVideoPlayer.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenWidgets.h"
#include "game/rules/TeamActions.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/Menu.h"

namespace QZ2011 {

using GameServices::Bridge::VideoProcessingSystem;
namespace KG = GameServices::KorvoGame;

QZStartup::QZStartup(const TString<char>& levelName) : BaseMiniGame(levelName) {}

QZStartup::~QZStartup() {
    // A mode that goes while its level runs leaves nothing listening behind.
    VideoProcessingSystem::RemoveVideoEndHandler(&m_VideoEndedDelegate);
    if (KG::TeamActionManager* teams = TeamActions())
        teams->UnlistenTeamAction(&m_ClickDelegate, kTeamActions[kActionClick]);
    // The timer goes with the game's timer manager.
}

ScreenStartup* QZStartup::Screen() const {
    return dynamic_cast<ScreenStartup*>(GameServices::Widget::ScreenManager::Instance().FindScreen(ScreenStartup::kName));
}

GameServices::Widget::Widget* QZStartup::VideoWidget() const {
    ScreenStartup* screen = Screen();
    GameServices::Widget::Panel* root = screen && screen->IsLoaded() ? screen->m_RootPanel : nullptr;
    return root ? GameServices::Widget::Widget::FindChild(kVideoWidget, root) : nullptr;
}

void QZStartup::RegisterLevelDelegates() {
    BaseMiniGame::RegisterLevelDelegates();
    // Registration may run more than once: the listener is there once.
    VideoProcessingSystem::RemoveVideoEndHandler(&m_VideoEndedDelegate);
    VideoProcessingSystem::AddVideoEndHandler(&m_VideoEndedDelegate);
}

void QZStartup::InitializeLevel() {
    BaseMiniGame::InitializeLevel();
    // The second player's cursor stays hidden on the start-up screens.
    const char* second = GameShow::Menu::kCursorNames[1];
    GameServices::Entities::ComponentLevel* cursors =
        m_Set ? m_Set->FindComponentLevel(GameShow::Menu::kCursorLevel) : nullptr;
    GameServices::Entities::Prop* cursor = cursors ? cursors->FindProp(second) : nullptr;
    if (cursor) {
        if (auto* collision = dynamic_cast<KG::CollisionCursor*>(cursor))
            collision->SetProjectionCamera(m_Set->GetActiveCamera());
        cursor->SetVisible(false);
    } else {
        AGReport("QZStartup: no %s in the level's %s", second, GameShow::Menu::kCursorLevel);
    }
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (KG::DeviceManager* devices = context ? context->GetDeviceManager() : nullptr)
        devices->SetDeviceRange(0, 1);
    if (!m_Timer) {
        m_Timer = KG::TimerManager::Instance()->AddTimer();
        if (m_Timer)
            m_Timer->m_Event.AddDelegate(&m_StepDelegate);
    }
    if (KG::TeamActionManager* teams = TeamActions())
        teams->ListenTeamAction(&m_ClickDelegate, kTeamActions[kActionClick]);
    RestartTimer(kDisclaimerMs);
    m_Step = 0;
    m_SplashShown = false;
}

void QZStartup::CleanupLevel() {
    if (KG::TeamActionManager* teams = TeamActions())
        teams->UnlistenTeamAction(&m_ClickDelegate, kTeamActions[kActionClick]);
    VideoProcessingSystem::RemoveVideoEndHandler(&m_VideoEndedDelegate);
    if (m_Timer) {
        // The manager takes back only a timer that is not running.
        StopTimer();
        m_Timer->m_Event.RemoveDelegate(&m_StepDelegate);
        KG::TimerManager::Instance()->RemoveTimer(m_Timer);
        m_Timer = nullptr;
    }
    BaseMiniGame::CleanupLevel();
}

void QZStartup::RestartTimer(u32 ms) {
    if (!m_Timer)
        return;
    m_Timer->m_Duration = ms;
    m_Timer->m_Elapsed = 0;
    m_Timer->m_SingleShot = false;
    m_Timer->m_Active = true;
}

void QZStartup::StopTimer() {
    if (m_Timer)
        m_Timer->m_Active = false;
}

void QZStartup::StartVideo(const char* file) {
    AGVideoPlayer* player = AGVideoPlayer::Get();
    GameServices::Entities::VideoAsset* video =
        player && player->GetImpl() ? VideoProcessingSystem::CreateVideoAsset(m_Set, kVideoAsset, file) : nullptr;
    if (!video) {
        // Nothing would ever report its end: the opening goes on as if it had ended.
        AGReport("QZStartup: the video %s cannot be played", file);
        RestartTimer(kGapMs);
        return;
    }
    // Played to its end once, which moves the opening on.
    video->m_IsLooped = false;
    GameServices::Widget::Widget* widget = VideoWidget();
    if (!widget) {
        VideoProcessingSystem::PlayVideo(m_Set, kVideoAsset);
        return;
    }
    // The screen built again binds the widget to the asset and plays it (it is marked playing).
    using GameServices::Widget::RenderingSystemWidget;
    ScreenStartup* screen = Screen();
    RenderingSystemWidget::Cleanup(screen);
    RenderingSystemWidget::ReleaseLayer(screen);
    RenderingSystemWidget::Initialize(screen);
    RenderingSystemWidget::AttachLayer(screen);
    ShowWidget(widget, true);
}

void QZStartup::OnStep() {
    StopTimer();
    ScreenStartup* screen = Screen();
    switch (m_Step) {
    case 0:
        if (screen)
            ShowWidget(screen->m_Disclaimer, false);
        m_Step = 1;
        RestartTimer(kGapMs);
        break;
    case 1:
    case 2:
    case 3:
        StartVideo(kVideos[m_Step - 1]);
        ++m_Step;
        break;
    case 4:
        VideoProcessingSystem::RemoveVideoEndHandler(&m_VideoEndedDelegate);
        m_Step = kSplashStep;
        RestartTimer(kGapMs);
        break;
    case kSplashStep:
        if (screen) {
            ShowWidget(screen->m_Splash, true);
            ShowWidget(screen->m_SplashText, true);
            screen->m_SplashPulse = true;
            screen->m_SplashPulseFrames = 0;
        }
        m_SplashShown = true;
        break;
    default:
        break;
    }
}

void QZStartup::OnVideoEnded() {
    // Between clips the player has no picture to show.
    ShowWidget(VideoWidget(), false);
    if (m_Set && m_Set->FindVideoAsset(kVideoAsset))
        VideoProcessingSystem::DestroyVideoAsset(m_Set, kVideoAsset);
    RestartTimer(kGapMs);
}

void QZStartup::OnClick(KG::TeamActionData*) {
    // The last gap already counts as the splash step; the click waits for the splash itself.
    if (m_Step != kSplashStep || !m_SplashShown)
        return;
    QZ2011GameContext* context = QZ2011GameContext::Current();
    KG::GameFlowManager* flow = context ? context->GetGameFlowManager() : nullptr;
    if (!flow)
        return;
    KG::LevelTransitionController* controller = flow->GetController();
    flow->SetNextLevel(kMenuLevel, controller ? controller->GetCurrent() : nullptr, true);
}

}  // namespace QZ2011
