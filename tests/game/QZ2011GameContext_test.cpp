// The game context started and shut down on the real services, on the test window, with its
// packages written by the test into its working folder; its per-frame rules; the program's
// entry point.
#include "game/QZ2011GameContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <set>
#include <string>
#include <vector>

#include "engine/core/AGApplication.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGProgram.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PCApplicationImpl.h"
#include "game/QZ2011Prog.h"
#include "game/rules/AnswerResult.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "platform/core/Clock.h"
#include "platform/window/TestWindowBackend.h"
#include "questions/QuestionManager.h"
#include "tests/game/rules/MatchStage.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/ScopedWorkingDir.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"

namespace {

using GameServices::Bridge::FileSystem;
using match_stage::DeviceListeners;

platform::window::Backend* MakeTestBackend() { return new platform::window::TestBackend(); }

// The context's own shutdown steps, in their order, with the base shutdown's last one between
// the cameras and the question bank.
const std::vector<std::string> kShutdownSteps = {"Delete families",           "Unregister sequencers",
                                                 "Remove delegates",          "Release game-show cameras",
                                                 "DeleteManagers",            "Clean up questions",
                                                 "Delete services"};

class RecordingContext : public QZ2011GameContext {
public:
    std::vector<std::string> steps;
    size_t profileEventsAtRemoval = 0;
    bool servicesAliveAtCleanup = false;

protected:
    void OnStep(const char* step) override {
        steps.push_back(step);
        const std::string name = step;
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        if (name == "Remove delegates")
            profileEventsAtRemoval =
                profiles->GetProfilesLoadedEvent().Count() + profiles->GetProfileSelectedEvent().Count();
        if (name == "Clean up questions")
            servicesAliveAtCleanup = GetSequenceManager() && GetAudioManager() && GetAwardManager() &&
                                     GetQuestionManager() && GetAutocompleter() && m_AnswerRecord;
    }
};

class ContextStart : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("XDG_DATA_HOME", home.Path() + "/savedata").Set("XDG_CONFIG_HOME", home.Path());
        platform::window::SetBackendFactory(&MakeTestBackend);
        AGProgram::SetInstance(&QZ2011::g_QZ2011Prog);
        application = std::make_unique<PCApplicationImpl>();
        ASSERT_TRUE(application->Initialize());
        // Each package holds one marker file; the bank's list and the start-up parameters go
        // with theirs.
        for (const char* package : QZ2011GameContext::kPackages) {
            authoring::PackageWriter writer;
            writer.Add(std::string("marker_") + authoring::LowerName(package) + ".txt", TypeKey::Data, "x");
            const std::string name = package;
            if (name == "GameQuestions.dir")
                writer.Add("list.txt", TypeKey::Data, "70-0001\n70-0002\n80-0001\n00-0001\n00-0002\n");
            if (name == "GlobalXml.dir") {
                // Read from the packages: a long sequence that may be skipped and one that may not.
                writer.Add("skippable.xml", TypeKey::Data, match_stage::SequenceFile(100000, true));
                writer.Add("fixed.xml", TypeKey::Data, match_stage::SequenceFile(100000, false));
                std::string items;
                for (const char* pool : {"FactoryDeviceTriggerKey", "FactoryDeviceTriggerMove",
                                         "FactoryDeviceTriggerAccel"})
                    items += ParameterItem("GameServices", pool, "4");
                writer.Add("runtimeparameters.xml", TypeKey::Data, ParameterFile(items));
            }
            ASSERT_TRUE(writer.WriteFolder(home.File(authoring::LowerName(package))));
        }
        workingDir = std::make_unique<ScopedWorkingDir>(home.Path());
    }
    void TearDown() override {
        context.reset();
        FileSystem::Destroy();
        workingDir.reset();
        if (application)
            application->Shutdown();
        AGProgram::SetInstance(nullptr);
        platform::window::SetBackendFactory(nullptr);
    }

    TempDir home;
    ScopedEnv env;
    platform::FakeClock clock;
    GraphicsStartup graphics;
    std::unique_ptr<PCApplicationImpl> application;
    std::unique_ptr<ScopedWorkingDir> workingDir;
    std::unique_ptr<RecordingContext> context = std::make_unique<RecordingContext>();
};

