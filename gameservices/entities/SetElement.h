#pragma once
// Static scene elements. A Floor differs from a SetElement only by its type id.
#include "engine/core/AGVec3.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/entities/EntityMatrix.h"

namespace GameServices::Entities {

class SetElement : public Entity {
public:
    SetElement() = default;
    explicit SetElement(const TString<char>& name) : Entity(name) {}
    ~SetElement() override = default;

    bool IsA(const u32& typeId) const override;

    virtual const AGVec3& SetPosition(const AGVec3& position);
    virtual const AGVec3& SetScale(const AGVec3& scale);
    virtual const AGVec3& SetScale(const f32& x, const f32& y, const f32& z);
    virtual const AGVec3& SetScale(const f32& uniform);
    virtual void GetScale(AGVec3& out) const { out = m_Scale; }
    virtual AGVec3 GetScale() const { return m_Scale; }
    virtual const f32& SetRotationX(const f32& degrees);
    virtual f32 GetRotationX() const { return m_RotationX; }
    virtual const f32& SetRotationY(const f32& degrees);
    virtual f32 GetRotationY() const { return m_RotationY; }
    virtual const f32& SetRotationZ(const f32& degrees);
    virtual f32 GetRotationZ() const { return m_RotationZ; }
    virtual const bool& SetCollidable(const bool& collidable);
    virtual bool IsCollidable() const { return m_Collidable; }
    virtual const bool& SetIsAScene(const bool& isAScene);
    virtual bool IsAScene() const { return m_IsAScene; }
    // p x S x Rx x Ry x Rz + position, with this class's own degree factor.
    virtual void UpdateWorldMatrix(Matrix44& m) const;

    // Deliberately not the float of Prop and Character; matrices of set elements are
    // expected to match bit for bit.
    static constexpr f32 kDegreesToRadians = 0.0174532924f;

private:
    AGVec3 m_Position;
    AGVec3 m_Scale{1.0f, 1.0f, 1.0f};
    bool m_Collidable = true;
    bool m_IsAScene = false;
    f32 m_RotationX = 0.0f;
    f32 m_RotationY = 0.0f;
    f32 m_RotationZ = 0.0f;
};

class Floor : public SetElement {
public:
    Floor() = default;
    explicit Floor(const TString<char>& name) : SetElement(name) {}
    ~Floor() override = default;

    bool IsA(const u32& typeId) const override;
};

}  // namespace GameServices::Entities
