#pragma once
// An avatar-bearing person of a scene. No scale; its look lives in its VolatileData.
#include "gameservices/entities/PlacedEntity.h"

namespace GameServices::Entities {

class Character : public PlacedEntity {
public:
    Character() = default;
    explicit Character(const TString<char>& name) : PlacedEntity(name) {}
    ~Character() override = default;

    bool IsA(const u32& typeId) const override;

    using PlacedEntity::GetPosition;
    // Rx x Ry x Rz + position.
    virtual void UpdateWorldMatrix(Matrix44& m) const;

    static constexpr f32 kDegreesToRadians = 0.0174532887f;
};

}  // namespace GameServices::Entities
