// The in-game screen's board text and small helpers: the question and its answer rows, the
// fitting of answer texts, the letter-by-letter typing, the confirm button and the fast-money
// sums and crowd reaction.
#include <algorithm>

#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/presentation/screens/ScreenWidgets.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGText.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetRenderData.h"
#include "questions/Question.h"

namespace QZ2011 {

using GameServices::Widget::RenderingSystemWidget;

namespace {

constexpr const char* kEllipsis = "...";
constexpr u32 kMenuTickResetMs = 200;

void SetFont(ScreenGame::Label* label, const char* font) {
    label->m_TextStyle.m_FontName = font;
    RenderingSystemWidget::UpdateText(*label);
}

// The width the label's font gives a text: the label shows it to be measured.
f32 MeasureIn(ScreenGame::Label* label, const TString<char>& text) {
    label->SetText(text);
    return RenderingSystemWidget::GetTextWidth(*label);
}

// The label's text is taller than its box in its current font: the text would not be drawn.
bool TooTall(ScreenGame::Label* label) {
    AGText* text = GameServices::Widget::Render::At(label->VolatileDatas.GetTexts(), 0);
    const AGFont* font = text ? text->GetFont() : nullptr;
    return font && f32(font->GetLineHeight()) > label->m_Height;
}

void SetLabelText(ScreenGame::Label* label, const TString<char>& text) {
    if (label)
        label->SetText(text);
}

}  // namespace

bool ScreenGame::UsesShiftedBoard() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return false;
    const i32 round = context->m_RoundCounter;
    return (context->m_Decade == 2 || context->m_Decade == 3) && round >= 3 && round <= 5;
}

i32 ScreenGame::BoardRowOf(u32 answer, bool shifted) {
    if (answer >= kBoardRows)
        return -1;
    if (!shifted)
        return i32(answer);
    // The smaller board: answers 4 to 6 one row lower, row 4 and the 7th answer on unused.
    if (answer >= 6)
        return -1;
    return answer >= 3 ? i32(answer) + 1 : i32(answer);
}

void ScreenGame::ShowQuestion(Question* question) {
    m_CurrentQuestion = question;
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!question || !context)
        return;
    if (m_QuestionLabel)
        SetFont(m_QuestionLabel, IsSpecialQuestion(question->Id()) ? kSpecialQuestionFont : kQuestionFont);
    if (context->m_GamePhase != PhaseFastMoneyReveal)
        StartQuestionTyping();
    ShowComponent(kQuestionComponent);
    // Only eight rows exist: the screen uses at most eight answers.
    const u32 count = std::min(question->AnswerCount(), kBoardRows);
    if (context->m_GamePhase < PhaseFastMoneyIntro) {
        const bool shifted = UsesShiftedBoard();
        for (u32 i = 0; i < count; ++i) {
            const i32 row = BoardRowOf(i, shifted);
            if (row < 0)
                continue;
            const RightAnswer& answer = question->GetAnswer(i);
            TString<char> text(answer.Text() ? answer.Text() : "");
            text.ToUpper();
            // Each board's rows have their own width: each label shows the text its fit gives.
            SetLabelText(m_AnswerLabels[row], FitTextToLabel(m_AnswerLabels[row], text));
            SetLabelText(m_CenterAnswerLabels[row], FitTextToLabel(m_CenterAnswerLabels[row], text));
            const TString<char> value = TString<char>::FromInt(i32(answer.Value()));
            SetLabelText(m_FreqLabels[row], value);
            SetLabelText(m_CenterFreqLabels[row], value);
        }
    }
    for (u32 row = count; row < kBoardRows; ++row) {
        ShowWidget(m_AnswerLabels[row], false);
        ShowWidget(m_FreqLabels[row], false);
        ShowWidget(m_CenterAnswerLabels[row], false);
        ShowWidget(m_CenterFreqLabels[row], false);
    }    ShowBoardSlots(count);
}

void ScreenGame::ShowBoardSlots(u32 answers) {
    if (!m_AnswersBox || !m_AnswersBox->IsA(GameServices::Widget::TypeIds::Panel))
        return;
    bool used[kBoardRows] = {};
    const bool shifted = UsesShiftedBoard();
    for (u32 i = 0; i < answers; ++i)
        if (const i32 row = BoardRowOf(i, shifted); row >= 0)
            used[row] = true;
    auto* box = static_cast<GameServices::Widget::Panel*>(m_AnswersBox);
    for (u32 row = 0; row < kBoardRows; ++row)
        ShowWidget(Widget::FindChild(TString<char>(kBoardSlot) + TString<char>::FromInt(i32(row + 1)), box), used[row]);
}

TString<char> ScreenGame::FitTextToLabel(Label* label, TString<char> text) {
    if (!label)
        return text;
    // The largest font of the list whose lines fit the row's height and whose text fits its width.
    const f32 room = label->m_Width - 1.0f;
    for (const char* font : kAnswerFonts) {
        SetFont(label, font);
        if (!TooTall(label) && MeasureIn(label, text) < room)
            return text;
    }
    // The smallest font stays: as many leading characters as fit beside the ellipsis.
    const f32 dots = MeasureIn(label, TString<char>(kEllipsis));
    TString<char> kept;
    for (u32 k = 0; k < text.Length(); ++k) {
        TString<char> candidate = kept;
        candidate.Append(text.Data() + k, 1);
        if (!(MeasureIn(label, candidate) + dots < room))
            break;
        kept = candidate;
    }
    return kept + kEllipsis;
}

