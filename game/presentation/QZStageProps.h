#pragma once
// Stage props whose look is an animation of their stage behaviour: a requested play (start
// key to end key in a play mode) or a held key.
#include "engine/core/TString.h"
#include "gameservices/entities/EntityComponents.h"
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

class BehaviorStage : public GameServices::Entities::Behavior {
public:
    void Reset() override;
    // Holds the key and cancels a pending play request.
    void SetHoldKey(const char* key);
    // Requests a play from startKey to "endKey" in the mode at the next update.
    static void PlayAnimation(const char* startKey, BehaviorStage* stage, int mode);

    bool m_PlayRequest = false;
    TString<char> m_StartKey;
    TString<char> m_EndKey;
    int m_PlayMode = 0;
    TString<char> RequestedKey;
    TString<char> m_AppliedKey;
};

class QZStageProps : public GameServices::Entities::Prop {
public:
    BehaviorStage m_Stage;
};

// The stage behaviour of a stage prop; null for any other entity.
BehaviorStage* GetStageBehavior(GameServices::Entities::Entity* entity);

}  // namespace QZ2011
