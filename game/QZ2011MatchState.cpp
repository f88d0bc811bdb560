// The match-state operations of the game context: the reset between matches, turns,
// families and their members, the opponent family's looks and the players' cursors.
#include <cstdio>
#include <iterator>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameshow/Menu.h"

namespace {

using GameServices::Entities::BaseTeamMember;

// The opponent family's looks of one decade and difficulty: the members in the order their
// looks come, starting again after the fourth.
struct LookCycle {
    const char* key;
    const char* decade;
    u32 difficulty;
    i32 members[4];
};

constexpr LookCycle kLookCycles[] = {
    {"70_easy", "70", 1, {2, 1, 0, 3}}, {"70_med", "70", 2, {0, 1, 2, 3}}, {"70_hard", "70", 3, {0, 1, 2, 3}},
    {"80_easy", "80", 1, {0, 1, 2, 3}}, {"80_med", "80", 2, {3, 1, 2, 0}}, {"80_hard", "80", 3, {0, 1, 2, 3}},
    {"90_easy", "90", 1, {2, 1, 0, 3}}, {"90_med", "90", 2, {0, 1, 2, 3}}, {"90_hard", "90", 3, {2, 3, 0, 1}},
    {"00_easy", "00", 1, {3, 1, 2, 0}}, {"00_med", "00", 2, {0, 1, 2, 3}}, {"00_hard", "00", 3, {2, 3, 0, 1}},
};
constexpr u32 kDifficulties = 3;
constexpr const char* kMemberLooks[4] = {"Male01", "Male02", "Female01", "Female02"};

TString<char> LookFile(const LookCycle& cycle, i32 member) {
    char name[64];
    snprintf(name, sizeof(name), "%ss_F%u_AppearanceOpponent%s.xml", cycle.decade, cycle.difficulty,
             kMemberLooks[member]);
    return name;
}

// The member cycles of NextFamilyMember, by the family's order flag.
constexpr i32 kOrderedCycle[4] = {0, 2, 1, 3};
constexpr i32 kUnorderedCycle[4] = {2, 0, 3, 1};

}  // namespace

void QZ2011GameContext::ResetGameState() {
    m_BuzzOwner = -1;
    m_FaceOffWinner = -1;
    m_RoundCounter = 0;
    m_CurrentFamily = kNoFamily;
    m_LastAnswerIndex = -1;
    m_TypedAnswer = "";
    m_AnswerTurnPending = 0;
    m_AIMayAct = 0;
    m_FastMoneyAnswerIndex = 0;
    m_FastMoneyTotal = 0;
    m_AnswerPending = 0;
    m_AnswerAgain = 0;
    m_StealStarted = 0;
    m_UnlockedAwardName = "";
    m_PlayChosen = 1;
    m_SkipAllowed = 0;
    for (u8& answered : m_FastMoneyAnswered)
        answered = 0;
    m_FastMoneyStepFlag = 0;
    m_AIAnswerStarted = 0;
    m_AIBusy = 0;
    SetPlayerCursorsVisible(false);
    m_ChosenAnswerIndex = -1;
    m_RoundBank = 0;
    m_TimeUp = 0;
    m_WentToSuddenDeath = 0;
    m_RightMemberIndex = kNoMember;
    m_LeftMemberIndex = kNoMember;
    m_OpponentNextMember = kNoMember;
    m_StruckOutAnswers = 0;
    if (m_TwoPlayers == 0)
        ResetOpponentLooks();
}

void QZ2011GameContext::SwitchTurn() {
    if (m_TwoPlayers == 0 && (m_CurrentFamily == kPlayerOneFamily || m_CurrentFamily == kComputerFamily))
        m_CurrentFamily = m_CurrentFamily == kPlayerOneFamily ? kComputerFamily : kPlayerOneFamily;
    else if (m_TwoPlayers == 1 && (m_CurrentFamily == kPlayerOneFamily || m_CurrentFamily == kPlayerTwoFamily))
        m_CurrentFamily = m_CurrentFamily == kPlayerOneFamily ? kPlayerTwoFamily : kPlayerOneFamily;
    else
        AGReport("We can't switch trun from NOBODY!!");
}

i32 QZ2011GameContext::GetOtherBuzzSide() const {
    if (m_BuzzOwner == 0)
        return 1;
    if (m_BuzzOwner == 1)
        return 0;
    return -1;
}

