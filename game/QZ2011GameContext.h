#pragma once
// The game's context: the game-mode framework's game with the show clock, its sequencers and
// the game-show cameras, the game modes, and the state of the match in progress.
#include <memory>

#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "game/StandInComposition.h"
#include "game/presentation/AwardManager.h"
#include "game/rules/QZ11Decades.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/BasicLookComposition.h"
#include "gameshow/GameShowCamera.h"
#include "gameshow/KeyboardComposition.h"
#include "gameshow/MainMenuComposition.h"
#include "gameshow/Menu.h"
#include "gameshow/MenuScreen.h"
#include "gameshow/SequenceManager.h"
#include "gameshow/Sequencers.h"
#include "questions/QuestionServices.h"

namespace QZ2011 {
class Family;
class QuestionManager;
struct AnswerResult;
}  // namespace QZ2011

class QZ2011GameContext : public GameServices::MiniGame::BaseGame, public QZ2011::IGameContext {
public:
    static constexpr u32 kGameShowCameraPool = 23;
    // Family slots of m_CurrentFamily.
    static constexpr i32 kComputerFamily = 0;
    static constexpr i32 kPlayerOneFamily = 1;
    static constexpr i32 kPlayerTwoFamily = 2;
    static constexpr i32 kNoFamily = 3;
    // A buzzer index naming no member.
    static constexpr i32 kNoMember = 4;

    QZ2011GameContext();
    ~QZ2011GameContext() override;

    using BaseGame::Initialize;
    // The sequence manager and its sequencers, the game-show camera records, the sequence
    // manager in the module list, the base start-up, the profile manager, the game-show camera
    // pool, the families and the question bank (whose settings and saves are the profiles).
    void Initialize() override;
    // The sequencers unregistered, then the base shutdown; the families, the bank and the
    // profile manager go.
    void Shutdown() override;

    // The published game when it is this context; null otherwise.
    static QZ2011GameContext* Current();

    GameShow::SequenceManager* GetSequenceManager() { return m_Sequences.get(); }
    GameShow::EntitySequencer* GetEntitySequencer() { return m_EntitySequencer.get(); }
    GameShow::CameraSequencer* GetCameraSequencer() { return m_CameraSequencer.get(); }
    QZ2011::AudioSequencerQZ* GetAudioSequencer() { return m_AudioSequencer.get(); }
    GameShow::GameShowCameraSequencer* GetGameShowCameraSequencer() { return m_GameShowCameraSequencer.get(); }
    QZ2011::AudioManagerQZ& GetAudioManager() { return m_Audio; }
    QZ2011::AwardManager& GetAwardManager() { return m_Awards; }
    // Null outside Initialize..Shutdown.
    QZ2011::QuestionManager* GetQuestionManager() { return m_Questions.get(); }
    QZ2011::QZ11Game& GetMatchMode() { return m_Match; }

    // Match state operations.
    // Clears the match state between matches; the phase, decade, difficulty, player mode and
    // families stay.
    void ResetGameState();
    // The other family takes the turn; "We can't switch trun from NOBODY!!" when no family of
    // this match has it.
    void SwitchTurn();
    // 1 for buzz owner 0, 0 for 1, -1 otherwise.
    i32 GetOtherBuzzSide() const;
    // The family record of m_CurrentFamily; "No family set!!" and null for another slot.
    QZ2011::Family* GetCurrentFamily();
    // Matches the typed answer (the computer's pick when the computer family has the turn)
    // against the current question into the record and m_LastAnswerIndex.
    void CheckTypedAnswer(QZ2011::AnswerResult* record);
    // Builds the three families; the registered one is player one's.
    void CreateFamilies();
    // A cursor for every connected human member of the registered team.
    void AttachConnectedPlayerCursors();
    // The device listeners on the global device events, and off them again.
    void SubscribeDeviceEvents();
    void UnsubscribeDeviceEvents();
    void OnDeviceConnected(GameServices::Bridge::DeviceInfos& infos);
    void OnMemberDisconnected(GameServices::Entities::BaseTeamMember* member);

    // The profile manager's events: the awards are read once the profiles are, and granted
    // again for the profile that is selected.
    void OnProfilesLoaded();
    void OnProfileSelected();
    // The award notice of the award checks: the title is kept for the notice and the award
    // granted.
    void OnAwardUnlocked(const TString<char>& title, bool isNew);
    const TString<char>& GetLastAwardTitle() const { return m_LastAwardTitle; }

    // The menus.
    GameShow::Menu& GetMenuMode() { return m_Menu; }
    GameShow::MenuScreen& GetMenuScreen() { return m_MenuScreen; }
    GameShow::AwardsComposition& GetAwardsPage() { return m_AwardsPage; }
    GameShow::MainMenuComposition& GetMainMenuPage() { return m_MainMenuPage; }

