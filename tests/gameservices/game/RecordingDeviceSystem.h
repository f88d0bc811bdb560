#pragma once
// A device system for tests of the game services: it records each call as text ("+key name
// state" for a listen, "-key name state action" for an unlisten, "count N", "attach N"),
// keeps the triggers the listens made, and fires them only through Fire.
#include <memory>
#include <string>
#include <vector>

#include "gameservices/bridge/IDeviceSystem.h"

namespace GameServices::KorvoGame {

class RecordingDeviceSystem : public Bridge::IDeviceSystem {
public:
    using Text = const TString<char>&;
    using Listener = Bridge::ActionListener*;

    // Publishes itself as the device system; the destructor restores the previous one.
    RecordingDeviceSystem() : m_Previous(Get()) { SetInstance(this); }
    ~RecordingDeviceSystem() override {
        if (Get() == this)
            SetInstance(m_Previous);
    }

    Bridge::DeviceTrigger* ListenKey(Text key, Text state, Listener l) override {
        return Add("key " + Str(key) + " " + Str(state), l);
    }
    void UnlistenKey(Text key, Text state, Listener l, Text action) override {
        Remove("key " + Str(key) + " " + Str(state), l, action);
    }
    Bridge::DeviceTrigger* ListenMove(Text axis, Listener l) override {
        return Add("move " + Str(axis), l);
    }
    void UnlistenMove(Text axis, Listener l, Text action) override {
        Remove("move " + Str(axis), l, action);
    }
    Bridge::DeviceTrigger* ListenRotation(Text axis, f32, f32, Listener l) override {
        return Add("rotation " + Str(axis), l);
    }
    void UnlistenRotation(Text axis, Listener l, Text action) override {
        Remove("rotation " + Str(axis), l, action);
    }
    Bridge::DeviceTrigger* ListenAcceleration(Text axis, f32, f32, Listener l) override {
        return Add("acceleration " + Str(axis), l);
    }
    void UnlistenAcceleration(Text axis, Listener l, Text action) override {
        Remove("acceleration " + Str(axis), l, action);
    }
    void AttachDevices(u32 count) override { m_Calls.push_back("attach " + std::to_string(count)); }
    void SetDeviceCount(u32 count) override { m_Calls.push_back("count " + std::to_string(count)); }
    FHandlerParam<Bridge::DeviceInfos&>& GetDeviceLostEvent() override { return m_DeviceLost; }
    FHandlerParam<Bridge::sActionData*>& GetTypedCharacterEvent() override { return m_Typed; }

    // Calls every live trigger of the action as if its input had happened, with the data's
    // action name replaced by the trigger's.
    void Fire(const TString<char>& actionName, Bridge::sActionData data) {
        const size_t count = m_Triggers.size();  // a trigger added by a listener waits
        for (size_t i = 0; i < count; ++i) {
            Trigger& trigger = *m_Triggers[i];
            if (trigger.m_Removed || trigger.m_ActionName != actionName || !trigger.m_Listener)
                continue;
            data.m_ActionName = trigger.m_ActionName;
            trigger.m_Listener->Invoke(&data);
        }
    }
    // The calls since the last Take.
    std::vector<std::string> Take() { return std::exchange(m_Calls, {}); }
    // The live triggers, as "what action device pausable".
    std::vector<std::string> Triggers() const {
        std::vector<std::string> live;
        for (const auto& t : m_Triggers)
            if (!t->m_Removed)
                live.push_back(t->m_What + " " + t->m_ActionName.c_str() + " " +
                               std::to_string(t->m_DeviceId) + " " + (t->m_Pausable ? "p" : "-"));
        return live;
    }

private:
    struct Trigger : Bridge::DeviceTrigger {
        std::string m_What;
    };
    static std::string Str(Text text) { return text.c_str(); }

    Bridge::DeviceTrigger* Add(const std::string& what, Listener listener) {
        m_Calls.push_back("+" + what);
        m_Triggers.push_back(std::make_unique<Trigger>());
        m_Triggers.back()->m_What = what;
        m_Triggers.back()->m_Listener = listener;
        return m_Triggers.back().get();
    }
    // Marks the first matching live trigger removed.
    void Remove(const std::string& what, Listener listener, Text action) {
        m_Calls.push_back("-" + what + " " + Str(action));
        for (auto& trigger : m_Triggers) {
            if (!trigger->m_Removed && trigger->m_What == what && trigger->m_Listener == listener &&
                trigger->m_ActionName == action) {
                trigger->m_Removed = true;
                return;
            }
        }
    }

    std::vector<std::unique_ptr<Trigger>> m_Triggers;
    std::vector<std::string> m_Calls;
    FHandlerParam<Bridge::DeviceInfos&> m_DeviceLost;
    FHandlerParam<Bridge::sActionData*> m_Typed;
    Bridge::IDeviceSystem* m_Previous;
};

}  // namespace GameServices::KorvoGame
