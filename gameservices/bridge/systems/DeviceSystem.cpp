#include "gameservices/bridge/systems/DeviceSystem.h"

#include <algorithm>

#include "engine/core/AGAppEventsHandler.h"
#include "engine/core/AGApplication.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/AGDeviceManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/game/DeviceManager.h"

namespace GameServices::Bridge {

using Entities::VolatileDataKeys::kDeviceSystem_ENGINE_DATA;
using KorvoGame::GetFactoryCapacity;

namespace {

DeviceSystem* s_Instance = nullptr;

AGDeviceManagerImpl* EngineDevices() {
    AGDeviceManager* manager = AGDeviceManager::Get();
    return manager ? manager->Impl() : nullptr;
}

// Resets a pooled trigger to its constructed state before it goes back to its pool.
void Clear(DeviceTrigger& trigger) {
    trigger.m_Event = FHandlerParam<sActionData*>();
    trigger.m_DeviceId = -1;
    trigger.m_ActionName = TString<char>();
    trigger.m_Pausable = true;
    trigger.m_Removed = false;
    trigger.m_Listener = nullptr;
}

bool Matches(const DeviceTrigger& trigger, ActionListener* listener,
             const TString<char>& actionName) {
    return !trigger.m_Removed && trigger.m_Listener == listener &&
           trigger.m_ActionName == actionName;
}

// Erases the marked triggers of a list and hands them back to their pool.
template <typename T, typename Pool>
void PurgeList(std::vector<T*>& list, Pool& pool) {
    std::erase_if(list, [&pool](T* trigger) {
        if (!trigger->m_Removed)
            return false;
        Clear(*trigger);
        pool.Free(trigger);
        return true;
    });
}

}  // namespace

DeviceSystem::DeviceRecord::DeviceRecord(AGDevice* device) {
    m_Data.Set(kDeviceSystem_ENGINE_DATA, device);
}

AGDevice* DeviceSystem::DeviceRecord::Device() const {
    return m_Data.GetAs<AGDevice>(kDeviceSystem_ENGINE_DATA);
}

DeviceSystem::DeviceSystem()
    : m_KeyPool("DeviceTriggerButton", GetFactoryCapacity("FactoryDeviceTriggerKey")),
      m_MovePool("DeviceTriggerMoveFactory", GetFactoryCapacity("FactoryDeviceTriggerMove")),
      m_AccelPool("DeviceTriggerAccelFactory", GetFactoryCapacity("FactoryDeviceTriggerAccel")),
      m_Previous(IDeviceSystem::Get()) {
    IDeviceSystem::SetInstance(this);
    s_Instance = this;
}

DeviceSystem::~DeviceSystem() {
    if (AGAppEventsHandler* events = AGAppEventsHandler::Get()) {
        events->SetDeviceCallback(AGAppEventsHandler::kDeviceEvent0, nullptr, nullptr);
        events->SetDeviceCallback(AGAppEventsHandler::kDeviceEvent1, nullptr, nullptr);
    }
    // The pools delete the triggers, and the triggers their virtual keys and cursors.
    if (IDeviceSystem::Get() == this)
        IDeviceSystem::SetInstance(m_Previous);
    if (s_Instance == this)
        s_Instance = nullptr;
}

DeviceSystem* DeviceSystem::Instance() {
    if (!s_Instance)
        new DeviceSystem();
    return s_Instance;
}

void DeviceSystem::Shutdown() { delete s_Instance; }

void DeviceSystem::Startup() {
    m_DeviceCount = 1;
    if (AGAppEventsHandler* events = AGAppEventsHandler::Get()) {
        events->SetDeviceCallback(AGAppEventsHandler::kDeviceEvent0, this, OnPlatformDeviceConnected);
        events->SetDeviceCallback(AGAppEventsHandler::kDeviceEvent1, this, OnPlatformDeviceDisconnected);
    }
    m_KeyNames.Build();
    for (auto& pointer : m_Pointers)
        pointer[0] = pointer[1] = -1.0f;
    // One record per device id: the keyboard and the mouse share id 0.
    if (AGDeviceManagerImpl* engine = EngineDevices()) {
        KorvoGame::DeviceManager* manager = KorvoGame::DeviceManager::Get();
        std::vector<u32> handed;
        for (AGDevice* device : engine->Devices()) {
            if (!device->IsConnected() || std::find(handed.begin(), handed.end(), device->Id()) != handed.end())
                continue;
            handed.push_back(device->Id());
            DeviceInfos infos = InfosOf(device);
            if (manager)
                manager->onDeviceConnected(infos);
        }
    }
    m_Active = true;
}

DeviceInfos DeviceSystem::InfosOf(AGDevice* device) {
    for (const auto& record : m_Devices)
        if (record->Device() == device)
            return DeviceInfos{i32(device->Id()), record.get()};
    m_Devices.push_back(std::make_unique<DeviceRecord>(device));
    return DeviceInfos{i32(device->Id()), m_Devices.back().get()};
}

void DeviceSystem::OnPlatformDeviceConnected(void* context, void* data) {
    auto* system = static_cast<DeviceSystem*>(context);
    if (!system || !data)
        return;
    DeviceInfos infos = system->InfosOf(static_cast<AGDevice*>(data));
    if (KorvoGame::DeviceManager* manager = KorvoGame::DeviceManager::Get())
        manager->onDeviceConnected(infos);
}

void DeviceSystem::OnPlatformDeviceDisconnected(void* context, void* data) {
    auto* system = static_cast<DeviceSystem*>(context);
    if (!system || !data)
        return;
    DeviceInfos infos = system->InfosOf(static_cast<AGDevice*>(data));
    system->m_DeviceDisconnected.Fire(infos);
}

void DeviceSystem::AttachDevices(u32 count) {
    AGDeviceManagerImpl* engine = EngineDevices();
    if (!engine)
        return;
    for (AGDevice* device : engine->Devices()) {
        if (device->Id() + 1 <= count)
            continue;
        DeviceInfos infos = InfosOf(device);
        m_DeviceDisconnected.Fire(infos);
        // Detaching the keyboard or the mouse does nothing: they never go away.
    }
}

void DeviceSystem::GetPointer(i32 index, f32& x, f32& y) const {
    if (index < 0 || u32(index) >= kPointerSlots) {
        x = y = -1.0f;
        return;
    }
    x = m_Pointers[index][0];
    y = m_Pointers[index][1];
}

// --- Listen and Unlisten -----------------------------------------------------------------

DeviceTrigger* DeviceSystem::ListenKey(const TString<char>& keyName, const TString<char>& state,
                                       ActionListener* listener) {
    DeviceTriggerKey* trigger = m_KeyPool.Alloc();
    if (!trigger)
        return nullptr;
    trigger->m_KeyCode = m_KeyNames.CodeOf(keyName);
    trigger->m_StateFilter = ParseStateFilter(state);
    trigger->m_Event.AddDelegate(listener);
    trigger->m_Listener = listener;
    auto* key = new AGVirtualKey();
    key->SetKey(u32(trigger->m_KeyCode), 0);
    trigger->m_Keys.push_back(key);
    trigger->m_Latch.push_back(false);
    m_KeyTriggers.push_back(trigger);
    return trigger;
}

void DeviceSystem::UnlistenKey(const TString<char>& keyName, const TString<char>& state,
                               ActionListener* listener, const TString<char>& actionName) {
    const i32 code = m_KeyNames.CodeOf(keyName);
    const u32 filter = ParseStateFilter(state);
    for (DeviceTriggerKey* trigger : m_KeyTriggers) {
        if (!Matches(*trigger, listener, actionName) || trigger->m_KeyCode != code ||
            trigger->m_StateFilter != filter)
            continue;
        trigger->ClearKeys();
        Remove(*trigger);
        return;
    }
}

DeviceTrigger* DeviceSystem::ListenMove(const TString<char>& axis, ActionListener* listener) {
    DeviceTriggerMove* trigger = m_MovePool.Alloc();
    if (!trigger)
        return nullptr;
    trigger->m_Axis = ParseAxis(axis);
    trigger->m_Event.AddDelegate(listener);
    trigger->m_Listener = listener;
    auto* cursor = new AGVirtualCursor();
    CreateMouseDevice(*cursor, 0);
    trigger->m_Cursors.push_back(cursor);
    m_MoveTriggers.push_back(trigger);
    return trigger;
}

void DeviceSystem::UnlistenMove(const TString<char>& axis, ActionListener* listener,
                                const TString<char>& actionName) {
    const u32 parsed = ParseAxis(axis);
    for (DeviceTriggerMove* trigger : m_MoveTriggers) {
        if (!Matches(*trigger, listener, actionName) || trigger->m_Axis != parsed)
            continue;
        trigger->ClearCursors();
        Remove(*trigger);
        return;
    }
}

DeviceTriggerAccel* DeviceSystem::ListenThreshold(std::vector<DeviceTriggerAccel*>& list,
                                                  const TString<char>& axis, f32 minimum,
                                                  f32 maximum, ActionListener* listener) {
    DeviceTriggerAccel* trigger = m_AccelPool.Alloc();
    if (!trigger)
        return nullptr;
    trigger->m_Axis = ParseAxis(axis);
    trigger->m_Minimum = minimum;
    trigger->m_Maximum = maximum;
    trigger->m_Event.AddDelegate(listener);
    trigger->m_Listener = listener;
    list.push_back(trigger);
    return trigger;
}

void DeviceSystem::UnlistenThreshold(std::vector<DeviceTriggerAccel*>& list,
                                     const TString<char>& axis, ActionListener* listener,
                                     const TString<char>& actionName) {
    const u32 parsed = ParseAxis(axis);
    for (DeviceTriggerAccel* trigger : list) {
        if (!Matches(*trigger, listener, actionName) || trigger->m_Axis != parsed)
            continue;
        trigger->ClearCursors();
        Remove(*trigger);
        return;
    }
}

DeviceTrigger* DeviceSystem::ListenRotation(const TString<char>& axis, f32 minimum, f32 maximum,
                                            ActionListener* listener) {
    return ListenThreshold(m_RotationTriggers, axis, minimum, maximum, listener);
}

void DeviceSystem::UnlistenRotation(const TString<char>& axis, ActionListener* listener,
                                    const TString<char>& actionName) {
    UnlistenThreshold(m_RotationTriggers, axis, listener, actionName);
}

DeviceTrigger* DeviceSystem::ListenAcceleration(const TString<char>& axis, f32 minimum,
                                                f32 maximum, ActionListener* listener) {
    return ListenThreshold(m_AccelerationTriggers, axis, minimum, maximum, listener);
}

void DeviceSystem::UnlistenAcceleration(const TString<char>& axis, ActionListener* listener,
                                        const TString<char>& actionName) {
    UnlistenThreshold(m_AccelerationTriggers, axis, listener, actionName);
}

void DeviceSystem::Remove(DeviceTrigger& trigger) {
    trigger.m_Removed = true;
    if (m_InPass)
        m_PurgePending = true;
    else
        Purge();
}

void DeviceSystem::Purge() {
    PurgeList(m_MoveTriggers, m_MovePool);
    PurgeList(m_KeyTriggers, m_KeyPool);
    PurgeList(m_RotationTriggers, m_AccelPool);
    PurgeList(m_AccelerationTriggers, m_AccelPool);
    m_PurgePending = false;
}

// --- Passes -------------------------------------------------------------------------------

void DeviceSystem::Update(u32 /*dt*/) {
    if (!m_Active)
        return;
    m_InPass = true;
    // A key's character is taken at the poll after the one that saw its press at the latest.
    ++m_PassCount;
    std::erase_if(m_TakenCharacters, [this](const TakenCharacter& taken) { return m_PassCount - taken.pass > 1; });
    UpdateMoveTriggers();
    UpdateKeyTriggers();
    UpdateRotationTriggers();
    UpdateAccelerationTriggers();
    UpdateTypedCharacters();
    m_InPass = false;
    if (m_PurgePending)
        Purge();
}

void DeviceSystem::UpdateMoveTriggers() {
    u32 width = 0, height = 0;
    if (PCGraphicDevice* graphics = PCGraphicDevice::Get()) {
        width = graphics->GetWidth();
        height = graphics->GetHeight();
    } else if (auto* application = dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl())) {
        // Without graphics the widgets keep their layout pixels: the pointer is placed in the
        // window's client area.
        width = application->GetWidth();
        height = application->GetHeight();
    }
    const size_t count = m_MoveTriggers.size();
    for (size_t t = 0; t < count; ++t) {
        DeviceTriggerMove& trigger = *m_MoveTriggers[t];
        for (u32 i = 0; i < trigger.m_Cursors.size() && !trigger.m_Removed; ++i) {
            const AGIMouseDevice* mouse = trigger.m_Cursors[i]->Mouse();
            f32 fx = 0.0f, fy = 0.0f;
            const bool inside = mouse && mouse->IsInside();
            f32 x = 0.0f, y = 0.0f;
            if (inside) {
                mouse->GetPosition(&fx, &fy);
                x = f32(i32(f32(width) * fx));
                y = f32(i32(f32(height) * fy));
            }
            sActionData data;
            data.m_DeviceId = trigger.m_DeviceId != -1 ? trigger.m_DeviceId : i32(i);
            data.m_X = x;
            data.m_Y = y;
            data.m_KeyCode = -1;
            data.m_ActionName = trigger.m_ActionName;
            data.m_PointerFlag = 1;
            data.m_PointerVisible = inside;
            trigger.m_Event.Fire(&data);
            if (data.m_DeviceId >= 0 && u32(data.m_DeviceId) < kPointerSlots) {
                m_Pointers[data.m_DeviceId][0] = x;
                m_Pointers[data.m_DeviceId][1] = y;
            }
        }
    }
}

