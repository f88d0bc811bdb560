#pragma once
// A file stream with a cache window of up to 512 KiB: reads are served from the window,
// writes gather in it until it is flushed (when full, on a seek outside it, on Close).
// Every file operation is checked; a failure sticks (Failed) and Commit reports it.
#include "engine/core/AGIStream.h"
#include "engine/core/AGMemoryStream.h"
#include "engine/core/TString.h"

class PCFileStream : public AGIStream {
public:
    // Mode bits.
    static constexpr u32 kModeRead = 1;
    static constexpr u32 kModeWrite = 2;
    // Truncates an existing file (without it the file is opened as it is, created if missing).
    static constexpr u32 kModeCreate = 4;
    static constexpr u32 kCacheSize = 512 * 1024;

    PCFileStream() = default;
    PCFileStream(const PCFileStream&) = delete;
    PCFileStream& operator=(const PCFileStream&) = delete;
    ~PCFileStream() override;

    // Opens (creating when missing) the file. A read-only stream on a file smaller than the
    // cache gets a cache of the file's size.
    bool Open(const char* path, u32 mode);
    // Opens a temporary file that Commit puts in place of target. It starts empty with
    // kModeCreate, else with a copy of the target's bytes (empty when there is no target).
    bool OpenReplacing(const char* temporaryPath, const char* target, u32 mode);
    // Writes the pending bytes and makes them durable (fsync); for a replacing stream then
    // closes it, renames the temporary file over the target and syncs the folder. False,
    // with one report, when any step failed: a replacing stream then removes its temporary
    // file and the target stays as it was. The stream is closed afterwards in either case.
    bool Commit();

    // Flushes and closes; a replacing stream that was not committed drops its temporary file.
    void Close() override;
    u32 Read(u32 count, void* destination) override;
    u32 Write(u32 count, const void* source) override;
    bool Seek(u32 offset, u32 origin) override;
    u32 GetSize() const override { return m_size; }
    bool IsEnd() const override { return m_position == m_size; }

    bool IsOpen() const { return m_isOpen != 0; }
    u32 Position() const { return m_position; }
    u32 CacheSize() const { return m_cache.GetSize(); }
    // A read or write of the file failed since it was opened.
    bool Failed() const { return m_failed != 0; }

    // Number of file system calls made by all streams (tests count the I/O of an operation).
    static u64 FileOperationCount();

private:
    bool OpenFile(const char* path, u32 mode, bool truncate);
    // Copies the target's bytes into the freshly opened temporary file.
    bool CopyTarget();
    // Writes a dirty cache at its window, then empties the window.
    void Flush();
    // Loads the window at the stream position (read mode only).
    void Fill();
    // Records the first failure's errno; the failure sticks.
    void NoteFailure();
    // Closes the file (removing an uncommitted temporary file) and frees the cache.
    void Release();

    u32 m_size = 0;
    u32 m_position = 0;
    u32 m_mode = 0;
    u8 m_isOpen = 0;
    AGMemoryStream m_cache;
    int m_handle = -1;
    u32 m_cachedBytes = 0;
    u8 m_dirty = 0;
    u8 m_needsFill = 0;
    u8 m_failed = 0;
    int m_error = 0;  // errno of the first failure
    // For a replacing stream: the temporary file and the file it replaces.
    TString<char> m_temporaryPath;
    TString<char> m_targetPath;
};
