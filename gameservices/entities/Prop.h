#pragma once
// A movable, scaled and rotated object of a scene. The game's board, stage and score props
// derive from it. Angles are degrees.
#include "gameservices/entities/PlacedEntity.h"

namespace GameServices::Entities {

class Prop : public ScaledEntity {
public:
    Prop();
    explicit Prop(const TString<char>& name);
    ~Prop() override = default;

    bool IsA(const u32& typeId) const override;

    using PlacedEntity::GetPosition;
    virtual const bool& SetPartOfScene(const bool& partOfScene);
    virtual bool IsPartOfScene() const { return m_PartOfScene; }
    // p x S x Rx x Ry x Rz + position; angles and scale are read through the getters.
    virtual void UpdateWorldMatrix(Matrix44& m) const;

    // Written when a team member is highlighted, read by the renderer.
    void SetOpacity(f32 opacity) { m_Opacity = opacity; }
    f32 GetOpacity() const { return m_Opacity; }

    static constexpr f32 kDegreesToRadians = 0.0174532887f;

private:
    bool m_PartOfScene = false;
    f32 m_Opacity = 1.0f;
};

}  // namespace GameServices::Entities
