#include "game/presentation/AwardManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/XmlReader.h"
#include "game/rules/QZ11Game.h"
#include "tests/game/rules/MatchStage.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/ByteDamage.h"

using QZ2011::AwardManager;
using Steps = std::vector<std::string>;

namespace {

// Player 0 plays slot 0. The context records each unlock step in order ("new 70s Pro",
// "event").
class AwardRules : public profiletest::ProfileTest, public QZ2011::AwardContext {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        LoadWith("");
        game.AchievementUnlockedEvent.AddDelegate(&achievement);
    }
    void TearDown() override {
        game.AchievementUnlockedEvent.RemoveDelegate(&achievement);
        ProfileTest::TearDown();
    }
    // A used slot holding these integer and boolean attribute items.
    static std::string Slot(const std::string& ints, const std::string& bools) {
        std::string slot = profiletest::SlotText(true, "ANNA", "0", ints);
        return slot.replace(slot.find("<CustomAttributesBool/>"), 23, "<CustomAttributesBool>" + bools + "</CustomAttributesBool>");
    }
    static std::string Item(const std::string& name, const std::string& value) {
        return "<item><Name>" + name + "</Name><Value>" + value + "</Value></item>";
    }
    // A fresh load of a save whose slot 0 holds the attributes, and a fresh manager.
    void LoadWith(const std::string& ints, const std::string& bools = "") {
        std::string unused;
        for (const char* id : {"1", "2", "3"})
            unused += profiletest::SlotText(false, "", id);
        Store(profiletest::DocumentText(0, Slot(ints, bools) + unused));
        Load();
        awards = std::make_unique<AwardManager>(this, modes);
        steps.clear();
    }
    int Value(const char* key) { return match_stage::AchievementValue(key); }
    bool Flag(const char* key) {
        bool value = false;
        GameShow::GetAchievementFlag(0, key, value);
        return value;
    }
    i32 GetAwardDecade() const override { return decade; }
    i32 GetAwardDifficulty() const override { return difficulty; }
    void NotifyAwardUnlocked(const TString<char>& title, bool isNew) override {
        // A new notice follows its flag: on the profiles here, the last flag written.
        const auto& flags = manager->GetSlot(0)->BoolAttributes;
        const bool flagged = !flags.empty() && flags[flags.size() - 1].Value;
        steps.push_back(std::string(isNew ? (flagged ? "new " : "unflagged ") : "old ") + title.c_str());
    }
    struct Event : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        explicit Event(Steps& steps) : steps(steps) {}
        void Invoke(GameServices::Entities::BaseTeamMember*) override { steps.push_back("event"); }
        Steps& steps;
    };

    i32 decade = 0, difficulty = 0;
    Steps steps;
    Event achievement{steps};
    QZ2011::QZ11Game game;
    std::vector<GameServices::MiniGame::BaseMiniGame*> modes{&game};
    std::unique_ptr<AwardManager> awards;
};

// The trigger is a counting check, or a summing check given `amount` per call.
struct Row {
    const char *key, *flag, *title;
    i32 decade;
    int goal;
    void (AwardManager::*count)();
    void (AwardManager::*sum)(i32);
    int amount;
};

