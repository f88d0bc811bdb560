#pragma once
// Knows where the save file lives and how large it may be, and opens it as a stream.
#include "engine/core/AGSingleton.h"
#include "engine/core/PCFileStream.h"
#include "engine/core/TString.h"

class PCSavegameManager : public AGSingleton<PCSavegameManager> {
public:
    static constexpr u32 kDefaultMaxSize = 0x80000;

    // The path is "<data home>/Korvo Inc/<title>/savegame.bin", the folder created with its
    // parents (kept even when it cannot be written in); "<temporary folder>/savegame.bin" when
    // that folder cannot be made. Either oddity is logged.
    explicit PCSavegameManager(const char* title);
    PCSavegameManager(const PCSavegameManager&) = delete;
    PCSavegameManager& operator=(const PCSavegameManager&) = delete;

    // The size limit: the configuration value "MaxSaveGameSize" when present and not 0,
    // else 524,288 bytes.
    void ReadMaxSize();
    u32 GetMaxSize() const { return m_maxSize; }
    const TString<char>& GetPath() const { return m_path; }

    // A new stream on the save file (the caller deletes it), or null when the open fails.
    // With the write bit the stream writes a fresh "savegame.bin.tmp" beside the file and
    // its Commit puts it in the file's place, so the save is never rewritten in place: a
    // stream closed or failing before Commit leaves the previous save as it was.
    PCFileStream* OpenFile(u32 mode);

private:
    TString<char> m_path;
    u32 m_maxSize = 0;
};