    // IGameContext.
    int CurrentDecade() const override { return static_cast<int>(m_Decade); }
    void SetChosenAnswerIndex(int index) override { m_ChosenAnswerIndex = index; }

    // The match state, read and written by the match mode, the round rules and the screens.
    QZ2011::GamePhaseField m_GamePhase{QZ2011::PhaseNone};
    i32 m_RoundCounter = 0;
    i32 m_BuzzOwner = -1;
    i32 m_FaceOffWinner = -1;
    u32 m_TwoPlayers = 0;
    i32 m_CurrentFamily = kNoFamily;
    u32 m_Decade = 4;
    u32 m_Difficulty = 0;
    QZ2011::Family* m_PlayerOneFamily = nullptr;
    QZ2011::Family* m_PlayerTwoFamily = nullptr;
    QZ2011::Family* m_ComputerFamily = nullptr;
    // Player 1's buzzer member; player 2's and the computer family's.
    i32 m_LeftMemberIndex = kNoMember;
    i32 m_RightMemberIndex = kNoMember;
    u8 m_LeftMemberOrder = 0;
    u8 m_RightMemberOrder = 0;
    u8 m_PlayerOneMale = 0;
    u8 m_PlayerTwoMale = 0;
    u8 m_AnswerTurnPending = 0;
    u8 m_AnswerPending = 0;
    u8 m_AnswerAgain = 0;
    u8 m_StealStarted = 0;
    u8 m_AnswerEntryOpen = 0;
    u8 m_SkipAllowed = 0;
    u8 m_AIBusy = 0;
    u8 m_AIAnswerStarted = 0;
    u8 m_AIMayAct = 0;
    QZ2011::AnswerResult* m_AnswerRecord = nullptr;
    u32 m_StruckOutAnswers = 0;
    u32 m_NumberOfAnswers = 0;
    u32 m_QuestionRoundTime = 0;
    u32 m_FastMoneyFirstTime = 0;
    u32 m_FastMoneySecondTime = 0;
    i32 m_LastAnswerIndex = -1;
    i32 m_ChosenAnswerIndex = -1;
    TString<char> m_TypedAnswer;
    u32 m_RoundBank = 0;
    u8 m_PlayChosen = 1;
    u8 m_TimeUp = 0;
    u8 m_WentToSuddenDeath = 0;

private:
    void DeleteFamilies();

    std::unique_ptr<GameShow::SequenceManager> m_Sequences;
    std::unique_ptr<GameShow::EntitySequencer> m_EntitySequencer;
    std::unique_ptr<GameShow::CameraSequencer> m_CameraSequencer;
    std::unique_ptr<QZ2011::AudioSequencerQZ> m_AudioSequencer;
    std::unique_ptr<GameShow::GameShowCameraSequencer> m_GameShowCameraSequencer;
    GameShow::sGameShowApplicationDataCameras m_CameraRecord;
    QZ2011::AudioManagerQZ m_Audio;
    QZ2011::AwardManager m_Awards;
    std::unique_ptr<QZ2011::QuestionManager> m_Questions;
    std::unique_ptr<QZ2011::AnswerResult> m_OwnedAnswerRecord;
    GameServices::KorvoGame::DeviceInfoDelegate<QZ2011GameContext> m_DeviceConnected{
        this, &QZ2011GameContext::OnDeviceConnected};
    FDelegateParam<QZ2011GameContext, GameServices::Entities::BaseTeamMember*> m_MemberDisconnected{
        this, &QZ2011GameContext::OnMemberDisconnected};
    bool m_ShowClockStarted = false;
    FDelegate<QZ2011GameContext> m_ProfilesLoaded{this, &QZ2011GameContext::OnProfilesLoaded};
    FDelegate<QZ2011GameContext> m_ProfileSelected{this, &QZ2011GameContext::OnProfileSelected};
    TString<char> m_LastAwardTitle;
    // The menu pages, registered with the game's composition manager while the context
    // lives; pages not built yet stand in under their names.
    GameShow::AwardsComposition m_AwardsPage;
    GameShow::BasicLookComposition m_BasicLookPage;
    GameShow::KeyboardComposition m_KeyboardPage;
    GameShow::MainMenuComposition m_MainMenuPage;
    static constexpr u32 kStandInPages = 9;
    QZ2011::StandInComposition m_StandInPages[kStandInPages];
    GameShow::MenuScreen m_MenuScreen;
    void RegisterPages();
    void UnregisterPages();
    // The game modes, built after the base game in this order, which is their registration
    // order.
    GameShow::Menu m_Menu;
    QZ2011::QZ11Decades m_Decades;
    QZ2011::QZ11Game m_Match;
};
