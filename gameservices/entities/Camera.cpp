#include "gameservices/entities/Camera.h"

#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

using VolatileDataKeys::kANIMATIONS_ENGINE_DATA;

Camera::~Camera() {
    delete GetAnimationData();
}

void Camera::ClearComponents() {
    Entity::ClearComponents();
    delete GetAnimationData();
    VolatileDatas.Remove(kANIMATIONS_ENGINE_DATA);
}

void Camera::SetAnimationData(u32 playMode, f32 speed) {
    CameraAnimationData* data = GetAnimationData();
    if (!data) {
        data = new CameraAnimationData();
        VolatileDatas.Set(kANIMATIONS_ENGINE_DATA, data);
    }
    data->m_PlayMode = playMode;
    data->m_Speed = speed;
}

CameraAnimationData* Camera::GetAnimationData() const {
    return VolatileDatas.GetAs<CameraAnimationData>(kANIMATIONS_ENGINE_DATA);
}

bool Camera::IsA(const u32& typeId) const {
    return typeId == TypeIds::Entity || typeId == TypeIds::Camera;
}

const bool& Camera::SetPartOfScene(const bool& partOfScene) {
    m_PartOfScene = partOfScene;
    return partOfScene;
}

}  // namespace GameServices::Entities
