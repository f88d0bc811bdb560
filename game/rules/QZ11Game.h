#pragma once
// The match game mode: stages a match on the level "QZ11_Game_Level2", takes the players'
// team actions, steps the game phase at every end of a show sequence and announces each step
// through 24 events the in-game screen follows. The match state lives in the game context.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/AGArray.h"
#include "engine/core/FDelegate.h"
#include "engine/core/FHandler.h"
#include "game/presentation/QZApplicationData.h"
#include "game/rules/QZAI.h"
#include "gameservices/game/Appearance.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/minigame/AIFactory.h"
#include "gameservices/minigame/BaseMiniGame.h"
#include "gameshow/GameShowCamera.h"

namespace GameServices::Entities {
class BaseTeamMember;
class Character;
class Entity;
class Prop;
}  // namespace GameServices::Entities

class QZ2011GameContext;

namespace GameShow {
class PlayerProfile;
}

namespace QZ2011 {

class Board;
class IRoundRules;
class QZCharacter;

class QZ11Game : public GameServices::MiniGame::BaseMiniGame {
public:
    static constexpr const char* kLevelName = "QZ11_Game_Level2";
    static constexpr int kEventCount = 24;
    static constexpr u32 kCrowdCapacity = 100;

    // The entity kinds the match registers, with their pool capacities.
    struct KindPool {
        const char* kind;
        u32 capacity;
    };
    enum Kind : u32 { kCharacterKind, kBoardKind, kScoreBoardKind, kScoreDeskKind, kBuzzerLightKind, kStageKind, kCameraKind };
    static constexpr KindPool kKinds[7] = {{"QZCharacter", 10}, {"Board", 38},      {"ScoreBoard", 3},      {"ScoreDesk", 2},
                                           {"BuzzerLight", 2},  {"StageProps", 30}, {"GameShowCameras", 23}};

    // What the match looks up by name on a decade's stage. The set element of each decade:
    static constexpr const char* kStageSets[4] = {"Stage70", "Stage80", "Stage90", "Stage00"};
    // Board props: blocks "board_block_01".."08" and "board_block_dt_01".."06" (kind "Board"),
    // covers "board_block_empty_02".."08".
    static constexpr const char* kBlockPrefix = "board_block_";
    static constexpr const char* kBlockDtPrefix = "board_block_dt_";
    static constexpr const char* kCoverPrefix = "board_block_empty_";
    static constexpr const char* kBoardScreens[3] = {"board_screen10_a", "board_screen10_b", "board_screenlogo"};
    static constexpr const char* kSigns[2] = {"board_block_double", "board_block_triple"};
    static constexpr const char* kSideSingles80[2] = {"board_side_single_01", "board_side_single_02"};
    static constexpr const char* kBuzzerTops[2] = {"buzzer_top_left", "buzzer_top_right"};
    static constexpr const char* kBuzzerLights[2] = {"buzzer_light_left", "buzzer_light_right"};
    // Score props: the desk digits (kind "ScoreDesk"), then the board screens ("ScoreBoard").
    static constexpr const char* kScoreProps[5] = {"desk_digit_left", "desk_digit_right", "screen_digits_left",
                                                   "screen_digits_right", "screen_digit_center"};
    // Markers: fast money, the two pose places, then each podium's four places ("%d" 1..4).
    static constexpr const char* kMarkers[3] = {"box_position_fastmoney", "box_position_left_pose",
                                                "box_position_right_pose"};
    static constexpr const char* kPodiumFormats[2] = {"box_position_m%d_left01", "box_position_m%d_left"};
    // Members 1-4 of each family (kind "QZCharacter"), left then right.
    static constexpr const char* kContestants[8] = {"contestant_left_1",  "contestant_left_2",  "contestant_left_3",
                                                    "contestant_left_4",  "contestant_right_1", "contestant_right_2",
                                                    "contestant_right_3", "contestant_right_4"};
    // The face viewports: (component level, character of kind "QZCharacter"), left then right.
    static constexpr const char* kFaces[2][2] = {{"ComponentAvatarFace_Left", "avatar_face_left"},
                                                 {"ComponentAvatarFace_Right", "avatar_face_right"}};

