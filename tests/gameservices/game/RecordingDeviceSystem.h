#pragma once
// A device system for tests of the game services: it records every listen and unlisten call,
// keeps the triggers they make, and fires them only through Fire.
#include <memory>
#include <vector>

#include "gameservices/bridge/IDeviceSystem.h"

namespace GameServices::KorvoGame {

class RecordingDeviceSystem : public Bridge::IDeviceSystem {
public:
    enum Kind : u32 { kKey = 0, kMove = 1, kRotation = 2, kAcceleration = 3 };

    struct Trigger : Bridge::DeviceTrigger {
        u32 m_Kind = kKey;
        // Key name or axis, as given.
        TString<char> m_Name;
        TString<char> m_State;
        f32 m_Minimum = 0.0f;
        f32 m_Maximum = 0.0f;
    };

    struct Call {
        bool m_Listen;
        u32 m_Kind;
        TString<char> m_Name;
        // Key calls only.
        TString<char> m_State;
        // Unlisten calls only.
        TString<char> m_ActionName;
        Bridge::ActionListener* m_Listener;
    };

    // Publishes itself as the device system; the destructor restores the previous one.
    RecordingDeviceSystem();
    ~RecordingDeviceSystem() override;
    RecordingDeviceSystem(const RecordingDeviceSystem&) = delete;
    RecordingDeviceSystem& operator=(const RecordingDeviceSystem&) = delete;

    Bridge::DeviceTrigger* ListenKey(const TString<char>& keyName, const TString<char>& state,
                                     Bridge::ActionListener* listener) override;
    void UnlistenKey(const TString<char>& keyName, const TString<char>& state,
                     Bridge::ActionListener* listener, const TString<char>& actionName) override;
    Bridge::DeviceTrigger* ListenMove(const TString<char>& axis,
                                      Bridge::ActionListener* listener) override;
    void UnlistenMove(const TString<char>& axis, Bridge::ActionListener* listener,
                      const TString<char>& actionName) override;
    Bridge::DeviceTrigger* ListenRotation(const TString<char>& axis, f32 minimum, f32 maximum,
                                          Bridge::ActionListener* listener) override;
    void UnlistenRotation(const TString<char>& axis, Bridge::ActionListener* listener,
                          const TString<char>& actionName) override;
    Bridge::DeviceTrigger* ListenAcceleration(const TString<char>& axis, f32 minimum,
                                              f32 maximum,
                                              Bridge::ActionListener* listener) override;
    void UnlistenAcceleration(const TString<char>& axis, Bridge::ActionListener* listener,
                              const TString<char>& actionName) override;
    void AttachDevices(u32 count) override { m_AttachCounts.push_back(count); }
    void SetDeviceCount(u32 count) override { m_DeviceCounts.push_back(count); }
    FHandlerParam<Bridge::DeviceInfos&>& GetDeviceLostEvent() override { return m_DeviceLost; }
    FHandlerParam<Bridge::sActionData*>& GetTypedCharacterEvent() override { return m_Typed; }

    // Fires every trigger of the action as if its input had happened; the data's action
    // name is replaced by the trigger's. Returns the number of listeners called.
    u32 Fire(const TString<char>& actionName, const Bridge::sActionData& data);

    const std::vector<Call>& GetCalls() const { return m_Calls; }
    // The live triggers, in listening order.
    std::vector<const Trigger*> GetTriggers() const;
    const std::vector<u32>& GetAttachCounts() const { return m_AttachCounts; }
    const std::vector<u32>& GetDeviceCounts() const { return m_DeviceCounts; }

private:
    Trigger* Add(u32 kind, const TString<char>& name, const TString<char>& state, f32 minimum,
                 f32 maximum, Bridge::ActionListener* listener);
    void Remove(u32 kind, const TString<char>& name, const TString<char>* state,
                Bridge::ActionListener* listener, const TString<char>& actionName);
    void Invoke(Trigger& trigger, Bridge::sActionData data);
    void Purge();

    std::vector<std::unique_ptr<Trigger>> m_Triggers;
    std::vector<Call> m_Calls;
    std::vector<u32> m_AttachCounts;
    std::vector<u32> m_DeviceCounts;
    FHandlerParam<Bridge::DeviceInfos&> m_DeviceLost;
    FHandlerParam<Bridge::sActionData*> m_Typed;
    Bridge::IDeviceSystem* m_Previous;
    u32 m_FireDepth = 0;
};

}  // namespace GameServices::KorvoGame