using A = AwardManager;
const Row kRows[] = {
    {"win25Matches70", "unlockWin25Matches70", "70s Pro", 0, 10, &A::CheckWin25Matches, nullptr, 1},
    {"win25Matches80", "unlockWin25Matches80", "80s Pro", 1, 10, &A::CheckWin25Matches, nullptr, 1},
    {"win25Matches90", "unlockWin25Matches90", "90s Pro", 2, 10, &A::CheckWin25Matches, nullptr, 1},
    {"win25Matches00", "unlockWin25Matches00", "00s Pro", 3, 10, &A::CheckWin25Matches, nullptr, 1},
    {"5Steal70", "unlock5Steal70", "The Thief", 0, 5, &A::CheckSteal, nullptr, 1},
    {"10CompleteBoard70", "unlock10CompleteBoard70", "Board Cleaner", 0, 10, &A::CheckCompleteBoard, nullptr, 1},
    {"10BeatDouble70", "unlock10BeatDouble70", "The Double", 0, 10, &A::CheckBeatDouble, nullptr, 1},
    {"20FaceoffTop70", "unlock20FaceoffTop70", "Survey Beast", 0, 20, &A::CheckFaceoffTop, nullptr, 1},
    {"100kEarnDollarsFM80", "unlock100kEarnDollarsFM80", "All About Money", 1, 100000, nullptr, &A::CheckEarnDollarsFM, 20000},
    {"10GiveGoodAnswerFaceOff80", "unlock10GiveGoodAnswerFaceOff80", "Faceoff Champ", 1, 10, &A::CheckGoodAnswerFaceOff, nullptr, 1},
    {"10Win20K80", "unlock10Win20K80", "Until The End", 1, 5, &A::CheckWin20K, nullptr, 1},
    {"5WinWithGoingToSuddenDeath80", "unlock5WinWithGoingToSuddenDeath80", "The Comeback", 1, 1, &A::CheckWinWithSuddenDeath, nullptr, 1},
    {"1WinAMatch90", "unlock1WinAMatch90", "The Beginner", 2, 1, &A::CheckWinAMatch, nullptr, 1},
    {"1GiveAllTopsFM90", "unlock1GiveAllTopsFM90", "Top Player", 2, 1, &A::CheckGiveAllTopsFM, nullptr, 1},
    {"10GiveCorrectAnswerInLast5Seconds90", "unlock10GiveCorrectAnswerInLast5Seconds90", "Time Is Nothing", 2, 10,
     &A::CheckCorrectAnswerInLast5Seconds, nullptr, 1},
    {"5Win1stRound00", "unlock5Win1stRound00", "Good Start", 3, 5, &A::CheckWin1stRound, nullptr, 1},
    {"5WinFaceOff00", "unlock5WinFaceOff00", "Faceoff Acolyte", 3, 5, &A::CheckWinFaceOff, nullptr, 1},
    {"10GiveTopAnswerIn5Sec00", "unlock10GiveTopAnswerIn5Sec00", "Time Is Money", 3, 10, &A::CheckTopAnswerIn5Sec, nullptr, 1},
    {"2500EarnPointsFM00", "unlock2500EarnPointsFM00", "Points Vessel", 3, 1000, nullptr, &A::CheckEarnPointsFM, 200},
};

void Check(AwardManager& awards, const Row& row) {
    if (row.count)
        (awards.*row.count)();
    else
        (awards.*row.sum)(row.amount);
}

}  // namespace

TEST_F(AwardRules, DamagedSavesDoNoHarm) {
    // Damaged attribute lists: every check and the re-grant pass run without a memory fault.
    std::string ints, bools;
    for (const Row& row : kRows) {
        ints += Item(row.key, std::to_string(row.goal - 1));
        bools += Item(row.flag, "false");
    }
    GameShow::PlayerProfile& damaged = *manager->GetSlot(0);
    std::mt19937 rng(3232);
    int unlocking = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string slot = Slot(ints, bools);
        DamageBytes(slot, rng, 1 + int(rng() % 4));
        damaged.Clear();
        GameServices::Utilities::XmlReader().ReadText(slot.c_str(), u32(slot.size()), "SavedGame", damaged);
        steps.clear();
        decade = round % 4;
        difficulty = round % 3;
        for (const Row& row : kRows)
            Check(*awards, row);
        awards->CheckWinEasyMedHardInARow();
        awards->CheckAllUnlocks();
        unlocking += !steps.empty();
        log.Clear();
    }
    // Most damaged saves still held counters one short of their goals.
    EXPECT_GT(unlocking, 2500);
}

TEST_F(AwardRules, EachAwardUnlocksAtItsGoal) {
    // Each award counts up to its goal and unlocks on the call that reaches it: flag, notice
    // with the new mark, event, in that order; later calls change nothing. A decade outside the
    // four counts no match won.
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.title);
        LoadWith("");
        decade = row.decade;
        const int calls = row.goal / row.amount;
        for (int call = 1; call < calls; ++call)
            Check(*awards, row);
        if (row.count == &A::CheckWin25Matches)
            for (i32 outside : {-1, 4}) {
                decade = outside;
                Check(*awards, row);
            }
        EXPECT_TRUE(steps.empty() && !Flag(row.flag) && Value(row.key) == row.goal - row.amount) << Value(row.key);
        decade = row.decade;
        Check(*awards, row);
        Check(*awards, row);
        EXPECT_EQ(steps, (Steps{std::string("new ") + row.title, "event"}));
        EXPECT_TRUE(Value(row.key) == row.goal && Flag(row.flag)) << Value(row.key);
        EXPECT_EQ(manager->GetSlot(0)->IntAttributes.size() + manager->GetSlot(0)->BoolAttributes.size(), 2u);
    }
}

