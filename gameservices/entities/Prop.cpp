#include "gameservices/entities/Prop.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

Prop::Prop() {
    Visible = true;
}

Prop::Prop(const TString<char>& name) : ScaledEntity(name) {}

bool Prop::IsA(const u32& typeId) const {
    return typeId == TypeIds::Entity || typeId == TypeIds::Prop;
}

const bool& Prop::SetPartOfScene(const bool& partOfScene) {
    m_PartOfScene = partOfScene;
    return partOfScene;
}

void Prop::UpdateWorldMatrix(Matrix44& m) const {
    AGVec3 position;
    GetPosition(position);
    ComposeWorldMatrix(m, kDegreesToRadians, position);
    MatrixScale(m, GetScale());
}

}  // namespace GameServices::Entities
