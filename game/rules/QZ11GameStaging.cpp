#include <string>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZBuzzLightProps.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/ShowSequences.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/TypeIds.h"

namespace QZ2011 {

using GameServices::Entities::Entity;
using GameServices::Entities::Prop;

namespace {

// Pose ids: the decade's base, plus the family's offset, plus the member's.
constexpr int kPoseBase[4] = {7000, 8000, 9000, 2000};
constexpr int kLeftFamilyPose = 30;
// Members 1..4 hold the poses 0, 2, 1, 3 of their family.
constexpr int kMemberPose[4] = {0, 2, 1, 3};

// Podium markers A..D.
enum Podium { PodA, PodB, PodC, PodD };

struct Placement {
    Podium podium;
    float turn;
};

// The left family by its alternate-order flag, members 1..4.
constexpr Placement kLeftAlternate[4] = {{PodA, -45.0f}, {PodC, -50.0f}, {PodB, -45.0f}, {PodD, -50.0f}};
constexpr Placement kLeftUsual[4] = {{PodB, -45.0f}, {PodD, -50.0f}, {PodA, -45.0f}, {PodC, -50.0f}};
// Player 2's family by its alternate-order flag.
constexpr Placement kRightAlternate[4] = {{PodA, 45.0f}, {PodC, 50.0f}, {PodB, 45.0f}, {PodD, 50.0f}};
constexpr Placement kRightUsual[4] = {{PodB, 45.0f}, {PodD, 50.0f}, {PodA, 45.0f}, {PodC, 50.0f}};

// The computer family's podiums by decade and difficulty, members 1..4.
const Podium* ComputerPodiums(u32 decade, u32 difficulty) {
    static constexpr Podium kCBAD[4] = {PodC, PodB, PodA, PodD};
    static constexpr Podium kDBCA[4] = {PodD, PodB, PodC, PodA};
    static constexpr Podium kCDAB[4] = {PodC, PodD, PodA, PodB};
    static constexpr Podium kABCD[4] = {PodA, PodB, PodC, PodD};
    if ((decade == 0 && difficulty == 0) || (decade == 2 && difficulty == 0))
        return kCBAD;
    if ((decade == 1 && difficulty == 1) || (decade == 3 && difficulty == 0))
        return kDBCA;
    if ((decade == 2 && difficulty == 2) || (decade == 3 && difficulty == 2))
        return kCDAB;
    return kABCD;
}

// Showing and hiding always let the presentation take the new state as is.
void Show(Entity* entity, bool visible) {
    if (!entity)
        return;
    entity->Synchronize = false;
    entity->SetVisible(visible);
}

void Turn(QZCharacter* character, float x, float y, float z) {
    if (!character)
        return;
    character->SetRotationX(x);
    character->SetRotationY(y);
    character->SetRotationZ(z);
}

// A missing marker leaves the character where it stands.
void PutAt(QZCharacter* character, Prop* marker) {
    if (!character || !marker)
        return;
    AGVec3 position;
    marker->GetPosition(position);
    character->SetPosition(position);
}

void StartSequence(QZ2011GameContext* context, const char* name) {
    if (GameShow::SequenceManager* sequences = context ? context->GetSequenceManager() : nullptr)
        sequences->PlaySequence(name);
}

void WriteScore(Prop* display, int value) {
    if (BehaviorScore* score = GetScoreBehavior(display)) {
        score->Value = value;
        score->UpdateRequest = 1;
        if (value > 999)
            AGReport("the number is too big");
    }
}

bool InDecade(QZ2011GameContext* context, u32 decade) { return context && context->m_Decade == decade; }

}  // namespace

void QZ11Game::HideAllContestants() {
    for (QZCharacter* contestant : m_Contestants)
        Show(contestant, false);
}

void QZ11Game::PlayLeftFamilyPose() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    ApplyInGameStageDressing();
    StartSequence(context, ShowSequenceStem(kSeqLeftPose));
    HideAllContestants();
    SetCrowdVisible(false);
    const u32 decade = context ? context->m_Decade : 4;
    for (int member = 0; member < 4; ++member) {
        QZCharacter* character = m_Contestants[member];
        if (!character)
            continue;
        Show(character, true);
        switch (member) {
        case 0:
            character->SetCharacterMale1();
            break;
        case 1:
            character->SetCharacterMale2();
            break;
        case 2:
            character->SetCharacterFemale1();
            break;
        default:
            character->SetCharacterFemale2();
            break;
        }
        if (decade < 4) {
            character->m_Behavior.PoseId = kPoseBase[decade] + kLeftFamilyPose + kMemberPose[member];
            character->m_Behavior.PoseRequest = 1;
        }
        PutAt(character, m_MarkerLeftPose);
        Turn(character, 0.0f, -60.0f, 0.0f);
    }
}