void DeviceSystem::FireKey(DeviceTriggerKey& trigger, u32 index, u8 keyDown) {
    sActionData data;
    data.m_DeviceId = trigger.m_DeviceId != -1 ? trigger.m_DeviceId : i32(index);
    GetPointer(data.m_DeviceId, data.m_X, data.m_Y);
    data.m_KeyFlag = 1;
    data.m_KeyCode = trigger.m_KeyCode;
    data.m_ActionName = trigger.m_ActionName;
    data.m_KeyDown = keyDown;
    trigger.m_Event.Fire(&data);
    if (keyDown && data.m_KeyTaken)
        if (const char typed = KeyNameTable::CharacterOf(data.m_KeyCode))
            m_TakenCharacters.push_back({typed, m_PassCount});
}

void DeviceSystem::UpdateKeyTriggers() {
    const size_t count = m_KeyTriggers.size();
    for (size_t t = 0; t < count; ++t) {
        DeviceTriggerKey& trigger = *m_KeyTriggers[t];
        const u32 filter = trigger.m_StateFilter;
        // A listener may unlisten this trigger, which deletes its keys.
        for (u32 i = 0; i < trigger.m_Keys.size() && !trigger.m_Removed; ++i) {
            const AGVirtualKey& key = *trigger.m_Keys[i];
            const bool released = key.WasReleased();
            if (key.IsDown() && !trigger.m_Latch[i] && filter != kStateRelease) {
                if (filter == kStatePress)
                    trigger.m_Latch[i] = true;
                FireKey(trigger, i, 1);
                continue;
            }
            if (released && filter == kStatePress)
                trigger.m_Latch[i] = false;
            if (released && !trigger.m_Latch[i] && filter != kStatePress) {
                if (filter == kStateRelease)
                    trigger.m_Latch[i] = true;
                FireKey(trigger, i, 0);
            } else if (filter == kStateRelease) {
                trigger.m_Latch[i] = false;
            }
        }
    }
}

