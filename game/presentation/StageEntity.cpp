#include "game/presentation/StageEntity.h"

#include "engine/core/AGLog.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"

namespace QZ2011 {

namespace {
FHandlerParam<u32>* CurrentFrameEvent() {
    GameServices::KorvoGame::ICurrentGame* game = GameServices::KorvoGame::ICurrentGame::Get();
    GameServices::KorvoGame::GameFlowManager* flow = game ? game->GetGameFlowManager() : nullptr;
    return flow ? &flow->GetFrameEvent() : nullptr;
}
}  // namespace

void FrameSubscription::Subscribe(IDelegateParam<u32>* process, const TString<char>& owner) {
    if (m_Event)
        return;
    m_Event = CurrentFrameEvent();
    if (!m_Event) {
        AGReport("no game flow to update the stage entity '%s'", owner.c_str());
        return;
    }
    m_Event->AddDelegate(process);
}

void FrameSubscription::Unsubscribe(IDelegateParam<u32>* process) {
    if (!m_Event)
        return;
    // The game flow may have gone before its pooled entities; only a live event is touched.
    if (m_Event == CurrentFrameEvent())
        m_Event->RemoveDelegate(process);
    m_Event = nullptr;
}

}  // namespace QZ2011
