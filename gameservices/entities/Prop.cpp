#include "gameservices/entities/Prop.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

Prop::Prop() {
    Visible = true;
}

Prop::Prop(const TString<char>& name) : Entity(name) {}

bool Prop::IsA(const u32& typeId) const {
    return typeId == TypeIds::Entity || typeId == TypeIds::Prop;
}

const AGVec3& Prop::SetPosition(const AGVec3& position) {
    m_Position = position;
    return position;
}

const f32& Prop::SetRotationX(const f32& degrees) {
    m_RotationX = degrees;
    return degrees;
}

const f32& Prop::SetRotationY(const f32& degrees) {
    m_RotationY = degrees;
    return degrees;
}

const f32& Prop::SetRotationZ(const f32& degrees) {
    m_RotationZ = degrees;
    return degrees;
}

const AGVec3& Prop::SetScale(const AGVec3& scale) {
    m_Scale = scale;
    return scale;
}

const AGVec3& Prop::SetScale(const f32& x, const f32& y, const f32& z) {
    m_Scale = {x, y, z};
    return m_Scale;
}

const AGVec3& Prop::SetScale(const f32& uniform) {
    m_Scale = {uniform, uniform, uniform};
    return m_Scale;
}

const bool& Prop::SetCollidable(const bool& collidable) {
    m_Collidable = collidable;
    return collidable;
}

const bool& Prop::SetPartOfScene(const bool& partOfScene) {
    m_PartOfScene = partOfScene;
    return partOfScene;
}

void Prop::UpdateWorldMatrix(Matrix44& m) const {
    AGVec3 position;
    GetPosition(position);
    ComposeRotationTranslation(m, GetRotationX(), GetRotationY(), GetRotationZ(),
                               kDegreesToRadians, position);
    MatrixScale(m, GetScale());
}

}  // namespace GameServices::Entities
