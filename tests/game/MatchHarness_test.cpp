#include "tests/support/MatchHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/audio/AGAudioSound.h"
#include "engine/core/AGMemory.h"
#include "engine/core/Crc32Hash.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZApplicationData.h"
#include "game/presentation/QZStageProps.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/ApplicationData.h"
#include "gameservices/game/TeamActionManager.h"
#include "questions/QuestionManager.h"

using namespace match;
using GameServices::KorvoGame::ApplicationData;

namespace {

constexpr const char* kMatchKinds[] = {"QZCharacter", "Board",      "ScoreBoard",     "ScoreDesk",
                                       "BuzzerLight", "StageProps", "GameShowCameras"};

int Count(const std::vector<std::string>& lines, const std::string& line) {
    return int(std::count(lines.begin(), lines.end(), line));
}

// The opening of every scripted match, up to player 1's buzz in the first face-off.
std::vector<ScriptStep> Opening() { return {StartMatch(), WaitPhase(QZ2011::PhaseFaceOffBuzz), Buzz()}; }

// Face-off won with the top answer, then play: the round's answers begin.
std::vector<ScriptStep> WonFaceOffAndPlay() {
    std::vector<ScriptStep> steps = Opening();
    for (const ScriptStep& step :
         {WaitEvent(5), Type(Typed::TopAnswer), Submit(), WaitPhase(QZ2011::PhasePlayOrPass), PlayOrPass(true)})
        steps.push_back(step);
    return steps;
}

std::vector<std::string> OpeningSequences(int answers) {
    return {"Intro",         "left_pose",     "left_intro", "right_pose70Easy", "right_intro", "faceoff_round1",
            "buzz" + std::to_string(answers) + "_left", "host_number_answer_left"};
}

template <typename T>
std::vector<T> Join(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

u32 QuestionAnswers(MatchHarness& harness) {
    QZ2011::QuestionManager* questions = harness.Context().GetQuestionManager();
    QZ2011::Question* question = questions ? questions->CurrentQuestion() : nullptr;
    return question ? question->AnswerCount() : 0;
}

}  // namespace

// The sample 70s match level entered through the game flow, left and entered again ten times:
// the level start finds and names the whole stage each time, and nothing of an earlier entry
// is left behind (listeners, sequences, factories, pools).
TEST(MatchHarness, EntersAndLeavesTheSample70sLevelTenTimes) {
    MatchHarness harness;
    ASSERT_TRUE(harness.Start(7)) << harness.Failure();
    QZ2011GameContext& context = harness.Context();
    auto& connected = GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent();
    auto& lost = GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent();
    const size_t connectedBefore = connected.Count(), lostBefore = lost.Count();
    auto* factories = GameServices::Entities::GameEntityFactory::Instance();
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    u64 heapSettled = 0;
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
            context.m_GamePhase = QZ2011::PhaseFaceOffBuzz;
            context.m_BuzzOwner = -1;
            GameServices::KorvoGame::TeamActionData data(nullptr, 0, harness.PlayerOne());
            context.GetTeamActionManager()->SimulateTeamAction(&data, "BuzzSinglePlayer");
            EXPECT_EQ(context.m_BuzzOwner, -1);
            ++loadingBuzzes;
        };
        ASSERT_TRUE(harness.EnterLevel(MatchHarness::kMatchLevel70, buzzWhileLoading)) << harness.Failure();
        EXPECT_GT(loadingBuzzes, 0);
        // Started: the same buzz is taken.
        context.m_GamePhase = QZ2011::PhaseFaceOffBuzz;
        GameServices::KorvoGame::TeamActionData buzz(nullptr, 0, harness.PlayerOne());
        context.GetTeamActionManager()->SimulateTeamAction(&buzz, "BuzzSinglePlayer");
        EXPECT_EQ(context.m_BuzzOwner, 0);
        // Taken once: the mode listens to each team action once however often it entered.
        int buzzEvents = 0;
        for (size_t i = recordBefore; i < harness.Record().size(); ++i)
            buzzEvents += harness.Record()[i].ToString() == "event 0" ? 1 : 0;
        EXPECT_EQ(buzzEvents, 1);
        context.m_GamePhase = QZ2011::PhaseNone;
        QZ2011::QZ11Game& match = harness.Match();
        GameServices::Entities::Set* set = match.GetSet();
        ASSERT_NE(set, nullptr);

