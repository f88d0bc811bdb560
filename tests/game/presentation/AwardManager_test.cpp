#include "game/presentation/AwardManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "game/rules/QZ11Game.h"
#include "engine/core/XmlReader.h"
#include "gameshow/AwardsComposition.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/ByteDamage.h"

using QZ2011::AwardManager;
using profiletest::DocumentText;
using profiletest::SlotText;

namespace {

const TString<char> kFlag = "unlock5Steal70";

// Player 0 plays slot 0; the context records each unlock step in order, with the award's flag
// as the notice saw it, and hands the grant to an awards page when one is set.
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
    // A fresh load of a save whose slot 0 holds these attributes; the awards declared anew.
    void LoadWith(const std::string& ints, const std::string& bools = "") {
        Store(DocumentText(0, Slot(ints, bools) + SlotText(false, "", "1") + SlotText(false, "", "2") + SlotText(false, "", "3")));
        Load();
        awards = std::make_unique<AwardManager>(this, modes);
        steps.clear();
    }
    // A used slot with these integer and boolean attribute items.
    static std::string Slot(const std::string& ints, const std::string& bools) {
        std::string slot = SlotText(true, "ANNA", "0", ints);
        slot.replace(slot.find("<CustomAttributesBool/>"), 23, "<CustomAttributesBool>" + bools + "</CustomAttributesBool>");
        return slot;
    }
    int Value(const char* key) {
        int value = 0;
        GameShow::GetAchievementValue(0, key, value);
        return value;
    }
    bool Flag(const char* key) {
        bool value = false;
        GameShow::GetAchievementFlag(0, key, value);
        return value;
    }

    i32 GetAwardDecade() const override { return decade; }
    i32 GetAwardDifficulty() const override { return difficulty; }
    void NotifyAwardUnlocked(const TString<char>& title, bool isNew) override {
        steps.push_back(std::string(isNew ? "new " : "old ") + title.c_str());
        if (page)
            page->UnlockAward(title, isNew);
    }
    struct Event : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        explicit Event(std::vector<std::string>& steps) : steps(steps) {}
        void Invoke(GameServices::Entities::BaseTeamMember*) override { steps.push_back("event"); }
        std::vector<std::string>& steps;
    };

    i32 decade = 0;
    i32 difficulty = 0;
    std::vector<std::string> steps;
    Event achievement{steps};
    QZ2011::QZ11Game game;
    std::vector<GameServices::MiniGame::BaseMiniGame*> modes{&game};
    std::unique_ptr<AwardManager> awards;
    GameShow::AwardsComposition* page = nullptr;
};

struct Row {
    const char* key;
    const char* flag;
    const char* title;
    i32 decade;
    // Calls to reach the goal, and the counter then.
    int calls;
    int goal;
    std::function<void(AwardManager&)> check;
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"win25Matches70", "unlockWin25Matches70", "70s Pro", 0, 10, 10, &AwardManager::CheckWin25Matches},
        {"win25Matches80", "unlockWin25Matches80", "80s Pro", 1, 10, 10, &AwardManager::CheckWin25Matches},
        {"win25Matches90", "unlockWin25Matches90", "90s Pro", 2, 10, 10, &AwardManager::CheckWin25Matches},
        {"win25Matches00", "unlockWin25Matches00", "00s Pro", 3, 10, 10, &AwardManager::CheckWin25Matches},
        {"5Steal70", "unlock5Steal70", "The Thief", 0, 5, 5, &AwardManager::CheckSteal},
        {"10CompleteBoard70", "unlock10CompleteBoard70", "Board Cleaner", 0, 10, 10, &AwardManager::CheckCompleteBoard},
        {"10BeatDouble70", "unlock10BeatDouble70", "The Double", 0, 10, 10, &AwardManager::CheckBeatDouble},
        {"20FaceoffTop70", "unlock20FaceoffTop70", "Survey Beast", 0, 20, 20, &AwardManager::CheckFaceoffTop},
        {"100kEarnDollarsFM80", "unlock100kEarnDollarsFM80", "All About Money", 1, 5, 100000,
         [](AwardManager& a) { a.CheckEarnDollarsFM(20000); }},
        {"10GiveGoodAnswerFaceOff80", "unlock10GiveGoodAnswerFaceOff80", "Faceoff Champ", 1, 10, 10,
         &AwardManager::CheckGoodAnswerFaceOff},
        {"10Win20K80", "unlock10Win20K80", "Until The End", 1, 5, 5, &AwardManager::CheckWin20K},
        {"5WinWithGoingToSuddenDeath80", "unlock5WinWithGoingToSuddenDeath80", "The Comeback", 1, 1, 1,
         &AwardManager::CheckWinWithSuddenDeath},
        {"1WinAMatch90", "unlock1WinAMatch90", "The Beginner", 2, 1, 1, &AwardManager::CheckWinAMatch},
        {"1GiveAllTopsFM90", "unlock1GiveAllTopsFM90", "Top Player", 2, 1, 1, &AwardManager::CheckGiveAllTopsFM},
        {"1WinEasyMedHardInARow90", "unlock1WinEasyMedHardInARow90", "Beat Them All", 2, 0, 0, nullptr},
        {"10GiveCorrectAnswerInLast5Seconds90", "unlock10GiveCorrectAnswerInLast5Seconds90", "Time Is Nothing", 2, 10,
         10, &AwardManager::CheckCorrectAnswerInLast5Seconds},
        {"5Win1stRound00", "unlock5Win1stRound00", "Good Start", 3, 5, 5, &AwardManager::CheckWin1stRound},
        {"5WinFaceOff00", "unlock5WinFaceOff00", "Faceoff Acolyte", 3, 5, 5, &AwardManager::CheckWinFaceOff},
        {"10GiveTopAnswerIn5Sec00", "unlock10GiveTopAnswerIn5Sec00", "Time Is Money", 3, 10, 10,
         &AwardManager::CheckTopAnswerIn5Sec},
        {"2500EarnPointsFM00", "unlock2500EarnPointsFM00", "Points Vessel", 3, 5, 1000,
         [](AwardManager& a) { a.CheckEarnPointsFM(200); }},
    };
    return rows;
}

}  // namespace

