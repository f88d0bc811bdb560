#pragma once
// The saved-game document: the settings, then one saved game per slot. Slots are addressed
// by index, and each saved game's Id is kept equal to its index: set when the document builds
// a slot and again after every read, whatever the file said. After a read the current slot
// is -1 unless it names a used slot of the document.
#include <utility>

#include "engine/core/AGLog.h"
#include "engine/core/SerializableVector.h"
#include "gameservices/game/SavedGameServices.h"

namespace GameServices::KorvoGame {

template <typename TGame, typename TSettings>
class SavedFile : public ISavedFile {
public:
    SavedFile() { m_SavedGames.SetItemName("SavedGame"); }

    // "Settings" (mandatory), then "SavedGames" with one "SavedGame" per slot. Reading
    // replaces every slot with those of the document.
    void Serialize(Utilities::ISerialization& serialization) override {
        serialization.SerializeObject("Settings", m_Settings, true);
        if (!serialization.IsReading()) {
            serialization.SerializeObject("SavedGames", m_SavedGames, true);
            return;
        }
        m_SavedGames.Clear();
        Utilities::SerializableVector<TGame> read;
        read.SetItemName("SavedGame");
        serialization.SerializeObject("SavedGames", read, true);
        for (TGame& game : read)
            m_SavedGames.push_back(std::move(game));
        for (u32 i = 0; i < GetSavedGameCount(); ++i)
            m_SavedGames[i].Id = i32(i);
        const i32 current = m_Settings.CurrentSavedGame;
        if (current != -1 && !IsUsedSlot(current)) {
            AGReport("The current saved game %d is not a used slot", current);
            m_Settings.CurrentSavedGame = -1;
        }
    }
    // No saved game; the settings cleared (their own Clear).
    void Clear() override {
        m_SavedGames.Clear();
        m_Settings.Clear();
    }

    TSettings& GetSettings() override { return m_Settings; }
    const TSettings& GetSettings() const { return m_Settings; }
    u32 GetSavedGameCount() const override { return u32(m_SavedGames.size()); }
    // Null outside the slots.
    TGame* GetSavedGame(u32 index) override { return index < m_SavedGames.size() ? &m_SavedGames[index] : nullptr; }
    TGame* GetSavedGameAt(i32 index) { return index >= 0 ? GetSavedGame(u32(index)) : nullptr; }
    bool IsUsedSlot(i32 index) {
        const TGame* game = GetSavedGameAt(index);
        return game && game->isUsed;
    }
    // A fresh saved game in a new last slot.
    void AddSavedGame() override {
        m_SavedGames.push_back(TGame());
        m_SavedGames[m_SavedGames.size() - 1].Id = i32(m_SavedGames.size() - 1);
    }

    // The first saved game of that name; a miss is reported and gives slot 0 (null without
    // any slot).
    TGame* FindSavedGame(const TString<char>& name) {
        for (TGame& game : m_SavedGames)
            if (game.SavedGameName == name)
                return &game;
        AGReport("Saved game not found:%s", name.c_str());
        return GetSavedGame(0);
    }
    // The first saved game of that name becomes a fresh one (keeping its slot number), which
    // is returned; a miss changes nothing, is reported and gives slot 0 (null without any).
    TGame* ResetSavedGame(const TString<char>& name) {
        for (u32 i = 0; i < GetSavedGameCount(); ++i) {
            if (m_SavedGames[i].SavedGameName == name) {
                m_SavedGames[i] = TGame();
                m_SavedGames[i].Id = i32(i);
                return &m_SavedGames[i];
            }
        }
        AGReport("Saved game not found:%s", name.c_str());
        return GetSavedGame(0);
    }

private:
    Utilities::SerializableVector<TGame> m_SavedGames;
    TSettings m_Settings;
};

}  // namespace GameServices::KorvoGame
