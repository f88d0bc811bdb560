#include "tests/gameservices/game/RecordingDeviceSystem.h"

namespace GameServices::KorvoGame {

using Bridge::ActionListener;
using Bridge::DeviceTrigger;
using Bridge::sActionData;

RecordingDeviceSystem::RecordingDeviceSystem() : m_Previous(Get()) {
    SetInstance(this);
}

RecordingDeviceSystem::~RecordingDeviceSystem() {
    if (Get() == this)
        SetInstance(m_Previous);
}

RecordingDeviceSystem::Trigger* RecordingDeviceSystem::Add(u32 kind, const TString<char>& name,
                                                           const TString<char>& state,
                                                           f32 minimum, f32 maximum,
                                                           ActionListener* listener) {
    m_Calls.push_back({true, kind, name, state, TString<char>(), listener});
    auto trigger = std::make_unique<Trigger>();
    trigger->m_Kind = kind;
    trigger->m_Name = name;
    trigger->m_State = state;
    trigger->m_Minimum = minimum;
    trigger->m_Maximum = maximum;
    trigger->m_Listener = listener;
    m_Triggers.push_back(std::move(trigger));
    return m_Triggers.back().get();
}

void RecordingDeviceSystem::Remove(u32 kind, const TString<char>& name,
                                   const TString<char>* state, ActionListener* listener,
                                   const TString<char>& actionName) {
    m_Calls.push_back({false, kind, name, state ? *state : TString<char>(), actionName, listener});
    for (auto& trigger : m_Triggers) {
        if (trigger->m_Removed || trigger->m_Kind != kind || trigger->m_Name != name ||
            trigger->m_Listener != listener || trigger->m_ActionName != actionName ||
            (state && trigger->m_State != *state))
            continue;
        trigger->m_Removed = true;
        break;
    }
    Purge();
}

void RecordingDeviceSystem::Purge() {
    if (m_FireDepth > 0)
        return;
    std::erase_if(m_Triggers, [](const auto& trigger) { return trigger->m_Removed; });
}

DeviceTrigger* RecordingDeviceSystem::ListenKey(const TString<char>& keyName,
                                                const TString<char>& state,
                                                ActionListener* listener) {
    return Add(kKey, keyName, state, 0.0f, 0.0f, listener);
}

void RecordingDeviceSystem::UnlistenKey(const TString<char>& keyName, const TString<char>& state,
                                        ActionListener* listener,
                                        const TString<char>& actionName) {
    Remove(kKey, keyName, &state, listener, actionName);
}

DeviceTrigger* RecordingDeviceSystem::ListenMove(const TString<char>& axis,
                                                 ActionListener* listener) {
    return Add(kMove, axis, TString<char>(), 0.0f, 0.0f, listener);
}

void RecordingDeviceSystem::UnlistenMove(const TString<char>& axis, ActionListener* listener,
                                         const TString<char>& actionName) {
    Remove(kMove, axis, nullptr, listener, actionName);
}

DeviceTrigger* RecordingDeviceSystem::ListenRotation(const TString<char>& axis, f32 minimum,
                                                     f32 maximum, ActionListener* listener) {
    return Add(kRotation, axis, TString<char>(), minimum, maximum, listener);
}

void RecordingDeviceSystem::UnlistenRotation(const TString<char>& axis, ActionListener* listener,
                                             const TString<char>& actionName) {
    Remove(kRotation, axis, nullptr, listener, actionName);
}

DeviceTrigger* RecordingDeviceSystem::ListenAcceleration(const TString<char>& axis, f32 minimum,
                                                         f32 maximum,
                                                         ActionListener* listener) {
    return Add(kAcceleration, axis, TString<char>(), minimum, maximum, listener);
}

void RecordingDeviceSystem::UnlistenAcceleration(const TString<char>& axis,
                                                 ActionListener* listener,
                                                 const TString<char>& actionName) {
    Remove(kAcceleration, axis, nullptr, listener, actionName);
}

void RecordingDeviceSystem::Invoke(Trigger& trigger, sActionData data) {
    if (trigger.m_Removed || !trigger.m_Listener)
        return;
    data.m_ActionName = trigger.m_ActionName;
    trigger.m_Listener->Invoke(&data);
}

u32 RecordingDeviceSystem::Fire(const TString<char>& actionName, const sActionData& data) {
    ++m_FireDepth;
    u32 called = 0;
    const size_t count = m_Triggers.size();
    for (size_t i = 0; i < count; ++i) {
        Trigger& trigger = *m_Triggers[i];
        if (trigger.m_Removed || trigger.m_ActionName != actionName)
            continue;
        Invoke(trigger, data);
        ++called;
    }
    --m_FireDepth;
    Purge();
    return called;
}

std::vector<const RecordingDeviceSystem::Trigger*> RecordingDeviceSystem::GetTriggers() const {
    std::vector<const Trigger*> live;
    for (const auto& trigger : m_Triggers)
        if (!trigger->m_Removed)
            live.push_back(trigger.get());
    return live;
}

}  // namespace GameServices::KorvoGame
