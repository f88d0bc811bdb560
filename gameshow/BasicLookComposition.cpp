#include "gameshow/BasicLookComposition.h"

namespace GameShow {

BasicLookComposition::BasicLookComposition() {
    for (u32 k = 0; k < kLookCount; ++k) {
        m_LookDelegates[k].page = this;
        m_LookDelegates[k].look = i32(k);
    }
}

BasicLookComposition::~BasicLookComposition() = default;

void BasicLookComposition::LookDelegate::Invoke() {
    page->OnLookClick(look);
}

void BasicLookComposition::Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
}

void BasicLookComposition::Uninitialize() {
    CompositionBase::Uninitialize();
}

void BasicLookComposition::OnActivate(bool show) {
    CompositionBase::OnActivate(show);
}

void BasicLookComposition::OnScreenEnter() {
    OnActivate(false);
}

void BasicLookComposition::SelectLook(i32 look) {
    m_SelectedLook = look;
}

void BasicLookComposition::ClearSelection() {
    m_SelectedLook = -1;
}

void BasicLookComposition::OnLookClick(i32 look) {
    SelectLook(look);
}

void BasicLookComposition::OnDoneClick() {}

void BasicLookComposition::DressAvatar(i32 /*look*/) {}

}  // namespace GameShow
