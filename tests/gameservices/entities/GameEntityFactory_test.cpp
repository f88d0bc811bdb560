#include "gameservices/entities/GameEntityFactory.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Prop.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedWorkingDir.h"
#include "tests/support/TempDir.h"

using namespace GameServices::Entities;

TEST(GameEntityFactoryTest, PoolsFromRuntimeParametersAndCapacitiesRefusedOrCapped) {
    TempDir dir;
    LoadCapacities(dir, {{"FactoryCamera", 1}, {"FactoryLight", 1}, {"FactoryProp", 3},
                         {"FactoryCharacter", 1}, {"FactorySetElement", 1}});
    GameEntityFactory* factories = GameEntityFactory::Instance();
    LogCapture log;
    factories->RegisterEntityFactories();
    EXPECT_TRUE(log.Lines().empty());

    auto* props = static_cast<EntityFactory<Prop>*>(factories->GetPropFactory());
    Entity *a = props->Alloc(false), *b = props->Alloc(false), *c = props->Alloc(false);
    ASSERT_TRUE(a && b && c && a->IsA(TypeIds::Prop));
    EXPECT_TRUE(props->Alloc(false) == nullptr && log.Contains("m_NbUsedObject+1 >= m_MaxSize -->"));

    a->Synchronize = false;  // given back, a prop is reset for its next user
    props->Release(a);
    EXPECT_TRUE(props->GetUsedCount() == 2u && props->Alloc(false) == a && a->Synchronize);

    props->Release(b);
    props->Release(b);  // a second release must not free a handed-out object
    EXPECT_TRUE(props->GetUsedCount() == 2u && props->Alloc(false) == b);
    EXPECT_EQ(props->Alloc(false), nullptr);
    props->ResetAll();
    EXPECT_EQ(props->GetUsedCount(), 0u);

    // Registering null forgets a kind and deletes its pool.
    auto* buzzers = new EntityFactory<Prop>(1, "Buzzer");  // its objects are named after it
    factories->RegisterFactory("buzzer", buzzers);
    EXPECT_TRUE(std::string(buzzers->Alloc(false)->Name.c_str()).starts_with("Buzzer0x"));
    factories->RegisterFactory("buzzer", nullptr);
    EXPECT_EQ(factories->GetFactory("buzzer"), nullptr);

    // A capacity is an unsigned number: a negative text keeps the fallback (0, an empty pool)
    // with a log line, and a huge one is capped, so start-up stays small and quick.
    auto* parameters = LoadParameters(dir, ParameterItem("GameServices", "FactoryCamera", "-1") +
                                               ParameterItem("GameServices", "FactoryLight", "4294967295") +
                                               ParameterItem("GameServices", "FactoryProp", " -4294967295") +
                                               ParameterItem("GameServices", "FactoryCharacter", "3") +
                                               ParameterItem("GameServices", "FactorySetElement", "2") +
                                               ParameterItem("Game", "Offset", "-1"));
    factories->RegisterEntityFactories();
    EXPECT_EQ((std::vector<u32>{factories->GetCameraFactory()->GetMaxSize(),
                                factories->GetPropFactory()->GetMaxSize(),
                                factories->GetLightFactory()->GetMaxSize(),
                                factories->GetCharacterFactory()->GetMaxSize()}),
              (std::vector<u32>{0, 0, kMaxPoolCapacity, 3}));
    EXPECT_TRUE(log.Contains("FactoryCamera: \"-1\" is not an unsigned number") && log.Contains("limited to"));

    u32 kept = 5;
    i32 offset = 0;
    parameters->GetParameter(&kept, "GameServices", "FactoryCamera");
    parameters->GetParameter(&offset, "Game", "Offset");
    EXPECT_EQ(std::pair(kept, offset), std::pair(5u, -1));
}

TEST(RuntimeParametersTest, FirstMatchReferencesAndDefaults) {
    TempDir dir;
    dir.Write("more.xml", ParameterFile(ParameterItem("Audio", "MaxSounds", "12") + "<item filename=\"deeper.xml\"/>" +
                                        ParameterItem("Game", "NbPlayer", "9")));
    dir.Write("deeper.xml", ParameterFile(ParameterItem("Audio", "MaxStreams", "7")));
    LogCapture log;
    auto* parameters = LoadParameters(dir, ParameterItem("Game", "NbPlayer", "4") +
                                               ParameterItem("game", "NbPlayerRequired", "3") +
                                               "<item filename=\"more.xml\"><Section>Game</Section><Name>Inline</Name>"
                                               "<Value>1</Value></item>" + ParameterItem("Game", "NbPlayer", "5"));
    EXPECT_TRUE(log.Contains("Not allowed to reference another file."));
    // Each read starts from the given fallback, kept when nothing matches.
    auto read = [parameters](const char* section, const char* name, u32 fallback) {
        parameters->GetParameter(&fallback, section, name);
        return fallback;
    };
    // The first entry wins, also over the referenced file's; "game" is not "Game"; the nested
    // reference was not followed.
    EXPECT_EQ((std::vector<u32>{read("Game", "NbPlayer", 0), read("Game", "NbPlayerRequired", 2),
                                read("Audio", "MaxSounds", 10), read("Audio", "MaxStreams", 4)}),
              (std::vector<u32>{4, 2, 12, 4}));
    TString<char> level = "keep";
    parameters->GetParameter(&level, "Game", "StartLevelId");
    EXPECT_EQ(level, "keep");

    // A bare name, and the files it references, are read from the working folder.
    ScopedWorkingDir inside(dir.Path());
    parameters->LoadRuntimeParameters("RuntimeParameters.xml");
    EXPECT_EQ(read("Audio", "MaxSounds", 10), 12u);
}
