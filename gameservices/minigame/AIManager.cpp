#include "gameservices/minigame/AIManager.h"

#include <cstdint>

#include "gameservices/game/TeamActionManager.h"

namespace GameServices::MiniGame {

void BaseAI::Initialize(Entities::Team* team, Entities::BaseTeamMember* member) {
    m_Team = team;
    m_Member = member;
}

void BaseAI::SendTeamAction(const TString<char>& action, u32 value) {
    if (!m_TeamActionManager)
        return;
    KorvoGame::TeamActionData data(reinterpret_cast<Bridge::sActionData*>(uintptr_t(value)),
                                   reinterpret_cast<uintptr_t>(m_Team), m_Member);
    m_TeamActionManager->SimulateTeamAction(&data, action);
}

void AIManager::Update(u32 ms) {
    for (IBaseAI* ai : m_AIs)
        ai->Update(ms);
}

void AIManager::Reset() {
    for (IBaseAI* ai : m_AIs)
        ai->Reset();
}

}  // namespace GameServices::MiniGame