// The keyboard and the mouse give no acceleration or rotation readings: every cursor of these
// triggers reads the zero vector and the reading 0.
void DeviceSystem::UpdateRotationTriggers() {
    const size_t count = m_RotationTriggers.size();
    for (size_t t = 0; t < count; ++t) {
        DeviceTriggerAccel& trigger = *m_RotationTriggers[t];
        for (u32 i = 0; i < trigger.m_Cursors.size() && !trigger.m_Removed; ++i) {
            if (trigger.m_Axis == kAxisNone)
                continue;
            const f32 value = 0.0f;
            if (value < trigger.m_Minimum || value > trigger.m_Maximum)
                continue;
            sActionData data;
            data.m_DeviceId = trigger.m_DeviceId != -1 ? trigger.m_DeviceId : i32(i);
            data.m_KeyCode = -1;
            data.m_ActionName = trigger.m_ActionName;
            trigger.m_Event.Fire(&data);
        }
    }
}

void DeviceSystem::UpdateAccelerationTriggers() {
    const size_t count = m_AccelerationTriggers.size();
    for (size_t t = 0; t < count; ++t) {
        DeviceTriggerAccel& trigger = *m_AccelerationTriggers[t];
        if (trigger.m_Axis < kAxisUp || trigger.m_Axis > kAxisRight)
            continue;
        const bool negated = trigger.m_Axis == kAxisDown || trigger.m_Axis == kAxisLeft;
        const f32 minimum = negated ? -trigger.m_Minimum : trigger.m_Minimum;
        const f32 maximum = negated ? -trigger.m_Maximum : trigger.m_Maximum;
        for (u32 i = 0; i < trigger.m_Cursors.size() && !trigger.m_Removed; ++i) {
            const f32 value = 0.0f;
            if (value < minimum || value > maximum)
                continue;
            sActionData data;
            data.m_DeviceId = trigger.m_DeviceId != -1 ? trigger.m_DeviceId : i32(i);
            data.m_KeyCode = -1;
            data.m_Values[0] = value;
            data.m_ActionName = trigger.m_ActionName;
            data.m_PointerFlag = 1;
            trigger.m_Event.Fire(&data);
        }
    }
}

