#pragma once
// A movable, scaled and rotated object of a scene. The game's board, stage and score props
// derive from it. Angles are degrees.
#include "engine/core/AGVec3.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/entities/EntityMatrix.h"

namespace GameServices::Entities {

class Prop : public Entity {
public:
    Prop();
    explicit Prop(const TString<char>& name);
    ~Prop() override = default;

    bool IsA(const u32& typeId) const override;

    virtual const AGVec3& SetPosition(const AGVec3& position);
    virtual void GetPosition(AGVec3& out) const { out = m_Position; }
    virtual const f32& SetRotationX(const f32& degrees);
    virtual f32 GetRotationX() const { return m_RotationX; }
    virtual const f32& SetRotationY(const f32& degrees);
    virtual f32 GetRotationY() const { return m_RotationY; }
    virtual const f32& SetRotationZ(const f32& degrees);
    virtual f32 GetRotationZ() const { return m_RotationZ; }
    virtual const AGVec3& SetScale(const AGVec3& scale);
    virtual const AGVec3& SetScale(const f32& x, const f32& y, const f32& z);
    virtual const AGVec3& SetScale(const f32& uniform);
    virtual void GetScale(AGVec3& out) const { out = m_Scale; }
    virtual AGVec3 GetScale() const { return m_Scale; }
    virtual const bool& SetCollidable(const bool& collidable);
    virtual bool IsCollidable() const { return m_Collidable; }
    virtual const bool& SetPartOfScene(const bool& partOfScene);
    virtual bool IsPartOfScene() const { return m_PartOfScene; }
    // p x S x Rx x Ry x Rz + position; angles and scale are read through the getters.
    virtual void UpdateWorldMatrix(Matrix44& m) const;

    // Written when a team member is highlighted, read by the renderer.
    void SetOpacity(f32 opacity) { m_Opacity = opacity; }
    f32 GetOpacity() const { return m_Opacity; }

    static constexpr f32 kDegreesToRadians = 0.0174532887f;

private:
    AGVec3 m_Position;
    AGVec3 m_Scale{1.0f, 1.0f, 1.0f};
    f32 m_RotationX = 0.0f;
    f32 m_RotationY = 0.0f;
    f32 m_RotationZ = 0.0f;
    bool m_Collidable = false;
    bool m_PartOfScene = false;
    f32 m_Opacity = 1.0f;
};

}  // namespace GameServices::Entities
