#include "engine/core/PCFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "engine/core/AGLog.h"

namespace {

std::atomic<u64> g_fileOperations{0};

void CountOperation() {
    g_fileOperations.fetch_add(1, std::memory_order_relaxed);
}

bool WriteAll(int handle, const u8* data, u32 count, u64 offset) {
    while (count > 0) {
        CountOperation();
        ssize_t n = pwrite(handle, data, count, off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        count -= u32(n);
        offset += u64(n);
    }
    return true;
}

// The bytes read before the end of the file, or -1 on an error.
i64 ReadAll(int handle, u8* data, u32 count, u64 offset) {
    u32 done = 0;
    while (done < count) {
        CountOperation();
        ssize_t n = pread(handle, data + done, count - done, off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += u32(n);
    }
    return done;
}

// Makes a rename inside the folder of path durable. Not every file system can sync a
// folder; a failure is reported, the file itself is already in place.
void SyncFolderOf(const char* path) {
    const char* slash = strrchr(path, '/');
    TString<char> folder = slash == path ? TString<char>("/")
                           : slash      ? TString<char>(path, u32(slash - path))
                                        : TString<char>(".");
    CountOperation();
    int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0 || fsync(handle) != 0)
        AGReport("Could not sync the folder %s: %s", folder.c_str(), strerror(errno));
    if (handle >= 0)
        close(handle);
}

u32 Min(u32 a, u32 b) {
    return a < b ? a : b;
}

}  // namespace

u64 PCFileStream::FileOperationCount() {
    return g_fileOperations.load(std::memory_order_relaxed);
}

PCFileStream::~PCFileStream() {
    Close();
}

bool PCFileStream::Open(const char* path, u32 mode) {
    if (!OpenFile(path, mode, (mode & kModeCreate) != 0))
        return false;
    m_targetPath = path;
    return true;
}

bool PCFileStream::OpenReplacing(const char* temporaryPath, const char* target, u32 mode) {
    if (!target || !OpenFile(temporaryPath, mode | kModeWrite, true))
        return false;
    m_temporaryPath = temporaryPath;
    m_targetPath = target;
    if (!(mode & kModeCreate) && !CopyTarget()) {
        AGReport("Could not read the file %s: %s", target, strerror(errno));
        Release();
        return false;
    }
    return true;
}

bool PCFileStream::CopyTarget() {
    CountOperation();
    // Non-blocking: a FIFO in the file's place is refused below, not waited on.
    const int source = open(m_targetPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (source < 0)
        return errno == ENOENT;  // nothing to keep yet
    struct stat info;
    CountOperation();
    bool copied = fstat(source, &info) == 0;
    if (copied && (!S_ISREG(info.st_mode) || info.st_size > off_t(UINT32_MAX))) {
        errno = EINVAL;
        copied = false;
    }
    u64 done = 0;
    if (copied) {
        const u64 size = u64(info.st_size);
        u8* chunk = m_cache.Buffer();
        const u32 chunkSize = m_cache.GetSize();
        while (copied && done < size) {
            const u32 want = u32(size - done < chunkSize ? size - done : chunkSize);
            const i64 got = ReadAll(source, chunk, want, done);
            if (got != i64(want)) {
                if (got >= 0)
                    errno = EIO;  // the file shrank while it was copied
                copied = false;
            } else {
                copied = WriteAll(m_handle, chunk, want, done);
                done += want;
            }
        }
    }
    const int error = errno;
    close(source);
    errno = error;
    if (copied)
        m_size = u32(done);
    return copied;
}

bool PCFileStream::OpenFile(const char* path, u32 mode, bool truncate) {
    Close();
    if (!path)
        return false;
    // Non-blocking, so that a FIFO or a device in the file's place is refused, not waited on.
    int flags = O_CREAT | O_CLOEXEC | O_NONBLOCK;
    if (mode & kModeWrite)
        flags |= (mode & kModeRead) ? O_RDWR : O_WRONLY;
    else
        flags |= O_RDONLY;
    if (truncate)
        flags |= O_TRUNC;
    CountOperation();
    int handle = open(path, flags, 0666);
    if (handle < 0) {
        if (errno == ENXIO)  // a FIFO with no reader
            AGReport("%s is not a regular file: it is not used", path);
        return false;
    }
    struct stat info{};
    CountOperation();
    if (fstat(handle, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > off_t(UINT32_MAX) ||
        fcntl(handle, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        if (!S_ISREG(info.st_mode))
            AGReport("%s is not a regular file: it is not used", path);
        close(handle);
        errno = S_ISREG(info.st_mode) ? error : EINVAL;
        return false;
    }
    const u32 size = u32(info.st_size);
    const u32 cacheSize = !(mode & kModeWrite) && size < kCacheSize ? size : kCacheSize;
    if (!m_cache.Allocate(cacheSize)) {
        close(handle);
        return false;
    }
    // Close left the position and the window at 0.
    m_handle = handle;
    m_size = size;
    m_mode = mode;
    m_failed = 0;
    m_error = 0;
    m_needsFill = 1;
    m_isOpen = 1;
    return true;
}

void PCFileStream::Flush() {
    const u64 windowStart = u64(m_position) - m_cache.Position();
    if (m_dirty && m_cachedBytes && !WriteAll(m_handle, m_cache.Buffer(), m_cachedBytes, windowStart))
        NoteFailure();
    m_cache.Seek(0, kSeekStart);
    m_cachedBytes = 0;
    m_dirty = 0;
    m_needsFill = 1;
}

void PCFileStream::Fill() {
    if (!(m_mode & kModeRead))
        return;
    Flush();
    const u32 wanted = Min(m_size - m_position, m_cache.GetSize());
    i64 got = wanted ? ReadAll(m_handle, m_cache.Buffer(), wanted, m_position) : 0;
    if (got < 0) {
        NoteFailure();
        got = 0;
    }
    m_cachedBytes = u32(got);
    m_needsFill = 0;
}

void PCFileStream::NoteFailure() {
    if (!m_failed)
        m_error = errno;
    m_failed = 1;
}

u32 PCFileStream::Read(u32 count, void* destination) {
    if (!m_isOpen || !(m_mode & kModeRead))
        return 0;
    if (m_needsFill)
        Fill();
    const u32 wanted = Min(count, m_size - m_position);
    u8* out = static_cast<u8*>(destination);
    u32 done = 0;
    while (done < wanted) {
        if (m_cache.Position() >= m_cachedBytes) {
            Fill();
            if (m_cachedBytes == 0)
                break;  // the file shrank under us or cannot be read
        }
        const u32 step = Min(wanted - done, m_cachedBytes - m_cache.Position());
        m_cache.Read(step, out + done);
        done += step;
        m_position += step;
    }
    return done;
}

u32 PCFileStream::Write(u32 count, const void* source) {
    if (!m_isOpen || !(m_mode & kModeWrite))
        return 0;
    count = Min(count, UINT32_MAX - m_position);
    const u8* in = static_cast<const u8*>(source);
    u32 done = 0;
    while (done < count) {
        if (m_cache.Position() >= m_cache.GetSize()) {
            Flush();
            if (m_cache.GetSize() == 0)
                break;
        }
        const u32 step = Min(count - done, m_cache.GetSize() - m_cache.Position());
        m_cache.Write(step, in + done);
        if (m_cache.Position() > m_cachedBytes)
            m_cachedBytes = m_cache.Position();
        done += step;
        m_position += step;
        m_dirty = 1;
    }
    if (m_position > m_size)
        m_size = m_position;
    return done;
}

bool PCFileStream::Seek(u32 offset, u32 origin) {
    u32 target;
    if (!m_isOpen || !SeekTarget(offset, origin, m_position, m_size, target))
        return false;
    const u64 windowStart = u64(m_position) - m_cache.Position();
    if (!m_needsFill && target >= windowStart && target <= windowStart + m_cachedBytes) {
        m_cache.Seek(u32(target - windowStart), kSeekStart);
        m_position = target;
        return true;
    }
    Flush();
    m_position = target;
    Fill();
    return true;
}

bool PCFileStream::Commit() {
    if (!m_isOpen)
        return false;
    Flush();
    const char* step = nullptr;
    int error = m_error;
    if (m_failed) {
        step = "write";
    } else {
        CountOperation();
        if (fsync(m_handle) != 0) {
            step = "sync";
            error = errno;
        }
    }
    if (!step && !m_temporaryPath.IsEmpty()) {
        CountOperation();
        const int closed = close(m_handle);
        m_handle = -1;
        if (closed != 0) {
            step = "close";
            error = errno;
        } else {
            CountOperation();
            if (rename(m_temporaryPath.c_str(), m_targetPath.c_str()) != 0) {
                step = "replace";
                error = errno;
            } else {
                m_temporaryPath = TString<char>();
                SyncFolderOf(m_targetPath.c_str());
            }
        }
    }
    if (step)
        AGReport("Could not %s the file %s: %s", step, m_targetPath.c_str(), strerror(error));
    Release();
    return step == nullptr;
}

void PCFileStream::Close() {
    if (!m_isOpen)
        return;
    Flush();
    if (m_failed && m_temporaryPath.IsEmpty())
        AGReport("Could not write the file %s", m_targetPath.c_str());
    Release();
}

void PCFileStream::Release() {
    if (m_handle >= 0) {
        CountOperation();
        close(m_handle);
    }
    m_handle = -1;
    if (!m_temporaryPath.IsEmpty()) {
        CountOperation();
        unlink(m_temporaryPath.c_str());
    }
    m_temporaryPath = TString<char>();
    m_targetPath = TString<char>();
    m_cache.Close();
    m_size = 0;
    m_position = 0;
    m_mode = 0;
    m_isOpen = 0;
    m_cachedBytes = 0;
    m_dirty = 0;
    m_needsFill = 0;
}
