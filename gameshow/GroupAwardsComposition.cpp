#include "gameshow/GroupAwardsComposition.h"

#include <cstdio>
#include <iterator>

#include "engine/core/AGLog.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PageButtons.h"

namespace GameShow {

using GameServices::Widget::Image;
using GameServices::Widget::Panel;
using GameServices::Widget::Widget;
namespace TypeIds = GameServices::Widget::TypeIds;

void ShowWidgetPicture(Widget* widget, const TString<char>& picture) {
    if (!widget)
        return;
    if (widget->IsA(TypeIds::Image))
        static_cast<Image*>(widget)->SetImage(picture);
    else
        AGReport("%s shows no picture", widget->Name.c_str());
}

namespace {

// Slot n (from 1) of a widget family.
Widget* FindNumbered(Panel* root, GroupAwardsComposition::Family family, u32 n) {
    return root ? Widget::FindChild(GroupAwardsComposition::SlotWidget(family, n - 1), root) : nullptr;
}

void SetMarkShown(Widget* widget, bool shown) {
    if (!widget)
        return;
    widget->SetVisible(shown);
    widget->Synchronize = false;
}

}  // namespace

GroupAwardsComposition::~GroupAwardsComposition() {
    Uninitialize();
}

void GroupAwardsComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
    m_BackButton = root ? Widget::FindChild(kWidgets[std::size(kWidgets) - 1], root) : nullptr;
    if (m_BackButton)
        m_BackButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    else
        AGReport("can not find BackButton");
    const struct {
        Family family;
        std::array<Widget*, kSlotCount>* widgets;
    } families[] = {{kAwardName, &m_Names},
                    {kAwardDescription, &m_Descriptions},
                    {kAwardPrize, &m_Prizes},
                    {kAwardMedal, &m_Medals}};
    for (const auto& family : families) {
        for (u32 k = 0; k < kSlotCount; ++k) {
            (*family.widgets)[k] = FindNumbered(root, family.family, k + 1);
            if (!(*family.widgets)[k])
                AGReport("can not find %s", SlotWidget(family.family, k));
        }
    }
    m_ListenedWardrobeButton = GetManager().m_WardrobeButton;
    Listen(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    PlaySlideAnimation();
    OnActivate(false);
}

void GroupAwardsComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    StopListening(m_BackButton, &m_BackDelegate);
    StopListening(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    m_BackButton = m_ListenedWardrobeButton = nullptr;
    m_Names.fill(nullptr);
    m_Descriptions.fill(nullptr);
    m_Prizes.fill(nullptr);
    m_Medals.fill(nullptr);
}

void GroupAwardsComposition::OnActivate(bool show) {
    OnActivateWithProfileBar(show);
}

void GroupAwardsComposition::ShowGroup(sMetaAward& group, u32 index) {
    Panel* root = m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
    if (!root)
        return;
    ShowWidgetText(Widget::FindChild(kWidgets[0], root), group.Title);
    if (Widget* icon = Widget::FindChild(kWidgets[1], root)) {
        char picture[32];
        std::snprintf(picture, sizeof picture, kIconPicture, index + 1);
        ShowWidgetPicture(icon, picture);
    }
    // The layout has four slots: further awards are not shown.
    u32 n = 1;
    for (sAward& award : group.Awards) {
        if (n > kSlotCount)
            break;
        ShowWidgetText(FindNumbered(root, kAwardName, n), award.Title);
        ShowWidgetText(FindNumbered(root, kAwardDescription, n), award.Description);
        ShowWidgetPicture(FindNumbered(root, kAwardPanel, n), award.unlocked ? kUnlockedPanel : kLockedPanel);
        ShowWidgetPicture(FindNumbered(root, kAwardPrize, n), award.unlocked ? award.thumbnail : TString<char>(kLockedPrize));
        SetMarkShown(FindNumbered(root, kAwardMedal, n), award.unlocked);
        SetMarkShown(FindNumbered(root, kAwardGlow, n), award.isNew);
        award.isNew = false;
        ++n;
    }
}

void GroupAwardsComposition::OnBackClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, AwardsComposition::kName);
}

void GroupAwardsComposition::OnWardrobeClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    CompositionManager& manager = GetManager();
    manager.m_ReturnComposition = kName;
    manager.SetNextComposition(this, CompositionManager::kWardrobe);
}

}  // namespace GameShow
