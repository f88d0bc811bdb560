#include "gameservices/game/SavedGameManager.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PCSavegameManager.h"
#include "engine/core/XmlReader.h"
#include "engine/core/XmlWriter.h"

namespace GameServices::KorvoGame {

namespace {

void PutU32(u8* out, u32 value) {
    for (int i = 0; i < 4; ++i)
        out[i] = u8(value >> (8 * i));
}

u32 GetU32(const u8* in) {
    return u32(in[0]) | u32(in[1]) << 8 | u32(in[2]) << 16 | u32(in[3]) << 24;
}

}  // namespace

SavedGameManager::SavedGameManager()
    : m_Name("none"),
      m_DeleteAndRestartHandler(this, &SavedGameManager::OnDeleteAndRestart),
      m_ContinueWithoutSavingHandler(this, &SavedGameManager::OnContinueWithoutSaving) {}

bool SavedGameManager::LoadSavedGame(ISavedFile* document, u32 slotCount) {
    m_SavedFile = document;
    m_SlotCount = slotCount;
    if (!document) {
        AGReport("No saved-game document to load the save file into");
        return false;
    }
    switch (ReadSaveFile()) {
    case LoadResult::Good:
        m_SavingEnabled = true;
        return true;
    case LoadResult::NoHeader:
        // No save yet (or only an empty file): start a valid one now, or nothing would be
        // saved for the whole session.
        m_SavingEnabled = true;
        ResetSavedFile();
        return false;
    case LoadResult::Corrupt:
        break;
    }
    // Nothing is written until the player has chosen what to do with the bad file.
    m_SavedFile->Clear();
    ShowPopup(kDataCorruption, true);
    return false;
}

SavedGameManager::LoadResult SavedGameManager::ReadSaveFile() {
    PCSavegameManager* saves = PCSavegameManager::Get();
    if (!saves) {
        AGReport("There is no save file manager to read the save file");
        return LoadResult::NoHeader;
    }
    std::unique_ptr<PCFileStream> stream(saves->OpenFile(PCFileStream::kModeRead));
    struct stat info;
    if (!stream && lstat(saves->GetPath().c_str(), &info) == 0) {
        // Something is there but cannot be read: as damaged as bad bytes, and never replaced
        // unasked by a fresh save.
        AGReport("The save file %s is corrupt: it cannot be read", saves->GetPath().c_str());
        return LoadResult::Corrupt;
    }
    u8 header[kHeaderSize];
    if (!stream || stream->Read(kHeaderSize, header) != kHeaderSize)
        return LoadResult::NoHeader;

    const char* fault = nullptr;
    const u32 length = GetU32(header + 4);
    std::vector<char> text;
    if (header[0] != 'G' || header[1] != 's') {
        fault = "no saved-game header";
    } else if (length > stream->GetSize() - kHeaderSize) {
        // A length the file cannot hold: reading it would run past the end.
        fault = "a text length beyond the end of the file";
    } else {
        text.resize(length);
        if (length != 0 && stream->Read(length, text.data()) != length)
            fault = "a short text";
        else if (Crc32Hash(text.data(), length, 0) != GetU32(header + 8))
            fault = "a wrong checksum";
    }
    if (!fault) {
        // Every save holds a document: a header with no text (an empty one has checksum 0
        // too) is as corrupt as one with bad text, and would skip the version check.
        Utilities::XmlReader reader;
        const i32 result = reader.ReadText(text.data(), length, "root", *m_SavedFile);
        if (result != Utilities::XmlReader::ReadOk)
            fault = "a text that is not a saved-game document";
        else if (m_SavedFile->GetSettings().Version != m_Version)
            fault = "another version";
    }
    stream.reset();
    if (!fault && m_SavedFile->GetSavedGameCount() != m_SlotCount)
        fault = "another number of saved games";
    if (fault) {
        AGReport("The save file %s is corrupt: %s", saves->GetPath().c_str(), fault);
        return LoadResult::Corrupt;
    }
    return LoadResult::Good;
}

bool SavedGameManager::WriteSavedGame() {
    if (!m_SavingEnabled)
        return false;
    if (!m_SavedFile) {
        AGReport("No saved-game document to write");
        return false;
    }
    m_SavedFile->GetSettings().Version = m_Version;
    if (m_SaveSize <= kHeaderSize) {
        AGReport("A save size of %u bytes leaves no room for the saved games", m_SaveSize);
        ShowWriteError();
        return false;
    }

    std::vector<char> buffer(m_SaveSize, 0);
    u32 length = m_SaveSize - kHeaderSize;
    Utilities::XmlWriter writer;
    if (!writer.WriteText(*m_SavedFile, buffer.data() + kHeaderSize, length)) {
        ShowWriteError();
        return false;
    }
    u8* header = reinterpret_cast<u8*>(buffer.data());
    header[0] = 'G';
    header[1] = 's';
    PutU32(header + 4, length);
    PutU32(header + 8, Crc32Hash(buffer.data() + kHeaderSize, length, 0));
    memcpy(header + 12, m_Name.c_str(), m_Name.Length() < kNameSize ? m_Name.Length() : kNameSize);

    PCSavegameManager* saves = PCSavegameManager::Get();
    std::unique_ptr<PCFileStream> stream(
        saves ? saves->OpenFile(PCFileStream::kModeWrite | PCFileStream::kModeCreate) : nullptr);
    if (!stream) {
        AGReport("Could not open the save file %s for writing",
                 saves ? saves->GetPath().c_str() : "");
        ShowWriteError();
        return false;
    }
    if (stream->Write(m_SaveSize, buffer.data()) != m_SaveSize) {
        AGReport("Could not write the save file %s", saves->GetPath().c_str());
        stream->Close();
        ShowWriteError();
        return false;
    }
    // Commit reports its own failure; the previous save is kept either way.
    if (!stream->Commit()) {
        ShowWriteError();
        return false;
    }
    return true;
}

BaseSavedGame* SavedGameManager::ReserveFreeSlot(const TString<char>& name) {
    if (!m_SavedFile) {
        AGReport("No saved-game document to reserve a slot in");
        return nullptr;
    }
    for (u32 i = 0; i < m_SavedFile->GetSavedGameCount(); ++i) {
        BaseSavedGame* game = m_SavedFile->GetSavedGame(i);
        if (game && !game->isUsed) {
            game->isUsed = true;
            game->SavedGameName = name;
            return game;
        }
    }
    AGReport("No saved game slot available");
    return m_SavedFile->GetSavedGame(0);
}

void SavedGameManager::ResetSavedFile() {
    if (!m_SavedFile) {
        AGReport("No saved-game document to reset");
        return;
    }
    m_SavedFile->Clear();
    // The document's own Clear keeps the current slot and the version, which may come from
    // a rejected file; a fresh document starts from the default settings.
    BaseSavedSettings& settings = m_SavedFile->GetSettings();
    settings.CurrentSavedGame = -1;  // no profile is current in a fresh document
    settings.Version = m_Version;
    for (u32 slot = 0; slot < m_SlotCount; ++slot)
        m_SavedFile->AddSavedGame();
    WriteSavedGame();
}

void SavedGameManager::OnContinueWithoutSaving() {
    m_SavingEnabled = false;
    ResetSavedFile();
    if (m_Popups) {
        m_Popups->ClearPopupButtonCallback(kDataCorruption, kButton01);
        m_Popups->ClearPopupButtonCallback(kDataCorruption, kButton02);
    }
}

void SavedGameManager::OnDeleteAndRestart() {
    m_SavingEnabled = true;
    if (PCSavegameManager* saves = PCSavegameManager::Get())
        KeepDamagedFile(saves->GetPath());
    ResetSavedFile();
    if (m_Popups) {
        m_Popups->ClearPopupButtonCallback(kDataCorruption, kButton01);
        m_Popups->ClearPopupButtonCallback(kDataCorruption, kButton02);
    }
}

void SavedGameManager::KeepDamagedFile(const TString<char>& path) {
    if (path.IsEmpty())
        return;
    // One copy: a later damaged save replaces the one kept before.
    const TString<char> kept = path + kDamagedSuffix;
    if (rename(path.c_str(), kept.c_str()) == 0)
        AGReport("The damaged save file is kept as %s", kept.c_str());
    else if (errno != ENOENT)
        AGReport("The damaged save file %s could not be kept as %s: %s", path.c_str(), kept.c_str(),
                 strerror(errno));
}

void SavedGameManager::ShowPopup(const char* popupName, bool withDeleteAnswer) {
    m_LastPopup = popupName;
    if (!m_Popups || !m_Popups->ShowPopup(popupName, kPopupPriority)) {
        AGReport("Popup not registered: %s", popupName);
        return;
    }
    m_Popups->SetPopupButtonCallback(popupName, kButton01, &m_ContinueWithoutSavingHandler);
    if (withDeleteAnswer)
        m_Popups->SetPopupButtonCallback(popupName, kButton02, &m_DeleteAndRestartHandler);
}

void SavedGameManager::ShowWriteError() {
    ShowPopup(kWriteError, false);
}

}  // namespace GameServices::KorvoGame
