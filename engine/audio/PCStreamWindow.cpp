#include "engine/audio/PCStreamWindow.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#include "engine/core/AGLog.h"
#include "platform/core/AlertableSleep.h"
#include "platform/file/Path.h"

namespace {

// How long Wait lets the alertable sleep deliver a completion before giving up (ms).
constexpr int kWaitLimitMs = 2000;

bool IsRegularFile(const char* path) {
    unsigned mode = 0;
    return platform::StatPath(path, &mode) && S_ISREG(mode);
}

// Relative, and no component leaves the folder it starts from.
bool StaysBelow(const std::string& path) {
    if (path.empty() || path[0] == '/')
        return false;
    for (size_t start = 0; start <= path.size();) {
        const size_t slash = path.find('/', start);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        if (path.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

bool PCStreamWindow::FindDataFile(const char* dataName, const char* packageFolder, std::string& path) {
    const std::string name = platform::NormalisePath(dataName ? dataName : "");
    if (!StaysBelow(name)) {
        AGReport("Audio: stream data name \"%s\" is not a relative path below the game's folders.",
                 dataName ? dataName : "");
        return false;
    }
    if (IsRegularFile(name.c_str())) {
        path = name;
        return true;
    }
    if (packageFolder && *packageFolder) {
        std::string inPackage = packageFolder;
        if (inPackage.back() != '/')
            inPackage += '/';
        inPackage += name;
        if (IsRegularFile(inPackage.c_str())) {
            path = inPackage;
            return true;
        }
    }
    AGReport("Audio: stream data \"%s\" is not a file below the game's folders.", dataName);
    return false;
}

bool PCStreamWindow::Open(const char* path, u8* buffer) {
    Close();
    if (!path || !buffer)
        return false;
    // Checked before opening: opening a FIFO for reading waits for a writer.
    if (!IsRegularFile(path))
        return false;
    m_path = path;
    if (!m_file.Open(path, AGFile::kModeRead | AGFile::kModeOverlapped, false))
        return false;
    m_size = m_file.GetSize();
    m_buffer = buffer;
    if (m_size == 0 || !IssueRead(0, u32(m_size < kWindowSize ? m_size : kWindowSize), kWholeWindow)) {
        Close();
        return false;
    }
    return true;
}

void PCStreamWindow::Close() {
    m_file.Close();  // a completion still queued never runs
    m_buffer = nullptr;
    m_size = 0;
    m_position = 0;
    m_pendingTarget = kNoRead;
    Invalidate();
}

void PCStreamWindow::Invalidate() {
    m_halfOffset[0] = m_halfOffset[1] = -1;
    m_halfBytes[0] = m_halfBytes[1] = 0;
}

bool PCStreamWindow::IssueRead(u64 offset, u32 count, int target) {
    if (!Wait())
        return false;
    u8* into = m_buffer + (target == 1 ? kHalfSize : 0);
    if (target == kWholeWindow)
        Invalidate();
    else
        m_halfOffset[target] = -1, m_halfBytes[target] = 0;
    m_file.SetReadOffset(u32(offset));
    if (!m_file.Read(into, count)) {
        AGReport("Audio: reading stream %s at %llu failed.", m_path.c_str(), (unsigned long long)offset);
        return false;
    }
    ++m_readsIssued;
    m_pendingTarget = target;
    m_pendingOffset = offset;
    m_pendingCount = count;
    return true;
}

bool PCStreamWindow::Wait() {
    if (m_pendingTarget == kNoRead)
        return true;
    for (int ms = 0; m_file.Pending() > 0 && m_file.IsOpen() && ms <= kWaitLimitMs; ++ms)
        platform::AlertableSleep(ms == 0 ? 0 : 1);
    const int target = m_pendingTarget;
    m_pendingTarget = kNoRead;
    if (m_file.Pending() > 0 || !m_file.IsOpen()) {
        AGReport("Audio: a read of stream %s did not complete.", m_path.c_str());
        return false;
    }
    u32 bytes = m_file.LastReadCount();
    if (bytes > m_pendingCount)
        bytes = m_pendingCount;
    if (target == kWholeWindow) {
        m_halfBytes[0] = bytes < kHalfSize ? bytes : kHalfSize;
        m_halfOffset[0] = m_halfBytes[0] ? i64(m_pendingOffset) : -1;
        m_halfBytes[1] = bytes > kHalfSize ? bytes - kHalfSize : 0;
        m_halfOffset[1] = m_halfBytes[1] ? i64(m_pendingOffset + kHalfSize) : -1;
    } else {
        m_halfBytes[target] = bytes;
        m_halfOffset[target] = bytes ? i64(m_pendingOffset) : -1;
    }
    return true;
}

bool PCStreamWindow::PendingCovers(u64 offset) const {
    return m_pendingTarget != kNoRead && offset >= m_pendingOffset && offset < m_pendingOffset + m_pendingCount;
}

int PCStreamWindow::Locate(u64 offset) const {
    for (int h = 0; h < 2; ++h)
        if (m_halfOffset[h] >= 0 && offset >= u64(m_halfOffset[h]) && offset < HalfEnd(h))
            return h;
    return -1;
}

size_t PCStreamWindow::Read(void* out, size_t bytes) {
    if (!m_buffer || m_position >= m_size)
        return 0;
    u64 n = bytes;
    if (n > kHalfSize)
        n = kHalfSize;
    if (n > m_size - m_position)
        n = m_size - m_position;
    if (n == 0)
        return 0;
    if (PendingCovers(m_position))
        Wait();
    int h = Locate(m_position);
    if (h < 0) {
        const u64 left = m_size - m_position;
        if (IssueRead(m_position, u32(left < kWindowSize ? left : kWindowSize), kWholeWindow))
            Wait();
        h = Locate(m_position);
        if (h < 0) {
            errno = EIO;
            return 0;
        }
    }
    const u64 inHalf = m_position - u64(m_halfOffset[h]);
    const u64 available = m_halfBytes[h] - inHalf;
    if (n > available)
        n = available;
    std::memcpy(out, m_buffer + (h == 1 ? kHalfSize : 0) + inHalf, size_t(n));
    m_position += n;

    if (m_position == HalfEnd(h) && m_position < m_size) {
        // Leaving half h: the other half must hold what follows, and h then loads the bytes
        // after that, while the decoder reads the other half.
        const int o = 1 - h;
        if (!(m_halfOffset[o] == i64(m_position)) && !PendingCovers(m_position)) {
            const u64 left = m_size - m_position;
            IssueRead(m_position, u32(left < kHalfSize ? left : kHalfSize), o);
        }
        if (Wait() && m_halfOffset[o] >= 0 && m_halfBytes[o] == kHalfSize && HalfEnd(o) < m_size) {
            const u64 next = HalfEnd(o);
            const u64 left = m_size - next;
            IssueRead(next, u32(left < kHalfSize ? left : kHalfSize), h);
        }
    }
    return size_t(n);
}

int PCStreamWindow::Seek(i64 offset, int whence) {
    if (!m_buffer)
        return -1;
    i64 base;
    switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = i64(m_position); break;
    case SEEK_END: base = i64(m_size); break;
    default: return -1;
    }
    if ((offset > 0 && base > INT64_MAX - offset))
        return -1;
    const i64 target = base + offset;
    if (target < 0 || u64(target) > m_size)
        return -1;
    m_position = u64(target);
    if (m_position == m_size || PendingCovers(m_position))
        return 0;
    const int h = Locate(m_position);
    if (h < 0) {
        const u64 left = m_size - m_position;
        IssueRead(m_position, u32(left < kWindowSize ? left : kWindowSize), kWholeWindow);
        return 0;
    }
    // Inside the window: make sure the other half holds what follows this one.
    const int o = 1 - h;
    const u64 end = HalfEnd(h);
    if (m_halfBytes[h] == kHalfSize && end < m_size && m_halfOffset[o] != i64(end) && !PendingCovers(end)) {
        const u64 left = m_size - end;
        IssueRead(end, u32(left < kHalfSize ? left : kHalfSize), o);
    }
    return 0;
}
