#include "gameservices/entities/SetElement.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool SetElement::IsA(const u32& typeId) const {
    return typeId == TypeIds::SetElement;
}

const AGVec3& SetElement::SetPosition(const AGVec3& position) {
    m_Position = position;
    return position;
}

const AGVec3& SetElement::SetScale(const AGVec3& scale) {
    m_Scale = scale;
    return scale;
}

const AGVec3& SetElement::SetScale(const f32& x, const f32& y, const f32& z) {
    m_Scale = {x, y, z};
    return m_Scale;
}

const AGVec3& SetElement::SetScale(const f32& uniform) {
    m_Scale = {uniform, uniform, uniform};
    return m_Scale;
}

const f32& SetElement::SetRotationX(const f32& degrees) {
    m_RotationX = degrees;
    return degrees;
}

const f32& SetElement::SetRotationY(const f32& degrees) {
    m_RotationY = degrees;
    return degrees;
}

const f32& SetElement::SetRotationZ(const f32& degrees) {
    m_RotationZ = degrees;
    return degrees;
}

const bool& SetElement::SetCollidable(const bool& collidable) {
    m_Collidable = collidable;
    return collidable;
}

const bool& SetElement::SetIsAScene(const bool& isAScene) {
    m_IsAScene = isAScene;
    return isAScene;
}

void SetElement::UpdateWorldMatrix(Matrix44& m) const {
    ComposeRotationTranslation(m, GetRotationX(), GetRotationY(), GetRotationZ(),
                               kDegreesToRadians, m_Position);
    MatrixScale(m, GetScale());
}

bool Floor::IsA(const u32& typeId) const {
    return typeId == TypeIds::SetElement || typeId == TypeIds::Floor;
}

}  // namespace GameServices::Entities
