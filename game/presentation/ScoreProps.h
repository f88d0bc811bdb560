#pragma once
// The score displays of the stage: the board's digit screens and the families' desks.
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

struct BehaviorScore {
    // -1 shows nothing.
    int m_Value = -1;
    bool m_Refresh = true;
};

class ScoreBoardProps : public GameServices::Entities::Prop {
public:
    BehaviorScore m_Score;
};

class ScoreDeskProps : public GameServices::Entities::Prop {
public:
    BehaviorScore m_Score;
};

// The score behaviour of a score board or desk; null for any other entity.
BehaviorScore* GetScoreBehavior(GameServices::Entities::Entity* entity);

}  // namespace QZ2011