// Each award counts up to its goal and unlocks on the call that reaches it: the flag is set
// before the notice, the event follows the notice, and later calls change nothing. The keys
// are declared, so nothing is reported.
TEST_F(AwardRules, EachAwardUnlocksExactlyAtItsGoal) {
    for (const Row& row : Rows()) {
        if (!row.check)
            continue;
        SCOPED_TRACE(row.title);
        LoadWith("");
        decade = row.decade;
        for (int call = 1; call < row.calls; ++call)
            row.check(*awards);
        EXPECT_TRUE(steps.empty());
        EXPECT_FALSE(Flag(row.flag));
        EXPECT_EQ(Value(row.key), row.goal / row.calls * (row.calls - 1));
        row.check(*awards);
        EXPECT_EQ(steps, (std::vector<std::string>{std::string("new ") + row.title, "event"}));
        EXPECT_TRUE(Flag(row.flag));
        EXPECT_EQ(Value(row.key), row.goal);
        row.check(*awards);
        EXPECT_EQ(steps.size(), 2u);
        EXPECT_EQ(Value(row.key), row.goal);
        // Only this award moved.
        EXPECT_EQ(manager->GetSlot(0)->IntAttributes.size(), 1u);
        EXPECT_EQ(manager->GetSlot(0)->BoolAttributes.size(), 1u);
        EXPECT_FALSE(log.Contains("doesn't exist"));
    }
}

TEST_F(AwardRules, SumsUnlockOnceTheyPassTheGoal) {
    for (int call = 1; call <= 10; ++call)
        awards->CheckEarnDollarsFM(9999);
    EXPECT_EQ(Value("100kEarnDollarsFM80"), 99990);
    EXPECT_TRUE(steps.empty());
    awards->CheckEarnDollarsFM(9999);
    EXPECT_EQ(Value("100kEarnDollarsFM80"), 109989);
    EXPECT_EQ(steps, (std::vector<std::string>{"new All About Money", "event"}));
    // A saved sum at the limit stays there.
    LoadWith("<item><Name>2500EarnPointsFM00</Name><Value>-2147483647</Value></item>");
    awards->CheckEarnPointsFM(-5);
    EXPECT_EQ(Value("2500EarnPointsFM00"), INT32_MIN);
    EXPECT_TRUE(steps.empty());
}

