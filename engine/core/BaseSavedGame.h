#pragma once
// The base records of the save file's content: one saved-game slot and the settings.
#include "engine/core/ISerializable.h"

namespace GameServices::KorvoGame {

class BaseSavedGame : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> SavedGameName;
    bool isUsed = false;
};

class BaseSavedSettings : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;
    // Sets the three volumes to 50; the other fields stay.
    void Clear() override;

    i32 CurrentSavedGame = 0;
    u32 VoiceVolume = 0;
    u32 SoundEffectsVolume = 0;
    u32 MusicVolume = 0;
    u32 Version = 0;
};

}  // namespace GameServices::KorvoGame
