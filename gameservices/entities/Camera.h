#pragma once
// A scene camera: plain data written by the level loader and read by the bridge systems.
#include "engine/core/AGVec3.h"
#include "gameservices/entities/Entity.h"

namespace GameServices::Entities {

class Camera : public Entity {
public:
    Camera() = default;
    explicit Camera(const TString<char>& name) : Entity(name) {}
    ~Camera() override = default;

    bool IsA(const u32& typeId) const override;
    // A camera keeps its settings when its pool takes it back.
    void Reset() override {}

    virtual const bool& SetPartOfScene(const bool& partOfScene);
    virtual bool IsPartOfScene() const { return m_PartOfScene; }

    f32 ClippingNear = 0.0f;
    f32 ClippingFar = 1000.0f;
    u32 ViewportWidth = 800;
    u32 ViewportHeight = 600;
    f32 FieldOfView = 34.0f;
    AGVec3 Position;
    AGVec3 LookAt;
    AGVec3 Up{0.0f, -1.0f, 0.0f};
    f32 Factor = 1.0f;
    bool Orthographic = false;

private:
    bool m_PartOfScene = false;
};

}  // namespace GameServices::Entities
