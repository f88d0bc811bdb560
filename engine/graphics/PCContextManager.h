#pragma once
// The render context the drawing code reads: the device, the current camera and the current
// light. The device is set when the graphic device is created and cleared at its shutdown.
#include "engine/core/AGSingleton.h"

namespace platform::gfx {
class Device;
}
class PCCam;
class PCLight;

class AGContextManager {
public:
    virtual ~AGContextManager() = default;
};

class PCContextManager : public AGContextManager, public AGSingleton<PCContextManager> {
public:
    PCContextManager() = default;
    PCContextManager(const PCContextManager&) = delete;
    PCContextManager& operator=(const PCContextManager&) = delete;

    platform::gfx::Device* GetDevice() const { return m_device; }
    void SetDevice(platform::gfx::Device* device) { m_device = device; }
    PCCam* GetCurrentCamera() const { return m_camera; }
    void SetCurrentCamera(PCCam* camera) { m_camera = camera; }
    PCLight* GetCurrentLight() const { return m_light; }
    void SetCurrentLight(PCLight* light) { m_light = light; }
    // Dynamic resources go to the default pool on an extended device, else to the managed
    // one; the OpenGL device keeps every resource's contents itself, so it is never extended.
    bool Is9Ex() const { return m_is9Ex; }
    void Set9Ex(bool is9Ex) { m_is9Ex = is9Ex; }

private:
    PCCam* m_camera = nullptr;
    PCLight* m_light = nullptr;
    bool m_is9Ex = false;
    platform::gfx::Device* m_device = nullptr;
};