        // The level's kinds made the stage's entities, with the mode's records.
        for (const char* kind : kMatchKinds)
            EXPECT_NE(factories->GetFactory(kind), nullptr) << kind;
        EXPECT_NE(dynamic_cast<QZ2011::Board*>(set->FindProp("board_block_01")), nullptr);
        EXPECT_NE(dynamic_cast<QZ2011::QZApplicationDataLevel*>(ApplicationData::GetPrototype(ApplicationData::kLevel)),
                  nullptr);
        EXPECT_NE(ApplicationData::GetPrototype(ApplicationData::kProp), nullptr);
        EXPECT_NE(ApplicationData::GetPrototype(ApplicationData::kCharacter), nullptr);
        EXPECT_NE(ApplicationData::GetPrototype(ApplicationData::kCamera), nullptr);
        // The decade's stage is shown, every name is found, the tuning reached the context.
        GameServices::Entities::SetElement* stage = set->FindSetElement("Stage70");
        EXPECT_TRUE(stage && stage->Visible);
        for (size_t i = recordBefore; i < harness.Record().size(); ++i)
            EXPECT_EQ(harness.Record()[i].text.find("can't find"), std::string::npos) << harness.Record()[i].text;
        const struct { const char* prop; const char* name; } blocks[] = {
            {"board_block_01", "Block_01"},   {"board_block_08", "Block_08"},       {"board_block_dt_01", "Block_dt_01"},
            {"board_block_dt_06", "Block_dt_06"}, {"buzzer_top_left", "BuzzerLeft"}, {"buzzer_top_right", "BuzzerRight"}};
        for (const auto& block : blocks) {
            auto* board = dynamic_cast<QZ2011::Board*>(set->FindProp(block.prop));
            EXPECT_TRUE(board && board->PartName == block.name) << block.prop;
        }
        EXPECT_EQ(context.m_NumberOfAnswers, 8u);
        EXPECT_EQ(context.m_QuestionRoundTime, 30u);
        EXPECT_EQ(context.m_FastMoneyFirstTime, 20u);
        EXPECT_EQ(context.m_FastMoneySecondTime, 25u);
        // The show clock runs, its sequencers are bound to the stage, the phase step listens.
        EXPECT_TRUE(sequences->IsEnabled());
        EXPECT_EQ(context.GetCameraSequencer()->GetSet(), set);
        EXPECT_EQ(context.GetGameShowCameraSequencer()->GetSet(), set);
        EXPECT_EQ(context.GetAudioManager()->GetSequenceManager(), sequences);
        EXPECT_EQ(context.GetAudioSequencer()->GetAudioManager(), context.GetAudioManager());
        // One subscription each: the phase step and the harness's own listener on the ended
        // event; the recorder and the screen on each event; one device listener each.
        EXPECT_EQ(sequences->GetSequenceEndedEvent().Count(), 2u);
        for (int i = 0; i < 23; ++i)
            EXPECT_EQ(match.Event(i).Count(), 2u) << i;
        EXPECT_EQ(connected.Count(), connectedBefore + 1);
        EXPECT_EQ(lost.Count(), lostBefore + 1);
        // The show's table, each sequence once.
        EXPECT_EQ(sequences->GetSequenceCount(), 85u);
        for (const auto& [file, name] : QZ2011::QZ11Game::InGameSequences())
            EXPECT_NE(sequences->FindSequence(Crc32Hash(name)), nullptr) << file;

        ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
        EXPECT_EQ(sequences->GetSequenceCount(), 0u);
        EXPECT_EQ(sequences->GetSequenceEndedEvent().Count(), 0u);
        // The sequencers and the game audio let go of the stage.
        EXPECT_EQ(context.GetCameraSequencer()->GetSet(), nullptr);
        EXPECT_EQ(context.GetGameShowCameraSequencer()->GetSet(), nullptr);
        EXPECT_EQ(context.GetAudioSequencer()->GetAudioManager(), nullptr);
        EXPECT_EQ(context.GetAudioManager()->GetSequenceManager(), nullptr);
        EXPECT_EQ(connected.Count(), connectedBefore);
        EXPECT_EQ(lost.Count(), lostBefore);
        for (int i = 0; i < 24; ++i)
            EXPECT_EQ(match.Event(i).Count(), 0u) << i;
        // Only the stage-prop pool outlives the level, until the next match replaces it.
        for (const char* kind : kMatchKinds)
            EXPECT_EQ(factories->GetFactory(kind) != nullptr, std::string(kind) == "StageProps") << kind;
        // No pool of an earlier entry stays allocated. The heap may still take a new chunk for
        // a size class now and then; a pool kept at each entry would add at least its own
        // entities' bytes every cycle, seven pools between the third cycle and the last.
        const u64 heap = GetHeapCounters().current;
        if (cycle == 2)
            heapSettled = heap;
        if (cycle == 9) {
            EXPECT_LT(heap, heapSettled + 4 * 30 * sizeof(QZ2011::QZStageProps)) << "grew by " << heap - heapSettled;
        }
    }
}

