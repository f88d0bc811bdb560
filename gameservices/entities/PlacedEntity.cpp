#include "gameservices/entities/PlacedEntity.h"

namespace GameServices::Entities {

const AGVec3& PlacedEntity::SetPosition(const AGVec3& position) {
    m_Position = position;
    return position;
}

const f32& PlacedEntity::SetRotationX(const f32& degrees) {
    m_RotationX = degrees;
    return degrees;
}

const f32& PlacedEntity::SetRotationY(const f32& degrees) {
    m_RotationY = degrees;
    return degrees;
}

const f32& PlacedEntity::SetRotationZ(const f32& degrees) {
    m_RotationZ = degrees;
    return degrees;
}

const bool& PlacedEntity::SetCollidable(const bool& collidable) {
    m_Collidable = collidable;
    return collidable;
}

void PlacedEntity::ComposeWorldMatrix(Matrix44& m, f32 degreesToRadians,
                                      const AGVec3& position) const {
    ComposeRotationTranslation(m, GetRotationX(), GetRotationY(), GetRotationZ(),
                               degreesToRadians, position);
}

const AGVec3& ScaledEntity::SetScale(const AGVec3& scale) {
    m_Scale = scale;
    return scale;
}

const AGVec3& ScaledEntity::SetScale(const f32& x, const f32& y, const f32& z) {
    m_Scale = {x, y, z};
    return m_Scale;
}

const AGVec3& ScaledEntity::SetScale(const f32& uniform) {
    m_Scale = {uniform, uniform, uniform};
    return m_Scale;
}

}  // namespace GameServices::Entities
