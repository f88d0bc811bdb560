#pragma once
// Whole transfers on a POSIX descriptor: short transfers are continued and calls interrupted
// by a signal are repeated.
#include <cstddef>
#include <cstdint>

namespace platform {

// Reads until count bytes or the end of the file, from the file position (ReadAll) or from
// offset without moving the position (ReadAllAt). The number of bytes read, or -1 on error.
int64_t ReadAll(int fd, void* buffer, size_t count);
int64_t ReadAllAt(int fd, uint64_t offset, void* buffer, size_t count);

// Writes every byte; false on error.
bool WriteAll(int fd, const void* buffer, size_t count);

}  // namespace platform
