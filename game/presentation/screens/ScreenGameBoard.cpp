// The in-game screen's board text and small helpers.
#include "game/presentation/screens/ScreenGame.h"

namespace QZ2011 {

void ScreenGame::ShowQuestion(Question* question) { (void)question; }
TString<char> ScreenGame::FitTextToLabel(Label* label, TString<char> text) {
    (void)label;
    return text;
}
bool ScreenGame::IsSpecialQuestion(TString<char> id) {
    (void)id;
    return false;
}
void ScreenGame::FillSpecialQuestionIds() {}
void ScreenGame::PlayWidgetAnimation(Widget* widget, const TString<char>& animation, float speed) {
    (void)widget;
    (void)animation;
    (void)speed;
}
void ScreenGame::StartQuestionTyping() {}
void ScreenGame::TypeNextQuestionChar() {}
void ScreenGame::TypeNextAnswerChar() {}
void ScreenGame::onOthersRevealed(Member member) { (void)member; }
void ScreenGame::onAnswerTextChanged() {}
void ScreenGame::onConfirmClicked() {}
void ScreenGame::ShowPassOnConfirm() {}
void ScreenGame::PlayFastMoneyRevealSound(u32 entry) { (void)entry; }
i32 ScreenGame::SumFastMoneyPoints(i32 lastEntry) {
    (void)lastEntry;
    return 0;
}
void ScreenGame::onPointerActivity() {}

}  // namespace QZ2011
