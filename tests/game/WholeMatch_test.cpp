#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "game/QZ2011GameContext.h"
#include "game/presentation/AwardManager.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "gameshow/PlayerProfileManager.h"
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

// The award counters a match's record predicts; the others count on timing the record lacks.
constexpr const char* kPredictedAwards[] = {
    "win25Matches70", "win25Matches80", "win25Matches90", "win25Matches00", "5Steal70", "20FaceoffTop70",
    "100kEarnDollarsFM80", "10GiveGoodAnswerFaceOff80", "10Win20K80", "5WinWithGoingToSuddenDeath80", "1WinAMatch90",
    "1GiveAllTopsFM90", "1WinEasyMedHardInARow90", "5WinFaceOff00", "2500EarnPointsFM00", "10BeatDouble70",
    "5Win1stRound00", "10CompleteBoard70"};

// The match rules a whole match's record must keep: the bank and the multipliers, the scores
// moved only by the bank, strikes in order, the face-off's verdicts, one steal answer and the
// reveal of the rest in rank order, sudden death and the end at 300, fast money apart from the
// scores with its prizes, one answer per turn, one computer action per turn, and the award
// counters of player one's profile. States are recorded at the end of their frame, after the
// sequences the frame started; an answer and its result after the phases and sequences they led to.
std::vector<std::string> RuleBreaches(const std::vector<RecordEntry>& record, int decade) {
    std::vector<std::string> breaches;
    auto breach = [&](const RecordEntry& at, const std::string& what) {
        breaches.push_back(std::to_string(at.timeMs) + " ms: " + what);
    };
    // The scores at the end of the frame of entry i.
    auto scoresAfter = [&](size_t i, int p0, int p1) {
        for (size_t k = i + 1; k < record.size() && record[k].timeMs <= record[i].timeMs + 16; ++k)
            if (record[k].kind == Kind::State && IsScore(record[k].text))
                (record[k].text == "score0" ? p0 : p1) = record[k].value;
        return std::make_pair(p0, p1);
    };
    int round = 0, bank = 0, score[2] = {0, 0}, strikes = 0, answers = 0, computerActs = 0, stealAnswers = 0;
    bool fastMoney = false, steal = false, suddenDeath = false;
    uint64_t fastMoneyMs = 0;
    // The phase, the one before the writes of the last frame that wrote one, and the first of them.
    int phase = -1, settled = -1, ruled = -1;
    uint64_t phaseMs = 0, completedMs = 0;
    // The face-off: the buzzing side, the first answer, the replay; the last play-or-pass side.
    int buzzer = 0, first = -1, expectPhase = -1, chose = -1, question = -1;
    uint64_t choseMs = 0;
    bool replay = false, playerOnePlays = false;
    int faceOffWinner = -1;
    std::string verdict;
    // The side of the answer entered since the last result (-1: none, a time-up).
    int entered = -1;
    // The question's answers on the board and those revealed so far.
    int boardRows = 0;
    std::set<int> revealed;
    bool revealing = false;
    // Fast money: the total, the first player's questions and top answers, the prizes.
    int fastMoneyTotal = 0, tops = 0, bigWins = 0, normalWins = 0, money = 0, expectMoney = 0;
    std::set<int> firstPlayerQuestions;
    std::map<std::string, int> expected, counters;
    static const char* const kDecades[] = {"70", "80", "90", "00"};
    // A banking step: player one ahead after it counts in the 70s' third and the 00s' first round.
    auto banked = [&](size_t i) {
        const auto [p0, p1] = scoresAfter(i, score[0], score[1]);
        expected["10BeatDouble70"] += p0 > p1 && decade == 0 && round == 3 ? 1 : 0;
        expected["5Win1stRound00"] += p0 > p1 && decade == 3 && round == 1 ? 1 : 0;
    };
    for (size_t i = 0; i < record.size(); ++i) {
        const RecordEntry& e = record[i];
        const std::string& s = e.text;
        if (e.kind == Kind::Phase) {
            if (expectPhase >= 0 && e.value != expectPhase)
                breach(e, verdict + " led to phase " + std::to_string(e.value) + ", not " + std::to_string(expectPhase));
            expectPhase = -1;
            if (e.timeMs != phaseMs || settled < 0) {
                settled = phase;
                ruled = e.value;
            }
            phaseMs = e.timeMs;
            phase = e.value;
            completedMs = phase == QZ2011::PhaseRoundComplete ? e.timeMs : completedMs;
            if (phase == QZ2011::PhaseRoundWon)
                banked(i);
        } else if (e.kind == Kind::Sequence) {
            const auto [p0, p1] = scoresAfter(i, score[0], score[1]);
            if (StartsWith(s, "faceoff_round"))
                round = s.back() - '0';
            if (s == "SuddenDeath") {
                round = 5;
                suddenDeath = true;
                if (p0 >= 300 || p1 >= 300)
                    breach(e, "sudden death with a family at 300");
            }
            if (StartsWith(s, "buzz")) {
                boardRows = s[4] - '0';
                revealed.clear();
            }
            if (StartsWith(s, "host_number_answer") && round != 5) {
                buzzer = s == "host_number_answer_left" ? 0 : 1;
                first = -1;
                replay = false;
            }
            if (StartsWith(s, "playOrPass")) {
                chose = s == "playOrPassLeft" ? 0 : 1;
                choseMs = e.timeMs;
            }
            // The rest of the board after the steal: each hidden answer in rank order, then "blank".
            if (s == "reveal_others")
                revealing = true;
            if (StartsWith(s, "reveal_answer")) {
                int next = 0;
                while (revealed.count(next))
                    ++next;
                if (!revealing || std::stoi(s.substr(13)) != next + 1)
                    breach(e, s + " where reveal_answer" + std::to_string(next + 1) + " was due");
                revealed.insert(std::stoi(s.substr(13)) - 1);
            }
            if (s == "steal_ok" || (s == "blank" && revealing))
                banked(i);
            if (s == "transitionLeftFamily" || StartsWith(s, "play_or_pass_AI") || s == "transitionRightFamily")
                playerOnePlays = s == "transitionLeftFamily" || s == "play_or_pass_AI_left";
            if (s == "blank" && revealing) {
                revealing = false;
                for (int rank = 0; rank < boardRows; ++rank)
                    if (!revealed.count(rank))
                        breach(e, "answer " + std::to_string(rank + 1) + " never revealed");
            }
            // A turn opens: one answer and one computer action in it.
            if (StartsWith(s, "host_number_answer") || StartsWith(s, "otherTeamAnswer") ||
                (StartsWith(s, "transition") && s.back() == '3')) {
                answers = computerActs = stealAnswers = 0;
                steal = s.back() == '3';
            }
            if (StartsWith(s, "strike")) {
                const int n = s[6] - '0';
                if (n != strikes + 1)
                    breach(e, s + " after " + std::to_string(strikes) + " strikes");
                strikes = n == 3 ? 0 : n;
            }
            if (StartsWith(s, "playOrPass") || StartsWith(s, "faceoff_round"))
                strikes = 0;
            if (s == "fast_money_round_left" || s == "fast_money_round_right") {
                fastMoney = true;
                fastMoneyMs = e.timeMs;
                if (std::max(p0, p1) < 300)
                    breach(e, "fast money below 300");
                ++expected[std::string("win25Matches") + kDecades[decade]];
                if (decade == 2) {
                    ++expected["1WinAMatch90"];
                    expected["1WinEasyMedHardInARow90"] = 1;
                }
                if (decade == 1 && suddenDeath)
                    ++expected["5WinWithGoingToSuddenDeath80"];
            }
            if (s == "end_game_loose" && (p0 >= 300 || p1 < 300))
                breach(e, "lost at " + std::to_string(p0) + " to " + std::to_string(p1));
            if (s == "fast_money_round2" && fastMoneyTotal >= 200)
                breach(e, "a second player after " + std::to_string(fastMoneyTotal) + " points");
            const bool big = StartsWith(s, "end_game_20k_win"), normal = StartsWith(s, "end_game_normal_win");
            if ((big && (phase != QZ2011::PhaseFastMoneyWon || fastMoneyTotal < 200)) || (normal && fastMoneyTotal >= 200))
                breach(e, s + " in phase " + std::to_string(phase) + " at " + std::to_string(fastMoneyTotal) + " points");
            if (big || normal) {
                const int prize = big ? 20000 : 5 * fastMoneyTotal;
                (big ? bigWins : normalWins)++;
                expectMoney += prize;
                expected["100kEarnDollarsFM80"] += decade == 1 ? prize : 0;
                expected["10Win20K80"] += decade == 1 && big ? 1 : 0;
                expected["2500EarnPointsFM00"] += decade == 3 ? (big ? 200 : fastMoneyTotal) : 0;
            }
            if (normal && phase != QZ2011::PhaseGameEnd) {
                expectPhase = QZ2011::PhaseGameEnd;
                verdict = s;
            }
        } else if (e.kind == Kind::Event && e.value == 3 && fastMoney) {
            // Player one's fast-money entries, of the question shown until this frame: the second
            // player gets the first player's questions.
            const int turn = phaseMs == e.timeMs ? settled : phase;
            if (turn == QZ2011::PhaseFastMoneyFirstPlayer) {
                tops += e.answer == 0 ? 1 : 0;
                firstPlayerQuestions.insert(question);
            } else if (turn == QZ2011::PhaseFastMoneySecondPlayer && !firstPlayerQuestions.count(question)) {
                breach(e, "the second player asked question " + std::to_string(question));
            }
        } else if (e.kind == Kind::Event && e.value == 3) {
            entered = s == "computer" ? 1 : 0;
            if (++answers > 1)
                breach(e, "a second answer in one turn");
            if (steal && ++stealAnswers > 1)
                breach(e, "a second steal answer");
            if (e.text == "computer" && ++computerActs > 1)
                breach(e, "a second computer action in one turn");
        } else if (e.kind == Kind::Event && e.value == 17) {
            // The result is recorded after the rules ruled on it, in the same frame: the phase it
            // was given in, and the phase and play-or-pass side it led to.
            const int index = e.answer, side = entered;
            entered = -1;
            const int given = phaseMs == e.timeMs ? settled : phase, led = phaseMs == e.timeMs ? ruled : -1;
            if (index >= 0 && !revealed.insert(index).second)
                breach(e, "answer " + std::to_string(index + 1) + " taken twice");
            if (given == QZ2011::PhaseSteal && side == 0 && index != -1 && decade == 0)
                ++expected["5Steal70"];
            // The board completed by a family that won the face-off on player one's side.
            if (given == QZ2011::PhaseRoundAnswers && completedMs == e.timeMs && decade == 0 && faceOffWinner == 0 &&
                (!playerOnePlays || strikes == 0))
                ++expected["10CompleteBoard70"];
            if (given != QZ2011::PhaseFaceOffFirstAnswer && given != QZ2011::PhaseFaceOffSecondAnswer)
                continue;
            const bool second = given == QZ2011::PhaseFaceOffSecondAnswer;
            verdict = "face-off answer " + std::to_string(index) + " in phase " + std::to_string(given) +
                      (replay ? " (replay)" : "");
            const int answering = second ? 1 - buzzer : buzzer;
            if (side != -1 && side != answering)
                breach(e, verdict + " from side " + std::to_string(side));
            expected["20FaceoffTop70"] += answering == 0 && index == 0 && decade == 0 ? 1 : 0;
            expected["10GiveGoodAnswerFaceOff80"] += answering == 0 && index != -1 && decade == 1 ? 1 : 0;
            int due = QZ2011::PhaseFaceOffWon, winner = -1;
            if (!second && (index == 0 || (replay && index != -1))) {
                winner = buzzer;
            } else if (!second) {
                due = QZ2011::PhaseFaceOffSecondAnswer;
                first = index;
            } else if (replay && index == -1) {
                due = QZ2011::PhaseRoundIntro;
                replay = false;
            } else if (index == -1 && first == -1) {
                due = QZ2011::PhaseFaceOffFirstAnswer;
                replay = true;
            } else {
                winner = first == -1 || (index != -1 && index <= first) ? 1 - buzzer : buzzer;
            }
            const int shown = choseMs == e.timeMs ? chose : -1;
            if (led != due || shown != winner)
                breach(e, verdict + " led to phase " + std::to_string(led) + " and side " + std::to_string(shown) +
                              ", not " + std::to_string(due) + " and " + std::to_string(winner));
            expected["5WinFaceOff00"] += decade == 3 && winner == 0 ? 1 : 0;
            faceOffWinner = winner;
        } else if (e.kind == Kind::State && !IsScore(s) && s != "bank") {
            (s == "fastMoneyTotal" ? fastMoneyTotal : s == "money" ? money : s == "question" ? question : counters[s]) =
                e.value;
        } else if (e.kind == Kind::State && fastMoney && e.timeMs > fastMoneyMs + 16) {
            breach(e, s + " moved in fast money");
        } else if (e.kind == Kind::State && s == "bank") {
            const int multiplier = round >= 4 ? 3 : round == 3 ? 2 : 1;
            if (e.value > bank && (e.value - bank) % multiplier != 0)
                breach(e, "bank +" + std::to_string(e.value - bank) + " in round " + std::to_string(round));
            bank = e.value;
        } else if (e.kind == Kind::State) {
            const int family = s == "score0" ? 0 : 1;
            if (e.value - score[family] != bank)
                breach(e, s + " +" + std::to_string(e.value - score[family]) + " with a bank of " +
                              std::to_string(bank));
            score[family] = e.value;
        }
    }
    if (phase == QZ2011::PhaseGameOver && (bigWins != (fastMoneyTotal >= 200) || normalWins != (fastMoneyTotal < 200)))
        breach(record.back(), "fast money ended at " + std::to_string(fastMoneyTotal) + " points with " +
                                  std::to_string(bigWins) + " top and " + std::to_string(normalWins) + " other prizes");
    if (money != expectMoney)
        breach(record.back(), "prize money " + std::to_string(money) + ", not " + std::to_string(expectMoney));
    expected["1GiveAllTopsFM90"] += decade == 2 && tops == 5 ? 1 : 0;
    for (const char* award : kPredictedAwards) {
        const auto* row = std::find_if(std::begin(QZ2011::AwardManager::kAwards), std::end(QZ2011::AwardManager::kAwards),
                                       [&](const QZ2011::AwardManager::Award& a) { return award == std::string(a.counterKey); });
        if (counters[award] != std::min(expected[award], row->goal))
            breach(record.back(), std::string(award) + " counted " + std::to_string(counters[award]) + ", not " +
                                      std::to_string(expected[award]));
    }
    return breaches;
}

}  // namespace

