// The in-game screen's fast-money entry and reveal.
#include <string>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/presentation/screens/ScreenWidgets.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/ShowSequences.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/PlayerProfileManager.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"

namespace QZ2011 {

namespace {

constexpr u32 kQuestions = QZ2011GameContext::kFastMoneyAnswers;
// Points of both players that win the top prize.
constexpr i32 kGoal = 200;
constexpr i32 kTopPrize = 20000;
// Below the goal the family earns this much per point.
constexpr i32 kPrizePerPoint = 5;

void SetText(GameServices::Widget::Label* label, const TString<char>& text) {
    if (label)
        label->SetText(text);
}

void SetConfirmLabel(GameServices::Widget::Button* confirm, const char* text) {
    if (!confirm)
        return;
    confirm->m_TextStyle.m_Text = text;
    GameServices::Widget::RenderingSystemWidget::UpdateText(*confirm);
}

// An answer label left empty marks an entry without an answer.
bool IsEmpty(const GameServices::Widget::Label* label) { return !label || label->m_TextStyle.m_Text.IsEmpty(); }

TString<char> TypedText(const ScreenGame& screen) {
    return screen.m_SoftKeyboard ? screen.m_SoftKeyboard->GetEnteredText() : TString<char>();
}

void ClearTypedText(ScreenGame& screen) {
    if (screen.m_SoftKeyboard)
        screen.m_SoftKeyboard->SetText("");
}

void Play(QZ2011GameContext& context, const char* sequence) {
    if (GameShow::SequenceManager* sequences = context.GetSequenceManager())
        sequences->PlaySequence(sequence);
}

// The question of a fast-money index: drawn from the bank (its line stored for the second
// player) or loaded again by its stored line. The manager owns one current question and frees
// the previous one at each load, so the screen takes the new one at once.
Question* TakeQuestion(ScreenGame& screen, QZ2011GameContext& context, u32 index, bool fromBank) {
    QuestionManager* questions = context.GetQuestionManager();
    if (!questions || index >= kQuestions)
        return nullptr;
    screen.m_CurrentQuestion =
        fromBank ? questions->NextQuestion() : questions->LoadQuestion(context.m_FastMoneyQuestionIds[index]);
    if (!screen.m_CurrentQuestion) {
        AGReport("ScreenGame : no question for fast money question %u", index + 1);
        return nullptr;
    }
    if (fromBank)
        context.m_FastMoneyQuestionIds[index] = screen.m_CurrentQuestion->Index();
    return screen.m_CurrentQuestion;
}

void AskQuestion(ScreenGame& screen, QZ2011GameContext& context, u32 index, bool fromBank) {
    if (Question* question = TakeQuestion(screen, context, index, fromBank))
        screen.ShowQuestion(question);
}

// A turn starts: the keyboard its opening showed takes the answers from here on.
void OpenEntry(ScreenGame& screen, QZ2011GameContext& context) {
    if (!screen.m_SoftKeyboard || !screen.m_SoftKeyboard->Visible)
        return;
    screen.LockAnswerEntry(false);
    ClearTypedText(screen);
    context.m_AnswerEntryOpen = 1;
}

// Prizes go to the profile of player one, when one is assigned.
void AddPrize(i32 amount) {
    GameShow::PlayerProfile* profile = GameShow::PlayerProfileManager::Instance()->GetProfile(0);
    if (!profile) {
        AGReport("ScreenGame : no profile takes the fast money prize of %d", amount);
        return;
    }
    profile->Score += u32(amount > 0 ? amount : 0);
}

// A prize or a fast-money award reaches the save before the player can leave.
void SaveEarnings() { GameShow::PlayerProfileManager::Instance()->SaveUnsavedChanges(); }

void GestureFamily(QZ11Game* game, bool left, u8 QZBehaviorCharacter::*request) {
    for (int member = 0; member < 4; ++member)
        if (QZCharacter* contestant = game ? game->GetContestant((left ? 0 : 4) + member) : nullptr)
            contestant->m_Behavior.*request = 1;
}

// One of the two players' turns.
bool InTurn(const QZ2011GameContext& context) {
    return context.m_GamePhase == PhaseFastMoneyFirstPlayer || context.m_GamePhase == PhaseFastMoneySecondPlayer;
}

bool OnePlayer(const QZ2011GameContext& context) { return context.m_TwoPlayers == 0; }

void CheckAllTops(ScreenGame& screen, QZ2011GameContext& context) {
    AwardManager* awards = context.GetAwardManager();
    if (awards && OnePlayer(context) && screen.m_FastMoneyRevealCount == kQuestions && context.m_Decade == 2) {
        awards->CheckGiveAllTopsFM();
        screen.m_FastMoneyRevealCount = 0;
    }
}

void CheckPrizeAwards(QZ2011GameContext& context, i32 prize, i32 points, bool topPrize) {
    AwardManager* awards = context.GetAwardManager();
    if (!awards || !OnePlayer(context))
        return;
    if (context.m_Decade == 1)
        awards->CheckEarnDollarsFM(prize);
    if (context.m_Decade == 1 && topPrize)
        awards->CheckWin20K();
    if (context.m_Decade == 3)
        awards->CheckEarnPointsFM(points);
}

// Past the entries without an answer, up to the last entry of the player.
void SkipEmptyEntries(ScreenGame& screen) {
    u32& r = screen.m_FastMoneyRevealIndex;
    while (r != 4 && r != 9 && r + 1 < ScreenGame::kFastMoneyRows && IsEmpty(screen.m_AnswerLabelsFM[r + 1]))
        ++r;
}

void PlayGoodbye(QZ2011GameContext& context) {
    context.m_GamePhase = PhaseGameOver;
    Play(context, ShowSequenceStem(context.m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily ? kSeqSeeYouLeft
                                                                                                  : kSeqSeeYouRight));
}

// Ends a player's turn: the reveal of the player's entries begins, at once when the first
// has no answer.
void EndTurn(ScreenGame& screen, QZ2011GameContext& context) {
    const u32 first = screen.m_FastMoneyFirstEntry;
    if (first < ScreenGame::kFastMoneyRows && IsEmpty(screen.m_AnswerLabelsFM[first])) {
        screen.m_FastMoneyRevealIndex = first;
        screen.onFastMoneyReveal(nullptr);
    } else {
        Play(context, SequenceName(kSeqFastMoneyReveal, 1).c_str());
    }
}

// After an entry: the next question in order, else a passed one from the pass cursor on,
// else the end of the turn.
void NextEntry(ScreenGame& screen, QZ2011GameContext& context, u32 slot) {
    const u32 base = screen.m_FastMoneyFirstEntry;
    const u32 question = slot - base;
    if (screen.m_FastMoneyEntering && question + 1 < kQuestions) {
        // The first player draws new questions; the second is asked the first player's.
        AskQuestion(screen, context, question + 1, base == 0);
        context.m_FastMoneyAnswerIndex = question + 1;
        if (question + 2 == kQuestions)
            screen.m_FastMoneyEntering = false;
        return;
    }
    screen.m_FastMoneyEntering = false;
    i32 passed = -1;
    if (context.m_FastMoneyStepFlag) {
        const u32 cursor = screen.m_FastMoneyRangeBegin < kQuestions ? screen.m_FastMoneyRangeBegin : 0;
        for (u32 i = cursor; i < kQuestions && passed < 0; ++i)
            if (context.m_FastMoneyAnswered[i])
                passed = i32(i);
        for (u32 i = 0; i <= cursor && passed < 0; ++i)
            if (context.m_FastMoneyAnswered[i])
                passed = i32(i);
    }
    if (passed < 0) {
        context.m_FastMoneyStepFlag = 0;
        context.m_GamePhase = PhaseFastMoneyReveal;
        context.m_FastMoneyAnswerIndex = question + 1;
        context.m_AnswerEntryOpen = 0;
        EndTurn(screen, context);
        ShowWidget(screen.m_TimerPanel, false);
        screen.m_CountdownRunning = false;
        return;
    }
    context.m_FastMoneyAnswered[passed] = 0;
    AskQuestion(screen, context, u32(passed), false);
    context.m_FastMoneyAnswerIndex = u32(passed);
    screen.m_FastMoneyRangeBegin = u32(passed) + 1;
    context.m_FastMoneyStepFlag = 0;
    for (u32 i = 0; i < kQuestions; ++i)
        if (context.m_FastMoneyAnswered[i]) {
            context.m_FastMoneyStepFlag = 1;
            screen.m_FastMoneyRangeEnd = i;
        }
    // Past the last question still passed, the cursor starts over from the first.
    if (screen.m_FastMoneyRangeBegin > screen.m_FastMoneyRangeEnd)
        screen.m_FastMoneyRangeBegin = 0;
}

}  // namespace

void ScreenGame::onFastMoneyStart(Member) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    m_FastMoneyRevealCount = 0;
    SetConfirmLabel(m_ConfirmButton, "PASS");
    ShowWidget(m_AnswersBoxFM, true);
    ShowWidget(m_AnswersBox, false);
    for (u32 slot = 0; slot < kFastMoneyRows; ++slot) {
        ShowWidget(m_FreqLabelsFM[slot], false);
        SetText(m_AnswerLabelsFM[slot], "");
        SetText(m_FreqLabelsFM[slot], "");
        m_FastMoneyAnswerIndices[slot] = -1;
        m_FastMoneyAnswerPoints[slot] = 0;
    }
    AskQuestion(*this, *context, 0, true);
    OpenEntry(*this, *context);
    const i32 family = context->m_CurrentFamily;
    PlaceAnswerHud(family == QZ2011GameContext::kComputerFamily || family == QZ2011GameContext::kPlayerTwoFamily ? 1 : 0);
}

