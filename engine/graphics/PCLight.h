#pragma once
// The device side of a light: the device light built after loading (point and spot lights
// with attenuation (0, 0.005, 0), spot cone angles in radians), made the device's light 0.
#include "engine/graphics/AGLight.h"
#include "platform/gfx/GfxTypes.h"

class PCLight : public AGLight {
public:
    // Ambient level of the light's own Apply (models drawing themselves).
    static constexpr u32 kApplyAmbient = 0x60606080u;

    void BuildDeviceLight() override;
    // Light 0, enabled as the light is, lighting on or off with it, ambient kApplyAmbient.
    void Apply() override;

    const platform::gfx::Light& DeviceLight() const { return m_light; }
    bool IsEnabled() const { return m_enabled; }

private:
    platform::gfx::Light m_light{};
    bool m_enabled = false;
};
