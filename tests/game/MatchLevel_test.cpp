// The sample 70s match level entered through the game flow on the match harness: what the
// level start finds, binds and dresses, and what leaving it takes away again.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/AGMemory.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/Family.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/Appearance.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/ContainerFactory.h"
#include "gameservices/game/ApplicationData.h"
#include "gameservices/game/PartPools.h"
#include "gameservices/game/SavedGameManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameshow/GameShowCamera.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/game/rules/MatchStage.h"
#include "tests/support/MatchHarness.h"

using namespace match;
using GameServices::KorvoGame::ApplicationData;

namespace {

constexpr const char* kMatchKinds[] = {"QZCharacter", "Board",      "ScoreBoard",     "ScoreDesk",
                                       "BuzzerLight", "StageProps", "GameShowCameras"};

// The used counts of the five pools of looks and parts.
std::vector<u32> PoolCounts() {
    using namespace GameServices::KorvoGame;
    return {PartPool<Appearance>().GetUsedCount(), PartPool<AppearanceId>().GetUsedCount(),
            PartPool<OutfitPart>().GetUsedCount(), PartPool<AnatomyPart>().GetUsedCount(),
            PartPool<CharacterAssembly>().GetUsedCount()};
}

struct Stray : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
    void Invoke(GameServices::Entities::BaseTeamMember*) override {}
};

void Buzz(MatchHarness& harness) {
    harness.Context().m_GamePhase = QZ2011::PhaseFaceOffBuzz;
    match_stage::SendAction(harness.Context(), "BuzzSinglePlayer", harness.PlayerOne());
}

// Player one is a woman of look 1 (at the second entry a man of look 3): her avatar and member
// 4 wear her look file, members 1 and 2 her partner's (his avatar and member 2 his own, members 3
// and 4 his partner's); member 2 is dressed after member 1 in other clothes.
void ExpectTheLeftFamilysLooks(QZ2011::QZ11Game& match, bool secondEntry) {
    std::vector<const GameServices::KorvoGame::Appearance*> left;
    std::vector<std::string> looks;
    for (int i = 0; i < 4; ++i) {
        left.push_back(match.GetContestant(i)->VolatileDatas.GetAppearance());
        looks.push_back(left.back() ? left.back()->Name.c_str() : "");
    }
    const std::string man = secondEntry ? "AppearanceMale03.xml" : "AppearanceMale02.xml";
    const std::string woman = secondEntry ? "AppearanceFemale04.xml" : "AppearanceFemale01.xml";
    ASSERT_EQ(looks, std::vector<std::string>({man, man, woman, woman}));
    for (int type = 0; type < 3; ++type)
        EXPECT_NE(left[0]->OutfitParts[type].Name, left[1]->OutfitParts[type].Name) << type;
}

}  // namespace

