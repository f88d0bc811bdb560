#pragma once
// The show's sequences the game plays by name, each one of the in-game sequence table
// (QZ11GameDressing.cpp refuses to compile otherwise). A numbered family is its stem, a number
// from 1 to its count and its suffix ("strike" 1..3 "_TimeUp"); the right family's pose is
// its stem, a decade and a difficulty of the pose tables.
#include <string>

#include "engine/core/AGTypes.h"

namespace QZ2011 {

enum ShowSequence : u32 {
    kSeqIntro, kSeqLeftPose, kSeqRightPose, kSeqLeftIntro, kSeqRightIntro, kSeqFaceOffRound, kSeqSuddenDeath,
    kSeqBuzzLeft, kSeqHostNumberAnswerLeft, kSeqHostNumberAnswerRight, kSeqOtherTeamAnswerLeft,
    kSeqOtherTeamAnswerRight, kSeqOtherTeamAnswerRightParty, kSeqRightAnswerFaceOff, kSeqWrongAnswerFaceOff,
    kSeqTimeIsUp, kSeqPreAnswerRound, kSeqBlank, kSeqPlayOrPassLeft, kSeqPlayOrPassRight, kSeqPlayOrPassAILeft,
    kSeqPlayOrPassAIRight, kSeqTransitionLeftFamily, kSeqTransitionRightFamily, kSeqTransitionLeftFamily03,
    kSeqTransitionRightFamily03, kSeqRightAnswerRound, kSeqStealOk, kSeqStealFailLeft, kSeqStealFailRight,
    kSeqStrike, kSeqStrikeTimeUp, kSeqRevealAnswer, kSeqRevealOthers, kSeqRoundWonLeft, kSeqRoundWonRight,
    kSeqFastMoneyRoundLeft, kSeqFastMoneyRoundRight, kSeqFastMoneyRound2, kSeqFastMoneyReveal,
    kSeqFastMoneyRevealOthersLeft, kSeqFastMoneyRevealOthersRight, kSeqNormalWinLeft, kSeqNormalWinRight,
    kSeq20kWinLeft, kSeq20kWinRight, kSeqSeeYouLeft, kSeqSeeYouRight, kSeqLoose, kShowSequenceCount
};

struct ShowSequenceName {
    const char* stem;
    u32 count;  // 0: not numbered
    const char* suffix;
};

inline constexpr ShowSequenceName kShowSequences[kShowSequenceCount] = {
    {"Intro", 0, ""},
    {"left_pose", 0, ""},
    {"right_pose", 0, ""},
    {"left_intro", 0, ""},
    {"right_intro", 0, ""},
    {"faceoff_round", 4, ""},
    {"SuddenDeath", 0, ""},
    {"buzz", 8, "_left"},
    {"host_number_answer_left", 0, ""},
    {"host_number_answer_right", 0, ""},
    {"otherTeamAnswerLeft", 0, ""},
    {"otherTeamAnswerRight", 0, ""},
    {"otherTeamAnswerRight_Party", 0, ""},
    {"right_answer_faceoff", 0, ""},
    {"wrong_answer_faceoff", 0, ""},
    {"time_is_up", 0, ""},
    {"preanswer_round", 0, ""},
    {"blank", 0, ""},
    {"playOrPassLeft", 0, ""},
    {"playOrPassRight", 0, ""},
    {"play_or_pass_AI_left", 0, ""},
    {"play_or_pass_AI_right", 0, ""},
    {"transitionLeftFamily", 0, ""},
    {"transitionRightFamily", 0, ""},
    {"transitionLeftFamily03", 0, ""},
    {"transitionRightFamily03", 0, ""},
    {"right_answer_round", 0, ""},
    {"steal_ok", 0, ""},
    {"steal_fail_left", 0, ""},
    {"steal_fail_right", 0, ""},
    {"strike", 3, ""},
    {"strike", 3, "_TimeUp"},
    {"reveal_answer", 8, ""},
    {"reveal_others", 0, ""},
    {"round_won_left", 0, ""},
    {"round_won_right", 0, ""},
    {"fast_money_round_left", 0, ""},
    {"fast_money_round_right", 0, ""},
    {"fast_money_round2", 0, ""},
    {"fast_money_round_reveal", 5, ""},
    {"fast_money_round_reveal_others_left", 0, ""},
    {"fast_money_round_reveal_others_right", 0, ""},
    {"end_game_normal_win_left", 0, ""},
    {"end_game_normal_win_right", 0, ""},
    {"end_game_20k_win_left", 0, ""},
    {"end_game_20k_win_right", 0, ""},
    {"end_game_see_you_nexttime_left", 0, ""},
    {"end_game_see_you_nexttime_right", 0, ""},
    {"end_game_loose", 0, ""},
};

// The decades and difficulties of the right family's pose sequences.
inline constexpr const char* kPoseSequenceDecades[4] = {"70", "80", "90", "00"};
inline constexpr const char* kPoseSequenceDifficulties[3] = {"Easy", "Med", "Hard"};

// An unnumbered sequence's name.
constexpr const char* ShowSequenceStem(ShowSequence sequence) { return kShowSequences[sequence].stem; }

// A sequence's name; a numbered family's number-th (1-based). A number outside the family
// gives the stem and suffix alone, which no sequence holds.
inline std::string SequenceName(ShowSequence sequence, u32 number = 0) {
    if (sequence >= kShowSequenceCount)
        return std::string();
    const ShowSequenceName& name = kShowSequences[sequence];
    std::string text = name.stem;
    if (name.count && number >= 1 && number <= name.count)
        text += std::to_string(number);
    return text + name.suffix;
}

}  // namespace QZ2011