// Sound is mixed in simulated time: a 300 ms tone played during the match ends, and calls
// back once, after 300 simulated milliseconds of steps.
TEST(MatchHarness, SoundsEndAfterTheirLengthInSimulatedTime) {
    MatchHarness harness;
    harness.AddSound("Blip", 300);
    ASSERT_TRUE(harness.Start(5)) << harness.Failure();
    ASSERT_TRUE(harness.EnterLevel()) << harness.Failure();
    AGAudioSound sound;
    ASSERT_TRUE(sound.Open("blip.snd"));
    int finished = 0;
    sound.SetEndCallback([](void* count) { ++*static_cast<int*>(count); }, &finished);
    const uint64_t start = harness.NowMs();
    sound.Play();
    while (!finished && harness.NowMs() - start < 2000)
        harness.Step(16);
    const uint64_t elapsed = harness.NowMs() - start;
    EXPECT_EQ(finished, 1);
    EXPECT_GE(elapsed, 288u);
    EXPECT_LE(elapsed, 352u);
    for (int i = 0; i < 10; ++i)
        harness.Step(16);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(sound.GetState() & AGAudioVoice::kStatePlaying, 0u);
}

// The match mode goes with its context: the records it published as prototypes go with it,
// none is left for a later level to copy.
TEST(MatchHarness, ADestroyedMatchModeWithdrawsItsPrototypes) {
    const ApplicationData::Kind kinds[] = {ApplicationData::kLevel, ApplicationData::kCharacter,
                                           ApplicationData::kCamera, ApplicationData::kProp};
    {
        MatchHarness harness;
        ASSERT_TRUE(harness.Start(3)) << harness.Failure();
        ASSERT_TRUE(harness.EnterLevel()) << harness.Failure();
        ASSERT_TRUE(harness.LeaveLevel()) << harness.Failure();
        for (ApplicationData::Kind kind : kinds)
            EXPECT_NE(ApplicationData::GetPrototype(kind), nullptr) << kind;
    }
    for (ApplicationData::Kind kind : kinds)
        EXPECT_EQ(ApplicationData::GetPrototype(kind), nullptr) << kind;
}

