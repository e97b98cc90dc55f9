// Win32 implementation of the platform services: clocks, identities,
// environment, files, memory probing and the debugger output.
//
// The pooled allocator calls into this file, so nothing here allocates
// through operator new: results go into caller storage, static buffers or
// blocks of the process heap.
#include "runtime/platform/platform.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include <cstring>

namespace platform {

// ---- clocks and identities -------------------------------------------------

namespace {

uint64_t fromFileTime(const FILETIME& time) {
    return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME toFileTime(uint64_t value) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(value);
    time.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return time;
}

}  // namespace

uint64_t counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart);
}

uint64_t counterFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint64_t>(frequency.QuadPart);
}

uint64_t wallClock() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return fromFileTime(now);
}

LocalTime toLocalTime(uint64_t wallClockValue) {
    LocalTime out{0, 0, 0, 0};
    const FILETIME utc = toFileTime(wallClockValue);
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts))
        return out;
    out.hour = parts.wHour;
    out.minute = parts.wMinute;
    out.second = parts.wSecond;
    out.millisecond = parts.wMilliseconds;
    return out;
}

void sleepMilliseconds(int milliseconds) {
    if (milliseconds > 0)
        Sleep(static_cast<DWORD>(milliseconds));
}

uint32_t threadId() { return GetCurrentThreadId(); }

uint32_t processId() { return GetCurrentProcessId(); }

uint64_t processStartTime() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    return fromFileTime(created);
}

// ---- files -------------------------------------------------------------------

bool canRead(const char* path) { return path && _access(path, 4) == 0; }

std::FILE* createNewFile(const char* path) {
    const int fd = _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        _close(fd);
        std::remove(path);
        errno = error;
    }
    return file;
}

namespace {

// The C runtime's errno for what CreateFileA failed with, as fopen would
// have set it (its messages then read as before).
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EINVAL;
    }
}

// CreateFileW, as the C runtime's fopen calls it: CreateFileA refuses paths
// longer than MAX_PATH that fopen opens. The wide path lives in the process
// heap, not in the pooled allocator.
HANDLE openShared(const char* path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    auto* wide = length > 0 ? static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, length * sizeof(wchar_t)))
                            : nullptr;
    if (!wide || MultiByteToWideChar(CP_ACP, 0, path, -1, wide, length) != length) {
        if (wide)
            HeapFree(GetProcessHeap(), 0, wide);
        SetLastError(wide ? ERROR_INVALID_NAME : ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    HeapFree(GetProcessHeap(), 0, wide);
    SetLastError(error);
    return handle;
}

}  // namespace

std::FILE* openForReading(const char* path) {
    HANDLE handle = openShared(path);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errnoOf(GetLastError());
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "rb");
    if (!file) {
        const int error = errno;
        _close(fd);
        errno = error;
    }
    return file;
}

// Windows has no file without a name: the writer takes a named one.
std::FILE* createUnnamedFile(const char*) {
    errno = ENOSYS;
    return nullptr;
}

bool nameUnnamedFile(std::FILE*, const char*) {
    errno = ENOSYS;
    return false;
}

// The directory part of the fallback: the code tracking log adds the "/"
// itself ("c:/codetrack..."), the crash log too ("c:/qvdbgcrash.log").
const char* defaultTempDirectory() { return "c:"; }

// ---- environment -------------------------------------------------------------
//
// The process environment of Win32 is the one every module of the process
// shares (the manager chain depends on it); the C runtime keeps a copy of its
// own that SetEnvironmentVariableA does not update, so getenv is not used.
// A value is copied into a slot kept per variable name, so that the pointer
// handed out stays valid until that variable is read or changed again.

namespace {

constexpr int kEnvSlots = 32;
constexpr size_t kEnvNameSize = 64;

struct envSlotS {
    char name[kEnvNameSize];
    char* value;       // block of the process heap
    DWORD capacity;
};

envSlotS g_envSlots[kEnvSlots];
int g_envNextFree = 0;

envSlotS& slotFor(const char* name) {
    for (envSlotS& slot : g_envSlots)
        if (slot.name[0] != '\0' && strcmp(slot.name, name) == 0)
            return slot;
    // A new name takes the next slot, the oldest one once all are in use.
    envSlotS& slot = g_envSlots[g_envNextFree];
    g_envNextFree = (g_envNextFree + 1) % kEnvSlots;
    strncpy(slot.name, name, kEnvNameSize - 1);
    slot.name[kEnvNameSize - 1] = '\0';
    return slot;
}

bool reserve(envSlotS& slot, DWORD size) {
    if (slot.capacity >= size)
        return true;
    void* grown = slot.value ? HeapReAlloc(GetProcessHeap(), 0, slot.value, size)
                             : HeapAlloc(GetProcessHeap(), 0, size);
    if (!grown)
        return false;
    slot.value = static_cast<char*>(grown);
    slot.capacity = size;
    return true;
}

}  // namespace

const char* getEnv(const char* name) {
    if (!name || strlen(name) >= kEnvNameSize)
        return nullptr;
    envSlotS& slot = slotFor(name);
    // The value may change between asking for its length and reading it.
    for (;;) {
        // A variable set to the empty text also gives 0 but leaves the last
        // error as it was: only a cleared error tells it from an absent one.
        SetLastError(ERROR_SUCCESS);
        const DWORD needed = GetEnvironmentVariableA(name, slot.value, slot.capacity);
        if (needed == 0) {
            // Absent, or set to the empty text.
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND || !reserve(slot, 1))
                return nullptr;
            slot.value[0] = '\0';
            return slot.value;
        }
        if (needed < slot.capacity)
            return slot.value;
        if (!reserve(slot, needed))
            return nullptr;
    }
}

void setEnv(const char* name, const char* value) {
    if (name)
        SetEnvironmentVariableA(name, value);
}

// ---- memory --------------------------------------------------------------------

// The kernel copies on the process's behalf and reports an unreadable page
// instead of faulting. Done page by page, so that the readable start of a
// range that runs into an unreadable page is still copied.
size_t readMemory(const void* address, void* out, size_t n) {
    if (!address || !out || n == 0)
        return 0;
    constexpr uintptr_t kPage = 4096;
    const char* from = static_cast<const char*>(address);
    char* to = static_cast<char*>(out);
    size_t done = 0;
    while (done < n) {
        const uintptr_t at = reinterpret_cast<uintptr_t>(from + done);
        const size_t toPageEnd = kPage - at % kPage;
        const size_t piece = n - done < toPageEnd ? n - done : toPageEnd;
        SIZE_T got = 0;
        if (!ReadProcessMemory(GetCurrentProcess(), from + done, to + done, piece, &got) ||
            got != piece)
            break;
        done += piece;
    }
    return done;
}

bool isExecutable(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    if (!address || VirtualQuery(address, &info, sizeof info) != sizeof info)
        return false;
    constexpr DWORD kExecutable =
        PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return info.State == MEM_COMMIT && (info.Protect & kExecutable) != 0;
}

// ---- output -------------------------------------------------------------------

void debugOutput(const char* text) {
    if (text)
        OutputDebugStringA(text);
}

}  // namespace platform