void QZ11Game::PlayRightFamilyPose() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    HideAllContestants();
    for (int member = 0; member < 4; ++member)
        if (QZCharacter* character = m_Contestants[4 + member]) {
            Show(character, true);
            if (member == 0)
                character->SetCharacterMale1();
            else if (member == 1)
                character->SetCharacterMale2();
            else if (member == 2)
                character->SetCharacterFemale1();
            else
                character->SetCharacterFemale2();
        }
    const u32 decade = context ? context->m_Decade : 4;
    const u32 difficulty = context ? context->m_Difficulty : 3;
    if (decade < 4 && difficulty < 3) {
        const std::string name = SequenceName(kSeqRightPose) + kPoseSequenceDecades[decade] +
                                 kPoseSequenceDifficulties[difficulty];
        StartSequence(context, name.c_str());
        for (int member = 0; member < 4; ++member)
            if (QZCharacter* character = m_Contestants[4 + member]) {
                character->m_Behavior.PoseId = kPoseBase[decade] + int(difficulty) * 10 + kMemberPose[member];
                character->m_Behavior.PoseRequest = 1;
            }
    }
    for (int member = 0; member < 4; ++member) {
        PutAt(m_Contestants[4 + member], m_MarkerRightPose);
        Turn(m_Contestants[4 + member], 0.0f, 60.0f, 0.0f);
    }
}

void QZ11Game::PlayLeftFamilyIntro() {
    StartSequence(QZ2011GameContext::Current(), ShowSequenceStem(kSeqLeftIntro));
    HideAllContestants();
    PlaceLeftFamily();
    for (int member = 0; member < 4; ++member)
        if (QZCharacter* character = m_Contestants[member])
            character->m_Behavior.IdleRequest = 1;
}

void QZ11Game::PlayRightFamilyIntro() {
    StartSequence(QZ2011GameContext::Current(), ShowSequenceStem(kSeqRightIntro));
    HideAllContestants();
    PlaceRightFamily();
    for (int member = 0; member < 4; ++member)
        if (QZCharacter* character = m_Contestants[4 + member])
            character->m_Behavior.IdleRequest = 1;
}

void QZ11Game::PlaceLeftFamily() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    const Placement* placements = context && context->m_LeftMemberOrder ? kLeftAlternate : kLeftUsual;
    for (int member = 0; member < 4; ++member) {
        QZCharacter* character = m_Contestants[member];
        Show(character, true);
        PutAt(character, m_LeftPodium[placements[member].podium]);
        if (character)
            character->SetRotationY(placements[member].turn);
    }
}

void QZ11Game::PlaceRightFamily() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    for (int member = 0; member < 4; ++member) {
        QZCharacter* character = m_Contestants[4 + member];
        Show(character, true);
        PutAt(character, m_RightPodium[member]);
        if (character)
            character->SetRotationY(50.0f);
    }
    if (!context)
        return;
    if (context->m_TwoPlayers != 0) {
        const Placement* placements = context->m_RightMemberOrder ? kRightAlternate : kRightUsual;
        for (int member = 0; member < 4; ++member)
            if (QZCharacter* character = m_Contestants[4 + member]) {
                PutAt(character, m_RightPodium[placements[member].podium]);
                character->SetRotationY(placements[member].turn);
            }
        return;
    }
    const Podium* podiums = ComputerPodiums(context->m_Decade, context->m_Difficulty);
    for (int member = 0; member < 4; ++member)
        if (QZCharacter* character = m_Contestants[4 + member]) {
            PutAt(character, m_RightPodium[podiums[member]]);
            character->SetRotationY(50.0f);
        }
}

