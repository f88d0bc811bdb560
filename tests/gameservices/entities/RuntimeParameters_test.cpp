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
    EXPECT_FALSE(log.Contains("failed to read"));

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

    i32 inlineValue = -1;
    parameters->GetParameter(&inlineValue, "Game", "Inline");
    EXPECT_EQ(inlineValue, -1);  // a referencing entry contributes only the file's entries

    TString<char> level = "keep";
    parameters->GetParameter(&level, "Game", "StartLevelId");
    EXPECT_EQ(level, "keep");

    // The referenced entries stand where the reference stood.
    const auto& items = parameters->GetParameters().Items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2].Name, "MaxSounds");
    EXPECT_EQ(items[3].Name, "NbPlayer");
    EXPECT_EQ(items[3].Value, "9");
}

TEST(RuntimeParametersTest, ValueConversions) {
    TempDir dir;
    const std::string path = dir.Write(
        "RuntimeParameters.xml",
        ParameterFile(ParameterItem("S", "Digits", "42abc") + ParameterItem("S", "Text", "abc") +
                      ParameterItem("S", "Negative", "-17") + ParameterItem("S", "Capital", "True")));
    RuntimeParameters* parameters = RuntimeParameters::Instance();
    parameters->LoadRuntimeParameters(path.c_str());
    u32 digits = 0, text = 5;
    i32 negative = 0;
    bool capital = true;
    parameters->GetParameter(&digits, "S", "Digits");
    parameters->GetParameter(&text, "S", "Text");
    parameters->GetParameter(&negative, "S", "Negative");
    parameters->GetParameter(&capital, "S", "Capital");
    EXPECT_EQ(digits, 42u);
    EXPECT_EQ(text, 0u);
    EXPECT_EQ(negative, -17);
    EXPECT_FALSE(capital);  // only "true" exactly
}

TEST(RuntimeParametersTest, UnreadableFilesAreReportedAndLeaveDefaults) {
    TempDir dir;
    LogCapture log;
    RuntimeParameters* parameters = RuntimeParameters::Instance();
    parameters->LoadRuntimeParameters((dir.Path() + "/missing.xml").c_str());
    EXPECT_TRUE(log.Contains("failed to read RuntimeParameters.xml"));
    EXPECT_TRUE(parameters->GetParameters().empty());
    u32 value = 8;
    parameters->GetParameter(&value, "Game", "NbPlayer");
    EXPECT_EQ(value, 8u);

    const std::string path =
        dir.Write("RuntimeParameters.xml", "<root><RuntimeParameters><item>");
    parameters->LoadRuntimeParameters(path.c_str());
    EXPECT_TRUE(parameters->GetParameters().empty());
}