// The difficulties won are kept as digits; the third distinct one unlocks.
TEST_F(AwardRules, TheThirdDistinctDifficultyWonUnlocks) {
    struct Case {
        const char* stored;
        std::vector<i32> wins;
        std::vector<int> values;
    } cases[] = {{"", {0, 0, 2, 2, 1, 0}, {1, 1, 31, 31, 123, 123}},
                 {"", {1, 2}, {2, 32}},
                 {"", {2, 1, 1, 2}, {3, 23, 23, 23}},
                 {"7", {1}, {27}},
                 {"-4", {2}, {3}},
                 {"500", {0}, {1}}};
    for (const Case& c : cases) {
        LoadWith(c.stored[0] ? std::string("<item><Name>1WinEasyMedHardInARow90</Name><Value>") + c.stored +
                                   "</Value></item>"
                             : "");
        std::vector<int> values;
        for (i32 won : c.wins) {
            difficulty = won;
            awards->CheckWinEasyMedHardInARow();
            values.push_back(Value("1WinEasyMedHardInARow90"));
        }
        EXPECT_EQ(values, c.values) << c.stored;
        const bool unlocked = c.values.back() == 123;
        EXPECT_EQ(Flag("unlock1WinEasyMedHardInARow90"), unlocked);
        const std::vector<std::string> expected = {"new Beat Them All", "event"};
        EXPECT_EQ(steps, unlocked ? expected : std::vector<std::string>());
    }
    // A difficulty outside the three is reported and remembers nothing.
    LoadWith("");
    difficulty = 3;
    log.Clear();
    awards->CheckWinEasyMedHardInARow();
    EXPECT_EQ(manager->GetSlot(0)->IntAttributes.size(), 0u);
    EXPECT_TRUE(log.Contains("difficulty 3"));
}

TEST_F(AwardRules, DecadesOutsideTheFourCountNothing) {
    for (i32 outside : {-1, 4}) {
        decade = outside;
        awards->CheckWin25Matches();
    }
    EXPECT_TRUE(manager->GetSlot(0)->IntAttributes.empty());
}

// The re-grant pass sends the earned awards again in table order, as seen before; no event,
// no change to the profile.
TEST_F(AwardRules, EarnedAwardsAreGrantedAgainInTableOrder) {
    LoadWith("<item><Name>5Win1stRound00</Name><Value>5</Value></item>",
             "<item><Name>unlock5Win1stRound00</Name><Value>true</Value></item>"
             "<item><Name>unlockWin25Matches80</Name><Value>true</Value></item>"
             "<item><Name>unlock5Steal70</Name><Value>false</Value></item>");
    const std::string before = profiletest::TextOf(*manager->GetSlot(0));
    awards->CheckAllUnlocks();
    EXPECT_EQ(steps, (std::vector<std::string>{"old 80s Pro", "old Good Start"}));
    EXPECT_EQ(profiletest::TextOf(*manager->GetSlot(0)), before);
}

// Counters and flags are written to the save and read back; the attribute lists follow their
// own rules when read: a missing value is 0 or false, a missing name empty, and the first of
// two equal names is the one used.
TEST_F(AwardRules, ProgressSurvivesASaveAndReload) {
    for (int call = 0; call < 5; ++call)
        awards->CheckSteal();
    awards->CheckCompleteBoard();
    manager->WriteSavedGame();
    Load();
    EXPECT_EQ(Value("5Steal70"), 5);
    EXPECT_TRUE(Flag("unlock5Steal70"));
    EXPECT_EQ(Value("10CompleteBoard70"), 1);

    LoadWith("<item><Name>5Steal70</Name></item><item><Value>4</Value></item>"
             "<item><Name>10BeatDouble70</Name><Value>1</Value></item><item><Name>10BeatDouble70</Name><Value>2</Value></item>",
             "<item><Name>unlock5Steal70</Name></item>");
    const GameShow::PlayerProfile& profile = *manager->GetSlot(0);
    ASSERT_EQ(profile.IntAttributes.size(), 4u);
    EXPECT_EQ(profile.IntAttributes[0].Value, 0);
    EXPECT_TRUE(profile.IntAttributes[1].Name.IsEmpty());
    EXPECT_FALSE(Flag("unlock5Steal70"));
    awards->CheckBeatDouble();
    EXPECT_EQ(profile.IntAttributes[2].Value, 2);
    EXPECT_EQ(profile.IntAttributes[3].Value, 2);
    // Setting a flag twice keeps one entry.
    GameShow::SetAchievementFlag(0, kFlag);
    GameShow::SetAchievementFlag(0, kFlag);
    EXPECT_EQ(profile.BoolAttributes.size(), 1u);
    EXPECT_TRUE(profile.BoolAttributes[0].Value);
}