void QZ11Game::StartRound() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    Show(m_BoardScreenLogo, false);
    FireScoreChanged();
    if (!context)
        return;
    switch (context->m_RoundCounter) {
    case 0:
    case 1:
        context->m_RoundCounter = 1;
        AGReport("--+++ START SINGLE ROUND 1 +++--");
        StartSequence(context, SequenceName(kSeqFaceOffRound, 1).c_str());
        break;
    case 2:
        AGReport("--+++ START SINGLE ROUND 2 +++--");
        StartSequence(context, SequenceName(kSeqFaceOffRound, 2).c_str());
        break;
    case 3:
        AGReport("--+++ START DOUBLE ROUND +++--");
        StartSequence(context, SequenceName(kSeqFaceOffRound, 3).c_str());
        break;
    case 4:
        AGReport("--+++ START TRIPLE ROUND +++--");
        StartSequence(context, SequenceName(kSeqFaceOffRound, 4).c_str());
        break;
    case 5:
        AGReport("--+++ START SUDDEN DEATH +++--");
        StartSequence(context, ShowSequenceStem(kSeqSuddenDeath));
        break;
    default:
        break;
    }
    context->m_StealStarted = 0;
    FireRoundStart();
    HideAllContestants();
    // The two buzzing members face each other across the host desk (a figure faces +z unturned);
    // an index outside 0..3 stages nobody.
    auto stage = [this](int index, bool left) {
        if (index < 0 || index > 3)
            return;
        QZCharacter* character = m_Contestants[(left ? 0 : 4) + index];
        if (!character)
            return;
        Show(character, true);
        Turn(character, 0.0f, left ? 180.0f : 0.0f, 0.0f);
        character->SetPosition(left ? AGVec3(-10.0f, 0.0f, 0.0f) : AGVec3(10.0f, 0.0f, -300.0f));
        character->m_Behavior.WalkRequest = 1;
    };
    stage(context->m_LeftMemberIndex, true);
    stage(context->m_RightMemberIndex, false);
    ResetBoardBlocks();
}

void QZ11Game::ReadLevelTuning() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    QZApplicationDataLevel* level = nullptr;
    if (m_Set) {
        auto it = m_Set->Attributes.m_Map.find(GameServices::Entities::TypeIds::ApplicationDataKey);
        if (it != m_Set->Attributes.m_Map.end())
            level = dynamic_cast<QZApplicationDataLevel*>(it->second);
    }
    if (!level) {
        AGReport("Missing applicationData  for the level !");
        return;
    }
    if (!context)
        return;
    context->m_NumberOfAnswers = level->numberOfAnswers;
    context->m_QuestionRoundTime = level->questionRoundTime;
    context->m_FastMoneyFirstTime = level->fastMoneyFirstTime;
    context->m_FastMoneySecondTime = level->fastMoneySecondTime;
}

void QZ11Game::RevealAnswerBlock(int index) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    if (Family* family = context->GetCurrentFamily()) {
        // The family on the left takes the "Family" variant of a gesture.
        if (family->m_Side == 0 && m_FaceLeft)
            m_FaceLeft->m_Behavior.WinSmallFamilyRequest = 1;
        else if (family->m_Side != 0 && m_FaceRight)
            m_FaceRight->m_Behavior.WinSmallRequest = 1;
    }
    // The last answer index is -1 after a wrong or struck-out answer; such an index, or one
    // beyond the layout in use, opens nothing.
    const bool sixAnswers = (context->m_Decade == 2 || context->m_Decade == 3) && context->m_RoundCounter >= 3 &&
                            context->m_RoundCounter <= 5;
    Board* block = nullptr;
    if (sixAnswers && index >= 0 && index < 6)
        block = m_BlocksDt[index];
    else if (!sixAnswers && index >= 0 && index < 8)
        block = m_Blocks[index];
    if (!block)
        return;
    block->m_Behavior.FlipRequest = 1;
    if (context->m_Decade == 3)
        block->m_Behavior.FlipToBack = 1;
}

