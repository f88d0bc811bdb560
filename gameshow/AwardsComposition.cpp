#include "gameshow/AwardsComposition.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/AGLog.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/widget/Widget.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/PageButtons.h"
#include "gameshow/PlayerProfileManager.h"
#include "gameshow/WardrobeManager.h"

namespace GameShow {

using GameServices::Bridge::FileSystem;
using GameServices::Utilities::ISerialization;
using GameServices::Widget::Panel;
using GameServices::Widget::Widget;
namespace TypeIds = GameServices::Widget::TypeIds;

namespace {
const TString<char> kEmpty;
// The anatomy category of hair styles.
constexpr u32 kHairCategory = 3;
}  // namespace

void sAwardUnlockable::Serialize(ISerialization& s) {
    s.SetAttributeMode(true);
    s.SerializeString("AppearanceName", AppearanceName, kEmpty);
    s.SerializeString("UnlockableModel", UnlockableModel, kEmpty);
    s.SerializeString("Type", Type, kEmpty);
    s.SetAttributeMode(false);
}

void sAward::Serialize(ISerialization& s) {
    s.SerializeString("Title", Title, kEmpty);
    s.SerializeString("Description", Description, kEmpty);
    Unlockables.SetItemName("Unlockable");
    s.SerializeObject("Unlockables", Unlockables, true);
}

void sMetaAward::Serialize(ISerialization& s) {
    s.SerializeString("Category", Category, kEmpty);
    sAward::Serialize(s);
    Awards.SetItemName("Award");
    s.SerializeObject("Awards", Awards, true);
}

void sAwardList::Serialize(ISerialization& s) {
    MetaAwards.SetItemName("MetaAward");
    s.SerializeObject("MetaAwards", MetaAwards, true);
}

AwardsComposition::AwardsComposition() {
    for (u32 k = 0; k < kGroupButtons; ++k) {
        m_GroupDelegates[k].page = this;
        m_GroupDelegates[k].n = k + 1;
    }
}

AwardsComposition::~AwardsComposition() {
    // No widget may keep calling a page that is gone.
    Uninitialize();
}

void AwardsComposition::GroupDelegate::Invoke() {
    page->OnGroupClick(n);
}

void AwardsComposition::Initialize(Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
    Panel* root = RootAsPanel();
    auto find = [root](const char* widgetName, bool required) -> Widget* {
        Widget* widget = root ? Widget::FindChild(widgetName, root) : nullptr;
        if (!widget && required)
            AGReport("can not find %s", widgetName);
        return widget;
    };
    m_BackButton = find(kWidgets[0], true);
    if (m_BackButton)
        m_BackButton->AddEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    for (u32 k = 0; k < kGroupButtons; ++k) {
        m_GroupButtons[k] = find(kWidgets[1 + k], k < kRequiredGroupButtons);
        if (m_GroupButtons[k])
            m_GroupButtons[k]->AddEventDelegate(GameServices::Widget::kEventClick, &m_GroupDelegates[k]);
    }
    m_ProgressLabel = find(kWidgets[1 + kGroupButtons], true);
    for (u32 k = 0; k < kGroupButtons; ++k) {
        m_GroupImages[k] = find(kWidgets[2 + kGroupButtons + k], k < kRequiredGroupButtons);
    }
    ShowGroups();
    m_ListenedWardrobeButton = GetManager().m_WardrobeButton;
    Listen(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    PlaySlideAnimation();
    OnActivate(false);
}

void AwardsComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    StopListening(m_ListenedWardrobeButton, &m_WardrobeDelegate);
    m_ListenedWardrobeButton = nullptr;
    if (m_BackButton)
        m_BackButton->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_BackDelegate);
    m_BackButton = nullptr;
    for (u32 k = 0; k < kGroupButtons; ++k) {
        if (m_GroupButtons[k])
            m_GroupButtons[k]->RemoveEventDelegate(GameServices::Widget::kEventClick, &m_GroupDelegates[k]);
        m_GroupButtons[k] = nullptr;
        m_GroupImages[k] = nullptr;
    }
    m_ProgressLabel = nullptr;
}

void AwardsComposition::OnActivate(bool show) {
    OnActivateWithProfileBar(show);
}

void AwardsComposition::OnGroupClick(u32 n) {
    PlayButtonSound();
    OpenGroup(n - 1);
}

void AwardsComposition::OpenGroup(u32 index) {
    if (!AcceptsInput())
        return;
    // A layout may offer more group buttons than the file has groups.
    if (index >= m_AwardList.MetaAwards.size())
        return;
    PlayButtonSound();
    CompositionManager& manager = GetManager();
    manager.SetNextComposition(this, GroupAwardsComposition::kName);
    if (auto* groupPage = dynamic_cast<GroupAwardsComposition*>(manager.FindComposition(GroupAwardsComposition::kName)))
        groupPage->ShowGroup(m_AwardList.MetaAwards[index], index);
    else
        AGReport("can not find %s", GroupAwardsComposition::kName);
}

