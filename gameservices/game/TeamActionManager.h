#pragma once
// Team actions: an action raised by a device becomes an action of the team member bound to
// that device, handed to every listener of the action's name. Computer players raise the
// same actions with SimulateTeamAction. Also shows the controller popup while a required
// device is missing.
#include <cstdint>
#include <map>
#include <vector>

#include "engine/core/AGSingleton.h"
#include "engine/core/FHandler.h"
#include "gameservices/bridge/IDeviceSystem.h"
#include "gameservices/game/ActionManager.h"
#include "gameservices/game/DeviceManager.h"

namespace GameServices::Entities {
class BaseTeamMember;
}

namespace GameServices::KorvoGame {

class IPopupService;

// What a team-action listener receives.
class TeamActionData {
public:
    TeamActionData() = default;
    TeamActionData(Bridge::sActionData* actionData, uintptr_t word,
                   Entities::BaseTeamMember* member)
        : m_ActionData(actionData), m_Word(word), m_Member(member) {}
    virtual ~TeamActionData() = default;

    // The firing trigger's data, or what the caller of SimulateTeamAction gave.
    Bridge::sActionData* m_ActionData = nullptr;
    // A pointer or a character code, as the action's raiser decides; from devices, the
    // character code of a typed character and 0 for every other action.
    uintptr_t m_Word = 0;
    // Never null.
    Entities::BaseTeamMember* m_Member = nullptr;
};

using TeamActionListener = IDelegateParam<TeamActionData*>;
template <typename T>
using TeamActionManagerDelegate = FDelegateParam<T, TeamActionData*>;

class TeamActionManager : public AGSingleton<TeamActionManager> {
public:
    // The controls popup, its message label and the string id of the message's text.
    static constexpr const char* kControllerPopup = "DeviceController";
    static constexpr const char* kControllerMessage = "Message01";
    static constexpr const char* kControllerTextId = "GS_CONTROLLER_01";
    // Device ids 0 up to this limit have a member slot.
    static constexpr u32 kMemberSlots = 10;

    // Publishes itself, follows the device manager's disconnected, missing and found events
    // (the device manager calls OnDeviceConnected itself) and the typed-character event of the
    // device system published then. Disabled until enabled.
    TeamActionManager(ActionManager& actions, DeviceManager& devices);
    // Unbinds every action still listened to.
    ~TeamActionManager() override;
    TeamActionManager(const TeamActionManager&) = delete;
    TeamActionManager& operator=(const TeamActionManager&) = delete;

    // Names match in any letter case. The first listener of a name binds the action through
    // the action manager, except "SoftKey" (typed characters, whose word is the character
    // code); a listener registered twice is called twice.
    void ListenTeamAction(TeamActionListener* listener, const TString<char>& name);
    // Removes one registration; the last one of a name unbinds the action.
    void UnlistenTeamAction(TeamActionListener* listener, const TString<char>& name);

    // The listener bound to the device triggers. Dropped while disabled and for actions of
    // no device (negative ids); ids beyond the slots are reported; a device without a
    // member reaches nobody.
    void OnDeviceAction(Bridge::sActionData* data);
    // Calls the listeners of the name with the caller's data, as if the member's device had
    // raised it; only while enabled.
    void SimulateTeamAction(TeamActionData* data, const TString<char>& name);
    // Frees the member's slot; its device id becomes -1.
    void DisconnectMember(Entities::BaseTeamMember* member);

    void SetEnabled(bool enabled) { m_Enabled = enabled; }
    bool IsEnabled() const { return m_Enabled; }
    // Binds a member to the slot of a device id (the member connection logic does this).
    void SetMember(i32 deviceId, Entities::BaseTeamMember* member);
    Entities::BaseTeamMember* GetMember(i32 deviceId) const;
    // The popups of the user interface; borrowed.
    void SetPopupService(IPopupService* popups) { m_Popups = popups; }
    bool IsPopupShown() const { return m_PopupShown; }

    // Device handlers.
    void OnDeviceConnected(Bridge::DeviceInfos& infos);
    void OnDeviceDisconnected(Bridge::DeviceInfos& infos);
    void OnDeviceMissing(Bridge::DeviceInfos& infos);
    void OnDeviceFound(Bridge::DeviceInfos& infos);

    FHandlerParam<const TString<char>&>& GetPopupEvent() { return m_PopupEvent; }
    // Fired with an empty text when the controller popup closes.
    FHandlerParam<const TString<char>&>& GetPopupClosedEvent() { return m_PopupClosedEvent; }

    static FHandlerParam<Bridge::DeviceInfos&>& GetMemberDeviceReconnectedEvent() {
        return s_MemberDeviceReconnected;
    }
    static FHandlerParam<Bridge::DeviceInfos&>& GetFreeDeviceConnectedEvent() {
        return s_FreeDeviceConnected;
    }
    static FHandlerParam<Entities::BaseTeamMember*>& GetMemberDeviceLostEvent() {
        return s_MemberDeviceLost;
    }

private:
    struct Listeners {
        TString<char> m_Name;
        std::vector<TeamActionListener*> m_Delegates;
    };

    // Calls, in order, the listeners registered under the key when the dispatch starts,
    // skipping any that is no longer registered when its turn comes (a listener may remove
    // another, whose owner may then be gone).
    void Dispatch(u32 key, const TString<char>& name, TeamActionData& data);
    bool IsRegistered(u32 key, TeamActionListener* listener) const;
    // The slot of a device id; a negative id is silently none, an id beyond the slots is
    // reported.
    bool SlotOf(i32 deviceId, u32& slot) const;

    ActionManager& m_Actions;
    DeviceManager& m_Devices;
    // By name id of the lower-cased name.
    std::map<u32, Listeners> m_Listeners;
    bool m_Enabled = false;
    bool m_PopupShown = false;
    Entities::BaseTeamMember* m_Members[kMemberSlots] = {};
    DeviceInfoDelegate<TeamActionManager> m_OnDeviceDisconnected{this, &TeamActionManager::OnDeviceDisconnected};
    DeviceInfoDelegate<TeamActionManager> m_OnDeviceMissing{this, &TeamActionManager::OnDeviceMissing};
    DeviceInfoDelegate<TeamActionManager> m_OnDeviceFound{this, &TeamActionManager::OnDeviceFound};
    FHandlerParam<const TString<char>&> m_PopupEvent;
    FHandlerParam<const TString<char>&> m_PopupClosedEvent;
    ActionManagerDelegate<TeamActionManager> m_OnDeviceAction{this, &TeamActionManager::OnDeviceAction};
    IPopupService* m_Popups = nullptr;
    // The device system whose typed characters this follows.
    Bridge::IDeviceSystem* m_DeviceSystem = nullptr;

    static inline FHandlerParam<Bridge::DeviceInfos&> s_MemberDeviceReconnected;
    static inline FHandlerParam<Bridge::DeviceInfos&> s_FreeDeviceConnected;
    static inline FHandlerParam<Entities::BaseTeamMember*> s_MemberDeviceLost;
};

}  // namespace GameServices::KorvoGame
