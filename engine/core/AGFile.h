#pragma once
// A disk file. Every file is also a memory window: a file opened with "read whole" holds
// its bytes in an owned buffer that is parsed with the AGMemBuffer reads.
#include "engine/core/AGMemBuffer.h"

class AGFile : public AGMemBuffer {
public:
    // Mode bits given at open.
    static constexpr u32 kModeRead = 1;
    // Creates or truncates the file.
    static constexpr u32 kModeWrite = 2;
    // Reads complete in the issuing thread's alertable sleep (PCFile::Read).
    static constexpr u32 kModeOverlapped = 4;

    virtual void Close() = 0;
    virtual u32 GetSize() = 0;
    // Returns false when nothing could be read (the file is then closed).
    virtual bool Read(void* buffer, u32 count) = 0;
    virtual bool Write(const void* buffer, u32 count) = 0;
    // Writes the text and its terminating zero byte.
    virtual bool WriteString(const char* text) = 0;
    // Moves to an absolute position from the start.
    virtual bool Seek(u32 offset) = 0;
    // Set when the last read finished (synchronous success, or the last pending overlapped
    // read completed).
    virtual bool IsDone() const { return m_done != 0; }
    virtual bool Open(const char* name, u32 mode, bool readWhole) = 0;

    u32 Mode() const { return m_mode; }

protected:
    u32 m_mode = 0;
    u8 m_done = 0;
};

class AGFileManager {
public:
    virtual ~AGFileManager() = default;
    // Always returns a file object (owned by the caller); a failed open leaves it closed
    // with an empty window.
    virtual AGFile* Open(const char* name, u32 mode, bool readWhole) = 0;
    // A file or a folder.
    virtual bool Exists(const char* path) = 0;
    virtual bool IsDirectory(const char* path) = 0;
};
