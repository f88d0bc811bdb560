#pragma once
// The player-count page: 2, 3 or 4 players. The device manager is told how many input
// devices the game needs; while one of them is missing the "WaitingForDevice" popup waits
// (connecting a device or losing a member tries again, its "Back" gives up); once all are
// there the count is recorded and the multi-avatar page follows.
#include "engine/core/FDelegate.h"
#include "gameshow/CompositionBase.h"

namespace GameServices::Bridge {
struct DeviceInfos;
}

namespace GameServices::Entities {
class BaseTeamMember;
}

namespace GameServices::Widget {
class ScreenManager;
}

namespace GameShow {

class NumberOfPlayerComposition : public CompositionBase {
public:
    static constexpr const char* kName = "compositionNumberOfPlayer";
    // The widgets under the page's root panel: the player-count buttons and back.
    static constexpr const char* kWidgets[] = {"NumberOfPlayer_Btn2", "NumberOfPlayer_Btn3", "NumberOfPlayer_Btn4",
                                               "BackButton"};
    static constexpr const char* kNextPage = "compositionMultiSelectAvatar";
    static constexpr const char* kWaitPopup = "WaitingForDevice";
    static constexpr const char* kWaitBackButton = "Back";

    NumberOfPlayerComposition() = default;
    ~NumberOfPlayerComposition() override;

    // The count, wardrobe and back buttons under the page (each missing one reported) and
    // the popup's "Back"; then hidden.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // Unbinds everything, stops waiting.
    void Uninitialize() override;
    // The base body and the profile bar.
    void OnActivate(bool show) override;

    // Count handlers (guard and click sound first): between one and N devices, then TryStart.
    void OnTwoPlayersClick();
    void OnThreePlayersClick();
    void OnFourPlayersClick();
    void OnWardrobeClick();

    // The first missing device shows the popup and waits for a device change; with all
    // there: exactly N devices, the profile manager's player count N, the menu avatar
    // hidden, then the next page.
    void TryStart();
    // While waiting: the popup hidden and TryStart again.
    void OnDeviceChanged(GameServices::Bridge::DeviceInfos& infos);
    void OnMemberRemoved(GameServices::Entities::BaseTeamMember* member);
    // The popup's "Back" while this page waits: no more waiting, back to one device.
    void OnWaitingBack();

    bool IsWaiting() const { return m_Waiting; }
    i32 GetPlayerCount() const { return m_PlayerCount; }

    // The screen manager the popup goes through; null means the game's. For tests.
    void SetScreens(GameServices::Widget::ScreenManager* screens) { m_Screens = screens; }

private:
    GameServices::Widget::ScreenManager& Screens() const;
    void ChooseCount(i32 count);
    // Follows the global device-connected and member-lost events while waiting.
    void SetWaiting(bool waiting);

    FDelegate<NumberOfPlayerComposition> m_TwoDelegate{this, &NumberOfPlayerComposition::OnTwoPlayersClick};
    FDelegate<NumberOfPlayerComposition> m_ThreeDelegate{this, &NumberOfPlayerComposition::OnThreePlayersClick};
    FDelegate<NumberOfPlayerComposition> m_FourDelegate{this, &NumberOfPlayerComposition::OnFourPlayersClick};
    FDelegate<NumberOfPlayerComposition> m_WardrobeDelegate{this, &NumberOfPlayerComposition::OnWardrobeClick};
    FDelegate<CompositionBase> m_BackDelegate{this, &CompositionBase::OnBackToMainMenu};
    FDelegateParam<NumberOfPlayerComposition, GameServices::Bridge::DeviceInfos&> m_DeviceDelegate{
        this, &NumberOfPlayerComposition::OnDeviceChanged};
    FDelegateParam<NumberOfPlayerComposition, GameServices::Entities::BaseTeamMember*> m_MemberDelegate{
        this, &NumberOfPlayerComposition::OnMemberRemoved};
    FDelegate<NumberOfPlayerComposition> m_WaitingBackDelegate{this, &NumberOfPlayerComposition::OnWaitingBack};
    GameServices::Widget::Widget* m_TwoButton = nullptr;
    GameServices::Widget::Widget* m_ThreeButton = nullptr;
    GameServices::Widget::Widget* m_FourButton = nullptr;
    GameServices::Widget::Widget* m_WardrobeButton = nullptr;
    GameServices::Widget::Widget* m_BackButton = nullptr;
    bool m_PopupBound = false;
    bool m_Waiting = false;
    i32 m_PlayerCount = 0;
    i32 m_FirstRequiredDevice = 0;
    GameServices::Widget::ScreenManager* m_Screens = nullptr;
};

}  // namespace GameShow
