#include "gameshow/GroupAwardsComposition.h"

#include <cstdio>

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

Widget* FindNumbered(Panel* root, const char* stem, u32 n) {
    char name[40];
    std::snprintf(name, sizeof name, "%s%u", stem, n);
    return root ? Widget::FindChild(name, root) : nullptr;
}

void SetShown(Widget* widget, bool shown) {
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
    m_BackButton = root ? Widget::FindChild("BackButton", root) : nullptr;
    if (m_BackButton)
        m_BackButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    else
        AGReport("can not find BackButton");
    const struct {
        const char* stem;
        std::array<Widget*, kSlotCount>* widgets;
    } families[] = {{"awardName", &m_Names},
                    {"awardDescription", &m_Descriptions},
                    {"awardPrize", &m_Prizes},
                    {"awardMedal", &m_Medals}};
    for (const auto& family : families) {
        for (u32 k = 0; k < kSlotCount; ++k) {
            (*family.widgets)[k] = FindNumbered(root, family.stem, k + 1);
            if (!(*family.widgets)[k])
                AGReport("can not find %s%u", family.stem, k + 1);
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
    ShowWidgetText(Widget::FindChild("title", root), group.Title);
    if (Widget* icon = Widget::FindChild("iconAward", root)) {
        char picture[32];
        std::snprintf(picture, sizeof picture, kIconPicture, index + 1);
        ShowWidgetPicture(icon, picture);
    }
    // The layout has four slots: further awards are not shown.
    u32 n = 1;
    for (sAward& award : group.Awards) {
        if (n > kSlotCount)
            break;
        ShowWidgetText(FindNumbered(root, "awardName", n), award.Title);
        ShowWidgetText(FindNumbered(root, "awardDescription", n), award.Description);
        ShowWidgetPicture(FindNumbered(root, "awardPanel", n), award.unlocked ? kUnlockedPanel : kLockedPanel);
        ShowWidgetPicture(FindNumbered(root, "awardPrize", n), award.unlocked ? award.thumbnail : TString<char>(kLockedPrize));
        SetShown(FindNumbered(root, "awardMedal", n), award.unlocked);
        SetShown(FindNumbered(root, "awardGlow", n), award.isNew);
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
