#pragma once
// "light": one light of a 3D scene: kind (0 point, 1 spot, 2 directional), ARGB colours,
// position, direction, range and cone angles in degrees. Values A to F are kept for the
// light's users. Load ends by building the device light.
//
// File (152 bytes): 12-byte header (skipped); 16 f32 transform; u32 value E; u32 kind;
// f32 value A; f32 inner cone; f32 outer cone; f32 range; 3 f32 position; 3 f32 direction;
// f32 value B; u32 diffuse; u32 ambient; u32 specular; f32 value C; f32 value D; u32 value F.
#include "engine/core/AGResource.h"
#include "engine/core/AGVec3.h"
#include "engine/core/Crc32Hash.h"

class AGLight : public AGResource {
public:
    static constexpr u32 kPoint = 0;
    static constexpr u32 kSpot = 1;
    static constexpr u32 kDirectional = 2;

    u32 GetTypeKey() const override { return TypeKey::Light; }
    // A truncated file leaves the construction values, with one log line; the device light
    // is built either way.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Builds the device light from the fields (device side).
    virtual void BuildDeviceLight() {}
    // Makes the light the device's light (device side).
    virtual void Apply() {}

    f32 m_transform[16] = {};
    AGVec3 m_position;
    AGVec3 m_direction;
    f32 m_valueA = 0.0f;
    f32 m_innerCone = 0.0f;  // degrees
    f32 m_outerCone = 0.0f;  // degrees
    f32 m_range = 0.0f;
    f32 m_valueB = 0.0f;
    f32 m_valueC = 0.0f;
    f32 m_valueD = 0.0f;
    u32 m_valueF = 0xFFFFFFFFu;
    u32 m_valueE = 0xFFFFFFFFu;
    u32 m_ambient = 0xFFFFFFFFu;
    u32 m_diffuse = 0xFFFFFFFFu;
    u32 m_specular = 0xFFFFFFFFu;
    u32 m_kind = kPoint;
};