// Entered, left and entered again ten times with a profile selected: the level start finds
// and names the whole stage each time, and nothing of an earlier entry is left behind
// (listeners, sequences, factories, pools, the families' looks and parts).
TEST(MatchLevel, EntersAndLeavesTheSample70sLevelTenTimes) {
    MatchHarness harness;
    harness.UseProfiles({{"ANNA", "AppearanceMale03.xml", {}}, {"BOB", "AppearanceFemale01.xml", {}}}, 1);
    ASSERT_TRUE(harness.Start(7)) << harness.Failure();
    QZ2011GameContext& context = harness.Context();
    auto& connected = GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent();
    auto& lost = GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent();
    const size_t connectedBefore = connected.Count(), lostBefore = lost.Count();
    auto* factories = GameServices::Entities::GameEntityFactory::Instance();
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    const std::vector<u32> pools = PoolCounts();
    u64 heapSettled = 0;
    // A listener that never withdraws: leaving the level clears the match events all the same.
    Stray stray;
    for (int cycle = 0; cycle < 10; ++cycle) {
        SCOPED_TRACE(cycle);
        const size_t recordBefore = harness.Record().size();
        // Loaded but not started: a buzz in the buzzer phase is not taken.
        int loadingBuzzes = 0;
        auto buzzWhileLoading = [&]() {
            // The file was read with the stage's kinds and the mode's records in place.
            for (const char* kind : kMatchKinds)
                EXPECT_NE(factories->GetFactory(kind), nullptr) << kind;
            EXPECT_NE(dynamic_cast<QZ2011::Board*>(harness.Match().GetSet()->FindProp("buzzer_top_left")), nullptr);
            EXPECT_EQ(GameShow::GameShowCameraManager::Instance()->GetSet(), harness.Match().GetSet());
            context.m_BuzzOwner = -1;
            Buzz(harness);
            EXPECT_EQ(context.m_BuzzOwner, -1);
            ++loadingBuzzes;
        };
        GameShow::PlayerProfileManager::Instance()->AssignPlayer(0, cycle == 1 ? 0 : 1);
        ASSERT_TRUE(harness.EnterLevel(MatchHarness::kMatchLevel70, buzzWhileLoading)) << harness.Failure();
        EXPECT_TRUE(loadingBuzzes > 0 && PoolCounts() != pools);
        // Started: the same buzz is taken, once however often the mode entered.
        Buzz(harness);
        int buzzEvents = 0;
        for (size_t i = recordBefore; i < harness.Record().size(); ++i) {
            buzzEvents += harness.Record()[i].ToString() == "event 0" ? 1 : 0;
            EXPECT_EQ(harness.Record()[i].text.find("can't find"), std::string::npos) << harness.Record()[i].text;
        }
        EXPECT_EQ(std::make_pair(context.m_BuzzOwner, buzzEvents), std::make_pair(0, 1));
        context.m_GamePhase = QZ2011::PhaseNone;
        QZ2011::QZ11Game& match = harness.Match();
        GameServices::Entities::Set* set = match.GetSet();
        // The show clock runs, its sequencers are bound to the stage; one subscription each: the
        // phase step and the harness on the ended event, the harness on each match event, one
        // device listener each.
        EXPECT_TRUE(sequences->IsEnabled() && context.GetCameraSequencer()->GetSet() == set);
        EXPECT_EQ(sequences->GetSequenceEndedEvent().Count(), 2u);
        for (int i = 0; i < 23; ++i) {
            EXPECT_EQ(match.Event(i).Count(), 1u) << i;
            match.Event(i).AddDelegate(&stray);
        }
        EXPECT_EQ(std::vector<size_t>({connected.Count(), lost.Count(), sequences->GetSequenceCount()}),
                  std::vector<size_t>({connectedBefore + 1, lostBefore + 1, 85}));
        // Leaving stops player one's second member playing.
        GameServices::Entities::BaseTeamMember* second = context.m_PlayerOneFamily->m_Members[1];
        second->m_Playing = 1;
        ASSERT_NO_FATAL_FAILURE(ExpectTheLeftFamilysLooks(match, cycle == 1));

        ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
        EXPECT_EQ(std::vector<size_t>({sequences->GetSequenceCount(), second->m_Playing,
                                       sequences->GetSequenceEndedEvent().Count(), connected.Count(), lost.Count()}),
                  std::vector<size_t>({0, 0, 0, connectedBefore, lostBefore}));
        // The sequencers and the game audio let go of the stage.
        EXPECT_TRUE(!context.GetCameraSequencer()->GetSet() && !context.GetAudioManager()->GetSequenceManager());
        for (int i = 0; i < 24; ++i)
            EXPECT_EQ(match.Event(i).Count(), 0u) << i;
        EXPECT_EQ(PoolCounts(), pools);
        // Only the stage-prop pool outlives the level, until the next match replaces it.
        for (const char* kind : kMatchKinds)
            EXPECT_EQ(factories->GetFactory(kind) != nullptr, std::string(kind) == "StageProps") << kind;
        // No pool of an earlier entry stays allocated. The heap may still take a new chunk for
        // a size class now and then; a pool kept at each entry would add at least its own
        // entities' bytes every cycle, seven pools between the third cycle and the last.
        const u64 heap = GetHeapCounters().current;
        heapSettled = cycle == 2 ? heap : heapSettled;
        EXPECT_TRUE(cycle < 9 || heap < heapSettled + 4 * 30 * sizeof(QZ2011::QZStageProps)) << heap - heapSettled;
    }
}

