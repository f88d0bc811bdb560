#pragma once
// The game's context, the root object of a run: it owns the game modes, screens and menu pages,
// creates the game's services at start-up (packages, sequences and sequencers, audio, awards,
// the question bank), runs two small rules each frame and holds the state of the match in
// progress. Members are built in declaration order and destroyed in reverse.
#include <memory>

#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "game/presentation/AwardManager.h"
#include "game/presentation/screens/QZ11DecadeSelector.h"
#include "game/presentation/screens/QZ11DifficultySelector.h"
#include "game/presentation/screens/QZ11MainMenuComposition.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/presentation/screens/ScreenLoad.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/presentation/screens/ScreenTutorial.h"
#include "game/rules/QZ11Decades.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/QZ11Menu.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/QZ11Tutorial.h"
#include "game/rules/RoundRules.h"
#include "game/rules/QZStartup.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/BasicLookComposition.h"
#include "gameshow/ConnectionErrorComposition.h"
#include "gameshow/CreditsComposition.h"
#include "gameshow/GameShowCamera.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/KeyboardComposition.h"
#include "gameshow/Menu.h"
#include "gameshow/MenuScreen.h"
#include "gameshow/NumberOfPlayerComposition.h"
#include "gameshow/OptionsComposition.h"
#include "gameshow/ProfilesComposition.h"
#include "gameshow/SequenceManager.h"
#include "gameshow/Sequencers.h"
#include "gameshow/WardrobeComposition.h"
#include "questions/Question.h"
#include "questions/QuestionServices.h"

namespace QZ2011 {
class Autocompleter;
class Family;
class QuestionManager;
struct AnswerResult;
}  // namespace QZ2011

