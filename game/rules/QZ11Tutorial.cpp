#include "game/rules/QZ11Tutorial.h"

#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/TeamActions.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/widget/ScreenManager.h"

namespace QZ2011 {

namespace KG = GameServices::KorvoGame;

QZ11Tutorial::QZ11Tutorial() : BaseMiniGame(kLevelName) {}

QZ11Tutorial::~QZ11Tutorial() {
    if (KG::TeamActionManager* teams = TeamActions())
        teams->UnlistenTeamAction(&m_SkipDelegate, kTeamActions[kActionSkip]);
    if (ScreenTutorial* screen = Screen())
        screen->m_SkipEvent.RemoveDelegate(&m_DoneDelegate);
}

ScreenTutorial* QZ11Tutorial::Screen() {
    return dynamic_cast<ScreenTutorial*>(
        GameServices::Widget::ScreenManager::Instance().FindScreen(ScreenTutorial::kName));
}

void QZ11Tutorial::InitializeLevel() {
    BaseMiniGame::InitializeLevel();
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (AudioManagerQZ* audio = context ? context->GetAudioManager() : nullptr)
        audio->onInitialize(context->GetSequenceManager(), m_Set);
    if (ScreenTutorial* screen = Screen()) {
        screen->m_SkipEvent.RemoveDelegate(&m_DoneDelegate);
        screen->m_SkipEvent.AddDelegate(&m_DoneDelegate);
    }
    if (KG::TeamActionManager* teams = TeamActions())
        teams->ListenTeamAction(&m_SkipDelegate, kTeamActions[kActionSkip]);
}

void QZ11Tutorial::CleanupLevel() {
    if (KG::TeamActionManager* teams = TeamActions())
        teams->UnlistenTeamAction(&m_SkipDelegate, kTeamActions[kActionSkip]);
    if (ScreenTutorial* screen = Screen())
        screen->m_SkipEvent.RemoveDelegate(&m_DoneDelegate);
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (AudioManagerQZ* audio = context ? context->GetAudioManager() : nullptr)
        audio->onRelease();
    BaseMiniGame::CleanupLevel();
}

void QZ11Tutorial::OnSkipSequence(KG::TeamActionData*) {
    ScreenTutorial* screen = Screen();
    if (!screen || screen->m_State == ScreenTutorial::kLastStep)
        return;
    screen->m_State = ScreenTutorial::kLastStep;
    screen->FireSkip();
}

void QZ11Tutorial::OnTutorialDone() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    KG::GameFlowManager* flow = context ? context->GetGameFlowManager() : nullptr;
    if (!flow)
        return;
    TString<char> level = kMatchLevelPrefix;
    // Another decade leaves the bare prefix, which names no level: the flow reports it.
    if (context->m_Decade < QZ2011GameContext::kNoDecade)
        level = level + TString<char>(ScreenTutorial::kDecades[context->m_Decade]);
    KG::LevelTransitionController* controller = flow->GetController();
    flow->SetNextLevel(level, controller ? controller->GetCurrent() : nullptr, false);
}

}  // namespace QZ2011
