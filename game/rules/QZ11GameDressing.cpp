#include <cstring>
#include <initializer_list>
#include <string_view>
#include <iterator>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZStageProps.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/ShowSequences.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "questions/Question.h"
#include "questions/QuestionManager.h"

namespace QZ2011 {

namespace {

// File and sequence names follow no common rule (case and wording differ within one family),
// so each pair is written out as the package holds it.
constexpr std::array<std::pair<const char*, const char*>, 85> kInGameSequences{{
    // Show opening, family poses and introductions.
    {"sequence_intro.xml", "Intro"},
    {"sequence_family_left_pose.xml", "left_pose"},
    {"sequence_family_left_intro.xml", "left_intro"},
    {"sequence_Family_Right_Pose70Easy.xml", "right_pose70Easy"},
    {"sequence_Family_Right_Pose70Med.xml", "right_pose70Med"},
    {"sequence_Family_Right_Pose70Hard.xml", "right_pose70Hard"},
    {"sequence_family_right_pose80Easy.xml", "right_pose80Easy"},
    {"sequence_family_right_pose80Med.xml", "right_pose80Med"},
    {"sequence_family_right_pose80Hard.xml", "right_pose80Hard"},
    {"sequence_family_right_pose90Easy.xml", "right_pose90Easy"},
    {"sequence_family_right_pose90Med.xml", "right_pose90Med"},
    {"sequence_family_right_pose90Hard.xml", "right_pose90Hard"},
    {"sequence_Family_Right_Pose00Easy.xml", "right_pose00Easy"},
    {"sequence_Family_Right_Pose00Med.xml", "right_pose00Med"},
    {"sequence_Family_Right_Pose00Hard.xml", "right_pose00Hard"},
    {"sequence_family_right_intro.xml", "right_intro"},
    // Face-off, host, play or pass, family transitions.
    {"sequence_faceoff_round1.xml", "faceoff_round1"},
    {"sequence_faceoff_round2.xml", "faceoff_round2"},
    {"sequence_faceoff_round3.xml", "faceoff_round3"},
    {"sequence_faceoff_round4.xml", "faceoff_round4"},
    {"sequence_buzz1_left.xml", "buzz1_left"},
    {"sequence_buzz2_left.xml", "buzz2_left"},
    {"sequence_buzz3_left.xml", "buzz3_left"},
    {"sequence_buzz4_left.xml", "buzz4_left"},
    {"sequence_buzz5_left.xml", "buzz5_left"},
    {"sequence_buzz6_left.xml", "buzz6_left"},
    {"sequence_buzz7_left.xml", "buzz7_left"},
    {"sequence_buzz8_left.xml", "buzz8_left"},
    {"sequence_real_buzz_left.xml", "host_number_answer_left"},
    {"sequence_real_buzz_right.xml", "host_number_answer_right"},
    {"sequence_otherteam_answer_right.xml", "otherTeamAnswerRight"},
    {"sequence_otherteam_answer_right_party.xml", "otherTeamAnswerRight_Party"},
    {"sequence_otherteam_answer_left.xml", "otherTeamAnswerLeft"},
    {"sequence_play_or_pass_Right.xml", "playOrPassRight"},
    {"sequence_play_or_pass_Left.xml", "playOrPassLeft"},
    {"sequence_transition_left_family.xml", "transitionLeftFamily"},
    {"sequence_transition_right_family.xml", "transitionRightFamily"},
    // Fast money and end of game.
    {"sequence_fast_money_round_left.xml", "fast_money_round_left"},
    {"sequence_fast_money_round_right.xml", "fast_money_round_right"},
    {"sequence_fast_money_round2.xml", "fast_money_round2"},
    {"sequence_fast_money_round_reveal1.xml", "fast_money_round_reveal1"},
    {"sequence_fast_money_round_reveal2.xml", "fast_money_round_reveal2"},
    {"sequence_fast_money_round_reveal3.xml", "fast_money_round_reveal3"},
    {"sequence_fast_money_round_reveal4.xml", "fast_money_round_reveal4"},
    {"sequence_fast_money_round_reveal5.xml", "fast_money_round_reveal5"},
    {"sequence_fast_money_round_reveal_others_left.xml", "fast_money_round_reveal_others_left"},
    {"sequence_fast_money_round_reveal_others_right.xml", "fast_money_round_reveal_others_right"},
    {"sequence_transition_left_family_03.xml", "transitionLeftFamily03"},
    {"sequence_transition_right_family_03.xml", "transitionRightFamily03"},
    {"sequence_end_game_normal_win_left.xml", "end_game_normal_win_left"},
    {"sequence_end_game_normal_win_right.xml", "end_game_normal_win_right"},
    {"sequence_end_game_20k_win_left.xml", "end_game_20k_win_left"},
    {"sequence_end_game_20k_win_right.xml", "end_game_20k_win_right"},
    {"sequence_see_you_nexttime_left.xml", "end_game_see_you_nexttime_left"},
    {"sequence_see_you_nexttime_right.xml", "end_game_see_you_nexttime_right"},
    // Answers, steal, strikes, rounds.
    {"sequence_right_answer_round.xml", "right_answer_round"},
    {"sequence_right_answer_faceoff.xml", "right_answer_faceoff"},
    {"sequence_wrong_answer_faceoff.xml", "wrong_answer_faceoff"},
    {"sequence_preanswer_round.xml", "preanswer_round"},
    {"sequence_time_is_up.xml", "time_is_up"},
    {"sequence_steal_ok.xml", "steal_ok"},
    {"sequence_steal_fail_left.xml", "steal_fail_left"},
    {"sequence_steal_fail_right.xml", "steal_fail_right"},
    {"sequence_sudden_death.xml", "SuddenDeath"},
    {"sequence_blank.xml", "blank"},
    {"sequence_reveal_answer1.xml", "reveal_answer1"},
    {"sequence_reveal_answer2.xml", "reveal_answer2"},
    {"sequence_reveal_answer3.xml", "reveal_answer3"},
    {"sequence_reveal_answer4.xml", "reveal_answer4"},
    {"sequence_reveal_answer5.xml", "reveal_answer5"},
    {"sequence_reveal_answer6.xml", "reveal_answer6"},
    {"sequence_reveal_answer7.xml", "reveal_answer7"},
    {"sequence_reveal_answer8.xml", "reveal_answer8"},
    {"sequence_reveal_others.xml", "reveal_others"},
    {"sequence_strike1.xml", "strike1"},
    {"sequence_strike2.xml", "strike2"},
    {"sequence_strike3.xml", "strike3"},
    {"sequence_strike1_TimeUp.xml", "strike1_TimeUp"},
    {"sequence_strike2_TimeUp.xml", "strike2_TimeUp"},
    {"sequence_strike3_TimeUp.xml", "strike3_TimeUp"},
    {"sequence_round_won_right.xml", "round_won_right"},
    {"sequence_round_won_left.xml", "round_won_left"},
    {"sequence_end_game_loose.xml", "end_game_loose"},
    {"sequence_play_or_pass_ai_right.xml", "play_or_pass_AI_right"},
    {"sequence_play_or_pass_ai_left.xml", "play_or_pass_AI_left"},
}};

// The table holds a sequence whose name is the pieces one after the other.
consteval bool Loaded(std::initializer_list<std::string_view> pieces) {
    for (const auto& [file, name] : kInGameSequences) {
        std::string_view rest = name;
        bool match = true;
        for (std::string_view piece : pieces) {
            match = match && rest.starts_with(piece);
            if (match)
                rest.remove_prefix(piece.size());
        }
        if (match && rest.empty())
            return true;
    }
    return false;
}

// Every sequence the game plays by name is one the match loads.
consteval bool EveryPlayedSequenceLoaded() {
    constexpr std::string_view kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (u32 s = 0; s < kShowSequenceCount; ++s) {
        const ShowSequenceName& name = kShowSequences[s];
        if (s == kSeqRightPose) {
            for (const char* decade : kPoseSequenceDecades)
                for (const char* difficulty : kPoseSequenceDifficulties)
                    if (!Loaded({name.stem, decade, difficulty}))
                        return false;
        } else if (name.count == 0) {
            if (!Loaded({name.stem, name.suffix}))
                return false;
        } else {
            for (u32 number = 1; number <= name.count; ++number)
                if (number >= std::size(kDigits) || !Loaded({name.stem, kDigits[number], name.suffix}))
                    return false;
        }
    }
    return true;
}
static_assert(EveryPlayedSequenceLoaded(), "a sequence the game plays is not in the in-game sequence table");

// Play modes of the behaviour file.
constexpr int kDressingModePause = 1;
constexpr int kDressingModeLoop = 4;
// The key a looping prop starts its animation from.
constexpr const char* kLoopKey = "startKey";

enum class Visibility { Keep, Hide, Show };
enum class Gesture { None, Loop, Freeze, Hold };

// What one look does to a prop: its visibility, then its animation.
struct Look {
    Visibility visibility;
    Gesture gesture;
    // The freeze or hold key.
    const char* key;
};

struct DressingRow {
    const char* const* props;
    size_t count;
    Look opening;
    Look inGame;
};

constexpr Look kHidden{Visibility::Hide, Gesture::None, nullptr};
constexpr Look kShown{Visibility::Show, Gesture::None, nullptr};
constexpr Look kShownLoop{Visibility::Show, Gesture::Loop, nullptr};
constexpr Look kLoop{Visibility::Keep, Gesture::Loop, nullptr};
constexpr Look kFreezePause{Visibility::Keep, Gesture::Freeze, "KeyPause"};
constexpr Look kFreezeStart{Visibility::Keep, Gesture::Freeze, kLoopKey};
constexpr Look kHoldLogo{Visibility::Keep, Gesture::Hold, "logo"};
constexpr Look kHoldEmpty{Visibility::Keep, Gesture::Hold, "empty"};

constexpr const char* kLightsInGame[] = {"board_lights_ingame"};
constexpr const char* kLightsIntro[] = {"board_lights_intro"};
constexpr const char* kScoreScreens00[] = {"board_score_screens"};
constexpr const char* kColours00[] = {"wall_1",
                                      "wall_2",
                                      "wall_3",
                                      "wall_top_color_1",
                                      "wall_top_color_2",
                                      "wall_top_color_3",
                                      "board_back_color",
                                      "arches_top_color_left",
                                      "arches_color",
                                      "floor_tiles_gradient",
                                      "arches_lights_3_left",
                                      "arches_lights_2_left",
                                      "arches_lights_1_left",
                                      "arches_lights_3_right",
                                      "arches_lights_2_right",
                                      "arches_lights_1_right"};
constexpr const char* kWallLights90[] = {"wall_lights_2_intro", "wall_lights_3_intro", "wall_lights_4_intro"};
constexpr const char* kScreens90[] = {"tv_screen_left", "tv_screen_right"};
constexpr const char* kColours90[] = {"windows_color_01",
                                      "windows_color_02",
                                      "windows_color_03",
                                      "lights_board",
                                      "lightbeam_mobil_wide_07",
                                      "lightbeam_mobil_wide_reflect_01",
                                      "spotmobil_top_07",
                                      "spotmobil_top_reflect_01",
                                      "lightbeam_mobil_wide_02",
                                      "spotmobil_top_02",
                                      "lightbeam_mobil_wide_01",
                                      "spotmobil_top_01",
                                      "lightbeam_mobil_wide_03",
                                      "spotmobil_top_03",
                                      "lightbeam_mobil_wide_05",
                                      "spotmobil_top_04",
                                      "lightbeam_mobil_wide_04",
                                      "spotmobil_top_05",
                                      "lightbeam_mobil_wide_06",
                                      "spotmobil_top_06",
                                      "lightbeam_mobil_wide_08",
                                      "spotmobil_top_08",
                                      "lightbeam_mobil_wide_reflect_02",
                                      "spotmobil_top_reflect_02"};
constexpr const char* kDeskTops80[] = {"desk_side_top_left", "desk_side_top_right"};
constexpr const char* kDeskDigits80[] = {"desk_digit_0", "desk_digit_left", "desk_digit_right"};
constexpr const char* kScreenLogo[] = {"board_screenlogo"};

#define ROW(props, opening, inGame) {props, std::size(props), opening, inGame}

constexpr DressingRow kCommonRows[] = {ROW(kLightsInGame, kHidden, kShown), ROW(kLightsIntro, kShownLoop, kHidden)};
constexpr DressingRow k70sRows[] = {ROW(kScreenLogo, kShownLoop, kHidden)};
constexpr DressingRow k80sRows[] = {ROW(kDeskTops80, kLoop, kFreezeStart), ROW(kDeskDigits80, kHidden, kShown)};
constexpr DressingRow k90sRows[] = {ROW(kWallLights90, kShownLoop, kHidden), ROW(kScreens90, kHoldLogo, kHoldEmpty),
                                    ROW(kColours90, kLoop, kFreezePause)};
constexpr DressingRow k00sRows[] = {ROW(kScoreScreens00, kHoldLogo, kHoldEmpty), ROW(kColours00, kLoop, kFreezePause)};

#undef ROW

void ApplyLook(QZ11Game& game, GameServices::Entities::Set* set, const char* name, const Look& look) {
    GameServices::Entities::Prop* prop = set ? set->FindProp(name) : nullptr;
    if (!prop) {
        game.ReportMissing(name);
        return;
    }
    if (look.visibility != Visibility::Keep)
        prop->SetVisible(look.visibility == Visibility::Show);
    if (look.gesture != Gesture::None) {
        if (BehaviorStage* stage = GetStageBehavior(prop)) {
            switch (look.gesture) {
            case Gesture::Loop:
                BehaviorStage::PlayAnimation(kLoopKey, stage, kDressingModeLoop);
                break;
            case Gesture::Freeze:
                BehaviorStage::PlayAnimation(look.key, stage, kDressingModePause);
                break;
            case Gesture::Hold:
                stage->SetRequestedKey(look.key);
                break;
            case Gesture::None:
                break;
            }
        } else {
            AGReport("QZ11Game : '%s' has no stage behaviour", name);
        }
    }
    if (look.visibility != Visibility::Keep)
        prop->Synchronize = false;
}

template <size_t N>
void ApplyRows(QZ11Game& game, GameServices::Entities::Set* set, const DressingRow (&rows)[N], bool inGame) {
    for (const DressingRow& row : rows)
        for (size_t i = 0; i < row.count; ++i)
            ApplyLook(game, set, row.props[i], inGame ? row.inGame : row.opening);
}

// The common rows, then the decade's branch; the 80s stage also carries the 70s rows.
void Dress(bool inGame) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    QZ11Game& game = context->GetMatchMode();
    GameServices::Entities::Set* set = context->GetCurrentLevel();
    ApplyRows(game, set, kCommonRows, inGame);
    switch (context->m_Decade) {
    case 0:
        ApplyRows(game, set, k70sRows, inGame);
        break;
    case 1:
        ApplyRows(game, set, k80sRows, inGame);
        ApplyRows(game, set, k70sRows, inGame);
        break;
    case 2:
        ApplyRows(game, set, k90sRows, inGame);
        break;
    case 3:
        ApplyRows(game, set, k00sRows, inGame);
        break;
    default:
        break;
    }
}

// The rows of one decade's stage, as Dress applies them.
template <size_t N>
void AddRows(const DressingRow (&rows)[N], std::vector<QZ11Game::StageProp>& props) {
    auto keyOf = [](const Look& look) -> const char* {
        return look.gesture == Gesture::Loop ? kLoopKey : look.gesture == Gesture::None ? nullptr : look.key;
    };
    for (const DressingRow& row : rows)
        for (size_t i = 0; i < row.count; ++i) {
            QZ11Game::StageProp prop{row.props[i], nullptr, {}};
            for (const Look* look : {&row.opening, &row.inGame})
                if (const char* key = keyOf(*look))
                    prop.keys.push_back(key);
            if (!prop.keys.empty())
                prop.kind = QZ11Game::kKinds[QZ11Game::kStageKind].kind;
            props.push_back(std::move(prop));
        }
}

}  // namespace