void ScreenGame::onFastMoneyAnswerEntered() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context || !InTurn(*context))
        return;
    const bool second = context->m_GamePhase == PhaseFastMoneySecondPlayer;
    m_FastMoneyFirstEntry = second ? kQuestions : 0;
    SetConfirmLabel(m_ConfirmButton, "PASS");
    const u32 base = m_FastMoneyFirstEntry;
    const u32 question = context->m_FastMoneyAnswerIndex;
    if (question >= kQuestions) {
        AGReport("ScreenGame : fast money question %u is out of range", question + 1);
        return;
    }
    const u32 slot = base + question;
    const TString<char> typed = TypedText(*this);
    if (typed.IsEmpty()) {
        // A pass: the question comes again once the others are asked.
        context->m_FastMoneyAnswered[question] = 1;
        context->m_FastMoneyStepFlag = 1;
        context->m_LastAnswerIndex = -1;
    } else if (second) {
        // The rules do not match in this turn: a fresh copy of the question is matched here.
        Question* asked = TakeQuestion(*this, *context, question, false);
        const i32 match = asked ? asked->CheckAnswer(std::string(typed.c_str())) : -1;
        if (match >= 0 && match == m_FastMoneyAnswerIndices[question]) {
            ShowQuestion(asked);
            if (AudioManagerQZ* audio = context->GetAudioManager())
                audio->PlayFastMoneyDupeAnswer();
            ClearTypedText(*this);
            return;
        }
        context->m_LastAnswerIndex = match;
    }
    i32 index = context->m_LastAnswerIndex;
    if (index >= 0 && !(m_CurrentQuestion && u32(index) < m_CurrentQuestion->AnswerCount()))
        index = -1;
    // Fast money counts the survey points as they are.
    const i32 points = index >= 0 ? i32(m_CurrentQuestion->GetAnswer(u32(index)).Value()) : 0;
    m_FastMoneyAnswerIndices[slot] = index;
    SetText(m_FreqLabelsFM[slot], TString<char>::FromInt(points));
    ShowWidget(m_FreqLabelsFM[slot], false);
    m_FastMoneyAnswerPoints[slot] = points;
    if (!second && index == 0)
        ++m_FastMoneyRevealCount;
    context->m_FastMoneyTotal += points;
    SetText(m_AnswerLabelsFM[slot], typed.IsEmpty() ? typed : FitTextToLabel(m_AnswerLabelsFM[slot], typed));
    ShowWidget(m_AnswerLabelsFM[slot], true);
    ClearTypedText(*this);
    NextEntry(*this, *context, slot);
}