TEST_F(ContextStart, MountsAndRegisters) {
    context->m_FaceOffWinner = 1;  // a start begins with no face-off won
    context->Initialize();

    std::vector<u32> expected;
    for (const char* package : QZ2011GameContext::kPackages)
        expected.push_back(FileSystem::PackageId(package));
    std::vector<u32> mounted = FileSystem::LoadedPackages();
    std::erase_if(mounted, [&](u32 id) { return std::find(expected.begin(), expected.end(), id) == expected.end(); });
    EXPECT_EQ(mounted, expected);

    std::set<GameShow::CompositionBase*> pages;
    for (const char* name : {"compositionAwards", "compositionBasicLook", "compositionKeyboard",
                             "compositionMainMenu", "compositionDecadeSelector", "compositionDifficultySelector"})
        EXPECT_TRUE(pages.insert(GameShow::CompositionManager::Instance().FindComposition(name)).second) << name;
    EXPECT_EQ(pages.count(nullptr), 0u);

    GameShow::SequenceManager* sequences = context->GetSequenceManager();
    ASSERT_TRUE(sequences && !context->GetModules().empty() && context->GetModules().front() == sequences);
    ASSERT_TRUE(context->m_AnswerRecord && context->m_AnswerRecord->m_Game == &context->GetMatchMode());
    EXPECT_TRUE(context->GetKeyboardPage().GetMaxNameLength() == 6u && context->m_TypedAnswer == "Cat" &&
                context->m_FaceOffWinner == -1);

}

TEST_F(ContextStart, QuestionCountsPerDecade) {
    context->Initialize();
    // 70s: lines 0-1, 80s: 2, 90s: none, 00s: 3-4; the counts as the context keeps them.
    std::vector<i64> last;
    for (int d = 0; d < 4; ++d)
        last.insert(last.end(), {context->GetQuestionManager()->LastIndex(d), i32(context->m_QuestionCounts[d])});
    EXPECT_EQ(last, (std::vector<i64>{1, 1, 2, 2, -1, -1, 4, 4}));

}

