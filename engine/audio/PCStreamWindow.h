#pragma once
// A stream's view of its file: a 262,144-byte window of two 131,072-byte halves filled by
// overlapped reads. Reading on into one half starts loading the half after it into the
// other, so the decoder rarely waits. One read is in flight at a time; waiting for it runs
// the thread's alertable sleep, where the read completes. Positions are file offsets.
#include <string>

#include "engine/core/AGTypes.h"
#include "engine/core/PCFile.h"

class PCStreamWindow {
public:
    static constexpr u32 kWindowSize = 262144;
    static constexpr u32 kHalfSize = kWindowSize / 2;

    PCStreamWindow() = default;
    PCStreamWindow(const PCStreamWindow&) = delete;
    PCStreamWindow& operator=(const PCStreamWindow&) = delete;
    ~PCStreamWindow() { Close(); }

    // Opens the file and starts loading the window from offset 0 into buffer (kWindowSize
    // bytes, owned by the caller). False when the file cannot be opened or read, and for
    // anything but a regular file (a pipe or device would block or never end).
    bool Open(const char* path, u8* buffer);
    // The file a streamed sound's data name stands for. The name must be relative and free of
    // ".." components; it is looked up below the working folder the game runs from, then
    // below packageFolder (the folder of the package holding the descriptor; null or empty
    // for none). Only a regular file qualifies. False, with one log line, otherwise.
    static bool FindDataFile(const char* dataName, const char* packageFolder, std::string& path);
    // Drops a read in flight, closes the file and forgets the buffer.
    void Close();
    bool IsOpen() const { return m_buffer != nullptr; }
    u64 Size() const { return m_size; }

    // Copies up to `bytes` (at most one half) from the logical position; fewer near the end
    // of the file or of a half. 0 at the end of the file, or on a read failure (errno set).
    size_t Read(void* out, size_t bytes);
    // whence: SEEK_SET, SEEK_CUR or SEEK_END. -1 for a target outside [0, size].
    int Seek(i64 offset, int whence);
    i64 Tell() const { return i64(m_position); }

    bool ReadInFlight() const { return m_pendingTarget != kNoRead; }
    // Completes the read in flight, whose completion runs only on the thread that issued it,
    // so that another thread may use the window next.
    void Settle() { Wait(); }
    // File offset of a loaded half, -1 when it holds nothing.
    i64 HalfOffset(u32 half) const { return half < 2 ? m_halfOffset[half] : -1; }
    u32 ReadsIssued() const { return m_readsIssued; }

private:
    static constexpr int kNoRead = -2;
    static constexpr int kWholeWindow = -1;

    // target: kWholeWindow or a half index.
    bool IssueRead(u64 offset, u32 count, int target);
    // Completes the read in flight, if any; false when it failed.
    bool Wait();
    bool PendingCovers(u64 offset) const;
    int Locate(u64 offset) const;
    u64 HalfEnd(int half) const { return u64(m_halfOffset[half]) + m_halfBytes[half]; }
    void Invalidate();

    PCFile m_file;
    std::string m_path;
    u8* m_buffer = nullptr;
    u64 m_size = 0;
    u64 m_position = 0;
    i64 m_halfOffset[2] = {-1, -1};
    u32 m_halfBytes[2] = {0, 0};
    int m_pendingTarget = kNoRead;
    u64 m_pendingOffset = 0;
    u32 m_pendingCount = 0;
    u32 m_readsIssued = 0;
};
