#include "gameservices/entities/Character.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool Character::IsA(const u32& typeId) const {
    return typeId == TypeIds::Entity || typeId == TypeIds::Character;
}

const AGVec3& Character::SetPosition(const AGVec3& position) {
    m_Position = position;
    return position;
}

const f32& Character::SetRotationX(const f32& degrees) {
    m_RotationX = degrees;
    return degrees;
}

const f32& Character::SetRotationY(const f32& degrees) {
    m_RotationY = degrees;
    return degrees;
}

const f32& Character::SetRotationZ(const f32& degrees) {
    m_RotationZ = degrees;
    return degrees;
}

const bool& Character::SetCollidable(const bool& collidable) {
    m_Collidable = collidable;
    return collidable;
}

void Character::UpdateWorldMatrix(Matrix44& m) const {
    AGVec3 position;
    GetPosition(position);
    ComposeRotationTranslation(m, GetRotationX(), GetRotationY(), GetRotationZ(),
                               kDegreesToRadians, position);
}

}  // namespace GameServices::Entities