QZ2011::Family* QZ2011GameContext::GetCurrentFamily() {
    switch (m_CurrentFamily) {
    case kComputerFamily:
        return m_ComputerFamily;
    case kPlayerOneFamily:
        return m_PlayerOneFamily;
    case kPlayerTwoFamily:
        return m_PlayerTwoFamily;
    default:
        AGReport("No family set!!");
        return nullptr;
    }
}

void QZ2011GameContext::CheckTypedAnswer(QZ2011::AnswerResult* record) {
    if (record)
        m_RoundRules.CheckTypedAnswer(*record);
    else
        AGReport("RoundRules : no answer record");
}

void QZ2011GameContext::CreateFamilies() {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    if (!registry)
        return;
    registry->DeleteAll();
    DeleteFamilies();
    m_PlayerOneFamily = new QZ2011::Family();
    m_PlayerOneFamily->m_Name = "The Team";
    registry->AddTeam(m_PlayerOneFamily, GameServices::KorvoGame::TeamRegistry::kPlayersTeamId);
    auto addMember = [&](const char* name) {
        auto* member = new BaseTeamMember();
        member->m_Name = name;
        member->m_Team = m_PlayerOneFamily;
        registry->AddMember(member);
        m_PlayerOneFamily->m_Members.push_back(member);
    };
    addMember("Member 1");
    m_ComputerFamily = new QZ2011::Family();
    m_PlayerTwoFamily = new QZ2011::Family();
    addMember("Member 2");
    for (QZ2011::Family* family : {m_PlayerOneFamily, m_ComputerFamily, m_PlayerTwoFamily}) {
        family->m_Score = 0;
        family->m_Strikes = 0;
    }
}

void QZ2011GameContext::DeleteFamilies() {
    delete m_ComputerFamily;
    delete m_PlayerTwoFamily;
    m_ComputerFamily = nullptr;
    m_PlayerTwoFamily = nullptr;
}

void QZ2011GameContext::NextFamilyMember(bool leftFamily) {
    i32& index = leftFamily ? m_LeftMemberIndex : m_RightMemberIndex;
    const i32* cycle = (leftFamily ? m_LeftMemberOrder : m_RightMemberOrder) ? kOrderedCycle : kUnorderedCycle;
    if (index == kNoMember) {
        index = cycle[0];
        return;
    }
    for (int i = 0; i < 4; ++i)
        if (cycle[i] == index) {
            index = cycle[(i + 1) % 4];
            return;
        }
}

void QZ2011GameContext::SetSecondFamilyMemberNames(TString<char> name0, TString<char> name1, TString<char> name2,
                                                   TString<char> name3) {
    m_SecondFamilyMemberNames[0] = name0;
    m_SecondFamilyMemberNames[1] = name1;
    m_SecondFamilyMemberNames[2] = name2;
    m_SecondFamilyMemberNames[3] = name3;
}

TString<char> QZ2011GameContext::GetSecondFamilyMemberName() const {
    if (m_RightMemberIndex < 0 || m_RightMemberIndex > 3)
        return "";
    return m_SecondFamilyMemberNames[m_RightMemberIndex];
}

void QZ2011GameContext::ResetOpponentLooks() {
    if (m_Decade < 4 && m_Difficulty < kDifficulties)
        m_OpponentLookKey = kLookCycles[m_Decade * kDifficulties + m_Difficulty].key;
    GetOpponentAppearanceFile();
}

TString<char> QZ2011GameContext::GetOpponentAppearanceFile() {
    const TString<char> current = m_OpponentLookKey;
    for (const LookCycle& cycle : kLookCycles) {
        if (current == cycle.key) {
            m_OpponentLookKey = LookFile(cycle, cycle.members[0]);
            m_RightMemberIndex = m_OpponentNextMember = cycle.members[0];
            return current;
        }
        for (int i = 0; i < 4; ++i)
            if (current == LookFile(cycle, cycle.members[i])) {
                const i32 next = cycle.members[(i + 1) % 4];
                m_OpponentLookKey = LookFile(cycle, next);
                m_RightMemberIndex = cycle.members[i];
                m_OpponentNextMember = next;
                return current;
            }
    }
    return current;
}

