// Writing a whole buffer to a file descriptor with plain system calls, for
// the services that must stay async-signal-safe (no stdio, no allocation).
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace platform {

// Writes n bytes, resuming after interruptions and short writes; false when
// the descriptor refuses the rest.
inline bool writeAll(int fd, const char* bytes, size_t n) {
    while (n > 0) {
        const ssize_t wrote = write(fd, bytes, n);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        bytes += wrote;
        n -= static_cast<size_t>(wrote);
    }
    return true;
}

}  // namespace platform
