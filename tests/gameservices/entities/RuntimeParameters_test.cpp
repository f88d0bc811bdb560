#include "gameservices/entities/RuntimeParameters.h"

#include <gtest/gtest.h>

#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

using GameServices::KorvoGame::RuntimeParameters;

TEST(RuntimeParametersTest, FirstMatchReferencesAndDefaults) {
    TempDir dir;
    dir.Write("more.xml", ParameterFile(ParameterItem("Audio", "MaxSounds", "12") +
                                        "<item filename=\"deeper.xml\"/>" +
                                        ParameterItem("Game", "NbPlayer", "9")));
    dir.Write("deeper.xml", ParameterFile(ParameterItem("Audio", "MaxStreams", "7")));
    const std::string path = dir.Write(
        "RuntimeParameters.xml",
        ParameterFile(ParameterItem("Game", "NbPlayer", "4") +
                      ParameterItem("game", "NbPlayerRequired", "3") +
                      "<item filename=\"more.xml\"><Section>Game</Section><Name>Inline</Name>"
                      "<Value>1</Value></item>" +
                      ParameterItem("Game", "NbPlayer", "5")));
    LogCapture log;
    RuntimeParameters* parameters = RuntimeParameters::Instance();
    parameters->LoadRuntimeParameters(path.c_str());

    EXPECT_TRUE(log.Contains("Not allowed to reference another file."));

    u32 players = 0;
    parameters->GetParameter(&players, "Game", "NbPlayer");
    EXPECT_EQ(players, 4u);  // the first entry wins, also over the referenced file's

    u32 required = 2;
    parameters->GetParameter(&required, "Game", "NbPlayerRequired");
    EXPECT_EQ(required, 2u);  // "game" is not "Game"

    u32 sounds = 10, streams = 4;
    parameters->GetParameter(&sounds, "Audio", "MaxSounds");
    parameters->GetParameter(&streams, "Audio", "MaxStreams");
    EXPECT_EQ(sounds, 12u);
    EXPECT_EQ(streams, 4u);  // the nested reference was not followed

    TString<char> level = "keep";
    parameters->GetParameter(&level, "Game", "StartLevelId");
    EXPECT_EQ(level, "keep");
}
