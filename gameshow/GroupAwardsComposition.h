#pragma once
// The page of one award group: its title and icon and one slot per award (name, description,
// panel, prize picture, medal, glow). Earned awards show their prize and medal; a newly earned
// one glows on its first showing only.
#include <array>

#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

namespace GameShow {

class sMetaAward;

// An image's picture, reloaded; a null widget is skipped, another kind reported.
void ShowWidgetPicture(GameServices::Widget::Widget* widget, const TString<char>& picture);

class GroupAwardsComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionGroupAwards";
    // The layout's award slots; awards of a group beyond them are not shown.
    static constexpr u32 kSlotCount = 4;
    // The widget families of a slot, in kWidgets order after "title" and "iconAward".
    enum Family : u32 { kAwardName, kAwardDescription, kAwardPanel, kAwardPrize, kAwardMedal, kAwardGlow, kFamilies };
    // The widgets under the page's root panel: the title, the group icon, each family's slots
    // 1 to 4, then back.
    static constexpr const char* kWidgets[2 + kFamilies * kSlotCount + 1] = {
        "title",        "iconAward",    "awardName1",   "awardName2",   "awardName3",   "awardName4",
        "awardDescription1", "awardDescription2", "awardDescription3", "awardDescription4",
        "awardPanel1",  "awardPanel2",  "awardPanel3",  "awardPanel4",  "awardPrize1",  "awardPrize2",
        "awardPrize3",  "awardPrize4",  "awardMedal1",  "awardMedal2",  "awardMedal3",  "awardMedal4",
        "awardGlow1",   "awardGlow2",   "awardGlow3",   "awardGlow4",   "BackButton"};
    // The name of a family's slot (0 to kSlotCount - 1).
    static constexpr const char* SlotWidget(Family family, u32 slot) { return kWidgets[2 + family * kSlotCount + slot]; }
    static constexpr const char* kUnlockedPanel = "Award_Panel.png";
    static constexpr const char* kLockedPanel = "Award_Panel_Locked.png";
    static constexpr const char* kLockedPrize = "Awards_Locked.png";
    // The group's icon, numbered from 1 (one per award group button).
    static constexpr const char* kIconPicture = "Icon_Award%u";

    GroupAwardsComposition() = default;
    ~GroupAwardsComposition() override;

    // Root panel, "BackButton" and the slots' name, description, prize and medal widgets
    // (each missing one reported); listens to back and the shared wardrobe button; hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Stops listening and forgets the widgets.
    void Uninitialize() override;
    // With the profile bar.
    void OnActivate(bool show) override;
    // Entering the menu screen leaves the page as it is.
    void OnScreenEnter() override {}

    // Draws the group (`index` from 0 picks its icon) into the slots, widgets looked up by
    // name each time; clears the shown awards' new flags. Missing widgets are skipped.
    void ShowGroup(sMetaAward& group, u32 index);

    // Guard, click sound, then the awards page.
    void OnBackClick();
    // Guard, click sound; the wardrobe returns here.
    void OnWardrobeClick();

private:
    FDelegate<GroupAwardsComposition> m_BackDelegate{this, &GroupAwardsComposition::OnBackClick};
    FDelegate<GroupAwardsComposition> m_WardrobeDelegate{this, &GroupAwardsComposition::OnWardrobeClick};
    GameServices::Widget::Widget* m_BackButton = nullptr;
    // The shared wardrobe button listened to; it goes with the menu screen.
    GameServices::Widget::Widget* m_ListenedWardrobeButton = nullptr;
    std::array<GameServices::Widget::Widget*, kSlotCount> m_Names{};
    std::array<GameServices::Widget::Widget*, kSlotCount> m_Descriptions{};
    std::array<GameServices::Widget::Widget*, kSlotCount> m_Prizes{};
    std::array<GameServices::Widget::Widget*, kSlotCount> m_Medals{};
};

}  // namespace GameShow
