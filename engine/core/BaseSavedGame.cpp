#include "engine/core/BaseSavedGame.h"

namespace GameServices::KorvoGame {

void BaseSavedGame::Serialize(Utilities::ISerialization& s) {
    s.SerializeBool("isUsed", isUsed, false);
    s.SerializeString("SavedGameName", SavedGameName, TString<char>());
}

void BaseSavedSettings::Serialize(Utilities::ISerialization& s) {
    s.SerializeUInt("Version", Version, 0);
    s.SerializeInt("CurrentSavedGame", CurrentSavedGame, 0);
    s.SerializeUInt("SoundEffectsVolume", SoundEffectsVolume, 0);
    s.SerializeUInt("MusicVolume", MusicVolume, 0);
    s.SerializeUInt("VoiceVolume", VoiceVolume, 0);
}

void BaseSavedSettings::Clear() {
    VoiceVolume = 50;
    SoundEffectsVolume = 50;
    MusicVolume = 50;
}

}  // namespace GameServices::KorvoGame