class QZ2011GameContext : public GameServices::MiniGame::BaseGame,
                          public QZ2011::IGameContext,
                          public QZ2011::AwardContext {
public:
    static constexpr u32 kGameShowCameraPool = 23;
    // Family slots of m_CurrentFamily.
    static constexpr i32 kComputerFamily = 0;
    static constexpr i32 kPlayerOneFamily = 1;
    static constexpr i32 kPlayerTwoFamily = 2;
    static constexpr i32 kNoFamily = 3;
    // A member index naming no member.
    static constexpr i32 kNoMember = 4;
    // m_Decade before a decade is chosen.
    static constexpr u32 kNoDecade = 4;
    static constexpr u32 kPackageCount = 12;
    // Mounted by Initialize, in this order.
    static const char* const kPackages[kPackageCount];
    // The show's sequencers, registered by these names in this order.
    static constexpr const char* kSequencerNames[4] = {"EntitySequencer", "CameraSequencer", "AudioSequencer",
                                                       "GameShowCameraSequencer"};
    static constexpr u32 kPageCount = 13;
    static constexpr u32 kKeyboardNameLength = 6;
    // m_MenuTickMs stops growing at the first value of this or more.
    static constexpr u32 kMenuTickCapMs = 200;

    QZ2011GameContext();
    ~QZ2011GameContext() override;

    using BaseGame::Initialize;
    // Packages, families, profiles, the answer record, the sequence manager and its
    // sequencers, audio and awards, the base start-up, then the question bank and the
    // autocompleter.
    void Initialize() override;
    // Unless paused the level controller and the timers; the world; the menu tick and the
    // skip rule.
    void Update(u32 frameMs) override;
    // The save written when the profiles hold something unsaved; teams and families,
    // sequencers, delegates, the base shutdown, then the services in creation order.
    void Shutdown() override;

    // The published game when it is this context; null otherwise.
    static QZ2011GameContext* Current();

    GameShow::SequenceManager* GetSequenceManager() { return m_SequenceManager; }
    GameShow::EntitySequencer* GetEntitySequencer() { return m_EntitySequencer; }
    GameShow::CameraSequencer* GetCameraSequencer() { return m_CameraSequencer; }
    QZ2011::AudioSequencerQZ* GetAudioSequencer() { return m_AudioSequencer; }
    GameShow::GameShowCameraSequencer* GetGameShowCameraSequencer() { return m_GameShowCameraSequencer; }
    // Null outside Initialize..Shutdown, as the other services.
    QZ2011::AudioManagerQZ* GetAudioManager() { return m_AudioManager; }
    QZ2011::AwardManager* GetAwardManager() { return m_AwardManager; }
    QZ2011::QuestionManager* GetQuestionManager() { return m_QuestionManager; }
    QZ2011::Autocompleter* GetAutocompleter() { return m_Autocompleter; }
    QZ2011::QZ11Game& GetMatchMode() { return m_Match; }

    // Match state operations.
    // Clears the match state between matches; the phase, decade, difficulty, player mode and
    // families stay. In a one-player game the opponent looks start again.
    void ResetGameState();
    // The other family takes the turn; "We can't switch trun from NOBODY!!" when no family of
    // this match has it.
    void SwitchTurn();
    // 1 for buzz owner 0, 0 for 1, -1 otherwise.
    i32 GetOtherBuzzSide() const;
    // The family record of m_CurrentFamily; "No family set!!" and null for another slot.
    QZ2011::Family* GetCurrentFamily();
    // The round rules' answer check on the record (reported when there is none).
    void CheckTypedAnswer(QZ2011::AnswerResult* record);
    // The round rules, installed in the match mode's phase step when the context is made.
    QZ2011::RoundRules& GetRoundRules() { return m_RoundRules; }
    // Builds the three families; the registered one is player one's.
    void CreateFamilies();
    // The left or right family's member index steps to its next member: 0, 2, 1, 3 with the
    // family's order flag set, 2, 0, 3, 1 with it clear; from 4 to the first of these.
    void NextFamilyMember(bool leftFamily);
    void SetSecondFamilyMemberNames(TString<char> name0, TString<char> name1, TString<char> name2,
                                    TString<char> name3);
    // The name of the right family's member at the buzzer; empty for none.
    TString<char> GetSecondFamilyMemberName() const;
    // Starts the opponent look cycle of the chosen decade and difficulty at its first look.
    void ResetOpponentLooks();
    // The look in turn (the key itself outside a cycle), then the cycle moves on and the two
    // member indexes follow it.
    TString<char> GetOpponentAppearanceFile();

    // Two-player games only: the cursor of the member whose family has the turn follows
    // show, the other one is disabled.
    void ShowActivePlayerCursor(bool show);
    void SetPlayerCursorsVisible(bool show);
    // Member i of the registered team is linked with the i-th cursor of the level's cursor
    // component level (GameShow::Menu's tables); a missing prop or member is reported and
    // skipped.
    void AttachPlayerCursor(GameServices::Entities::BaseTeamMember* member, i32 number);
    // A cursor for every connected human member of the registered team.
    void AttachConnectedPlayerCursors();
    // The device listeners on the global device events (once however often), and off again.
    void SubscribeDeviceEvents();
    void UnsubscribeDeviceEvents();
    void OnDeviceConnected(GameServices::Bridge::DeviceInfos& infos);
    void OnMemberDisconnected(GameServices::Entities::BaseTeamMember* member);

    // The profile manager's events: the award list is read once the profiles are, and the
    // earned awards are granted again for the profile that is selected.
    void OnProfilesLoaded();
    void OnProfileChanged();
    // AwardContext: the award notice keeps the title for the notice and grants the award.
    void NotifyAwardUnlocked(const TString<char>& title, bool isNew) override;
    i32 GetAwardDecade() const override { return i32(m_Decade); }
    i32 GetAwardDifficulty() const override { return i32(m_Difficulty); }
    const TString<char>& GetUnlockedAwardName() const { return m_UnlockedAwardName; }

    // The menus and the screens.
    GameShow::Menu& GetMenuMode() { return m_Menu; }
    GameShow::MenuScreen& GetMenuScreen() { return m_MenuScreen; }
    GameShow::AwardsComposition& GetAwardsPage() { return m_AwardsPage; }
    GameShow::KeyboardComposition& GetKeyboardPage() { return m_KeyboardPage; }
    GameShow::QZ11MainMenuComposition& GetMainMenuPage() { return m_MainMenuPage; }
    QZ2011::ScreenGame& GetGameScreen() { return m_ScreenGame; }

    // IGameContext.
    int CurrentDecade() const override { return static_cast<int>(m_Decade); }
    void SetChosenAnswerIndex(int index) override { m_ChosenAnswerIndex = index; }

protected:
    // Package mode with an empty root: the twelve packages are mounted from the working
    // folder, in kPackages order.
    virtual void MountPackages();
    // Start-up and shutdown steps are reported to OnStep by name.
    void Step(const char* step) { OnStep(step); }

private:
    // Base part, then the game modes, each registered under its level id as it is built.
    QZ2011::QZ11Menu m_MenuMode;
    QZ2011::QZ11Game m_Match;
    QZ2011::RoundRules m_RoundRules{*this};
    QZ2011::QZ11Decades m_Decades;
    QZ2011::QZ11Tutorial m_Tutorial;
    QZ2011::QZStartup m_Startup{QZ2011::QZStartup::kLevelName};
    QZ2011::ScreenStartup m_ScreenStartup;
    QZ2011::ScreenLoad m_ScreenLoad;
    QZ2011::ScreenTutorial m_ScreenTutorial;
    QZ2011::ScreenGame m_ScreenGame;
    // The services, created by Initialize and deleted by Shutdown.
    QZ2011::QuestionManager* m_QuestionManager = nullptr;
    QZ2011::Autocompleter* m_Autocompleter = nullptr;

public:
    // The answer being ruled on, read and written by the round rules.
    QZ2011::AnswerResult* m_AnswerRecord = nullptr;

private:
    QZ2011::AwardManager* m_AwardManager = nullptr;
    GameShow::SequenceManager* m_SequenceManager = nullptr;
    GameShow::EntitySequencer* m_EntitySequencer = nullptr;
    GameShow::CameraSequencer* m_CameraSequencer = nullptr;
    GameShow::GameShowCameraSequencer* m_GameShowCameraSequencer = nullptr;
    QZ2011::AudioSequencerQZ* m_AudioSequencer = nullptr;
    QZ2011::AudioManagerQZ* m_AudioManager = nullptr;

public:
    // The match state, read and written by the match mode, the round rules and the screens.
    // Buzz sides: -1 nobody, 0 player one's side, 1 the other side.
    i32 m_FaceOffWinner = -1;
    i32 m_BuzzOwner = -1;
    QZ2011::GamePhaseField m_GamePhase{QZ2011::PhaseNone};
    // 0 before the first round, then 1 to 5 (sudden death).
    i32 m_RoundCounter = 0;
    // 0 one player against the computer family, 1 two players.
    u32 m_TwoPlayers = 0;
    i32 m_LastAnswerIndex = -1;
    TString<char> m_TypedAnswer;
    GameServices::Widget::SoftKeyboard* m_AnswerKeyboard = nullptr;
    i32 m_CurrentFamily = kNoFamily;
    // The level's numbers; the fast-money second time times the first turn and the first
    // time the second turn.
    u32 m_NumberOfAnswers = 0;
    u32 m_QuestionRoundTime = 0;
    u32 m_FastMoneyFirstTime = 0;
    u32 m_FastMoneySecondTime = 0;
    u8 m_AnswerTurnPending = 0;
    u8 m_AIMayAct = 0;
    // Play or pass: 1 play, 0 pass.
    u8 m_PlayChosen = 1;
    u8 m_SkipAllowed = 0;
    QZ2011::Family* m_PlayerOneFamily = nullptr;
    QZ2011::Family* m_PlayerTwoFamily = nullptr;
    QZ2011::Family* m_ComputerFamily = nullptr;
    u32 m_FastMoneyAnswerIndex = 0;
    i32 m_ChosenAnswerIndex = -1;
    static constexpr u32 kFastMoneyAnswers = 5;
    u8 m_FastMoneyAnswered[kFastMoneyAnswers] = {};
    u32 m_FastMoneyQuestionIds[kFastMoneyAnswers] = {};
    u32 m_RoundBank = 0;
    i32 m_FastMoneyTotal = 0;
    // 0 70s, 1 80s, 2 90s, 3 00s, 4 none chosen.
    u32 m_Decade = kNoDecade;
    // 0 easy, 1 medium, 2 hard.
    u32 m_Difficulty = 0;
    TString<char> m_UnlockedAwardName;
    // Initialize reads every screen's layout and reports one it cannot read as fatal (the
    // program sets it; tests on partial data leave it off).
    bool m_CheckScreenLayouts = false;
    u8 m_AnswerPending = 0;
    u8 m_AnswerAgain = 0;
    u8 m_StealStarted = 0;
    u8 m_FastMoneyStepFlag = 0;
    u8 m_TimeUp = 0;
    u8 m_AIAnswerStarted = 0;
    u8 m_AIBusy = 0;
    u8 m_WentToSuddenDeath = 0;
    u8 m_LeftMemberOrder = 0;
    u8 m_RightMemberOrder = 0;
    u8 m_AnswerEntryOpen = 0;
    u8 m_PlayerOneMale = 0;
    u8 m_PlayerTwoMale = 0;
    // The question bank's four per-decade last indices, copied at start-up.
    u32 m_QuestionCounts[4] = {};
    u32 m_StruckOutAnswers = 0;
    u32 m_MenuTickMs = 0;
    // A decade_difficulty key, then the opponent look in turn.
    TString<char> m_OpponentLookKey;
    // Members 0-3 at the buzzer, 4 for none.
    i32 m_RightMemberIndex = kNoMember;
    i32 m_OpponentNextMember = kNoMember;
    i32 m_LeftMemberIndex = kNoMember;
    TString<char> m_SecondFamilyMemberNames[4];

private:
    void DeleteFamilies();
    void RegisterPages();
    void UnregisterPages();
    // The skip rule of the frame.
    bool SkipAllowed() const;

    QZ2011::Question m_Questions[5];
    GameShow::Menu m_Menu;
    GameShow::MenuScreen m_MenuScreen;
    // The pages, registered under their names while the context lives.
    GameShow::AwardsComposition m_AwardsPage;
    GameShow::BasicLookComposition m_BasicLookPage;
    GameShow::ConnectionErrorComposition m_ConnectionErrorPage;
    GameShow::GroupAwardsComposition m_GroupAwardsPage;
    GameShow::KeyboardComposition m_KeyboardPage;
    GameShow::WardrobeComposition m_WardrobePage;
    GameShow::OptionsComposition m_OptionsPage;
    GameShow::QZ11MainMenuComposition m_MainMenuPage;
    GameShow::ProfilesComposition m_ProfilesPage;
    GameShow::NumberOfPlayerComposition m_NumberOfPlayerPage;
    GameShow::CreditsComposition m_CreditsPage;
    QZ2011::QZ11DecadeSelector m_DecadeSelector;
    QZ2011::QZ11DifficultySelector m_DifficultySelector;
    GameServices::KorvoGame::DeviceInfoDelegate<QZ2011GameContext> m_DeviceConnected{
        this, &QZ2011GameContext::OnDeviceConnected};
    FDelegateParam<QZ2011GameContext, GameServices::Entities::BaseTeamMember*> m_MemberDisconnected{
        this, &QZ2011GameContext::OnMemberDisconnected};
    FDelegate<QZ2011GameContext> m_ProfilesLoaded{this, &QZ2011GameContext::OnProfilesLoaded};
    FDelegate<QZ2011GameContext> m_ProfileChanged{this, &QZ2011GameContext::OnProfileChanged};

    // The game-show cameras' record prototype, registered while the services run.
    GameShow::sGameShowApplicationDataCameras m_CameraRecord;
    bool m_Started = false;
};
