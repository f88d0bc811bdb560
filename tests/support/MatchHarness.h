#pragma once
// A headless match: the game's context on the platform's test window and fake clock, its data
// copied as folder packages into a temporary folder, the match level entered by file name
// through the game flow, and the context's Update driven in fixed steps with the mixer pulled
// after each one. The harness records every phase write, every sequence played (each sequence
// of the show's table announces its start to the harness), every match event and every log
// line in order.
//
// The game is one world (its singletons are process-wide): one harness lives at a time.
//
// Outside PlayMatch the in-game screen is kept out of the level, so that nothing follows the
// match events; in PlayMatch the real screen plays (loaded by the match level, on a layout with
// every name and the show's sequences of MatchShowData.h, each m_SequenceMs long), player one
// acts only through the test window and the computer family is played by its own player.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/core/AGAudioManager.h"
#include "engine/core/FDelegate.h"
#include "gameshow/Sequencers.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MixerPull.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScopedWorkingDir.h"
#include "tests/support/TempDir.h"

class PCApplicationImpl;
class QZ2011GameContext;

namespace GameServices::Entities {
class BaseTeamMember;
}
namespace platform {
class FakeClock;
}
namespace qbank {
struct Bank;
}
namespace QZ2011 {
class QZ11Game;
}

namespace match {

struct RecordEntry {
    enum class Kind { Phase, Sequence, Event, Log, State };
    Kind kind = Kind::Log;
    // The phase written, the event's index or the state's new value.
    int value = 0;
    // The sequence's name, the log line, "computer" for an event of the computer's member, or the
    // state that changed in a whole match: "bank", "score0" (player one), "score1",
    // "fastMoneyTotal", "money" (player 0's profile).
    std::string text;
    // Simulated milliseconds since the harness started.
    uint64_t timeMs = 0;
    // An answer entered (event 3) or its result (event 17): the answer's index as judged (-1
    // wrong); -2 for any other entry. The real screen follows the events before the recorders
    // do: there both are recorded after the screen and the rules acted on them.
    int answer = -2;

    // "phase 5", "play faceoff_round1", "event 4", "log <line>", "bank 20".
    std::string ToString() const;
};

// A used slot of the profiles document a harness starts with.
struct ProfileSlot {
    std::string name;
    // A look file of the character data ("AppearanceMale03.xml"): the profile's avatar.
    std::string look;
    // Integer attributes of the profile.
    std::map<std::string, int> ints;
};

// How player one plays a whole match on the real screen; chances in percent, drawn from the
// policy's own generator (the game's generators stay the game's).
struct MatchPolicy {
    enum class FastMoney { Top, Lowest, Pass, Random };
    uint32_t seed = 1;
    // The chances of a buzz in each face-off; of a right main-game answer (a not-found answer; the
    // top one in sudden death), else a wrong one; of a main-game turn left to its time-up; of play
    // over pass; of a right steal answer; of the answer confirmed by a click on the confirm
    // button, else by Enter.
    int buzzPercent = 100, rightPercent = 100, silentPercent = 0, playPercent = 100, stealRightPercent = 100,
        clickConfirmPercent = 0;
    FastMoney firstPlayer = FastMoney::Top, secondPlayer = FastMoney::Top;
    // The answer time of the main game in seconds, in place of the level's (0: the level's); the
    // decade, 0 the 70s to 3 the 00s (its match level and questions); the difficulty, 0 easy to 2
    // hard (the computer family's tuning).
    uint32_t answerSeconds = 0, decade = 0, difficulty = 0;
    // No run lasts longer than this.
    uint64_t capMs = 20 * 60 * 1000;
    // Checked every frame: once it holds the run stops there, ok.
    std::function<bool()> stopWhen = nullptr;
};

struct RunResult {
    bool ok = true;
    // When the run failed: the stall, or the first rule the match broke, with its time and
    // phase (see CheckRules), or the first change after the end.
    std::string report;
};

class MatchHarness {
public:
    static constexpr const char* kMatchLevel70 = "QZ11_Game_Level_File_1_70";
    // Nothing moving this long in a whole match is a stall.
    static constexpr uint64_t kMatchStallMs = 60000;

