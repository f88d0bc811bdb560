#include "engine/core/PCFile.h"

#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemory.h"

PCFile::~PCFile() {
    Close();
}

bool PCFile::Open(const char* name, u32 mode, bool readWhole) {
    Close();
    m_mode = mode;
    const bool read = (mode & (kModeRead | kModeOverlapped)) != 0;
    const bool write = (mode & kModeWrite) != 0;
    if (!m_file.Open(name, read, write)) {
        if (m_file.RefusedNotRegular())
            AGReport("%s is not a regular file: it is not used", name);
        return false;
    }
    if (readWhole && (mode & kModeRead)) {
        const u64 size = m_file.Size();
        if (size >= 0xFFFFFFFFull) {  // sizes are 32-bit; larger files are not supported
            Close();
            return false;
        }
        const u32 size32 = u32(size);
        m_wholeBuffer = static_cast<u8*>(AllocBlock(size_t(size32) + 1));
        if (!m_wholeBuffer) {
            Close();
            return false;
        }
        m_wholeBuffer[size32] = 0;
        SetWindow(m_wholeBuffer, size32);
        if (!Read(m_wholeBuffer, size32))
            return false;
        if (!(mode & kModeOverlapped) && m_lastReadCount < size32) {
            // The file shrank between the size query and the read.
            m_wholeBuffer[m_lastReadCount] = 0;
            SetWindow(m_wholeBuffer, m_lastReadCount);
        }
    }
    return true;
}

void PCFile::Close() {
    if (m_wholeBuffer) {
        FreeBlock(m_wholeBuffer);
        m_wholeBuffer = nullptr;
    }
    SetWindow(nullptr, 0);
    m_done = 0;
    m_file.Close();  // drops completions that have not run
    m_pending = 0;
    m_readOffset = 0;
}

// Sizes are 32-bit: a file of 4 GiB or more reports the largest, never a wrapped size.
u32 PCFile::GetSize() {
    const u64 size = m_file.Size();
    return size >= 0xFFFFFFFFull ? 0xFFFFFFFFu : u32(size);
}

bool PCFile::Read(void* buffer, u32 count) {
    if (!(m_mode & kModeRead) || !m_file.IsOpen())
        return false;
    if (m_mode & kModeOverlapped) {
        ++m_pending;
        m_done = 0;
        if (m_file.ReadOverlapped(m_readOffset, buffer, count, &PCFile::OnReadComplete, this))
            return true;
        --m_pending;
        Close();
        return false;
    }
    const i64 n = m_file.Read(buffer, count);
    if (n < 0) {
        Close();
        return false;
    }
    m_lastReadCount = u32(n);
    m_done = 1;
    return true;
}

void PCFile::OnReadComplete(void* context, u32 error, u32 bytes) {
    PCFile* file = static_cast<PCFile*>(context);
    if (error != 0)
        return;
    file->m_lastReadCount = bytes;
    if (file->m_pending > 0 && --file->m_pending == 0)
        file->m_done = 1;
}

bool PCFile::Write(const void* buffer, u32 count) {
    if (!(m_mode & kModeWrite))
        return false;
    return m_file.Write(buffer, count);
}

bool PCFile::WriteString(const char* text) {
    if (!text)
        return false;
    return Write(text, u32(strlen(text)) + 1);
}

bool PCFile::Seek(u32 offset) {
    return m_file.Seek(offset);
}
