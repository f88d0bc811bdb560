#include "game/presentation/QZStageProps.h"

#include "engine/core/AGLog.h"
#include "game/presentation/QZApplicationData.h"
#include "gameservices/entities/TypeIds.h"

namespace QZ2011 {

QZStageProps::QZStageProps() { Behaviors.Add(&m_Behavior); }

bool QZStageProps::IsA(const u32& typeId) const {
    return typeId == kTypeId || typeId == GameServices::Entities::TypeIds::Prop;
}

void QZStageProps::Initialize() {
    if (auto* data = dynamic_cast<QZApplicationDataProps*>(Attributes.FindApplicationData()))
        TemplateName = data->TemplateBehavior;
    else
        AGReport("Missing applicationData  for the Prop!");
    m_Behavior.Retarget(TemplateName, m_Behavior.BehaviorFilePath);
    StartTicking();
}

BehaviorStage* GetStageBehavior(GameServices::Entities::Entity* entity) {
    auto* prop = dynamic_cast<QZStageProps*>(entity);
    return prop ? &prop->m_Behavior : nullptr;
}

}  // namespace QZ2011
