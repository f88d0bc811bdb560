#include "gameservices/entities/Team.h"

#include "engine/core/AGLog.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/PropRenderHooks.h"
#include "gameservices/entities/TypeIds.h"

namespace GameServices::Entities {

namespace {
constexpr const char* kInventoryLeft =
    "This team have a Inventory, you must call InventoryManager::DeleteInventory before the "
    "destruction.";
}

Team::~Team() {
    if (m_Inventory)
        AGReport("%s", kInventoryLeft);
}

bool Team::IsA(const u32& typeId) const {
    return typeId == TypeIds::Team;
}

BaseTeamMember::~BaseTeamMember() {
    if (m_Inventory)
        AGReport("%s", kInventoryLeft);
}

bool BaseTeamMember::IsA(const u32& typeId) const {
    return typeId == TypeIds::BaseTeamMember;
}

void BaseTeamMember::SetActive(bool active) {
    m_Highlight = active ? 1 : 0;
    if (!m_Entity)
        return;
    if (auto* highlight = dynamic_cast<IPropHighlight*>(m_Entity))
        highlight->SetHighlight(!active);
    m_Entity->SetOpacity(active ? 0.4f : 1.0f);
    UpdatePropRenderable(*m_Entity);
}

void BaseTeamMember::SetLocked(bool locked) {
    m_Locked = locked ? 1 : 0;
    if (!m_Entity)
        return;
    m_Entity->SetVisible(!locked);
    m_Entity->SetOpacity(locked ? 0.4f : 1.0f);
    UpdatePropRenderable(*m_Entity);
}

}  // namespace GameServices::Entities
