#include "platform/file/File.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <mutex>

#include "platform/core/AlertableSleep.h"
#include "platform/core/FdIo.h"
#include "platform/file/Path.h"

namespace platform {

namespace {

// Overlapped reads are performed when they are issued; what is deferred is their completion,
// which must run on the issuing thread inside its alertable sleep, as an asynchronous
// read's would.
struct QueuedCompletion {
    pthread_t thread;
    const File* file;
    File::Completion completion;
    void* context;
    uint32_t error;
    uint32_t bytes;
    uint64_t serial;
};

struct CompletionQueue {
    std::mutex lock;
    std::deque<QueuedCompletion> entries;
    uint64_t nextSerial = 1;
};

CompletionQueue& Queue() {
    static CompletionQueue* queue = new CompletionQueue;  // outlives every thread
    return *queue;
}

// The hook of AlertableSleep: runs the calling thread's completions queued before the
// sleep began, one at a time, so that a completion may issue or cancel reads.
void RunCompletions() {
    CompletionQueue& queue = Queue();
    const pthread_t self = pthread_self();
    uint64_t last;
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        last = queue.nextSerial;
    }
    for (;;) {
        QueuedCompletion entry;
        {
            std::lock_guard<std::mutex> guard(queue.lock);
            auto it = queue.entries.begin();
            while (it != queue.entries.end() &&
                   !(it->serial < last && pthread_equal(it->thread, self)))
                ++it;
            if (it == queue.entries.end())
                return;
            entry = *it;
            queue.entries.erase(it);
        }
        entry.completion(entry.context, entry.error, entry.bytes);
    }
}

void Enqueue(const File* file, File::Completion completion, void* context, uint32_t error,
             uint32_t bytes) {
    // Installed with every read: the hook has one slot, which tests may have changed.
    SetAlertableHook(&RunCompletions);
    CompletionQueue& queue = Queue();
    std::lock_guard<std::mutex> guard(queue.lock);
    queue.entries.push_back(
        {pthread_self(), file, completion, context, error, bytes, queue.nextSerial++});
}

void DropCompletions(const File* file) {
    CompletionQueue& queue = Queue();
    std::lock_guard<std::mutex> guard(queue.lock);
    for (auto it = queue.entries.begin(); it != queue.entries.end();) {
        if (it->file == file)
            it = queue.entries.erase(it);
        else
            ++it;
    }
}

}  // namespace

size_t PendingCompletions() {
    CompletionQueue& queue = Queue();
    const pthread_t self = pthread_self();
    std::lock_guard<std::mutex> guard(queue.lock);
    size_t n = 0;
    for (const QueuedCompletion& entry : queue.entries)
        if (pthread_equal(entry.thread, self))
            ++n;
    return n;
}

bool File::Open(const char* path, bool read, bool write) {
    Close();
    if (!path || !*path || (!read && !write))
        return false;
    m_notRegular = false;
    // Non-blocking, so that a FIFO or a device in a file's place is refused, not waited on.
    int flags = O_CLOEXEC | O_NONBLOCK;
    if (write)
        flags |= (read ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
    else
        flags |= O_RDONLY;
    const std::string resolved = ResolvePath(path);
    m_fd = ::open(resolved.c_str(), flags, 0644);
    if (m_fd < 0) {
        // A FIFO without a reader refuses a non-blocking write open.
        struct stat st;
        m_notRegular = errno == ENXIO && stat(resolved.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
        return false;
    }
    struct stat st;
    if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        m_notRegular = true;
        ::close(m_fd);
        m_fd = -1;
    }
    return m_fd >= 0;
}

void File::Close() {
    DropCompletions(this);
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

uint64_t File::Size() const {
    struct stat st;
    if (m_fd < 0 || fstat(m_fd, &st) != 0)
        return 0;
    return uint64_t(st.st_size);
}

int64_t File::Read(void* buffer, size_t count) {
    if (m_fd < 0 || (!buffer && count))
        return -1;
    return ReadAll(m_fd, buffer, count);
}

int64_t File::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (m_fd < 0 || (!buffer && count))
        return -1;
    return ReadAllAt(m_fd, offset, buffer, count);
}

bool File::Write(const void* buffer, size_t count) {
    return m_fd >= 0 && (buffer || !count) && WriteAll(m_fd, buffer, count);
}

bool File::Seek(uint64_t offset) {
    return m_fd >= 0 && ::lseek(m_fd, off_t(offset), SEEK_SET) == off_t(offset);
}

bool File::ReadOverlapped(uint64_t offset, void* buffer, size_t count, Completion completion,
                          void* context) {
    const int64_t n = ReadAt(offset, buffer, count);
    if (n < 0)
        return false;
    if (completion) {
        const bool eof = n == 0 && count != 0;
        Enqueue(this, completion, context, eof ? kErrorHandleEof : 0, uint32_t(n));
    }
    return true;
}

}  // namespace platform