    // A prop the match looks up by name on a decade's stage (0..3): the kind it must have
    // (null: any) and, for a dressed prop that plays its stage behaviour, the animation keys it
    // plays, freezes on or holds.
    struct StageProp {
        std::string name;
        const char* kind;
        std::vector<const char*> keys;
    };
    static std::vector<StageProp> StageProps(u32 decade);
    // The props the stage dressing of a decade looks up (QZ11GameDressing.cpp), appended.
    static void AddDressedProps(u32 decade, std::vector<StageProp>& props);

    using MemberEvent = FHandlerParam<GameServices::Entities::BaseTeamMember*>;

    QZ11Game();
    ~QZ11Game() override;

    // Events in index order 0..23; 1, 2, 12 and 21..23 are never fired.
    MemberEvent BuzzEvent;
    MemberEvent BuzzEvent2;
    MemberEvent BuzzEvent3;
    MemberEvent AnswerEnteredEvent;
    MemberEvent FaceOffQuestionEvent;
    MemberEvent AnswerTurnEvent;
    MemberEvent RoundStartEvent;
    MemberEvent ResumeEvent;
    MemberEvent FaceOffWonEvent;
    MemberEvent FastMoneyStartEvent;
    MemberEvent FastMoneySecondPlayerEvent;
    MemberEvent FastMoneyRevealEvent;
    MemberEvent SpareEvent12;
    MemberEvent RoundAnswerTurnEvent;
    MemberEvent PlayOrPassChosenEvent;
    MemberEvent ScoreChangedEvent;
    MemberEvent StealEvent;
    MemberEvent AnswerResultEvent;
    MemberEvent BuzzOpenEvent;
    MemberEvent OthersRevealedEvent;
    MemberEvent AchievementUnlockedEvent;
    MemberEvent SpareEvent21;
    MemberEvent SpareEvent22;
    MemberEvent SpareEvent23;
    // The event of an index 0..23; SpareEvent23 (never fired) for any other.
    MemberEvent& Event(int index);
    // The first registered team's member 0; null when there is none.
    GameServices::Entities::BaseTeamMember* PlayerOneMember() const;

    // Team actions.
    void OnBuzzSinglePlayer(GameServices::KorvoGame::TeamActionData* data);
    void OnEnterAnswer(GameServices::KorvoGame::TeamActionData* data);
    void OnEnterAIAnswer(GameServices::KorvoGame::TeamActionData* data);
    void OnSkipSequence(GameServices::KorvoGame::TeamActionData* data);

    // Each fires its event with the player-1 member.
    void FireFaceOffQuestion();
    void FireBuzzOpen();
    // Both buzzer lights idle, then the answer-turn event.
    void StartAnswerTurn();
    void FireRoundStart();
    void FireResume();
    // The face-off winner's family takes the turn.
    void DecideFaceOffWinner();
    void FirePlayOrPassChosen();
    // The playing family's strikes cleared, then the round-answer-turn event.
    void StartRoundAnswerTurn();
    void FireScoreChanged();
    void FireSteal();
    // The fast-money start event, then phase 24.
    void StartFastMoney();
    void FireFastMoneySecondPlayer();
    void FireFastMoneyReveal();
    void FireAnswerResult();
    void FireOthersRevealed();
    void FireAchievementUnlocked();

