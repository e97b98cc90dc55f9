// Appending to a file with plain system calls: what the crash path can still
// do inside a signal handler.
#include "runtime/platform/platform.h"
#include "runtime/platform/posixWriteAll.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool appendToFile(const char* path, const char* bytes, size_t n) {
    if (!path)
        return false;
    int fd;
    do {
        fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    writeAll(fd, bytes, n);
    close(fd);
    return true;
}

}  // namespace platform
