// The in-game screen's menu, window events, quit confirmation and achievement notice.
#include "engine/core/PCApplicationImpl.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/rules/Family.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/Widget.h"
#include "gameservices/widget/WidgetBehavior.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"

namespace QZ2011 {

namespace {

using GameShow::CompositionManager;

constexpr const char* kVerifyQuit = "VerifyQuit";
constexpr const char* kInGameMenu = CompositionManager::kInGameMenu;
constexpr const char* kInGameReturnPrompt = CompositionManager::kInGameReturnPrompt;

// The in-game popup the state names; null for none.
const char* InGamePopup(i32 state) {
    if (state == CompositionManager::kPopupMenu)
        return kInGameMenu;
    return state == CompositionManager::kPopupReturnPrompt ? kInGameReturnPrompt : nullptr;
}

// A shown widget under the point whose behaviour takes input and has a click or press listener,
// searched below the panel among its shown children.
bool ClickableAt(const GameServices::Widget::Panel& panel, const AGVec2& point) {
    using namespace GameServices::Widget;
    for (Widget* child : panel.m_Children) {
        if (!child || !child->Visible)
            continue;
        if (const auto* inner = dynamic_cast<const Panel*>(child); inner && ClickableAt(*inner, point))
            return true;
        WidgetBehavior* behavior = child->GetBehavior();
        if (!behavior || !behavior->IsInteractable() ||
            behavior->m_Events[kEventClick].Count() + behavior->m_Events[kEventPress].Count() == 0)
            continue;
        HitRectangle place = child->WindowHit();
        if (Widget::HitTest(place, point))
            return true;
    }
    return false;
}

void Pause(bool paused) {
    if (GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get())
        game->SetPause(paused);
}

}  // namespace

bool ScreenGame::onWindowClose() {
    if (m_QuitConfirmed)
        return true;
    CompositionManager& menus = CompositionManager::Instance();
    GameServices::Widget::ScreenManager& screens = GameServices::Widget::ScreenManager::Instance();
    // The prompt takes the place of the in-game popup; the popup state stays for the cancel.
    if (const char* popup = InGamePopup(menus.m_PopupState))
        screens.HidePopup(popup);
    menus.PopupVisibilityChanged.Fire(true);
    screens.ShowPopup(kVerifyQuit);
    m_VerifyQuitShown = true;
    m_QuitPromptOpen = true;
    return false;
}

void ScreenGame::onQuitConfirmed() {
    m_QuitConfirmed = true;
    // The posted close request comes back to onWindowClose, which now lets it through.
    if (PCApplicationImpl* application = Application())
        application->Quit();
}

void ScreenGame::onQuitCancelled() {
    m_VerifyQuitShown = false;
    m_QuitPromptOpen = false;
    CompositionManager& menus = CompositionManager::Instance();
    if (const char* popup = InGamePopup(menus.m_PopupState)) {
        menus.PopupVisibilityChanged.Fire(true);
        GameServices::Widget::ScreenManager::Instance().ShowPopup(popup);
    }
}

bool ScreenGame::onWindowDeactivated() {
    Pause(true);
    return true;
}

bool ScreenGame::onWindowActivated() {
    // The game stays paused under the quit prompt and the in-game popups.
    if (!m_VerifyQuitShown && CompositionManager::Instance().m_PopupState == CompositionManager::kPopupNone)
        Pause(false);
    return true;
}

void ScreenGame::onUnPauseAction(GameServices::KorvoGame::TeamActionData*) {
    // Under the quit prompt Escape does nothing: the prompt has its own buttons.
    CompositionManager& menus = CompositionManager::Instance();
    if (!m_QuitPromptOpen && InGamePopup(menus.m_PopupState))
        menus.ToggleInGameMenu();
}

bool ScreenGame::ControlAt(f32 x, f32 y) const {
    return IsLoaded() && m_RootPanel && m_RootPanel->Visible && ClickableAt(*m_RootPanel, AGVec2{x, y});
}

void ScreenGame::onAchievementUnlocked(Member) { ShowComponent(kAchievementComponent); }

void ScreenGame::ShowAchievementPanel() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (m_AchievementText)
        m_AchievementText->SetText(context ? context->GetUnlockedAwardName() : TString<char>());
    for (Widget* widget : {static_cast<Widget*>(m_AchievementBox), static_cast<Widget*>(m_AchievementText)})
        if (widget)
            widget->SetVisible(true);
    if (m_AchievementStar)
        m_AchievementStar->SetVisible(false);
    PlayWidgetAnimation(m_AchievementBG, kAnimations[kAnimAchievmentPanel], 1.0f);
    PlayWidgetAnimation(m_AchievementTitle, kAnimations[kAnimAchievmentPanel], 1.0f);
    PlayWidgetAnimation(m_AchievementText, kAnimations[kAnimAchievmentPanel], 1.0f);
    PlayWidgetAnimation(m_AchievementMedal, kAnimations[kAnimAchievementMedal], 1.0f);
    PlayWidgetAnimation(m_AchievementStar, kAnimations[kAnimAchievmentPanel], 1.0f);
    // A second unlock restarts the animations; the time shown keeps counting from the first.
    m_AchievementShowing = true;
}

void ScreenGame::HideAchievementPanel() {
    if (m_AchievementStar)
        m_AchievementStar->SetVisible(false);
    PlayWidgetAnimation(m_AchievementBG, kAnimations[kAnimPanel], 1.0f);
    PlayWidgetAnimation(m_AchievementTitle, kAnimations[kAnimPanel], 1.0f);
    PlayWidgetAnimation(m_AchievementText, kAnimations[kAnimPanel], 1.0f);
    PlayWidgetAnimation(m_AchievementMedal, kAnimations[kAnimMedal], 1.0f);
    PlayWidgetAnimation(m_AchievementStar, kAnimations[kAnimPanel], 1.0f);
}

void ScreenGame::ShowComputerDecision(bool play) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    const Family* computer = context ? context->m_ComputerFamily : nullptr;
    const TString<char> text = TString<char>("The ") + (computer ? computer->m_Name : TString<char>()) + " decided to " +
                               (play ? "play" : "pass");
    if (m_AIDecideLabel)
        m_AIDecideLabel->SetText(text);
    PlayWidgetAnimation(m_AIDecidePanel, kAnimations[kAnimFadeInBlack], 1.0f);
    if (m_AIDecidePanel)
        m_AIDecidePanel->SetVisible(true);
}

}  // namespace QZ2011