TEST_F(ContextStart, SkipAllowedFollowsTheRule) {
    context->Initialize();
    GameShow::SequenceManager* sequences = context->GetSequenceManager();
    // m_SkipAllowed over the rule's cases.
    sequences->SetEnabled(true);
    for (const char* name : {"skippable", "fixed"})
        sequences->LoadSequence(name, (std::string(name) + ".xml").c_str());
    // sequence: null for none running.
    const struct { const char* what; i32 phase, family; const char* sequence; i32 popup; bool quitPrompt;
                   u32 twoPlayers; u8 aiBusy, allowed; } cases[] = {
        {"before the first match", QZ2011::PhaseNone, 3, "skippable", 2, false, 0, 0, 1},
        {"computer's turn", QZ2011::PhaseRoundAnswers, 0, "skippable", 2, false, 0, 0, 1},
        {"player one's turn", QZ2011::PhaseRoundAnswers, 1, "skippable", 2, false, 0, 0, 0},
        {"sequence not skippable", QZ2011::PhaseRoundAnswers, 0, "fixed", 2, false, 0, 0, 0},
        {"no sequence", QZ2011::PhaseRoundAnswers, 0, nullptr, 2, false, 0, 0, 0},
        {"computer busy, one player", QZ2011::PhaseRoundAnswers, 1, nullptr, 2, false, 0, 1, 1},
        {"computer busy, two players", QZ2011::PhaseRoundAnswers, 1, nullptr, 2, false, 1, 1, 0},
        {"in-game menu shown", QZ2011::PhaseRoundAnswers, 0, "skippable", 0, false, 0, 1, 0},
        {"quit prompt open", QZ2011::PhaseRoundAnswers, 0, "skippable", 2, true, 0, 1, 0},
        {"face-off buzz", QZ2011::PhaseFaceOffBuzz, 0, "skippable", 2, false, 0, 1, 0},
        {"face-off won", QZ2011::PhaseFaceOffWon, 0, "skippable", 2, false, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (sequences->GetCurrentSequence())
            sequences->Skip();
        if (c.sequence)
            sequences->PlaySequence(c.sequence);
        context->m_GamePhase = c.phase;
        context->m_CurrentFamily = c.family;
        GameShow::CompositionManager::Instance().m_PopupState = c.popup;
        context->GetGameScreen().m_QuitPromptOpen = c.quitPrompt;
        context->m_TwoPlayers = c.twoPlayers;
        context->m_AIBusy = c.aiBusy;
        context->m_SkipAllowed = 1 - c.allowed;
        context->Update(16);
        EXPECT_EQ(context->m_SkipAllowed, c.allowed);
    }

}

// The menu tick stops at the first value of 200 or more.
TEST_F(ContextStart, MenuTickStopsAt200) {
    context->Initialize();
    for (const auto& [start, frame, expected] : std::vector<std::tuple<u32, u32, u32>>{
             {0, 16, 16}, {192, 16, 208}, {199, 1, 200}, {200, 16, 200}, {150, 0xFFFFFFF0u, 0xFFFFFFFFu}}) {
        context->m_MenuTickMs = start;
        context->Update(frame);
        EXPECT_EQ(context->m_MenuTickMs, expected) << start << " + " << frame;
    }
}

TEST_F(ContextStart, TutorialCleanupLetsGoOfTheShow) {
    context->Initialize();
    // The tutorial's clean-up lets go of the show its sound cues were bound to.
    for (GameServices::MiniGame::BaseMiniGame* mode : context->GetMiniGames())
        if (auto* tutorial = dynamic_cast<QZ2011::QZ11Tutorial*>(mode)) {
            tutorial->InitializeLevel();
            tutorial->CleanupLevel();
        }
    EXPECT_EQ(context->GetAudioManager()->GetSequenceManager(), nullptr);
}

TEST_F(ContextStart, ShutsDownInOrder) {
    const size_t deviceListenersBefore = DeviceListeners();
    context->Initialize();
    const size_t deviceListenersStarted = DeviceListeners();
    for (int level = 0; level < 3; ++level)
        context->SubscribeDeviceEvents();
    EXPECT_EQ(DeviceListeners(), deviceListenersStarted + 2);
    LogCapture log;
    context->OnProfilesLoaded();  // without a current save: no award is looked up

    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    const size_t profileEvents =
        profiles->GetProfilesLoadedEvent().Count() + profiles->GetProfileSelectedEvent().Count();
    GameServices::Entities::Set set;
    GameShow::GameShowCameraManager::Instance()->SetSet(&set);
    context->Shutdown();
    std::vector<std::string> own = context->steps;
    std::erase_if(own, [](const std::string& step) {
        return std::find(kShutdownSteps.begin(), kShutdownSteps.end(), step) == kShutdownSteps.end();
    });
    EXPECT_EQ(own, kShutdownSteps);
    EXPECT_TRUE(context->servicesAliveAtCleanup && context->profileEventsAtRemoval + 2 == profileEvents &&
                DeviceListeners() == deviceListenersBefore);
    EXPECT_TRUE(!context->GetSequenceManager() && !context->GetAudioManager() && !context->GetAwardManager() &&
                !context->GetQuestionManager() && !context->GetAutocompleter() && !context->m_AnswerRecord &&
                !context->m_ComputerFamily && !context->m_PlayerTwoFamily &&
                !GameShow::GameShowCameraManager::Instance()->GetSet() &&
                !log.Contains("No profile was found assigned to player id = 0"));
    // Without its team registry the context's cursor operations find no team.
    context->m_TwoPlayers = 1;
    context->ResetGameState();
    context->AttachConnectedPlayerCursors();
    context->ShowActivePlayerCursor(true);
}

TEST_F(ContextStart, ProgramRunsUntilTheWindowCloses) {
    // The program's window defaults, and the entry point's sequence on the test window over the
    // test's packages: start-up, the run loop ended at once (the marker packages lack what the
    // game needs, which is reported as fatal), shutdown, release.
    u32 size[3] = {};
    QZ2011::g_QZ2011Prog.GetDefaultSettings(&size[0], &size[1], &size[2]);
    EXPECT_EQ(std::vector<u32>(size, size + 3), (std::vector<u32>{800, 600, kSettingMultisampling | 0x80000003u}));
    // The program's own application in place of the fixture's.
    application->Shutdown();
    application.reset();
    AGApplication& program = AGApplication::Get();
    auto* impl = static_cast<PCApplicationImpl*>(program.GetImpl());
    ASSERT_TRUE(impl && impl->Initialize());
    EXPECT_EQ(impl->GetProgramName(), "Tallyvox");
    auto* window = static_cast<platform::window::TestBackend*>(impl->GetWindow());
    window->Post({.kind = platform::window::MessageKind::CloseRequest});
    QZ2011::g_QZ2011Prog.Run();
    EXPECT_TRUE(AGFatalErrorRaised());
    impl->Shutdown();
    program.Release();
    EXPECT_EQ(program.GetImpl(), nullptr);
}

}  // namespace
