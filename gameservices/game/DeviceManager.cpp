#include "gameservices/game/DeviceManager.h"

#include "engine/core/AGLog.h"
#include "gameservices/game/TeamActionManager.h"

namespace GameServices::KorvoGame {

using Bridge::DeviceInfos;

DeviceManager::DeviceManager() {
    SetInstance(this);
    m_DeviceSystem = Bridge::IDeviceSystem::Get();
    if (m_DeviceSystem)
        m_DeviceSystem->GetDeviceLostEvent().AddDelegate(&m_OnDeviceDisconnected);
}

DeviceManager::~DeviceManager() {
    if (m_DeviceSystem)
        m_DeviceSystem->GetDeviceLostEvent().RemoveDelegate(&m_OnDeviceDisconnected);
    if (Get() == this)
        SetInstance(nullptr);
}

void DeviceManager::onDeviceConnected(DeviceInfos& infos) {
    const i32 id = infos.m_DeviceId;
    ++m_Count;
    if (m_Count > m_Maximum || (id >= 0 && u32(id) >= m_Maximum)) {
        if (infos.m_EngineData)
            infos.m_EngineData->DropDevice();
        --m_Count;
        return;
    }
    // No device: the count must not keep it.
    if (id < 0) {
        --m_Count;
        return;
    }
    // Only a maximum above the id range lets such ids through.
    if (u32(id) >= kDeviceIds) {
        AGReport("DeviceManager::DeviceInfos infos.m_DeviceId >= %u!!", kDeviceIds);
        --m_Count;
        return;
    }
    m_Connected[id] = 1;
    if (TeamActionManager* teams = TeamActionManager::Get())
        teams->OnDeviceConnected(infos);
    m_DeviceConnected.Fire(infos);
    if (m_Waiting) {
        m_DeviceFound.Fire(infos);
        m_Waiting = false;
        CheckMissingDevices();
    }
}

void DeviceManager::onDeviceDisconnected(DeviceInfos& infos) {
    if (!IsConnected(infos.m_DeviceId))
        return;
    --m_Count;
    m_Connected[infos.m_DeviceId] = 0;
    m_DeviceDisconnected.Fire(infos);
    if (!m_Waiting)
        CheckMissingDevices();
}

void DeviceManager::CheckMissingDevices() {
    // Ids beyond the range never connect, so they are not waited for.
    const u32 required = m_Minimum < kDeviceIds ? m_Minimum : kDeviceIds;
    for (u32 id = 0; id < required; ++id) {
        if (m_Connected[id])
            continue;
        DeviceInfos missing;
        missing.m_DeviceId = i32(id);
        m_DeviceMissing.Fire(missing);
        m_Waiting = true;
        return;
    }
}

void DeviceManager::SetDeviceRange(u32 minimum, u32 maximum) {
    if (maximum > kSupportedDevices)
        AGReport("Only %u devices are supported :%u", kSupportedDevices, kSupportedDevices);
    if (maximum < minimum)
        AGReport("Cannot require more devices than the maximum amount allowed to connect");
    m_Minimum = minimum;
    m_Maximum = maximum;
    if (m_Waiting) {
        // The check below raises device-missing again if the new range still lacks one.
        DeviceInfos found;
        found.m_DeviceId = 0;
        m_DeviceFound.Fire(found);
        m_Waiting = false;
    }
    if (m_DeviceSystem)
        m_DeviceSystem->SetDeviceCount(1);
    if (m_Suppress)
        return;
    CheckMissingDevices();
    if (m_DeviceSystem)
        m_DeviceSystem->AttachDevices(maximum);
}

}  // namespace GameServices::KorvoGame
