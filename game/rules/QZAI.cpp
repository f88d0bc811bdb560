#include "game/rules/QZAI.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZApplicationData.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/TeamActions.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/minigame/BaseGame.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"

namespace QZ2011 {

namespace {

using GameServices::Bridge::RandomRange;

i32 Draw(u32 min, u32 max) { return i32(RandomRange(min, max)); }

// Tuning comes from level files: sums are taken wide and kept within i32.
i32 Bounded(i64 value) { return i32(std::clamp<i64>(value, INT32_MIN, INT32_MAX)); }

// The d of every decision: 1 to 9.
i32 DrawDecision() { return Draw(1, 10); }

Question* CurrentQuestion(QZ2011GameContext& context) {
    QuestionManager* questions = context.GetQuestionManager();
    return questions ? questions->CurrentQuestion() : nullptr;
}

}  // namespace

void QZAI::Reset() {
    m_State = StateReset;
    m_LoadLevelData = 1;
}

void QZAI::LoadLevelData() {
    m_BuzzCountdown = m_AnswerCountdown = m_PlayOrPassCountdown = m_StealCountdown = m_RoundAnswerCountdown =
        kInitialCountdownMs;
    GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current();
    GameServices::Entities::Set* level = game ? game->GetCurrentLevel() : nullptr;
    auto* data = level ? dynamic_cast<QZApplicationDataLevel*>(level->Attributes.FindApplicationData()) : nullptr;
    if (!data) {
        AGReport("Missing applicationData  for the level !");
        return;
    }
    m_BuzzerSpeed = data->BuzzerSpeed;
    m_AnswerAccuracy = data->AnswerAccuracy;
    m_AnswerDifficulty = data->AnswerDifficulty;
    m_BasicRoundStrength = data->BasicRoundStrength;
    m_Steal = data->Steal;
    m_FamilyName = data->FamilyName;
    m_Female1 = data->Female1;
    m_Female2 = data->Female2;
    m_Male1 = data->Male1;
    m_Male2 = data->Male2;
    if (QZ2011GameContext* context = QZ2011GameContext::Current()) {
        if (context->m_ComputerFamily)
            context->m_ComputerFamily->m_Name = m_FamilyName;
        context->SetSecondFamilyMemberNames(m_Male1, m_Male2, m_Female1, m_Female2);
    }
}

void QZAI::Update(u32 ms) {
    if (m_LoadLevelData) {
        LoadLevelData();
        m_LoadLevelData = 0;
    }
    switch (m_State) {
    case StateReset:
        if (GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current())
            m_TeamActionManager = game->GetTeamActionManager();
        m_State = StateWatch;
        break;
    case StateWatch:
        Watch();
        break;
    case StateBuzz:
        BuzzStep(ms);
        break;
    case StateFaceOffAnswer:
    case StateSuddenDeathAnswer:
        WaitStep(m_AnswerCountdown, ms);
        break;
    case StatePlayOrPass:
        WaitStep(m_PlayOrPassCountdown, ms);
        break;
    case StateRoundAnswer:
        WaitStep(m_RoundAnswerCountdown, ms);
        break;
    case StateSteal:
        WaitStep(m_StealCountdown, ms);
        break;
    default:
        break;
    }
}

void QZAI::Watch() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    const i32 phase = context->m_GamePhase;
    const bool noWinner = context->m_FaceOffWinner == -1;
    const bool ourTurn = context->m_AIMayAct && context->m_CurrentFamily == QZ2011GameContext::kComputerFamily;
    if (noWinner && (phase == PhaseFaceOffBuzz || phase == PhaseSuddenDeathBuzz)) {
        // L: the characters of the question's first line, the longer the later the buzz.
        const Question* question = CurrentQuestion(*context);
        const i64 length = question && question->Text() ? i64(std::strlen(question->Text())) : 0;
        m_BuzzCountdown = Bounded(50 * (length + 10 * Draw(0, 4) + 20 * (9 - i64(m_BuzzerSpeed))));
        m_State = StateBuzz;
    } else if (noWinner && ourTurn && (phase == PhaseFaceOffFirstAnswer || phase == PhaseFaceOffSecondAnswer)) {
        m_AnswerCountdown = 5013 + 200 * Draw(0, 7);
        m_State = StateFaceOffAnswer;
    } else if (noWinner && ourTurn && context->m_RoundCounter == 5 &&
               (phase == PhaseSuddenDeathFirstAnswer || phase == PhaseSuddenDeathSecondAnswer)) {
        m_AnswerCountdown = 4013 + 200 * Draw(0, 7);
        m_State = StateSuddenDeathAnswer;
    } else if (ourTurn && phase == PhaseFaceOffWon) {
        m_PlayOrPassCountdown = 100 * (35 + Draw(0, 8));
        m_State = StatePlayOrPass;
    } else if (ourTurn && phase == PhaseSteal) {
        m_StealCountdown = 8013;
        m_State = StateSteal;
    } else if (ourTurn && phase == PhaseRoundAnswers) {
        m_RoundAnswerCountdown = 6013 + 100 * Draw(0, 11);
        m_State = StateRoundAnswer;
    }
}