// Whole matches on the real screen, each from its own policy and seed: the terminal phase is
// reached without a stall, the outcome is the one the policy steers to, the rules hold.
TEST(WholeMatch, SeededMatchesReachTheirEnds) {
    using FM = MatchPolicy::FastMoney;
    MatchPolicy timesOut{6};
    // Shorter than any wait of the computer family: each of its turns times out.
    timesOut.answerSeconds = 3;
    const struct {
        const char* name;
        MatchPolicy policy;
        const char* ending;
    } cases[] = {
        {"win, fast money reaches 200", {3}, "end_game_20k_win_left"},
        {"win, fast money below 200", {4, 100, 100, 0, 100, 100, 50, FM::Lowest, FM::Pass}, "end_game_normal_win_left"},
        {"loss", {5, 0, 100, 0, 0, 0, 0}, "end_game_loose"},
        {"sudden death", {5, 100, 100, 0, 0, 0, 0}, "SuddenDeath"},
        {"computer turns time out", timesOut, "end_game_see_you_nexttime_left"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MatchHarness harness;
        UseProfile(harness);
        const RunResult result = harness.PlayMatch(c.policy);
        ASSERT_TRUE(result.ok) << result.report;
        // Time passes: a finished match stays where it ended.
        const size_t ended = harness.Record().size();
        for (int i = 0; i < 300; ++i)
            harness.Step(16);
        for (size_t i = ended; i < harness.Record().size(); ++i)
            EXPECT_TRUE(harness.Record()[i].kind == Kind::Log) << harness.Record()[i].ToString();
        const std::vector<std::string> played = harness.SequencesPlayed();
        EXPECT_GE(Count(played, c.ending), 1);
        EXPECT_EQ(RuleBreaches(harness.Record(), 0), std::vector<std::string>{});
        // Player one answers each of its turns in time, the computer family within its waits.
        const int timeUps = Count(played, "time_is_up") + Count(played, "strike1_TimeUp") +
                            Count(played, "strike2_TimeUp") + Count(played, "strike3_TimeUp");
        EXPECT_EQ(timeUps > 0, c.policy.answerSeconds > 0) << timeUps;
        QZ2011GameContext& context = harness.Context();
        const u32 money = GameShow::PlayerProfileManager::Instance()->GetProfile(0)->Score;
        if (std::string(c.ending) == "end_game_loose") {
            EXPECT_EQ(context.m_GamePhase, QZ2011::PhaseGameEnd);
            EXPECT_EQ(played.back(), "end_game_loose");
            EXPECT_EQ(money, 0u);
            continue;
        }
        EXPECT_EQ(context.m_GamePhase, QZ2011::PhaseGameOver);
        const bool big = context.m_FastMoneyTotal >= 200;
        EXPECT_EQ(Count(played, "end_game_20k_win_left"), big ? 1 : 0) << context.m_FastMoneyTotal;
        EXPECT_EQ(Count(played, "end_game_normal_win_left"), big ? 0 : 1) << context.m_FastMoneyTotal;
        EXPECT_EQ(money, big ? 20000u : u32(5 * context.m_FastMoneyTotal));
        EXPECT_EQ(played.back(), "end_game_see_you_nexttime_left");
        if (c.policy.answerSeconds) {
            // Every computer turn ended at its time-up: none of its answers was judged.
            EXPECT_EQ(std::count_if(harness.Record().begin(), harness.Record().end(),
                                    [](const RecordEntry& e) { return e.kind == Kind::Event && e.text == "computer"; }),
                      0);
        }
    }
}

// Twenty matches with a random policy and seed for player one, the decades in turn: each ends
// without a stall and keeps the rules. Five shards of four runs, so that each stays well within
// a test's time.
std::vector<MatchPolicy> RandomPolicies() {
    std::mt19937 draw(2026);
    auto percent = [&](int low) { return low + int(draw() % uint32_t(101 - low)); };
    std::vector<MatchPolicy> policies(20);
    for (MatchPolicy& policy : policies) {
        policy.decade = uint32_t(&policy - policies.data()) % 4;
        policy.seed = draw();
        policy.buzzPercent = percent(30);
        policy.rightPercent = percent(40);
        policy.silentPercent = int(draw() % 15);
        policy.playPercent = percent(0);
        policy.clickConfirmPercent = percent(0);
        policy.stealRightPercent = percent(0);
        policy.firstPlayer = MatchPolicy::FastMoney(draw() % 4);
        policy.secondPlayer = MatchPolicy::FastMoney(draw() % 4);
    }
    return policies;
}

class RandomMatches : public ::testing::TestWithParam<int> {};

TEST_P(RandomMatches, ReachTheirEnds) {
    const std::vector<MatchPolicy> policies = RandomPolicies();
    for (int run = GetParam() * 4; run < GetParam() * 4 + 4; ++run) {
        const MatchPolicy& policy = policies[size_t(run)];
        SCOPED_TRACE("seed " + std::to_string(policy.seed) + ", decade " + std::to_string(policy.decade));
        MatchHarness harness;
        UseProfile(harness);
        const RunResult result = harness.PlayMatch(policy);
        ASSERT_TRUE(result.ok) << result.report;
        EXPECT_EQ(RuleBreaches(harness.Record(), int(policy.decade)), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(WholeMatch, RandomMatches, ::testing::Range(0, 5));

// A bank whose 70s questions alternate between no answers, ten answers and their own: matches
// neither stall nor read out of bounds.
TEST(WholeMatch, QuestionsWithoutAnswersOrWithMoreThanEightNeitherStallNorCrash) {
    for (uint32_t seed : {7u, 8u}) {
        SCOPED_TRACE(seed);
        MatchHarness harness;
        harness.ChangeBank([](qbank::Bank& bank) {
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
        });
        MatchPolicy policy{seed};
        policy.rightPercent = 70;
        UseProfile(harness);
        const RunResult result = harness.PlayMatch(policy);
        ASSERT_TRUE(result.ok) << result.report;
        EXPECT_EQ(RuleBreaches(harness.Record(), 0), std::vector<std::string>{});
        const std::vector<std::string> played = harness.SequencesPlayed();
        EXPECT_GE(Count(played, "buzz1_left"), 1);
        EXPECT_GE(Count(played, "buzz8_left"), 1);
    }
}
