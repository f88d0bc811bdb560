#include "engine/core/AGDeviceManager.h"

#include "engine/core/PCKeyboard.h"
#include "engine/core/PCMouse.h"

namespace {
AGDeviceManagerImpl* CreatePCDeviceManagerImpl() { return new PCDeviceManagerImpl; }
}  // namespace

AGDeviceManagerImplFactory g_deviceManagerImplFactory = CreatePCDeviceManagerImpl;

PCDeviceManagerImpl::PCDeviceManagerImpl() : m_keyboard(new PCKeyboard), m_mouse(new PCMouse) {}

PCDeviceManagerImpl::~PCDeviceManagerImpl() {
    m_devices.Clear();
    delete m_keyboard;
    delete m_mouse;
}

void PCDeviceManagerImpl::AddOnce(AGDevice* device) {
    for (AGDevice* listed : m_devices)
        if (listed == device)
            return;
    m_devices.Add(device);
}

void PCDeviceManagerImpl::RegisterDevices() {
    AddOnce(m_keyboard);
    AddOnce(m_mouse);
}

void PCDeviceManagerImpl::Update() {
    for (AGDevice* device : m_devices)
        device->Poll();
}

AGDevice* PCDeviceManagerImpl::FindKeyboard(u32 id) const {
    for (AGDevice* device : m_devices)
        if (dynamic_cast<PCKeyboard*>(device) && device->Id() == id)
            return device;
    return nullptr;
}

AGDevice* PCDeviceManagerImpl::FindMouse(u32 id) const {
    for (AGDevice* device : m_devices)
        if (dynamic_cast<PCMouse*>(device) && device->Id() == id)
            return device;
    return nullptr;
}

AGDeviceManager::AGDeviceManager()
    : m_impl(g_deviceManagerImplFactory ? g_deviceManagerImplFactory() : nullptr) {}

AGDeviceManager::~AGDeviceManager() { delete m_impl; }
