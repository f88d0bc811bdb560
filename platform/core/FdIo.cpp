#include "platform/core/FdIo.h"

#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Calls transfer(done) until count bytes have moved. A call that moves nothing is the end
// of the file for a read and a failure for a write.
template <class Transfer>
int64_t Repeat(size_t count, bool zeroIsEnd, Transfer transfer) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = transfer(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || (n == 0 && !zeroIsEnd))
            return -1;
        if (n == 0)
            break;
        done += size_t(n);
    }
    return int64_t(done);
}

}  // namespace

int64_t ReadAll(int fd, void* buffer, size_t count) {
    char* bytes = static_cast<char*>(buffer);
    return Repeat(count, true, [&](size_t done) { return ::read(fd, bytes + done, count - done); });
}

int64_t ReadAllAt(int fd, uint64_t offset, void* buffer, size_t count) {
    char* bytes = static_cast<char*>(buffer);
    return Repeat(count, true,
                  [&](size_t done) { return ::pread(fd, bytes + done, count - done, off_t(offset + done)); });
}

bool WriteAll(int fd, const void* buffer, size_t count) {
    const char* bytes = static_cast<const char*>(buffer);
    return Repeat(count, false, [&](size_t done) { return ::write(fd, bytes + done, count - done); }) >= 0;
}

}  // namespace platform
