#include "engine/core/BaseSavedGame.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/XmlReader.h"
#include "engine/core/XmlWriter.h"

using GameServices::KorvoGame::BaseSavedGame;
using GameServices::KorvoGame::BaseSavedSettings;
using GameServices::Utilities::XmlReader;
using GameServices::Utilities::XmlWriter;

TEST(BaseSavedGameTest, SettingsClearSetsOnlyTheVolumes) {
    BaseSavedSettings settings;
    settings.Version = 4;
    settings.CurrentSavedGame = 2;
    settings.Clear();
    EXPECT_EQ(settings.SoundEffectsVolume, 50u);
    EXPECT_EQ(settings.MusicVolume, 50u);
    EXPECT_EQ(settings.VoiceVolume, 50u);
    EXPECT_EQ(settings.Version, 4u);
    EXPECT_EQ(settings.CurrentSavedGame, 2);
}

TEST(BaseSavedGameTest, RecordsPrintTheirFieldsInOrder) {
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
    BaseSavedGame back;
    XmlReader reader;
    ASSERT_EQ(reader.ReadText(text, size, "root", back), XmlReader::ReadOk);
    EXPECT_TRUE(back.isUsed);
    EXPECT_EQ(back.SavedGameName, "Ann");
}
