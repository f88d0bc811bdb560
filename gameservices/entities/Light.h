#pragma once
// A scene light: plain data written by the level loader and read by the bridge systems.
#include "engine/core/AGVec3.h"
#include "gameservices/entities/Entity.h"

namespace GameServices::Entities {

class Light : public Entity {
public:
    // Values of LightType.
    enum : u32 { kPosition = 0, kSpot = 1, kDirection = 2 };

    Light() = default;
    explicit Light(const TString<char>& name) : Entity(name) {}
    ~Light() override = default;

    bool IsA(const u32& typeId) const override;

    virtual const bool& SetPartOfScene(const bool& partOfScene);
    virtual bool IsPartOfScene() const { return m_PartOfScene; }

    u32 LightType = kPosition;
    AGVec3 Position;
    AGVec3 SecondVector;
    AGVec3 Direction;  // unit length, from the position towards the target
    f32 AttenuationK0 = 0.0f;
    f32 AttenuationK1 = 0.0f;
    f32 AttenuationK2 = 0.0f;
    f32 Intens = 0.0f;
    f32 HotSize = 0.0f;
    f32 FallSize = 0.0f;
    f32 Range = 0.0f;
    f32 Intensity = 0.0f;
    // Packed 32-bit colours.
    u32 Color = 0;
    u32 Ambient = 0;
    u32 Diffuse = 0;
    u32 Specular = 0;

private:
    bool m_PartOfScene = false;
};

}  // namespace GameServices::Entities
