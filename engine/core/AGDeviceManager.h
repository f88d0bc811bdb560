#pragma once
// The engine's input devices. AGDeviceManager holds the platform's device list, made through
// the device-manager factory; on this platform that is one keyboard and one mouse, both with
// device id 0, polled in list order at the end of every tick.
#include "engine/core/AGDevice.h"
#include "engine/core/AGSingleton.h"

class PCKeyboard;
class PCMouse;

class AGDeviceManagerImpl : public AGObject {
public:
    // Adds the platform's devices to the list.
    virtual void RegisterDevices() = 0;
    // Polls every listed device in list order.
    virtual void Update() = 0;
    // The first device of that kind with that id in list order, or null.
    virtual AGDevice* FindKeyboard(u32 id) const = 0;
    virtual AGDevice* FindMouse(u32 id) const = 0;
    // The listed devices, in list order.
    virtual const AGArray<AGDevice*>& Devices() const = 0;
};

class PCDeviceManagerImpl : public AGDeviceManagerImpl {
public:
    PCDeviceManagerImpl();
    ~PCDeviceManagerImpl() override;

    // Adds the keyboard, then the mouse, each only when not already listed.
    void RegisterDevices() override;
    void Update() override;
    AGDevice* FindKeyboard(u32 id) const override;
    AGDevice* FindMouse(u32 id) const override;
    void GetName(TString<char>& out) const override { out = "PCDeviceManagerImpl"; }

    const AGArray<AGDevice*>& Devices() const override { return m_devices; }
    PCKeyboard* Keyboard() const { return m_keyboard; }
    PCMouse* Mouse() const { return m_mouse; }

private:
    void AddOnce(AGDevice* device);

    AGArray<AGDevice*> m_devices{1};
    PCKeyboard* m_keyboard;
    PCMouse* m_mouse;
};

using AGDeviceManagerImplFactory = AGDeviceManagerImpl* (*)();
// Makes the platform part of the device manager; by default a PCDeviceManagerImpl.
extern AGDeviceManagerImplFactory g_deviceManagerImplFactory;

class AGDeviceManager : public AGSingleton<AGDeviceManager> {
public:
    AGDeviceManager();
    AGDeviceManager(const AGDeviceManager&) = delete;
    AGDeviceManager& operator=(const AGDeviceManager&) = delete;
    // Deletes the platform part with its devices.
    ~AGDeviceManager() override;

    AGDeviceManagerImpl* Impl() const { return m_impl; }
    void RegisterDevices() {
        if (m_impl)
            m_impl->RegisterDevices();
    }
    void Update() {
        if (m_impl)
            m_impl->Update();
    }

private:
    AGDeviceManagerImpl* m_impl;
};