// Without a profile for player 0 every check and accessor does nothing but report once.
TEST_F(AwardRules, WithoutAProfileNothingIsCountedAndEachCallReportsOnce) {
    manager->ClearPlayers();
    std::vector<std::function<void()>> calls;
    for (const Row& row : Rows())
        if (row.check)
            calls.push_back([&] { row.check(*awards); });
    calls.push_back([&] { awards->CheckWinEasyMedHardInARow(); });
    calls.push_back([&] { awards->CheckAllUnlocks(); });
    calls.push_back([&] { GameShow::SetAchievementValue(0, "5Steal70", 1); });
    calls.push_back([&] { GameShow::SetAchievementFlag(0, kFlag); });
    calls.push_back([&] { int v = 7; EXPECT_FALSE(GameShow::GetAchievementValue(0, "5Steal70", v)); });
    calls.push_back([&] { bool b = true; EXPECT_FALSE(GameShow::GetAchievementFlag(0, kFlag, b)); });
    for (size_t i = 0; i < calls.size(); ++i) {
        log.Clear();
        calls[i]();
        EXPECT_EQ(log.Lines().size(), 1u) << i;
        EXPECT_TRUE(log.Contains("No profile was found assigned to player id = 0")) << i;
    }
    EXPECT_TRUE(steps.empty());
    EXPECT_TRUE(manager->GetSlot(0)->IntAttributes.empty() && manager->GetSlot(0)->BoolAttributes.empty());
}

// Damaged attribute lists and damaged award files: every check and the re-grant pass run
// without a memory fault, and every title the damaged file still holds is granted.
TEST_F(AwardRules, DamagedSavesAndAwardFilesAreSafe) {
    std::string ints, bools;
    for (const Row& row : Rows()) {
        ints += std::string("<item><Name>") + row.key + "</Name><Value>" + std::to_string(row.goal - 1) + "</Value></item>";
        bools += std::string("<item><Name>") + row.flag + "</Name><Value>false</Value></item>";
    }
    std::string awardsText = "<root><MetaAwards><MetaAward><Title>g</Title><Awards>";
    for (const Row& row : Rows())
        awardsText += std::string("<Award><Title>") + row.title + "</Title><Unlockables/></Award>";
    awardsText += "</Awards></MetaAward></MetaAwards></root>";
    GameShow::AwardsComposition awardsPage;
    page = &awardsPage;
    std::mt19937 rng(3232);
    int unlocking = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string damagedAwards = awardsText;
        std::string slot = Slot(ints, bools);
        DamageBytes(slot, rng, 1 + int(rng() % 4));
        DamageBytes(damagedAwards, rng, 1 + int(rng() % 3));
        // The page's list read as its loader reads the file (a failed read leaves none).
        GameShow::sAwardList list;
        if (GameServices::Utilities::XmlReader().ReadText(damagedAwards.c_str(), u32(damagedAwards.size()), "root", list) !=
            GameServices::Utilities::XmlReader::ReadOk)
            list = GameShow::sAwardList();
        awardsPage.GetAwardList() = std::move(list);
        // The profile reads its damaged record as the save's reader hands it over.
        GameShow::PlayerProfile& profile = *manager->GetSlot(0);
        profile.Clear();
        GameServices::Utilities::XmlReader().ReadText(slot.c_str(), u32(slot.size()), "SavedGame", profile);
        steps.clear();
        for (i32 d = 0; d < 4; ++d) {
            decade = difficulty = d;
            for (const Row& row : Rows())
                if (row.check)
                    row.check(*awards);
            awards->CheckWinEasyMedHardInARow();
        }
        awards->CheckAllUnlocks();
        // Titles are granted on their first entry, a group's before an award's.
        auto granted = [&](const char* title, bool& present) {
            for (const GameShow::sMetaAward& group : awardsPage.GetAwardList().MetaAwards) {
                if (group.Title == title)
                    return present = true, group.unlocked;
            }
            for (const GameShow::sMetaAward& group : awardsPage.GetAwardList().MetaAwards)
                for (const GameShow::sAward& award : group.Awards)
                    if (award.Title == title)
                        return present = true, award.unlocked;
            return false;
        };
        for (const Row& row : Rows()) {
            bool present = false;
            if (!granted(row.title, present) && present && Flag(row.flag))
                ADD_FAILURE() << "round " << round << ": " << row.title << " not granted";
        }
        unlocking += !steps.empty();
        log.Clear();
    }
    // Most damaged saves still held counters one short of their goals.
    EXPECT_GT(unlocking, 2500);
    page = nullptr;
}