// A single-player round from the show's opening to the next round's opening: the face-off won
// with the top answer, play, every other answer found, the round won.
TEST(MatchHarness, CleanRoundPlaysToTheNextRoundsOpening) {
    MatchHarness harness;
    Script script;
    script.seed = 11;
    script.steps = Join(WonFaceOffAndPlay(), {AnswerRemaining(), WaitSequence("faceoff_round2")});
    const RunResult result = harness.Play(script);
    ASSERT_TRUE(result.ok) << result.report;
    const int answers = int(QuestionAnswers(harness));
    ASSERT_GE(answers, 2);

    using namespace QZ2011;
    EXPECT_EQ(harness.PhaseWrites(),
              (std::vector<int>{PhaseShowStart, PhaseLeftFamilyPose, PhaseLeftFamilyIntro, PhaseRightFamilyPose,
                                PhaseRightFamilyIntro, PhaseRoundIntro, PhaseFaceOffQuestion, PhaseFaceOffBuzz,
                                PhaseFaceOffFirstAnswer, PhaseFaceOffWon, PhasePlayOrPass, PhaseRoundAnswers,
                                PhaseRoundComplete, PhaseRoundWon, PhaseRoundIntro}));
    std::vector<std::string> expected =
        Join(OpeningSequences(answers), {"right_answer_faceoff", "playOrPassLeft", "transitionLeftFamily",
                                         "otherTeamAnswerLeft"});
    for (int i = 1; i < answers; ++i) {
        expected.push_back("preanswer_round");
        expected.push_back("right_answer_round");
        if (i + 1 < answers)
            expected.push_back("otherTeamAnswerLeft");
    }
    expected.push_back("round_won_left");
    expected.push_back("faceoff_round2");
    EXPECT_EQ(harness.SequencesPlayed(), expected);
    // The bank went to player 1's family, single.
    EXPECT_GT(harness.Context().m_PlayerOneFamily->m_Score, 0);
    EXPECT_EQ(harness.Context().m_ComputerFamily->m_Score, 0);
    EXPECT_EQ(harness.Context().m_RoundCounter, 2);
    // Events: one buzz, one face-off won, an answer entered and a result for each answer.
    const std::vector<std::string> events = harness.Lines({RecordEntry::Kind::Event});
    EXPECT_EQ(Count(events, "event 0"), 1);
    EXPECT_EQ(Count(events, "event 8"), 1);
    EXPECT_EQ(Count(events, "event 3"), answers);
    EXPECT_EQ(Count(events, "event 17"), answers);
    for (int spare : {1, 2, 12, 21, 22, 23})
        EXPECT_EQ(Count(events, "event " + std::to_string(spare)), 0) << spare;
}

// Three strikes, the computer family's failed steal, the reveal of every answer left, and the
// round won by the family that played it.
TEST(MatchHarness, StealRevealsTheRestAndWinsTheRound) {
    MatchHarness harness;
    Script script;
    script.seed = 12;
    script.steps = WonFaceOffAndPlay();
    for (int strike = 0; strike < 3; ++strike)
        for (const ScriptStep& step : {WaitEvent(7), Type(Typed::WrongAnswer), Submit()})
            script.steps.push_back(step);
    for (const ScriptStep& step : {WaitEvent(16), WaitSequence("transitionRightFamily03"), Pass(200),
                                   ComputerAnswer(false), WaitSequence("faceoff_round2")})
        script.steps.push_back(step);
    const RunResult result = harness.Play(script);
    ASSERT_TRUE(result.ok) << result.report;
    const int answers = int(QuestionAnswers(harness));

    using namespace QZ2011;
    std::vector<int> phases = {PhaseShowStart,   PhaseLeftFamilyPose, PhaseLeftFamilyIntro,   PhaseRightFamilyPose,
                               PhaseRightFamilyIntro, PhaseRoundIntro, PhaseFaceOffQuestion, PhaseFaceOffBuzz,
                               PhaseFaceOffFirstAnswer, PhaseFaceOffWon, PhasePlayOrPass, PhaseRoundAnswers,
                               PhaseSteal, PhaseStealResult, PhaseRevealOthers};
    // Every answer but the face-off's top one is revealed one by one; the step that finds none
    // left writes the phase once more before the round completes.
    for (int i = 1; i <= answers; ++i)
        phases.push_back(PhaseRevealRemaining);
    for (int phase : {PhaseRoundComplete, PhaseRoundWon, PhaseRoundIntro})
        phases.push_back(phase);
    EXPECT_EQ(harness.PhaseWrites(), phases);

    std::vector<std::string> expected =
        Join(OpeningSequences(answers), {"right_answer_faceoff", "playOrPassLeft", "transitionLeftFamily",
                                         "otherTeamAnswerLeft", "preanswer_round", "strike1", "otherTeamAnswerLeft",
                                         "preanswer_round", "strike2", "otherTeamAnswerLeft", "preanswer_round",
                                         "strike3", "transitionRightFamily03", "preanswer_round",
                                         "steal_fail_right", "reveal_others"});
    const std::vector<std::string> played = harness.SequencesPlayed();
    for (int k = 2; k <= answers; ++k)
        expected.push_back("reveal_answer" + std::to_string(k));
    for (const char* name : {"blank", "round_won_left", "faceoff_round2"})
        expected.push_back(name);
    EXPECT_EQ(played, expected);
    const std::vector<std::string> events = harness.Lines({RecordEntry::Kind::Event});
    EXPECT_EQ(Count(events, "event 16"), 1);
    EXPECT_EQ(Count(events, "event 19"), 1);
    EXPECT_GT(harness.Context().m_PlayerOneFamily->m_Score, 0);
}