void QZAI::BuzzStep(u32 ms) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    m_BuzzCountdown = i64(m_BuzzCountdown) > i64(ms) ? m_BuzzCountdown - i32(ms) : 0;
    // Player one's buzz ends this face-off's countdown: the computer does not buzz after it.
    if (context->m_BuzzOwner == 0) {
        m_State = StateWatch;
        return;
    }
    if (m_BuzzCountdown > 0)
        return;
    context->m_BuzzOwner = 1;
    SendTeamAction(kTeamActions[kActionBuzz], 0);
    m_State = StateWatch;
}

void QZAI::WaitStep(i32& countdown, u32 ms) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    if (!context->m_AIMayAct) {
        // The turn was taken away (the answer time ran out): that was the turn's one answer.
        context->m_AIBusy = 0;
        context->m_AIAnswerStarted = 0;
        m_State = StateWatch;
        return;
    }
    context->m_AIBusy = 1;
    if (!context->m_AIAnswerStarted) {
        countdown = i64(countdown) > i64(ms) ? countdown - i32(ms) : 0;
        if (countdown > 0)
            return;
    }
    context->m_AIAnswerStarted = 0;
    context->m_AIBusy = 0;
    Act();
    m_State = StateWatch;
}

void QZAI::Act() {
    switch (m_State) {
    case StateFaceOffAnswer:
        AnswerWithChance(m_AnswerAccuracy);
        break;
    case StateRoundAnswer:
        AnswerWithChance(m_BasicRoundStrength);
        break;
    case StateSuddenDeathAnswer:
        AnswerTopAnswer();
        break;
    case StateSteal: {
        QZ2011GameContext* context = QZ2011GameContext::Current();
        const Question* question = context ? CurrentQuestion(*context) : nullptr;
        const i32 unfound = question ? i32(question->RemainingRightAnswers()) : 0;
        AnswerWithChance(Bounded(i64(m_Steal) + unfound - 4));
        break;
    }
    case StatePlayOrPass:
        ChoosePlayOrPass();
        break;
    default:
        break;
    }
}

void QZAI::AnswerWithChance(i32 chance) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    Question* question = context ? CurrentQuestion(*context) : nullptr;
    if (DrawDecision() > chance || !PickRight(question))
        PickWrong(question);
}

void QZAI::AnswerTopAnswer() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    Question* question = context ? CurrentQuestion(*context) : nullptr;
    // Only the top answer counts here; it is typed whole and left for the check to find.
    if (DrawDecision() > 2 || !question || question->AnswerCount() == 0) {
        PickWrong(question);
        return;
    }
    const char* text = question->GetAnswer(0).Text();
    EnterAnswer(text ? text : "", 0);
}

bool QZAI::PickRight(Question* question) {
    RightAnswer* answer = question ? question->PickRightAnswer() : nullptr;
    if (!answer)
        return false;
    const char* text = answer->Text() ? answer->Text() : "";
    const char* slash = std::strchr(text, '/');
    const std::string typed = slash ? std::string(text, size_t(slash - text)) : std::string(text);
    EnterAnswer(typed.c_str(), i32(answer - &question->GetAnswer(0)));
    return true;
}

void QZAI::PickWrong(Question* question) {
    const char* text = question ? question->PickWrongAnswer() : "";
    EnterAnswer(text ? text : "", -1);
}

void QZAI::EnterAnswer(const char* text, i32 chosenIndex) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    // Published here as well as by the pick, so that no earlier pick's index is ever checked.
    context->SetChosenAnswerIndex(chosenIndex);
    context->m_TypedAnswer = text;
    context->m_AIMayAct = 0;
    SendTeamAction(kTeamActions[kActionEnterAIAnswer], 0);
}

void QZAI::ChoosePlayOrPass() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    const i32 d = DrawDecision();
    if (d <= 2) {
        context->m_PlayChosen = 0;
        AGReport("IA DECIDED TO PASS (Rand==%i)\n", d);
        context->SwitchTurn();
    } else {
        context->m_PlayChosen = 1;
        AGReport("IA DECIDED TO PLAY (Rand==%i)\n", d);
    }
    context->GetMatchMode().FirePlayOrPassChosen();
    context->m_AIMayAct = 0;
}

}  // namespace QZ2011
