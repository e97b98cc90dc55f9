// Crash hooks of the Win32 platform layer: the top-level exception filter
// (mode 1) or a vectored exception handler that sees access violations at
// first notice (mode 2). Each reports the fault to the runtime's callback
// and lets exception processing go on as it would have without the hook.
#include "runtime/platform/platform.h"

#include <windows.h>

#include <atomic>

namespace platform {

namespace {

using addVectoredFn = PVOID(WINAPI*)(ULONG first, PVECTORED_EXCEPTION_HANDLER handler);
using removeVectoredFn = ULONG(WINAPI*)(PVOID handle);

constexpr int kHookFilter = 1;
constexpr int kHookVectored = 2;
constexpr LONG kContinueSearch = EXCEPTION_CONTINUE_SEARCH;

std::atomic<CrashCallback> g_callback{nullptr};
bool g_filterInstalled = false;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
PVOID g_vectoredHandle = nullptr;
removeVectoredFn g_removeVectored = nullptr;

CrashInfo crashInfoOf(const EXCEPTION_POINTERS* pointers) {
    CrashInfo info{0, 0, 0, 0};
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    info.address = reinterpret_cast<uint64_t>(record->ExceptionAddress);
    info.code = record->ExceptionCode;
    const CONTEXT* context = pointers->ContextRecord;
#if defined(__x86_64__)
    info.pc = context->Rip;
    info.frame = context->Rbp;
#elif defined(__aarch64__)
    info.pc = context->Pc;
    info.frame = context->Fp;
#else
    info.pc = context->Eip;
    info.frame = context->Ebp;
#endif
    return info;
}

void report(const EXCEPTION_POINTERS* pointers) {
    if (CrashCallback callback = g_callback.load(std::memory_order_acquire))
        callback(crashInfoOf(pointers));
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* pointers) {
    report(pointers);
    return g_previousFilter ? g_previousFilter(pointers) : kContinueSearch;
}

LONG WINAPI onVectoredException(EXCEPTION_POINTERS* pointers) {
    if (pointers->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
        report(pointers);
    return kContinueSearch;
}

// Looked up at run time, as on systems whose kernel32 predates them.
bool registerVectored() {
    HMODULE kernel = LoadLibraryA("kernel32.dll");
    if (!kernel)
        return false;
    auto add = reinterpret_cast<addVectoredFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "AddVectoredExceptionHandler")));
    g_removeVectored = reinterpret_cast<removeVectoredFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "RemoveVectoredExceptionHandler")));
    // Last in the chain: the program's own handlers see the fault first,
    // but the report is made whether or not one of them recovers from it.
    if (add)
        g_vectoredHandle = add(0, onVectoredException);
    FreeLibrary(kernel);  // kernel32 stays loaded in every process
    return g_vectoredHandle != nullptr;
}

}  // namespace

bool installCrashHook(int mode, CrashCallback callback) {
    if (mode != kHookFilter && mode != kHookVectored)
        return false;
    removeCrashHook();
    g_callback.store(callback, std::memory_order_release);
    if (mode == kHookVectored)
        return registerVectored();
    g_previousFilter = SetUnhandledExceptionFilter(onUnhandledException);
    g_filterInstalled = true;
    return true;
}

void removeCrashHook() {
    g_callback.store(nullptr, std::memory_order_release);
    if (g_filterInstalled) {
        SetUnhandledExceptionFilter(g_previousFilter);
        g_previousFilter = nullptr;
        g_filterInstalled = false;
    }
    if (g_removeVectored && g_vectoredHandle)
        g_removeVectored(g_vectoredHandle);
    g_vectoredHandle = nullptr;
    g_removeVectored = nullptr;
}

}  // namespace platform
