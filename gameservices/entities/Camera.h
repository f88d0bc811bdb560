#pragma once
// A scene camera: plain data written by the level loader and read by the bridge systems.
#include "engine/core/AGVec3.h"
#include "gameservices/entities/Entity.h"

namespace GameServices::Entities {

// The play mode and speed of a camera's animation, kept under "ANIMATIONS_ENGINE_DATA".
struct CameraAnimationData {
    u32 m_PlayMode = 1;
    f32 m_Speed = 1.0f;
};

class Camera : public Entity {
public:
    Camera() = default;
    explicit Camera(const TString<char>& name) : Entity(name) {}
    ~Camera() override;

    bool IsA(const u32& typeId) const override;
    // A camera keeps its settings when its pool takes it back.
    void Reset() override {}
    // Also frees the camera's animation data.
    void ClearComponents() override;

    // Stores the animation's (play mode, speed) in a record the camera owns.
    void SetAnimationData(u32 playMode, f32 speed);
    // Null until set, and again after ClearComponents.
    CameraAnimationData* GetAnimationData() const;

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
