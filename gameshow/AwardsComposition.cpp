#include "gameshow/AwardsComposition.h"

#include "engine/core/AGLog.h"

namespace GameShow {

using GameServices::Utilities::ISerialization;

namespace {
const TString<char> kEmpty;
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

void AwardsComposition::Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) {
    FindRootPanel(screenPanel, name);
}

void AwardsComposition::Uninitialize() {
    CompositionBase::Uninitialize();
    m_ProgressLabel = nullptr;
}

void AwardsComposition::LoadAwards() {}
void AwardsComposition::ShowGroups() {}
void AwardsComposition::RefreshAwards() {}
void AwardsComposition::UnlockAward(const TString<char>& /*title*/, bool /*isNew*/) {}
void AwardsComposition::UpdateAwardCount() {}
TString<char> AwardsComposition::GetThumbnailName(const TString<char>& model) { return model; }
void AwardsComposition::Grant(sAward& /*award*/, bool /*isNew*/) {}

}  // namespace GameShow