bool ScreenGame::IsSpecialQuestion(TString<char> id) {
    // An empty id is never special, even before the table is filled.
    if (id.IsEmpty())
        return false;
    for (const TString<char>& special : m_SpecialQuestionIds)
        if (id == special)
            return true;
    return false;
}

void ScreenGame::FillSpecialQuestionIds() {
    for (u32 i = 0; i < kSpecialQuestionCount; ++i)
        m_SpecialQuestionIds[i] = kSpecialIds[i];
}

void ScreenGame::PlayWidgetAnimation(Widget* widget, const TString<char>& animation, float speed) {
    if (!widget)
        return;
    widget->SetAnimation(animation);
    // 30 frames a second: the first and last frames' times follow the rate.
    widget->m_Control.SetFrameRate(30.0f);
    widget->m_Control.SetSpeed(speed);
    widget->Play(1);
}

void ScreenGame::StartQuestionTyping() {
    m_QuestionTypedChars = 0;
    m_TypingIntervalMs = kTypingIntervalMs;
    QZ2011GameContext* context = QZ2011GameContext::Current();
    // The voice line is named by the question's id.
    if (AudioManagerQZ* audio = context ? context->GetAudioManager() : nullptr; audio && m_CurrentQuestion)
        audio->PlayVoice(m_CurrentQuestion->Id());
    TypeNextQuestionChar();
}

void ScreenGame::TypeNextQuestionChar() {
    if (!m_CurrentQuestion) {
        m_QuestionTypingActive = false;
        return;
    }
    const TString<char> text(m_CurrentQuestion->Text());
    ++m_QuestionTypedChars;
    SetLabelText(m_QuestionLabel, text.SubString(0, m_QuestionTypedChars));
    // The step after the last letter shows the whole text once more, then typing ends.
    m_QuestionTypingActive = m_QuestionTypedChars <= text.Length();
}

void ScreenGame::TypeNextAnswerChar() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context) {
        m_AnswerTypingActive = false;
        return;
    }
    const TString<char>& text = context->m_TypedAnswer;
    ++m_AnswerTypedChars;
    SetLabelText(m_AIAnswer, text.SubString(0, m_AnswerTypedChars));
    m_AnswerTypingActive = m_AnswerTypedChars <= text.Length();
}

void ScreenGame::onOthersRevealed(Member) {
    ShowWidget(m_AnswersBox, false);
    ShowWidget(m_CenterAnswersBox, true);
}

void ScreenGame::onAnswerTextChanged() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!m_SoftKeyboard || !m_SoftKeyboard->Visible || !context)
        return;
    const TString<char> text = m_SoftKeyboard->GetEnteredText();
    if (text.IsEmpty() && context->m_GamePhase >= PhaseFastMoneyIntro)
        ShowPassOnConfirm();
    m_LastTypedLength = i32(text.Length());
}

void ScreenGame::onConfirmClicked() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!m_ConfirmButton || !m_ConfirmButton->Visible || !context || !m_Game)
        return;
    // The same acceptance as the "EnterAnswer" action: an answer phase with entry open.
    GameServices::KorvoGame::TeamActionData data(nullptr, 0, m_Game->PlayerOneMember());
    m_Game->OnEnterAnswer(&data);
    if (context->m_GamePhase >= PhaseFastMoneyIntro)
        ShowPassOnConfirm();
}

void ScreenGame::ShowPassOnConfirm() {
    if (!m_ConfirmButton)
        return;
    m_ConfirmButton->m_TextStyle.m_Text = "PASS";
    RenderingSystemWidget::UpdateText(*m_ConfirmButton);
}

void ScreenGame::PlayFastMoneyRevealSound(u32 entry) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    AudioManagerQZ* audio = context ? context->GetAudioManager() : nullptr;
    if (!audio || entry >= kFastMoneyRows)
        return;
    audio->FadeOutCrowdLoud();
    audio->FadeOutCrowdMedium();
    const i32 answer = m_FastMoneyAnswerIndices[entry];
    if (answer < 0) {
        audio->PlayCrowdLose();
        audio->PlayFastMoneyResultZero();
        return;
    }
    if (answer <= 3)
        audio->StartCrowdMedium();
    else
        audio->StartCrowdLoud();
    audio->PlayFastMoneyResult();
}

i32 ScreenGame::SumFastMoneyPoints(i32 lastEntry) {
    i32 sum = 0;
    const i32 last = std::min(lastEntry, i32(kFastMoneyRows) - 1);
    for (i32 i = 0; i <= last; ++i)
        sum += m_FastMoneyAnswerPoints[i];
    return sum;
}

void ScreenGame::onPointerActivity() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (context && context->m_MenuTickMs >= kMenuTickResetMs)
        context->m_MenuTickMs = 0;
}

}  // namespace QZ2011
