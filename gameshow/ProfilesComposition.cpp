#include "gameshow/ProfilesComposition.h"

#include <string>

#include "engine/core/AGLog.h"
#include "gameservices/entities/Character.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PageButtons.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::Widget::Image;
using GameServices::Widget::Panel;
using GameServices::Widget::Widget;
using GameServices::Widget::kEventClick;
namespace TypeIds = GameServices::Widget::TypeIds;

namespace {

Widget* FindReported(Panel* root, const std::string& name) {
    Widget* widget = root ? Widget::FindChild(name.c_str(), root) : nullptr;
    if (!widget)
        AGReport("can not find %s", name.c_str());
    return widget;
}

void SetWidgetShown(Widget* widget, bool shown) {
    if (widget)
        widget->SetVisible(shown);
}

void SetPicture(Widget* widget, const TString<char>& picture) {
    if (widget && widget->IsA(TypeIds::Image))
        static_cast<Image*>(widget)->SetImage(picture);
}

}  // namespace

ProfilesComposition::ProfilesComposition() {
    for (u32 k = 0; k < kSlotCount; ++k) {
        m_SlotDelegates[k].page = this;
        m_SlotDelegates[k].slot = i32(k);
    }
}

ProfilesComposition::~ProfilesComposition() {
    ProfilesComposition::Uninitialize();
}

void ProfilesComposition::SlotDelegate::Invoke() {
    page->OnSlotClick(slot);
}

GameServices::Widget::ScreenManager& ProfilesComposition::Screens() const {
    return m_Screens ? *m_Screens : GameServices::Widget::ScreenManager::Instance();
}

void ProfilesComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
    for (u32 k = 0; k < kSlotCount; ++k) {
        m_Slots[k].checkBox = FindReported(root, kWidgets[k]);
        Listen(m_Slots[k].checkBox, &m_SlotDelegates[k]);
    }
    m_DeleteButton = FindReported(root, kWidgets[kSlotCount]);
    m_NewProfileButton = FindReported(root, kWidgets[kSlotCount + 1]);
    m_DoneButton = FindReported(root, kWidgets[kSlotCount + 2]);
    Listen(m_DeleteButton, &m_DeleteDelegate);
    Listen(m_NewProfileButton, &m_NewProfileDelegate);
    Listen(m_DoneButton, &m_DoneDelegate);
    for (u32 k = 0; k < kSlotCount; ++k)
        m_Slots[k].name = FindReported(root, kWidgets[kSlotCount + 3 + k]);
    for (u32 k = 0; k < kSlotCount; ++k)
        m_Slots[k].image = FindReported(root, kWidgets[2 * kSlotCount + 3 + k]);
    for (u32 k = 0; k < kSlotCount; ++k)
        m_Slots[k].baseImageProfile = FindReported(root, kWidgets[3 * kSlotCount + 3 + k]);
    for (u32 k = 0; k < kSlotCount; ++k)
        m_Slots[k].baseImage = FindReported(root, kWidgets[4 * kSlotCount + 3 + k]);
    for (Slot& slot : m_Slots) {
        SetWidgetShown(slot.image, false);
        SetWidgetShown(slot.baseImageProfile, false);
    }
    GetManager().ProfileDeleteConfirmed.AddDelegate(&m_DeleteConfirmedDelegate);
    m_ListensToDeletes = true;
    m_ListenedWardrobeButton = GetManager().m_WardrobeButton;
    Listen(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    OnScreenEnter();
}

void ProfilesComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    StopListening(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    for (u32 k = 0; k < kSlotCount; ++k) {
        StopListening(m_Slots[k].checkBox, &m_SlotDelegates[k]);
        m_Slots[k] = Slot{};
    }
    StopListening(m_DeleteButton, &m_DeleteDelegate);
    StopListening(m_NewProfileButton, &m_NewProfileDelegate);
    StopListening(m_DoneButton, &m_DoneDelegate);
    if (m_ListensToDeletes)
        GetManager().ProfileDeleteConfirmed.RemoveDelegate(&m_DeleteConfirmedDelegate);
    m_ListensToDeletes = false;
    m_ListenedWardrobeButton = m_DeleteButton = m_NewProfileButton = m_DoneButton = nullptr;
}

void ProfilesComposition::OnActivate(bool show) {
    OnActivateWithProfileBar(show);
    if (show)
        RefreshSlots();
}

void ProfilesComposition::SetBackground(i32 slot, const char* image) {
    if (slot >= 0 && slot < i32(kSlotCount))
        SetPicture(m_Slots[size_t(slot)].baseImage, image);
}

