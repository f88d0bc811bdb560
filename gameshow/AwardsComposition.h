#pragma once
// The award list of "Awards.xml" (award groups, their awards and, per default look, the
// wardrobe item each award unlocks) and the page that owns it: the awards page keeps the one
// list and its two counters for the whole run, whether or not the page is shown; the game
// context loads, resets and grants through it.
#include <array>

#include "engine/core/FDelegate.h"
#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"
#include "engine/core/TString.h"
#include "gameshow/CompositionBase.h"

namespace GameShow {

// One wardrobe item an award unlocks for one default look; all three are attributes.
class sAwardUnlockable : public GameServices::Utilities::ISerializable {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;

    // The look's key: its appearance file name without extension ("AppearanceMale01").
    TString<char> AppearanceName;
    // The item's model file name ("cap_red.mdl").
    TString<char> UnlockableModel;
    // "Top", "Bottom", "Footwear", "Eyewear" or "Hair" (exact).
    TString<char> Type;
};

class sAward : public GameServices::Utilities::ISerializable {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;

    // Also the award's key: awards are granted by title.
    TString<char> Title;
    TString<char> Description;
    GameServices::Utilities::SerializableVector<sAwardUnlockable> Unlockables;
    // Run-time state, not read from the file.
    bool unlocked = false;
    bool isNew = false;
    // The award's picture, set when granted with an unlockable for the current look.
    TString<char> thumbnail;
};

// An award group: granted by its own title like an award.
class sMetaAward : public sAward {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;

    TString<char> Category;
    GameServices::Utilities::SerializableVector<sAward> Awards;
};

class sAwardList : public GameServices::Utilities::ISerializable {
public:
    void Serialize(GameServices::Utilities::ISerialization& serialization) override;

    // In display order, group 1 first.
    GameServices::Utilities::SerializableVector<sMetaAward> MetaAwards;
};

class AwardsComposition : public CompositionBase {
public:
    static constexpr const char* kAwardsFile = "Awards.xml";
    static constexpr const char* kName = "compositionAwards";
    // Group buttons 1 to 4 are required; the fifth is optional.
    static constexpr u32 kGroupButtons = 5;
    static constexpr u32 kRequiredGroupButtons = 4;
    // The widgets under the page's root panel: back, the group buttons, the progress label, the
    // group pictures and the group titles.
    static constexpr std::array<const char*, 17> kWidgets = {
        "BackButton",  "group1Button", "group2Button", "group3Button", "group4Button", "group5Button",
        "progressLabel", "group1Image", "group2Image", "group3Image", "group4Image", "group5Image",
        "group1",      "group2",       "group3",       "group4",       "group5"};

    AwardsComposition();
    ~AwardsComposition() override;

    // Finds the root panel, "BackButton", the group buttons and images and the progress
    // label (the missing required ones reported) and listens to the buttons and the shared
    // wardrobe button; then ShowGroups; hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Stops listening and forgets the root panel and the widgets found under it.
    void Uninitialize() override;
    // With the profile bar.
    void OnActivate(bool show) override;
    // Entering the menu screen leaves the page as it is.
    void OnScreenEnter() override {}

    // Group button n (from 1): click sound, then OpenGroup(n - 1).
    void OnGroupClick(u32 n);
    // Guard, click sound, the group page shown with group `index`; an index beyond the groups
    // read is ignored.
    void OpenGroup(u32 index);
    // Guard, click sound; the wardrobe returns here.
    void OnWardrobeClick();
    // Group button n (from 1) when found; null otherwise.
    GameServices::Widget::Widget* GetGroupButton(u32 n) const;

    // Reads "Awards.xml" (root "root") into the award list; a missing or bad file leaves the
    // list empty, reported. The run-time state starts cleared.
    void LoadAwards();
    // The total becomes the number of awards of all groups (the groups themselves are not
    // counted); the labels "group1", "group2", ... that exist show the groups' titles; then
    // UpdateAwardCount.
    void ShowGroups();
    // No award unlocked: the count and every group's and award's flags cleared; then
    // UpdateAwardCount.
    void RefreshAwards();
    // Grants the first group of that title, else the first award of that title among the
    // groups' awards in order; an unknown title is ignored. A grant marks the award, unlocks
    // its item for player 0's look (nothing, reported, without a profile), sets its picture
    // and counts it.
    void UnlockAward(const TString<char>& title, bool isNew);
    // "unlocked/total" in the progress label, when there is one.
    void UpdateAwardCount();

    // "THUMBNAIL_" + the model without extension and without a skin colour after "_skin01"
    // + ".png".
    static TString<char> GetThumbnailName(const TString<char>& model);
    // An unlockable's Type: the outfit categories 0-3 in order, and the hairstyle.
    static constexpr std::array<const char*, 4> kOutfitTypes = {"Top", "Bottom", "Footwear", "Eyewear"};
    static constexpr const char* kHairType = "Hair";
    // The skin colours a skin-toned item's model name may end in.
    static constexpr std::array<const char*, 6> kSkinToneSuffixes = {"_skin01_blk", "_skin01_brw", "_skin01_dpnk",
                                                                     "_skin01_pnk", "_skin01_wht", "_skin01_yel"};

    sAwardList& GetAwardList() { return m_AwardList; }
    const sAwardList& GetAwardList() const { return m_AwardList; }
    u32 GetUnlockedCount() const { return m_UnlockedCount; }
    u32 GetTotalCount() const { return m_TotalCount; }

private:
    // Group button n's click.
    class GroupDelegate : public IDelegate {
    public:
        void Invoke() override;
        AwardsComposition* page = nullptr;
        u32 n = 0;
    };

    void Grant(sAward& award, bool isNew);
    GameServices::Widget::Panel* RootAsPanel() const;

    FDelegate<CompositionBase> m_BackDelegate{this, &CompositionBase::OnBackToMainMenu};
    FDelegate<AwardsComposition> m_WardrobeDelegate{this, &AwardsComposition::OnWardrobeClick};
    std::array<GroupDelegate, kGroupButtons> m_GroupDelegates;
    GameServices::Widget::Widget* m_BackButton = nullptr;
    // The shared wardrobe button listened to; it goes with the menu screen.
    GameServices::Widget::Widget* m_ListenedWardrobeButton = nullptr;
    std::array<GameServices::Widget::Widget*, kGroupButtons> m_GroupButtons{};
    std::array<GameServices::Widget::Widget*, kGroupButtons> m_GroupImages{};
    GameServices::Widget::Widget* m_ProgressLabel = nullptr;
    sAwardList m_AwardList;
    u32 m_UnlockedCount = 0;
    u32 m_TotalCount = 0;
};

}  // namespace GameShow