TEST_F(AwardRules, SumsPassTheGoalLimitsStay) {
    // Sums may pass the goal; saved counters at the limits stay there.
    LoadWith(Item("2500EarnPointsFM00", "-2147483647") + Item("5Steal70", "2147483647"));
    for (int call = 1; call <= 11; ++call)
        awards->CheckEarnDollarsFM(9999);
    awards->CheckEarnPointsFM(-5);
    awards->CheckSteal();
    EXPECT_EQ(std::vector<int>({Value("100kEarnDollarsFM80"), Value("2500EarnPointsFM00"), Value("5Steal70")}),
              std::vector<int>({109989, INT32_MIN, INT32_MAX}));
    EXPECT_EQ(steps, (Steps{"new All About Money", "event", "new The Thief", "event"}));
}

TEST_F(AwardRules, WithoutAContextAwardsStillCount) {
    // Without a game context the awards still count and unlock; the missing notices are reported.
    AwardManager unbound;
    log.Clear();
    unbound.CheckWinFaceOff();
    for (int call = 0; call < 5; ++call)
        unbound.CheckWin1stRound();
    unbound.CheckAllUnlocks();
    EXPECT_TRUE(Value("5WinFaceOff00") == 1 && Flag("unlock5Win1stRound00"));
    EXPECT_EQ(log.Lines(), (Steps{"AwardManager : no game context for the notice of 'Good Start'",
                                  "AwardManager : no game context to grant the earned awards"}));
}

TEST_F(AwardRules, DifficultiesWonInARow) {
    // The difficulties won are kept as digits; the third distinct one unlocks. A stored value
    // outside 0 to 99 starts again, reported; a difficulty outside the three is not remembered.
    const struct { const char* stored; std::vector<i32> wins; std::vector<int> values; } wins[] = {
        {"0", {0, 0, 2, 2, 1, 0}, {1, 1, 31, 31, 123, 123}}, {"0", {1, 2}, {2, 32}}, {"0", {2, 1, 1, 2}, {3, 23, 23, 23}},
        {"7", {1}, {27}}, {"10", {0}, {10}}, {"-4", {2}, {3}}, {"500", {0}, {1}}, {"0", {3}, {0}}};
    for (const auto& c : wins) {
        LoadWith(Item("1WinEasyMedHardInARow90", c.stored));
        std::vector<int> values;
        for (i32 won : c.wins) {
            difficulty = won;
            awards->CheckWinEasyMedHardInARow();
            values.push_back(Value("1WinEasyMedHardInARow90"));
        }
        const bool unlocked = c.values.back() == 123;
        EXPECT_EQ(std::tuple(values, Flag("unlock1WinEasyMedHardInARow90"), steps),
                  std::tuple(c.values, unlocked, unlocked ? Steps{"new Beat Them All", "event"} : Steps())) << c.stored;
    }
    EXPECT_TRUE(log.Contains("history -4 ") && log.Contains("history 500 ") && !log.Contains("history 0 "));
}

TEST_F(AwardRules, RegrantAndSavedProgress) {
    // The re-grant pass repeats the earned awards' notices in table order, as seen before; no
    // event, no change to the profile. Progress is saved with the profile; read lists give a
    // missing value 0 or false and use the first of two equal names.
    LoadWith(Item("5Win1stRound00", "5") + Item("10BeatDouble70", "1") + Item("10BeatDouble70", "2"),
             Item("unlock5Win1stRound00", "true") + Item("unlockWin25Matches80", "true") + "<item><Name>unlock5Steal70</Name></item>");
    const std::string before = profiletest::TextOf(*manager->GetSlot(0));
    awards->CheckAllUnlocks();
    EXPECT_EQ(steps, (Steps{"old 80s Pro", "old Good Start"}));
    EXPECT_EQ(profiletest::TextOf(*manager->GetSlot(0)), before);

    for (int call = 0; call < 5; ++call)
        awards->CheckSteal();
    awards->CheckBeatDouble();
    manager->WriteSavedGame();
    Load();
    const GameShow::PlayerProfile& profile = *manager->GetSlot(0);
    EXPECT_TRUE(Value("5Steal70") == 5 && Flag("unlock5Steal70") && profile.BoolAttributes.size() == 3);
    ASSERT_EQ(profile.IntAttributes.size(), 4u);
    EXPECT_EQ(std::vector<int>({profile.IntAttributes[1].Value, profile.IntAttributes[2].Value}), std::vector<int>({2, 2}));
}

TEST_F(AwardRules, WithoutAProfileACheckOnlyReports) {
    // Without a profile for player 0 a check only reports.
    manager->ClearPlayers();
    log.Clear();
    awards->CheckSteal();
    EXPECT_EQ(log.Lines(), Steps{"No profile was found assigned to player id = 0"});
}
