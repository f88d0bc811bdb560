#pragma once
// The placement shared by props, characters and set elements: a position, rotations about
// X, Y and Z in degrees and the collidable flag, with a scale for the entities that have one.
// Each setter returns its argument; angles are read back through the virtual getters.
#include "engine/core/AGVec3.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/entities/EntityMatrix.h"

namespace GameServices::Entities {

class PlacedEntity : public Entity {
public:
    PlacedEntity() = default;
    explicit PlacedEntity(const TString<char>& name) : Entity(name) {}
    ~PlacedEntity() override = default;

    virtual const AGVec3& SetPosition(const AGVec3& position);
    virtual const f32& SetRotationX(const f32& degrees);
    virtual f32 GetRotationX() const { return m_RotationX; }
    virtual const f32& SetRotationY(const f32& degrees);
    virtual f32 GetRotationY() const { return m_RotationY; }
    virtual const f32& SetRotationZ(const f32& degrees);
    virtual f32 GetRotationZ() const { return m_RotationZ; }
    virtual const bool& SetCollidable(const bool& collidable);
    virtual bool IsCollidable() const { return m_Collidable; }

protected:
    // Public where the entity has a position getter; set elements have none.
    virtual void GetPosition(AGVec3& out) const { out = m_Position; }
    const AGVec3& Position() const { return m_Position; }
    // Rx x Ry x Rz from the getters' angles, then the translation row set to position.
    void ComposeWorldMatrix(Matrix44& m, f32 degreesToRadians, const AGVec3& position) const;

private:
    AGVec3 m_Position;
    f32 m_RotationX = 0.0f;
    f32 m_RotationY = 0.0f;
    f32 m_RotationZ = 0.0f;
    bool m_Collidable = false;
};

class ScaledEntity : public PlacedEntity {
public:
    ScaledEntity() = default;
    explicit ScaledEntity(const TString<char>& name) : PlacedEntity(name) {}
    ~ScaledEntity() override = default;

    virtual const AGVec3& SetScale(const AGVec3& scale);
    virtual const AGVec3& SetScale(const f32& x, const f32& y, const f32& z);
    virtual const AGVec3& SetScale(const f32& uniform);
    virtual void GetScale(AGVec3& out) const { out = m_Scale; }
    virtual AGVec3 GetScale() const { return m_Scale; }

private:
    AGVec3 m_Scale{1.0f, 1.0f, 1.0f};
};

}  // namespace GameServices::Entities