    // Level life.
    void LoadLevel(bool initializeSet) override;
    void InitializeLevel() override;
    void CleanupLevel() override;
    // Puts both families on stage: player 1's avatar among three relatives dressed to go with
    // it on the left; on the right player 2's avatar and relatives in a two-player match, else
    // the computer family's looks of the decade and difficulty. A family whose player has no
    // profile wears the computer family's looks. Then the faces are turned, the save (with the
    // family-look start indexes) written and the contestants hidden.
    void SetUpFamilies();
    // Dresses relative number 1..3: top, bottom, footwear and hairstyle picked from the lists
    // of its own assembly (see the pickers); the eyewear, head and eyes stay as its look gave.
    void DressFamilyMember(i32 memberNumber, GameServices::Entities::Character* target,
                           GameServices::Entities::Character* reference);
    // One pick for relative number 1..3 from the target assembly's parts of an outfit type (the
    // hairstyle): the scan starts at the index stored in player 1's profile under the member's
    // family-look name (drawn in [0, n - 2), or 0 for fewer than three candidates, and stored
    // when missing or outside the list), skips the reference's part, on the right the left
    // family's parts, and on the left of a two-player match player 2's avatar's part, and
    // takes the first candidate left. The chosen part is copied into chosen; false, chosen
    // untouched, when nothing is chosen.
    bool PickFamilyOutfitPart(u32 outfitType, GameServices::Entities::Character* reference,
                              GameServices::Entities::Character* target, i32 memberNumber,
                              GameServices::KorvoGame::OutfitPart& chosen);
    bool PickFamilyHairstyle(GameServices::Entities::Character* reference, GameServices::Entities::Character* target,
                             i32 memberNumber, GameServices::KorvoGame::AnatomyPart& chosen);
    // The twelve family-look attribute names, "FamilyTopRandNum1" .. "FamilyHairRandNum3".
    static const std::array<const char*, 12>& FamilyLookNames();
    // The computer families' look files: "<decade>s_F<difficulty + 1>_AppearanceOpponent<member>.xml",
    // members in the order of the family's characters 1-4.
    static constexpr std::array<const char*, 4> kOpponentDecades = {"70", "80", "90", "00"};
    static constexpr u32 kOpponentDifficulties = 3;
    static constexpr std::array<const char*, 4> kOpponentMembers = {"Male01", "Male02", "Female01", "Female02"};
    static std::string OpponentLookFile(u32 decade, u32 difficulty, u32 member);
    // Which family the pickers dress: player 1's (left) or the one facing it.
    bool IsDressingLeftFamily() const { return m_DressingLeftFamily; }
    void SetDressingLeftFamily(bool left) { m_DressingLeftFamily = left; }
    // Player 2's avatar in a two-player match (right member 1 or 3); null otherwise.
    QZCharacter* GetPlayerTwoAvatar() const { return m_PlayerTwoAvatar; }
    // The avatar character of the left or right 3D viewport; null when the level lacks it.
    QZCharacter* GetViewportCharacter(bool right) const { return right ? m_FaceRight : m_FaceLeft; }
    // Contestant 0..3 the left family's members 1-4, 4..7 the right family's; null outside.
    QZCharacter* GetContestant(int index) const;

    // The phase step, run at every end of a sequence.
    void OnSequenceEnd();

    // Staging.
    void HideAllContestants();
    void PlayLeftFamilyPose();
    void PlayLeftFamilyIntro();
    void PlayRightFamilyPose();
    void PlayRightFamilyIntro();
    void PlaceLeftFamily();
    void PlaceRightFamily();
    void StartRound();
    void ReadLevelTuning();
    void RevealAnswerBlock(int index);
    void LightBuzzer();
    void ResetBoardBlocks();
    void SetupBoardBlocks(int answerCount);
    void SetStageScreens(bool fastMoney);
    void SetScoreDisplay(bool right, int value);
    // The round bank's display in the centre; -1 shows three blank digits.
    void SetBankDisplay(int value);
    void SetCrowdVisible(bool visible);
    void ResetBoardScreens();
    // The dressing's logo screens of the decade (those whose opening holds the logo) hold it
    // again.
    void HoldScreenLogos();

    // Stage dressing and the show's sequence table.
    static void LoadInGameSequences();
    static void ApplyStageDressing();
    static void ApplyInGameStageDressing();
    static void CollectCrowd(QZ11Game* game);
    static bool IsBoardComplete();
    // (file, sequence name) in table order.
    static const std::array<std::pair<const char*, const char*>, 85>& InGameSequences();
    // The package that holds them, mounted only while they load.
    static constexpr const char* kSequencePackage = "ingamexml.dir";
    // The crowd props collected at level start.
    const AGArray<GameServices::Entities::Entity*>& GetCrowd() const { return m_Crowd; }

    // The round rules the phase step calls; null until installed.
    IRoundRules* GetRoundRules() const { return m_RoundRules; }
    void SetRoundRules(IRoundRules* rules) { m_RoundRules = rules; }

