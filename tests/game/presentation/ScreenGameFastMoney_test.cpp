// Fast money on the in-game screen, on a bank of seven 70s questions: passes and the pass cursor,
// the second player's duplicates, the questions kept at a time-up and the prizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/support/ScreenGameFixture.h"

namespace {

using Lines = std::vector<u32>;
using Names = std::vector<std::string>;

class FastMoney : public screen_game::ScreenGameFixture {
protected:
    // Question q is "70-10<q>" with the answers "top" (50), "mid" (30) and "low" (20).
    void SetUp() override {
        ScreenGameFixture::SetUp();
        std::vector<std::pair<std::string, std::string>> files;
        std::string list;
        for (int q = 0; q < 7; ++q) {
            TestQuestion question;
            question.id = "70-10" + std::to_string(q);
            question.answers = {{50, "Top", {{"top"}}}, {30, "Mid", {{"mid"}}}, {20, "Low", {{"low"}}}};
            files.push_back({std::to_string(q) + ".bin", QuestionBytes(question)});
            list += question.id + "\n";
        }
        files.push_back({"list.txt", list});
        resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        previous = AGResourceManager::Get();
        AGResourceManager::SetInstance(&resources);
        package.Mount(home.Write("GameQuestions.dir", ArchiveBytes(files)).c_str(), false);
        context.GetQuestionManager()->Initialize();
        Load();
    }
    void TearDown() override {
        GameShow::PlayerProfileManager::Instance()->ClearPlayers();
        context.GetQuestionManager()->Cleanup();
        package.Unmount();
        AGResourceManager::SetInstance(previous);
        ScreenGameFixture::TearDown();
    }
    // A new match whose fast money starts with bank line `first`, player one's family playing.
    void StartFirstTurn(i32 first = 0) {
        Screen().SetUpMatch();
        StopShow();
        context.GetQuestionManager()->SetCurrentIndex(first - 1);
        context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
        context.m_GamePhase = QZ2011::PhaseFastMoneyIntro;
        Screen().onFastMoneyStart(nullptr);
        context.m_GamePhase = QZ2011::PhaseFastMoneyFirstPlayer;
        context.m_AnswerEntryOpen = 1;
    }
    void StartSecondTurn() {
        StopShow();
        context.m_GamePhase = QZ2011::PhaseFastMoneySecondPlayer;
        Screen().onFastMoneySecondPlayer(nullptr);
    }
    // As the "EnterAnswer" action: the rules judge the first player's text, the screen takes it.
    void Enter(const std::string& text) {
        Screen().m_SoftKeyboard->SetText(text.c_str());
        context.m_TypedAnswer = text.c_str();
        if (context.m_GamePhase == QZ2011::PhaseFastMoneyFirstPlayer)
            context.CheckTypedAnswer(context.m_AnswerRecord);
        Screen().onFastMoneyAnswerEntered();
    }
    // The bank line on screen, -1 once the turn is over; the screen follows the manager's question.
    int Asked() {
        if (context.m_GamePhase == QZ2011::PhaseFastMoneyReveal)
            return -1;
        EXPECT_EQ(Screen().m_CurrentQuestion, context.GetQuestionManager()->CurrentQuestion());
        return Screen().m_CurrentQuestion ? int(Screen().m_CurrentQuestion->Index()) : -2;
    }
    Lines Stored() { return {std::begin(context.m_FastMoneyQuestionIds), std::end(context.m_FastMoneyQuestionIds)}; }
    std::string Label(const std::string& name) {
        return static_cast<GameServices::Widget::Label*>(Bound(name))->m_TextStyle.m_Text.c_str();
    }
    // Player 0 plays a profile; its money and award counters.
    GameShow::PlayerProfile* Profile() {
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        if (profiles->GetSavedFile()->GetSavedGameCount() == 0)
            profiles->GetSavedFile()->AddSavedGame();
        profiles->AssignPlayer(0, 0);
        return profiles->GetSavedFile()->GetSavedGame(0);
    }
    static int Counter(const char* key) {
        int value = 0;
        GameShow::GetAchievementValue(0, key, value);
        return value;
    }

