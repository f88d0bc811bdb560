#pragma once
// The wardrobe page: six tabs (hair, glasses, tops, bottoms, shoes, extra items) and a grid
// of twelve item slots. A slot press puts its item on the menu avatar at once and has the
// avatar try it on; "DoneButton" keeps the look in the current profile, writes the save and
// goes back to the page that opened the wardrobe.
#include <array>
#include <map>
#include <vector>

#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameshow/CompositionBase.h"

namespace GameServices::Entities {
class Character;
}

namespace GameShow {

class PlayerProfile;

class WardrobeComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionWardrobe";
    static constexpr u32 kTabCount = 6;
    static constexpr u32 kSlotCount = 12;
    // The widgets under the page's root panel: the tabs, the item buttons, "DoneButton", the
    // item bases and the item thumbnails.
    static constexpr const char* kWidgets[kTabCount + 3 * kSlotCount + 1] = {
        "tabhair", "tabglasses", "tabshirt", "tabpants", "tabshoes", "tablock",
        "effect0", "effect1", "effect2", "effect3", "effect4", "effect5",
        "effect6", "effect7", "effect8", "effect9", "effect10", "effect11", "DoneButton",
        "base0",   "base1",   "base2",   "base3",   "base4",   "base5",
        "base6",   "base7",   "base8",   "base9",   "base10",  "base11",
        "thumb0",  "thumb1",  "thumb2",  "thumb3",  "thumb4",  "thumb5",
        "thumb6",  "thumb7",  "thumb8",  "thumb9",  "thumb10", "thumb11"};
    // The picture of a slot with no item.
    static constexpr const char* kEmptySlotPicture = "Awards_Locked.png";
    static constexpr i32 kHairTab = 0;
    static constexpr i32 kGlassesTab = 1;
    static constexpr i32 kExtraTab = 5;
    // The tab buttons, in tab order.
    static constexpr std::array<const char*, kTabCount> kTabNames = {"tabhair",  "tabglasses", "tabshirt",
                                                                     "tabpants", "tabshoes",   "tablock"};
    // The no-glasses choice at the front of the glasses tab: male, female.
    static constexpr std::array<const char*, 2> kNoEyewearNames = {"ChM_No_Eyewear", "ChF_No_Eyewear"};

    WardrobeComposition();
    ~WardrobeComposition() override;

    // Root panel, tabs, slot buttons, "DoneButton", slot backgrounds (made visible) and slot
    // pictures, each missing one reported; listens to the presses; grid shown; then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Stops listening and forgets the widgets.
    void Uninitialize() override;
    // Showing: the tag panel back, the shared wardrobe button parked, tab 0 filled and
    // selected.
    void OnActivate(bool show) override;

    // Another tab: filled, no slot selected. The tab is marked selected either way.
    void SelectTab(i32 tab);
    // The tab's item names (defaults, then the current profile's unlocked ones; extra items
    // on the last tab) into the grid; nothing changes without an avatar look (reported).
    void BuildItemList(i32 tab);
    // The slots from the shown names: a picture per item, empty slots hidden and inactive.
    void FillThumbnails();
    // Slot backgrounds, pictures and buttons shown or hidden.
    void ShowItemGrid(bool visible);
    // Puts slot `slot`'s item on the avatar and asks for the tab's try-on; the selected slot
    // again only re-marks it; a slot beyond the list is ignored.
    void OnItemPressed(i32 slot);

    // Press handlers: guard, click sound, then act (a slot without an item takes no press).
    void OnTabClick(i32 tab);
    void OnSlotClick(i32 slot);
    // The avatar's look into the current profile and the save written (neither without a
    // current profile, reported); then back to the opener.
    void OnDoneClick();

    i32 GetSelectedSlot() const { return m_SelectedSlot; }
    i32 GetCurrentTab() const { return m_CurrentTab; }
    const std::vector<TString<char>>& GetShownNames() const { return m_ShownNames; }
    const std::vector<TString<char>>& GetWornNames() const { return m_WornNames; }

private:
    // A tab's or a slot's press.
    class PressDelegate : public IDelegate {
    public:
        void Invoke() override;
        WardrobeComposition* page = nullptr;
        i32 index = 0;
        bool isTab = false;
    };

    GameServices::Widget::Panel* RootAsPanel() const;
    GameServices::Widget::Widget* Find(const char* name) const;
    // The profile of the settings' current slot; null when none.
    static PlayerProfile* CurrentProfile();
    // The names slot presses put on: the shown ones on the hair tab, the worn ones elsewhere.
    const std::vector<TString<char>>& TabNames() const;
    bool HasItem(i32 slot) const;
    void TryOn(GameServices::Entities::Character& avatar) const;

    std::array<PressDelegate, kTabCount> m_TabDelegates;
    std::array<PressDelegate, kSlotCount> m_SlotDelegates;
    FDelegate<WardrobeComposition> m_DoneDelegate{this, &WardrobeComposition::OnDoneClick};
    std::array<GameServices::Widget::Widget*, kTabCount> m_Tabs{};
    std::array<GameServices::Widget::Widget*, kSlotCount> m_Effects{};
    std::array<GameServices::Widget::Widget*, kSlotCount> m_Thumbs{};
    std::array<GameServices::Widget::Widget*, kSlotCount> m_Bases{};
    i32 m_SelectedSlot = -1;
    i32 m_CurrentTab = 0;
    GameServices::Widget::Widget* m_DoneButton = nullptr;
    std::vector<TString<char>> m_DefaultNames;
    std::vector<TString<char>> m_ShownNames;
    std::vector<TString<char>> m_WornNames;
    // Tab -> the part type it dresses (the extra tab has none).
    std::map<i32, i32> m_TabPartType;
};

}  // namespace GameShow
