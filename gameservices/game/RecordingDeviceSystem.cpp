#include "gameservices/game/RecordingDeviceSystem.h"

#include <cstring>

namespace GameServices::KorvoGame {

using Bridge::ActionListener;
using Bridge::DeviceTrigger;
using Bridge::sActionData;

namespace {

struct KeyName {
    const char* name;
    u32 code;
};

// The keyboard and mouse names of the action files; engine key codes of AGVirtualKey.
constexpr KeyName kKeyNames[] = {
    {"keyaccept", 83},     {"keycancel", 18},        {"keyescape", 18},   {"keyleft", 41},
    {"keyright", 43},      {"keyup", 40},            {"keydown", 42},     {"keypageup", 38},
    {"keypagedown", 39},   {"keybackspace", 73},     {"keyspacebar", 80}, {"keydelete", 36},
    {"keyinsert", 34},     {"keyshift", 76},         {"keyctrl", 77},     {"keyalt", 79},
    {"cbmouseprimary", 2}, {"cbmousesecondary", 4},  {"mouseleft", 2},    {"mousewheel", 3},
    {"mouseright", 4},     {"default0", 0},          {"default1", 1},
};

// Letters in the order of the engine's keyboard table, from code 84.
constexpr const char* kLetters = "qwertyuiopasdfghjklzxcvbnm";

}  // namespace

u32 RecordingDeviceSystem::KeyCode(const TString<char>& keyName) {
    TString<char> lower(keyName);
    lower.ToLower();
    const char* name = lower.c_str();
    for (const KeyName& entry : kKeyNames)
        if (std::strcmp(entry.name, name) == 0)
            return entry.code;
    const u32 length = lower.Length();
    if (length == 1 && name[0] >= 'a' && name[0] <= 'z')
        return 84 + u32(std::strchr(kLetters, name[0]) - kLetters);
    if (length == 4 && std::strncmp(name, "key", 3) == 0 && name[3] >= '0' && name[3] <= '9')
        return name[3] == '0' ? 70 : 60 + u32(name[3] - '0');
    if ((length == 5 || length == 6) && std::strncmp(name, "keyf", 4) == 0) {
        u32 number = 0;
        for (u32 i = 4; i < length; ++i) {
            if (name[i] < '0' || name[i] > '9')
                return 0;
            number = number * 10 + u32(name[i] - '0');
        }
        if (number >= 1 && number <= 12)
            return 18 + number;
    }
    return 0;
}

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

void RecordingDeviceSystem::Update() {
    ++m_FireDepth;
    // Triggers added by a listener wait for the next update.
    const size_t count = m_Triggers.size();
    for (size_t i = 0; i < count; ++i) {
        Trigger& trigger = *m_Triggers[i];
        if (trigger.m_Kind != kKey || trigger.m_Removed)
            continue;
        if (!trigger.m_Bound) {
            trigger.m_Key.SetKey(KeyCode(trigger.m_Name),
                                 trigger.m_DeviceId >= 0 ? u32(trigger.m_DeviceId) : 0);
            trigger.m_Bound = true;
        }
        const AGIKeyPadDevice* keyPad = trigger.m_Key.KeyPad();
        if (!keyPad || !keyPad->Device())
            continue;
        TString<char> state(trigger.m_State);
        state.ToLower();
        const bool fires = state == "press"     ? trigger.m_Key.WasPressed()
                           : state == "release" ? trigger.m_Key.WasReleased()
                                                : trigger.m_Key.IsDown();
        if (!fires)
            continue;
        sActionData data;
        data.m_DeviceId = i32(keyPad->Device()->Id());
        Invoke(trigger, data);
    }
    --m_FireDepth;
    Purge();
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
