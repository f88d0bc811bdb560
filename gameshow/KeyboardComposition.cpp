#include "gameshow/KeyboardComposition.h"

namespace GameShow {

const TString<char> KeyboardComposition::kPlaceholder = " ";

KeyboardComposition::~KeyboardComposition() = default;

void KeyboardComposition::Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
}

void KeyboardComposition::Uninitialize() {
    CompositionBase::Uninitialize();
}

void KeyboardComposition::OnActivate(bool show) {
    CompositionBase::OnActivate(show);
}

TString<char> KeyboardComposition::TrimTrailingSpaces(const TString<char>& text) {
    return text;
}

void KeyboardComposition::OnBackClick() {}
void KeyboardComposition::OnDoneClick() {}
void KeyboardComposition::OnTextChanged() {}

}  // namespace GameShow
