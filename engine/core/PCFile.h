#pragma once
// A file over the platform's POSIX files. Synchronous reads move the file position;
// overlapped reads take their position from the file's read offset (0 at first; Read does
// not move it) and complete in the issuing thread's alertable sleep, in issue order.
#include "engine/core/AGFile.h"
#include "platform/file/File.h"

class PCFile : public AGFile {
public:
    PCFile() = default;
    ~PCFile() override;

    // Frees the read-whole buffer, empties the window and closes the handle. Overlapped
    // reads still waiting for their completion are dropped: it never runs.
    void Close() override;
    u32 GetSize() override;
    bool Read(void* buffer, u32 count) override;
    bool Write(const void* buffer, u32 count) override;
    bool WriteString(const char* text) override;
    bool Seek(u32 offset) override;
    // Read bit: O_RDONLY; write bit: create-truncate (read-write with the read bit). With
    // readWhole and the read bit the whole file is read into an owned buffer that has one
    // zero byte after the data, so text parsers may treat it as a C string.
    bool Open(const char* name, u32 mode, bool readWhole) override;

    bool IsOpen() const { return m_file.IsOpen(); }
    // Overlapped reads in flight (issued, completion not yet run).
    u32 Pending() const { return m_pending; }
    // Position of the next overlapped read.
    u32 ReadOffset() const { return m_readOffset; }
    void SetReadOffset(u32 offset) { m_readOffset = offset; }
    // Bytes the last read delivered (a synchronous read may deliver fewer than asked at the
    // end of the file; an overlapped one counts when its completion runs).
    u32 LastReadCount() const { return m_lastReadCount; }

private:
    static void OnReadComplete(void* context, u32 error, u32 bytes);

    platform::File m_file;
    u8* m_wholeBuffer = nullptr;
    u32 m_pending = 0;
    u32 m_readOffset = 0;
    u32 m_lastReadCount = 0;
};