    // "QZ11Game : can't find '<name>' in the level", once per name per level start.
    void ReportMissing(const char* name);

protected:
    // The avatar faces of the two players' viewports.
    QZCharacter* m_FaceLeft = nullptr;
    QZCharacter* m_FaceRight = nullptr;
    GameServices::KorvoGame::Appearance m_Appearances[4];
    // 0..3 the left family's members 1-4, 4..7 the right family's.
    QZCharacter* m_Contestants[8] = {};
    QZApplicationDataLevel m_LevelData;
    QZApplicationDataCharacter m_CharacterData;
    GameShow::sGameShowApplicationDataCameras m_CameraData;
    QZApplicationDataProps m_PropData;

    GameServices::KorvoGame::TeamActionManagerDelegate<QZ11Game> m_BuzzAction{this, &QZ11Game::OnBuzzSinglePlayer};
    GameServices::KorvoGame::TeamActionManagerDelegate<QZ11Game> m_EnterAnswerAction{this, &QZ11Game::OnEnterAnswer};
    GameServices::KorvoGame::TeamActionManagerDelegate<QZ11Game> m_EnterAIAnswerAction{this,
                                                                                       &QZ11Game::OnEnterAIAnswer};
    GameServices::KorvoGame::TeamActionManagerDelegate<QZ11Game> m_SkipAction{this, &QZ11Game::OnSkipSequence};
    GameServices::MiniGame::AIFactory<QZAI> m_AIs;
    FDelegate<QZ11Game> m_PhaseStep{this, &QZ11Game::OnSequenceEnd};

    // Stage parts, found at level start; null when the level lacks them.
    GameServices::Entities::Prop* m_BoardScreen10A = nullptr;
    GameServices::Entities::Prop* m_BoardScreen10B = nullptr;
    GameServices::Entities::Prop* m_BoardScreenLogo = nullptr;
    GameServices::Entities::Prop* m_MarkerFastMoney = nullptr;
    GameServices::Entities::Prop* m_MarkerLeftPose = nullptr;
    GameServices::Entities::Prop* m_MarkerRightPose = nullptr;
    // Members A..D = m1..m4.
    GameServices::Entities::Prop* m_LeftPodium[4] = {};
    GameServices::Entities::Prop* m_RightPodium[4] = {};
    GameServices::Entities::Prop* m_DeskDigitLeft = nullptr;
    GameServices::Entities::Prop* m_DeskDigitRight = nullptr;
    GameServices::Entities::Prop* m_ScreenDigitsLeft = nullptr;
    GameServices::Entities::Prop* m_ScreenDigitsRight = nullptr;
    GameServices::Entities::Prop* m_ScreenDigitCenter = nullptr;
    // 0 is "board_block_empty_02" (there is no cover for block 1).
    GameServices::Entities::Prop* m_Covers[7] = {};
    GameServices::Entities::Prop* m_SignDouble = nullptr;
    GameServices::Entities::Prop* m_SignTriple = nullptr;
    // The 80s side screens.
    GameServices::Entities::Prop* m_SideSingle[2] = {};
    Board* m_Blocks[8] = {};
    Board* m_BlocksDt[6] = {};
    Board* m_BuzzerTopLeft = nullptr;
    Board* m_BuzzerTopRight = nullptr;
    AGArray<GameServices::Entities::Entity*> m_Crowd{1};

private:
    // One family's looks: the player's avatar (when buildAvatar) and three relatives dressed
    // after it, or the computer family's looks when the player has no profile.
    void SetUpFamily(bool left, GameShow::PlayerProfile* profile, i32 playerId, bool buildAvatar);
    void BuildPlayerAvatar(i32 playerId, QZCharacter* character);
    void LoadComputerFamily(QZCharacter* const* members);
    // The names of the parts (of that outfit type, or hairstyles) a pick must not take
    // besides the reference's.
    template <typename Part>
    std::vector<TString<char>> AvoidedPartNames(u32 outfitType) const;
    // Finds a prop by name, reporting a missing one.
    GameServices::Entities::Prop* FindStageProp(const char* name);
    // Fires an event with the player-1 member.
    void FireWithPlayerOne(MemberEvent& event);
    void UnlistenTeamActions(QZ2011GameContext* context);

    IRoundRules* m_RoundRules = nullptr;
    bool m_DressingLeftFamily = true;
    QZCharacter* m_PlayerTwoAvatar = nullptr;
    // The names reported missing since the level start.
    std::vector<TString<char>> m_Reported;
    // Reported once per level start when the round rules are absent.
    bool m_NoRulesReported = false;
};

}  // namespace QZ2011