    MatchHarness();
    ~MatchHarness();
    MatchHarness(const MatchHarness&) = delete;
    MatchHarness& operator=(const MatchHarness&) = delete;

    // The application on the headless backends, the data, the context, the question bank and
    // both generators seeded. False (with the reason in Failure()) when something is missing.
    bool Start(uint32_t seed);
    // A test sound: a tone of that many simulated milliseconds, encoded as Ogg Vorbis, with
    // its descriptor "<name>.snd", in a package mounted at Start. Call before Start.
    void AddSound(const std::string& name, uint32_t ms);
    // Call before Start: the save file then holds a profiles document whose first slots are
    // these (used), the other "NbProfiles" slots unused, with slot `current` selected (-1:
    // none); Start loads it as the menu does, so that player 1 plays that slot's profile.
    // Without this call no profiles are loaded. The save file lives in the harness's folder.
    // With loadAtStart false only the save is written: the menus load it when they start.
    void UseProfiles(const std::vector<ProfileSlot>& slots, int current, bool loadAtStart = true);
    // Call before Start: the question bank is compiled afresh from the sample sources after the
    // change (no checks: a bank the compiler would refuse can be played).
    void ChangeBank(const std::function<void(qbank::Bank&)>& change) { m_BankChange = change; }
    // Player one's input through the test window: a key pressed and released, characters
    // typed, a left click on the centre of a clickable widget.
    void PressKey(uint32_t virtualKey);
    void TypeText(const std::string& text);
    void Click(const std::string& widget);
    // Starts (once), enters the policy's match level on the real screen and lets player one
    // play the whole match by the policy, until phase 30 with no sequence running, or phase 28
    // after a loss; the rules are checked at every step, and for a while after the end. A
    // harness plays match after match: call LeaveLevel between them.
    RunResult PlayMatch(const MatchPolicy& policy);
    // Both generators restarted from the seed: the shared xorshift128 and the 15-bit one.
    static void Seed(uint32_t seed);
    // Enters the level of that file through the game flow and steps until it has started;
    // the recorders and the sequence tap are attached then.
    bool EnterLevel(const std::string& levelFile = kMatchLevel70);
    // The same, calling whileLoading after each step in which the match level's set exists but
    // its start has not yet turned team actions on.
    bool EnterLevel(const std::string& levelFile, const std::function<void()>& whileLoading);
    // Goes to the decade-choice level and steps until the match level's clean-up ran.
    bool LeaveLevel();
    // One Update of the context, then the audio update and the mixer pulled for ms.
    void Step(uint32_t ms);

    const std::vector<RecordEntry>& Record() const { return m_Record; }
    // The record as lines, only the kinds given.
    std::vector<std::string> Lines(std::initializer_list<RecordEntry::Kind> kinds) const;
    // Phase, round, whether entry is open and the last ten sequences, after the reason.
    std::string Report(const std::string& reason) const;
    const std::string& Failure() const { return m_Failure; }
    uint64_t NowMs() const { return m_NowMs; }

    QZ2011GameContext& Context() { return *m_Context; }
    // The application on the test window (null before Start).
    PCApplicationImpl* Application() { return m_Application; }
    QZ2011::QZ11Game& Match();
    GameServices::Entities::BaseTeamMember* PlayerOne() const;
    GameServices::Entities::BaseTeamMember* ComputerMember() const;
    const TempDir& Home() const { return m_Home; }

private:
    struct EventTap : IDelegateParam<GameServices::Entities::BaseTeamMember*> {
        void Invoke(GameServices::Entities::BaseTeamMember* member) override { harness->OnEvent(index, member); }
        MatchHarness* harness = nullptr;
        int index = 0;
    };
    // Receives the start event the harness adds to each sequence of the show's table.
    struct SequenceTap : GameShow::ISequencer {
        void onSequenceEvent(const TString<char>& name, const TString<char>& target,
                             const TString<char>& parameter) override;
        MatchHarness* harness = nullptr;
    };

