// Fast money on the in-game screen: passes and the pass cursor, the duplicate answer of the
// second player, the questions kept for the second player at a time-up, and the reveal with its
// endings and prizes, on a bank of seven 70s questions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/rules/AnswerResult.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/PlayerProfileManager.h"
#include "tests/support/ScreenGameFixture.h"

namespace {

using QZ2011::Phase;

constexpr int kBankSize = 7;

class FastMoney : public screen_game::ScreenGameFixture {
protected:
    void SetUp() override {
        ScreenGameFixture::SetUp();
        // Question q is "70-10<q>"; each has a top answer "top" (50), "mid" (30) and "low" (20).
        std::vector<std::pair<std::string, std::string>> files;
        std::string list;
        for (int q = 0; q < kBankSize; ++q) {
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
        StopShow();
    }
    void TearDown() override {
        GameShow::PlayerProfileManager::Instance()->ClearPlayers();
        context.GetQuestionManager()->Cleanup();
        package.Unmount();
        AGResourceManager::SetInstance(previous);
        ScreenGameFixture::TearDown();
    }
    // Player one's family starts the first turn.
    void StartFirstTurn() {
        context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
        context.m_GamePhase = QZ2011::PhaseFastMoneyIntro;
        Screen().onFastMoneyStart(nullptr);
        context.m_GamePhase = QZ2011::PhaseFastMoneyFirstPlayer;
        context.m_AnswerEntryOpen = 1;
    }
    // The typed text entered as the "EnterAnswer" action does: the rules judge the first turn.
    void Enter(const std::string& text) {
        Screen().m_SoftKeyboard->SetText(text.c_str());
        context.m_TypedAnswer = text.c_str();
        if (context.m_GamePhase == QZ2011::PhaseFastMoneyFirstPlayer)
            context.CheckTypedAnswer(context.m_AnswerRecord);
        Screen().onFastMoneyAnswerEntered();
    }
    // The bank line of the question on screen; the screen must follow the manager's question.
    int Asked() {
        QZ2011::Question* question = Screen().m_CurrentQuestion;
        EXPECT_EQ(question, context.GetQuestionManager()->CurrentQuestion());
        return question ? int(question->Index()) : -1;
    }
    std::vector<u32> StoredLines() {
        return std::vector<u32>(std::begin(context.m_FastMoneyQuestionIds), std::end(context.m_FastMoneyQuestionIds));
    }
    std::string AnswerLabel(u32 slot) { return Screen().m_AnswerLabelsFM[slot]->m_TextStyle.m_Text.c_str(); }
    // Player 0 plays a profile with that money.
    GameShow::PlayerProfile* Profile(u32 money) {
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        while (profiles->GetSavedFile()->GetSavedGameCount() < 1)
            profiles->GetSavedFile()->AddSavedGame();
        GameShow::PlayerProfile* profile = profiles->GetSavedFile()->GetSavedGame(0);
        profile->isUsed = true;
        profile->Score = money;
        profiles->AssignPlayer(0, 0);
        return profile;
    }
    // Frames until the match stands still; the sequences started, in order.
    std::vector<std::string> RunShow() {
        std::vector<std::string> played;
        std::string last;
        for (int frame = 0; frame < 400; ++frame) {
            Frames(1);
            const std::string now = Playing();
            if (!now.empty() && now != last)
                played.push_back(now);
            last = now;
        }
        return played;
    }

    AGResourceManager resources;
    AGResourceManager* previous = nullptr;
    PcDirectory package;
};

// Each case enters its texts in the first turn ("" passes); after each entry the question on
// screen is the listed bank line, -1 once the turn is over.
TEST_F(FastMoney, PassedQuestionsComeBackInIndexOrderFromThePassCursor) {
    const struct {
        std::vector<std::string> entries;
        std::vector<int> asked;
    } cases[] = {
        {{"", "top", "", "top", "top", "", "top", "top"}, {1, 2, 3, 4, 0, 2, 0, -1}},
        {{"top", "", "", "mid", "low", "", "top", "top"}, {1, 2, 3, 4, 1, 2, 1, -1}},
        {{"top", "mid", "low", "top", "top"}, {1, 2, 3, 4, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked.size());
        Screen().SetUpMatch();
        StopShow();
        context.GetQuestionManager()->SetCurrentIndex(-1);
        StartFirstTurn();
        ASSERT_EQ(Asked(), 0);
        for (size_t i = 0; i < c.entries.size(); ++i) {
            Enter(c.entries[i]);
            const bool over = context.m_GamePhase == QZ2011::PhaseFastMoneyReveal;
            EXPECT_EQ(over ? -1 : Asked(), c.asked[i]) << "entry " << i;
            EXPECT_EQ(context.m_AnswerEntryOpen, over ? 0 : 1);
        }
        EXPECT_EQ(StoredLines(), (std::vector<u32>{0, 1, 2, 3, 4}));
    }
    // The last case's points: raw survey values, top answers counted.
    EXPECT_EQ(context.m_FastMoneyTotal, 50 + 30 + 20 + 50 + 50);
    EXPECT_EQ(Screen().m_FastMoneyRevealCount, 3u);
    EXPECT_EQ(AnswerLabel(1), "mid");
}

// A time-up draws only the questions the first player never saw: the second player then gets
// the same five.
TEST_F(FastMoney, TheTimeUpKeepsTheAskedQuestionsAndDrawsTheRest) {
    const struct {
        std::vector<std::string> entries;
        std::vector<u32> lines;
    } cases[] = {
        {{"top", ""}, {0, 1, 2, 3, 4}},
        {{"", "top", "top", "top", "top"}, {0, 1, 2, 3, 4}},
    };
    u32 drawn = 0;
    for (const auto& c : cases) {
        Screen().SetUpMatch();
        StopShow();
        context.GetQuestionManager()->SetCurrentIndex(i32(drawn) - 1);
        StartFirstTurn();
        for (const std::string& text : c.entries)
            Enter(text);
        Screen().onFastMoneyTimeUp();
        std::vector<u32> expected;
        for (u32 line : c.lines)
            expected.push_back((line + drawn) % kBankSize);
        EXPECT_EQ(StoredLines(), expected);
        EXPECT_EQ(i32(context.m_GamePhase), QZ2011::PhaseFastMoneyReveal);
        EXPECT_FALSE(Screen().m_SoftKeyboard->Visible);
        drawn += 5;
    }
    // The second player is asked them in order.
    StopShow();
    context.m_GamePhase = QZ2011::PhaseFastMoneySecondPlayer;
    Screen().onFastMoneySecondPlayer(nullptr);
    for (u32 q = 0; q < 5; ++q) {
        EXPECT_EQ(u32(Asked()), context.m_FastMoneyQuestionIds[q]);
        Enter("low");
    }
}

// The second player repeating the first player's answer to a question hears the duplicate
// sound and answers it again; another answer scores.
TEST_F(FastMoney, TheSecondPlayerCannotRepeatTheFirstPlayersAnswer) {
    StartFirstTurn();
    for (const char* text : {"top", "mid", "", "low", "top", "top"})
        Enter(text);
    ASSERT_EQ(i32(context.m_GamePhase), QZ2011::PhaseFastMoneyReveal);
    const i32 firstTotal = context.m_FastMoneyTotal;
    StopShow();
    context.m_GamePhase = QZ2011::PhaseFastMoneySecondPlayer;
    Screen().onFastMoneySecondPlayer(nullptr);
    const struct {
        const char* text;
        int asked;
        i32 points;
    } steps[] = {{"top", 0, 0}, {"mid", 1, 30}, {"mid", 1, 0}, {"top", 2, 50}, {"low", 3, 20}, {"", 4, 0}};
    i32 total = firstTotal;
    for (const auto& s : steps) {
        Enter(s.text);
        total += s.points;
        EXPECT_EQ(Asked(), s.asked) << s.text;
        EXPECT_EQ(context.m_FastMoneyTotal, total) << s.text;
        EXPECT_TRUE(Screen().m_SoftKeyboard->GetEnteredText().IsEmpty());
    }
    EXPECT_EQ(AnswerLabel(5), "mid");
    EXPECT_EQ(Screen().m_FastMoneyAnswerPoints[5], 30);
    EXPECT_EQ(Screen().m_FastMoneyAnswerIndices[8], -1);
}

// The reveal from the first player's end: running totals, the second turn below 200, the
// top prize once the revealed points reach 200, the small prize of 5 per point below.
TEST_F(FastMoney, TheRevealEndsWithTheRightPrize) {
    const struct {
        std::vector<i32> points;
        std::vector<std::string> played;
        Phase phase;
        u32 money;
    } cases[] = {
        {{40, 40, 40, 20, 0, 20, 30, 9, 0, 0},
         {"fast_money_round_reveal1", "fast_money_round_reveal2", "fast_money_round_reveal3",
          "fast_money_round_reveal4", "fast_money_round_reveal5", "fast_money_round2", "fast_money_round_reveal1",
          "fast_money_round_reveal2", "fast_money_round_reveal3", "fast_money_round_reveal4",
          "fast_money_round_reveal5", "end_game_normal_win_left", "end_game_see_you_nexttime_left"},
         QZ2011::PhaseGameOver, 100 + 995},
        {{40, 40, 40, 20, 0, 20, 30, 10, 9, 1},
         {"fast_money_round_reveal1", "fast_money_round_reveal2", "fast_money_round_reveal3",
          "fast_money_round_reveal4", "fast_money_round_reveal5", "fast_money_round2", "fast_money_round_reveal1",
          "fast_money_round_reveal2", "fast_money_round_reveal3", "end_game_20k_win_left",
          "fast_money_round_reveal_others_left", "fast_money_round_reveal4", "fast_money_round_reveal5",
          "end_game_see_you_nexttime_left"},
         QZ2011::PhaseGameOver, 100 + 20000},
    };
    for (const auto& c : cases) {
        Screen().SetUpMatch();
        StopShow();
        GameShow::PlayerProfile* profile = Profile(100);
        context.m_CurrentFamily = QZ2011GameContext::kPlayerOneFamily;
        context.m_FastMoneyTotal = 0;
        for (u32 slot = 0; slot < 10; ++slot) {
            Screen().m_FastMoneyAnswerPoints[slot] = c.points[slot];
            Screen().m_AnswerLabelsFM[slot]->SetText(slot < 5 ? "a" : "");
            context.m_FastMoneyTotal += slot < 5 ? c.points[slot] : 0;
        }
        context.m_GamePhase = QZ2011::PhaseFastMoneyReveal;
        context.GetSequenceManager()->PlaySequence("fast_money_round_reveal1");
        // Up to the second player's turn, who then types five answers.
        std::vector<std::string> played = RunShow();
        ASSERT_EQ(i32(context.m_GamePhase), QZ2011::PhaseFastMoneySecondPlayer);
        EXPECT_EQ(Screen().m_FMTotals[0]->m_TextStyle.m_Text, "140");
        for (u32 slot = 5; slot < 10; ++slot) {
            Screen().m_AnswerLabelsFM[slot]->SetText("b");
            context.m_FastMoneyTotal += c.points[slot];
        }
        context.m_GamePhase = QZ2011::PhaseFastMoneyReveal;
        context.GetSequenceManager()->PlaySequence("fast_money_round_reveal1");
        for (const std::string& name : RunShow())
            played.push_back(name);
        EXPECT_EQ(played, c.played);
        EXPECT_EQ(i32(context.m_GamePhase), c.phase);
        EXPECT_EQ(profile->Score, c.money);
        EXPECT_EQ(Screen().m_FMTotals[1]->m_TextStyle.m_Text.c_str(),
                  std::to_string(context.m_FastMoneyTotal));
    }
}

// A player who typed nothing: the reveal starts at once and passes over the empty entries; a
// prize without a profile is reported.
TEST_F(FastMoney, AnEmptyTurnIsRevealedAtOnce) {
    GameShow::PlayerProfileManager::Instance()->ClearPlayers();
    StartFirstTurn();
    Screen().onFastMoneyTimeUp();
    EXPECT_EQ(i32(context.m_GamePhase), QZ2011::PhaseFastMoneySecondPlayer);
    EXPECT_EQ(Playing(), "fast_money_round2");
    EXPECT_EQ(Screen().m_FastMoneyRevealIndex, 5u);
    StopShow();
    Screen().onFastMoneySecondPlayer(nullptr);
    Screen().onFastMoneyTimeUp();
    EXPECT_EQ(i32(context.m_GamePhase), QZ2011::PhaseGameEnd);
    EXPECT_EQ(Playing(), "end_game_normal_win_left");
    EXPECT_TRUE(log.Contains("ScreenGame : no profile takes the fast money prize of 0"));
}

}  // namespace
