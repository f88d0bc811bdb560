#pragma once
// The profiles page: up to four profiles (name, thumbnail, tick box), one ticked as the
// current one and shown on the menu avatar; delete behind the "VerifyProfileDelete" prompt,
// a new profile through the look page, and "DoneButton" to confirm the pick.
#include <array>
#include <map>

#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

namespace GameServices::Widget {
class ScreenManager;
}

namespace GameShow {

class ProfilesComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionProfiles";
    static constexpr const char* kNewProfilePage = "compositionBasicLook";
    static constexpr const char* kDeletePopup = "VerifyProfileDelete";
    static constexpr const char* kBaseImage = "Profile_Base.png";
    static constexpr const char* kSelectedImage = "Profile_Selected.png";
    static constexpr u32 kSlotCount = 4;
    // The widgets under the page's root panel: per slot its check box, the three buttons, then
    // per slot its name, picture, picture frame and base.
    static constexpr const char* kWidgets[] = {
        "profile1Checkbox",  "profile2Checkbox",  "profile3Checkbox",  "profile4Checkbox", "DeleteProfileButton",
        "NewProfileButton",  "DoneButton",        "profile1Name",      "profile2Name",     "profile3Name",
        "profile4Name",      "imageProfile1",     "imageProfile2",     "imageProfile3",    "imageProfile4",
        "baseImageProfile1", "baseImageProfile2", "baseImageProfile3", "baseImageProfile4", "baseImage1",
        "baseImage2",        "baseImage3",        "baseImage4"};

    ProfilesComposition();
    ~ProfilesComposition() override;

    // The slot widgets, the buttons (each missing one reported), the delete confirmation and
    // the shared wardrobe button listened to; then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    void Uninitialize() override;
    // Showing: the profile bar, then RefreshSlots.
    void OnActivate(bool show) override;

    // The slots filled from the loaded profiles in order, the current one ticked and
    // selected; new profile usable while fewer than four are loaded and the document has an
    // unused slot; delete usable (and not input-locked) with more than one profile.
    void RefreshSlots();
    // The same slot again only re-ticks it; another slot is ticked alone and its profile
    // shown on the menu avatar. Nothing is saved. A slot without a profile is ignored.
    void SelectSlot(i32 slot);

    // Button handlers (guard and click sound first).
    void OnDeleteClick();
    void OnNewProfileClick();
    // Selects the ticked profile (nothing without one), then the main menu.
    void OnProfilesDoneClick();
    // Selects the ticked profile (nothing without one), then the wardrobe, which returns here.
    void OnWardrobeClick();
    // The delete prompt confirmed: the next slot's profile (else the previous one's, else
    // slot 0's) becomes current, the ticked one is deleted. Without a ticked slot nothing is
    // deleted, selected or written.
    void OnDeleteConfirmed();

    // -1 when none.
    i32 GetSelectedSlot() const { return m_SelectedSlot; }
    // Slot index -> the document slot of its profile.
    const std::map<i32, i32>& GetSlotMap() const { return m_SlotMap; }

    // The screen manager the prompt is shown through; null means the game's. For tests.
    void SetScreens(GameServices::Widget::ScreenManager* screens) { m_Screens = screens; }

private:
    // Slot k's tick box click: guard, click sound, SelectSlot(k).
    class SlotDelegate : public IDelegate {
    public:
        void Invoke() override;
        ProfilesComposition* page = nullptr;
        i32 slot = 0;
    };
    struct Slot {
        GameServices::Widget::Widget* checkBox = nullptr;
        GameServices::Widget::Widget* name = nullptr;
        GameServices::Widget::Widget* image = nullptr;
        GameServices::Widget::Widget* baseImageProfile = nullptr;
        GameServices::Widget::Widget* baseImage = nullptr;
    };

    GameServices::Widget::ScreenManager& Screens() const;
    void OnSlotClick(i32 slot);
    void SetBackground(i32 slot, const char* image);
    // The document slot of the ticked profile; -1 without one.
    i32 SelectedProfileSlot() const;
    void ShowOnAvatar(i32 documentSlot);

    std::array<SlotDelegate, kSlotCount> m_SlotDelegates;
    FDelegate<ProfilesComposition> m_DeleteDelegate{this, &ProfilesComposition::OnDeleteClick};
    FDelegate<ProfilesComposition> m_NewProfileDelegate{this, &ProfilesComposition::OnNewProfileClick};
    FDelegate<ProfilesComposition> m_DoneDelegate{this, &ProfilesComposition::OnProfilesDoneClick};
    FDelegate<ProfilesComposition> m_WardrobeDelegate{this, &ProfilesComposition::OnWardrobeClick};
    FDelegate<ProfilesComposition> m_DeleteConfirmedDelegate{this, &ProfilesComposition::OnDeleteConfirmed};
    std::array<Slot, kSlotCount> m_Slots{};
    GameServices::Widget::Widget* m_DeleteButton = nullptr;
    GameServices::Widget::Widget* m_NewProfileButton = nullptr;
    GameServices::Widget::Widget* m_DoneButton = nullptr;
    GameServices::Widget::Widget* m_ListenedWardrobeButton = nullptr;
    bool m_ListensToDeletes = false;
    i32 m_SelectedSlot = -1;
    std::map<i32, i32> m_SlotMap;
    GameServices::Widget::ScreenManager* m_Screens = nullptr;
};

}  // namespace GameShow