void QZ11Game::LightBuzzer() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    const bool left = context && context->m_BuzzOwner == 0;
    if (Board* top = left ? m_BuzzerTopLeft : m_BuzzerTopRight)
        top->m_Behavior.BuzzRequest = 1;
    const char* name = kBuzzerLights[left ? 0 : 1];
    if (!m_Level) {
        AGReport("the m_pLevel must be initialize before!");
        return;
    }
    if (auto* light = m_Set ? dynamic_cast<QZBuzzLightProps*>(m_Set->FindProp(name)) : nullptr) {
        light->m_Behavior.ShowLastFrameRequest = 1;
        light->m_Behavior.ShowFirstFrameRequest = light->m_Behavior.PlayOnceRequest = 0;
    }
    else
        ReportMissing(name);
}

void QZ11Game::ResetBoardBlocks() {
    for (Board* block : m_Blocks)
        if (block)
            block->m_Behavior.ShowFrontRequest = 1;
    for (Board* block : m_BlocksDt)
        if (block)
            block->m_Behavior.ShowFrontRequest = 1;
}

void QZ11Game::SetupBoardBlocks(int answerCount) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    const i32 round = context->m_RoundCounter;
    const bool sixAnswers = (context->m_Decade == 2 || context->m_Decade == 3) && round != 1 && round != 2;
    if (!sixAnswers) {
        for (Board* block : m_BlocksDt)
            Show(block, false);
        Show(m_SignDouble, false);
        Show(m_SignTriple, false);
        for (int slot = 1; slot <= 8; ++slot) {
            const bool shown = slot <= answerCount;
            Show(m_Blocks[slot - 1], shown);
            if (slot >= 2)
                Show(m_Covers[slot - 2], !shown);
        }
    } else {
        // Covers 04 and 08 have no six-answer block above them; the others stand under
        // dt_02..dt_06.
        constexpr int kCoverUnderDt[6] = {0, 2, 3, 5, 6, 7};
        Show(m_Covers[4 - 2], false);
        Show(m_Covers[8 - 2], false);
        for (Board* block : m_Blocks)
            Show(block, false);
        for (int slot = 1; slot <= 6; ++slot) {
            const bool shown = slot <= answerCount;
            Show(m_BlocksDt[slot - 1], shown);
            if (kCoverUnderDt[slot - 1] != 0)
                Show(m_Covers[kCoverUnderDt[slot - 1] - 2], !shown);
        }
    }
    if (round == 3) {
        Show(m_SignDouble, true);
        Show(m_SignTriple, false);
    } else if (round == 4 || round == 5) {
        Show(m_SignDouble, false);
        Show(m_SignTriple, true);
    }
    if (context->m_Decade == 1 && round >= 3 && round <= 5) {
        Show(m_SideSingle[0], false);
        Show(m_SideSingle[1], false);
    }
}

void QZ11Game::SetStageScreens(bool fastMoney) {
    Show(m_BoardScreen10A, fastMoney);
    Show(m_BoardScreen10B, !fastMoney);
    for (Board* block : m_Blocks)
        Show(block, false);
    for (Board* block : m_BlocksDt)
        Show(block, false);
    Show(m_SignDouble, false);
    Show(m_SignTriple, false);
    for (Prop* cover : m_Covers)
        Show(cover, false);
    for (Prop* display : {m_ScreenDigitsLeft, m_ScreenDigitsRight, m_ScreenDigitCenter})
        if (BehaviorScore* score = GetScoreBehavior(display)) {
            score->Value = -1;
            score->UpdateRequest = 1;
        }
    HoldScreenLogos();
}

void QZ11Game::SetScoreDisplay(bool right, int value) {
    WriteScore(right ? m_ScreenDigitsRight : m_ScreenDigitsLeft, value);
    WriteScore(right ? m_DeskDigitRight : m_DeskDigitLeft, value);
}

void QZ11Game::SetBankDisplay(int value) { WriteScore(m_ScreenDigitCenter, value); }

void QZ11Game::SetCrowdVisible(bool visible) {
    for (Entity* member : m_Crowd)
        Show(member, visible);
}

void QZ11Game::ResetBoardScreens() {
    if (InDecade(QZ2011GameContext::Current(), 1)) {
        Show(m_SideSingle[0], true);
        Show(m_SideSingle[1], true);
    }
    Show(m_BoardScreenLogo, true);
    Show(m_BoardScreen10A, false);
    Show(m_BoardScreen10B, false);
}

}  // namespace QZ2011