void DeviceSystem::UpdateTypedCharacters() {
    AGDeviceManagerImpl* engine = EngineDevices();
    AGDevice* keyboard = engine ? engine->FindKeyboard(0) : nullptr;
    if (!keyboard)
        return;
    AGIKeyPadDevice keyPad;
    if (!keyboard->QueryInterface(&keyPad))
        return;
    const u16* units = nullptr;
    const u32 count = keyPad.Typed(&units);
    for (u32 i = 0; i < count; ++i) {
        // A key taken by its action types nothing (one character a press).
        const u16 lower = units[i] >= 'A' && units[i] <= 'Z' ? u16(units[i] + ('a' - 'A')) : units[i];
        const auto taken = std::find_if(m_TakenCharacters.begin(), m_TakenCharacters.end(),
                                        [lower](const TakenCharacter& t) { return u16(u8(t.character)) == lower; });
        if (taken != m_TakenCharacters.end()) {
            m_TakenCharacters.erase(taken);
            continue;
        }
        sActionData data;
        data.m_DeviceId = i32(keyboard->Id());
        data.m_KeyFlag = 1;
        data.m_KeyCode = units[i];
        data.m_ActionName = "softkey";
        data.m_KeyDown = 1;
        m_TypedCharacter.Fire(&data);
    }
}

}  // namespace GameServices::Bridge
