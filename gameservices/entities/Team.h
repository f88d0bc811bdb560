#pragma once
// Bases of the families and players of a match.
#include <vector>

#include "engine/core/TString.h"
#include "gameservices/entities/GameObject.h"

namespace GameServices::Entities {

class BaseTeamMember;
class Inventory;
class Prop;

class Team : public GameObject {
public:
    Team() = default;
    // An inventory still attached is reported: its manager must delete it first.
    ~Team() override;

    virtual bool IsA(const u32& typeId) const;

    TString<char> m_Name;
    // Filled by the subclasses.
    std::vector<BaseTeamMember*> m_Members;
    std::vector<GameObject*> m_Objects;
    Inventory* m_Inventory = nullptr;
};

class BaseTeamMember : public GameObject {
public:
    BaseTeamMember() = default;
    // An inventory still attached is reported: its manager must delete it first.
    ~BaseTeamMember() override;

    virtual bool IsA(const u32& typeId) const;
    // Highlights the member: its on-stage prop is drawn at opacity 0.4 while the flag is
    // set, 1.0 otherwise, and is told its highlight through IPropHighlight.
    void SetActive(bool active);
    // A locked member's cursor prop is hidden and drawn at opacity 0.4; unlocked, shown at 1.0.
    void SetLocked(bool locked);

    u8 m_Flag = 0;
    u8 m_Highlight = 0;
    i32 m_MemberId = -1;
    TString<char> m_Name;
    // -1 while no input device is connected.
    i32 m_DeviceId = -1;
    u8 m_Flag2 = 0;
    // Set while the member holds a device; a member without one does not drive widgets.
    u8 m_Active = 0;
    // Both must be set for a computer player to be made for the member.
    u8 m_ComputerPlay = 0;
    u8 m_ComputerPlay2 = 0;
    // The member is played by the computer (the second member of the first team in a
    // single-player match).
    u8 m_Computer = 0;
    u8 m_Playing = 0;
    u8 m_Locked = 0;
    u32 m_Word = 0;
    Inventory* m_Inventory = nullptr;
    // The member's on-screen cursor prop, set by the subclass; may be null.
    Prop* m_Entity = nullptr;
    Team* m_Team = nullptr;
};

}  // namespace GameServices::Entities
