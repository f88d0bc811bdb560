#pragma once
// The game's main-menu page ("compositionMainMenu"): the show's main menu whose play button
// sets up a one-player game against the computer family and opens the decade page. The
// two-player start is kept but no control reaches it.
#include "engine/core/FDelegate.h"
#include "gameshow/MainMenuComposition.h"

namespace GameServices::Bridge {
struct DeviceInfos;
}

namespace GameServices::Entities {
class BaseTeamMember;
}

namespace GameShow {

class QZ11MainMenuComposition : public MainMenuComposition {
public:
    static constexpr const char* kDecadePage = "compositionDecadeSelector";
    static constexpr const char* kWaitPopup = "WaitingForDevice";
    static constexpr const char* kWaitBackButton = "Back";

    QZ11MainMenuComposition() = default;
    ~QZ11MainMenuComposition() override;

    // The base page, then the play button re-bound, the device events followed and the
    // waiting popup's "Back" bound.
    void Initialize(GameServices::Widget::Panel* screenPanel, const TString<char>& name) override;
    // The base page's unbinding, then everything Initialize added.
    void Uninitialize() override;

    // Ignored while the page takes no input; otherwise the button sound, a one-player game
    // with the computer playing "Member 2", and the decade page.
    void onSinglePlayerClicked();
    // Only while waiting for a device: the popup hidden and the two-player start tried again.
    void onDeviceEvent(GameServices::Bridge::DeviceInfos& infos);
    void onDeviceEvent(GameServices::Entities::BaseTeamMember* member);
    // The button sound, no more waiting, one device.
    void onWaitingBackClicked();
    // Waits with the popup for the first missing device; with all there, a two-player game
    // and the decade page.
    void StartTwoPlayerGame();

    bool IsWaitingForDevice() const { return m_WaitingForDevice; }

private:
    // "Member 2" of player one's family; null (reported) without one.
    static GameServices::Entities::BaseTeamMember* SecondMember();
    void OnDeviceChange();

    FDelegate<QZ11MainMenuComposition> m_SinglePlayerDelegate{this, &QZ11MainMenuComposition::onSinglePlayerClicked};
    FDelegateParam<QZ11MainMenuComposition, GameServices::Bridge::DeviceInfos&> m_DeviceConnectedDelegate{
        this, &QZ11MainMenuComposition::onDeviceEvent};
    FDelegateParam<QZ11MainMenuComposition, GameServices::Entities::BaseTeamMember*> m_MemberLostDelegate{
        this, &QZ11MainMenuComposition::onDeviceEvent};
    FDelegate<QZ11MainMenuComposition> m_WaitingBackDelegate{this, &QZ11MainMenuComposition::onWaitingBackClicked};
    // The play button as the base page found it; it goes with the menu screen.
    GameServices::Widget::Widget* m_SinglePlayerButton = nullptr;
    bool m_Subscribed = false;
    bool m_WaitingForDevice = false;
    u32 m_RequiredDevices = 1;
    u32 m_FirstCheckedDevice = 1;
};

}  // namespace GameShow