// Both families miss the face-off: the first family answers again; both miss again and the
// round opening is played again with a new question.
TEST(MatchHarness, DoubleFaceOffMissReplaysTheFaceOffThenTheRoundOpening) {
    MatchHarness harness;
    Script script;
    script.seed = 13;
    script.steps = Opening();
    for (int replay = 0; replay < 2; ++replay)
        for (const ScriptStep& step : {WaitEvent(replay == 0 ? 5 : 7), Type(Typed::WrongAnswer), Submit(),
                                       WaitEvent(7), ComputerAnswer(false)})
            script.steps.push_back(step);
    script.steps.push_back(WaitSequence("faceoff_round1"));
    const RunResult result = harness.Play(script);
    ASSERT_TRUE(result.ok) << result.report;

    using namespace QZ2011;
    EXPECT_EQ(harness.PhaseWrites(),
              (std::vector<int>{PhaseShowStart, PhaseLeftFamilyPose, PhaseLeftFamilyIntro, PhaseRightFamilyPose,
                                PhaseRightFamilyIntro, PhaseRoundIntro, PhaseFaceOffQuestion, PhaseFaceOffBuzz,
                                PhaseFaceOffFirstAnswer, PhaseFaceOffSecondAnswer, PhaseFaceOffFirstAnswer,
                                PhaseFaceOffSecondAnswer, PhaseRoundIntro}));
    const std::vector<std::string> played = harness.SequencesPlayed();
    ASSERT_GE(played.size(), 8u);
    const std::vector<std::string> tail(played.begin() + 8, played.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"wrong_answer_faceoff", "otherTeamAnswerRight", "wrong_answer_faceoff",
                                              "otherTeamAnswerLeft", "wrong_answer_faceoff", "otherTeamAnswerRight",
                                              "wrong_answer_faceoff", "faceoff_round1"}));
    EXPECT_EQ(harness.Context().m_RoundCounter, 1);
}

// The same script from the same seed gives the same record, log lines included.
TEST(MatchHarness, SameSeedSameRecord) {
    std::vector<std::string> records[2];
    for (auto& record : records) {
        MatchHarness harness;
        Script script;
        script.seed = 99;
        script.steps = Join(WonFaceOffAndPlay(), {AnswerRemaining(), WaitSequence("faceoff_round2")});
        const RunResult result = harness.Play(script);
        ASSERT_TRUE(result.ok) << result.report;
        for (const RecordEntry& entry : harness.Record())
            record.push_back(std::to_string(entry.timeMs) + " " + entry.ToString());
    }
    EXPECT_EQ(records[0], records[1]);
}

