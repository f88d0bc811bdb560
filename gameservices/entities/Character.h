#pragma once
// An avatar-bearing person of a scene. No scale; its look lives in its VolatileData.
#include "engine/core/AGVec3.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/entities/EntityMatrix.h"

namespace GameServices::Entities {

class Character : public Entity {
public:
    Character() = default;
    explicit Character(const TString<char>& name) : Entity(name) {}
    ~Character() override = default;

    bool IsA(const u32& typeId) const override;

    virtual const AGVec3& SetPosition(const AGVec3& position);
    virtual void GetPosition(AGVec3& out) const { out = m_Position; }
    virtual const f32& SetRotationX(const f32& degrees);
    virtual f32 GetRotationX() const { return m_RotationX; }
    virtual const f32& SetRotationY(const f32& degrees);
    virtual f32 GetRotationY() const { return m_RotationY; }
    virtual const f32& SetRotationZ(const f32& degrees);
    virtual f32 GetRotationZ() const { return m_RotationZ; }
    virtual const bool& SetCollidable(const bool& collidable);
    virtual bool IsCollidable() const { return m_Collidable; }
    // Rx x Ry x Rz + position.
    virtual void UpdateWorldMatrix(Matrix44& m) const;

    static constexpr f32 kDegreesToRadians = 0.0174532887f;

private:
    AGVec3 m_Position;
    f32 m_RotationX = 0.0f;
    f32 m_RotationY = 0.0f;
    f32 m_RotationZ = 0.0f;
    bool m_Collidable = false;
};

}  // namespace GameServices::Entities
