#include "gameservices/entities/Character.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool Character::IsA(const u32& typeId) const {
    return typeId == TypeIds::Entity || typeId == TypeIds::Character;
}

void Character::UpdateWorldMatrix(Matrix44& m) const {
    AGVec3 position;
    GetPosition(position);
    ComposeWorldMatrix(m, kDegreesToRadians, position);
}

}  // namespace GameServices::Entities