    // The reason in Failure(); false.
    bool Fail(const std::string& why) {
        m_Failure = why;
        return false;
    }
    static void OnPhaseWrite(void* owner, int phase);
    void OnEvent(int index, GameServices::Entities::BaseTeamMember* member);
    // Records the bank, the scores, the fast-money total and the prize money that changed
    // since the last step; checks the rules first in a whole match.
    void WatchState();
    void OnSequenceStarted(const std::string& name);
    void Add(RecordEntry::Kind kind, int value, const std::string& text);
    void FlushLog();
    // Something moved now; also each sequence's end.
    void Moved() { m_LastMoveMs = m_NowMs; }
    bool CopyData();
    // The sequences, the key bindings and the layout of the real screen.
    bool WriteShowData();
    // Player one's move by the policy, if one is due now.
    void PlayerOneActs(const MatchPolicy& policy, std::mt19937& random);
    bool MatchOver() const;
    // The rules at each step of a whole match, from the state the step left and the state
    // watched before it: a bank rise is a revealed answer's points times the round's
    // multiplier; a score never falls and rises only by the whole bank, which empties; strikes
    // stay within 0..3; fast money runs only with player one at the end score and the computer
    // family below it. The first rule broken goes to m_Failure.
    void CheckRules(int score0, int score1, int bank);
    // The document of UseProfiles, written by a saved-game manager of its own.
    bool WriteProfiles();
    // Without a context false. Else detaches the recorders, asks the flow for the level until it
    // takes the request, then steps until the level runs and the match level has started
    // (match) or has been cleaned up (another level).
    bool GoTo(const std::string& levelFile, bool match, const std::function<void()>& whileLoading);
    void Attach();
    void Detach();

    TempDir m_Home;
    // The save file's folder, the harness's own while it lives.
    ScopedEnv m_Env;
    LogCapture m_Log;
    std::unique_ptr<platform::FakeClock> m_Clock;
    std::unique_ptr<PCApplicationImpl> m_OwnApplication;
    PCApplicationImpl* m_Application = nullptr;
    // The game mounts its packages from the working folder: the harness's folder while it runs.
    std::unique_ptr<ScopedWorkingDir> m_WorkingDir;
    std::unique_ptr<QZ2011GameContext> m_Context;
    bool m_UseRealScreen = false;
    std::function<void(qbank::Bank&)> m_BankChange;
    uint32_t m_SequenceMs = 60;
    // Player one's state in a whole match.
    int m_BuzzedPhaseWrite = -1, m_ChosePlayWrite = -1, m_TurnWrite = -1, m_PhaseWriteCount = 0;
    bool m_TurnTaken = false;
    uint64_t m_LastSubmitMs = 0;
    // The watched states as last recorded, by name.
    std::map<std::string, int> m_Watched;
    // The first fast-money player's entry for each question id, which the second avoids.
    std::map<std::string, std::string> m_FirstPlayerTexts;
    // The rules' check in a whole match: on while it runs, the current question's answers
    // revealed as the last step left them.
    bool m_Checking = false;
    std::vector<bool> m_Revealed;
    EventTap m_EventTaps[24];
    SequenceTap m_SequenceTap;
    FDelegate<MatchHarness> m_EndedTap{this, &MatchHarness::Moved};
    bool m_Attached = false, m_Started = false;
    std::string m_Failure;
    AGAudioManager::ImplFactory m_SavedAudioFactory = nullptr;

    std::vector<RecordEntry> m_Record;
    std::vector<std::string> m_LastSequences;
    uint64_t m_NowMs = 0, m_LastMoveMs = 0;
    MixerPull m_Mixer;
    std::vector<std::pair<std::string, uint32_t>> m_Sounds;
    bool m_UseProfiles = false, m_LoadProfilesAtStart = true;
    std::vector<ProfileSlot> m_ProfileSlots;
    int m_CurrentProfile = -1;
};

}  // namespace match
