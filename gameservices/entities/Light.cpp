#include "gameservices/entities/Light.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool Light::IsA(const u32& typeId) const {
    return typeId == TypeIds::Light;
}

const bool& Light::SetPartOfScene(const bool& partOfScene) {
    m_PartOfScene = partOfScene;
    return partOfScene;
}

}  // namespace GameServices::Entities
