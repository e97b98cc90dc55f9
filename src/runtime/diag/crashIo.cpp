#include "runtime/diag/crashIo.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

int crashIoOpenAppend(const char* path) {
    int fd;
    do {
        fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

void crashIoWrite(int fd, const char* text, size_t n) {
    while (n > 0) {
        const ssize_t wrote = write(fd, text, n);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return;
        text += wrote;
        n -= static_cast<size_t>(wrote);
    }
}

void crashIoClose(int fd) { close(fd); }

void crashIoPause(int milliseconds) {
    timespec pause{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}