void AwardsComposition::OnWardrobeClick() {
    if (!AcceptsInput())
        return;
    PlayButtonSound();
    CompositionManager& manager = GetManager();
    manager.m_ReturnComposition = kName;
    manager.SetNextComposition(this, CompositionManager::kWardrobe);
}

Widget* AwardsComposition::GetGroupButton(u32 n) const {
    return n >= 1 && n <= kGroupButtons ? m_GroupButtons[n - 1] : nullptr;
}

Panel* AwardsComposition::RootAsPanel() const {
    return m_RootPanel && m_RootPanel->IsA(TypeIds::Panel) ? static_cast<Panel*>(m_RootPanel) : nullptr;
}

void AwardsComposition::LoadAwards() {
    const TString<char> path = FileSystem::GetFilePath(GameServices::Bridge::FILE_GLOBAL_XML, kAwardsFile);
    sAwardList list;
    GameServices::Utilities::XmlReader reader;
    // A failed read leaves the fresh list empty.
    if (!reader.ReadFile(path.c_str(), list, "root"))
        AGReport("Awards: can not read %s, no awards", path.c_str());
    m_AwardList = std::move(list);
    m_UnlockedCount = 0;
}

void AwardsComposition::ShowGroups() {
    m_TotalCount = 0;
    for (const sMetaAward& group : m_AwardList.MetaAwards)
        m_TotalCount += u32(group.Awards.size());
    if (Panel* root = RootAsPanel()) {
        // A group past the layout's titles has none to show.
        u32 n = 0;
        for (const sMetaAward& group : m_AwardList.MetaAwards) {
            if (n >= kGroupButtons)
                break;
            if (Widget* widget = Widget::FindChild(kWidgets[2 + 2 * kGroupButtons + n++], root))
                ShowWidgetText(widget, group.Title);
        }
    }
    UpdateAwardCount();
}

void AwardsComposition::RefreshAwards() {
    m_UnlockedCount = 0;
    for (sMetaAward& group : m_AwardList.MetaAwards) {
        group.unlocked = false;
        group.isNew = false;
        for (sAward& award : group.Awards) {
            award.unlocked = false;
            award.isNew = false;
        }
    }
    UpdateAwardCount();
}

void AwardsComposition::UnlockAward(const TString<char>& title, bool isNew) {
    for (sMetaAward& group : m_AwardList.MetaAwards) {
        if (group.Title == title) {
            Grant(group, isNew);
            return;
        }
        for (sAward& award : group.Awards) {
            if (award.Title == title) {
                Grant(award, isNew);
                return;
            }
        }
    }
}

void AwardsComposition::UpdateAwardCount() {
    if (!m_ProgressLabel)
        return;
    char text[32];
    std::snprintf(text, sizeof text, "%u/%u", m_UnlockedCount, m_TotalCount);
    ShowWidgetText(m_ProgressLabel, text);
}

TString<char> AwardsComposition::GetThumbnailName(const TString<char>& model) {
    std::string name = WardrobeManager::CutExtension(model).c_str();
    for (const char* colour : kSkinToneSuffixes) {
        const size_t length = std::strlen(colour);
        if (name.size() >= length && name.compare(name.size() - length, length, colour) == 0) {
            name.erase(name.rfind('_'));
            break;
        }
    }
    return TString<char>(("THUMBNAIL_" + name + ".png").c_str());
}

void AwardsComposition::Grant(sAward& award, bool isNew) {
    award.unlocked = true;
    award.isNew = isNew;
    ++m_UnlockedCount;
    PlayerProfile* profile = PlayerProfileManager::Instance()->GetProfile(0);
    if (!profile) {
        AGReport("Award %s: no profile to unlock its item for, counted only", award.Title.c_str());
        return;
    }
    const TString<char> key = WardrobeManager::GetLookName(profile->Appearance);
    const sAwardUnlockable* item = nullptr;
    for (const sAwardUnlockable& unlockable : award.Unlockables) {
        if (unlockable.AppearanceName == key) {
            item = &unlockable;
            break;
        }
    }
    if (!item)
        return;
    // The wardrobe's searches add ".mdl" themselves.
    const TString<char> model = WardrobeManager::CutExtension(item->UnlockableModel);
    WardrobeManager& wardrobe = *WardrobeManager::Instance();
    bool known = false;
    for (u32 category = 0; category < kOutfitTypes.size(); ++category) {
        if (item->Type == kOutfitTypes[category]) {
            wardrobe.UnlockOutfitPart(model, category, u32(profile->Id));
            known = true;
        }
    }
    if (item->Type == kHairType) {
        wardrobe.UnlockAnatomyPart(model, u32(profile->Id), kHairCategory);
        known = true;
    }
    if (!known)
        AGReport("Unknown unlockable type %s", item->Type.c_str());
    award.thumbnail = GetThumbnailName(item->UnlockableModel);
}

}  // namespace GameShow
