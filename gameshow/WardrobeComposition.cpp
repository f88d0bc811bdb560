#include "gameshow/WardrobeComposition.h"

#include <cstdio>

#include "engine/core/AGLog.h"
#include "gameservices/entities/Character.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/PageButtons.h"
#include "gameshow/PlayerProfileManager.h"
#include "gameshow/WardrobeManager.h"

namespace GameShow {

using GameServices::Entities::Character;
using GameServices::Widget::Panel;
using GameServices::Widget::Widget;
namespace KG = GameServices::KorvoGame;
namespace TypeIds = GameServices::Widget::TypeIds;

namespace {

// The try-on of each tab: its token (the avatar's try state) and action.
const struct {
    u32 token;
    const char* action;
} kTryOns[WardrobeComposition::kTabCount] = {
    {1, MenuActions::kTryHead}, {1, MenuActions::kTryHead},   {2, MenuActions::kTryTop},
    {3, MenuActions::kTryBottom}, {3, MenuActions::kTryBottom}, {1, MenuActions::kTryHead},
};
constexpr u32 kHairStyle = 3;
constexpr u32 kEyewear = 3;

void SetShown(Widget* widget, bool shown) {
    if (!widget)
        return;
    widget->SetVisible(shown);
    widget->Synchronize = false;
}

}  // namespace

WardrobeComposition::WardrobeComposition() : m_TabPartType{{0, 3}, {1, 3}, {2, 0}, {3, 1}, {4, 2}} {
    for (u32 k = 0; k < kTabCount; ++k) {
        m_TabDelegates[k].page = this;
        m_TabDelegates[k].index = i32(k);
        m_TabDelegates[k].isTab = true;
    }
    for (u32 k = 0; k < kSlotCount; ++k) {
        m_SlotDelegates[k].page = this;
        m_SlotDelegates[k].index = i32(k);
    }
}

WardrobeComposition::~WardrobeComposition() {
    Uninitialize();
}

void WardrobeComposition::PressDelegate::Invoke() {
    if (isTab)
        page->OnTabClick(index);
    else
        page->OnSlotClick(index);
}

Panel* WardrobeComposition::RootAsPanel() const {
    return m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
}

Widget* WardrobeComposition::Find(const char* name) const {
    Panel* root = RootAsPanel();
    Widget* widget = root ? Widget::FindChild(name, root) : nullptr;
    if (!widget)
        AGReport("can not find %s", name);
    return widget;
}

void WardrobeComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    for (u32 k = 0; k < kTabCount; ++k) {
        m_Tabs[k] = Find(kWidgets[k]);
        if (m_Tabs[k])
            m_Tabs[k]->AddEventDelegate(GameServices::Widget::kEventClick, &m_TabDelegates[k]);
    }
    SetButtonMarked(m_Tabs[size_t(m_CurrentTab)], true);
    for (u32 k = 0; k < kSlotCount; ++k) {
        m_Effects[k] = Find(kWidgets[kTabCount + k]);
        if (m_Effects[k])
            m_Effects[k]->AddEventDelegate(GameServices::Widget::kEventClick, &m_SlotDelegates[k]);
    }
    m_DoneButton = Find(kWidgets[kTabCount + kSlotCount]);
    if (m_DoneButton)
        m_DoneButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_DoneDelegate);
    for (u32 k = 0; k < kSlotCount; ++k)
        m_Bases[k] = Find(kWidgets[kTabCount + kSlotCount + 1 + k]);
    for (u32 k = 0; k < kSlotCount; ++k)
        m_Thumbs[k] = Find(kWidgets[kTabCount + 2 * kSlotCount + 1 + k]);
    ShowItemGrid(true);
    OnScreenEnter();
}

void WardrobeComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    for (u32 k = 0; k < kTabCount; ++k) {
        if (m_Tabs[k])
            m_Tabs[k]->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_TabDelegates[k]);
        m_Tabs[k] = nullptr;
    }
    for (u32 k = 0; k < kSlotCount; ++k) {
        if (m_Effects[k])
            m_Effects[k]->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_SlotDelegates[k]);
        m_Effects[k] = m_Thumbs[k] = m_Bases[k] = nullptr;
    }
    if (m_DoneButton)
        m_DoneButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_DoneDelegate);
    m_DoneButton = nullptr;
}