void ProfilesComposition::RefreshSlots() {
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    const Settings* settings = profiles.GetSettings();
    const i32 current = settings ? settings->CurrentSavedGame : -1;
    SetBackground(m_SelectedSlot, kBaseImage);
    const std::vector<PlayerProfile*> loaded = profiles.GetLoadedProfiles();
    // A new profile needs a free slot of the document: without one it would overwrite one.
    bool freeSlot = false;
    if (PlayerProfileManager::Document* document = profiles.GetSavedFile())
        for (u32 i = 0; i < document->GetSavedGameCount() && !freeSlot; ++i)
            freeSlot = !document->IsUsedSlot(i32(i));
    SetButtonUsable(m_NewProfileButton, loaded.size() < kSlotCount && freeSlot);
    m_SlotMap.clear();
    // Re-derived from the current profile: a slot ticked before may hold another one now.
    m_SelectedSlot = -1;
    for (u32 k = 0; k < kSlotCount; ++k) {
        Slot& slot = m_Slots[k];
        const PlayerProfile* profile = k < loaded.size() ? loaded[k] : nullptr;
        if (!profile) {
            for (Widget* widget : {slot.checkBox, slot.name, slot.image, slot.baseImageProfile})
                SetWidgetShown(widget, false);
            continue;
        }
        ShowWidgetText(slot.name, profile->SavedGameName);
        SetPicture(slot.image, profile->ThumbnailFilename);
        for (Widget* widget : {slot.checkBox, slot.name, slot.image, slot.baseImageProfile})
            SetWidgetShown(widget, true);
        m_SlotMap[i32(k)] = profile->Id;
        const bool isCurrent = profile->Id == current;
        if (isCurrent) {
            m_SelectedSlot = i32(k);
            SetBackground(i32(k), kSelectedImage);
        }
        SetButtonMarked(slot.checkBox, isCurrent);
    }
    const bool canDelete = m_SlotMap.size() > 1;
    SetButtonUsable(m_DeleteButton, canDelete);
    if (m_DeleteButton)
        m_DeleteButton->SetInputLocked(!canDelete);
}

void ProfilesComposition::SelectSlot(i32 slot) {
    if (m_SlotMap.find(slot) == m_SlotMap.end()) {
        AGReport("There is no profile in slot %d", slot);
        return;
    }
    Widget* box = m_Slots[size_t(slot)].checkBox;
    if (slot == m_SelectedSlot) {
        // The click untoggled the tick: the current slot stays ticked.
        SetBackground(slot, kSelectedImage);
        SetButtonMarked(box, true);
        return;
    }
    if (m_SelectedSlot >= 0) {
        SetButtonMarked(m_Slots[size_t(m_SelectedSlot)].checkBox, false);
        SetBackground(m_SelectedSlot, kBaseImage);
    }
    m_SelectedSlot = slot;
    SetButtonMarked(box, true);
    SetBackground(slot, kSelectedImage);
    ShowOnAvatar(m_SlotMap[slot]);
}

void ProfilesComposition::ShowOnAvatar(i32 documentSlot) {
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    if (GameServices::Entities::Character* avatar = profiles.FindAvatarCharacter(PlayerProfileManager::kAvatarName)) {
        GameServices::KorvoGame::CharacterManager::Instance()->RemoveAppearance(*avatar);
        avatar->Reset();
    }
    profiles.ShowProfileOnAvatar(profiles.GetSlot(documentSlot));
}

i32 ProfilesComposition::SelectedProfileSlot() const {
    auto found = m_SlotMap.find(m_SelectedSlot);
    return found != m_SlotMap.end() ? found->second : -1;
}

void ProfilesComposition::OnSlotClick(i32 slot) {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    SelectSlot(slot);
}

void ProfilesComposition::OnDeleteClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().PopupVisibilityChanged.Fire(true);
    Screens().ShowPopup(kDeletePopup);
}

void ProfilesComposition::OnNewProfileClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    GetManager().SetNextComposition(this, kNewProfilePage);
}

void ProfilesComposition::OnProfilesDoneClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    if (const i32 documentSlot = SelectedProfileSlot(); documentSlot != -1)
        PlayerProfileManager::Instance()->SelectProfile(documentSlot);
    GetManager().SetNextComposition(this, CompositionManager::kMainMenu);
}

void ProfilesComposition::OnWardrobeClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    if (const i32 documentSlot = SelectedProfileSlot(); documentSlot != -1)
        PlayerProfileManager::Instance()->SelectProfile(documentSlot);
    GetManager().m_ReturnComposition = kName;
    GetManager().SetNextComposition(this, CompositionManager::kWardrobe);
}

void ProfilesComposition::OnDeleteConfirmed() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    const i32 deleted = SelectedProfileSlot();
    if (deleted == -1) {
        AGReport("No profile is ticked: nothing is deleted");
        return;
    }
    PlayerProfileManager& profiles = *PlayerProfileManager::Instance();
    // The slot map holds slots 0 to 3 only.
    i32 next = 0;
    if (auto after = m_SlotMap.find(m_SelectedSlot + 1); after != m_SlotMap.end())
        next = after->second;
    else if (auto before = m_SlotMap.find(m_SelectedSlot - 1); before != m_SlotMap.end())
        next = before->second;
    if (PlayerProfile* profile = profiles.GetSlot(next)) {
        if (Settings* settings = profiles.GetSettings())
            settings->CurrentSavedGame = profile->Id;
        profiles.AssignPlayer(0, profile->Id);
        ShowOnAvatar(profile->Id);
    }
    profiles.DeleteProfile(deleted);
    SetBackground(m_SelectedSlot, kBaseImage);
    RefreshSlots();
}

}  // namespace GameShow
