#pragma once
// Counts the connected input devices against the number the game requires and the number
// it allows. A device beyond the allowed number is refused; while a required device is
// missing the device-missing event fires once, and device-found when it comes back.
#include "engine/core/AGSingleton.h"
#include "engine/core/FHandler.h"
#include "gameservices/bridge/IDeviceSystem.h"

namespace GameServices::KorvoGame {

template <typename T>
using DeviceInfoDelegate = FDelegateParam<T, Bridge::DeviceInfos&>;

class DeviceManager : public AGSingleton<DeviceManager> {
public:
    // The largest maximum that is not reported.
    static constexpr u32 kSupportedDevices = 10;
    // Device ids the game uses: 0 up to this limit; others are refused.
    static constexpr u32 kDeviceIds = 8;

    // Publishes itself and follows the device system's device-lost event.
    DeviceManager();
    ~DeviceManager() override;
    DeviceManager(const DeviceManager&) = delete;
    DeviceManager& operator=(const DeviceManager&) = delete;

    // Called by the device system for every device that connects.
    void onDeviceConnected(Bridge::DeviceInfos& infos);
    void onDeviceDisconnected(Bridge::DeviceInfos& infos);

    // A maximum above the supported limit or below the minimum is reported and stored all
    // the same. Sets the device system's device count to 1 and, unless suppressed, checks
    // for missing devices and lets the device system drop the devices beyond the maximum.
    void SetDeviceRange(u32 minimum, u32 maximum);
    // Set at construction.
    void SetSuppressed(bool suppressed) { m_Suppress = suppressed; }

    u32 GetMinimum() const { return m_Minimum; }
    u32 GetMaximum() const { return m_Maximum; }
    u32 GetConnectedCount() const { return m_Count; }
    bool IsWaiting() const { return m_Waiting; }
    bool IsConnected(i32 deviceId) const {
        return deviceId >= 0 && u32(deviceId) < kDeviceIds && m_Connected[deviceId] != 0;
    }

    FHandlerParam<Bridge::DeviceInfos&>& GetDeviceConnectedEvent() { return m_DeviceConnected; }
    FHandlerParam<Bridge::DeviceInfos&>& GetDeviceDisconnectedEvent() { return m_DeviceDisconnected; }
    FHandlerParam<Bridge::DeviceInfos&>& GetDeviceMissingEvent() { return m_DeviceMissing; }
    FHandlerParam<Bridge::DeviceInfos&>& GetDeviceFoundEvent() { return m_DeviceFound; }

private:
    // The first required device id without a device fires device-missing and sets waiting.
    void CheckMissingDevices();

    u32 m_Minimum = 1;
    u32 m_Maximum = 1;
    u32 m_Count = 0;
    bool m_Waiting = false;
    bool m_Suppress = true;
    u8 m_Connected[kDeviceIds] = {};
    DeviceInfoDelegate<DeviceManager> m_OnDeviceConnected{this, &DeviceManager::onDeviceConnected};
    DeviceInfoDelegate<DeviceManager> m_OnDeviceDisconnected{this, &DeviceManager::onDeviceDisconnected};
    FHandlerParam<Bridge::DeviceInfos&> m_DeviceConnected;
    FHandlerParam<Bridge::DeviceInfos&> m_DeviceDisconnected;
    FHandlerParam<Bridge::DeviceInfos&> m_DeviceMissing;
    FHandlerParam<Bridge::DeviceInfos&> m_DeviceFound;
    // The device system whose device-lost event this follows.
    Bridge::IDeviceSystem* m_DeviceSystem = nullptr;
};

}  // namespace GameServices::KorvoGame
