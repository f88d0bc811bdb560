#pragma once
// A family of the show: a team with its podium side, score and strikes.
#include "engine/core/TString.h"
#include "gameservices/entities/Team.h"

namespace QZ2011 {

class Family : public GameServices::Entities::Team {
public:
    TString<char> m_SecondName;
    // 0 the left podium, 1 the right one.
    i32 m_Side = 0;
    i32 m_Score = 0;
    i32 m_Strikes = 0;
};

}  // namespace QZ2011
