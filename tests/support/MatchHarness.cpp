#include "tests/support/MatchHarness.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGApplication.h"
#include "engine/core/AGProgram.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/CrtRand.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCSavegameManager.h"
#include "engine/core/XmlReader.h"
#include "game/QZ2011GameContext.h"
#include "game/QZ2011Prog.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/minigame/BaseMiniGame.h"
#include "gameservices/widget/ScreenManager.h"
#include "game/rules/AnswerResult.h"
#include "gameshow/PlayerProfile.h"
#include "gameshow/PlayerProfileManager.h"
#include "platform/audio/AudioTypes.h"
#include "platform/core/Clock.h"
#include "platform/window/TestWindowBackend.h"
#include "questions/QuestionManager.h"
#include "tools/authoring/OggVorbisWriter.h"
#include "tools/authoring/PackageWriter.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/MatchShowData.h"
#include "tools/qbank/BankCompiler.h"
#include "engine/core/AGDeviceManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/Widget.h"
#include "game/rules/QZ11Phases.h"

#ifndef TALLYVOX_BUILT_DATA
#error "TALLYVOX_BUILT_DATA names the folder of the built sample packages"
#endif

namespace match {

namespace fs = std::filesystem;
using GameServices::Entities::BaseTeamMember;

namespace {

constexpr const char* kTapSequencer = "MatchHarness";
constexpr const char* kSoundPackage = "harnesssounds.dir";
constexpr const char* kDecadeChoiceFile = "qz11_game_level1";
// Frames allowed for a level to load and start, or to be left.
constexpr int kLevelFrames = 600;

platform::window::Backend* MakeTestBackend() { return new platform::window::TestBackend(); }

AGAudioManagerImpl* MakePulledAudio() { return new PCAudioManagerImpl(platform::audio::Engine::Output::Pull); }

constexpr int kAnswerEnteredEvent = 3;
constexpr int kAnswerResultEvent = 17;

QZ2011::Question* CurrentQuestion(QZ2011GameContext& context) {
    QZ2011::QuestionManager* questions = context.GetQuestionManager();
    return questions ? questions->CurrentQuestion() : nullptr;
}

BaseTeamMember* FamilyMember(QZ2011GameContext* context, size_t index) {
    QZ2011::Family* family = context ? context->m_PlayerOneFamily : nullptr;
    return family && family->m_Members.size() > index ? family->m_Members[index] : nullptr;
}

// The first of the "/"-separated spellings of an answer's display text.
std::string FirstSpelling(const char* text) {
    std::string all = text ? text : "";
    return all.substr(0, all.find('/'));
}

}  // namespace

std::string RecordEntry::ToString() const {
    if (kind == Kind::Phase || kind == Kind::Event)
        return (kind == Kind::Phase ? "phase " : "event ") + std::to_string(value);
    if (kind == Kind::State)
        return text + " " + std::to_string(value);
    return (kind == Kind::Sequence ? "play " : "log ") + text;
}

MatchHarness::MatchHarness() {
    for (int i = 0; i < 24; ++i) {
        m_EventTaps[i].harness = this;
        m_EventTaps[i].index = i;
    }
    m_SequenceTap.harness = this;
    // Grown only by long runs, so that the record's storage does not move the heap counters
    // level cycles are measured with.
    m_Record.reserve(1u << 14);
}

MatchHarness::~MatchHarness() {
    if (m_Context) {
        Detach();
        m_Context->GetGameScreen().SetApplication(nullptr);
        m_Context->m_GamePhase.SetObserver(nullptr, nullptr);
        if (QZ2011::QuestionManager* questions = m_Context->GetQuestionManager())
            questions->Cleanup();
        if (GameShow::SequenceManager* sequences = m_Context->GetSequenceManager())
            sequences->UnregisterSequencer(Crc32Hash(kTapSequencer));
        Match().SetRoundRules(nullptr);
        m_Context->Shutdown();
        GameShow::PlayerProfileManager::Destroy();
        m_Context.reset();
    }
    GameServices::Bridge::FileSystem::Destroy();
    if (m_Application)
        m_Application->Shutdown();
    m_Application = nullptr;
    m_OwnApplication.reset();
    if (m_Started) {
        AGAudioManager::s_implFactory = m_SavedAudioFactory;
        AGProgram::SetInstance(nullptr);
        platform::window::SetBackendFactory(nullptr);
    }
}

QZ2011::QZ11Game& MatchHarness::Match() { return m_Context->GetMatchMode(); }

// Player one's family's members: player one, then the computer family's player.
BaseTeamMember* MatchHarness::PlayerOne() const { return FamilyMember(m_Context.get(), 0); }

BaseTeamMember* MatchHarness::ComputerMember() const { return FamilyMember(m_Context.get(), 1); }

void MatchHarness::UseProfiles(const std::vector<ProfileSlot>& slots, int current, bool loadAtStart) {
    m_UseProfiles = true;
    m_LoadProfilesAtStart = loadAtStart;
    m_ProfileSlots = slots;
    m_CurrentProfile = current;
}

bool MatchHarness::WriteProfiles() {
    GameServices::KorvoGame::CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
    // With no save yet the saved-game manager starts one of every slot, unused.
    GameShow::PlayerProfileManager::Document document;
    GameServices::KorvoGame::SavedGameManager saves;
    const PCSavegameManager* file = PCSavegameManager::Get();
    saves.SetSaveSize(file->GetMaxSize());
    saves.LoadSavedGame(&document, u32(GameShow::PlayerProfileManager::GetProfileCount()));
    document.GetSettings().CurrentSavedGame = m_CurrentProfile;
    for (size_t i = 0; i < m_ProfileSlots.size(); ++i) {
        const ProfileSlot& slot = m_ProfileSlots[i];
        GameShow::PlayerProfile* profile = document.GetSavedGame(u32(i));
        if (!profile)
            return Fail("more profiles than slots");
        profile->isUsed = true;
        profile->SavedGameName = slot.name.c_str();
        GameServices::Utilities::XmlReader reader;
        if (!reader.ReadFileElement(slot.look.c_str(), "Avatar_KorvoCity", profile->AvatarDescription, "root"))
            return Fail("cannot read the look " + slot.look);
        profile->ThumbnailFilename = ("Thumbnail_" + slot.look.substr(0, slot.look.rfind('.')) + ".png").c_str();
        for (const auto& [name, value] : slot.ints)
            profile->SetAttribute<int>(name.c_str(), value);
    }
    if (!saves.WriteSavedGame())
        return Fail(std::string("cannot write the save file ") + file->GetPath().c_str());
    return true;
}

void MatchHarness::AddSound(const std::string& name, uint32_t ms) {
    m_Sounds.emplace_back(authoring::LowerName(name), ms);
}

void MatchHarness::Seed(uint32_t seed) {
    GameServices::Bridge::SeedRandom(seed, 362436069u, 521288629u, 88675123u);
    CrtSrand(seed);
}

bool MatchHarness::CopyData() {
    // Every package the build wrote in folder form ("<name>/<name>.hdr"), under the lower-case
    // name the file system mounts it by.
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(TALLYVOX_BUILT_DATA, error)) {
        if (!entry.is_directory())
            continue;
        const std::string name = entry.path().filename().string();
        if (!fs::exists(entry.path() / (name + ".hdr")))
            continue;
        const fs::path target = fs::path(m_Home.Path()) / authoring::LowerName(name);
        if (name == "gamequestions" && m_BankChange)
            continue;
        if (m_UseRealScreen && name == authoring::LowerName(name)) {
            // Whole matches link the packages they only read (their sequences are written
            // afresh, and the bindings file replaced in a folder of links).
            if (name == "gssystem") {
                fs::create_directory(target, error);
                for (const fs::directory_entry& file : fs::directory_iterator(entry.path(), error))
                    if (!error && file.path().filename() != "actions.xml")
                        fs::create_symlink(file.path(), target / file.path().filename(), error);
            } else if (name != "ingamexml") {
                fs::create_directory_symlink(entry.path(), target, error);
            }
            if (error)
                return Fail("cannot link the package " + name + ": " + error.message());
            continue;
        }
        if (fs::is_symlink(target))  // never write through a link into the build's own data
            continue;
        fs::copy(entry.path(), target, fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
        if (!error && name != authoring::LowerName(name))
            fs::rename(target / (name + ".hdr"), target / (authoring::LowerName(name) + ".hdr"), error);
        if (error)
            return Fail("cannot copy the package " + name + ": " + error.message());
    }
    if (error)
        return Fail(std::string("cannot read ") + TALLYVOX_BUILT_DATA + ": " + error.message());
    if (m_BankChange) {
        qbank::Bank bank;
        qbank::Diagnostics diagnostics;
        if (!qbank::ReadBankSources(TALLYVOX_QUESTION_SOURCES, bank, diagnostics))
            return Fail("cannot read the question sources");
        m_BankChange(bank);
        if (!qbank::WriteBankPackage(bank, m_Home.Path() + "/gamequestions", diagnostics))
            return Fail("cannot write the changed question bank");
    }
    return true;
}

bool MatchHarness::WriteShowData() {
    authoring::PackageWriter sequences;
    for (const auto& [file, text] : ShowSequences(m_SequenceMs))
        sequences.Add(file, TypeKey::Data, text);
    // The sample's own bindings file is replaced in place (a folder package reads its files as
    // they are).
    std::ofstream actions(m_Home.Path() + "/gssystem/actions.xml", std::ios::binary | std::ios::trunc);
    actions << MatchActions();
    actions.close();
    if (!actions || !sequences.WriteFolder(m_Home.File("ingamexml.dir")))
        return Fail("cannot write the show's data");
    return true;
}

bool MatchHarness::Start(uint32_t seed) {
    if (m_Started)
        return true;
    m_Started = true;
    m_Clock = std::make_unique<platform::FakeClock>();
    // Shared by every game mode and kept between games: a run starts its level as early as
    // any other run.
    GameServices::MiniGame::BaseMiniGame::SetStartAccumulator(0);
    platform::window::SetBackendFactory(&MakeTestBackend);
    AGProgram::SetInstance(&QZ2011::g_QZ2011Prog);
    m_SavedAudioFactory = AGAudioManager::s_implFactory;
    AGAudioManager::s_implFactory = &MakePulledAudio;
    // The save file goes to the harness's folder: harnesses of parallel tests never share one.
    m_Env.Set("XDG_DATA_HOME", m_Home.Path() + "/savedata");
    // On the real screen the program's own application object runs, as the game finds it; the
    // harness's own otherwise.
    if (m_UseRealScreen) {
        m_Application = dynamic_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
    } else {
        m_OwnApplication = std::make_unique<PCApplicationImpl>();
        m_Application = m_OwnApplication.get();
    }
    if (!m_Application || !m_Application->Initialize())
        return Fail("the application did not start on the test window");
    RegisterSoundProvider(AGResourceManager::Get());
    if (!CopyData())
        return false;
    m_WorkingDir = std::make_unique<ScopedWorkingDir>(m_Home.Path());
    GameServices::Bridge::FileSystem::UsePackages();
    if (m_UseRealScreen && !WriteShowData())
        return false;

    m_Context = std::make_unique<QZ2011GameContext>();
    m_Context->m_GamePhase.SetObserver(&MatchHarness::OnPhaseWrite, this);
    m_Context->Initialize();
    const bool ownPackage = !m_Sounds.empty() || m_UseRealScreen;
    if (ownPackage) {
        authoring::PackageWriter own;
        for (const auto& [name, ms] : m_Sounds) {
            const uint32_t frames = uint32_t(uint64_t(ms) * platform::audio::kMixRate / 1000);
            own.Add(name + ".ogg", TypeKey::Data, authoring::EncodeOggVorbis(authoring::MakeTone(440, frames)));
            own.Add(name + ".snd", TypeKey::Sound, authoring::MakeSoundDescriptor(name + ".ogg", false));
        }
        if (m_UseRealScreen)
            own.Add("screengame", TypeKey::Data,
                    ScreenGameLayout(m_Context->GetGameScreen(), {}, ClickablePlaces(), 40));
        if (!own.WriteFolder(m_Home.File(kSoundPackage)))
            return Fail("cannot write the harness's package");
    }
    if (m_UseProfiles) {
        // As the menu does: the wardrobe's assemblies first (a profile's avatar names its
        // assembly by id), then the profiles.
        if (!WriteProfiles())
            return false;
        if (m_LoadProfilesAtStart) {
            GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
            profiles->Initialize();
            profiles->LoadProfiles();
        }
    }
    if (ownPackage)
        GameServices::Bridge::FileSystem::LoadPackage(kSoundPackage, false);
    if (QZ2011::QuestionManager* questions = m_Context->GetQuestionManager())
        questions->Initialize();
    // Without the real screen the level's running screen is found nowhere: nothing follows the
    // match events.
    if (m_UseRealScreen)
        m_Context->GetGameScreen().SetApplication(m_Application);
    else
        GameServices::Widget::ScreenManager::Instance().UnregisterScreen(&m_Context->GetGameScreen());
    if (GameShow::SequenceManager* sequences = m_Context->GetSequenceManager())
        sequences->RegisterSequencer(Crc32Hash(kTapSequencer), &m_SequenceTap);
    // A single-player match: the team's second member is the computer family's player.
    if (BaseTeamMember* computer = ComputerMember()) {
        computer->m_Computer = 1;
        computer->m_Playing = 1;
        // On the real screen the computer family is played by its own player, made at the
        // level start for a member with both flags.
        computer->m_ComputerPlay = computer->m_ComputerPlay2 = m_UseRealScreen ? 1 : 0;
    }
    m_Context->m_TwoPlayers = 0;
    m_Context->m_Decade = 0;
    m_Context->m_Difficulty = 0;
    Seed(seed);
    FlushLog();
    return true;
}

void MatchHarness::Step(uint32_t ms) {
    // As the run loop: the waiting messages first, then the tick, the devices polled last.
    platform::window::Backend* window = m_UseRealScreen ? m_Application->GetWindow() : nullptr;
    platform::window::Message message;
    while (window && window->PollMessage(message))
        m_Application->DispatchMessage(message);
    m_Context->Update(ms);
    m_Clock->AdvanceMs(ms);
    m_NowMs += ms;
    if (AGAudioManager* audio = AGAudioManager::Get())
        audio->Update();
    m_Mixer.Pull(ms);
    if (window)
        if (AGDeviceManager* devices = AGDeviceManager::Get())
            devices->Update();
    FlushLog();
    if (m_UseRealScreen)
        WatchState();
    GameShow::SequenceManager* sequences = m_Context->GetSequenceManager();
    if (sequences && sequences->GetCurrentSequence())
        Moved();
}

bool MatchHarness::GoTo(const std::string& levelFile, bool match, const std::function<void()>& whileLoading) {
    if (!m_Context)
        return false;
    Detach();
    GameServices::KorvoGame::GameFlowManager* flow = m_Context->GetGameFlowManager();
    GameShow::SequenceManager* sequences = m_Context->GetSequenceManager();
    bool requested = false;
    for (int frame = 0; frame < kLevelFrames; ++frame) {
        // The flow takes a request only while no level or a running one is current.
        if (!requested)
            requested = flow->SetNextLevel(levelFile.c_str(), nullptr, false);
        Step(16);
        if (whileLoading && requested && Match().GetSet() && !m_Context->GetTeamActionManager()->IsEnabled())
            whileLoading();
        GameServices::KorvoGame::LevelTransitionController* controller = flow->GetController();
        const bool running =
            controller && controller->GetPhase() == GameServices::KorvoGame::LevelTransitionController::kPhaseRunning;
        if (!requested || !running)
            continue;
        // The match level has started: the phase step follows the show clock, team actions are
        // on. Any other level: the match level's clean-up ran.
        const bool matchStarted = Match().GetSet() && sequences->GetSequenceEndedEvent().Count() > 0 &&
                                  m_Context->GetTeamActionManager()->IsEnabled();
        const bool matchLeft = !Match().GetSet() && sequences->GetSequenceEndedEvent().Count() == 0;
        if (match ? matchStarted : matchLeft)
            return true;
    }
    return Fail("the level " + levelFile + (match ? " did not start" : " did not replace the match level"));
}

bool MatchHarness::EnterLevel(const std::string& levelFile) { return EnterLevel(levelFile, nullptr); }

bool MatchHarness::EnterLevel(const std::string& levelFile, const std::function<void()>& whileLoading) {
    const bool entered = GoTo(levelFile, true, whileLoading);
    if (entered)
        Attach();
    return entered;
}

bool MatchHarness::LeaveLevel() { return GoTo(kDecadeChoiceFile, false, nullptr); }

void MatchHarness::Attach() {
    // The recorders come first, so that an event is recorded before the screen acts on it.
    for (int i = 0; i < 24; ++i)
        Match().Event(i).AddDelegate(&m_EventTaps[i]);
    Match().SetRoundRules(&m_Context->GetRoundRules());
    GameShow::SequenceManager* sequences = m_Context->GetSequenceManager();
    sequences->GetSequenceEndedEvent().AddDelegate(&m_EndedTap);
    // Each sequence of the show's table announces its start to the harness.
    std::set<const GameShow::Sequence*> tapped;
    for (const auto& [file, name] : QZ2011::QZ11Game::InGameSequences()) {
        (void)file;
        GameShow::Sequence* sequence = name ? sequences->FindSequence(Crc32Hash(name)) : nullptr;
        if (!sequence || !tapped.insert(sequence).second)
            continue;
        sequence->m_Start.events.insert(sequence->m_Start.events.begin(),
                                        GameShow::SequenceEvent{kTapSequencer, "Started", name, ""});
    }
    m_Attached = true;
}

void MatchHarness::Detach() {
    if (!m_Attached)
        return;
    m_Attached = false;
    for (int i = 0; i < 24; ++i)
        Match().Event(i).RemoveDelegate(&m_EventTaps[i]);
    if (GameShow::SequenceManager* sequences = m_Context->GetSequenceManager())
        sequences->GetSequenceEndedEvent().RemoveDelegate(&m_EndedTap);
}

void MatchHarness::SequenceTap::onSequenceEvent(const TString<char>&, const TString<char>& target,
                                                const TString<char>&) {
    harness->OnSequenceStarted(target.c_str());
}

void MatchHarness::OnPhaseWrite(void* owner, int phase) {
    auto* self = static_cast<MatchHarness*>(owner);
    self->FlushLog();
    self->Add(RecordEntry::Kind::Phase, phase, "");
    ++self->m_PhaseWriteCount;
}

void MatchHarness::OnEvent(int index, BaseTeamMember* member) {
    FlushLog();
    const QZ2011GameContext& c = *m_Context;
    const bool answer = index == kAnswerEnteredEvent || index == kAnswerResultEvent;
    Add(RecordEntry::Kind::Event, index, member && member == ComputerMember() ? "computer" : "");
    if (answer)
        m_Record.back().answer = c.m_AnswerRecord ? c.m_AnswerRecord->m_AnswerIndex : c.m_LastAnswerIndex;
}

void MatchHarness::WatchState() {
    const QZ2011GameContext& c = *m_Context;
    // The scores first: a banking empties the bank in the same frame.
    std::vector<std::pair<const char*, int>> now = {
        {"score0", c.m_PlayerOneFamily ? c.m_PlayerOneFamily->m_Score : 0},
        {"score1", c.m_ComputerFamily ? c.m_ComputerFamily->m_Score : 0},
        {"bank", int(c.m_RoundBank)},
        {"fastMoneyTotal", c.m_FastMoneyTotal}};
    if (const GameShow::PlayerProfile* profile = GameShow::PlayerProfileManager::Instance()->GetProfile(0))
        now.emplace_back("money", int(profile->Score));
    if (m_Checking && c.m_PlayerOneFamily && c.m_ComputerFamily)
        CheckRules(now[0].second, now[1].second, now[2].second);
    for (const auto& [name, value] : now) {
        int& watched = m_Watched[name];
        if (value != watched) {
            watched = value;
            Add(RecordEntry::Kind::State, value, name);
        }
    }
}

void MatchHarness::OnSequenceStarted(const std::string& name) {
    FlushLog();
    Add(RecordEntry::Kind::Sequence, 0, name);
    m_LastSequences.push_back(name);
    if (m_LastSequences.size() > 10)
        m_LastSequences.erase(m_LastSequences.begin());
}

void MatchHarness::Add(RecordEntry::Kind kind, int value, const std::string& text) {
    m_Record.push_back({kind, value, text, m_NowMs});
    if (kind != RecordEntry::Kind::Log)
        Moved();
}

void MatchHarness::FlushLog() {
    for (const std::string& line : m_Log.Lines())
        Add(RecordEntry::Kind::Log, 0, line);
    m_Log.Clear();
}

std::vector<std::string> MatchHarness::Lines(std::initializer_list<RecordEntry::Kind> kinds) const {
    std::vector<std::string> lines;
    for (const RecordEntry& entry : m_Record)
        if (std::find(kinds.begin(), kinds.end(), entry.kind) != kinds.end())
            lines.push_back(entry.ToString());
    return lines;
}

std::string MatchHarness::Report(const std::string& reason) const {
    std::string report = reason + " at " + std::to_string(m_NowMs) + " ms";
    if (m_Context)
        report += ": phase " + std::to_string(m_Context->m_GamePhase) + ", round " +
                  std::to_string(m_Context->m_RoundCounter) + ", entry open " +
                  std::to_string(m_Context->m_AnswerEntryOpen) + "; last sequences:";
    for (const std::string& name : m_LastSequences)
        report += " " + name;
    return report;
}

namespace {

// The message on player one's test window, then that many steps.
void Inject(MatchHarness& harness, const platform::window::Message& message, int steps) {
    static_cast<platform::window::TestBackend*>(harness.Application()->GetWindow())->Inject(message);
    for (int i = 0; i < steps; ++i)
        harness.Step(16);
}

}  // namespace

void MatchHarness::PressKey(uint32_t virtualKey) {
    Inject(*this, {.kind = platform::window::MessageKind::KeyDown, .key = virtualKey}, 2);
    Inject(*this, {.kind = platform::window::MessageKind::KeyUp, .key = virtualKey}, 1);
}

void MatchHarness::TypeText(const std::string& text) {
    for (char c : text)
        Inject(*this, {.kind = platform::window::MessageKind::Char, .unit = char16_t(static_cast<unsigned char>(c))}, 1);
}

void MatchHarness::Click(const std::string& widget) {
    uint32_t width = 800, height = 600;
    m_Application->GetWindow()->GetClientSize(width, height);
    for (const WidgetPlace& place : ClickablePlaces()) {
        if (place.name != widget)
            continue;
        const int32_t x = int32_t((place.x + place.width / 2) * int(width) / 800);
        const int32_t y = int32_t((place.y + place.height / 2) * int(height) / 600);
        using Kind = platform::window::MessageKind;
        for (auto [kind, steps] : {std::pair{Kind::MouseMove, 1}, {Kind::ButtonDown, 2}, {Kind::ButtonUp, 1}})
            Inject(*this, {.kind = kind, .x = x, .y = y}, steps);
    }
}

namespace {

bool Chance(std::mt19937& random, int percent) { return int(random() % 100) < percent; }

// The answer of the question with the highest (top) or lowest value, or a random one; only
// answers not found yet when notFound.
std::string PickAnswer(QZ2011::Question* question, MatchPolicy::FastMoney pick, bool notFound,
                       std::mt19937& random, const std::string& taken = "") {
    std::vector<u32> candidates;
    for (u32 i = 0; question && i < question->AnswerCount(); ++i)
        if ((!notFound || !question->IsFound(i)) && (taken.empty() || FirstSpelling(question->GetAnswer(i).Text()) != taken))
            candidates.push_back(i);
    if (candidates.empty())
        return "";
    u32 chosen = candidates[random() % candidates.size()];
    for (u32 i : candidates) {
        const u32 value = question->GetAnswer(i).Value(), best = question->GetAnswer(chosen).Value();
        if ((pick == MatchPolicy::FastMoney::Top && value > best) || (pick == MatchPolicy::FastMoney::Lowest && value < best))
            chosen = i;
    }
    return FirstSpelling(question->GetAnswer(chosen).Text());
}

bool ButtonShown(QZ2011::ScreenGame& screen, const char* name) {
    GameServices::Widget::Widget* widget = screen.BoundWidget(name);
    return widget && widget->Visible;
}

}  // namespace

void MatchHarness::PlayerOneActs(const MatchPolicy& policy, std::mt19937& random) {
    QZ2011GameContext& c = *m_Context;
    QZ2011::ScreenGame& screen = c.GetGameScreen();
    const int phase = c.m_GamePhase;
    const int writes = m_PhaseWriteCount;
    GameServices::Widget::SoftKeyboard* keyboard = c.m_AnswerKeyboard;
    // A closed entry or a new phase ends the turn player one answered.
    if (!c.m_AnswerEntryOpen || !keyboard || !keyboard->Visible || writes != m_TurnWrite)
        m_TurnTaken = false;
    m_TurnWrite = writes;
    // Buzz once in each face-off or sudden death, when the policy says so.
    if ((phase == QZ2011::PhaseFaceOffBuzz || phase == QZ2011::PhaseSuddenDeathBuzz) && m_BuzzedPhaseWrite != writes) {
        m_BuzzedPhaseWrite = writes;
        if (Chance(random, policy.buzzPercent))
            PressKey(0x20);
        return;
    }
    if (ButtonShown(screen, "PlayButton") && ButtonShown(screen, "PassButton") && m_ChosePlayWrite != writes) {
        m_ChosePlayWrite = writes;
        Click(Chance(random, policy.playPercent) ? "PlayButton" : "PassButton");
        return;
    }
    const bool fastMoney = phase == QZ2011::PhaseFastMoneyFirstPlayer || phase == QZ2011::PhaseFastMoneySecondPlayer;
    if (!c.m_AnswerEntryOpen || !keyboard || !keyboard->Visible)
        return;
    if (!fastMoney && (m_TurnTaken || c.m_CurrentFamily != QZ2011GameContext::kPlayerOneFamily))
        return;
    if (fastMoney && (!keyboard->m_EntryText.IsEmpty() || m_NowMs - m_LastSubmitMs < 300))
        return;
    m_TurnTaken = true;
    std::string text;
    if (fastMoney) {
        const MatchPolicy::FastMoney pick =
            phase == QZ2011::PhaseFastMoneyFirstPlayer ? policy.firstPlayer : policy.secondPlayer;
        QZ2011::Question* question = CurrentQuestion(c);
        const std::string id = question && question->Id() ? question->Id() : "";
        if (pick != MatchPolicy::FastMoney::Pass)
            text = PickAnswer(question, pick, false, random, phase == QZ2011::PhaseFastMoneySecondPlayer ? m_FirstPlayerTexts[id] : "");
        if (phase == QZ2011::PhaseFastMoneyFirstPlayer)
            m_FirstPlayerTexts[id] = text;
        // Entry stays open from question to question in fast money.
        m_TurnTaken = false;
    } else if (Chance(random, policy.silentPercent)) {
        return;
    } else if (Chance(random, phase == QZ2011::PhaseSteal ? policy.stealRightPercent : policy.rightPercent)) {
        const bool sudden = phase == QZ2011::PhaseSuddenDeathFirstAnswer || phase == QZ2011::PhaseSuddenDeathSecondAnswer;
        text = PickAnswer(CurrentQuestion(c), sudden ? MatchPolicy::FastMoney::Top : MatchPolicy::FastMoney::Random,
                          true, random);
    } else {
        text = "zzqx wvvk";
    }
    TypeText(text);
    // The last character reaches the keyboard in the next frame.
    Step(16);
    if (Chance(random, policy.clickConfirmPercent))
        Click("ConfirmButton");
    else
        PressKey(0x0D);
    m_LastSubmitMs = m_NowMs;
}

bool MatchHarness::MatchOver() const {
    const GameShow::SequenceManager* sequences = m_Context->GetSequenceManager();
    if (sequences->GetCurrentSequence())
        return false;
    const int phase = m_Context->m_GamePhase;
    if (phase == QZ2011::PhaseGameOver)
        return true;
    if (phase != QZ2011::PhaseGameEnd)
        return false;
    return !m_LastSequences.empty() && m_LastSequences.back() == "end_game_loose";
}

void MatchHarness::CheckRules(int score0, int score1, int bank) {
    const QZ2011GameContext& c = *m_Context;
    const QZ2011::Question* question = CurrentQuestion(*m_Context);
    // Answer by answer as the last step left them (a new question is a step away from the last
    // one's end, with nothing revealed).
    m_Revealed.resize(question ? question->AnswerCount() : 0);
    const int scores[2] = {score0, score1}, banked = m_Watched["bank"], phase = c.m_GamePhase;
    // A bank rise is the points of an answer revealed in this step times the round's multiplier.
    bool bankRight = bank <= banked;
    for (u32 i = 0; i < m_Revealed.size(); ++i) {
        const RightAnswer& answer = question->GetAnswer(i);
        const int multiplier = c.m_RoundCounter >= 4 ? 3 : c.m_RoundCounter == 3 ? 2 : 1;
        bankRight |= answer.IsRevealed() && !m_Revealed[i] && bank - banked == int(answer.Value()) * multiplier;
        m_Revealed[i] = answer.IsRevealed();
    }
    std::string broken = bankRight ? "" : " a bank rise no revealed answer is worth;";
    for (int side = 0; side < 2; ++side) {
        const int gain = scores[side] - m_Watched[side ? "score1" : "score0"];
        const int strikes = (side ? c.m_ComputerFamily : c.m_PlayerOneFamily)->m_Strikes;
        broken += gain < 0 || (gain > 0 && (gain != banked || bank != 0)) ? " a score took other than the bank;" : "";
        broken += strikes < 0 || strikes > 3 ? " strikes out of 0..3;" : "";
    }
    if ((phase >= QZ2011::PhaseFastMoneyIntro && phase <= QZ2011::PhaseFastMoneyReveal) || phase == QZ2011::PhaseFastMoneyWon)
        broken += QZ2011::HasReachedEndScore(score0) && !QZ2011::HasReachedEndScore(score1) ? "" : " fast money;";
    if (!broken.empty() && m_Failure.empty())
        m_Failure = Report(broken + " bank " + std::to_string(banked) + " -> " + std::to_string(bank));
}

RunResult MatchHarness::PlayMatch(const MatchPolicy& policy) {
    m_UseRealScreen = true;
    // Sounds for two of the holding cues; the others have none.
    if (m_Sounds.empty()) {
        AddSound("intro", 300);
        AddSound("sfx_podiumbuzzer", 200);
    }
    if (!Start(policy.seed))
        return {false, m_Failure};
    // Both are read while the level loads: the level's tuning is the decade's and difficulty's.
    m_Context->m_Decade = policy.decade % 4;
    m_Context->m_Difficulty = policy.difficulty % 3;
    if (!EnterLevel("QZ11_Game_Level_File_1_" + std::string("70809000").substr(policy.decade % 4 * 2, 2)))
        return {false, m_Failure};
    Seed(policy.seed);
    if (policy.answerSeconds)
        m_Context->m_QuestionRoundTime = policy.answerSeconds;
    std::mt19937 random(policy.seed);
    const uint64_t start = m_NowMs;
    m_LastMoveMs = m_NowMs;
    m_LastSequences.clear();
    m_Failure.clear();
    m_Checking = true;
    uint64_t longestSound = 0, pausedSince = m_NowMs;
    for (const auto& [name, ms] : m_Sounds)
        longestSound = std::max<uint64_t>(longestSound, ms);
    GameShow::SequenceManager* sequences = m_Context->GetSequenceManager();
    while (!MatchOver() && m_Failure.empty()) {
        if (policy.stopWhen && policy.stopWhen()) {
            m_Checking = false;  // stopped mid-match: what follows is the caller's
            return {true, ""};
        }
        if (!sequences->IsPaused())
            pausedSince = m_NowMs;
        if (m_NowMs - m_LastMoveMs >= kMatchStallMs)
            m_Failure = Report("stalled: nothing moved for 60 s");
        else if (m_NowMs - pausedSince > longestSound + 100)
            m_Failure = Report("stalled: the show stayed paused longer than its longest sound");
        else if (m_NowMs - start > policy.capMs)
            m_Failure = Report("the match passed its cap");
        if (!m_Failure.empty())
            break;
        PlayerOneActs(policy, random);
        Step(16);
    }
    // Over: for two more seconds nothing is written, played or changed.
    const size_t ended = m_Record.size();
    for (int i = 0; i < 125 && m_Failure.empty(); ++i)
        Step(16);
    m_Checking = false;
    for (size_t i = ended; i < m_Record.size() && m_Failure.empty(); ++i)
        if (m_Record[i].kind != RecordEntry::Kind::Log)
            m_Failure = Report("after the end: " + m_Record[i].ToString());
    return {m_Failure.empty(), m_Failure};
}

}  // namespace match