void ScreenGame::onFastMoneyTimeUp() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context || !InTurn(*context))
        return;
    AudioManagerQZ* audio = context->GetAudioManager();
    if (audio)
        audio->PlayEndClock();
    // The second player is asked the same five questions: draw those the first never saw, and
    // only those (a passed question asked again leaves the later ones as they were).
    if (context->m_GamePhase == PhaseFastMoneyFirstPlayer && m_FastMoneyEntering)
        for (u32 index = context->m_FastMoneyAnswerIndex + 1; index < kQuestions; ++index)
            AskQuestion(*this, *context, index, true);
    context->m_FastMoneyAnswerIndex = 0;
    context->m_GamePhase = PhaseFastMoneyReveal;
    HideComponent(kKeyboardComponent);
    HideComponent(kQuestionComponent);
    if (audio)
        audio->StopCountdownMusic();
    EndTurn(*this, *context);
}

void ScreenGame::onFastMoneySecondPlayer(Member) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    ShowWidget(m_FMTotals[0], false);
    ShowWidget(m_FMTotals[1], true);
    if (m_Game)
        m_Game->SetStageScreens(false);
    ShowWidget(m_AnswersBoxFM, true);
    ShowWidget(m_AnswersBox, false);
    for (u32 slot = kQuestions; slot < kFastMoneyRows; ++slot)
        ShowWidget(m_FreqLabelsFM[slot], false);
    for (u8& passed : context->m_FastMoneyAnswered)
        passed = 0;
    m_FastMoneyRangeBegin = 0;
    m_FastMoneyRangeEnd = kQuestions;
    m_FastMoneyEntering = true;
    context->m_FastMoneyStepFlag = 0;
    AskQuestion(*this, *context, 0, false);
    context->m_FastMoneyAnswerIndex = 0;
    OpenEntry(*this, *context);
}

