// The in-game screen's answer entry, answer countdown and results, and the face-off,
// play-or-pass and turn callbacks. Sequences are started by name on the context's sequence
// manager; the match advances when they end.
#include <algorithm>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/AwardManager.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/ShowSequences.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"

namespace QZ2011 {

namespace {

constexpr i32 kSuddenDeathRoundNumber = 5;
// The families' contestants: 0..3 on the left podium, 4..7 on the right.
constexpr int kContestantsPerSide = 4;

QZ2011GameContext* Context() { return QZ2011GameContext::Current(); }

void Play(QZ2011GameContext* context, const char* sequence) {
    if (GameShow::SequenceManager* sequences = context ? context->GetSequenceManager() : nullptr)
        sequences->PlaySequence(sequence);
}

void Show(ScreenGame::Widget* widget, bool visible) {
    if (widget)
        widget->SetVisible(visible);
}

TString<char> KeyboardText(const GameServices::Widget::SoftKeyboard* keyboard) {
    return keyboard ? keyboard->GetEnteredText() : TString<char>();
}

// One gesture request on the four contestants of a side.
void GestureSide(QZ11Game* game, bool left, u8 QZBehaviorCharacter::*request) {
    if (!game)
        return;
    for (int member = 0; member < kContestantsPerSide; ++member)
        if (QZCharacter* contestant = game->GetContestant((left ? 0 : kContestantsPerSide) + member))
            contestant->m_Behavior.*request = 1;
}

// The seconds the running turn may take: the fast-money turns use the crossed-over keys.
u32 TimeLimit(const QZ2011GameContext& context) {
    if (context.m_GamePhase == PhaseFastMoneyFirstPlayer)
        return context.m_FastMoneySecondTime;
    if (context.m_GamePhase == PhaseFastMoneySecondPlayer)
        return context.m_FastMoneyFirstTime;
    return context.m_QuestionRoundTime;
}

struct HudPlace {
    f32 x[2];
    f32 y;
};

}  // namespace

// ---- Answer entry, countdown and results ----

void ScreenGame::StartAnswerTimer() {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    for (u32 d = 0; d < kDigits; ++d) {
        Show(m_TimerUnits[d], false);
        Show(m_TimerTens[d], false);
    }
    const i32 family = context->m_CurrentFamily;
    if (family == QZ2011GameContext::kComputerFamily) {
        Show(m_AIAnswer, false);
        Show(m_AIBox, true);
        HideComponent(kKeyboardComponent);
    } else {
        ShowComponent(kKeyboardComponent);
    }
    if (family == QZ2011GameContext::kComputerFamily || family == QZ2011GameContext::kPlayerTwoFamily)
        PlayWidgetAnimation(m_TimerPanel, kAnimations[kAnimTimer], 1.0f);
    else if (family == QZ2011GameContext::kPlayerOneFamily)
        PlayWidgetAnimation(m_TimerPanel, kAnimations[kAnimTimerRight], 1.0f);
    Show(m_TimerPanel, true);
    m_CountdownElapsedMs = 0;
    m_CountdownRunning = true;
}

void ScreenGame::onTimerTick() {
    QZ2011GameContext* context = Context();
    if (!m_CountdownRunning || !context)
        return;
    const i64 remaining = i64(TimeLimit(*context)) - i64(m_CountdownElapsedMs / 1000);
    if (remaining < 0)
        onAnswerTimeUp();
    else
        ShowTimerDigits(u32(remaining % 10), u32(remaining / 10));
    m_CountdownLow = remaining <= 5;
    m_CountdownHigh = remaining >= 15;
}

void ScreenGame::ShowTimerDigits(u32 units, u32 tens) {
    for (u32 d = 0; d < kDigits; ++d) {
        Show(m_TimerUnits[d], false);
        Show(m_TimerTens[d], false);
    }
    // Two digits are all the display has: a larger limit shows no tens digit.
    if (units < kDigits)
        Show(m_TimerUnits[units], true);
    if (tens < kDigits)
        Show(m_TimerTens[tens], true);
}

void ScreenGame::onAnswerTimeUp() {
    QZ2011GameContext* context = Context();
    Show(m_TimerPanel, false);
    m_CountdownRunning = false;
    if (!context)
        return;
    if (context->m_GamePhase >= PhaseFastMoneyIntro) {
        onFastMoneyTimeUp();
        return;
    }
    // The turn is over: a waiting computer family drops its answer.
    context->m_AIMayAct = 0;
    context->m_TimeUp = 1;
    context->m_TypedAnswer = KeyboardText(m_SoftKeyboard);
    context->CheckTypedAnswer(context->m_AnswerRecord);
    onAnswerEntered(nullptr);
}

void ScreenGame::onAnswerEntered(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    const i32 phase = context->m_GamePhase;
    if (phase == PhaseFastMoneyFirstPlayer || phase == PhaseFastMoneySecondPlayer) {
        onFastMoneyAnswerEntered();
        return;
    }
    // One answer a turn: whatever was taken, a second Enter or confirm is not judged.
    context->m_AnswerEntryOpen = 0;
    Show(m_TimerPanel, false);
    m_CountdownRunning = false;
    if (context->m_CurrentFamily == QZ2011GameContext::kComputerFamily) {
        Show(m_AIBox, true);
        Show(m_AIAnswer, true);
        m_AnswerTypedChars = 0;
        TypeNextAnswerChar();
    } else {
        context->m_TypedAnswer = KeyboardText(m_SoftKeyboard);
        Show(m_AIBox, false);
    }
    // An answer on the board already, one the screen cannot show, or in sudden death any but
    // the top one, is wrong.
    i32& index = context->m_LastAnswerIndex;
    if (index != -1) {
        const u32 count = m_CurrentQuestion ? std::min(m_CurrentQuestion->AnswerCount(), kBoardRows) : 0;
        if (index < 0 || u32(index) >= count || m_CurrentQuestion->GetAnswer(u32(index)).IsRevealed() ||
            (index != 0 && context->m_RoundCounter == kSuddenDeathRoundNumber)) {
            index = -1;
            if (context->m_AnswerRecord)
                context->m_AnswerRecord->m_AnswerIndex = -1;
        }
    }
    AudioManagerQZ* audio = context->GetAudioManager();
    bool rightFaceOff = false;
    if (context->m_TimeUp && phase != PhaseRoundAnswers) {
        context->m_TimeUp = 0;
        if (index == -1) {
            Play(context, ShowSequenceStem(kSeqTimeIsUp));
            Show(m_AIBox, false);
        } else {
            rightFaceOff = true;
        }
    } else if (phase == PhaseRoundAnswers) {
        if (context->m_TimeUp) {
            // The rules clear the flag once they have ruled on the strike.
            Play(context, ShowSequenceStem(kSeqBlank));
            HideComponent(kKeyboardComponent);
        } else {
            Play(context, ShowSequenceStem(kSeqPreAnswerRound));
        }
    } else if (index == -1) {
        Play(context, ShowSequenceStem(kSeqWrongAnswerFaceOff));
    } else {
        rightFaceOff = true;
    }
    if (rightFaceOff) {
        Play(context, ShowSequenceStem(kSeqRightAnswerFaceOff));
        if (audio)
            audio->SetCrowdCue(AudioManagerQZ::kCrowdCues[index == 0 ? AudioManagerQZ::kCrowdLoud : AudioManagerQZ::kCrowdMedium]);
    }
    if (m_SoftKeyboard)
        m_SoftKeyboard->SetText(TString<char>());
    context->m_AnswerPending = 1;
    if (context->m_AnswerRecord)
        context->GetRoundRules().ScoreRevealedAnswer(*context->m_AnswerRecord);
    // The face-off sequence showed the board before the answer was scored: its row shows now.
    if (rightFaceOff)
        ShowRevealedAnswers();
    AwardManager* awards = context->GetAwardManager();
    if (context->m_TwoPlayers != 0 || !awards)
        return;
    if (context->m_Decade == 2 && m_CountdownLow && context->m_LastAnswerIndex != -1)
        awards->CheckCorrectAnswerInLast5Seconds();
    if (context->m_Decade == 3 && context->m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily &&
        m_CountdownHigh && context->m_LastAnswerIndex == 0)
        awards->CheckTopAnswerIn5Sec();
}

void ScreenGame::onAnswerResult(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    if (context->m_AnswerRecord)
        context->GetRoundRules().DispatchAnswerResult(*context->m_AnswerRecord);
    const i32 phase = context->m_GamePhase;
    const bool owed = phase == PhaseFaceOffFirstAnswer || phase == PhaseFaceOffSecondAnswer ||
                      phase == PhaseSuddenDeathFirstAnswer || phase == PhaseSuddenDeathSecondAnswer;
    if (context->m_AnswerPending && owed) {
        // The other family still owes its face-off or sudden-death answer.
        context->m_AnswerTurnPending = 1;
        if (m_CurrentQuestion && m_QuestionLabel)
            m_QuestionLabel->SetText(m_CurrentQuestion->Text());
        switch (context->m_CurrentFamily) {
        case QZ2011GameContext::kComputerFamily:
            Play(context, ShowSequenceStem(kSeqOtherTeamAnswerRight));
            context->m_AIMayAct = 1;
            PlaceAnswerHud(1);
            break;
        case QZ2011GameContext::kPlayerTwoFamily:
            Play(context, ShowSequenceStem(kSeqOtherTeamAnswerRightParty));
            PlaceAnswerHud(1);
            Show(m_AIBox, false);
            break;
        case QZ2011GameContext::kPlayerOneFamily:
            Play(context, ShowSequenceStem(kSeqOtherTeamAnswerLeft));
            PlaceAnswerHud(0);
            context->m_AIMayAct = 0;
            Show(m_AIBox, false);
            break;
        default:
            break;
        }
    }
    context->m_AnswerPending = 0;
}

void ScreenGame::onAnswerTurn(Member) {
    ShowRevealedAnswers();
    if (QZ2011GameContext* context = Context())
        context->m_AIMayAct = 1;
}

void ScreenGame::ShowRevealedAnswers() {
    QZ2011GameContext* context = Context();
    if (m_CurrentQuestion && context) {
        u32 count = std::min(m_CurrentQuestion->AnswerCount(), kBoardRows);
        if (context->m_RoundCounter == kSuddenDeathRoundNumber)
            count = std::min(count, 1u);
        const bool shifted = UsesShiftedBoard();
        for (u32 i = 0; i < count; ++i) {
            const i32 row = BoardRowOf(i, shifted);
            if (row < 0)
                continue;
            const bool revealed = m_CurrentQuestion->GetAnswer(i).IsRevealed();
            Show(m_AnswerLabels[row], revealed);
            Show(m_FreqLabels[row], revealed);
            Show(m_CenterAnswerLabels[row], revealed);
            Show(m_CenterFreqLabels[row], revealed);
        }
    }
    if (m_Game)
        m_Game->HideAllContestants();
}

void ScreenGame::HideAnswerBoard() {
    Show(m_AnswersBox, false);
    Show(m_CenterAnswersBox, false);
    for (u32 row = 0; row < kBoardRows; ++row) {
        Show(m_AnswerLabels[row], false);
        Show(m_FreqLabels[row], false);
        Show(m_CenterAnswerLabels[row], false);
        Show(m_CenterFreqLabels[row], false);
    }
}

void ScreenGame::PlaceAnswerHud(u32 side) {
    if (side > 1)
        return;
    const struct {
        Widget* widget;
        HudPlace place;
    } panels[] = {{m_AnswersBox, {{247.0f, 59.0f}, 136.0f}},  {m_StrikePanel, {{0.0f, -178.0f}, 0.0f}},
                  {m_TimerPanel, {{489.0f, 45.0f}, 27.0f}},   {m_PoPPanel, {{206.0f, 24.0f}, 107.0f}},
                  {m_AnswersBoxFM, {{156.0f, -25.0f}, 47.0f}}};
    for (const auto& panel : panels)
        if (panel.widget)
            panel.widget->SetPositionXY(panel.place.x[side], panel.place.y);
}

// ---- Face-off, play or pass and turns ----

void ScreenGame::onFaceOffQuestion(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    QuestionManager* questions = context->GetQuestionManager();
    m_CurrentQuestion = questions ? questions->NextQuestion() : nullptr;
    context->m_GamePhase = PhaseFaceOffQuestion;
    if (context->m_RoundCounter == kSuddenDeathRoundNumber) {
        Play(context, SequenceName(kSeqBuzzLeft, 1).c_str());
        return;
    }
    u32 count = m_CurrentQuestion ? m_CurrentQuestion->AnswerCount() : 0;
    const i32 round = context->m_RoundCounter;
    if ((context->m_Decade == 2 || context->m_Decade == 3) && (round == 3 || round == 4))
        count = std::min(count, 6u);
    // A sequence must run for the match to go on: 1 to 8 answers, whatever the question holds.
    count = std::clamp(count, 1u, kBoardRows);
    Play(context, SequenceName(kSeqBuzzLeft, count).c_str());
}

void ScreenGame::onBuzzOpen(Member) { ShowQuestion(m_CurrentQuestion); }

void ScreenGame::onBuzzAccepted(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    if (AudioManagerQZ* audio = context->GetAudioManager(); audio && m_CurrentQuestion)
        audio->StopVoice(m_CurrentQuestion->Id());
    m_QuestionTypingActive = false;
    if (m_Game) {
        const u32 count = m_CurrentQuestion ? std::min(m_CurrentQuestion->AnswerCount(), kBoardRows) : 0;
        m_Game->SetupBoardBlocks(context->m_RoundCounter == kSuddenDeathRoundNumber ? 1 : i32(count));
    }
    // The sequence first: ending the running one steps the phase, which is then set here. The
    // answering family is set before it too: the sequence's opening events start its turn.
    const bool left = context->m_BuzzOwner == 0;
    const i32 family = left                    ? QZ2011GameContext::kPlayerOneFamily
                       : context->m_TwoPlayers ? QZ2011GameContext::kPlayerTwoFamily
                                               : QZ2011GameContext::kComputerFamily;
    PlaceAnswerHud(left ? 0 : 1);
    context->m_CurrentFamily = family;
    Play(context, ShowSequenceStem(left ? kSeqHostNumberAnswerLeft : kSeqHostNumberAnswerRight));
    context->m_CurrentFamily = family;
    context->m_GamePhase =
        context->m_GamePhase == PhaseSuddenDeathBuzz ? PhaseSuddenDeathFirstAnswer : PhaseFaceOffFirstAnswer;
}

void ScreenGame::onFaceOffWon(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    if (m_CurrentQuestion && m_QuestionLabel)
        m_QuestionLabel->SetText(m_CurrentQuestion->Text());
    if (context->m_FaceOffWinner == 1) {
        Play(context, ShowSequenceStem(kSeqPlayOrPassRight));
        if (context->m_TwoPlayers == 0)
            context->m_AIMayAct = 1;
        PlaceAnswerHud(1);
    } else {
        PlaceAnswerHud(0);
        Play(context, ShowSequenceStem(kSeqPlayOrPassLeft));
    }
    if (context->m_CurrentFamily != QZ2011GameContext::kComputerFamily)
        ShowComponent(kPlayOrPassComponent);
    Show(m_AIBox, false);
}

void ScreenGame::ChoosePlayOrPass(Button* button, bool play) {
    QZ2011GameContext* context = Context();
    if (!button || !button->Visible || !context)
        return;
    if (GameShow::SequenceManager* sequences = context->GetSequenceManager())
        sequences->Skip();
    context->m_PlayChosen = play ? 1 : 0;
    if (!play)
        context->SwitchTurn();
    if (m_Game)
        m_Game->FirePlayOrPassChosen();
    context->m_AIMayAct = 0;
}

void ScreenGame::onPlayClicked() { ChoosePlayOrPass(m_PlayButton, true); }

void ScreenGame::onPassClicked() { ChoosePlayOrPass(m_PassButton, false); }

void ScreenGame::onPlayOrPassChosen(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    HideComponent(kPlayOrPassComponent);
    HideComponent(kQuestionComponent);
    Show(m_AIBox, false);
    const bool onePlayer = context->m_TwoPlayers == 0;
    const bool play = context->m_PlayChosen != 0;
    const char* sequence = nullptr;
    bool left = true;
    switch (context->m_CurrentFamily) {
    case QZ2011GameContext::kPlayerOneFamily:
        sequence = ShowSequenceStem(play || !onePlayer ? kSeqTransitionLeftFamily : kSeqPlayOrPassAILeft);
        break;
    case QZ2011GameContext::kPlayerTwoFamily:
        if (!onePlayer)
            sequence = ShowSequenceStem(kSeqTransitionRightFamily);
        left = false;
        break;
    case QZ2011GameContext::kComputerFamily:
        if (onePlayer)
            sequence = ShowSequenceStem(play ? kSeqPlayOrPassAIRight : kSeqTransitionRightFamily);
        left = false;
        break;
    default:
        break;
    }
    if (!sequence)
        return;
    Play(context, sequence);
    if (!m_Game)
        return;
    m_Game->HideAllContestants();
    if (left)
        m_Game->PlaceLeftFamily();
    else
        m_Game->PlaceRightFamily();
    GestureSide(m_Game, left, left ? &QZBehaviorCharacter::ClapFamilyRequest : &QZBehaviorCharacter::ClapRequest);
}

void ScreenGame::onRoundAnswerTurn(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    context->m_AnswerTurnPending = 1;
    switch (context->m_CurrentFamily) {
    case QZ2011GameContext::kComputerFamily:
        Play(context, ShowSequenceStem(kSeqOtherTeamAnswerRight));
        PlaceAnswerHud(1);
        context->m_AIMayAct = 1;
        break;
    case QZ2011GameContext::kPlayerTwoFamily:
        Play(context, ShowSequenceStem(kSeqOtherTeamAnswerRightParty));
        PlaceAnswerHud(1);
        context->m_AIMayAct = 0;
        break;
    case QZ2011GameContext::kPlayerOneFamily:
        Play(context, ShowSequenceStem(kSeqOtherTeamAnswerLeft));
        PlaceAnswerHud(0);
        context->m_AIMayAct = 0;
        break;
    default:
        break;
    }
    ShowComponent(kAnswersComponent);
    ShowComponent(kQuestionComponent);
}

void ScreenGame::onSteal(Member) {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    const i32 family = context->m_CurrentFamily;
    const bool right = family == QZ2011GameContext::kComputerFamily || family == QZ2011GameContext::kPlayerTwoFamily;
    if (m_Game) {
        m_Game->HideAllContestants();
        if (right)
            m_Game->PlaceRightFamily();
        else
            m_Game->PlaceLeftFamily();
    }
    GestureSide(m_Game, !right, right ? &QZBehaviorCharacter::ThinkRequest : &QZBehaviorCharacter::ThinkFamilyRequest);
    Play(context, ShowSequenceStem(right ? kSeqTransitionRightFamily03 : kSeqTransitionLeftFamily03));
    PlaceAnswerHud(right ? 1 : 0);
}

void ScreenGame::onScoreChanged(Member) {
    QZ2011GameContext* context = Context();
    if (!context || !m_Game)
        return;
    const Family* other = context->m_TwoPlayers == 0 ? context->m_ComputerFamily : context->m_PlayerTwoFamily;
    // The displays report a value above 999 and show it all the same.
    m_Game->SetScoreDisplay(false, context->m_PlayerOneFamily ? context->m_PlayerOneFamily->m_Score : 0);
    m_Game->SetScoreDisplay(true, other ? other->m_Score : 0);
    m_Game->SetBankDisplay(i32(context->m_RoundBank));
}

void ScreenGame::onMenuClicked() { GameShow::CompositionManager::Instance().ToggleInGameMenu(); }

void ScreenGame::onRetryYesClicked() {
    if (m_RetryBox && m_RetryBox->Visible)
        SetUpMatch();
}

void ScreenGame::ReturnToMainMenu() {
    QZ2011GameContext* context = Context();
    if (!context)
        return;
    if (m_Game) {
        for (bool right : {false, true})
            if (QZCharacter* avatar = m_Game->GetViewportCharacter(right))
                GameServices::KorvoGame::CharacterManager::Instance()->RemoveAppearance(*avatar);
    }
    context->SetPlayerCursorsVisible(true);
    if (QuestionManager* questions = context->GetQuestionManager())
        questions->SaveProgress();
    GameServices::KorvoGame::GameFlowManager* flow = context->GetGameFlowManager();
    if (!flow)
        return;
    GameServices::KorvoGame::LevelTransitionController* controller = flow->GetController();
    flow->SetNextLevel("GameShowMenu", controller ? controller->GetCurrent() : nullptr, true);
}

void ScreenGame::onSpareEvent12(Member) { ReturnToMainMenu(); }

}  // namespace QZ2011
