#pragma once
// A contestant or avatar-face character of the match stage. Holds only the requests the match
// mode writes; the presentation reads them to pick poses and gestures.
#include "gameservices/entities/Character.h"

namespace QZ2011 {

class QZCharacter : public GameServices::Entities::Character {
public:
    bool m_PoseRequest = false;
    int m_PoseId = 0;
    bool m_LeftIntroRequest = false;
    bool m_RightIntroRequest = false;
    bool m_FaceOff = false;
    bool m_Buzz = false;
    bool m_LeftSide = false;
    // Set on the avatar faces when an answer block is revealed.
    bool m_Reaction = false;
    // The animation set: exactly one is set once a selector ran.
    u8 IsMale1 = 0;
    u8 IsMale2 = 0;
    u8 IsFemale1 = 0;
    u8 IsFemale2 = 0;

    void SetCharacterMale1() { SelectSet(1, 0, 0, 0); }
    void SetCharacterMale2() { SelectSet(0, 1, 0, 0); }
    void SetCharacterFemale1() { SelectSet(0, 0, 1, 0); }
    void SetCharacterFemale2() { SelectSet(0, 0, 0, 1); }

private:
    void SelectSet(u8 male1, u8 male2, u8 female1, u8 female2) {
        IsMale1 = male1;
        IsMale2 = male2;
        IsFemale1 = female1;
        IsFemale2 = female2;
    }
};

}  // namespace QZ2011