void ScreenGame::LockAnswerEntry(bool locked) {
    for (Widget* widget : {static_cast<Widget*>(m_SoftKeyboard), static_cast<Widget*>(m_ConfirmButton)})
        if (widget)
            widget->SetInputLocked(locked);
}

void ScreenGame::onFastMoneyReveal(Member) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    u32& r = m_FastMoneyRevealIndex;
    // Nothing follows the end, which comes after the first player's entries too once the goal
    // is reached: a late call would pay the top prize again.
    if (!context || r >= kFastMoneyRows || context->m_GamePhase == PhaseGameOver)
        return;
    if (r == 0) {
        ShowWidget(m_FMTotals[0], true);
        m_FastMoneyRevealTotal = 0;
    } else if (r == kQuestions) {
        ShowWidget(m_FMTotals[0], false);
        ShowWidget(m_FMTotals[1], true);
    }
    if (i32(r) != m_FastMoneyLastRevealed) {
        m_FastMoneyRevealTotal += m_FastMoneyAnswerPoints[r];
        m_FastMoneyLastRevealed = i32(r);
        const TString<char> total = TString<char>::FromUnsigned(u32(m_FastMoneyRevealTotal));
        if (r < kQuestions)
            SetText(m_FMTotals[0], total);
        SetText(m_FMTotals[1], total);
    }
    const bool left = context->m_CurrentFamily == QZ2011GameContext::kPlayerOneFamily;
    i32 revealed = 0;
    for (u32 slot = 0; slot <= r; ++slot)
        revealed += m_FastMoneyAnswerPoints[slot];
    if (revealed >= kGoal && context->m_FastMoneyTotal >= kGoal && context->m_GamePhase != PhaseFastMoneyWon) {
        context->m_GamePhase = PhaseFastMoneyWon;
        Play(*context, ShowSequenceStem(left ? kSeq20kWinLeft : kSeq20kWinRight));
        if (m_Game) {
            m_Game->HideAllContestants();
            if (left)
                m_Game->PlaceLeftFamily();
            else
                m_Game->PlaceRightFamily();
        }
        GestureFamily(m_Game, left, left ? &QZBehaviorCharacter::WinBigFamilyRequest : &QZBehaviorCharacter::WinBigRequest);
        SkipEmptyEntries(*this);
        // The rest of the player's answers are revealed after the win.
        if (r != 4 && r != 9)
            m_FastMoneyFirstRevealDone = true;
        AddPrize(kTopPrize);
        CheckPrizeAwards(*context, kTopPrize, kGoal, true);
        CheckAllTops(*this, *context);
        SaveEarnings();
        return;
    }
    if (m_FastMoneyFirstRevealDone) {
        m_FastMoneyFirstRevealDone = false;
        Play(*context, ShowSequenceStem(left ? kSeqFastMoneyRevealOthersLeft : kSeqFastMoneyRevealOthersRight));
        return;
    }
    SkipEmptyEntries(*this);
    const i32 total = context->m_FastMoneyTotal;
    if (r % kQuestions < 4) {
        // The second to fifth reveals.
        Play(*context, SequenceName(kSeqFastMoneyReveal, u32(r % kQuestions) + 2).c_str());
    } else if (r == 4) {
        if (total < kGoal) {
            context->m_GamePhase = PhaseFastMoneySecondPlayer;
            m_FastMoneyFirstEntry = kQuestions;
            Play(*context, ShowSequenceStem(kSeqFastMoneyRound2));
        } else {
            PlayGoodbye(*context);
        }
        CheckAllTops(*this, *context);
        SaveEarnings();
    } else if (total >= kGoal) {
        PlayGoodbye(*context);
    } else {
        Play(*context, ShowSequenceStem(left ? kSeqNormalWinLeft : kSeqNormalWinRight));
        if (m_Game) {
            if (left)
                m_Game->PlaceLeftFamily();
            else
                m_Game->PlaceRightFamily();
        }
        GestureFamily(m_Game, left, left ? &QZBehaviorCharacter::WinMedFamilyRequest : &QZBehaviorCharacter::WinMedRequest);
        AddPrize(total * kPrizePerPoint);
        context->m_GamePhase = PhaseGameEnd;
        CheckPrizeAwards(*context, total * kPrizePerPoint, total, false);
        SaveEarnings();
    }
    ++r;
}

}  // namespace QZ2011
