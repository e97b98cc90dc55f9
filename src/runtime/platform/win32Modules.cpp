// The module that holds an address, found by walking the process's module
// list with psapi: the loaded images and their address ranges.
#include "runtime/platform/platform.h"

#include <windows.h>
#include <psapi.h>

#include <cstring>

namespace platform {

namespace {

constexpr DWORD kMaxModules = 1024;
constexpr DWORD kPathSize = 1024;

// The image whose range holds address, or null.
HMODULE moduleAt(const void* address) {
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    if (!process)
        return nullptr;
    // Static: the allocator asks while it is being set up, and 8 KiB of
    // stack are more than a crash hook should take.
    static HMODULE modules[kMaxModules];
    DWORD bytes = 0;
    HMODULE found = nullptr;
    if (EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        const DWORD count = bytes / sizeof(HMODULE) < kMaxModules ? bytes / sizeof(HMODULE)
                                                                  : kMaxModules;
        const auto at = reinterpret_cast<uintptr_t>(address);
        for (DWORD i = 0; i < count && !found; ++i) {
            MODULEINFO info;
            if (!GetModuleInformation(process, modules[i], &info, sizeof info))
                continue;
            const auto base = reinterpret_cast<uintptr_t>(info.lpBaseOfDll);
            if (at >= base && at - base < info.SizeOfImage)
                found = modules[i];
        }
    }
    CloseHandle(process);
    return found;
}

}  // namespace

bool modulePath(const void* address, char* buf, size_t size) {
    if (!buf || size == 0)
        return false;
    HMODULE module = moduleAt(address);
    if (!module)
        return false;
    char path[kPathSize];
    const DWORD len = GetModuleFileNameA(module, path, kPathSize);
    if (len == 0 || len >= kPathSize || len >= size)
        return false;
    memcpy(buf, path, len + 1);
    return true;
}

// The name after the last backslash; a forward slash counts as well, since
// Win32 accepts both in the paths a module may have been loaded by.
bool moduleFileName(const void* address, char* buf, size_t size) {
    char path[kPathSize];
    if (!buf || !modulePath(address, path, sizeof path))
        return false;
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    const size_t len = strlen(name);
    if (len >= size)
        return false;
    memcpy(buf, name, len + 1);
    return true;
}

}  // namespace platform
