#include "gameservices/entities/SetElement.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool SetElement::IsA(const u32& typeId) const {
    return typeId == TypeIds::SetElement;
}

const bool& SetElement::SetIsAScene(const bool& isAScene) {
    m_IsAScene = isAScene;
    return isAScene;
}

void SetElement::UpdateWorldMatrix(Matrix44& m) const {
    ComposeWorldMatrix(m, kDegreesToRadians, Position());
    MatrixScale(m, GetScale());
}

bool Floor::IsA(const u32& typeId) const {
    return typeId == TypeIds::SetElement || typeId == TypeIds::Floor;
}

}  // namespace GameServices::Entities