void QZ11Game::AddDressedProps(u32 decade, std::vector<StageProp>& props) {
    AddRows(kCommonRows, props);
    switch (decade) {
    case 0:
        AddRows(k70sRows, props);
        break;
    case 1:
        AddRows(k80sRows, props);
        AddRows(k70sRows, props);
        break;
    case 2:
        AddRows(k90sRows, props);
        break;
    case 3:
        AddRows(k00sRows, props);
        break;
    default:
        break;
    }
}

const std::array<std::pair<const char*, const char*>, 85>& QZ11Game::InGameSequences() { return kInGameSequences; }

void QZ11Game::LoadInGameSequences() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    GameShow::SequenceManager* sequences = context ? context->GetSequenceManager() : nullptr;
    if (!sequences) {
        AGReport("QZ11Game : no sequence manager to load the show's sequences into");
        return;
    }
    // The package is held only while the files are read; the sequences stay.
    GameServices::Bridge::FileSystem::LoadPackage(QZ11Game::kSequencePackage, false);
    for (const auto& [file, name] : kInGameSequences)
        sequences->LoadSequence(name, file);
    GameServices::Bridge::FileSystem::UnloadPackage(QZ11Game::kSequencePackage);
}

void QZ11Game::HoldScreenLogos() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    auto hold = [this](const auto& rows) {
        for (const DressingRow& row : rows)
            if (row.opening.gesture == Gesture::Hold && std::strcmp(row.opening.key, kHoldLogo.key) == 0)
                for (size_t i = 0; i < row.count; ++i)
                    ApplyLook(*this, m_Set, row.props[i], kHoldLogo);
    };
    if (context->m_Decade == 2)
        hold(k90sRows);
    else if (context->m_Decade == 3)
        hold(k00sRows);
}

void QZ11Game::ApplyStageDressing() { Dress(false); }

void QZ11Game::ApplyInGameStageDressing() { Dress(true); }

void QZ11Game::CollectCrowd(QZ11Game* game) {
    if (!game)
        return;
    // Capacity is kept; a full list grows by its step.
    game->m_Crowd.Clear();
    if (!game->m_Set)
        return;
    for (GameServices::Entities::Prop* prop : game->m_Set->m_Props)
        if (prop && strncmp(prop->Name.c_str(), "crowd", 5) == 0)
            game->m_Crowd.Add(prop);
}

bool QZ11Game::IsBoardComplete() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    QuestionManager* questions = context ? context->GetQuestionManager() : nullptr;
    Question* question = questions ? questions->CurrentQuestion() : nullptr;
    if (!question)
        return false;
    const i32 answers = i32(question->AnswerCount());
    // Not yet revealed: matched and picked answers count as revealed.
    const i32 hidden = i32(question->RemainingRightAnswers());
    const i32 shown = answers - i32(context->m_StruckOutAnswers) - hidden;
    if (shown == answers)
        return true;
    if (shown < 6)
        return false;
    return context->m_RoundCounter == 3 || context->m_RoundCounter == 4;
}

}  // namespace QZ2011
