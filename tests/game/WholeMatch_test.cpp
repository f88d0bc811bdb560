#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "game/QZ2011GameContext.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "tests/support/MatchHarness.h"
#include "tools/qbank/BankSource.h"

using namespace match;
using Kind = RecordEntry::Kind;

namespace {

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return int(std::count(lines.begin(), lines.end(), line));
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// Player one plays a profile of its own: prizes and award counters are kept on it.
void UseProfile(MatchHarness& harness) { harness.UseProfiles({{"Ann", "AppearanceFemale01.xml", {}}}, 0); }

bool IsScore(const std::string& state) { return state == "score0" || state == "score1"; }

// The match rules a whole match's record must keep (the thresholds and strikes are the rules
// tests' part, the prizes the fast-money screen's): the bank and the multipliers, the scores
// moved only by the bank, each answer taken once, fast money apart from the scores, one answer
// per turn, one steal answer and one computer action per turn.
std::vector<std::string> RuleBreaches(const std::vector<RecordEntry>& record) {
    std::vector<std::string> breaches;
    auto breach = [&](const RecordEntry& at, const std::string& what) {
        breaches.push_back(std::to_string(at.timeMs) + " ms: " + what);
    };
    int round = 0, bank = 0, score[2] = {0, 0}, answers = 0, computerActs = 0, stealAnswers = 0;
    bool fastMoney = false, steal = false;
    uint64_t fastMoneyMs = 0;
    // The question's answers taken so far.
    std::set<int> revealed;
    for (const RecordEntry& e : record) {
        const std::string& s = e.text;
        if (e.kind == Kind::Sequence) {
            if (StartsWith(s, "faceoff_round") || s == "SuddenDeath")
                round = s == "SuddenDeath" ? 5 : s.back() - '0';
            if (StartsWith(s, "buzz"))
                revealed.clear();
            // A turn opens: one answer and one computer action in it.
            if (StartsWith(s, "host_number_answer") || StartsWith(s, "otherTeamAnswer") ||
                (StartsWith(s, "transition") && s.back() == '3')) {
                answers = computerActs = stealAnswers = 0;
                steal = s.back() == '3';
            }
            if (s == "fast_money_round_left" || s == "fast_money_round_right") {
                fastMoney = true;
                fastMoneyMs = e.timeMs;
            }
        } else if (e.kind == Kind::Event && e.value == 3 && !fastMoney) {
            if (++answers > 1)
                breach(e, "a second answer in one turn");
            if (steal && ++stealAnswers > 1)
                breach(e, "a second steal answer");
            if (e.text == "computer" && ++computerActs > 1)
                breach(e, "a second computer action in one turn");
        } else if (e.kind == Kind::Event && e.value == 17 && !fastMoney) {
            if (e.answer >= 0 && !revealed.insert(e.answer).second)
                breach(e, "answer " + std::to_string(e.answer + 1) + " taken twice");
        } else if (e.kind == Kind::State && s != "fastMoneyTotal" && s != "money" && fastMoney &&
                   e.timeMs > fastMoneyMs + 16) {
            breach(e, s + " moved in fast money");
        } else if (e.kind == Kind::State && s == "bank") {
            const int multiplier = round >= 4 ? 3 : round == 3 ? 2 : 1;
            if (e.value > bank && (e.value - bank) % multiplier != 0)
                breach(e, "bank +" + std::to_string(e.value - bank) + " in round " + std::to_string(round));
            bank = e.value;
        } else if (e.kind == Kind::State && IsScore(s)) {
            const int family = s == "score0" ? 0 : 1;
            if (e.value - score[family] != bank)
                breach(e, s + " +" + std::to_string(e.value - score[family]) + " with a bank of " +
                              std::to_string(bank));
            score[family] = e.value;
        }
    }
    return breaches;
}

// The bank's 70s questions in turn without answers, with ten answers and as they are.
void TenOrNoAnswers(qbank::Bank& bank) {
    int n = 0;
    for (qbank::BankQuestion& question : bank.questions) {
        if (question.decade != 0 || question.answers.empty())
            continue;
        if (n % 3 == 0) {
            question.answers.clear();
        } else if (n % 3 == 1) {
            const std::vector<qbank::BankAnswer> own = question.answers;
            for (size_t k = 0; question.answers.size() < 10; ++k) {
                qbank::BankAnswer extra = own[k % own.size()];
                extra.points = 1;
                extra.text = "Extra" + std::to_string(k);
                extra.groups = {{"extra" + std::to_string(k)}};
                question.answers.push_back(extra);
            }
        }
        ++n;
    }
}

}  // namespace

// Whole matches on the real screen, each from its own policy and seed: the terminal phase is
// reached without a stall, the outcome is the one the policy steers to, the rules hold. A bank
// with questions of no answers or more than eight neither stalls nor reads out of bounds.
TEST(WholeMatch, SeededMatchesReachTheirEnds) {
    using FM = MatchPolicy::FastMoney;
    MatchPolicy timesOut{6}, oddBank{7};
    // Shorter than any wait of the computer family: each of its turns times out.
    timesOut.answerSeconds = 3;
    oddBank.rightPercent = 70;
    // ending: a sequence the match plays (the boards of one and of eight answers for the odd bank).
    const struct { const char* name; MatchPolicy policy; std::vector<std::string> ending; } cases[] = {
        {"win, fast money reaches 200", {3}, {"end_game_20k_win_left"}},
        {"win, fast money below 200", {4, 100, 100, 0, 100, 100, 50, FM::Lowest, FM::Pass}, {"end_game_normal_win_left"}},
        {"loss", {5, 0, 100, 0, 0, 0, 0}, {"end_game_loose"}},
        {"sudden death", {5, 100, 100, 0, 0, 0, 0}, {"SuddenDeath"}},
        {"computer turns time out", timesOut, {"end_game_see_you_nexttime_left"}},
        {"questions without answers or with ten", oddBank, {"buzz1_left", "buzz8_left"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MatchHarness harness;
        if (c.policy.seed == oddBank.seed)
            harness.ChangeBank(TenOrNoAnswers);
        UseProfile(harness);
        const RunResult result = harness.PlayMatch(c.policy);
        ASSERT_TRUE(result.ok) << result.report;
        const std::vector<std::string> played = harness.SequencesPlayed();
        for (const std::string& sequence : c.ending)
            EXPECT_GE(Count(played, sequence), 1) << sequence;
        EXPECT_EQ(RuleBreaches(harness.Record()), std::vector<std::string>{});
        EXPECT_EQ(harness.Context().m_GamePhase,
                  Count(played, "end_game_loose") ? QZ2011::PhaseGameEnd : QZ2011::PhaseGameOver);
        // With the computer family's every turn ended at its time-up, none of its answers was judged.
        for (const RecordEntry& e : harness.Record())
            EXPECT_FALSE(c.policy.answerSeconds && e.kind == Kind::Event && e.text == "computer") << e.timeMs;
    }
}