    AGResourceManager resources;
    AGResourceManager* previous = nullptr;
    PcDirectory package;
};

// A pass asks the question again after the others, in index order from the pass cursor, and
// again when passed again (two passed again and again take turns); entry stays open until the
// turn ends.
TEST_F(FastMoney, PassedQuestionsComeBackInIndexOrderFromThePassCursor) {
    const struct {
        Names entries;
        std::vector<int> asked;
    } cases[] = {
        {{"", "top", "", "top", "top", "", "top", "top"}, {1, 2, 3, 4, 0, 2, 0, -1}},
        {{"top", "", "", "mid", "low", "", "top", "top"}, {1, 2, 3, 4, 1, 2, 1, -1}},
        {{"top", "mid", "low", "top", "top"}, {1, 2, 3, 4, -1}},
    };
    for (const auto& c : cases) {
        StartFirstTurn();
        ASSERT_EQ(Asked(), 0);
        EXPECT_EQ(Screen().m_ConfirmButton->m_TextStyle.m_Text, "PASS");
        for (size_t i = 0; i < c.entries.size(); ++i) {
            Enter(c.entries[i]);
            EXPECT_EQ(Asked(), c.asked[i]) << "entry " << i;
            EXPECT_EQ(context.m_AnswerEntryOpen, c.asked[i] < 0 ? 0 : 1);
        }
        EXPECT_EQ(Stored(), (Lines{0, 1, 2, 3, 4}));
    }
    // Raw survey points, the top answers counted, the typed texts shown.
    EXPECT_EQ(context.m_FastMoneyTotal, 50 + 30 + 20 + 50 + 50);
    EXPECT_EQ(Screen().m_FastMoneyRevealCount, 3u);
    EXPECT_TRUE(Visible("AnswerLabelFM2") && Label("AnswerLabelFM2") == "mid" && Label("FreqLabelFM2") == "30");
    // Outside the players' turns an entry is not taken.
    context.m_FastMoneyAnswerIndex = 0;
    Enter("low");
    EXPECT_EQ(context.m_FastMoneyTotal, 200);
    // An answer index past the question's answers counts as no answer.
    StartFirstTurn();
    Screen().m_SoftKeyboard->SetText("zzz");
    context.m_LastAnswerIndex = 3;
    Screen().onFastMoneyAnswerEntered();
    EXPECT_EQ(Screen().m_FastMoneyAnswerIndices[0], -1);
}

// A time-up draws only the questions the first player never saw; the second player is asked the
// same five, and repeating the first player's answer to one asks it again.
TEST_F(FastMoney, TheSecondPlayerGetsTheSameQuestionsAndCannotRepeatAnAnswer) {
    const struct {
        i32 first;
        Names entries;
        Lines stored;
    } cases[] = {{0, {"top", ""}, {0, 1, 2, 3, 4}}, {5, {"", "top", "mid", "top", "low"}, {5, 6, 0, 1, 2}}};
    for (const auto& c : cases) {
        StartFirstTurn(c.first);
        for (const std::string& text : c.entries)
            Enter(text);
        Screen().onFastMoneyTimeUp();
        EXPECT_EQ(Stored(), c.stored);
        EXPECT_EQ(i32(context.m_GamePhase), QZ2011::PhaseFastMoneyReveal);
        EXPECT_FALSE(Visible("SoftKeyboardWidget"));
    }
    // The last first turn: question 0 passed (its re-asked copy timed out), then top, mid, top, low.
    StartSecondTurn();
    const struct {
        const char* text;
        int asked;
        i32 points;
    } steps[] = {{"top", 1, 50}, {"top", 1, 0}, {"low", 2, 20}, {"mid", 2, 0}, {"", 3, 0}, {"low", 4, 20}};
    const Lines lines = Stored();
    i32 total = context.m_FastMoneyTotal;
    for (const auto& s : steps) {
        Enter(s.text);
        total += s.points;
        EXPECT_EQ(Asked(), int(lines[s.asked])) << s.text;
        EXPECT_EQ(context.m_FastMoneyTotal, total) << s.text;
        EXPECT_TRUE(Screen().m_SoftKeyboard->GetEnteredText().IsEmpty());
    }
    // Played, or asked of a level whose sound assets are all taken.
    const auto& sfx = context.GetAudioManager()->GetCategoryNames(QZ2011::AudioManagerQZ::kSfx);
    EXPECT_TRUE((!sfx.empty() && sfx.back() == "SFX_FM_DupeAnswer.snd") || log.Contains("SFX_FM_DupeAnswer.snd"));
    EXPECT_EQ(Label("AnswerLabelFM6"), "top");
    EXPECT_EQ(Screen().m_FastMoneyAnswerPoints[6], 20);
    EXPECT_EQ(Screen().m_FastMoneyAnswerIndices[7], -1);
}

// The prizes and the first player's five top answers count toward the awards of the decade, in a
// one-player game only; without a profile a prize is reported.
TEST_F(FastMoney, PrizesAndTopAnswersCountTowardTheDecadesAwards) {
    const struct {
        u32 decade, twoPlayers, reveal, tops;
        i32 total;
        const char* counter;
        int added;
    } cases[] = {
        {1, 0, 9, 0, 150, "100kEarnDollarsFM80", 750}, {3, 0, 9, 0, 150, "2500EarnPointsFM00", 150},
        {1, 0, 7, 0, 200, "10Win20K80", 1},           {1, 0, 9, 0, 150, "10Win20K80", 0},
        {3, 0, 7, 0, 200, "2500EarnPointsFM00", 200}, {2, 0, 4, 5, 100, "1GiveAllTopsFM90", 1},
        {2, 1, 4, 5, 100, "1GiveAllTopsFM90", 0},     {3, 1, 9, 0, 150, "2500EarnPointsFM00", 0},
        {1, 0, 9, 0, 0, "100kEarnDollarsFM80", 0},
    };
    int reveals = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.counter) + " in decade " + std::to_string(c.decade));
        StartFirstTurn();
        GameShow::PlayerProfile* profile = Profile();
        profile->Score = 0;
        const int before = Counter(c.counter);
        context.m_Decade = c.decade;
        context.m_TwoPlayers = c.twoPlayers;
        context.m_FastMoneyTotal = c.total;
        context.m_GamePhase = QZ2011::PhaseFastMoneyReveal;
        Screen().m_FastMoneyAnswerPoints[0] = c.total;
        Screen().m_FastMoneyAnswerPoints[c.reveal] = 7;
        for (const char* total : {"FMTotal1", "FMTotal2"}) {  // the board of the player revealed
            static_cast<GameServices::Widget::Label*>(Bound(total))->SetText("");
            Bound(total)->SetVisible((total[7] == '1') == (c.reveal < 5));
        }
        Screen().m_FastMoneyRevealIndex = c.reveal;
        Screen().m_FastMoneyRevealCount = c.tops;
        Screen().onFastMoneyReveal(nullptr);
        EXPECT_EQ(Counter(c.counter) - before, c.added);
        // The running total of the reveals; the first player's board shows only the first five.
        const std::string sum = std::to_string(7 * ++reveals);
        EXPECT_EQ(Label("FMTotal1") + "/" + Label("FMTotal2"), (c.reveal < 5 ? sum : "") + "/" + sum);
        EXPECT_EQ(profile->Score, c.total >= 200 ? 20000u : c.reveal == 9 ? u32(5 * c.total) : 0u);
        EXPECT_FALSE(Screen().m_FastMoneyFirstRevealDone) << "no answer left to reveal after the win";
        EXPECT_EQ(Screen().m_FastMoneyRevealCount, c.added && c.tops ? 0u : c.tops);
    }
    // A win with answers left: the next reveal shows the rest at once.
    StartFirstTurn();
    context.m_FastMoneyTotal = Screen().m_FastMoneyAnswerPoints[0] = 200;
    context.m_GamePhase = QZ2011::PhaseFastMoneyReveal;
    static_cast<GameServices::Widget::Label*>(Bound("AnswerLabelFM3"))->SetText("mid");
    Screen().onFastMoneyReveal(nullptr);
    Screen().onFastMoneyReveal(nullptr);
    EXPECT_EQ(Playing(), "fast_money_round_reveal_others_left");
    GameShow::PlayerProfileManager::Instance()->ClearPlayers();
    StartFirstTurn();
    Screen().onFastMoneyTimeUp();
    EXPECT_EQ(Playing(), "fast_money_round2") << "nothing typed: revealed at once";
    EXPECT_TRUE(Visible("FMTotal1"));
    StartSecondTurn();
    Screen().onFastMoneyTimeUp();
    EXPECT_EQ(Playing(), "end_game_normal_win_left");
    EXPECT_TRUE(log.Contains("ScreenGame : no profile takes the fast money prize of 0"));
}

}  // namespace