void WardrobeComposition::OnActivate(bool show) {
    CompositionBase::OnActivate(show);
    if (!show)
        return;
    CompositionManager& manager = GetManager();
    if (Widget* tags = manager.m_TagPanel) {
        tags->SetPosition(manager.m_TagPanelPosition);
        tags->Synchronize = false;
    }
    if (Widget* wardrobe = manager.m_WardrobeButton) {
        wardrobe->SetPositionXY(kParkedPosition, kParkedPosition);
        wardrobe->Synchronize = false;
    }
    m_CurrentTab = 0;
    BuildItemList(0);
    for (u32 k = 0; k < kTabCount; ++k)
        SetButtonMarked(m_Tabs[k], k == 0);
}

void WardrobeComposition::SelectTab(i32 tab) {
    if (tab < 0 || tab >= i32(kTabCount)) {
        AGReport("There is no wardrobe tab %d", tab);
        return;
    }
    if (tab != m_CurrentTab) {
        SetButtonMarked(m_Tabs[size_t(m_CurrentTab)], false);
        m_CurrentTab = tab;
        BuildItemList(tab);
        for (Widget* effect : m_Effects)
            SetButtonMarked(effect, false);
        m_SelectedSlot = -1;
    }
    SetButtonMarked(m_Tabs[size_t(m_CurrentTab)], true);
}

PlayerProfile* WardrobeComposition::CurrentProfile() {
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    const i32 slot = profiles.GetCurrentSlot();
    return slot == -1 ? nullptr : profiles.GetSlot(slot);
}

void WardrobeComposition::BuildItemList(i32 tab) {
    if (!m_RootPanel || !m_RootPanel->Visible || tab < 0 || tab >= i32(kTabCount))
        return;
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    Character* avatar = profiles.FindAvatarCharacter(profiles.GetAvatarName());
    const KG::Appearance* look = avatar ? avatar->VolatileDatas.GetAppearance() : nullptr;
    if (!look) {
        AGReport("No Appearance defined for this character");
        return;
    }
    const bool isMale = look->Assembly.Gender == KG::CharacterAssembly::kMale;
    const Settings* settings = profiles.GetSettings();
    // The lists are read for slot 0 while there is no current slot.
    const i32 slot = settings && settings->CurrentSavedGame != -1 ? settings->CurrentSavedGame : 0;
    const PlayerProfile* profile = profiles.GetSlot(slot);
    const TString<char> assemblyName = profile ? profile->AvatarDescription.CharacterAssemblyName : TString<char>();
    m_DefaultNames.clear();
    m_ShownNames.clear();
    m_WornNames.clear();
    WardrobeManager& wardrobe = *WardrobeManager::Instance();
    std::vector<TString<char>> unlocked;
    ShowItemGrid(true);
    if (tab == kHairTab) {
        wardrobe.GetDefaultAnatomyPartNames(isMale, assemblyName, kHairStyle, m_DefaultNames);
        m_ShownNames = m_DefaultNames;
        profiles.GetUnlockedAnatomyPartNames(kHairStyle, slot, unlocked);
        m_ShownNames.insert(m_ShownNames.end(), unlocked.begin(), unlocked.end());
    } else if (tab == kExtraTab) {
        wardrobe.GetExtraOutfitPartNames(isMale, m_ShownNames);
        m_WornNames = m_ShownNames;
    } else {
        const u32 type = u32(m_TabPartType[tab]);
        wardrobe.GetDefaultOutfitPartNames(isMale, assemblyName, type, m_DefaultNames);
        m_ShownNames = m_DefaultNames;
        if (tab == kGlassesTab)
            m_ShownNames.insert(m_ShownNames.begin(), kNoEyewearNames[isMale ? 0 : 1]);
        profiles.GetUnlockedOutfitPartNames(type, slot, unlocked);
        m_ShownNames.insert(m_ShownNames.end(), unlocked.begin(), unlocked.end());
        m_WornNames = m_ShownNames;
    }
    FillThumbnails();
}

