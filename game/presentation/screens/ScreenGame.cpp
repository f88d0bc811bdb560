#include "game/presentation/screens/ScreenGame.h"

#include "game/QZ2011GameContext.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/minigame/MiniGameManager.h"

namespace QZ2011 {

ScreenGame::ScreenGame() : BaseScreen<ScreenGame>(kName) {
    m_LayoutFile = kName;
    if (GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current())
        m_Game = dynamic_cast<QZ11Game*>(
            GameServices::MiniGame::MiniGameManager::FindMinigame(QZ11Game::kLevelName, game->GetMiniGames()));
    if (QZ2011GameContext* context = QZ2011GameContext::Current())
        context->m_TimeUp = 0;
}

ScreenGame::~ScreenGame() = default;

void ScreenGame::onLoad() { Screen::onLoad(); }

void ScreenGame::Process(u32 elapsedMs) { (void)elapsedMs; }

void ScreenGame::onUnload() { Screen::onUnload(); }

void ScreenGame::onSequenceEvent(const TString<char>& name, const TString<char>& parameter) {
    (void)name;
    (void)parameter;
}

void ScreenGame::SetUpMatch() {}
void ScreenGame::ResetRoundDisplay() {}
void ScreenGame::ApplyDecadeLayout() {}
void ScreenGame::onRoundStart(Member member) {
    (void)member;
    ResetRoundDisplay();
}
void ScreenGame::onIgnoredEvent(Member member) { (void)member; }
void ScreenGame::HideGameWon() {}
void ScreenGame::HideViewport(bool left) { (void)left; }

std::vector<ScreenGame::WidgetEntry> ScreenGame::WidgetContract() { return {}; }

bool ScreenGame::CloseTrampoline(void* screen) { return static_cast<ScreenGame*>(screen)->onWindowClose(); }
void ScreenGame::ActivatedTrampoline(void* screen) { static_cast<ScreenGame*>(screen)->onWindowActivated(); }
void ScreenGame::DeactivatedTrampoline(void* screen) { static_cast<ScreenGame*>(screen)->onWindowDeactivated(); }
void ScreenGame::PlayKeyPressSound() {}
PCApplicationImpl* ScreenGame::Application() const { return m_Application; }
void ScreenGame::BindWidgets() {}
void ScreenGame::ListenWidgets(bool listen) { (void)listen; }
void ScreenGame::SubscribeMatchEvents(bool subscribe) { (void)subscribe; }

}  // namespace QZ2011