// A two-player match keeps the profiles' names in its save. Member 1's shoes, with player two's
// avatar in the first pair and the left family in all four:
// the pick starts at the stored index when it lies in the list, else at a new draw (never on the
// last two), which is stored; the left family passes over player two's pair in a two-player match
// only, the right family over the left family's, and with every pair taken nothing is picked. A
// member outside 1..3 stores its draw under no family-look name. The match mode goes with its
// context: the records it published as prototypes go with it, none is left for a later level to copy.
TEST(MatchLevel, FamiliesClothesNamesAndPrototypes) {
    namespace KG = GameServices::KorvoGame;
    const ApplicationData::Kind kinds[] = {ApplicationData::kLevel, ApplicationData::kCharacter,
                                           ApplicationData::kCamera, ApplicationData::kProp};
    auto owned = std::make_unique<MatchHarness>();
    MatchHarness& harness = *owned;
    harness.UseProfiles({{"ANNA", "AppearanceFemale01.xml", {}}, {"BOB", "AppearanceMale02.xml", {}}}, 0);
    ASSERT_TRUE(harness.Start(5)) << harness.Failure();
    harness.Context().m_TwoPlayers = 1;
    GameShow::PlayerProfileManager::Instance()->AssignPlayer(1, 1);
    ASSERT_TRUE(harness.EnterLevel()) << harness.Failure();
    // "PLAYER 1" and "PLAYER 2" are only shown: the save the level start wrote keeps the names.
    GameShow::PlayerProfileManager::Document saved;
    KG::SavedGameManager().LoadSavedGame(&saved, u32(GameShow::PlayerProfileManager::GetProfileCount()));
    EXPECT_EQ(std::string(saved.GetSavedGame(0)->SavedGameName.c_str()) + saved.GetSavedGame(1)->SavedGameName.c_str(),
              "ANNABOB");
    QZ2011::QZ11Game& match = harness.Match();
    QZ2011::QZCharacter* target = match.GetContestant(1);
    ASSERT_TRUE(target && match.GetPlayerTwoAvatar());
    KG::ContainerFactory<KG::OutfitPart> shoes;
    KG::CharacterAssemblyManager::Instance()->GetOutfitParts(*target, KG::OUTFIT_FOOTWEAR, shoes);
    ASSERT_EQ(shoes.size(), 4u);
    KG::CharacterManager::Instance()->SetOutfitPart(*shoes[0], *match.GetPlayerTwoAvatar(), KG::OUTFIT_FOOTWEAR);
    for (int i = 0; i < 4; ++i)
        KG::CharacterManager::Instance()->SetOutfitPart(*shoes[i], *match.GetContestant(i), KG::OUTFIT_FOOTWEAR);
    EXPECT_FALSE(match.GetContestant(3)->Synchronize);  // drawn again in its new pair
    GameShow::SetAchievementValue(0, "FamilyHairRandNum1", 99);
    // offset: the pair picked, counted on from the start (-1 none, -2 not looked at); kept: the
    // start stored after the pick, -1 a new draw.
    struct Case { bool left; u32 two; i32 member; int stored, offset, kept; };
    const Case cases[] = {
        {true, 0, 1, 0, 0, 0},
        {true, 0, 1, 3, 0, 3},
        {true, 1, 1, 0, 1, 0},
        {true, 0, 1, 4, 0, -1},
        {true, 0, 1, -1, 0, -1},
        {false, 1, 1, 2, -1, 2},
        {false, 0, 1, 2, -1, 2},
        {true, 0, 4, 2, -2, 2},
    };
    KG::OutfitPart chosen;
    EXPECT_FALSE(match.PickFamilyOutfitPart(KG::OUTFIT_FOOTWEAR, nullptr, nullptr, 1, chosen));  // nobody to dress
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases));
        match.SetDressingLeftFamily(c.left);
        harness.Context().m_TwoPlayers = c.two;
        GameShow::SetAchievementValue(0, "FamilyShoesRandNum1", c.stored);
        const bool picked = match.PickFamilyOutfitPart(KG::OUTFIT_FOOTWEAR, nullptr, target, c.member, chosen);
        const int kept = match_stage::AchievementValue("FamilyShoesRandNum1");
        EXPECT_TRUE(c.kept < 0 ? kept >= 0 && kept < 2 : kept == c.kept) << kept;
        const u32 start = u32(c.kept < 0 ? kept : c.stored);
        if (c.offset != -2) {
            EXPECT_EQ(picked ? chosen.Name.c_str() : "none",
                      std::string(c.offset < 0 ? "none" : shoes[(start + u32(c.offset)) % 4]->Name.c_str()));
        }
    }
    // The glasses, three pairs, start at the first by a draw all the same, as four pairs of shoes
    // do: the draws after either pick follow alike.
    std::vector<u32> after;
    for (u32 type : {KG::OUTFIT_EYEWEAR, KG::OUTFIT_FOOTWEAR}) {
        GameServices::Bridge::SeedRandom(1, 2, 3, 4);
        match.PickFamilyOutfitPart(type, nullptr, target, 4, chosen);
        after.push_back(GameServices::Bridge::RandomRange(0, 1u << 30));
    }
    EXPECT_EQ(after[0], after[1]);
    EXPECT_EQ(match_stage::AchievementValue("FamilyHairRandNum1"), 99);
    // A mother's family dresses its first member as relative 1, whose draw is stored.
    harness.Context().m_TwoPlayers = 0;
    GameShow::SetAchievementValue(0, "FamilyTopRandNum1", -1);
    match.SetUpFamilies();
    EXPECT_GE(match_stage::AchievementValue("FamilyTopRandNum1"), 0);
    shoes.Clear();
    ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
    for (ApplicationData::Kind kind : kinds)
        EXPECT_NE(ApplicationData::GetPrototype(kind), nullptr) << kind;
    owned.reset();
    for (ApplicationData::Kind kind : kinds)
        EXPECT_EQ(ApplicationData::GetPrototype(kind), nullptr) << kind;
}
