#include "game/QZ2011GameContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "questions/QuestionManager.h"
#include "platform/core/Clock.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using GameServices::KorvoGame::ApplicationData;

namespace {

std::string Event(const char* sequencer, const char* name, const char* target) {
    return std::string("<item sequencer=\"") + sequencer + "\" name=\"" + name + "\" target=\"" + target +
           "\" parameter=\"p\"/>";
}

}  // namespace

TEST(QZ2011GameContext, StartsTheShowClockWithItsSequencersBeforeTheBaseGame) {
    TempDir home;
    platform::FakeClock clock;
    LogCapture log;
    std::string items;
    for (const char* pool : {"FactoryDeviceTriggerKey", "FactoryDeviceTriggerMove", "FactoryDeviceTriggerAccel"})
        items += ParameterItem("GameServices", pool, "4");
    home.Write("-xml/global/runtimeparameters.xml", ParameterFile(items));
    QZ2011GameContext context;
    // The game modes are members, registered as they are built.
    ASSERT_EQ(context.GetMiniGames().size(), 3u);
    EXPECT_STREQ(context.GetMiniGames()[0]->GetName().c_str(), "GameShowMenu");
    EXPECT_STREQ(context.GetMiniGames()[1]->GetName().c_str(), "QZ11_Game_Level1");
    EXPECT_STREQ(context.GetMiniGames()[2]->GetName().c_str(), "QZ11_Game_Level2");
    for (int run = 0; run < 2; ++run) {
        GameServices::Bridge::FileSystem::SetRootPath(TString<char>((home.Path() + "/").c_str()));
        context.Initialize();
        GameShow::SequenceManager* sequences = context.GetSequenceManager();
        ASSERT_NE(sequences, nullptr);
        const std::vector<GameServices::KorvoGame::IModule*> modules = {
            sequences, GameServices::Bridge::DeviceSystem::Instance(), context.GetGameFlowManager(),
            &context.GetAIManager()};
        EXPECT_EQ(context.GetModules(), modules);

        // Each sequencer is reached by its name; the audio one is silent.
        const std::string events = Event("EntitySequencer", "Show", "Host") +
                                   Event("CameraSequencer", "SetActiveCamera", "Cam") +
                                   Event("AudioSequencer", "Play", "Cue") +
                                   Event("GameShowCameraSequencer", "SetActiveCamera", "Cam") +
                                   Event("Nobody", "x", "y");
        sequences->LoadSequence("all", home.Write("all.xml", "<root><Sequence><OnStart><Events>" + events +
                                                                 "</Events></OnStart><Acts/><OnEnd><Events/>"
                                                                 "</OnEnd></Sequence></root>").c_str());
        LogCapture lines;
        sequences->PlaySequence("all");
        EXPECT_TRUE(lines.Contains("EntitySequencer : can't find the Sequenceable Entity called 'Host'"));
        EXPECT_TRUE(lines.Contains("CameraSequencer::onSequenceEvent : the set is NULL"));
        EXPECT_TRUE(lines.Contains("GameShowCameraSequencer::onSequenceEvent : the set is NULL"));
        EXPECT_TRUE(lines.Contains("SequenceManager : can't find the sequencer 'Nobody'"));
        EXPECT_EQ(lines.Lines().size(), 4u);

        // Level files make game-show cameras, with their records, from the registered kind.
        EXPECT_NE(ApplicationData::GetPrototype(ApplicationData::kCamera), nullptr);
        auto* cameras = GameServices::Entities::GameEntityFactory::Instance()->GetFactory("GameShowCamera");
        ASSERT_NE(cameras, nullptr);
        GameServices::Entities::Entity* camera = cameras->Alloc(false);
        EXPECT_NE(dynamic_cast<GameShow::GameShowCamera*>(camera), nullptr);
        cameras->Release(camera);

        // The profile manager is started, and the question bank keeps its progress in the
        // profiles' settings through it.
        GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
        ASSERT_NE(profiles->GetSavedFile(), nullptr);
        ASSERT_NE(context.GetQuestionManager(), nullptr);
        context.GetQuestionManager()->RegisterProgressAttributes();
        EXPECT_TRUE(profiles->HasAttribute("NumberOfTimesWeLoopedDecade00"));

        context.Shutdown();
        EXPECT_EQ(context.GetSequenceManager(), nullptr);
        EXPECT_TRUE(!context.GetEntitySequencer() && !context.GetCameraSequencer() &&
                    !context.GetGameShowCameraSequencer());
        EXPECT_EQ(ApplicationData::GetPrototype(ApplicationData::kCamera), nullptr);
    }
}
