#pragma once
// The saved-game slots in the save file: the document's XML text behind a 24-byte header
// ("Gs", two zero bytes, the text length and its CRC-32 as little-endian u32, a 12-byte
// zero-padded name), zero-filled to the save size. Loading verifies the header, checksum,
// version and slot count; a bad file or a failed write is put to the player through the
// "DataCorruption" and "WriteError" popups.
#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameservices/game/SavedGameServices.h"

namespace GameServices::KorvoGame {

class SavedGameManager {
public:
    // The popups of the save problems and their option buttons.
    static constexpr const char* kWriteError = "WriteError";
    static constexpr const char* kDataCorruption = "DataCorruption";
    static constexpr const char* kButton01 = "Button01";
    static constexpr const char* kButton02 = "Button02";
    static constexpr u32 kHeaderSize = 24;
    static constexpr u32 kNameSize = 12;
    static constexpr u32 kPopupPriority = 900;
    // Appended to the save's path to name the one copy kept of a damaged save.
    static constexpr const char* kDamagedSuffix = ".damaged";

    SavedGameManager();
    SavedGameManager(const SavedGameManager&) = delete;
    SavedGameManager& operator=(const SavedGameManager&) = delete;

    // Keeps the document (borrowed) and the slot count, then reads the save file into it.
    // True after a good load, which enables saving. A missing, empty or too-short file gives
    // a fresh document that is written at once (false). A corrupt or unreadable file (or
    // anything that is not a regular file in its place) clears the document,
    // shows "DataCorruption" and leaves the file alone until the player answers (false).
    bool LoadSavedGame(ISavedFile* document, u32 slotCount);
    // Writes the document, stamped with the version, through a temporary file that replaces
    // the save only once complete. Does nothing while saving is disabled. A document too
    // large for the save size or a failed open or write shows "WriteError" (false); the
    // previous save stays.
    bool WriteSavedGame();
    // The first saved game not in use, marked used and named; when all are used, reported,
    // the first one unchanged (null without any).
    BaseSavedGame* ReserveFreeSlot(const TString<char>& name);
    // Clears the document (no current slot: -1), adds slot-count default saved games and
    // writes it.
    void ResetSavedFile();

    // The popups (borrowed); without them a popup is only reported.
    void SetPopups(ISavedGamePopups* popups) { m_Popups = popups; }
    void SetSaveSize(u32 size) { m_SaveSize = size; }
    u32 GetSaveSize() const { return m_SaveSize; }
    void SetVersion(u32 version) { m_Version = version; }
    u32 GetVersion() const { return m_Version; }
    // Stored in the header, cut to 12 bytes.
    void SetName(const TString<char>& name) { m_Name = name; }
    bool IsSavingEnabled() const { return m_SavingEnabled; }
    u32 GetSlotCount() const { return m_SlotCount; }
    // The popup shown most recently; empty before any.
    const TString<char>& GetLastPopup() const { return m_LastPopup; }

    // The popup answers: Button01 of either popup, Button02 of "DataCorruption" (which moves
    // the damaged file aside, replacing any copy kept before, and starts a fresh save).
    void OnContinueWithoutSaving();
    void OnDeleteAndRestart();

private:
    enum class LoadResult { Good, NoHeader, Corrupt };
    LoadResult ReadSaveFile();
    void ShowPopup(const char* popupName, bool withDeleteAnswer);
    void ShowWriteError();
    static void KeepDamagedFile(const TString<char>& path);

    ISavedFile* m_SavedFile = nullptr;
    u32 m_SlotCount = 1;
    bool m_SavingEnabled = false;
    u32 m_Version = 1;
    TString<char> m_Name;
    u32 m_SaveSize = 0;
    FDelegate<SavedGameManager> m_DeleteAndRestartHandler;
    FDelegate<SavedGameManager> m_ContinueWithoutSavingHandler;
    TString<char> m_LastPopup;
    ISavedGamePopups* m_Popups = nullptr;
};

}  // namespace GameServices::KorvoGame
