#include "engine/graphics/PCLight.h"

#include "engine/graphics/PCDeviceLock.h"

using namespace platform::gfx;

namespace {

constexpr f32 kConeDegreesToRadians = 0.017453292f;

ColorValue ToColorValue(u32 argb) {
    return {f32((argb >> 16) & 0xFF) / 255.0f, f32((argb >> 8) & 0xFF) / 255.0f,
            f32(argb & 0xFF) / 255.0f, f32(argb >> 24) / 255.0f};
}

}  // namespace

void PCLight::BuildDeviceLight() {
    m_enabled = true;
    m_light = Light{};
    m_light.diffuse = ToColorValue(m_diffuse);
    m_light.specular = ToColorValue(m_specular);
    m_light.ambient = ToColorValue(m_ambient);
    m_light.position = {m_position.x, m_position.y, m_position.z};
    m_light.direction = {m_direction.x, m_direction.y, m_direction.z};
    switch (m_kind) {
    case kSpot:
        m_light.type = LightType::Spot;
        m_light.range = m_range;
        m_light.theta = m_innerCone * kConeDegreesToRadians;
        m_light.phi = m_outerCone * kConeDegreesToRadians;
        m_light.falloff = 1.0f;
        m_light.attenuation1 = 0.005f;
        break;
    case kDirectional:
        m_light.type = LightType::Directional;
        break;
    default:
        m_light.type = LightType::Point;
        m_light.range = m_range;
        m_light.attenuation1 = 0.005f;
        break;
    }
}

void PCLight::Apply() {
    Device* device = PCCurrentDevice();
    if (!device)
        return;
    device->SetLight(0, m_light);
    device->LightEnable(0, m_enabled);
    device->SetRenderState(RenderState::Lighting, m_enabled ? 1u : 0u);
    device->SetRenderState(RenderState::Ambient, kApplyAmbient);
}