void QZ2011GameContext::ShowActivePlayerCursor(bool show) {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    GameServices::Entities::Team* team = registry && !registry->GetMembers().empty() ? registry->GetTeam() : nullptr;
    if (m_TwoPlayers != 1 || !team || team->m_Members.size() < 2)
        return;
    // A disabled cursor is flagged and dimmed.
    if (m_CurrentFamily == kPlayerOneFamily) {
        team->m_Members[0]->SetActive(!show);
        team->m_Members[1]->SetActive(true);
    } else if (m_CurrentFamily == kPlayerTwoFamily) {
        team->m_Members[0]->SetActive(true);
        team->m_Members[1]->SetActive(!show);
    }
}

void QZ2011GameContext::SetPlayerCursorsVisible(bool show) {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    GameServices::Entities::Team* team = registry && !registry->GetMembers().empty() ? registry->GetTeam() : nullptr;
    if (m_TwoPlayers != 1 || !team || team->m_Members.size() < 2)
        return;
    team->m_Members[0]->SetActive(!show);
    team->m_Members[1]->SetActive(!show);
}

void QZ2011GameContext::AttachPlayerCursor(BaseTeamMember* member, i32 number) {
    GameServices::Entities::Set* level = GetCurrentLevel();
    GameServices::Entities::ComponentLevel* cursors =
        level ? level->FindComponentLevel(GameShow::Menu::kCursorLevel) : nullptr;
    const bool numbered = number >= 0 && size_t(number) < std::size(GameShow::Menu::kCursorNames);
    const char* name = numbered ? GameShow::Menu::kCursorNames[number] : nullptr;
    auto* cursor = cursors && name ? dynamic_cast<GameServices::KorvoGame::CollisionCursor*>(cursors->FindProp(name))
                                   : nullptr;
    if (!cursor || !member) {
        if (name)
            AGReport("no player cursor %s in the level's %s", name, GameShow::Menu::kCursorLevel);
        else
            AGReport("no player cursor PlayerCursor%d in the level's %s", number, GameShow::Menu::kCursorLevel);
        return;
    }
    cursor->SetMember(member);
    member->m_Entity = cursor;
    cursor->Initialize();
    cursor->SetVisible(true);
    cursor->SetProjectionCamera(level->GetActiveCamera());
    cursor->Synchronize = false;
}

void QZ2011GameContext::AttachConnectedPlayerCursors() {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    GameServices::Entities::Team* team = registry && !registry->GetMembers().empty() ? registry->GetTeam() : nullptr;
    if (!team)
        return;
    for (size_t i = 0; i < team->m_Members.size(); ++i) {
        BaseTeamMember* member = team->m_Members[i];
        if (member && member->m_Active && !member->m_Computer)
            AttachPlayerCursor(member, i32(i));
    }
}

void QZ2011GameContext::SubscribeDeviceEvents() {
    UnsubscribeDeviceEvents();
    GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&m_DeviceConnected);
    GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&m_MemberDisconnected);
}

void QZ2011GameContext::UnsubscribeDeviceEvents() {
    GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&m_DeviceConnected);
    GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&m_MemberDisconnected);
}

void QZ2011GameContext::OnDeviceConnected(GameServices::Bridge::DeviceInfos& infos) {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    GameServices::Entities::Team* team = registry && !registry->GetMembers().empty() ? registry->GetTeam() : nullptr;
    if (!team || infos.m_DeviceId < 0 || size_t(infos.m_DeviceId) >= team->m_Members.size()) {
        AGReport("a connected device names no member of the team: %d", infos.m_DeviceId);
        return;
    }
    // The same numbering as at level start: member i has cursor i of the cursor table.
    AttachPlayerCursor(team->m_Members[size_t(infos.m_DeviceId)], infos.m_DeviceId);
}

void QZ2011GameContext::OnMemberDisconnected(BaseTeamMember* member) {
    GameServices::Entities::Set* level = GetCurrentLevel();
    GameServices::Entities::ComponentLevel* cursors =
        level ? level->FindComponentLevel(GameShow::Menu::kCursorLevel) : nullptr;
    if (!cursors || !member || !member->m_Entity)
        return;
    if (GameServices::Entities::Prop* cursor = cursors->FindProp(member->m_Entity->Name)) {
        cursor->Reset();
        cursor->SetVisible(false);
        cursor->Synchronize = false;
    }
}
