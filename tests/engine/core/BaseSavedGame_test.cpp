#include "engine/core/BaseSavedGame.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/XmlWriter.h"

using GameServices::KorvoGame::BaseSavedGame;
using GameServices::KorvoGame::BaseSavedSettings;
using GameServices::Utilities::XmlWriter;

TEST(BaseSavedGameTest, SettingsClearSetsTheVolumesAndRecordsPrintTheirFields) {
    BaseSavedSettings settings;
    settings.Version = 1;
    settings.CurrentSavedGame = -1;
    settings.Clear();
    char text[512];
    u32 size = sizeof text;
    XmlWriter writer;
    ASSERT_TRUE(writer.WriteText(settings, text, size));
    EXPECT_EQ(std::string(text, size),
              "<root><Version>1</Version><CurrentSavedGame>-1</CurrentSavedGame>"
              "<SoundEffectsVolume>50</SoundEffectsVolume><MusicVolume>50</MusicVolume>"
              "<VoiceVolume>50</VoiceVolume></root>");

    BaseSavedGame game;
    game.isUsed = true;
    game.SavedGameName = "Ann";
    size = sizeof text;
    ASSERT_TRUE(writer.WriteText(game, text, size));
    EXPECT_EQ(std::string(text, size),
              "<root><isUsed>true</isUsed><SavedGameName>Ann</SavedGameName></root>");
}
