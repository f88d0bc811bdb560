#include "gameservices/entities/Camera.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

bool Camera::IsA(const u32& typeId) const {
    return typeId == TypeIds::Entity || typeId == TypeIds::Camera;
}

const bool& Camera::SetPartOfScene(const bool& partOfScene) {
    m_PartOfScene = partOfScene;
    return partOfScene;
}

}  // namespace GameServices::Entities