void WardrobeComposition::FillThumbnails() {
    m_SelectedSlot = -1;
    for (u32 k = 0; k < kSlotCount; ++k) {
        Widget* effect = m_Effects[k];
        SetButtonMarked(effect, false);
        const bool used = k < m_ShownNames.size();
        SetButtonUsable(effect, used);
        SetShown(effect, used);
        ShowWidgetPicture(m_Thumbs[k], used ? AwardsComposition::GetThumbnailName(m_ShownNames[k])
                                            : TString<char>(kEmptySlotPicture));
        SetShown(m_Thumbs[k], true);
    }
}

void WardrobeComposition::ShowItemGrid(bool visible) {
    for (u32 k = 0; k < kSlotCount; ++k) {
        SetShown(m_Bases[k], visible);
        SetShown(m_Thumbs[k], visible);
        SetShown(m_Effects[k], visible);
    }
}

const std::vector<TString<char>>& WardrobeComposition::TabNames() const {
    return m_CurrentTab == kHairTab ? m_ShownNames : m_WornNames;
}

bool WardrobeComposition::HasItem(i32 slot) const {
    return slot >= 0 && slot < i32(kSlotCount) && size_t(slot) < TabNames().size();
}

void WardrobeComposition::OnItemPressed(i32 slot) {
    // Slots past the list are hidden; a press there has no item to put on.
    if (!HasItem(slot))
        return;
    const std::vector<TString<char>>& names = TabNames();
    if (slot == m_SelectedSlot) {
        SetButtonMarked(m_Effects[size_t(slot)], true);
        return;
    }
    for (size_t k = 0; k < kSlotCount && k < names.size(); ++k)
        if (i32(k) != slot)
            SetButtonMarked(m_Effects[k], false);
    m_SelectedSlot = slot;
    Character* avatar = PlayerProfileManager::Instance()->FindAvatarCharacter(PlayerProfileManager::kAvatarName);
    if (!avatar) {
        AGReport("can not find %s to dress", PlayerProfileManager::kAvatarName);
    } else {
        WardrobeManager& wardrobe = *WardrobeManager::Instance();
        const TString<char> item = WardrobeManager::CutExtension(names[size_t(slot)]);
        if (m_CurrentTab == kHairTab)
            wardrobe.PutOnAnatomyPart(avatar, item);
        else if (m_CurrentTab == kExtraTab)
            wardrobe.PutOnOutfitPart(avatar, m_ShownNames[size_t(slot)], 0);
        else
            wardrobe.PutOnOutfitPart(avatar, item, u32(m_TabPartType[m_CurrentTab]));
        TryOn(*avatar);
    }
    SetButtonMarked(m_Effects[size_t(slot)], true);
}

void WardrobeComposition::TryOn(Character& avatar) const {
    if (!avatar.IsA(MenuCharacter::kTypeId))
        return;
    BehaviorCharacter& behavior = static_cast<MenuCharacter&>(avatar).GetBehaviorCharacter();
    const auto& tryOn = kTryOns[size_t(m_CurrentTab)];
    if (behavior.RequestTry(tryOn.token, tryOn.action)) {
        behavior.breakQueued = false;
        avatar.Synchronize = false;
    }
}

void WardrobeComposition::OnTabClick(i32 tab) {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    SelectTab(tab);
}

void WardrobeComposition::OnSlotClick(i32 slot) {
    if (!AcceptsInput() || !HasItem(slot))
        return;
    PlayButtonSound();
    OnItemPressed(slot);
}

void WardrobeComposition::OnDoneClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    PlayerProfile* profile = CurrentProfile();
    Character* avatar = profiles.FindAvatarCharacter(PlayerProfileManager::kAvatarName);
    const KG::Appearance* look = avatar ? avatar->VolatileDatas.GetAppearance() : nullptr;
    if (!profile) {
        // No slot may take the look: slot -1 is no profile, not slot 0.
        AGReport("Wardrobe: no current profile, the look is not kept");
    } else if (!look) {
        AGReport("Wardrobe: %s has no look to keep", PlayerProfileManager::kAvatarName);
    } else {
        profile->Appearance = *look;
        profile->AvatarDescription.Describe(*look);
        profiles.WriteSavedGame();
    }
    CompositionManager& manager = GetManager();
    const TString<char> back =
        manager.m_ReturnComposition.IsEmpty() ? TString<char>(CompositionManager::kMainMenu) : manager.m_ReturnComposition;
    manager.SetNextComposition(this, back);
}

}  // namespace GameShow