// A script that never answers in the round stalls: the report names where the match stands.
TEST(MatchHarness, WithheldAnswerTripsTheStallDetector) {
    {
        MatchHarness harness;
        Script script;
        script.steps = Join(WonFaceOffAndPlay(), {WaitPhase(QZ2011::PhaseSteal)});
        const RunResult result = harness.Play(script);
        ASSERT_FALSE(result.ok);
        EXPECT_NE(result.report.find("stalled: nothing moved for 20 s while waiting for phase 13"), std::string::npos)
            << result.report;
        EXPECT_NE(result.report.find("phase 12, round 1"), std::string::npos) << result.report;
        EXPECT_NE(result.report.find("current sequence none"), std::string::npos) << result.report;
        EXPECT_NE(result.report.find("transitionLeftFamily otherTeamAnswerLeft"), std::string::npos) << result.report;
        EXPECT_NE(result.report.find("entry open 1"), std::string::npos) << result.report;
        // Twenty simulated seconds after the last move, not one step earlier.
        uint64_t lastMove = 0;
        for (const RecordEntry& entry : harness.Record())
            if (entry.kind != RecordEntry::Kind::Log)
                lastMove = entry.timeMs;
        EXPECT_GE(harness.NowMs(), lastMove + MatchHarness::kStallMs);
        EXPECT_LE(harness.NowMs(), lastMove + MatchHarness::kStallMs + 200);
    }
    // A wait's own limit ends a run too (one harness at a time: the game is one world).
    MatchHarness limited;
    Script waits;
    waits.steps = {StartMatch(), WaitPhase(QZ2011::PhaseFaceOffBuzz, 300)};
    const RunResult late = limited.Play(waits);
    ASSERT_FALSE(late.ok);
    EXPECT_NE(late.report.find("the wait for phase 7 passed its limit of 300 ms"), std::string::npos) << late.report;
}

// A whole main game: player 1's family wins three rounds clean, single, single and double
// points, each round's answers banked once; the third takes it past 300, so the round-won step
// plays "blank" and the next one goes to fast money on the left with the round counter at 4.
TEST(MatchHarness, ThreeCleanRoundsEndTheMainGameInFastMoney) {
    MatchHarness harness;
    ASSERT_TRUE(harness.Start(21)) << harness.Failure();
    ASSERT_TRUE(harness.EnterLevel()) << harness.Failure();
    QZ2011GameContext& context = harness.Context();
    i32 expected = 0;
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        Script script;
        script.steps = round == 1 ? Opening() : std::vector<ScriptStep>{WaitPhase(QZ2011::PhaseFaceOffBuzz), Buzz()};
        for (const ScriptStep& step :
             {WaitEvent(5), Type(Typed::TopAnswer), Submit(), WaitPhase(QZ2011::PhasePlayOrPass), PlayOrPass(true),
              AnswerRemaining(), WaitPhase(round < 3 ? QZ2011::PhaseRoundIntro : QZ2011::PhaseFastMoneyIntro)})
            script.steps.push_back(step);
        const RunResult result = harness.Run(script);
        ASSERT_TRUE(result.ok) << result.report;
        const QZ2011::Question* question = context.GetQuestionManager()->CurrentQuestion();
        ASSERT_NE(question, nullptr);
        for (u32 i = 0; i < question->AnswerCount(); ++i)
            expected += i32(question->GetAnswer(i).Value()) * (round == 3 ? 2 : 1);
        EXPECT_EQ(context.m_PlayerOneFamily->m_Score, expected);
        EXPECT_EQ(context.m_ComputerFamily->m_Score, 0);
        EXPECT_EQ(context.m_RoundBank, 0u);
    }
    ASSERT_TRUE(QZ2011::HasReachedEndScore(expected));
    EXPECT_EQ(context.m_RoundCounter, 4);
    const std::vector<std::string> played = harness.SequencesPlayed();
    ASSERT_GE(played.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(played.end() - 2, played.end()),
              (std::vector<std::string>{"blank", "fast_money_round_left"}));
    EXPECT_EQ(Count(played, "round_won_left"), 2);
    const std::vector<std::string> lines = harness.Lines({RecordEntry::Kind::Log});
    EXPECT_EQ(Count(lines, "log --+++ START TRIPLE ROUND +++--"), 1);
    EXPECT_EQ(Count(lines, "log --+++ START DOUBLE ROUND +++--"), 2);
}
