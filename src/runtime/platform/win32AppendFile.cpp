// Appending text to a file with plain Win32 calls and no C runtime state:
// what the crash path can still do while the faulting thread may hold the
// C runtime's locks.
#include "runtime/platform/platform.h"

#include <windows.h>

namespace platform {

namespace {

bool writeAll(HANDLE file, const char* bytes, DWORD n) {
    while (n > 0) {
        DWORD wrote = 0;
        if (!WriteFile(file, bytes, n, &wrote, nullptr) || wrote == 0)
            return false;
        bytes += wrote;
        n -= wrote;
    }
    return true;
}

}  // namespace

// The file gets the form the C runtime's text mode ("a") gives the other
// logs on this platform: every LF is written as CR LF.
bool appendToFile(const char* path, const char* bytes, size_t n) {
    if (!path)
        return false;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[512];
    DWORD used = 0;
    bool ok = true;
    for (size_t i = 0; i < n && ok; ++i) {
        if (used + 2 > sizeof buffer) {
            ok = writeAll(file, buffer, used);
            used = 0;
        }
        if (bytes[i] == '\n')
            buffer[used++] = '\r';
        buffer[used++] = bytes[i];
    }
    if (ok)
        writeAll(file, buffer, used);
    CloseHandle(file);
    return true;
}

}  // namespace platform
