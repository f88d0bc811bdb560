#include "game/presentation/QZBuzzLightProps.h"

#include "gameservices/entities/TypeIds.h"

namespace QZ2011 {

QZBuzzLightProps::QZBuzzLightProps() { Behaviors.Add(&m_Behavior); }

bool QZBuzzLightProps::IsA(const u32& typeId) const {
    return typeId == kTypeId || typeId == GameServices::Entities::TypeIds::Prop;
}

void QZBuzzLightProps::Initialize() {
    m_Behavior.Retarget(m_Behavior.m_EntityTemplate, m_Behavior.BehaviorFilePath);
    StartTicking();
}

}  // namespace QZ2011
