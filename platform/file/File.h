#pragma once
// POSIX files with the semantics the engine's file objects rely on: read, create-truncate
// write, absolute seek, size, and overlapped reads whose completion routines run only in
// the issuing thread's alertable sleep (platform/core/AlertableSleep.h), in issue order.
#include <cstddef>
#include <cstdint>

namespace platform {

// Error code handed to a completion when the read found no bytes at its offset.
inline constexpr uint32_t kErrorHandleEof = 38;

class File {
public:
    // error is 0 on success; bytes is what the read delivered.
    using Completion = void (*)(void* context, uint32_t error, uint32_t bytes);

    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { Close(); }

    // read alone: read-only; write: create or truncate (read-write when read is set too).
    // The path goes through ResolvePath. False (and closed) on failure; only regular files
    // open (a FIFO or a device there is refused at once, never waited on).
    bool Open(const char* path, bool read, bool write);
    // The last Open failed because the path names something that is not a regular file.
    bool RefusedNotRegular() const { return m_notRegular; }
    // Drops the completions of this file that have not run yet, then closes.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // Size in bytes; 0 when closed.
    uint64_t Size() const;
    // Reads at the file position until count bytes or the end of the file; the number read,
    // or -1 on error.
    int64_t Read(void* buffer, size_t count);
    int64_t ReadAt(uint64_t offset, void* buffer, size_t count);
    bool Write(const void* buffer, size_t count);
    bool Seek(uint64_t offset);

    // Reads now into buffer and queues the completion for the calling thread's next
    // alertable sleep. False when the read fails outright (no completion is queued).
    bool ReadOverlapped(uint64_t offset, void* buffer, size_t count, Completion completion,
                        void* context);

private:
    int m_fd = -1;
    bool m_notRegular = false;
};

// Completions waiting for the calling thread's alertable sleep (tests).
size_t PendingCompletions();

}  // namespace platform
