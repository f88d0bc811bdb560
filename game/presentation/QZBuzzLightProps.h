#pragma once
// A buzzer light of the stage: three state flags (idle 1,0,0; lit 0,0,1).
#include "gameservices/entities/Prop.h"

namespace QZ2011 {

class QZBuzzLightProps : public GameServices::Entities::Prop {
public:
    void SetState(bool first, bool second, bool third) {
        m_State[0] = first;
        m_State[1] = second;
        m_State[2] = third;
    }

    bool m_State[3] = {true, false, false};
};

}  // namespace QZ2011
