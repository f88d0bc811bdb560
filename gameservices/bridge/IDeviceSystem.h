#pragma once
// What the game services need of the device system: triggers bound to key, pointer,
// rotation and acceleration input that call a listener with the firing trigger's data, and
// the device connection events. The device system implements this interface and publishes
// itself with SetInstance.
#include "engine/core/AGSingleton.h"
#include "engine/core/FHandler.h"
#include "engine/core/TString.h"

namespace GameServices::Bridge {

// What a firing trigger hands its listener.
struct sActionData {
    // -1 for none.
    i32 m_DeviceId = -1;
    // Pointer position in window pixels.
    f32 m_X = 0.0f;
    f32 m_Y = 0.0f;
    // 1 for key and button triggers (and typed characters).
    u8 m_KeyFlag = 0;
    // The engine key code, the character code of a typed character, -1 for pointer triggers.
    i32 m_KeyCode = 0;
    u8 m_Byte = 0;
    // Readings of rotation and acceleration triggers.
    f32 m_Values[4] = {};
    // Lower-case.
    TString<char> m_ActionName;
    // 1 for pointer triggers.
    u8 m_PointerFlag = 0;
    // 1 on a key's press firing, 0 on its release firing.
    u8 m_KeyDown = 0;
    // The pointer is inside the window.
    bool m_PointerVisible = false;
    // Set by a listener of a key's press that takes the key for itself: the character the key
    // types in the same poll is then not typed.
    u8 m_KeyTaken = 0;
};

// The device system's record of one device; dropping it refuses the device.
class IDeviceEngineData {
public:
    virtual ~IDeviceEngineData() = default;
    virtual void DropDevice() = 0;
};

// Payload of the device connection events.
struct DeviceInfos {
    i32 m_DeviceId = -1;
    // Null when the event does not come from a device (a missing one).
    IDeviceEngineData* m_EngineData = nullptr;
};

using ActionListener = IDelegateParam<sActionData*>;

// A bound trigger. The caller of a Listen operation sets the device id, action name and
// pausable flag from the trigger description.
class DeviceTrigger {
public:
    virtual ~DeviceTrigger() = default;

    // Fired with the trigger's record; the listener given to Listen is its delegate.
    FHandlerParam<sActionData*> m_Event;
    // -1: any device.
    i32 m_DeviceId = -1;
    TString<char> m_ActionName;
    bool m_Pausable = true;
    // Set by Unlisten; a removed trigger no longer fires and goes at the next purge.
    bool m_Removed = false;
    ActionListener* m_Listener = nullptr;
};

class IDeviceSystem : public AGSingleton<IDeviceSystem> {
public:
    // A trigger on the named key (or button) in the state "press", "release" or "none";
    // null when none can be made.
    virtual DeviceTrigger* ListenKey(const TString<char>& keyName, const TString<char>& state,
                                     ActionListener* listener) = 0;
    // Removes the first key trigger with these key, state, listener and action name.
    virtual void UnlistenKey(const TString<char>& keyName, const TString<char>& state,
                             ActionListener* listener, const TString<char>& actionName) = 0;
    // A trigger on the pointer; axis "axis-all", "axis-up" and so on.
    virtual DeviceTrigger* ListenMove(const TString<char>& axis, ActionListener* listener) = 0;
    virtual void UnlistenMove(const TString<char>& axis, ActionListener* listener,
                              const TString<char>& actionName) = 0;
    // Threshold triggers of the rotation list and of the acceleration list.
    virtual DeviceTrigger* ListenRotation(const TString<char>& axis, f32 minimum, f32 maximum,
                                          ActionListener* listener) = 0;
    virtual void UnlistenRotation(const TString<char>& axis, ActionListener* listener,
                                  const TString<char>& actionName) = 0;
    virtual DeviceTrigger* ListenAcceleration(const TString<char>& axis, f32 minimum,
                                              f32 maximum, ActionListener* listener) = 0;
    virtual void UnlistenAcceleration(const TString<char>& axis, ActionListener* listener,
                                      const TString<char>& actionName) = 0;

    // Drops every registered device beyond the first count.
    virtual void AttachDevices(u32 count) = 0;
    virtual void SetDeviceCount(u32 count) = 0;
    // Fired with the device that goes away.
    virtual FHandlerParam<DeviceInfos&>& GetDeviceLostEvent() = 0;
    // Fired once per character typed, in typing order, with a key record whose key code is
    // the character code and whose action name is "softkey".
    virtual FHandlerParam<sActionData*>& GetTypedCharacterEvent() = 0;
};

}  // namespace GameServices::Bridge
