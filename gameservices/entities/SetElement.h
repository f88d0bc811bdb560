#pragma once
// Static scene elements. A Floor differs from a SetElement only by its type id.
#include "gameservices/entities/PlacedEntity.h"

namespace GameServices::Entities {

// Collidable unless told otherwise.
class SetElement : public ScaledEntity {
public:
    SetElement() { PlacedEntity::SetCollidable(true); }
    explicit SetElement(const TString<char>& name) : ScaledEntity(name) {
        PlacedEntity::SetCollidable(true);
    }
    ~SetElement() override = default;

    bool IsA(const u32& typeId) const override;

    virtual const bool& SetIsAScene(const bool& isAScene);
    virtual bool IsAScene() const { return m_IsAScene; }
    // p x S x Rx x Ry x Rz + position, with this class's own degree factor.
    virtual void UpdateWorldMatrix(Matrix44& m) const;

    // Deliberately not the float of Prop and Character; matrices of set elements are
    // expected to match bit for bit.
    static constexpr f32 kDegreesToRadians = 0.0174532924f;

private:
    bool m_IsAScene = false;
};

class Floor : public SetElement {
public:
    Floor() = default;
    explicit Floor(const TString<char>& name) : SetElement(name) {}
    ~Floor() override = default;

    bool IsA(const u32& typeId) const override;
};

}  // namespace GameServices::Entities
