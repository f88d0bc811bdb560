#pragma once
// Access to the graphic device for the device side of drawn resources: the render context's
// device, and the device lock that every creation, lock, upload and release of a device
// resource takes (frames hold it already while they draw).
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "platform/gfx/Device.h"

// Null while there is no graphic device.
inline platform::gfx::Device* PCCurrentDevice() {
    PCContextManager* context = PCContextManager::Get();
    return context ? context->GetDevice() : nullptr;
}

// Holds the device lock for its scope; without a graphic device there is none to take.
class PCDeviceLock {
public:
    PCDeviceLock() : m_graphics(PCGraphicDevice::Get()) {
        if (m_graphics)
            m_graphics->Lock();
    }
    ~PCDeviceLock() {
        if (m_graphics)
            m_graphics->Unlock();
    }
    PCDeviceLock(const PCDeviceLock&) = delete;
    PCDeviceLock& operator=(const PCDeviceLock&) = delete;

private:
    PCGraphicDevice* m_graphics;
};

// Releases a device resource under the lock and clears the pointer.
template <typename T>
void PCReleaseDeviceObject(T*& object) {
    if (!object)
        return;
    PCDeviceLock lock;
    object->Release();
    object = nullptr;
}
