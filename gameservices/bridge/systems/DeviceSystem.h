#pragma once
// Turns the engine's input devices into named actions. Each frame, while active, the move,
// key, rotation and acceleration triggers are evaluated in that order (so a button carries
// the pointer position of its own frame) and fire their records, then every character typed
// since the last poll is fired on the typed-character event.
//
// Listen and Unlisten may be called from a listener: during a pass Unlisten only marks the
// trigger, which is purged at the end of Update, and a trigger added during a pass takes
// part from the next frame.
#include <memory>
#include <vector>

#include "gameservices/bridge/IDeviceSystem.h"
#include "gameservices/bridge/systems/DeviceTrigger.h"
#include "gameservices/entities/Factory.h"
#include "gameservices/entities/VolatileData.h"
#include "gameservices/game/IModule.h"

class AGDevice;

namespace GameServices::Bridge {

class DeviceSystem : public IDeviceSystem, public KorvoGame::IModule {
public:
    static constexpr u32 kPointerSlots = 10;

    // Makes the three trigger pools (capacities from the "GameServices" runtime parameters)
    // and publishes itself; the destructor deletes every trigger, the pools, and unpublishes.
    DeviceSystem();
    ~DeviceSystem() override;
    DeviceSystem(const DeviceSystem&) = delete;
    DeviceSystem& operator=(const DeviceSystem&) = delete;

    // The published device system, created on first use.
    static DeviceSystem* Instance();
    // Deletes the published one (game end).
    static void Shutdown();

    // Game start: device count 1, the platform's connect and disconnect callbacks, the key
    // names, pointer positions (-1, -1), one DeviceInfos per device id to the game's device
    // manager, and the active flag.
    void Startup();

    void Update(u32 dt) override;
    void Reset() override {}
    bool IsPausable() const override { return false; }

    DeviceTrigger* ListenKey(const TString<char>& keyName, const TString<char>& state,
                             ActionListener* listener) override;
    void UnlistenKey(const TString<char>& keyName, const TString<char>& state,
                     ActionListener* listener, const TString<char>& actionName) override;
    DeviceTrigger* ListenMove(const TString<char>& axis, ActionListener* listener) override;
    void UnlistenMove(const TString<char>& axis, ActionListener* listener,
                      const TString<char>& actionName) override;
    DeviceTrigger* ListenRotation(const TString<char>& axis, f32 minimum, f32 maximum,
                                  ActionListener* listener) override;
    void UnlistenRotation(const TString<char>& axis, ActionListener* listener,
                          const TString<char>& actionName) override;
    DeviceTrigger* ListenAcceleration(const TString<char>& axis, f32 minimum, f32 maximum,
                                      ActionListener* listener) override;
    void UnlistenAcceleration(const TString<char>& axis, ActionListener* listener,
                              const TString<char>& actionName) override;

    // Announces every device whose id + 1 exceeds the count as disconnected, then detaches it.
    void AttachDevices(u32 count) override;
    void SetDeviceCount(u32 count) override { m_DeviceCount = count; }
    FHandlerParam<DeviceInfos&>& GetDeviceLostEvent() override { return m_DeviceDisconnected; }
    FHandlerParam<sActionData*>& GetTypedCharacterEvent() override { return m_TypedCharacter; }
    FHandlerParam<DeviceInfos&>& GetDeviceConnectedEvent() { return m_DeviceConnected; }

    void SetActive(bool active) { m_Active = active; }
    bool IsActive() const { return m_Active; }
    // Follows the game's pause.
    void SetPaused(bool paused) { m_Paused = paused; }
    bool IsPaused() const { return m_Paused; }
    u32 GetDeviceCount() const { return m_DeviceCount; }
    KeyNameTable& GetKeyNames() { return m_KeyNames; }
    // The position the move pass stored for a device index; (-1, -1) for an index outside
    // the slots.
    void GetPointer(i32 index, f32& x, f32& y) const;

    // The platform's device callbacks; data is the AGDevice.
    static void OnPlatformDeviceConnected(void* context, void* data);
    static void OnPlatformDeviceDisconnected(void* context, void* data);

private:
    // The device system's record of one engine device, handed out in DeviceInfos.
    class DeviceRecord : public IDeviceEngineData {
    public:
        explicit DeviceRecord(AGDevice* device);
        void DropDevice() override { m_Dropped = true; }
        AGDevice* Device() const;

        bool m_Dropped = false;
        Entities::VolatileData m_Data;
    };

    DeviceInfos InfosOf(AGDevice* device);
    void UpdateMoveTriggers();
    void UpdateKeyTriggers();
    void UpdateRotationTriggers();
    void UpdateAccelerationTriggers();
    void UpdateTypedCharacters();
    void FireKey(DeviceTriggerKey& trigger, u32 index, u8 keyDown);
    DeviceTriggerAccel* ListenThreshold(std::vector<DeviceTriggerAccel*>& list,
                                        const TString<char>& axis, f32 minimum, f32 maximum,
                                        ActionListener* listener);
    void UnlistenThreshold(std::vector<DeviceTriggerAccel*>& list, const TString<char>& axis,
                           ActionListener* listener, const TString<char>& actionName);
    // Marks the trigger removed; purges at once unless a pass runs.
    void Remove(DeviceTrigger& trigger);
    void Purge();

    FHandlerParam<DeviceInfos&> m_DeviceConnected;
    FHandlerParam<DeviceInfos&> m_DeviceDisconnected;
    FHandlerParam<sActionData*> m_TypedCharacter;
    KeyNameTable m_KeyNames;
    // Characters of the keys taken by their actions, still to be left untyped: the character of
    // a press comes in the typed characters of its own pass or of the next.
    struct TakenCharacter {
        char character;
        u32 pass;
    };
    std::vector<TakenCharacter> m_TakenCharacters;
    u32 m_PassCount = 0;
    std::vector<DeviceTriggerMove*> m_MoveTriggers;
    std::vector<DeviceTriggerKey*> m_KeyTriggers;
    std::vector<DeviceTriggerAccel*> m_RotationTriggers;
    std::vector<DeviceTriggerAccel*> m_AccelerationTriggers;
    KorvoGame::Factory<DeviceTriggerKey> m_KeyPool;
    KorvoGame::Factory<DeviceTriggerMove> m_MovePool;
    KorvoGame::Factory<DeviceTriggerAccel> m_AccelPool;
    std::vector<std::unique_ptr<DeviceRecord>> m_Devices;
    u32 m_DeviceCount = 1;
    // (-1, -1) from Startup until the first move pass.
    f32 m_Pointers[kPointerSlots][2] = {};
    bool m_Active = false;
    bool m_Paused = false;
    bool m_InPass = false;
    bool m_PurgePending = false;
    IDeviceSystem* m_Previous;
};

}  // namespace GameServices::Bridge
